#include "DataFileHelpers.h"

namespace DataFileHelpers {

void FillRich(ADatabase& db)
{
    db.CreateDefaults();
    db.BeginStep();
    auto& t = db;
    auto usd = ATableImpl<ACurrency>::RefTo(t.Currencies().Create(ACurrency{t.NewText(u"Доллары"), t.NewText(u"USD"), 2}));
    auto rur = ATableImpl<ACurrency>::RefTo(t.Currencies().Live()[0]);
    auto header = ATableImpl<ARateHeader>::RefTo(t.RateHeaders().Create(ARateHeader{usd, rur}));
    t.RateValues().Create(ARateValue{header, 45000, 10000, 915000});
    t.RateValues().Create(ARateValue{header, 45001, 10000, 917500});

    auto plan = ATableImpl<AAccountFolder>::RefTo(t.Folders().Live()[0]);
    auto folder = ATableImpl<AAccountFolder>::RefTo(
        t.Folders().Create(AAccountFolder{t.NewText(u"Банк"), t.NewText(u"комментарий"), plan, 1}));
    AAccount card;
    card.name = t.NewText(u"Карта");
    card.currency = usd;
    card.initialBalance = 123456;
    card.locked = 1;
    card.comment = t.NewText(u"карта с кэшбэком");
    auto cardRef = ATableImpl<AAccount>::RefTo(t.Accounts().Create(card));
    auto cash = ATableImpl<AAccount>::RefTo(t.Accounts().Live()[0]);
    t.Placements().Create(AAccountPlacement{cardRef, folder});

    const AClassifier& items = t.Classifiers().Live()[0]->Record();
    auto food = ATableImpl<ACategory>::RefTo(t.Categories().Create(ACategory{t.NewText(u"Еда"), {}, items.root2}));
    AClassifier agents;
    agents.singular = t.NewText(u"Агент");
    agents.plural = t.NewText(u"Агенты");
    agents.root1 = ATableImpl<ACategory>::RefTo(t.Categories().Create(ACategory{t.NewText(u"Все агенты"), {}, {}}));
    agents.useInTransfers = 1;
    t.Classifiers().Create(agents);

    for (int i = 0; i < 40; ++i) {
        ATransaction tr;
        tr.date = 45000 + i / 3;
        tr.time = (i % 3) * 1000;
        tr.budgetDate = tr.date;
        tr.account1 = i % 2 ? cash : cardRef;
        tr.amount1 = (i % 5 == 0 ? 1 : -1) * (i + 1) * 10000;
        tr.executed = i % 7 != 0;
        if (i % 4 == 0) {
            tr.account2 = cash;
            tr.amount2 = -tr.amount1;
        }
        if (i % 3 == 0)
            tr.comment = t.NewText(u"операция " + std::u16string(1, static_cast<char16_t>(u'A' + i)));
        tr.extraComment[2] = i == 5 ? t.NewText(u"доп") : AReference<AString>();
        tr.fourthFlag = static_cast<std::uint8_t>(i);
        auto ref = ATableImpl<ATransaction>::RefTo(t.Transactions().Create(tr));
        t.Relations().Create(ARelation{food, ref});
    }
    ADBSettings* settings = t.Settings().Change(t.Settings().Live()[0]);
    settings->quantities = 1;
    settings->extraCommentInUse[2] = 1;
    settings->extraCommentCaption[2] = t.NewText(u"Чек");

    auto series = ATableImpl<ASeries>::RefTo(t.Series().Create(ASeries{t.NewText(u"Расходы"), 20, 0, 1, 0, 1, 1, 0, 0}));
    t.SeriesAccounts().Create(ASeriesAccountFilter{series, cash});
    t.SeriesNodes().Create(ASeriesNodeFilter{series, food});
    auto top = ATableImpl<ABudgetItem>::RefTo(t.BudgetItems().Create(ABudgetItem{t.NewText(u"Жизнь"), series, {}}));
    ABudgetLimit limit;
    limit.amount = 5000000;
    limit.item = top;
    limit.currency = rur;
    limit.kind = ABudgetLimit::kPerMonth;
    limit.year = 2023;
    t.BudgetLimits().Create(limit);
    APageInfo page;
    page.type = APageInfo::kBudget;
    page.name = t.NewText(u"Мой бюджет");
    page.position = 20;
    page.visible = 1;
    page.settings = {1, 2, 3, 4, 5};
    t.Pages().Create(page);
    db.CommitStep();
}

void ExpectSameContent(ADatabase& a, ADatabase& b)
{
    for (Engine::ATableId id = 1; id <= Engine::ADBEngine::kTableCount; ++id) {
        Engine::ATableBase& ta = a.Table(id);
        Engine::ATableBase& tb = b.Table(id);
        ASSERT_EQ(ta.LiveCount(), tb.LiveCount()) << "table " << id;
        std::vector<Engine::ARecordBase*> liveA, liveB;
        for (std::size_t i = 0; i < ta.SlotCount(); ++i)
            if (ta.SlotAt(i).Exists())
                liveA.push_back(&ta.SlotAt(i));
        for (std::size_t i = 0; i < tb.SlotCount(); ++i)
            if (tb.SlotAt(i).Exists())
                liveB.push_back(&tb.SlotAt(i));
        ASSERT_EQ(liveA.size(), liveB.size()) << "table " << id;
        for (std::size_t i = 0; i < liveA.size(); ++i) {
            EXPECT_EQ(liveA[i]->id, liveB[i]->id) << "table " << id;
            EXPECT_EQ(liveA[i]->stamp, liveB[i]->stamp) << "table " << id;
            std::vector<std::uint8_t> bodyA, bodyB;
            ta.WriteBody(*liveA[i], bodyA);
            tb.WriteBody(*liveB[i], bodyB);
            EXPECT_EQ(bodyA, bodyB) << "table " << id << " record " << liveA[i]->id;
        }
        EXPECT_EQ(ta.Header().nextId, tb.Header().nextId) << "table " << id;
    }
}

std::vector<std::uint8_t> ReadStream(const std::string& path, const std::u16string& name)
{
    std::unique_ptr<Engine::ACompoundFile> file;
    EXPECT_EQ(Engine::ACompoundFile::Open(path, false, file), Result::kOk);
    if (!file)
        return {};
    Engine::ACompoundStream* raw = nullptr;
    if (Result::Failed(file->OpenStream(name, &raw)))
        return {};
    Engine::APagedStream stream(*raw, false);
    std::vector<std::uint8_t> content(stream.Size());
    std::size_t got = 0;
    EXPECT_EQ(stream.Read(0, content.data(), content.size(), &got), Result::kOk);
    return content;
}

void WriteStream(const std::string& path, const std::u16string& name, const std::vector<std::uint8_t>& content)
{
    std::unique_ptr<Engine::ACompoundFile> file;
    ASSERT_EQ(Engine::ACompoundFile::Open(path, true, file), Result::kOk);
    Engine::ACompoundStream* raw = nullptr;
    ASSERT_EQ(file->CreateStream(name, &raw), Result::kOk);
    Engine::APagedStream stream(*raw, true);
    ASSERT_EQ(stream.Write(0, content.data(), content.size()), Result::kOk);
    ASSERT_EQ(stream.Flush(), Result::kOk);
    ASSERT_EQ(file->Commit(), Result::kOk);
}

}  // namespace DataFileHelpers
