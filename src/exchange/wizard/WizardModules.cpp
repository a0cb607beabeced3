#include "exchange/wizard/WizardModules.h"

#include "core/CodePage.h"

#include <array>

namespace ExportImport::Wizards {

template <class Interface>
AModuleChoice<Interface>::AModuleChoice(const Private::ASource<Interface>& source,
                                        UserInterface::Settings::OptionStorage::AOptionStore& store,
                                        UserInterface::Settings::ALibraryUse use, ARefusals refusals)
    : source_(source), refusals_(refusals)
{
    int chosen = source_.Count() > 0 ? 0 : -1;
    if (const auto last = UserInterface::Settings::LoadLibraryGuid(store, use))
        for (std::size_t i = 0; i < source_.Count(); ++i)
            if (source_.Item(i).Id() == *last)
                chosen = static_cast<int>(i);
    Select(chosen);
}

template <class Interface>
std::u16string AModuleChoice<Interface>::Name(std::size_t index) const
{
    const char16_t* name = index < Count() ? source_.Item(index).Module()->GetName() : nullptr;
    return name ? std::u16string(name) : std::u16string();
}

template <class Interface>
void AModuleChoice<Interface>::Select(int index)
{
    selected_ = index >= 0 && static_cast<std::size_t>(index) < Count() ? index : -1;
    fileName_.clear();
    if (Interface* module = Module(); module && module->UsesFile()) {
        // A module may keep a long path; what does not fit is cut by the module.
        std::array<char16_t, 4096> buffer{};
        if (module->GetFileName(buffer.data(), static_cast<std::uint32_t>(buffer.size())))
            fileName_ = buffer.data();
    }
}

template <class Interface>
Interface* AModuleChoice<Interface>::Module() const
{
    return selected_ >= 0 ? source_.Item(static_cast<std::size_t>(selected_)).Module() : nullptr;
}

template <class Interface>
bool AModuleChoice<Interface>::UsesFile() const
{
    return Module() && Module()->UsesFile();
}

template <class Interface>
bool AModuleChoice<Interface>::HasSettings() const
{
    return Module() && Module()->HasSettings();
}

template <class Interface>
std::u16string AModuleChoice<Interface>::Extension() const
{
    const char16_t* extension = Module() ? Module()->GetDefaultExtension() : nullptr;
    return extension ? std::u16string(extension) : std::u16string();
}

template <class Interface>
std::string AModuleChoice<Interface>::FilePath() const
{
    return UsesFile() ? UtilityClasses::Strings::Utf16ToUtf8(fileName_) : std::string();
}

template <class Interface>
int AModuleChoice<Interface>::LeaveRefusal() const
{
    if (!Module())
        return refusals_.noModule;
    if (UsesFile() && fileName_.find_first_not_of(u' ') == std::u16string::npos)
        return refusals_.noFile;
    return 0;
}

template class AModuleChoice<AExportInterface>;
template class AModuleChoice<AImportInterface>;

}  // namespace ExportImport::Wizards
