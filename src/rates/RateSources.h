// Rate-source plug-ins: finding them in the program's folder, loading them, and
// reading their descriptions in the program's texts.
#pragma once

#include <fendral/ratesource.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Rates {

// The three exports of a rate source.
struct ARateSourceExports {
    AGetLibraryInfoFunction getLibraryInfo = nullptr;
    AGetResourcesFunction getResources = nullptr;
    AFetchRatesFunction fetchRates = nullptr;
};

// What a source says about itself, converted from its code page.
struct ASourceDetails {
    std::u16string name;
    std::u16string baseCode;
    std::u16string baseName;
    std::u16string author;
    std::u16string email;
    std::u16string site;
};

// One source row: a loaded plug-in and its display name. The library stays loaded
// while the row exists.
class ADataSourceItem {
public:
    // Loads the library at `path`; null when it is no usable rate source (it is then
    // unloaded at once). `languageCodePage` stands for a plug-in's code page 0.
    static std::unique_ptr<ADataSourceItem> Load(const std::string& path, std::uint32_t languageCodePage);
    // A source whose exports are at hand already (linked in, or a test's own).
    static std::unique_ptr<ADataSourceItem> FromExports(const ARateSourceExports& exports, std::string fileName,
                                                        std::uint32_t languageCodePage);
    ~ADataSourceItem();
    ADataSourceItem(const ADataSourceItem&) = delete;
    ADataSourceItem& operator=(const ADataSourceItem&) = delete;

    // The label of the row, as read when the source was found.
    const std::u16string& Name() const { return name_; }
    // The library's file name without its folder ("ecbrates.so").
    const std::string& FileName() const { return fileName_; }
    const ARateSourceExports& Exports() const { return exports_; }

    // The description, read from the plug-in's record again on every call.
    ASourceDetails Details() const;
    // The host name as the plug-in gives it (8-bit), for building addresses.
    std::string Host() const;
    // A text of the plug-in in the program's UTF-16.
    std::u16string Text(const char* text) const;
    // The code page its texts are in, 0 already replaced by the language's.
    std::uint32_t CodePage() const { return codePage_; }

private:
    ADataSourceItem(const ARateSourceExports& exports, std::string fileName, void* library);
    // The plug-in's record, or null when it no longer gives a usable one.
    const ALibraryInfo* Info() const;

    ARateSourceExports exports_;
    std::string fileName_;
    void* library_ = nullptr;  // dlopen handle; null for a source that was not loaded by us
    std::uint32_t codePage_ = 0;
    std::u16string name_;
};

// Every usable rate source among the "*.so" files of `folder`, by file name.
std::vector<std::unique_ptr<ADataSourceItem>> FindRateSources(const std::string& folder,
                                                              std::uint32_t languageCodePage);

// 8-bit text of a plug-in in UTF-16. A code page the system does not know keeps the
// ASCII characters and turns the other bytes into U+FFFD; null is the empty text.
std::u16string PluginText(const char* text, std::uint32_t codePage);

}  // namespace Rates
