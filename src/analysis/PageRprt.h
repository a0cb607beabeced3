// The report page's model: the four report kinds, their parameters, the validation that
// decides whether a report can be computed, and the page's saved settings.
#pragma once

#include "analysis/AnalysisTexts.h"
#include "analysis/DateSpan.h"
#include "analysis/Filters.h"
#include "analysis/PageStream.h"
#include "database/Database.h"

#include <optional>
#include <string>
#include <vector>

namespace UserInterface::Reports {

using Database::AMoney;
using Database::AReference;

// In the order of the report-type combo.
enum class AReportKind : int { Turnover = 0, Dynamics = 1, Balances = 2, Rates = 3 };
constexpr int kReportKindCount = 4;
// "Обороты", "Динамика оборотов", "Остатки по счетам", "Курсы валют".
int ReportKindLabel(AReportKind kind);

struct AReportParameters {
    AReportKind kind = AReportKind::Turnover;
    Filters::ADatePeriod period;
    AReference<Database::ACurrency> currency;          // "В валюте:" (kinds 0, 1, 2)
    Filters::APeriodKind bucket = Filters::APeriodKind::Month;  // "В разбивке по:" (kind 1)
    std::vector<AReference<Database::ASeries>> series;  // "Серии данных:" (kind 1)
    Filters::AAccountSelection accounts;                // "По счетам:" (kinds 0, 2)
    Filters::ATransactionKindFlags kinds;               // "Учитывать операции:" (kind 0)
    Filters::AClassifierSelections classifierFilters;   // the page's filter panel (kind 0)
    std::u16string commentText;                         // the page's filter panel (kind 0)
    AReference<Database::AClassifier> grouping;         // "Группировать по:" (kind 0)
    AReference<Database::ACurrency> rateCurrency;       // "Курс:" (kind 3)
    AReference<Database::ACurrency> rateInCurrency;     // "В валюте:" of the rates (kind 3)
    bool zeroLine = false;                              // "Показывать нулевую линию"
    bool smooth = false;                                // "Сгладить ступеньки аппроксимации"
    std::vector<std::uint8_t> chartSettings;            // the chart control's own state, kept as it is
};

// The first check of the report's kind that fails, or nothing when it can be computed.
std::optional<int> ValidateReport(Database::ADatabase& db, const AReportParameters& parameters);

// The page settings, format version 3: version byte, kind, bucket kind index + 1, the two
// chart ticks, the period, the currency, the account selection, the transaction-kind
// flags, the series list, the chart's own block, the rate currencies and the grouping.
constexpr std::uint8_t kReportSettingsVersion = 3;
struct ASettingsContext {
    ADate today = 0;
    bool improvedDateRange = true;  // the program option "Улучшенный выбор диапазона дат"
};
std::vector<std::uint8_t> SaveReportSettings(Database::ADatabase& db, const AReportParameters& parameters,
                                             const ASettingsContext& context);
// Another version or a damaged block: false, and the parameters keep their defaults.
[[nodiscard]] bool LoadReportSettings(Database::ADatabase& db, const std::vector<std::uint8_t>& bytes,
                                      const ASettingsContext& context, AReportParameters& parameters);

}  // namespace UserInterface::Reports
