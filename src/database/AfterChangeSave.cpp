#include "database/AfterChangeSave.h"

#include "core/Settings.h"

namespace Database {

ASettingsAfterChangeSave::ASettingsAfterChangeSave(const UserInterface::Settings::ASettings& settings,
                                                   Engine::ABackupCopies& backups, AShowMessage showMessage,
                                                   AShowFailure showFailure)
    : settings_(settings), backups_(backups), showMessage_(std::move(showMessage)),
      showFailure_(std::move(showFailure))
{
}

bool ASettingsAfterChangeSave::Enabled()
{
    return settings_.Flag(UserInterface::Settings::kSaveAfterEveryChange);
}

void ASettingsAfterChangeSave::BeforeSave(const std::string& dataFile)
{
    const auto message =
        backups_.BeforeSave(Engine::BackupOptionsFrom(settings_), dataFile, Engine::ASaveKind::InPlace);
    if (message && showMessage_)
        showMessage_(*message);
}

void ASettingsAfterChangeSave::SaveFailed(HRESULT result)
{
    if (showFailure_)
        showFailure_(result);
}

}  // namespace Database
