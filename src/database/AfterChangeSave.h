// Saving the data file after every committed change, undo and redo.
#pragma once

#include "core/BackupCopies.h"
#include "core/MessageRef.h"
#include "core/Result.h"

#include <functional>
#include <string>

namespace UserInterface::Settings { class ASettings; }

namespace Database {

// What the database asks the program when a change has been committed: whether to save
// now, what to do first (the backup copy) and how to tell the user that saving failed.
class AAfterChangeSave {
public:
    virtual ~AAfterChangeSave() = default;
    virtual bool Enabled() = 0;
    virtual void BeforeSave(const std::string& dataFile) = 0;
    virtual void SaveFailed(HRESULT result) = 0;
};

// Over the program's settings: the "save after every change" flag and the backup options.
// Messages (a failed backup copy, a failed save) go to `show`; the save goes on after a
// failed copy, as it does for the Save command.
class ASettingsAfterChangeSave final : public AAfterChangeSave {
public:
    using AShowMessage = std::function<void(const AMessageRef& message)>;
    using AShowFailure = std::function<void(HRESULT result)>;

    ASettingsAfterChangeSave(const UserInterface::Settings::ASettings& settings, Engine::ABackupCopies& backups,
                             AShowMessage showMessage, AShowFailure showFailure);

    bool Enabled() override;
    void BeforeSave(const std::string& dataFile) override;
    void SaveFailed(HRESULT result) override;

private:
    const UserInterface::Settings::ASettings& settings_;
    Engine::ABackupCopies& backups_;
    AShowMessage showMessage_;
    AShowFailure showFailure_;
};

}  // namespace Database
