// The built-in import modules of bank statements: each hands the wizard its file as it is,
// and the wizard reads it as a statement of the module's format instead of as an
// interchange document.
#pragma once
#include "exchange/modules/FileModule.h"
#include "exchange/modules/ModuleSource.h"
#include "exchange/statements/StatementFormats.h"

#include <optional>

namespace ExportImport::Statements {

class AStatementModule final : public Private::AFileImportModule {
public:
    explicit AStatementModule(AStatementFormat format);
    // The CSV module's settings are its profiles, which the program's window edits.
    bool HasSettings() override { return format_ == AStatementFormat::Csv; }

private:
    AStatementFormat format_;
};

const AModuleGuid& StatementModuleId(AStatementFormat format);
// The statement format of the module with this identifier; none for every other module.
std::optional<AStatementFormat> StatementFormatOf(const AModuleGuid* id);

// One module of each format, in the order the wizard lists them.
void AddStatementModules(Private::AImportSource& source);

}  // namespace ExportImport::Statements
