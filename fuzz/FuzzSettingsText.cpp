// The INI store and the texts kept in settings (fonts, GUIDs): any bytes parse, and what
// the INI document writes reads back to the same lines.
#include "FuzzSupport.h"

#include "core/IniDocument.h"
#include "core/SettingsBlobs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = Fuzz::Text(data, size);
    const auto document = UserInterface::Settings::OptionStorage::AIniDocument::Parse(bytes);
    const auto again = UserInterface::Settings::OptionStorage::AIniDocument::Parse(document.Serialize());
    if (again.Lines() != document.Lines())
        Fuzz::Broken("an INI document does not read back as it was written");
    (void)document.Find("Settings", "Language");
    (void)UserInterface::Settings::ParseFontText(bytes);
    if (const auto guid = UserInterface::Settings::GuidFromText(bytes);
        guid && UserInterface::Settings::GuidFromText(UserInterface::Settings::GuidToText(*guid)) != guid)
        Fuzz::Broken("a GUID does not read back as it was written");
    return 0;
}
