// The GUI's string-table ids: the main window's, the pages' and the dialogs' own texts,
// grouped by window. Ids the model layers name come from their headers; the ids of controls
// and commands (which often show the text of the same id) stay with their windows.
#pragma once

namespace UserInterface {

// Captions and column titles several windows share.
namespace SharedText {
constexpr int kCurrency = 71, kCategory = 73, kAmount = 74, kNote = 79;
constexpr int kPeriodChoice = 18;   // "&Период:"
constexpr int kReportPeriod = 83;   // "Отчёт за период:"
constexpr int kInCurrency = 84;     // "В валюте:"
}  // namespace SharedText

// The main window: the untitled file, about and help, printing, the tray menu, the file
// dialogs and the step that stores a page's settings.
namespace MainText {
constexpr int kUntitledName = 200;  // "Без имени": the name of a database that has no file yet
constexpr int kVersion = 201, kDescription = 202, kSiteLabel = 203, kNoCalculator = 205, kNoWebSite = 241;
constexpr int kPrintFailed = 244, kPageOfPages = 252;
constexpr int kShowProgram = 249, kAddTransaction = 250, kCloseProgram = 251;
constexpr int kPageSettingsStep = 399;
constexpr int kOpenTitle = 500, kSaveTitle = 501, kDataFiles = 502, kAllFiles = 503;
}  // namespace MainText

// The password prompt and the change of password.
namespace PasswordText {
constexpr int kEnterCaption = 505, kChangeExplained = 507;
}  // namespace PasswordText

// The program settings dialog: its caption and the first of its tabs' captions.
namespace Settings::SettingsText {
constexpr int kCaption = 105, kFirstTabCaption = 106;
}  // namespace Settings::SettingsText

// The page order dialog and its page dialog.
namespace PageOrder::PageOrderText {
constexpr int kOrderCaption = 325, kAddCaption = 341, kRenameCaption = 342;
constexpr int kNoPageVisible = 338, kNoName = 339, kNoType = 340;
}  // namespace PageOrder::PageOrderText

// The transactions page's status line, the list's states and rules, the transaction
// dialog's titles and notes, the filters' account choice.
namespace Transactions::TransactionText {
constexpr int kStartBalance = 154, kEndBalance = 155, kSelectedCount = 156, kAllCount = 157, kSelectedSum = 174;
constexpr int kTextNotFound = 183, kPeriodIncome = 186, kPeriodExpense = 187, kPeriodDifference = 188;
constexpr int kOverdue = 192, kRepeats = 193, kDaily = 194, kWeekly = 195, kMonthly = 196, kYearly = 197;
constexpr int kExecutedLocked = 421, kRecurring = 423;
constexpr int kAddTitle = 437, kChangeTitle = 438, kDuplicateTitle = 440, kChangeStep = 441, kRateItemText = 435;
constexpr int kFilterWarning = 457, kAdded = 458, kToAdd = 459, kChanged = 460, kToSave = 461;
constexpr int kAllAccounts = 707;
}  // namespace Transactions::TransactionText

// The recurrence dialog: its title, the rows' words and the summary.
namespace Transactions::RecurrenceText {
constexpr int kTitle = 278;
constexpr int kDailyEvery = 290, kDailySuffix = 291, kWorkingDays = 292, kWeekPrefix = 293, kWeekSuffix = 294;
constexpr int kEachDay = 295, kDaySuffix = 296, kEveryMonths = 297, kMonthsSuffix = 298, kNth = 299;
constexpr int kYearDaySuffix = 300, kSelectorWords = 301, kInstanceWords = 304, kOfMonth = 309, kOfMonthSuffix = 310;
constexpr int kStartsLabel = 311, kNextLabel = 312;
constexpr int kRepeatsDaily = 313, kRemaining = 317, kUntil = 318;
}  // namespace Transactions::RecurrenceText

// The accounts page's columns and the folder dialog's captions.
namespace Accounts::AccountText {
constexpr int kInitialBalanceTitle = 256, kCurrentBalanceTitle = 257;
constexpr int kPlanName = 735, kFolderName = 736, kMoveTo = 727;
}  // namespace Accounts::AccountText

// The classifiers page's columns.
namespace Categories::ClassifierText {
constexpr int kSingularTitle = 387, kPluralTitle = 388;
}  // namespace Categories::ClassifierText

// The period selector's tip.
namespace Filters::PeriodText {
constexpr int kChooseKindTip = 19;
}  // namespace Filters::PeriodText

// The reports page's rate picker in a currency.
namespace Reports::ReportText {
constexpr int kRateInCurrency = 386;
}  // namespace Reports::ReportText

// The budget's plans dialog: a month's row.
namespace Budget::PlansText {
constexpr int kMonthLabel = 679;  // "#d. #s:"
}  // namespace Budget::PlansText

// The rate download wizard's columns and its connecting status.
namespace Currencies::DownloadText {
constexpr int kSourceColumn = 615, kSamplingColumn = 623, kConnecting = 630;
}  // namespace Currencies::DownloadText

// The export and import wizards: titles, steps' titles and subtitles, the module step, the
// ready step's lines and the errors step.
namespace Exchange::ExchangeText {
constexpr int kExportTitle = 518, kImportTitle = 542;
constexpr int kKindsStep = 524, kKindsStepHint = 525, kDatesStep = 532, kDatesStepHint = 759;
constexpr int kAccountsStep = 536, kAccountsStepHint = 760, kReadyStep = 538, kReadyStepHint = 539;
constexpr int kOverwriteStep = 756, kOverwriteStepHint = 757, kOverwriteText = 758;
constexpr int kExportModule = 526, kImportModule = 527, kBrowse = 529, kAllFiles = 789;
constexpr int kModuleLine = 540, kFileLine = 541, kClassifierList = 754;
constexpr int kErrorsTitle = 549, kErrorsSubtitle = 550, kCountsText = 553, kMessageText = 554;
constexpr int kImportReadyTitle = 555, kImportReadySubtitle = 556;
}  // namespace Exchange::ExchangeText

}  // namespace UserInterface
