// Small books for the analysis tests: the default database with a fixed clock, the string
// table with the Russian locale, and helpers that create records inside one step.
#pragma once

#include "core/AStrings.h"
#include "core/LocaleInfo.h"
#include "database/DatabaseRules.h"
#include "database/RulesTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace AnalysisTest {

using namespace Database;
using Engine::ASlot;
using Engine::ATableImpl;

using RulesTest::M;
inline ADate D(int year, int month, int day) { return Dates::FromYmd(year, month, day); }

class TBooks : public RulesTest::TBooks {
public:
    // "Today" is 2024-05-15, a Wednesday.
    static constexpr Dates::AYmd kToday{2024, 5, 15};

    TBooks()
        : RulesTest::TBooks([] { return Dates::ALocalTime{Dates::FromYmd(2024, 5, 15), 12 * 3600000}; }),
          strings(UtilityClasses::Strings::RussianLocale()),
          articles(ATableImpl<AClassifier>::RefTo(db.Classifiers().Live().front()))
    {
    }
    static ADate Today() { return D(kToday.year, kToday.month, kToday.day); }

    AReference<ACurrency> AddCurrency(std::u16string_view code, std::uint32_t precision = 2)
    {
        return ATableImpl<ACurrency>::RefTo(db.Currencies().Create(
            ACurrency{db.NewText(std::u16string(code) + u" name"), db.NewText(code), precision}));
    }
    // amount1 of c1 is worth amount2 of c2 on the date.
    void AddRate(AReference<ACurrency> c1, AReference<ACurrency> c2, ADate date, AMoney amount1, AMoney amount2)
    {
        const ASlot<ARateHeader>* header = RateHeaderFor(db, c1, c2);
        if (!header)
            header = db.RateHeaders().Create(ARateHeader{c1, c2});
        const bool reversed = header->Record().currency1 != c1;
        db.RateValues().Create(ARateValue{ATableImpl<ARateHeader>::RefTo(header), date,
                                          reversed ? amount2 : amount1, reversed ? amount1 : amount2});
    }
    // A classifier with one single tree; answers its root.
    AReference<ACategory> AddSingleClassifier(std::u16string_view singular, std::u16string_view plural,
                                              AReference<AClassifier>* classifier = nullptr)
    {
        const auto root = AddCategory(u"Все " + std::u16string(plural), {});
        const auto ref = ATableImpl<AClassifier>::RefTo(db.Classifiers().Create(
            AClassifier{db.NewText(singular), db.NewText(plural), root, {}, {}, 0, 0}));
        if (classifier)
            *classifier = ref;
        return root;
    }
    void SetSettings(const std::function<void(ADBSettings&)>& change)
    {
        change(*db.Settings().Change(db.Settings().Live().front()));
    }

    AReference<ASeries> AddSeries(std::u16string_view name, std::vector<AReference<AAccount>> accounts,
                                  bool income = true, bool expense = true, bool credits = true, bool debits = true,
                                  std::vector<AReference<ACategory>> nodes = {})
    {
        ASeries series;
        series.name = db.NewText(name);
        series.hue = 40;
        series.income = income;
        series.expense = expense;
        series.transferCredits = credits;
        series.transferDebits = debits;
        const auto ref = ATableImpl<ASeries>::RefTo(db.Series().Create(series));
        for (auto account : accounts)
            db.SeriesAccounts().Create(ASeriesAccountFilter{ref, account});
        for (auto node : nodes)
            db.SeriesNodes().Create(ASeriesNodeFilter{ref, node});
        return ref;
    }

    std::u16string Text(int id) const { return std::u16string(strings.Text(id)); }

    UtilityClasses::Strings::AStrings strings;
    AReference<AClassifier> articles;
};

}  // namespace AnalysisTest
