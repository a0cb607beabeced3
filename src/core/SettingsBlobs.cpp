#include "core/SettingsBlobs.h"

#include "core/HexDigits.h"
#include "core/IniDocument.h"

#include <cstdio>
#include <type_traits>

namespace UserInterface::Settings {

namespace {

// Little-endian packing of the fixed-layout blobs.
class APacker {
public:
    explicit APacker(std::uint8_t* bytes) : bytes_(bytes) {}
    template <typename T>
    void Put(T value)
    {
        using U = std::make_unsigned_t<T>;
        auto bits = static_cast<U>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            bytes_[pos_++] = static_cast<std::uint8_t>(bits & 0xFF);
            bits = static_cast<U>(bits >> 8);
        }
    }

private:
    std::uint8_t* bytes_;
    std::size_t pos_ = 0;
};

class AUnpacker {
public:
    explicit AUnpacker(const std::uint8_t* bytes) : bytes_(bytes) {}
    template <typename T>
    T Get()
    {
        using U = std::make_unsigned_t<T>;
        U bits = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            bits = static_cast<U>(bits | static_cast<U>(static_cast<U>(bytes_[pos_++]) << (8 * i)));
        return static_cast<T>(bits);
    }

private:
    const std::uint8_t* bytes_;
    std::size_t pos_ = 0;
};

constexpr std::size_t kPageInfoSize = 24;

const char* LibraryValueName(ALibraryUse use) { return use == ALibraryUse::Export ? "ExportLibrary" : "ImportLibrary"; }

std::string ColourName(std::size_t index)
{
    char name[8];
    std::snprintf(name, sizeof name, "clr%2.2d", static_cast<int>(index));
    return name;
}

// Digits from `pos`, wrapping in 32 bits like the platform's parser; no digits give 0.
std::uint32_t ReadNumber(std::string_view text, std::size_t& pos, bool allowSign)
{
    bool negative = false;
    if (allowSign && pos < text.size() && text[pos] == '-') {
        negative = true;
        ++pos;
    }
    std::uint32_t value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
        value = value * 10 + static_cast<std::uint32_t>(text[pos++] - '0');
    if (pos < text.size() && text[pos] == ',')
        ++pos;
    return negative ? 0u - value : value;
}

}  // namespace

std::optional<AWindowPlacement> LoadWindowPlacement(AOptionStore& store)
{
    std::uint8_t bytes[AWindowPlacement::kSize];
    if (!store.ReadBinary("WindowPlacement", bytes))
        return std::nullopt;
    AUnpacker in(bytes);
    AWindowPlacement p;
    p.length = in.Get<std::uint32_t>();
    p.flags = in.Get<std::uint32_t>();
    p.showCmd = in.Get<std::uint32_t>();
    for (std::int32_t& v : p.minPosition)
        v = in.Get<std::int32_t>();
    for (std::int32_t& v : p.maxPosition)
        v = in.Get<std::int32_t>();
    for (std::int32_t& v : p.normalPosition)
        v = in.Get<std::int32_t>();
    // The platform refuses a placement whose length field is wrong; so do we.
    if (p.length != AWindowPlacement::kSize)
        return std::nullopt;
    return p;
}

void SaveWindowPlacement(AOptionStore& store, const AWindowPlacement& p)
{
    std::uint8_t bytes[AWindowPlacement::kSize];
    APacker out(bytes);
    out.Put(AWindowPlacement::kSize);
    out.Put(p.flags);
    out.Put(p.showCmd);
    for (std::int32_t v : p.minPosition)
        out.Put(v);
    for (std::int32_t v : p.maxPosition)
        out.Put(v);
    for (std::int32_t v : p.normalPosition)
        out.Put(v);
    store.WriteBinary("WindowPlacement", bytes);
}

APageSetup LoadPageSetup(AOptionStore& store)
{
    std::uint8_t bytes[kPageInfoSize];
    APageSetup setup;
    if (!store.ReadBinary("PageInfo", bytes))
        return setup;
    AUnpacker in(bytes);
    setup.left = in.Get<std::int32_t>();
    setup.top = in.Get<std::int32_t>();
    setup.right = in.Get<std::int32_t>();
    setup.bottom = in.Get<std::int32_t>();
    APrinterMode mode;
    mode.orientation = in.Get<std::int16_t>();
    mode.paperSize = in.Get<std::int16_t>();
    mode.defaultSource = in.Get<std::int16_t>();
    setup.mode = mode;
    setup.unused = in.Get<std::uint16_t>();
    return setup;
}

