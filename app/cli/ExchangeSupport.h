// What the export and import commands share: the GUI program's settings, the progress
// of a run on a terminal, the module that --format names, the run's messages and outcome.
#pragma once

#include "CliContext.h"

#include "core/FileSystem.h"
#include "core/OptionStore.h"
#include "exchange/modules/ModuleSession.h"
#include "exchange/modules/ModuleSource.h"

#include <memory>
#include <string>

namespace Cli {

// The settings are the GUI program's, so both remember the same files and modules. The
// store works through fs, which must outlive it.
std::unique_ptr<UserInterface::Settings::OptionStorage::AOptionStore> OpenProgramSettings(Files::AFileSystem& fs);

// The caption and the bar of the running export or import on standard error.
class ATerminalDisplay final : public ExportImport::AProgressDisplay {
public:
    explicit ATerminalDisplay(const ACliContext& context) : context_(context) {}
    ~ATerminalDisplay() override;
    void ShowCaption(std::u16string_view caption) override;
    void ShowPercent(unsigned percent) override;

private:
    const ACliContext& context_;
    bool drawn_ = false;
};

// The module session of one export or import command: the program's settings, and the
// run's progress on standard error when that is a terminal.
class ACommandSession {
public:
    explicit ACommandSession(const ACliContext& context);
    ExportImport::AModuleSession& Session() { return session_; }

private:
    Files::ALocalFileSystem fs_;
    std::unique_ptr<UserInterface::Settings::OptionStorage::AOptionStore> store_;
    ATerminalDisplay display_;
    ExportImport::AModuleSession session_;
};

// "xml" and "xlsx" name the built-in modules; any other format is a plug-in's.
const ExportImport::AModuleGuid* BuiltInModule(const std::string& format, const ExportImport::AModuleGuid& xml,
                                               const ExportImport::AModuleGuid& xlsx);

// The module --format names: a built-in one by its identifier, or a plug-in's by its
// library's file name (with or without ".so") or by the module's own name.
template <class Interface>
Interface* FindModule(const ExportImport::Private::ASource<Interface>& source, const std::string& format,
                      const ExportImport::AModuleGuid* builtIn);

// Each message of the run on standard error, with the word for error or warning.
void PrintModuleMessages(const ACliContext& context, const ExportImport::AModuleSession& session);

// Done when the run collected no message and the file opened clean; otherwise done with messages.
AExitCode RunOutcome(const ExportImport::AModuleSession& session, AExitCode opened);

}  // namespace Cli
