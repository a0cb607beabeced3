// Language files ("<name>.lng" beside the program) replace any of the built-in texts.
//
// A file that starts with FF FE is UTF-16 LE; any other is 8-bit text in the table's code
// page, which a line "cp=<number>" changes for the bytes after it. A NUL or the end of the
// file ends the reading. Lines:
//   ;comment          cp=1252          252=Page #d of #d
// Blanks before an id and between the id and "=" are skipped; the text starts right after
// "=" and runs to CR or LF, with \n, \r and \\ escapes; at most 1023 characters are kept.
// Ids of 791 and above are ignored, and a last line without a line break is not stored.
#pragma once
#include "core/AStrings.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace UtilityClasses::Strings {

// Real language files are a few hundred kilobytes; a larger file is not read.
constexpr std::size_t kMaxLanguageFileSize = 8u << 20;
constexpr std::size_t kMaxLanguageTextLength = 1023;

// Applies the content of a language file to `table`. Damaged content only loses entries.
void ApplyLanguageFile(AStrings& table, std::span<const std::uint8_t> content);

// Reads the file and applies it; false, leaving the table as it was, when it can't be read.
bool LoadLanguageFile(AStrings& table, const std::string& path);

struct ALanguage {
    std::string name;  // the file name up to its first "."
    std::string path;
};

// The "*.lng" files of `folder` (the extension in any letter case), sorted by file name.
std::vector<ALanguage> ListLanguages(const std::string& folder);

// The index of the language called `name`; -1 when there is none.
int FindLanguage(const std::vector<ALanguage>& languages, std::string_view name);

// Receives the name to keep as the "Language" setting, "" for the built-in texts.
using AStoreLanguageSetting = std::function<void(std::string_view name)>;

// Builds a new table with the built-in texts and the locale of `current`, loads language
// `index` into it when that is an index into `languages` (-1 is the built-in language; a file
// that can't be read leaves the built-in texts), makes it current, destroys the old table
// and then stores the language name.
void SelectLanguage(std::unique_ptr<AStrings>& current, const std::vector<ALanguage>& languages, int index,
                    const AStoreLanguageSetting& storeSetting);

}  // namespace UtilityClasses::Strings