void SavePageSetup(AOptionStore& store, const APageSetup& setup)
{
    const APrinterMode mode = setup.mode.value_or(APrinterMode{});
    std::uint8_t bytes[kPageInfoSize];
    APacker out(bytes);
    out.Put(setup.left);
    out.Put(setup.top);
    out.Put(setup.right);
    out.Put(setup.bottom);
    out.Put(mode.orientation);
    out.Put(mode.paperSize);
    out.Put(mode.defaultSource);
    out.Put(setup.unused);
    store.WriteBinary("PageInfo", bytes);
}

std::string FormatFontText(const ALogFont& f)
{
    std::string text;
    for (std::int32_t v : {f.height, f.width, f.escapement, f.orientation, f.weight})
        text += std::to_string(v) + ",";
    for (std::uint8_t v : {f.italic, f.underline, f.strikeOut, f.charSet, f.outPrecision, f.clipPrecision, f.quality,
                           f.pitchAndFamily})
        text += std::to_string(v) + ",";
    return text + f.faceName;
}

ALogFont ParseFontText(std::string_view text)
{
    ALogFont f;
    std::size_t pos = 0;
    for (std::int32_t* v : {&f.height, &f.width, &f.escapement, &f.orientation, &f.weight})
        if (pos < text.size())
            *v = static_cast<std::int32_t>(ReadNumber(text, pos, true));
    for (std::uint8_t* v : {&f.italic, &f.underline, &f.strikeOut, &f.charSet, &f.outPrecision, &f.clipPrecision,
                            &f.quality, &f.pitchAndFamily})
        if (pos < text.size())
            *v = static_cast<std::uint8_t>(ReadNumber(text, pos, false));
    f.faceName = OptionStorage::TruncateToUtf16Units(text.substr(pos), 31);
    return f;
}

std::optional<ALogFont> LoadFont(AOptionStore& store)
{
    std::string text;
    if (!store.ReadString("Font", text))
        return std::nullopt;
    return ParseFontText(text);
}

void SaveFont(AOptionStore& store, const ALogFont& font) { store.WriteString("Font", FormatFontText(font)); }

ACustomColours LoadCustomColours(AOptionStore& store)
{
    ACustomColours colours;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        std::int32_t value = static_cast<std::int32_t>(kWhite);
        store.ReadInt(ColourName(i), value);
        colours[i] = static_cast<std::uint32_t>(value);
    }
    return colours;
}

void SaveCustomColours(AOptionStore& store, const ACustomColours& colours)
{
    for (std::size_t i = 0; i < colours.size(); ++i) {
        if (colours[i] == kWhite)
            store.WriteString(ColourName(i), std::nullopt);
        else
            store.WriteInt(ColourName(i), static_cast<std::int32_t>(colours[i]));
    }
}

std::string GuidToText(const AGuid& g)
{
    char text[39];
    std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g[3], g[2],
                  g[1], g[0], g[5], g[4], g[7], g[6], g[8], g[9], g[10], g[11], g[12], g[13], g[14], g[15]);
    return text;
}

std::optional<AGuid> GuidFromText(std::string_view text)
{
    // Positions of each stored byte's two digits in the text; the first three fields are
    // numbers and so are written with their bytes reversed.
    static constexpr std::size_t kDigitAt[16] = {7, 5, 3, 1, 12, 10, 17, 15, 20, 22, 25, 27, 29, 31, 33, 35};
    if (text.size() != 38 || text[0] != '{' || text[37] != '}' || text[9] != '-' || text[14] != '-' ||
        text[19] != '-' || text[24] != '-')
        return std::nullopt;
    AGuid guid{};
    for (std::size_t i = 0; i < guid.size(); ++i) {
        const int high = HexDigits::Value(text[kDigitAt[i]]);
        const int low = HexDigits::Value(text[kDigitAt[i] + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        guid[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return guid;
}

std::optional<AGuid> LoadLibraryGuid(AOptionStore& store, ALibraryUse use)
{
    std::string text;
    if (!store.ReadString(LibraryValueName(use), text))
        return std::nullopt;
    return GuidFromText(text);
}

void SaveLibraryGuid(AOptionStore& store, ALibraryUse use, const AGuid& guid)
{
    store.WriteString(LibraryValueName(use), GuidToText(guid));
}

}  // namespace UserInterface::Settings
