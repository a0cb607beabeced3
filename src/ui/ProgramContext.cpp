#include "ui/ProgramContext.h"

namespace UserInterface {

using namespace UtilityClasses::Strings;

bool AProgramContext::LoadSettings()
{
    settings->LoadAll();
    languages = ListLanguages(folders.languageFolder);
    const int wanted = FindLanguage(languages, settings->language.value);
    // Loading selects only a language that exists; the setting stays as written otherwise.
    if (wanted != languageIndex && (wanted >= 0 || settings->language.value.empty())) {
        UtilityClasses::Strings::SelectLanguage(strings, languages, wanted, [](std::string_view) {});
        languageIndex = wanted;
        return true;
    }
    return false;
}

void AProgramContext::SelectLanguage(int index)
{
    UtilityClasses::Strings::SelectLanguage(strings, languages, index,
                                            [this](std::string_view name) { settings->SetLanguage(std::string(name)); });
    languageIndex = index >= 0 && static_cast<std::size_t>(index) < languages.size() ? index : -1;
}

}  // namespace UserInterface
