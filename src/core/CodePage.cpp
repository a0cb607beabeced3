#include "core/CodePage.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace UtilityClasses::Strings {

namespace {

// iconv writes UTF-16 in the byte order we name; we want the machine's own.
constexpr const char* kNativeUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

class AConverter {
public:
    AConverter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~AConverter()
    {
        if (ok())
            iconv_close(handle_);
    }
    AConverter(const AConverter&) = delete;
    AConverter& operator=(const AConverter&) = delete;
    bool ok() const { return handle_ != kNoConverter; }
    iconv_t get() const { return handle_; }

private:
    iconv_t handle_;
};

void AppendCodePoint(char32_t c, std::u16string& out)
{
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

// Runs `from`-encoded bytes through iconv into UTF-16; an undecodable byte gives U+FFFD
// and the conversion goes on after it.
bool ConvertToUtf16(std::string_view bytes, const char* from, std::u16string& out)
{
    out.clear();
    AConverter converter(kNativeUtf16, from);
    if (!converter.ok())
        return false;
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char16_t chunk[256];
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(chunk);
        std::size_t outLeft = sizeof chunk;
        std::size_t done = iconv(converter.get(), &in, &inLeft, &outPtr, &outLeft);
        int error = errno;
        out.append(chunk, (sizeof chunk - outLeft) / sizeof(char16_t));
        if (done != static_cast<std::size_t>(-1))
            break;
        if (error == E2BIG)
            continue;
        out.push_back(kReplacementCharacter);
        if (error == EINVAL)  // a sequence cut off by the end of the text
            break;
        ++in;                 // EILSEQ: skip the byte that is no character here
        --inLeft;
    }
    return true;
}

}  // namespace

std::string IconvName(std::uint32_t codePage)
{
    if (codePage == kCodePageUtf8)
        return "UTF-8";
    return "CP" + std::to_string(codePage);
}

bool IsCodePageAvailable(std::uint32_t codePage)
{
    if (codePage == 0)
        return false;
    AConverter converter(kNativeUtf16, IconvName(codePage).c_str());
    return converter.ok();
}

bool MultiByteToUtf16(std::string_view bytes, std::uint32_t codePage, std::u16string& out)
{
    if (codePage == kCodePageUtf8) {
        out = Utf8ToUtf16(bytes);
        return true;
    }
    if (codePage == 0) {
        out.clear();
        return false;
    }
    return ConvertToUtf16(bytes, IconvName(codePage).c_str(), out);
}

bool CharsetToUtf16(std::string_view bytes, const std::string& charset, std::u16string& out)
{
    return ConvertToUtf16(bytes, charset.c_str(), out);
}

