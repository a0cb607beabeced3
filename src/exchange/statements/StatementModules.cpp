#include "exchange/statements/StatementModules.h"

#include <array>
#include <cstring>

namespace ExportImport::Statements {

namespace {

struct AModuleRow {
    AStatementFormat format;
    Private::AFileModuleDescription description;
};

// The extensions are those the file dialog offers; QFX is OFX under a bank's own name.
const std::array<AModuleRow, 4> kModules = {{
    {AStatementFormat::Ofx,
     {{0x5A1E7C30, 0x2B64, 0x4D1F, {0x9A, 0x3C, 0x61, 0x0E, 0x8B, 0x27, 0xD4, 0x01}},
      u"Выписка банка OFX/QFX", u"ofxImportFileName", u"ofx;qfx"}},
    {AStatementFormat::Qif,
     {{0x5A1E7C30, 0x2B64, 0x4D1F, {0x9A, 0x3C, 0x61, 0x0E, 0x8B, 0x27, 0xD4, 0x02}},
      u"Выписка банка QIF", u"qifImportFileName", u"qif"}},
    {AStatementFormat::Camt,
     {{0x5A1E7C30, 0x2B64, 0x4D1F, {0x9A, 0x3C, 0x61, 0x0E, 0x8B, 0x27, 0xD4, 0x03}},
      u"Выписка банка CAMT.053", u"camtImportFileName", u"xml"}},
    {AStatementFormat::Csv,
     {{0x5A1E7C30, 0x2B64, 0x4D1F, {0x9A, 0x3C, 0x61, 0x0E, 0x8B, 0x27, 0xD4, 0x04}},
      u"Выписка банка CSV", u"csvImportFileName", u"csv;txt"}},
}};

const AModuleRow& RowOf(AStatementFormat format)
{
    for (const AModuleRow& row : kModules)
        if (row.format == format)
            return row;
    return kModules[0];
}

}  // namespace

AStatementModule::AStatementModule(AStatementFormat format)
    : AFileImportModule(RowOf(format).description), format_(format)
{
}

const AModuleGuid& StatementModuleId(AStatementFormat format)
{
    return RowOf(format).description.id;
}

std::optional<AStatementFormat> StatementFormatOf(const AModuleGuid* id)
{
    if (id)
        for (const AModuleRow& row : kModules)
            if (std::memcmp(&row.description.id, id, sizeof(AModuleGuid)) == 0)
                return row.format;
    return std::nullopt;
}

void AddStatementModules(Private::AImportSource& source)
{
    for (const AModuleRow& row : kModules)
        source.AddBuiltIn(new AStatementModule(row.format));
}

}  // namespace ExportImport::Statements
