// The program's start-up and shutdown: texts, settings and language, the command line (or
// the most recently used file), the hand-over to a copy that has the file open, the main
// window with the file or a new database. Shutdown runs in the reverse order.
#pragma once
#include "core/FileSystem.h"
#include "ui/ProgramContext.h"
#include "ui/UserDialogs.h"

#include <memory>
#include <string>
#include <vector>

namespace UserInterface {

class AInstanceChannel;
class AMainWindow;

// The process exit codes of start-up.
enum AExitCode : int {
    kExitDone = 0,           // a normal end, or the file was handed to another copy
    kExitNoWindowObject = 2,
    kExitNoWindow = 3,
};

class AProgram {
public:
    // Without `dialogs` the desktop's own are used.
    explicit AProgram(AProgramFolders folders, std::unique_ptr<AUserDialogs> dialogs = nullptr);
    ~AProgram();
    AProgram(const AProgram&) = delete;
    AProgram& operator=(const AProgram&) = delete;

    // Runs start-up with the process's arguments (the program's own path first); answers the
    // exit code. When HandedOver() the program ends at once with it; otherwise the main window
    // is shown and the event loop is to run.
    int Start(const std::vector<std::string>& arguments);
    bool HandedOver() const { return handedOver_; }

    AProgramContext& Context() { return context_; }
    AMainWindow* MainWindow() const { return window_.get(); }
    AInstanceChannel* Channel() const { return channel_.get(); }

private:
    Files::ALocalFileSystem fs_;
    std::unique_ptr<AUserDialogs> dialogs_;
    AProgramContext context_;
    std::unique_ptr<AInstanceChannel> channel_;
    std::unique_ptr<AMainWindow> window_;
    bool handedOver_ = false;
};

// The folders of this process: the program file, XDG config, data and runtime folders.
AProgramFolders ProcessFolders();

}  // namespace UserInterface
