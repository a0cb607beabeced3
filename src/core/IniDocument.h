// The text of a settings file: "[section]" lines and "name=value" lines, kept line by line
// so that a hand-edited file keeps its comments, order and other sections when we write.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace UserInterface::Settings::OptionStorage {

// How the file was stored. Files written on the other platform are UTF-16 with a byte order
// mark; files made here are UTF-8. Each file is written back in the form it was read in.
enum class ATextForm { Utf8, Utf8WithBom, Utf16Le, Utf16Be };

class AIniDocument {
public:
    AIniDocument() = default;
    // Never fails: bytes that are not a section or a "name=value" line are kept as they are.
    static AIniDocument Parse(std::string_view bytes);
    std::string Serialize() const;

    // The value of the first `name` in a section called `section` (both compared without
    // regard to ASCII case): blanks around it removed, then one pair of matching quotes.
    std::optional<std::string> Find(std::string_view section, std::string_view name) const;
    // False, changing nothing, when the name or the value cannot be stored in a line.
    bool Set(std::string_view section, std::string_view name, std::string_view value);
    void Remove(std::string_view section, std::string_view name);

    ATextForm Form() const { return form_; }
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    struct ALocation {
        std::size_t sectionEnd;                 // one past the section's last non-blank line
        std::optional<std::size_t> valueLine;
    };
    std::optional<ALocation> Locate(std::string_view section, std::string_view name) const;

    ATextForm form_ = ATextForm::Utf8;
    std::string lineBreak_ = "\n";
    std::vector<std::string> lines_;  // UTF-8, without line breaks
};

// Names are ours, but values come from users: a line break or NUL would split the line
// and let a value plant other settings.
bool IsStorableValue(std::string_view value);
bool IsStorableName(std::string_view name);

// Length in UTF-16 code units (what the platform's 1024-character buffers count).
std::size_t Utf16Units(std::string_view utf8);
// The longest prefix of at most `units` UTF-16 code units that does not split a character
// (a cut text comes back with any broken UTF-8 replaced by U+FFFD).
std::string TruncateToUtf16Units(std::string_view utf8, std::size_t units);

}  // namespace UserInterface::Settings::OptionStorage
