// The first step both exchange wizards share, without its window: the module list, the
// module chosen (the one used last, when it is still there), its file and whether the step
// may be left.
#pragma once
#include "exchange/modules/ModuleSource.h"

#include "core/SettingsBlobs.h"

#include <string>

namespace ExportImport::Wizards {

template <class Interface>
class AModuleChoice {
public:
    // The texts that refuse leaving the step: no module, no file.
    struct ARefusals {
        int noModule;
        int noFile;
    };

    AModuleChoice(const Private::ASource<Interface>& source, UserInterface::Settings::OptionStorage::AOptionStore& store,
                  UserInterface::Settings::ALibraryUse use, ARefusals refusals);

    std::size_t Count() const { return source_.Count(); }
    std::u16string Name(std::size_t index) const;
    // -1 when there is no module at all.
    int Selected() const { return selected_; }
    // Takes the module's last file into the file field.
    void Select(int index);
    Interface* Module() const;

    bool UsesFile() const;
    bool HasSettings() const;
    std::u16string Extension() const;
    const std::u16string& FileName() const { return fileName_; }
    void SetFileName(std::u16string fileName) { fileName_ = std::move(fileName); }
    // The chosen file as a path of the system (UTF-8); empty when the module uses none.
    std::string FilePath() const;

    // 0 when Next may go on, otherwise the text that says why not.
    int LeaveRefusal() const;

private:
    const Private::ASource<Interface>& source_;
    ARefusals refusals_;
    int selected_ = -1;
    std::u16string fileName_;
};

extern template class AModuleChoice<AExportInterface>;
extern template class AModuleChoice<AImportInterface>;

}  // namespace ExportImport::Wizards
