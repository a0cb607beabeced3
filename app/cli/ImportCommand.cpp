#include "ImportCommand.h"

#include "CliMessages.h"
#include "DataFileAccess.h"
#include "DataFileSave.h"
#include "TerminalProgress.h"

#include "core/FileSystem.h"
#include "core/OptionStore.h"
#include "core/XdgFolders.h"
#include "exchange/AExcel.h"
#include "exchange/ImportFromXML.h"
#include "exchange/ImportRun.h"
#include "exchange/ImportSources.h"

#include <cstdlib>
#include <filesystem>

namespace Cli {

namespace {

using namespace ExportImport;

constexpr int kErrorLabel = 551;
constexpr int kWarningLabel = 552;
constexpr int kSaveFailed = 787;

// The caption and the bar of the running import on standard error, when it is a terminal.
class ATerminalDisplay final : public AProgressDisplay {
public:
    explicit ATerminalDisplay(const ACliContext& context) : context_(context) {}
    ~ATerminalDisplay() override
    {
        if (drawn_)
            context_.err << '\n' << std::flush;
    }
    void ShowCaption(std::u16string_view caption) override
    {
        if (drawn_)
            context_.err << '\n';
        context_.err << TerminalText(caption) << '\n' << std::flush;
        drawn_ = false;
    }
    void ShowPercent(unsigned percent) override
    {
        context_.err << '\r' << ATerminalProgress::Bar(static_cast<int>(percent)) << std::flush;
        drawn_ = true;
    }

private:
    const ACliContext& context_;
    bool drawn_ = false;
};

// The module the --format option names: "xml" (the default) or "xlsx" for the built-in
// ones, or a plug-in by its library's file name (with or without ".so") or by the module's
// own name.
AImportInterface* FindModule(const Private::AImportSource& source, const std::string& format)
{
    const AModuleGuid* builtIn = format == "xml"    ? &FileTypeXML::kImportFromXmlId
                                 : format == "xlsx" ? &FileTypeExcel::kImportFromXlsId
                                                    : nullptr;
    if (builtIn)
        if (const auto* item = source.FindById(ToGuid(*builtIn)))
            return item->Module();
    for (std::size_t i = 0; i < source.Count(); ++i) {
        const auto& item = source.Item(i);
        const std::string library = item.Library() ? item.Library()->FileName() : std::string();
        const char16_t* name = item.Module()->GetName();
        if ((!library.empty() && (library == format || library == format + ".so")) ||
            (name && TerminalText(name) == format))
            return item.Module();
    }
    return nullptr;
}

void PrintMessages(const ACliContext& context, const AModuleSession& session)
{
    for (const AModuleMessage& message : session.Messages())
        context.err << TerminalText(context.strings.Text(message.error ? kErrorLabel : kWarningLabel)) << ": "
                    << TerminalText(message.text) << '\n';
}

}  // namespace

AExitCode RunImport(const ACliContext& context, const AParsedArguments& arguments)
{
    const std::string& file = arguments.positionals[0];
    const std::string input = context.WholePath(arguments.positionals[1]);
    const std::string format = arguments.Option("--format").value_or("xml");
    const bool dryRun = arguments.Flag("--dry-run");

    // The settings are the GUI program's, so both remember the same files and modules.
    Files::ALocalFileSystem fs;
    const auto store = UserInterface::Settings::OptionStorage::ChooseOptionStore(
        fs, ProgramFolder() + "/fendral", Files::UserConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
    ATerminalDisplay display(context);
    AModuleSession session(context.strings, *store, context.errIsTerminal ? &display : nullptr);
    const auto source = CreateImportSource(session, ProgramFolder());
    AImportInterface* module = FindModule(*source, format);
    if (!module) {
        context.err << "fendral-cli: there is no import module \"" << format << "\"\n";
        return kUsageError;
    }
    if (module->UsesFile() && !std::filesystem::exists(input)) {
        PrintMessage(context, context.err, MessageId::kFileNotFound, {FromUtf8(arguments.positionals[1])});
        return kFileNotFound;
    }

    Database::ADatabase db;
    const AOpenOutcome opened = OpenDataFile(context, db, file);
    if (!opened.open)
        return opened.exitCode;
    std::unique_ptr<AImportBatch> batch;
    const bool read = ReadDocument(*module, db, FromUtf8(input), session, batch);
    PrintMessages(context, session);
    if (!read)
        return kFailed;
    const AExitCode clean = session.Clean() && opened.exitCode == kDone ? kDone : kDoneWithMessages;
    if (dryRun)
        return clean;

    const HRESULT saved = SaveImport(*module, db, session, *batch);
    if (Result::Failed(saved)) {
        PrintMessage(context, context.err, kSaveFailed, {static_cast<std::uint32_t>(saved)});
        return kFailed;
    }
    if (!SaveDataFileInPlace(context, db))
        return kFailed;
    PrintMessage(context, context.out, ImportText::kImportCompleted);
    return clean;
}

}  // namespace Cli
