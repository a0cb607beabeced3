// The database layer's string-table ids: the titles, checks and questions of the record
// commands, the file operations' messages and the password's. A page command whose caption
// is one of these texts takes its id from here.
#pragma once

namespace Database {

// The kinds of records by their plural names, as the pages, reports and exports name them.
namespace RecordKindText {
constexpr int kAccounts = 331, kTransactions = 332, kReports = 333, kClassifiers = 334, kCurrencies = 335,
              kRates = 336, kBudget = 666;
}  // namespace RecordKindText

// Accounts: the commands' titles (also the steps' names), the dialog's checks, the question.
namespace AccountMessage {
constexpr int kAdd = 268, kChange = 269, kDelete = 270, kMove = 271;  // titles and step names
constexpr int kNameMissing = 350, kCurrencyMissing = 351, kInitialBalanceInvalid = 352, kNameTaken = 353;
constexpr int kDeleteQuestion = 354;  // "По выбранным счетам было введено #d операций..."
constexpr int kLock = 731, kUnlock = 732;
}  // namespace AccountMessage

// Folders and account plans: titles, checks and the parts of the question before a delete.
namespace FolderMessage {
constexpr int kAddPlan = 723, kChangePlan = 724, kDeletePlan = 725, kAddFolder = 728, kChangeFolder = 729,
              kMove = 741, kDelete = 742;  // titles and step names
constexpr int kDeletePlanQuestion = 726;  // "Вы действительно хотите удалить план счетов..."
constexpr int kNameMissing = 738, kNameTaken = 739;
constexpr int kLock = 733, kUnlock = 734;
// C-style formats ("%s" a text, "%d" a number) that make up the folder's delete question.
constexpr int kContains = 743, kFolders = 744, kLockedFolders = 745, kAccounts = 746, kLockedAccounts = 747,
              kGoesWith = 748, kTransactionsToo = 749, kEveryPlan = 750, kDeleteFolderQuestion = 751;
}  // namespace FolderMessage

// Categories: the dialog's checks, the titles ("#s - ..." with the classifier) and the question.
namespace CategoryMessage {
constexpr int kNameMissing = 407;   // "Вы не указали название..."
constexpr int kNameTaken = 409;     // "Введённое название уже есть у того же самого родителя!..."
constexpr int kAddTitle = 403, kChangeTitle = 404, kDeleteTitle = 405, kMoveTitle = 406;  // "#s - ..."
constexpr int kDeleteQuestion = 410;  // "К "#s" относится #d операций..."
}  // namespace CategoryMessage

// Classifiers: titles, the missing names and the question before a delete.
namespace ClassifierMessage {
constexpr int kAddTitle = 391, kChangeTitle = 392, kDeleteTitle = 395;
constexpr int kNamesMissing = 396;   // "Не указано название классификатора..."
constexpr int kDeleteQuestion = 397; // "Удалить классификатор "#s"?..."
}  // namespace ClassifierMessage

// The transactions page's commands on its selection.
namespace TransactionMessage {
constexpr int kDeleteTitle = 439;      // "Удалить операции", also the step's name
constexpr int kDeleteQuestion = 442;   // "Выбранные #d операций будут удалены..."
constexpr int kLock = 168, kUnlock = 169;
constexpr int kLockedTitle = 177;      // "Операция заблокирована"
constexpr int kLockedSelection = 198;  // "Выбранные операции заблокированы и не могут быть изменены."
constexpr int kExecute = 159, kExecuteOne = 170, kExecuteSeveral = 171;
constexpr int kExecuteDue = 199;       // "Выполнить запланированные операции (#d)?"
}  // namespace TransactionMessage

// Names and codes the rules keep unique or refuse.
namespace RuleMessage {
constexpr int kCurrencyCodeTaken = 361;
constexpr int kClassifierSingularTaken = 393;
constexpr int kClassifierPluralTaken = 394;
constexpr int kBackslashInName = 408;
constexpr int kRateToItself = 597;
constexpr int kAccountPlanNameTaken = 740;
}  // namespace RuleMessage

// The data file's switches.
namespace DataFileSettingsMessage {
constexpr int kTitle = 263;  // "Настройки файла данных", also the step's name
}  // namespace DataFileSettingsMessage

// Opening, saving and the state of the open file.
namespace FileMessage {
constexpr int kFileNotFound = 489;
constexpr int kSavePrompt = 490;
constexpr int kUntitled = 494;
constexpr int kReadOnly = 495;
constexpr int kReading = 496;
constexpr int kWriting = 497;
constexpr int kUnreadable = 498;
constexpr int kOpenedWithErrors = 499;
constexpr int kReadOnlyFile = 504;
constexpr int kSaveFailed = 641;
constexpr int kNewerVersion = 695;
}  // namespace FileMessage

// The password: the prompt when a file is opened and the change of it.
constexpr int kPasswordMismatchMessage = 512;  // the typed password is not the file's
constexpr int kNewPasswordsDifferMessage = 513;
constexpr int kChangePasswordLabel = 514;      // "Изменить пароль"
constexpr int kFileIsProtectedMessage = 506;   // the prompt's text, with the file's name
constexpr int kEnterPasswordLabel = 508;       // "Введите пароль:"

// The recurrence dialog's checks (shown with the title "Повторение операции").
namespace Recurrence {
constexpr int kBadIntervalMessage = 319;
constexpr int kBadDayOfMonthMessage = 320;
constexpr int kBadOccurrencesMessage = 321;
constexpr int kNoWeekdayMessage = 322;
}  // namespace Recurrence

}  // namespace Database
