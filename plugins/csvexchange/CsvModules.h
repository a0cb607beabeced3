// The plug-in's two modules: transactions exported to and imported from a CSV file.
#pragma once
#include "PluginStream.h"

#include <string>

namespace CsvExchange {

using namespace ExportImport;

// {3C9A5E12-7B44-4F0D-A1C3-5E2B9D7F6A01} and ...02
constexpr AModuleGuid kCsvExportId = {0x3C9A5E12, 0x7B44, 0x4F0D, {0xA1, 0xC3, 0x5E, 0x2B, 0x9D, 0x7F, 0x6A, 0x01}};
constexpr AModuleGuid kCsvImportId = {0x3C9A5E12, 0x7B44, 0x4F0D, {0xA1, 0xC3, 0x5E, 0x2B, 0x9D, 0x7F, 0x6A, 0x02}};

// What both modules do alike: a file the user picks, remembered in the module's settings.
template <class Interface>
class ACsvModule : public Interface {
public:
    std::int32_t GetVersion() override { return kInterfaceVersion; }
    AExportImportBaseInterface* SetTools(APluginTools* tools) override
    {
        tools_ = tools;
        return this;
    }
    const AModuleGuid* GetId() override { return &id_; }
    bool UsesFile() override { return true; }
    const char16_t* GetName() override { return tools_ ? tools_->Translate(name_) : name_; }
    bool GetFileName(char16_t* buffer, std::uint32_t size) override
    {
        return tools_ && tools_->ReadString(setting_, buffer, size);
    }
    const char16_t* GetDefaultExtension() override { return u"csv"; }
    bool HasSettings() override { return false; }
    void ShowSettings(AWindowHandle) override {}
    const char16_t* SetFileName(const char16_t* path) override
    {
        fileName_ = path ? path : u"";
        return fileName_.c_str();
    }
    void Destroy() override { delete this; }
    HRESULT Begin() override { return kOk; }

protected:
    ACsvModule(const AModuleGuid& id, const char16_t* name, const char16_t* setting)
        : id_(id), name_(name), setting_(setting)
    {
    }
    virtual ~ACsvModule() = default;
    void RememberFile()
    {
        if (tools_)
            tools_->WriteString(setting_, fileName_.c_str());
    }

    APluginTools* tools_ = nullptr;
    std::u16string fileName_;

private:
    AModuleGuid id_;
    const char16_t* name_;
    const char16_t* setting_;
};

// Collects the document in memory and writes the CSV file in End.
class ACsvExport final : public ACsvModule<AExportInterface> {
public:
    ACsvExport();
    HRESULT OpenStream(IStream** stream) override;
    HRESULT End() override;

private:
    ~ACsvExport() override;
    AMemoryStream* document_ = nullptr;
};

// Reads the CSV file in OpenStream and hands out the document made of it.
class ACsvImport final : public ACsvModule<AImportInterface> {
public:
    ACsvImport();
    HRESULT OpenStream(IStream** stream) override;
    HRESULT End() override;
    HRESULT Reserved1() override { return kOk; }
    const char16_t* Reserved2() override { return u""; }
};

}  // namespace CsvExchange
