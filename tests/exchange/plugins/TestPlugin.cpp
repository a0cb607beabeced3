// Plug-ins for the module tests, one library per variant:
//   TEST_PLUGIN_IMPORT_ONLY  only the import entry points, one module
//   TEST_PLUGIN_GAPS         three export slots, the middle one null; modules log their calls
//   TEST_PLUGIN_EMPTY        both counts are 0
// TestPluginLog() gives the calls so far; TestPluginFailAt(slot) makes that slot fail.
#include <fendral/eximport.h>

#include <cstdio>
#include <string>

namespace {

using namespace ExportImport;
using UtilityClasses::Streams::AStreamStat;
using UtilityClasses::Streams::ESeekOrigin;
using UtilityClasses::Streams::IStream;

constexpr HRESULT kOk = 0;
constexpr HRESULT kAccessDenied = static_cast<HRESULT>(0x80070005u);
constexpr HRESULT kUnknownFailure = static_cast<HRESULT>(0x80041234u);

std::string g_log;
std::string g_failAt;

void Log(const std::string& entry)
{
    g_log += entry + ";";
}

// Not std::to_string: it would give the library unique symbols, and such a library can
// never be unloaded, which the tests look at.
std::string Number(unsigned long long value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%llu", value);
    return text;
}

HRESULT Outcome(const char* slot)
{
    if (g_failAt != slot)
        return kOk;
    return g_failAt == "Begin" ? kUnknownFailure : kAccessDenied;
}

// Counts what the program writes.
class ACountingStream final : public IStream {
public:
    std::uint32_t AddRef() override { return ++references_; }
    std::uint32_t Release() override
    {
        const std::uint32_t left = --references_;
        if (left == 0) {
            Log("Release stream");
            delete this;
        }
        return left;
    }
    HRESULT Read(void*, std::uint32_t, std::uint32_t* read) override
    {
        if (read)
            *read = 0;
        return kOk;
    }
    HRESULT Write(const void*, std::uint32_t size, std::uint32_t* written) override
    {
        if (g_failAt == "Write")
            return kAccessDenied;
        bytes += size;
        if (written)
            *written = size;
        return kOk;
    }
    HRESULT Seek(std::int64_t, ESeekOrigin, std::uint64_t* position) override
    {
        if (position)
            *position = 0;
        return kOk;
    }
    HRESULT SetSize(std::uint64_t) override { return kOk; }
    HRESULT Commit() override { return kOk; }
    HRESULT Stat(AStreamStat* stat) override
    {
        stat->size = bytes;
        return kOk;
    }
    std::uint64_t bytes = 0;

private:
    ~ACountingStream() = default;
    std::uint32_t references_ = 1;
};

template <class Interface>
class ALoggingModule : public Interface {
public:
    explicit ALoggingModule(std::uint8_t number) : number_(number)
    {
        id_ = {0xAABBCC00u + number, 0x1111, 0x2222, {0, 1, 2, 3, 4, 5, 6, number}};
    }
    std::int32_t GetVersion() override { return kInterfaceVersion; }
    AExportImportBaseInterface* SetTools(APluginTools* tools) override
    {
        Log("SetTools " + Number(number_));
        tools_ = tools;
        return this;
    }
    const AModuleGuid* GetId() override { return &id_; }
    bool UsesFile() override { return number_ == 0; }
    const char16_t* GetName() override { return number_ == 0 ? u"Первый модуль" : u"Второй модуль"; }
    bool GetFileName(char16_t* buffer, std::uint32_t size) override
    {
        return tools_->ReadString(u"file", buffer, size);
    }
    const char16_t* GetDefaultExtension() override { return u"log"; }
    bool HasSettings() override { return true; }
    void ShowSettings(AWindowHandle) override { Log("ShowSettings"); }
    const char16_t* SetFileName(const char16_t* path) override
    {
        Log("SetFileName");
        file_ = path;
        return file_.c_str();
    }
    HRESULT OpenStream(IStream** stream) override
    {
        Log("OpenStream");
        if (const HRESULT hr = Outcome("OpenStream"); hr != kOk)
            return hr;
        if (stream_)
            stream_->Release();
        stream_ = new ACountingStream;
        stream_->AddRef();
        *stream = stream_;
        return kOk;
    }
    void Destroy() override
    {
        Log("Destroy " + Number(number_));
        delete this;
    }
    HRESULT Begin() override
    {
        Log("Begin");
        // Progress outside the running export is refused.
        Log("early progress " + Number(static_cast<std::uint32_t>(tools_->SetProgress(10))));
        return Outcome("Begin");
    }
    HRESULT End() override
    {
        Log("End " + Number(stream_ ? stream_->bytes : 0) + " bytes");
        Log("progress " + Number(tools_->SetProgressText(u"Модуль работает")) + " " +
            Number(tools_->SetProgress(50)));
        tools_->AddWarning(u"Предупреждение модуля");
        tools_->WriteString(u"file", file_.c_str());
        if (tools_->GetModule())
            Log("module handle");
        return Outcome("End");
    }

protected:
    ~ALoggingModule()
    {
        if (stream_)
            stream_->Release();
    }
    std::uint8_t number_;
    AModuleGuid id_;
    APluginTools* tools_ = nullptr;
    std::u16string file_;
    ACountingStream* stream_ = nullptr;
};

class AExportModule final : public ALoggingModule<AExportInterface> {
public:
    using ALoggingModule::ALoggingModule;
};

class AImportModule final : public ALoggingModule<AImportInterface> {
public:
    using ALoggingModule::ALoggingModule;
    HRESULT Reserved1() override { return kOk; }
    const char16_t* Reserved2() override { return u""; }
};

}  // namespace

FENDRAL_PLUGIN_EXPORT const char* TestPluginLog()
{
    return g_log.c_str();
}

FENDRAL_PLUGIN_EXPORT void TestPluginFailAt(const char* slot)
{
    g_failAt = slot ? slot : "";
    g_log.clear();
}

#if defined(TEST_PLUGIN_IMPORT_ONLY)
FENDRAL_PLUGIN_EXPORT std::uint32_t GetImportInterfaceCount()
{
    return 1;
}
FENDRAL_PLUGIN_EXPORT AImportInterface* GetImportInterface(std::uint32_t index)
{
    return index == 0 ? new AImportModule(0) : nullptr;
}
#elif defined(TEST_PLUGIN_GAPS)
FENDRAL_PLUGIN_EXPORT std::uint32_t GetExportInterfaceCount()
{
    return 3;
}
FENDRAL_PLUGIN_EXPORT AExportInterface* GetExportInterface(std::uint32_t index)
{
    return index == 1 ? nullptr : new AExportModule(static_cast<std::uint8_t>(index));
}
#elif defined(TEST_PLUGIN_EMPTY)
FENDRAL_PLUGIN_EXPORT std::uint32_t GetExportInterfaceCount()
{
    return 0;
}
FENDRAL_PLUGIN_EXPORT AExportInterface* GetExportInterface(std::uint32_t)
{
    return nullptr;
}
FENDRAL_PLUGIN_EXPORT std::uint32_t GetImportInterfaceCount()
{
    return 0;
}
FENDRAL_PLUGIN_EXPORT AImportInterface* GetImportInterface(std::uint32_t)
{
    return nullptr;
}
#endif
