#include "rates/RateSources.h"

#include "core/CodePage.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace Rates {

namespace {

const ALibraryInfo* UsableInfo(const ARateSourceExports& exports)
{
    if (!exports.getLibraryInfo)
        return nullptr;
    const ALibraryInfo* info = exports.getLibraryInfo();
    return info && info->size >= FENDRAL_LIBRARY_INFO_MIN_SIZE ? info : nullptr;
}

template <class Function>
Function Symbol(void* library, const char* name)
{
    return reinterpret_cast<Function>(::dlsym(library, name));
}

}  // namespace

std::u16string PluginText(const char* text, std::uint32_t codePage)
{
    using namespace UtilityClasses::Strings;
    if (!text)
        return {};
    const std::string_view bytes(text);
    std::u16string out;
    if (MultiByteToUtf16(bytes, codePage, out))
        return out;
    out.clear();
    for (const char byte : bytes)
        out.push_back(static_cast<unsigned char>(byte) < 0x80 ? static_cast<char16_t>(byte) : kReplacementCharacter);
    return out;
}

ADataSourceItem::ADataSourceItem(const ARateSourceExports& exports, std::string fileName, void* library)
    : exports_(exports), fileName_(std::move(fileName)), library_(library)
{
}

ADataSourceItem::~ADataSourceItem()
{
    if (library_)
        ::dlclose(library_);
}

std::unique_ptr<ADataSourceItem> ADataSourceItem::FromExports(const ARateSourceExports& exports,
                                                              std::string fileName, std::uint32_t languageCodePage)
{
    // A source that could not be asked for rates would be called through a null pointer.
    const ALibraryInfo* info = UsableInfo(exports);
    if (!info || !exports.getResources || !exports.fetchRates)
        return nullptr;
    std::unique_ptr<ADataSourceItem> item(new ADataSourceItem(exports, std::move(fileName), nullptr));
    item->codePage_ = info->codePage != 0 ? info->codePage : languageCodePage;
    item->name_ = item->Text(info->name);
    return item;
}

std::unique_ptr<ADataSourceItem> ADataSourceItem::Load(const std::string& path, std::uint32_t languageCodePage)
{
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return nullptr;
    ARateSourceExports exports;
    exports.getLibraryInfo = Symbol<AGetLibraryInfoFunction>(library, "GetLibraryInfo");
    exports.getResources = Symbol<AGetResourcesFunction>(library, "GetResources");
    exports.fetchRates = Symbol<AFetchRatesFunction>(library, "FetchRates");
    std::unique_ptr<ADataSourceItem> item =
        FromExports(exports, std::filesystem::path(path).filename().string(), languageCodePage);
    if (!item) {
        ::dlclose(library);
        return nullptr;
    }
    item->library_ = library;
    return item;
}

const ALibraryInfo* ADataSourceItem::Info() const { return UsableInfo(exports_); }

std::u16string ADataSourceItem::Text(const char* text) const { return PluginText(text, codePage_); }

ASourceDetails ADataSourceItem::Details() const
{
    const ALibraryInfo* info = Info();
    if (!info)
        return {name_};
    return {Text(info->name),   Text(info->baseCode), Text(info->baseName),
            Text(info->author), Text(info->email),    Text(info->site)};
}

std::string ADataSourceItem::Host() const
{
    const ALibraryInfo* info = Info();
    return info && info->host ? std::string(info->host) : std::string();
}

std::vector<std::unique_ptr<ADataSourceItem>> FindRateSources(const std::string& folder,
                                                              std::uint32_t languageCodePage)
{
    std::vector<std::string> paths;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::filesystem::path& path = it->path();
        if (path.extension() == ".so" && it->is_regular_file(error))
            paths.push_back(path.string());
    }
    std::sort(paths.begin(), paths.end());
    std::vector<std::unique_ptr<ADataSourceItem>> sources;
    for (const std::string& path : paths)
        if (std::unique_ptr<ADataSourceItem> item = ADataSourceItem::Load(path, languageCodePage))
            sources.push_back(std::move(item));
    return sources;
}

}  // namespace Rates
