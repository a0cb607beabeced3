#include "ImportCommand.h"

#include "CliMessages.h"
#include "DataFileAccess.h"
#include "DataFileSave.h"
#include "ExchangeSupport.h"
#include "StatementImport.h"

#include "exchange/workbook/AExcel.h"
#include "exchange/modules/ImportFromXML.h"
#include "exchange/import/ImportRun.h"
#include "exchange/import/ImportSources.h"
#include "exchange/import/ImportTexts.h"

#include <filesystem>

namespace Cli {

using namespace ExportImport;

namespace {
using ImportText::kSaveFailed;
}

AExitCode RunImport(const ACliContext& context, const AParsedArguments& arguments)
{
    const std::string& file = arguments.positionals[0];
    const std::string input = context.WholePath(arguments.positionals[1]);
    const std::string format = arguments.Option("--format").value_or("xml");
    const bool dryRun = arguments.Flag("--dry-run");
    if (IsStatementFormat(format))
        return RunStatementImport(context, arguments, format);

    ACommandSession command(context);
    AModuleSession& session = command.Session();
    const auto source = CreateImportSource(session, ProgramLayout().pluginFolder);
    const AModuleGuid* builtIn = BuiltInModule(format, FileTypeXML::kImportFromXmlId, FileTypeExcel::kImportFromXlsId);
    AImportInterface* module = FindModule(*source, format, builtIn);
    if (!module) {
        context.err << "fendral-cli: there is no import module \"" << format << "\"\n";
        return kUsageError;
    }
    if (module->UsesFile() && !std::filesystem::exists(input)) {
        PrintMessage(context, context.err, Database::FileMessage::kFileNotFound, {FromUtf8(arguments.positionals[1])});
        return kFileNotFound;
    }

    Database::ADatabase db;
    // A dry run only reads; anything else must be able to save the file in place.
    const AOpenOutcome opened = dryRun ? OpenDataFile(context, db, file) : OpenDataFileToChange(context, db, file);
    if (!opened.open)
        return opened.exitCode;
    std::unique_ptr<AImportBatch> batch;
    const bool read = ReadDocument(*module, db, FromUtf8(input), session, batch);
    PrintModuleMessages(context, session);
    if (!read)
        return kFailed;
    const AExitCode clean = RunOutcome(session, opened.exitCode);
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
