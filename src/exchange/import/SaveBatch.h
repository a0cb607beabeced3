// The save phase of an import: the batch is written into the open data file as one
// undoable step labelled "Импорт данных". Records the data file already has (a
// currency by code, an account by name and currency code, a classifier by names,
// layout and root names, a category by name under the same parent) are reused and
// left as they are; everything else is added. The balances of every account that
// received transactions are recalculated once at the end.
#pragma once

#include "exchange/import/ReadDocument.h"

namespace ExportImport {

// Failure: a running balance of an account would leave the 64-bit range (the step is
// rolled back and the data file is as it was).
constexpr HRESULT kImportBalanceOverflow = Result::Code(0x80070216);  // ERROR_ARITHMETIC_OVERFLOW

[[nodiscard]] HRESULT SaveBatch(const AImportEnvironment& environment, AImportBatch& batch);

}  // namespace ExportImport
