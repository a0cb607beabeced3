// The interchange document's read and save phases: any text is refused with one error or
// read and saved into a consistent data file, and undoing the save restores the counts.
#include "FuzzSupport.h"

#include "core/AStrings.h"
#include "core/MemoryStream.h"
#include "database/Database.h"
#include "exchange/import/ImportBatch.h"
#include "exchange/import/ImportMessages.h"
#include "exchange/import/ReadDocument.h"
#include "exchange/import/SaveBatch.h"

namespace {

std::size_t RecordCount(Database::ADatabase& db)
{
    return db.Transactions().LiveCount() + db.Categories().LiveCount() + db.Accounts().LiveCount() +
           db.Currencies().LiveCount() + db.RateValues().LiveCount() + db.Relations().LiveCount();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const UtilityClasses::Strings::AStrings strings(UtilityClasses::Strings::RussianLocale());
    Database::ADatabase db([] { return Dates::ALocalTime{46000, 0}; });
    db.CreateDefaults();
    const std::size_t before = RecordCount(db);
    const ExportImport::AImportEnvironment environment{strings, db, nullptr};
    ExportImport::AImportBatch batch;
    ExportImport::AImportMessages messages;
    auto stream = UtilityClasses::Streams::AMemoryStream::Create(Fuzz::Text(data, size));
    if (!ExportImport::ReadInterchange(environment, *stream, batch, messages)) {
        if (messages.ErrorCount() != 1)
            Fuzz::Broken("a refused document without exactly one error");
        return 0;
    }
    if (ExportImport::SaveBatch(environment, batch) != Result::kOk)
        return 0;
    if (db.ConsistencyErrors() != 0)
        Fuzz::Broken("an import left the data file inconsistent");
    if (!db.Undo() || RecordCount(db) != before)
        Fuzz::Broken("undoing an import did not restore the data file");
    return 0;
}
