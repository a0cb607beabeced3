// Books and helpers shared by the export and module tests.
#pragma once
#include "database/RulesTestSupport.h"
#include "exchange/export/ExportDocument.h"
#include "core/MemoryStream.h"
#include "exchange/xml/xmlWriter.h"

#include <string>
#include <string_view>

namespace ExportTest {

using namespace RulesTest;
using namespace ExportImport;
namespace XML = UtilityClasses::XML;

// {01234567-89AB-CDEF-0123-456789ABCDEF}
constexpr AModuleGuid kTestModule = {0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
// 2024-03-05 14:07:09.042
inline Dates::ALocalTime ExportTime()
{
    return {Dates::FromYmd(2024, 3, 5), ((14 * 60 + 7) * 60 + 9) * 1000 + 42};
}

inline AExportSelection Everything(ADatabase& db)
{
    return SelectEverything(db, kTestModule);
}

inline std::string ExportText(ADatabase& db, const AExportSelection& selection)
{
    AExportEnvironment environment;
    environment.clock = ExportTime;
    auto stream = UtilityClasses::Streams::AMemoryStream::Create();
    return Result::Succeeded(ExportDocument(db, selection, environment, stream.get())) ? std::string(stream->Bytes())
                                                                                    : std::string();
}

inline std::string ExportText(ADatabase& db)
{
    return ExportText(db, Everything(db));
}

// The text of the first element of that name in the document text, from its start tag to
// its end tag; empty when there is none.
inline std::string ElementText(const std::string& document, std::string_view name)
{
    const std::string open = "<" + std::string(name);
    std::size_t start = document.find(open + ">");
    if (start == std::string::npos)
        start = document.find(open + " ");
    if (start == std::string::npos) {
        start = document.find(open + "/>");
        return start == std::string::npos ? std::string() : open + "/>";
    }
    const std::string close = "</" + std::string(name) + ">";
    const std::size_t end = document.find(close, start);
    return end == std::string::npos ? std::string() : document.substr(start, end + close.size() - start);
}

inline ADate Day(int year, int month, int day)
{
    return Dates::FromYmd(year, month, day);
}

inline ADBSettings& ChangeFeatures(ADatabase& db)
{
    return *db.Settings().Change(db.Settings().Live().front());
}

// A set of books using every part of the document: three currencies with rates, accounts
// in a tree of folders, classifiers of each layout with trees three levels deep, and
// transactions of every kind with quantities, budget dates, times, comments, extra
// comments and recurrences. Texts carry the characters XML escapes.
class TRichBooks : public TBooks {
public:
    TRichBooks()
    {
        Step([&] {
            ADBSettings& features = ChangeFeatures(db);
            features.accountFolders = features.budgetDates = features.quantities = features.times = 1;
            features.extraCommentInUse[0] = features.extraCommentInUse[2] = 1;
            features.extraCommentCaption[0] = db.NewText(u"Чек");
            features.extraCommentCaption[1] = db.NewText(u"unused caption");
            features.extraCommentCaption[2] = db.NewText(u"Место & <время>");
            features.accountPlans = 1;

            usd = AddCurrency(u"USD");
            eur = AddCurrency(u"EUR");
            const auto usdRur = Engine::ATableImpl<ARateHeader>::RefTo(db.RateHeaders().Create({usd, rur}));
            const auto eurUsd = Engine::ATableImpl<ARateHeader>::RefTo(db.RateHeaders().Create({eur, usd}));
            db.RateValues().Create({usdRur, Day(2009, 1, 1), M(1), 293'800});
            db.RateValues().Create({eurUsd, Day(2009, 1, 1), M(100), M(139)});
            db.RateValues().Create({usdRur, Day(2009, 1, 12), M(1), 301'234});

            const auto savings = AddFolder(u"Сбережения", plan);
            const auto deposits = AddFolder(u"Вклады \"банк\"", savings);
            AAccountFolder* locked = db.Folders().Change(db.Folders().Get(deposits));
            locked->locked = 1;
            const auto second = AddFolder(u"Второй план", {});
            card = AddAccount(u"Карта 'Visa'", rur, M(1500), savings);
            dollars = AddAccount(u"Доллары", usd, 12'345, deposits);
            euros = AddAccount(u"Евро", eur, -5000, second);
            db.Placements().Create(AAccountPlacement{dollars, second});
            AAccount* lockedAccount = db.Accounts().Change(db.Accounts().Get(euros));
            lockedAccount->locked = 1;
            lockedAccount->comment = {};

            classes = AddClassification();
            salary = AddCategory(u"Зарплата", incomeRoot);
            const auto home = AddCategory(u"Дом", expenseRoot);
            const auto repair = AddCategory(u"Ремонт", home);
            paint = AddCategory(u"Краска <белая>", repair);
            ACategory* commented = db.Categories().Change(db.Categories().Get(repair));
            commented->comment = db.NewText(u"Всё для ремонта");
            const auto projectsRoot = AddCategory(u"Все проекты", {});
            AClassifier projects{db.NewText(u"Проект"), db.NewText(u"Проекты"), projectsRoot, {}, {}, 1, 0};
            db.Classifiers().Create(projects);
            dacha = AddCategory(u"Дача", projectsRoot);

            ATransaction pay = Single(card, M(50'000), Day(2009, 1, 10), (9 * 3600 + 5 * 60 + 3) * 1000);
            pay.quantity = 20'000;
            pay.budgetDate = Day(2009, 2, 1);
            pay.comment = db.NewText(u"Январь & аванс");
            pay.extraComment[0] = db.NewText(u"№ 15");
            pay.extraComment[1] = db.NewText(u"not in use");
            const auto payRef = Add(pay);
            Relate(payRef, salary);
            Relate(payRef, classes.bank);

            ATransaction buy = Single(card, -123'456, Day(2009, 1, 11), 18 * 3600 * 1000);
            buy.locked = 1;
            buy.extraComment[2] = db.NewText(u"Магазин 😀");
            const auto buyRef = Add(buy);
            Relate(buyRef, paint);
            Relate(buyRef, dacha);

            const auto exchangeRef = Add(Transfer(card, M(3000), dollars, M(100), Day(2009, 1, 12)));
            Relate(exchangeRef, classes.exchange);
            Add(Transfer(dollars, M(10), cash, M(300), Day(2009, 1, 12)));
            Add(StatedBalance(euros, M(20), Day(2009, 1, 13)));
            ATransaction planned = StatedBalance(cash, M(999), Day(2009, 2, 1));
            planned.executed = 0;
            Add(planned);

            ATransaction rent = Single(cash, -M(7000), Day(2009, 2, 5));
            rent.executed = 0;
            rent.recurrence = MonthlyRule();
            rent.recurrenceEnd = Day(2010, 1, 1);
            Relate(Add(rent), home);
            ATransaction lesson = Single(cash, -M(500), Day(2009, 2, 2));
            lesson.executed = 0;
            lesson.recurrence = 1u | (1u << 1) | (0x44u << 4) | (2u << 23) | (1u << 30);
            lesson.recurrenceCount = 10 | (1u << 8);
            Add(lesson);
        });
    }

    // Monthly on the 5th, every month, ending at a date.
    static std::uint32_t MonthlyRule() { return 1u | (2u << 1) | (5u << 11) | (1u << 23) | (1u << 31); }

    AReference<ACurrency> usd, eur;
    AReference<AAccount> card, dollars, euros;
    AClassification classes;
    AReference<ACategory> salary, paint, dacha;
};

}  // namespace ExportTest
