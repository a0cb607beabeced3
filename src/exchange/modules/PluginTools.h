// The tools object the program hands each module: one per module, so that the module's
// settings are kept under its own library's name and GetModule names its own library.
#pragma once
#include "exchange/modules/ModuleInterface.h"
#include "exchange/modules/ModuleSession.h"

#include <string>

namespace ExportImport::Private {

class APluginToolsImpl final : public APluginTools {
public:
    // libraryFileName: the module library's file name without its folder (the program's
    // name for built-in modules); it prefixes every setting name.
    APluginToolsImpl(AModuleSession& session, std::string libraryFileName, AModuleHandle module);
    ~APluginToolsImpl() = default;
    APluginToolsImpl(const APluginToolsImpl&) = delete;
    APluginToolsImpl& operator=(const APluginToolsImpl&) = delete;

    const char16_t* Translate(const char16_t* text) override;
    bool WriteString(const char16_t* name, const char16_t* text) override;
    bool WriteInt(const char16_t* name, std::int32_t value) override;
    bool ReadString(const char16_t* name, char16_t* buffer, std::uint32_t size) override;
    bool ReadInt(const char16_t* name, std::int32_t* value) override;
    HRESULT SetProgressText(const char16_t* text) override;
    HRESULT SetProgress(std::uint32_t percent) override;
    void AddError(const char16_t* text) override;
    void AddWarning(const char16_t* text) override;
    AModuleHandle GetModule() override { return module_; }

    // "<library file name>:<value name>"; empty for a missing or empty name.
    std::string SettingName(const char16_t* name) const;

private:
    AModuleSession& session_;
    std::string libraryFileName_;
    AModuleHandle module_;
    std::u16string translation_;  // what the last Translate returned
};

}  // namespace ExportImport::Private
