#include "exchange/modules/ModuleSource.h"

#include "core/Assert.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>

namespace ExportImport::Private {

namespace {

template <class Interface>
struct AEntryPoints;

template <>
struct AEntryPoints<AExportInterface> {
    static constexpr const char* kCount = "GetExportInterfaceCount";
    static constexpr const char* kGet = "GetExportInterface";
    using AGet = AGetExportInterface;
};

template <>
struct AEntryPoints<AImportInterface> {
    static constexpr const char* kCount = "GetImportInterfaceCount";
    static constexpr const char* kGet = "GetImportInterface";
    using AGet = AGetImportInterface;
};

bool IsPluginFile(const std::filesystem::directory_entry& entry)
{
    std::error_code error;
    return entry.is_regular_file(error) && entry.path().extension() == ".so";
}

}  // namespace

// ---- ALibrary ----

std::shared_ptr<ALibrary> ALibrary::Load(const std::string& path)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return nullptr;
    return std::shared_ptr<ALibrary>(new ALibrary(handle, std::filesystem::path(path).filename().string()));
}

ALibrary::~ALibrary()
{
    dlclose(handle_);
}

void* ALibrary::Symbol(const char* name) const
{
    return dlsym(handle_, name);
}

// ---- ASource::AItem ----

template <class Interface>
ASource<Interface>::AItem::AItem(Interface* module, std::shared_ptr<ALibrary> library,
                                 std::unique_ptr<APluginToolsImpl> tools)
    : tools_(std::move(tools)), library_(std::move(library)), module_(module)
{
}

template <class Interface>
ASource<Interface>::AItem::~AItem()
{
    if (module_)
        module_->Destroy();
    module_ = nullptr;
    library_.reset();  // the module's code goes only after the module
}

template <class Interface>
AGuid ASource<Interface>::AItem::Id() const
{
    const AModuleGuid* id = module_->GetId();
    return id ? ToGuid(*id) : AGuid{};
}

// ---- ASource ----

template <class Interface>
ASource<Interface>::ASource(AModuleSession& session) : session_(session), program_(dlopen(nullptr, RTLD_LAZY))
{
}

template <class Interface>
ASource<Interface>::~ASource()
{
    while (!items_.empty())
        items_.pop_back();
    if (program_)
        dlclose(program_);
}

template <class Interface>
void ASource<Interface>::Add(Interface* module, std::shared_ptr<ALibrary> library)
{
    const std::string name = library ? library->FileName() : AModuleSession::kProgramModuleName;
    auto tools = std::make_unique<APluginToolsImpl>(session_, name, library ? library->Handle() : program_);
    // Every module holds its tools before any other call.
    module->SetTools(tools.get());
    items_.push_back(std::make_unique<AItem>(module, std::move(library), std::move(tools)));
}

template <class Interface>
void ASource<Interface>::AddBuiltIn(Interface* module)
{
    if (FD_VERIFY(module))
        Add(module, nullptr);
}

template <class Interface>
std::size_t ASource<Interface>::LoadPlugin(const std::string& path)
{
    using AEntries = AEntryPoints<Interface>;
    std::shared_ptr<ALibrary> library = ALibrary::Load(path);
    if (!library)
        return 0;
    auto count = reinterpret_cast<AGetInterfaceCount>(library->Symbol(AEntries::kCount));
    auto get = reinterpret_cast<typename AEntries::AGet>(library->Symbol(AEntries::kGet));
    if (!count || !get)
        return 0;  // the last reference goes here and unloads it
    const std::uint32_t offered = std::min(count(), kMaxModulesPerLibrary);
    std::vector<Interface*> taken;
    for (std::uint32_t index = 0; index < offered; ++index) {
        Interface* module = get(index);
        // A module handed out twice would be destroyed twice.
        if (!module || std::find(taken.begin(), taken.end(), module) != taken.end())
            continue;
        taken.push_back(module);
        Add(module, library);
    }
    return taken.size();
}

template <class Interface>
std::size_t ASource<Interface>::LoadPlugins(const std::string& folder)
{
    std::error_code error;
    std::vector<std::string> paths;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (IsPluginFile(*it))
            paths.push_back(it->path().string());
    std::sort(paths.begin(), paths.end());
    std::size_t added = 0;
    for (const std::string& path : paths)
        added += LoadPlugin(path);
    return added;
}

template <class Interface>
auto ASource<Interface>::FindById(const AGuid& id) const -> const AItem*
{
    for (const auto& item : items_)
        if (item->Id() == id)
            return item.get();
    return nullptr;
}

template class ASource<AExportInterface>;
template class ASource<AImportInterface>;

}  // namespace ExportImport::Private
