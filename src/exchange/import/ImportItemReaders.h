// The readers of the five kinds of items, in the order the read phase runs them.
// Each checks one item element, adds its messages, and takes it into the batch
// unless it found an error.
#pragma once

#include "exchange/import/ImportItemReader.h"

namespace ExportImport::Private {

void ReadCurrencyItem(AImportReadContext& context, const XML::AElement& item);
void ReadRateItem(AImportReadContext& context, const XML::AElement& item);
void ReadAccountItem(AImportReadContext& context, const XML::AElement& item);
void ReadClassifierItem(AImportReadContext& context, const XML::AElement& item);
void ReadTransactionItem(AImportReadContext& context, const XML::AElement& item);

}  // namespace ExportImport::Private
