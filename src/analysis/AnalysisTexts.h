// The analysis layer's string-table ids: the filters' and groupings' words, the reports'
// rows and checks, and the titles and messages of the series, budget and transaction edits.
#pragma once
#include "core/CommonTexts.h"
#include "database/DatabaseTexts.h"

namespace UserInterface::Filters {

// "Нет операций, удовлетворяющих условиям фильтров": what a list or report shows instead.
constexpr int kNoTransactionsMessage = 172;
// The account selection's scopes: "Все операции по выбранным счетам", "Только переводы ...".
constexpr int kAllTransactionsScope = 41, kTransfersOnlyScope = 42;
// "Все операции": the period kind of the whole list, and the balance report's full line.
constexpr int kAllTransactions = 33;
// "Общий итог", the caption of the list's grand-total row.
constexpr int kGrandTotalCaption = 467;

// The grouping choices' patterns and names, the rows of the flags' groups, the date pictures.
namespace GroupingText {
constexpr int kFlagPattern = 45;   // признаку "#s"
constexpr int kFieldPattern = 46;  // полю "#s"
constexpr int kExecutedName = UtilityClasses::Strings::CommonText::kExecuted, kBlockedName = 49, kRecurringName = 50;
constexpr int kDateName = UtilityClasses::Strings::CommonText::kDate, kDateTimeName = 57, kBudgetDateName = 58;
constexpr int kNotExecutedRow = 51, kExecutedRow = 52, kNotBlockedRow = 53, kBlockedRow = 54;
constexpr int kOnceRow = 55, kRecurringRow = 56;
constexpr int kNotSpecifiedRow = UtilityClasses::Strings::CommonText::kNotGiven;
constexpr int kYearPicture = 166, kMonthPicture = 165, kDayPicture = 164;
}  // namespace GroupingText

}  // namespace UserInterface::Filters

namespace UserInterface::Reports {

// The report settings' checks, in the order they run, and the parts a report leaves out.
namespace ReportMessage {
constexpr int kBadPeriod = 463;
constexpr int kNoCurrency = 464;
constexpr int kNoAccount = 465;
constexpr int kNoTransactionKind = 466;
constexpr int kNoGrouping = 468;
constexpr int kSameCurrencies = 469;
constexpr int kNoRates = 470;
constexpr int kUnconvertibleAccount = 471;  // an account without a rate to the report's currency
constexpr int kUnconvertibleSeries = 472;
}  // namespace ReportMessage

// The report lists' columns and the balance report's steps, as the pages and fendral-cli title them.
namespace ColumnText {
constexpr int kBalance = 68, kRate = 88, kOfParentTurnover = 91, kParentShare = 92, kOfTotalTurnover = 93;
constexpr int kAmountIn = 94, kTotalShare = 95;  // "Сумма, #s" with the report's currency
constexpr int kExchangeDifference = 175;
}  // namespace ColumnText

// The report kinds' names, in kind order.
constexpr int kReportKindLabels[] = {99, 100, 101, Database::RecordKindText::kRates};

// The turnover report's rows that stand for more than one category or account.
namespace TurnoverText {
constexpr int kIncomeTopOfClassifier = 473;  // "Все #s прихода"
constexpr int kExpenseTopOfClassifier = 474;
constexpr int kAllIncome = 475, kAllExpense = 476;
constexpr int kUnknownIncome = 477, kUnknownExpense = 478;
constexpr int kTransferTo = 479, kTransferFrom = 480;
constexpr int kFinancialResult = 481;
}  // namespace TurnoverText

// The balance report's point tooltip, line by line.
namespace BalanceText {
constexpr int kOpening = 482, kExchange = 483, kCount = 484, kIncreases = 485, kDecreases = 486, kClosing = 487;
}  // namespace BalanceText

// The balance lines' names: "Выполненные операции", and "Все операции" for the full line, which
// counts every transaction, executed or not.
constexpr int kExecutedLineName = Filters::GroupingText::kExecutedRow, kFullLineName = Filters::kAllTransactions;

}  // namespace UserInterface::Reports

namespace UserInterface::Series {

// The series dialog's titles (each names its step too), checks and delete questions.
namespace SeriesText {
constexpr int kAddTitle = 692, kChangeTitle = 693, kDeleteTitle = 694;
constexpr int kNoName = 698, kNoColour = 699, kNeitherBarsNorLine = 687, kNoAccount = 688;
constexpr int kUsedByBudget = 267, kDeleteQuestion = 265;
}  // namespace SeriesText

}  // namespace UserInterface::Series

namespace UserInterface::Budget {

// The budget dialogs' titles (each names its step too), messages and the plans' kinds.
namespace BudgetText {
// Budget folders take the account folders' titles.
constexpr int kAddFolder = Database::FolderMessage::kAddFolder, kChangeFolder = Database::FolderMessage::kChangeFolder,
              kDeleteFolder = Database::FolderMessage::kDelete, kRootFolder = 730;
constexpr int kAddArticle = 672, kChangeArticle = 673, kDeleteArticle = 674, kMoveItem = 680;
constexpr int kPlansTitle = 676;
constexpr int kNoSeries = 689;
constexpr int kDeleteFolderQuestion = 696, kDeleteArticleQuestion = 697, kSeriesOffer = 266;
constexpr int kFirstPlanKind = 682;
constexpr int kArticleColumn = 667, kPlanColumn = 668, kFactColumn = 669, kFulfilmentColumn = 670,
              kFulfilmentShareColumn = 671;  // "План не установлен", then the kinds' labels in kind order
}  // namespace BudgetText

}  // namespace UserInterface::Budget

namespace UserInterface::Transactions {

// The transaction dialog's quantity field, "Количество:".
constexpr int kQuantityLabel = 434;

// The transaction dialog's checks of the accounts it was given.
namespace EditMessage {
constexpr int kFolderMessage = 443, kSameAccountMessage = 448;
constexpr int kNoReceiving = 444, kNoGiving = 445, kNoTransferReceiving = 446, kNoTransferGiving = 447;
}  // namespace EditMessage

}  // namespace UserInterface::Transactions
