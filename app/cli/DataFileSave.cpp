#include "DataFileSave.h"

#include "CliMessages.h"

#include "core/BackupCopies.h"
#include "core/FileSystem.h"
#include "core/FormatText.h"
#include "core/OptionStore.h"
#include "core/Settings.h"
#include "core/Trash.h"
#include "core/XdgFolders.h"

#include <array>
#include <cstdlib>
#include <vector>

namespace Cli {

namespace {

// The settings are the GUI program's: its INI file beside it, or the user's store.
void MakeBackupCopy(const ACliContext& context, Database::ADatabase& db)
{
    Files::ALocalFileSystem fs;
    const char* home = std::getenv("HOME");
    const std::string configFolder = Files::UserConfigFolder(std::getenv("XDG_CONFIG_HOME"), home);
    UserInterface::Settings::ASettings settings(UserInterface::Settings::OptionStorage::ChooseOptionStore(
        fs, ProgramFolder() + "/fendral", configFolder));
    settings.LoadAll();
    const Database::Engine::ABackupOptions options = Database::Engine::BackupOptionsFrom(settings);
    if (options.mode == UserInterface::Settings::kNoBackups)
        return;
    Files::ATrash trash(fs, Files::ATrash::HomeTrashFolder(Files::UserDataFolder(std::getenv("XDG_DATA_HOME"), home)),
                        SystemLocalTime);
    Database::Engine::ABackupCopies backups(fs, trash, ProgramFolder(), SystemLocalTime);
    const auto message =
        backups.BeforeSave(options, db.FileName().FullPath(), Database::Engine::ASaveKind::InPlace);
    if (!message)
        return;
    using namespace UtilityClasses::Strings;
    const std::vector<FormatArg> args(message->numbers.begin(), message->numbers.end());
    std::array<char16_t, kFormatCapacity> text;
    const std::size_t length = FormatText(text, context.strings.Locale(), context.strings.Text(message->id), args);
    context.err << TerminalText({text.data(), length}) << '\n';
}

}  // namespace

bool SaveDataFileInPlace(const ACliContext& context, Database::ADatabase& db)
{
    MakeBackupCopy(context, db);
    const HRESULT result = db.Save();
    if (Result::Succeeded(result))
        return true;
    PrintMessage(context, context.err, MessageId::kSaveFailed, {static_cast<std::uint32_t>(result)});
    return false;
}

}  // namespace Cli
