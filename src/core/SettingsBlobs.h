// Values other parts of the program keep in the option store themselves, each written the
// moment it changes: window placement, page setup, list font, custom colours, and the last
// export and import interfaces.
#pragma once
#include "core/Guid.h"
#include "core/OptionStore.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace UserInterface::Settings {

using OptionStorage::AOptionStore;

// The main window's placement, laid out as the platform's 44-byte WINDOWPLACEMENT.
struct AWindowPlacement {
    static constexpr std::uint32_t kSize = 44;
    std::uint32_t length = kSize;
    std::uint32_t flags = 0;
    std::uint32_t showCmd = 0;
    std::int32_t minPosition[2] = {};
    std::int32_t maxPosition[2] = {};
    std::int32_t normalPosition[4] = {};  // left, top, right, bottom
    bool operator==(const AWindowPlacement&) const = default;
};

// Missing, damaged, or with a length field other than 44: no placement.
std::optional<AWindowPlacement> LoadWindowPlacement(AOptionStore& store);
void SaveWindowPlacement(AOptionStore& store, const AWindowPlacement& placement);

// The printer mode's three fields that "PageInfo" keeps.
struct APrinterMode {
    std::int16_t orientation = 1;    // portrait
    std::int16_t paperSize = 9;      // A4
    std::int16_t defaultSource = 7;  // automatic
    bool operator==(const APrinterMode&) const = default;
};

// Page setup in hundredths of a millimetre.
struct APageSetup {
    std::int32_t left = 3000;
    std::int32_t top = 2000;
    std::int32_t right = 2000;
    std::int32_t bottom = 2000;
    std::optional<APrinterMode> mode;  // none until a printer mode exists
    std::uint16_t unused = 0;          // written back as found
    bool operator==(const APageSetup&) const = default;
};
constexpr std::int32_t kDefaultPaperWidth = 21000;
constexpr std::int32_t kDefaultPaperHeight = 29700;

// The defaults (without a printer mode) when "PageInfo" is missing or damaged.
APageSetup LoadPageSetup(AOptionStore& store);
// Without a printer mode, portrait A4 from the automatic source is written.
void SavePageSetup(AOptionStore& store, const APageSetup& setup);

// The list font as the platform's LOGFONTW fields; the face name has at most 31 characters.
struct ALogFont {
    std::int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
    std::uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0, outPrecision = 0, clipPrecision = 0,
                 quality = 0, pitchAndFamily = 0;
    std::string faceName;
    bool operator==(const ALogFont&) const = default;
};

// Thirteen numbers each followed by ",", then the face name.
std::string FormatFontText(const ALogFont& font);
// Numbers are read while there is text; whatever follows them is the face name.
ALogFont ParseFontText(std::string_view text);
// No value means the default font.
std::optional<ALogFont> LoadFont(AOptionStore& store);
void SaveFont(AOptionStore& store, const ALogFont& font);

// The colour chooser's 16 custom colours; white is the default and is kept by deleting.
constexpr std::uint32_t kWhite = 0x00FFFFFF;
using ACustomColours = std::array<std::uint32_t, 16>;
ACustomColours LoadCustomColours(AOptionStore& store);
void SaveCustomColours(AOptionStore& store, const ACustomColours& colours);

// The last used export or import interface, in the registry text form of a GUID:
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
enum class ALibraryUse { Export, Import };
std::optional<AGuid> LoadLibraryGuid(AOptionStore& store, ALibraryUse use);
void SaveLibraryGuid(AOptionStore& store, ALibraryUse use, const AGuid& guid);
std::string GuidToText(const AGuid& guid);
std::optional<AGuid> GuidFromText(std::string_view text);

}  // namespace UserInterface::Settings
