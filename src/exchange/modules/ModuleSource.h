// The lists of export and import modules a wizard offers: the built-in modules and those
// of the plug-in libraries ("*.so") in the program's folder.
#pragma once
#include "exchange/modules/ModuleInterface.h"
#include "exchange/modules/PluginTools.h"

#include <memory>
#include <string>
#include <vector>

namespace ExportImport::Private {

// A loaded plug-in library, unloaded when the last module taken from it is gone.
class ALibrary {
public:
    // Null when the file can't be loaded as a library.
    static std::shared_ptr<ALibrary> Load(const std::string& path);
    ~ALibrary();
    ALibrary(const ALibrary&) = delete;
    ALibrary& operator=(const ALibrary&) = delete;

    void* Symbol(const char* name) const;
    AModuleHandle Handle() const { return handle_; }
    // Without its folder: the prefix of its modules' settings.
    const std::string& FileName() const { return fileName_; }

private:
    ALibrary(void* handle, std::string fileName) : handle_(handle), fileName_(std::move(fileName)) {}
    void* handle_;
    std::string fileName_;
};

// A library claiming more modules than this is not believed beyond the first ones.
constexpr std::uint32_t kMaxModulesPerLibrary = 256;

template <class Interface>
class ASource {
public:
    class AItem {
    public:
        AItem(Interface* module, std::shared_ptr<ALibrary> library, std::unique_ptr<APluginToolsImpl> tools);
        AItem(const AItem&) = delete;
        AItem& operator=(const AItem&) = delete;
        // Destroys the module, then lets go of its library.
        ~AItem();

        Interface* Module() const { return module_; }
        const ALibrary* Library() const { return library_.get(); }
        APluginToolsImpl& Tools() const { return *tools_; }
        AGuid Id() const;

    private:
        std::unique_ptr<APluginToolsImpl> tools_;  // outlives the module that holds it
        std::shared_ptr<ALibrary> library_;
        Interface* module_;
    };

    explicit ASource(AModuleSession& session);
    ~ASource();
    ASource(const ASource&) = delete;
    ASource& operator=(const ASource&) = delete;

    // Takes over a module of the program itself.
    void AddBuiltIn(Interface* module);
    // Every "*.so" of the folder in file-name order; answers the number of modules added.
    std::size_t LoadPlugins(const std::string& folder);
    // One library: its modules are added, or it is unloaded again when it offers none.
    std::size_t LoadPlugin(const std::string& path);

    std::size_t Count() const { return items_.size(); }
    const AItem& Item(std::size_t index) const { return *items_[index]; }
    // The module with that identifier (the one used last, from the settings); null if none.
    const AItem* FindById(const AGuid& id) const;

private:
    void Add(Interface* module, std::shared_ptr<ALibrary> library);

    AModuleSession& session_;
    void* program_;  // the program's own handle, the module handle of built-in modules
    std::vector<std::unique_ptr<AItem>> items_;  // items stay put: modules hold their tools
};

using AExportSource = ASource<AExportInterface>;
using AImportSource = ASource<AImportInterface>;

extern template class ASource<AExportInterface>;
extern template class ASource<AImportInterface>;

}  // namespace ExportImport::Private
