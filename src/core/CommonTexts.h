// The core's string-table ids: the short words many windows and reports share, so each is
// named once, and the messages of the core's own services.
#pragma once

namespace UtilityClasses::Strings::CommonText {

// Words of lists, reports and dialogs alike.
constexpr int kNotGiven = 59;   // "Не указано"
constexpr int kDate = 62;       // "Дата"
constexpr int kName = 80;       // "Название"
constexpr int kDifferentValues = 179;  // a field over several records that differ
constexpr int kExecuted = 420;  // "Выполнена"
constexpr int kPlanned = 422;   // "Запланирована"
constexpr int kLooseAccounts = 650;  // the accounts outside every folder
constexpr int kShortDatePicture = 163;  // "dd.MM.yyyy"

// The settings dialog's backup page refusing its input.
constexpr int kBackupCopiesOutOfRange = 491;
constexpr int kBackupFolderMissing = 492;
constexpr int kBackupFolderUnusable = 493;

// A backup copy that could not be made, by its cause (515 with the system's code).
constexpr int kBackupFailed = 515;
constexpr int kBackupDiskFull = 516;
constexpr int kBackupWriteProtected = 517;
constexpr int kBackupNoAccess = 644;

// The pie chart's captions and its tooltip line ("\r\n#s #c #s").
constexpr int kPieTotal = 150, kPieIncome = 151, kPieExpense = 152, kPieTooltipLine = 488;

}  // namespace UtilityClasses::Strings::CommonText
