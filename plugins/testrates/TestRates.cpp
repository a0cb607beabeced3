// A rate source for tests and for trying the download offline.
//
// Its server is FENDRAL_TEST_RATES_HOST ("127.0.0.1:8000" when unset). For every date
// it asks for "/rates/YYYY-MM-DD", expecting FENDRAL_TEST_RATES_EXPECTED bytes (100 when
// unset). A document is lines of
//     CODE;NAME;AMOUNT1;AMOUNT2[;YYYY-MM-DD]
// where AMOUNT1 of the base currency (RUR) is worth AMOUNT2 of CODE, amounts with up
// to four decimals after "."; without a date the rate is for the requested date.
// Other lines are skipped. Texts are in the program's language's code page (code
// page 0). FENDRAL_TEST_RATES_INFO_SIZE replaces the size of the library record, so
// tests can offer a record the program must refuse.
#include <fendral/ratesource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string host;
ALibraryInfo info;

// Texts in code page 1251.
const char kName[] = "\xD2\xE5\xF1\xF2\xEE\xE2\xFB\xE9 \xE8\xF1\xF2\xEE\xF7\xED\xE8\xEA";  // "Тестовый источник"
const char kBaseName[] = "\xD0\xEE\xF1\xF1\xE8\xE9\xF1\xEA\xE8\xE5 \xF0\xF3\xE1\xEB\xE8";  // "Российские рубли"

unsigned long EnvNumber(const char* name, unsigned long fallback)
{
    const char* text = std::getenv(name);
    if (!text || !*text)
        return fallback;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    return *end == '\0' ? value : fallback;
}

// "12.5" as 125000; false for anything else.
bool ParseAmount(const std::string& text, int64_t& amount)
{
    int64_t whole = 0;
    int64_t fraction = 0;
    int decimals = -1;
    if (text.empty())
        return false;
    for (const char c : text) {
        if (c == '.' && decimals < 0) {
            decimals = 0;
        } else if (c >= '0' && c <= '9') {
            if (decimals < 0) {
                if (whole > 100000000000000)
                    return false;
                whole = whole * 10 + (c - '0');
            } else if (++decimals <= 4) {
                fraction = fraction * 10 + (c - '0');
            }
        } else {
            return false;
        }
    }
    for (int d = decimals < 0 ? 0 : decimals; d < 4; ++d)
        fraction *= 10;
    amount = whole * 10000 + fraction;
    return true;
}

bool ParseDate(const std::string& text, APackedDate& date)
{
    int year = 0, month = 0, day = 0;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &rest) != 3)
        return false;
    date = FENDRAL_PACK_DATE(year, month, day);
    return true;
}

void ReportLine(const std::string& line, APackedDate requested, ACallback* callback)
{
    std::string fields[5];
    std::size_t count = 0;
    std::size_t start = 0;
    while (count < 5) {
        const std::size_t end = line.find(';', start);
        fields[count++] = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    ARateRecord rate = {};
    rate.date = requested;
    if (count < 4 || !ParseAmount(fields[2], rate.amount1) || !ParseAmount(fields[3], rate.amount2) ||
        (count == 5 && !ParseDate(fields[4], rate.date)))
        return;
    rate.code = fields[0].c_str();
    rate.name = fields[1].c_str();
    callback->table->AddRate(callback, &rate);
}

}  // namespace

extern "C" {

FENDRAL_RATESOURCE_EXPORT const ALibraryInfo* GetLibraryInfo(void)
{
    const char* configured = std::getenv("FENDRAL_TEST_RATES_HOST");
    host = configured && *configured ? configured : "127.0.0.1:8000";
    info.size = static_cast<uint32_t>(EnvNumber("FENDRAL_TEST_RATES_INFO_SIZE", sizeof(ALibraryInfo)));
    info.codePage = 0;
    info.name = kName;
    info.host = host.c_str();
    info.baseCode = "RUR";
    info.baseName = kBaseName;
    info.author = "Fendral tests";
    info.email = "tests@fendral.invalid";
    info.site = "http://fendral.invalid/tests";
    return &info;
}

FENDRAL_RATESOURCE_EXPORT void GetResources(APackedDate date, ACallback* callback)
{
    char path[32];
    std::snprintf(path, sizeof path, "/rates/%04d-%02d-%02d", FENDRAL_PACKED_YEAR(date), FENDRAL_PACKED_MONTH(date),
                  FENDRAL_PACKED_DAY(date));
    AResourceRequest request = {};
    request.expectedSize = static_cast<uint32_t>(EnvNumber("FENDRAL_TEST_RATES_EXPECTED", 100));
    request.value = date;
    request.path = path;
    callback->table->AddResource(callback, &request);
}

FENDRAL_RATESOURCE_EXPORT void FetchRates(const char* data, uint32_t value, ACallback* callback)
{
    const char* line = data;
    while (*line) {
        const char* end = std::strchr(line, '\n');
        std::string text(line, end ? static_cast<std::size_t>(end - line) : std::strlen(line));
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        ReportLine(text, value, callback);
        if (!end)
            break;
        line = end + 1;
    }
}

}  // extern "C"
