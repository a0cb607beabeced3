// The exchange layer's string-table ids: the export's and import's results, the messages of
// the import's read and save phases, and the checks of the exchange wizards' models.
#pragma once
#include "database/DatabaseTexts.h"

namespace ExportImport {

// The export's own failure to write its file ("#s", then the system's reason).
namespace ExportMessage {
constexpr int kCannotCreateFile = 769;
}  // namespace ExportMessage

// The import's captions and steps, and what the wizards and fendral-cli tell of its result.
namespace ImportText {
constexpr int kImportCaption = 563;        // "Импорт данных", also the step's label
constexpr int kSectionCurrencies = 567;    // " (валюты)." ... " (операции)." follow
constexpr int kSavingCurrencies = 572;     // "Сохраняются валюты." ... "Сохраняются операции." follow
constexpr int kSeeLocation = 579;          // "\r\n\r\nСмотри: "
constexpr int kParseErrorId = 778;         // code, line, column
constexpr int kImportCompleted = 562;
constexpr int kCannotOpenFile = 770;       // "Невозможно открыть файл #s"
constexpr int kReadDone = 776, kReadFailed = 777, kSaveFailed = 787;
constexpr int kErrorLabel = 551, kWarningLabel = 552;  // the messages' kinds
}  // namespace ImportText

// The import's messages about the document's items that the string table holds.
namespace ImportMessage {
constexpr int kNothingToImport = 561;
constexpr int kUnknownModuleError = 577;
constexpr int kCurrencyNotFound = 588, kAccountNotFound = 589, kAccountNameMissing = 590, kCurrencyNameMissing = 591;
constexpr int kCurrencyCodeMissing = 592, kCurrencyRefMissing = 593, kCurrencyTwice = 594, kRateChanged = 595;
constexpr int kUnknownKind = 596, kDateMissing = 598, kDateInvalid = 599, kAmountMissing = 600, kAccountMissing = 601;
constexpr int kWrongRootName = 602, kClassifierBadTrees = 603, kClassifierNotFound = 604;
constexpr int kRateToItself = Database::RuleMessage::kRateToItself;
}  // namespace ImportMessage

// The exchange wizards' checks before they go on, and the export's result.
namespace WizardMessage {
constexpr int kNoImportModule = 545, kNoImportFile = 546;
constexpr int kNoExportModule = 775, kNoExportFile = 788, kNoKind = 762, kNoAccount = 764;
constexpr int kExported = 782, kExportFailed = 783;
}  // namespace WizardMessage

}  // namespace ExportImport
