// Fendral export/import modules: the interface a plug-in library implements.
//
// A plug-in is a shared library ("*.so") placed beside the program. It exports some of
// these four functions with C linkage:
//
//   std::uint32_t GetExportInterfaceCount();
//   ExportImport::AExportInterface* GetExportInterface(std::uint32_t index);
//   std::uint32_t GetImportInterfaceCount();
//   ExportImport::AImportInterface* GetImportInterface(std::uint32_t index);
//
// A library may offer export modules, import modules or both; one that offers nothing is
// unloaded again. A null interface for an index skips that index.
//
// Modules are objects whose virtual functions form a fixed table in declaration order.
// They have no virtual destructor: the program ends a module's life with Destroy. Streams
// are reference counted (AddRef/Release) and delete themselves on the last Release.
//
// Texts are NUL-terminated UTF-16. Buffer sizes count characters, the NUL included.
#pragma once
#include <cstdint>

using HRESULT = std::int32_t;

// The program declares the stream interface itself and defines this macro before it
// includes this header; a plug-in gets the same table from here.
#ifndef FENDRAL_HOST_STREAMS
namespace UtilityClasses::Streams {

enum class ESeekOrigin : std::uint32_t { Set = 0, Cur = 1, End = 2 };

struct AStreamStat {
    std::uint64_t size = 0;
};

// Slot order: AddRef, Release, Read, Write, Seek, SetSize, Commit, Stat.
class IStream {
public:
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;
    // Up to size bytes from the current position; fewer at the end is still success.
    virtual HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* read) = 0;
    // All bytes or a failure.
    virtual HRESULT Write(const void* buffer, std::uint32_t size, std::uint32_t* written) = 0;
    virtual HRESULT Seek(std::int64_t move, ESeekOrigin origin, std::uint64_t* newPosition) = 0;
    virtual HRESULT SetSize(std::uint64_t size) = 0;
    virtual HRESULT Commit() = 0;
    virtual HRESULT Stat(AStreamStat* stat) = 0;

protected:
    ~IStream() = default;
};

}  // namespace UtilityClasses::Streams
#endif

namespace ExportImport {

// A module's identifier, laid out as the platform's GUID: the first three fields are
// little-endian numbers, the last eight bytes are kept as written.
struct AModuleGuid {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
};

using AWindowHandle = void*;  // the wizard's window, as the parent of a settings dialog
using AModuleHandle = void*;  // the library of a module (dlopen's handle)

// What the program offers a module. The program owns it; it stays valid from SetTools
// until the module is destroyed.
class APluginTools {
public:
    // The current language's text for a text of the program's built-in language, or the
    // text itself. The result stays valid until the next Translate call.
    virtual const char16_t* Translate(const char16_t* text) = 0;
    // Settings of this module; names are kept apart from every other module's.
    virtual bool WriteString(const char16_t* name, const char16_t* text) = 0;
    virtual bool WriteInt(const char16_t* name, std::int32_t value) = 0;
    // Copies the stored text, cut to fit size characters with its NUL.
    virtual bool ReadString(const char16_t* name, char16_t* buffer, std::uint32_t size) = 0;
    virtual bool ReadInt(const char16_t* name, std::int32_t* value) = 0;
    // Caption and percentage (0..100) of the running operation; 0x8000FFFF when none runs.
    virtual HRESULT SetProgressText(const char16_t* text) = 0;
    virtual HRESULT SetProgress(std::uint32_t percent) = 0;
    // Messages for the user, shown when the operation is over.
    virtual void AddError(const char16_t* text) = 0;
    virtual void AddWarning(const char16_t* text) = 0;
    // The library of the module in use.
    virtual AModuleHandle GetModule() = 0;

protected:
    ~APluginTools() = default;
};

// The operations every module has, in slot order.
class AExportImportBaseInterface {
public:
    virtual std::int32_t GetVersion() = 0;
    // Called before any other operation but GetVersion; returns the module itself.
    virtual AExportImportBaseInterface* SetTools(APluginTools* tools) = 0;
    virtual const AModuleGuid* GetId() = 0;
    // Whether the program asks the user for a file and passes it with SetFileName.
    virtual bool UsesFile() = 0;
    virtual const char16_t* GetName() = 0;
    // The file last used with this module, for the file field; false when there is none.
    virtual bool GetFileName(char16_t* buffer, std::uint32_t size) = 0;
    // Without the point, for the file dialog.
    virtual const char16_t* GetDefaultExtension() = 0;
    virtual bool HasSettings() = 0;
    virtual void ShowSettings(AWindowHandle parent) = 0;
    // Returns the module's own copy of the path.
    virtual const char16_t* SetFileName(const char16_t* path) = 0;
    // An export module hands out a stream to write the interchange document into, an
    // import module one to read it from. The caller receives one reference.
    virtual HRESULT OpenStream(UtilityClasses::Streams::IStream** stream) = 0;
    // Deletes the module.
    virtual void Destroy() = 0;
    // Around the transfer of the document: Begin after OpenStream, End once it is written
    // or read.
    virtual HRESULT Begin() = 0;
    virtual HRESULT End() = 0;

protected:
    ~AExportImportBaseInterface() = default;
};

class AExportInterface : public AExportImportBaseInterface {
protected:
    ~AExportInterface() = default;
};

class AImportInterface : public AExportImportBaseInterface {
public:
    // Reserved: a module answers success and an empty text.
    virtual HRESULT Reserved1() = 0;
    virtual const char16_t* Reserved2() = 0;

protected:
    ~AImportInterface() = default;
};

constexpr std::int32_t kInterfaceVersion = 1;

// The four exports, as the program looks them up.
using AGetInterfaceCount = std::uint32_t (*)();
using AGetExportInterface = AExportInterface* (*)(std::uint32_t index);
using AGetImportInterface = AImportInterface* (*)(std::uint32_t index);

}  // namespace ExportImport

// Marks the four functions for export from the library.
#define FENDRAL_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
