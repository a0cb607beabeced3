#include "ui/StartUp.h"

#include "core/LocaleInfo.h"
#include "core/FileSystem.h"
#include "core/OptionStore.h"
#include "core/ProgramLayout.h"
#include "core/RecentFiles.h"
#include "core/XdgFolders.h"
#include "ui/CommandLine.h"
#include "ui/InstanceChannel.h"
#include "ui/MainForm.h"
#include "ui/UserDialogs.h"

#include <QDir>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace UserInterface {

AProgram::AProgram(AProgramFolders folders, std::unique_ptr<AUserDialogs> dialogs) : dialogs_(std::move(dialogs))
{
    context_.folders = std::move(folders);
    context_.fs = &fs_;
    context_.clock = SystemLocalTime;
}

// Shutdown: the window (which keeps its placement), then the channel, the settings and the
// texts, the reverse of their creation.
AProgram::~AProgram()
{
    window_.reset();
    channel_.reset();
    context_.settings.reset();
    context_.strings.reset();
}

int AProgram::Start(const std::vector<std::string>& arguments)
{
    // The string table with the user's locale, then the settings, which select the language.
    context_.strings = std::make_unique<UtilityClasses::Strings::AStrings>(UtilityClasses::Strings::UserLocale());
    if (!dialogs_)
        dialogs_ = std::make_unique<ADesktopDialogs>(context_.strings);
    context_.dialogs = dialogs_.get();
    channel_ = std::make_unique<AInstanceChannel>(context_.folders.runtimeFolder);
    context_.settings = std::make_unique<UserInterface::Settings::ASettings>(
        UserInterface::Settings::OptionStorage::ChooseOptionStore(fs_, context_.folders.programPath,
                                                                  context_.folders.configFolder));
    context_.LoadSettings();
    context_.settings->SetSavedHook([this] { channel_->BroadcastReloadSettings(); });

    // The file named on the command line, or else the one used last.
    std::optional<std::string> file = DataFileArgument(arguments);
    const bool fromList = !file;
    if (fromList)
        file = UserInterface::Settings::ReadRecentFile(context_.settings->Store(), 0);
    if (file && !file->empty()) {
        const std::string path = WholePath(*file, QDir::currentPath().toStdString());
        if (const auto copy = channel_->FindCopyWithFile(path)) {
            if (!fromList) {
                channel_->BringToFront(*copy);
                handedOver_ = true;
                return kExitDone;
            }
            // The last file is open elsewhere: this copy starts with a new database.
            file.reset();
        } else {
            file = path;
        }
    }

    window_ = std::make_unique<AMainWindow>(context_, channel_.get());
    AMainWindow* window = window_.get();
    channel_->Listen({[window](const std::string& path) { return window->HasFileOpen(path); },
                      [window] { window->ReloadSettings(); }, [window] { window->ComeToFront(); }});
    if (file && !file->empty()) {
        if (fromList)
            window->OpenRecentFile(0);
        else
            window->OpenFile(*file);
    }
    if (!window->HasDatabase())
        window->NewDatabase();
    window->ShowWithPlacement();
    return kExitDone;
}

AProgramFolders ProcessFolders()
{
    AProgramFolders folders;
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    folders.programPath = error ? std::string() : self.string();
    Files::ALocalFileSystem fs;
    const Files::AProgramLayout layout = Files::ProgramLayoutFor(fs, error ? std::string() : self.parent_path().string());
    folders.programFolder = layout.programFolder;
    folders.pluginFolder = layout.pluginFolder;
    folders.languageFolder = layout.languageFolder;
    const char* home = std::getenv("HOME");
    folders.configFolder = Files::UserConfigFolder(std::getenv("XDG_CONFIG_HOME"), home);
    folders.dataFolder = Files::UserDataFolder(std::getenv("XDG_DATA_HOME"), home);
    folders.runtimeFolder = AInstanceChannel::DefaultFolder(std::getenv("XDG_RUNTIME_DIR"), QDir::tempPath().toStdString(),
                                                            static_cast<unsigned>(::getuid()));
    return folders;
}

}  // namespace UserInterface
