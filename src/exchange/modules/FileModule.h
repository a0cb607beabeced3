// The built-in modules that keep the interchange data in a file the user picks: what they
// share whatever the file's format (interchange XML, workbooks).
#pragma once
#include "exchange/modules/ModuleInterface.h"

#include "core/RefPtr.h"

#include <string>

namespace ExportImport::Private {

struct AFileModuleDescription {
    AModuleGuid id;
    const char16_t* name;         // in the built-in language; shown through Translate
    const char16_t* fileSetting;  // value name under which the last file is kept
    const char16_t* extension;    // without the point
};

template <class Interface>
class AFileModule : public Interface {
public:
    std::int32_t GetVersion() override { return kInterfaceVersion; }
    AExportImportBaseInterface* SetTools(APluginTools* tools) override
    {
        tools_ = tools;
        return this;
    }
    const AModuleGuid* GetId() override { return &description_.id; }
    bool UsesFile() override { return true; }
    const char16_t* GetName() override { return tools_ ? tools_->Translate(description_.name) : description_.name; }
    bool GetFileName(char16_t* buffer, std::uint32_t size) override
    {
        return tools_ && tools_->ReadString(description_.fileSetting, buffer, size);
    }
    const char16_t* GetDefaultExtension() override { return description_.extension; }
    bool HasSettings() override { return false; }
    void ShowSettings(AWindowHandle) override {}
    const char16_t* SetFileName(const char16_t* path) override
    {
        fileName_ = path ? path : u"";
        return fileName_.c_str();
    }
    void Destroy() override { delete this; }
    HRESULT Begin() override { return Result::kOk; }
    // Remembers the file for the next time.
    HRESULT End() override
    {
        if (tools_)
            tools_->WriteString(description_.fileSetting, fileName_.c_str());
        return Result::kOk;
    }

protected:
    explicit AFileModule(const AFileModuleDescription& description) : description_(description) {}
    virtual ~AFileModule() = default;
    AFileModule(const AFileModule&) = delete;
    AFileModule& operator=(const AFileModule&) = delete;

    const std::u16string& FileName() const { return fileName_; }
    APluginTools* Tools() const { return tools_; }

private:
    AFileModuleDescription description_;
    APluginTools* tools_ = nullptr;
    std::u16string fileName_;
};

// Writes the document into a new file. The file replaces an existing one only when End is
// reached, so a failed export leaves the old file as it was.
class AFileExportModule : public AFileModule<AExportInterface> {
public:
    HRESULT OpenStream(IStream** stream) override;
    HRESULT End() override;

protected:
    explicit AFileExportModule(const AFileModuleDescription& description) : AFileModule(description) {}

private:
    UtilityClasses::Streams::AStreamPtr stream_;  // kept to commit it in End
};

// Reads the document from the chosen file.
class AFileImportModule : public AFileModule<AImportInterface> {
public:
    HRESULT OpenStream(IStream** stream) override;
    HRESULT Reserved1() override { return Result::kOk; }
    const char16_t* Reserved2() override { return u""; }

protected:
    explicit AFileImportModule(const AFileModuleDescription& description) : AFileModule(description) {}
};

}  // namespace ExportImport::Private
