/* Fendral rate-source plug-in interface.
 *
 * A rate-source plug-in is a shared library ("*.so") placed in the program's own
 * folder. It knows the addresses and the document format of one web source of
 * exchange rates; the program does all the networking, hands every downloaded
 * document back to the plug-in and collects the currencies and rates it reports.
 *
 * The library exports three functions (extern "C", looked up by these names):
 *
 *   const ALibraryInfo* GetLibraryInfo(void);
 *       The plug-in's description. The plug-in owns the record and keeps it alive
 *       while it is loaded. Null, or a size below FENDRAL_LIBRARY_INFO_MIN_SIZE,
 *       and the library is not used.
 *
 *   void GetResources(APackedDate date, ACallback* callback);
 *       Called once for every date of the period the user chose, in date order. The
 *       plug-in queues the documents it needs for that date with AddResource.
 *
 *   void FetchRates(const char* data, uint32_t value, ACallback* callback);
 *       Called once for every document received, on a worker thread of the program,
 *       one document at a time. data is the document, zero-terminated; value is the
 *       plug-in's own value from the request. The plug-in reports what it finds with
 *       AddRate; a document it cannot read simply yields no AddRate calls.
 *
 * Every text is zero-terminated 8-bit text in the code page named in ALibraryInfo.
 * Records passed to the callback are read during the call only.
 * All records use the platform's native pointer width; fields are in this order.
 */
#ifndef FENDRAL_RATESOURCE_H
#define FENDRAL_RATESOURCE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A date: bits 0-15 the year, 16-23 the month (1-12), 24-31 the day (1-31). */
typedef uint32_t APackedDate;

#define FENDRAL_PACK_DATE(year, month, day) \
    ((APackedDate)(((uint32_t)(year) & 0xFFFFu) | (((uint32_t)(month) & 0xFFu) << 16) | \
                   (((uint32_t)(day) & 0xFFu) << 24)))
#define FENDRAL_PACKED_YEAR(date) ((int)((date) & 0xFFFFu))
#define FENDRAL_PACKED_MONTH(date) ((int)(((date) >> 16) & 0xFFu))
#define FENDRAL_PACKED_DAY(date) ((int)(((date) >> 24) & 0xFFu))

typedef struct ALibraryInfo {
    uint32_t size;           /* sizeof(ALibraryInfo); at least FENDRAL_LIBRARY_INFO_MIN_SIZE */
    uint32_t codePage;       /* code page of every text of the plug-in; 0: the program's language's */
    const char* name;        /* name of the data source, shown in the source list */
    const char* host;        /* host name; resources are fetched from "http://" host path */
    const char* baseCode;    /* code of the currency the source quotes its rates against */
    const char* baseName;    /* name of that currency */
    const char* author;      /* author of the library */
    const char* email;       /* author's e-mail address */
    const char* site;        /* author's web site */
} ALibraryInfo;

/* The size of all nine fields above: the smallest record the program accepts. */
#define FENDRAL_LIBRARY_INFO_MIN_SIZE ((uint32_t)sizeof(ALibraryInfo))

typedef struct AResourceRequest {
    uint32_t reserved1;      /* not read by the program */
    uint32_t reserved2;      /* not read by the program */
    uint32_t expectedSize;   /* expected size in bytes: drives the size estimate and the progress */
    uint32_t value;          /* the plug-in's own value, handed back to FetchRates */
    const char* path;        /* path on the host, appended right after it (begins with "/") */
} AResourceRequest;

typedef struct ARateRecord {
    int64_t amount1;         /* amount of the base currency, in 1/10000 units */
    int64_t amount2;         /* what amount1 of the base currency is worth in this currency, 1/10000 units */
    const char* code;        /* code of the reported currency */
    const char* name;        /* name of the reported currency */
    APackedDate date;        /* date of the rate */
} ARateRecord;

/* The program's side: an object whose first word points to a table of two operations. */
typedef struct ACallback ACallback;

typedef struct ACallbackTable {
    /* Queues one resource for download (from GetResources only). */
    void (*AddResource)(ACallback* self, const AResourceRequest* request);
    /* Reports one currency with one rate (from FetchRates only). */
    void (*AddRate)(ACallback* self, const ARateRecord* rate);
} ACallbackTable;

struct ACallback {
    const ACallbackTable* table;
};

typedef const ALibraryInfo* (*AGetLibraryInfoFunction)(void);
typedef void (*AGetResourcesFunction)(APackedDate date, ACallback* callback);
typedef void (*AFetchRatesFunction)(const char* data, uint32_t value, ACallback* callback);

#if defined(_WIN32)
#define FENDRAL_RATESOURCE_EXPORT __declspec(dllexport)
#else
#define FENDRAL_RATESOURCE_EXPORT __attribute__((visibility("default")))
#endif

/* Declarations of the three exports, for the plug-in's own source. */
FENDRAL_RATESOURCE_EXPORT const ALibraryInfo* GetLibraryInfo(void);
FENDRAL_RATESOURCE_EXPORT void GetResources(APackedDate date, ACallback* callback);
FENDRAL_RATESOURCE_EXPORT void FetchRates(const char* data, uint32_t value, ACallback* callback);

#ifdef __cplusplus
}
#endif

#endif /* FENDRAL_RATESOURCE_H */
