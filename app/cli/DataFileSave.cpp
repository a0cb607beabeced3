#include "DataFileSave.h"

#include "CliContext.h"

#include "core/BackupCopies.h"
#include "core/FileSystem.h"
#include "core/OptionStore.h"
#include "core/Settings.h"
#include "core/Trash.h"
#include "core/XdgFolders.h"

#include <cstdlib>

namespace Cli {

// The settings are the GUI program's: its INI file beside it, or the user's store.
std::optional<AMessageRef> BackupBeforeSave(const std::string& path)
{
    Files::ALocalFileSystem fs;
    const char* home = std::getenv("HOME");
    const std::string configFolder = Files::UserConfigFolder(std::getenv("XDG_CONFIG_HOME"), home);
    UserInterface::Settings::ASettings settings(UserInterface::Settings::OptionStorage::ChooseOptionStore(
        fs, ProgramFolder() + "/fendral", configFolder));
    settings.LoadAll();
    const Database::Engine::ABackupOptions options = Database::Engine::BackupOptionsFrom(settings);
    if (options.mode == UserInterface::Settings::kNoBackups)
        return std::nullopt;
    Files::ATrash trash(fs, Files::ATrash::HomeTrashFolder(Files::UserDataFolder(std::getenv("XDG_DATA_HOME"), home)),
                        SystemLocalTime);
    Database::Engine::ABackupCopies backups(fs, trash, ProgramFolder(), SystemLocalTime);
    return backups.BeforeSave(options, path, Database::Engine::ASaveKind::InPlace);
}

}  // namespace Cli
