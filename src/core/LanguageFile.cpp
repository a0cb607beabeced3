#include "core/LanguageFile.h"

#include "core/Assert.h"
#include "core/CodePage.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace UtilityClasses::Strings {

namespace {

// Larger numbers mean nothing here; capping them keeps the arithmetic in range.
constexpr std::uint32_t kNumberCap = 1'000'000;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }
std::uint32_t AddDigit(std::uint32_t number, char16_t digit)
{
    return std::min<std::uint32_t>(number * 10 + (digit - u'0'), kNumberCap);
}

// The line grammar, one character at a time.
class ALanguageParser {
public:
    ALanguageParser(AStrings& table, AByteDecoder* decoder) : table_(table), decoder_(decoder) {}

    void Put(char16_t c)
    {
        switch (state_) {
        case State::LineStart:
            if (c == u';')
                state_ = State::Comment;
            else if (c == u'c' || c == u'C')
                state_ = State::CodePageKeyword;
            else if (IsDigit(c))
                StartId(c);
            break;
        case State::Comment:
            if (IsLineEnd(c))
                state_ = State::LineStart;
            break;
        case State::CodePageKeyword:
            if (c == u'p' || c == u'P')
                state_ = State::CodePageEquals;
            else
                state_ = IsLineEnd(c) ? State::LineStart : State::Comment;
            break;
        case State::CodePageEquals:
            // Line ends too are skipped here: "cp" and its "=" may stand on different lines.
            if (c == u'=') {
                number_ = 0;
                state_ = State::CodePageNumber;
            }
            break;
        case State::CodePageNumber:
            if (IsDigit(c)) {
                number_ = AddDigit(number_, c);
            } else if (IsLineEnd(c)) {
                if (number_ != 0)
                    ChangeCodePage(number_);
                state_ = State::LineStart;
            }
            break;
        case State::Id:
            // Anything but digits and "=" is skipped, line ends included.
            if (IsDigit(c)) {
                number_ = AddDigit(number_, c);
            } else if (c == u'=') {
                text_.clear();
                state_ = State::Text;
            }
            break;
        case State::Text:
            if (c == u'\\') {
                state_ = State::TextEscape;
            } else if (IsLineEnd(c)) {
                if (number_ < static_cast<std::uint32_t>(AStrings::kCount))
                    table_.SetText(static_cast<int>(number_), text_);
                state_ = State::LineStart;
            } else {
                Append(c);
            }
            break;
        case State::TextEscape:
            Append(c == u'n' ? u'\n' : c == u'r' ? u'\r' : c);
            state_ = State::Text;
            break;
        }
    }

private:
    enum class State { LineStart, Comment, CodePageKeyword, CodePageEquals, CodePageNumber, Id, Text, TextEscape };

    void StartId(char16_t digit)
    {
        number_ = static_cast<std::uint32_t>(digit - u'0');
        state_ = State::Id;
    }

    void Append(char16_t c)
    {
        if (text_.size() < kMaxLanguageTextLength)
            text_.push_back(c);
    }

    // A code page we can't decode is ignored: the bytes after it stay readable.
    void ChangeCodePage(std::uint32_t codePage)
    {
        bool known = decoder_ ? decoder_->SetCodePage(codePage) : IsCodePageAvailable(codePage);
        if (known)
            table_.SetCodePage(codePage);
    }

    AStrings& table_;
    AByteDecoder* decoder_;
    State state_ = State::LineStart;
    std::uint32_t number_ = 0;
    std::u16string text_;
};

bool EndsWithLng(std::string_view name)
{
    if (name.size() < 4)
        return false;
    std::string_view extension = name.substr(name.size() - 4);
    return extension[0] == '.' && (extension[1] | 0x20) == 'l' && (extension[2] | 0x20) == 'n' &&
           (extension[3] | 0x20) == 'g';
}

bool IsRegularFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& content)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<std::uint64_t>(info.st_size) <= kMaxLanguageFileSize;
    content.clear();
    std::uint8_t chunk[65536];
    while (ok) {
        ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        content.insert(content.end(), chunk, chunk + got);
        // The file may have grown since it was measured.
        ok = content.size() <= kMaxLanguageFileSize;
    }
    close(fd);
    return ok;
}

}  // namespace

void ApplyLanguageFile(AStrings& table, std::span<const std::uint8_t> content)
{
    if (content.size() >= 2 && content[0] == 0xFF && content[1] == 0xFE) {
        ALanguageParser parser(table, nullptr);
        // Two bytes a character after the mark; a lone last byte is no character.
        for (std::size_t i = 2; i + 1 < content.size(); i += 2) {
            auto c = static_cast<char16_t>(content[i] | (content[i + 1] << 8));
            if (c == u'\0')
                break;
            parser.Put(c);
        }
        return;
    }
    AByteDecoder decoder(table.CodePage());
    ALanguageParser parser(table, &decoder);
    std::u16string decoded;
    for (std::uint8_t byte : content) {
        if (byte == 0)
            break;
        decoded.clear();
        decoder.Feed(byte, decoded);
        for (char16_t c : decoded)
            parser.Put(c);
    }
}

bool LoadLanguageFile(AStrings& table, const std::string& path)
{
    std::vector<std::uint8_t> content;
    if (!ReadWholeFile(path, content))
        return false;
    ApplyLanguageFile(table, content);
    return true;
}

std::vector<ALanguage> ListLanguages(const std::string& folder)
{
    std::vector<ALanguage> languages;
    DIR* directory = opendir(folder.empty() ? "." : folder.c_str());
    if (!directory)
        return languages;
    while (const dirent* entry = readdir(directory)) {
        std::string fileName = entry->d_name;
        if (!EndsWithLng(fileName))
            continue;
        std::string name = fileName.substr(0, fileName.find('.'));
        std::string path = folder.empty() || folder.back() == '/' ? folder + fileName : folder + "/" + fileName;
        if (!name.empty() && IsRegularFile(path))
            languages.push_back({std::move(name), std::move(path)});
    }
    closedir(directory);
    // Directory order differs between file systems; the menu should not.
    std::sort(languages.begin(), languages.end(),
              [](const ALanguage& a, const ALanguage& b) { return a.path < b.path; });
    return languages;
}

int FindLanguage(const std::vector<ALanguage>& languages, std::string_view name)
{
    for (std::size_t i = 0; i < languages.size(); ++i)
        if (languages[i].name == name)
            return static_cast<int>(i);
    return -1;
}

void SelectLanguage(std::unique_ptr<AStrings>& current, const std::vector<ALanguage>& languages, int index,
                    const AStoreLanguageSetting& storeSetting)
{
    if (!FD_VERIFY(current != nullptr))
        return;
    auto table = std::make_unique<AStrings>(current->Locale());
    std::string name;
    if (index >= 0 && static_cast<std::size_t>(index) < languages.size()) {
        (void)LoadLanguageFile(*table, languages[index].path);
        name = languages[index].name;
    }
    current = std::move(table);
    if (storeSetting)
        storeSetting(name);
}

}  // namespace UtilityClasses::Strings