bool Utf16ToMultiByte(std::u16string_view text, std::uint32_t codePage, std::string& out)
{
    out.clear();
    if (codePage == kCodePageUtf8) {
        out = Utf16ToUtf8(text);
        return true;
    }
    if (codePage == 0)
        return false;
    AConverter converter(IconvName(codePage).c_str(), kNativeUtf16);
    if (!converter.ok())
        return false;
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
    std::size_t inLeft = text.size() * sizeof(char16_t);
    char chunk[512];
    while (inLeft > 0) {
        char* outPtr = chunk;
        std::size_t outLeft = sizeof chunk;
        std::size_t done = iconv(converter.get(), &in, &inLeft, &outPtr, &outLeft);
        int error = errno;
        out.append(chunk, sizeof chunk - outLeft);
        if (done != static_cast<std::size_t>(-1))
            break;
        if (error == E2BIG)
            continue;
        out.push_back('?');
        if (error == EINVAL)
            break;
        // Skip the character that does not fit, both halves of a surrogate pair at once.
        char16_t unit;
        std::memcpy(&unit, in, sizeof unit);
        std::size_t skip = sizeof(char16_t);
        if (unit >= 0xD800 && unit < 0xDC00 && inLeft >= 2 * sizeof(char16_t))
            skip *= 2;
        in += skip;
        inLeft -= skip;
    }
    // Leave the converter in its initial shift state, for stateful code pages.
    char* outPtr = chunk;
    std::size_t outLeft = sizeof chunk;
    iconv(converter.get(), nullptr, nullptr, &outPtr, &outLeft);
    out.append(chunk, sizeof chunk - outLeft);
    return true;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out.push_back(byte);
            ++i;
            continue;
        }
        int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 0;
        char32_t c = byte & (0x7F >> length);
        bool valid = length > 0 && byte < 0xF5 && i + length <= n;
        for (int k = 1; valid && k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms and encoded surrogates are no characters.
        static constexpr char32_t kLowest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (c < kLowest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)))
            valid = false;
        if (!valid) {
            out.push_back(kReplacementCharacter);
            ++i;
            // Continuation bytes of the broken sequence are skipped with it.
            while (i < n && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
                ++i;
            continue;
        }
        AppendCodePoint(c, out);
        i += length;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xE000) {
            bool paired = c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
            if (paired) {
                c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
                ++i;
            } else {
                c = kReplacementCharacter;
            }
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

AByteDecoder::AByteDecoder(std::uint32_t codePage)
{
    if (!SetCodePage(codePage))
        SetCodePage(kCodePageCyrillic);
}

AByteDecoder::~AByteDecoder() { Close(); }

void AByteDecoder::Close()
{
    if (converter_)
        iconv_close(static_cast<iconv_t>(converter_));
    converter_ = nullptr;
}

bool AByteDecoder::SetCodePage(std::uint32_t codePage)
{
    if (codePage == 0)
        return false;
    iconv_t handle = iconv_open(kNativeUtf16, IconvName(codePage).c_str());
    if (handle == kNoConverter)
        return false;
    Close();
    converter_ = handle;
    codePage_ = codePage;
    pendingCount_ = 0;
    // Learn once what each byte means alone, so the common single-byte case is a lookup.
    for (int b = 0; b < 256; ++b) {
        char byte = static_cast<char>(b);
        char* in = &byte;
        std::size_t inLeft = 1;
        char16_t units[2];
        char* outPtr = reinterpret_cast<char*>(units);
        std::size_t outLeft = sizeof units;
        iconv(handle, nullptr, nullptr, nullptr, nullptr);
        std::size_t done = iconv(handle, &in, &inLeft, &outPtr, &outLeft);
        startsSequence_[b] = done == static_cast<std::size_t>(-1) && errno == EINVAL;
        bool single = done != static_cast<std::size_t>(-1) && outLeft == sizeof units - sizeof(char16_t);
        singleByte_[b] = single ? units[0] : kReplacementCharacter;
    }
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    return true;
}

void AByteDecoder::Feed(std::uint8_t byte, std::u16string& out)
{
    if (pendingCount_ == 0 && !startsSequence_[byte]) {
        out.push_back(singleByte_[byte]);
        return;
    }
    pending_[pendingCount_++] = byte;
    DecodePending(out);
}

void AByteDecoder::DecodePending(std::u16string& out)
{
    auto handle = static_cast<iconv_t>(converter_);
    char bytes[4];
    std::memcpy(bytes, pending_.data(), pendingCount_);
    char* in = bytes;
    std::size_t inLeft = pendingCount_;
    char16_t units[4];
    char* outPtr = reinterpret_cast<char*>(units);
    std::size_t outLeft = sizeof units;
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    std::size_t done = iconv(handle, &in, &inLeft, &outPtr, &outLeft);
    int error = errno;
    if (done == static_cast<std::size_t>(-1) && error == EINVAL && pendingCount_ < pending_.size())
        return;  // the character goes on in the next byte
    std::size_t count = pendingCount_;
    pendingCount_ = 0;
    if (done != static_cast<std::size_t>(-1) && inLeft == 0) {
        out.append(units, (sizeof units - outLeft) / sizeof(char16_t));
        return;
    }
    // The first byte starts no character; the bytes after it may (a line break after a
    // cut-off sequence must still end the line), so they are read again on their own.
    out.push_back(kReplacementCharacter);
    for (std::size_t i = 1; i < count; ++i)
        Feed(static_cast<std::uint8_t>(bytes[i]), out);
}

}  // namespace UtilityClasses::Strings
