// Conversions between UTF-16 and 8-bit text in Windows code pages, done by iconv
// (code page n is iconv's "CP<n>", 65001 is UTF-8), and fast UTF-8 helpers of our own.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace UtilityClasses::Strings {

constexpr std::uint32_t kCodePageCyrillic = 1251;
constexpr std::uint32_t kCodePageUtf8 = 65001;
constexpr char16_t kReplacementCharacter = u'\uFFFD';

// iconv's name for a Windows code page.
std::string IconvName(std::uint32_t codePage);
bool IsCodePageAvailable(std::uint32_t codePage);

// Bytes the code page does not map become U+FFFD. False, with `out` empty, only when the
// code page itself is unknown.
[[nodiscard]] bool MultiByteToUtf16(std::string_view bytes, std::uint32_t codePage, std::u16string& out);
// The same for a character set named the way iconv names it (a locale's codeset).
[[nodiscard]] bool CharsetToUtf16(std::string_view bytes, const std::string& charset, std::u16string& out);
// Characters the code page cannot hold become "?", as the platform's default character did.
[[nodiscard]] bool Utf16ToMultiByte(std::u16string_view text, std::uint32_t codePage, std::string& out);

// Invalid or truncated sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Decodes 8-bit text one byte at a time in a code page that may change between two bytes,
// as a language file's code-page lines ask. Multi-byte code pages (65001, the Far East
// ones) collect a character over several bytes.
class AByteDecoder {
public:
    explicit AByteDecoder(std::uint32_t codePage);
    ~AByteDecoder();
    AByteDecoder(const AByteDecoder&) = delete;
    AByteDecoder& operator=(const AByteDecoder&) = delete;

    // False, keeping the current code page, when the code page is unknown.
    bool SetCodePage(std::uint32_t codePage);
    std::uint32_t CodePage() const { return codePage_; }

    // Appends to `out` what the byte completes: nothing, one unit or a surrogate pair.
    void Feed(std::uint8_t byte, std::u16string& out);

private:
    void Close();
    void DecodePending(std::u16string& out);

    std::uint32_t codePage_ = 0;
    void* converter_ = nullptr;                   // iconv_t, for bytes that start a sequence
    std::array<char16_t, 256> singleByte_{};      // what a byte means on its own
    std::array<bool, 256> startsSequence_{};      // the byte needs more bytes after it
    std::array<std::uint8_t, 4> pending_{};
    std::size_t pendingCount_ = 0;
};

}  // namespace UtilityClasses::Strings
