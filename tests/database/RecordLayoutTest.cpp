#include "ByteBuilder.h"
#include "database/Database.h"

#include <gtest/gtest.h>

using namespace Database;
using Database::Engine::ASlot;
using Database::Engine::ATableImpl;

namespace {

AClock FixedClock()
{
    return [] { return Dates::ALocalTime{45000, 0}; };
}

// Builds records inside one step and answers their stored bodies.
class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override { db.BeginStep(); }
    void TearDown() override
    {
        if (db.StepOpen())
            db.CommitStep();
    }
    AReference<AString> Text(const std::u16string& text)
    {
        return ATableImpl<AString>::RefTo(db.Strings().Create(AString{text}));
    }
    template <class T>
    ASlot<T>* Make(const T& record)
    {
        return db.Table<T>().Create(record);
    }
    template <class T>
    std::vector<std::uint8_t> Body(ASlot<T>* slot)
    {
        std::vector<std::uint8_t> out;
        db.Table<T>().WriteBody(*slot, out);
        return out;
    }
    template <class T>
    static AReference<T> Ref(ASlot<T>* slot)
    {
        return ATableImpl<T>::RefTo(slot);
    }

    ADatabase db{FixedClock()};
};

template <class... T>
void ExpectStoredSizes()
{
    ([] { EXPECT_EQ(Engine::StoredFixedSize<T>(), T::kStoredSize) << T::kTableId; }(), ...);
}

}  // namespace

TEST(RecordLayout, FixedTypesListExactlyTheirStoredBytes)
{
    ExpectStoredSizes<AUser, ACurrency, ARateHeader, ARateValue, AAccount, ACategory, AClassifier, ATransaction,
                      ARelation, ADBSettings, ASeries, ASeriesAccountFilter, ASeriesNodeFilter, ABudgetItem,
                      ABudgetLimit, AAccountFolder, AAccountPlacement>();
    EXPECT_EQ(Engine::StoredFixedSize<APageInfo>(), 12u);  // the fixed part before the settings block
}

TEST_F(LayoutTest, TextsAndPagesCarryTheirLengths)
{
    auto* text = db.Strings().Create(AString{u"Ёж"});
    EXPECT_EQ(Body(text), ByteBuilder().U16(6).U16(u'Ё').U16(u'ж').U16(0).Bytes());
    auto* empty = db.Strings().Create(AString{});
    EXPECT_EQ(Body(empty), ByteBuilder().U16(0).Bytes());

    APageInfo page;
    page.type = APageInfo::kReports;
    page.name = Ref(text);
    page.position = -2;
    page.user = 3;
    page.visible = 1;
    page.settings = {9, 8, 7};
    EXPECT_EQ(Body(Make(page)), ByteBuilder().U32(202).U32(1).U16(0xFFFE).U8(3).U8(1).U32(3).U8(9).U8(8).U8(7).Bytes());
}

TEST_F(LayoutTest, UsersSettingsAndCurrencies)
{
    auto name = Text(u"Admin");       // id 1
    auto password = Text(u"secret");  // id 3
    EXPECT_EQ(Body(Make(AUser{name, password, 4})), ByteBuilder().U32(1).U32(3).U8(4).Zeros(3).Bytes());

    ADBSettings settings;
    settings.accountFolders = 1;
    settings.quantities = 1;
    settings.extraCommentInUse[2] = 1;
    settings.extraCommentCaption[1] = name;
    settings.accountPlans = 1;
    EXPECT_EQ(Body(Make(settings)),
              ByteBuilder().U8(1).U8(0).U8(1).U8(0).U8(0).U8(0).U8(1).U8(0).U32(0).U32(1).U32(0).U32(0).U8(1).Zeros(3).Bytes());

    auto* rub = Make(ACurrency{name, password, 2});
    auto* usd = Make(ACurrency{password, name, 4});
    EXPECT_EQ(Body(rub), ByteBuilder().U32(1).U32(3).U32(2).Bytes());
    auto* header = Make(ARateHeader{Ref(rub), Ref(usd)});
    EXPECT_EQ(Body(header), ByteBuilder().U32(1).U32(3).Bytes());
    auto* rate = Make(ARateValue{Ref(header), 45123, 10000, -915000});
    EXPECT_EQ(Body(rate), ByteBuilder().U32(1).I32(45123).I64(10000).I64(-915000).Bytes());
}

TEST_F(LayoutTest, AccountsFoldersAndPlacements)
{
    auto name = Text(u"Наличные");  // 1
    auto comment = Text(u"note");   // 3
    auto* currency = Make(ACurrency{name, comment, 2});
    AAccount account;
    account.name = name;
    account.currency = Ref(currency);
    account.initialBalance = -5000;  // -0.5
    account.locked = 1;
    account.comment = comment;
    auto* accountSlot = Make(account);
    EXPECT_EQ(Body(accountSlot), ByteBuilder().U32(1).U32(1).U32(0).I64(-5000).U8(0).U8(1).Zeros(2).U32(3).Bytes());

    auto* plan = Make(AAccountFolder{name, {}, {}, 0});
    auto* folder = Make(AAccountFolder{comment, name, Ref(plan), 1});
    EXPECT_EQ(Body(folder), ByteBuilder().U32(3).U32(1).U32(1).U8(1).Zeros(3).Bytes());
    EXPECT_EQ(Body(Make(AAccountPlacement{Ref(accountSlot), Ref(folder)})), ByteBuilder().U32(1).U32(3).Bytes());
}

TEST_F(LayoutTest, ClassifiersCategoriesAndRelations)
{
    auto a = Text(u"Статья");  // 1
    auto b = Text(u"Статьи");  // 3
    auto* income = Make(ACategory{a, {}, {}});
    auto* expense = Make(ACategory{b, a, {}});
    auto* child = Make(ACategory{a, b, Ref(expense)});
    EXPECT_EQ(Body(child), ByteBuilder().U32(1).U32(3).U32(3).Bytes());
    AClassifier classifier{a, b, Ref(income), Ref(expense), {}, 0, 1};
    EXPECT_EQ(Body(Make(classifier)), ByteBuilder().U32(1).U32(3).U32(1).U32(3).U32(0).U8(0).U8(1).Zeros(2).Bytes());
}

TEST_F(LayoutTest, TransactionsWithEveryField)
{
    auto text = Text(u"x");  // 1
    auto* currency = Make(ACurrency{text, text, 2});
    AAccount account;
    account.currency = Ref(currency);
    auto* first = Make(account);   // 1
    auto* second = Make(account);  // 3
    ATransaction t;
    t.quantity = 12345;  // 1.2345
    t.amount1 = -1000000;
    t.balance1 = 2500000;
    t.account1 = Ref(first);
    t.amount2 = 950000;
    t.balance2 = -1;
    t.account2 = Ref(second);
    t.recurrence = 0x01020304;
    t.recurrenceCount = 0x105;
    t.recurrenceEnd = 46000;
    t.date = 45999;
    t.time = ATransaction::WholeSeconds(86399500);
    t.budgetDate = 45990;
    t.comment = text;
    t.executed = 1;
    t.locked = 0;
    t.balance = 1;
    t.fourthFlag = 0xAB;
    t.extraComment[3] = text;
    auto* slot = Make(t);
    const std::uint64_t stamp = slot->Record().changeStamp;
    EXPECT_EQ(t.time, 86399000);
    EXPECT_EQ(Body(slot), ByteBuilder()
                              .I64(static_cast<std::int64_t>(stamp)).I64(12345).I64(-1000000).I64(2500000).U32(1)
                              .I64(950000).I64(-1).U32(3).U32(0x01020304).U32(0x105).I32(46000).I32(45999)
                              .I32(86399000).I32(45990).U32(1).U8(1).U8(0).U8(1).U8(0xAB)
                              .U32(0).U32(0).U32(0).U32(1)
                              .Bytes());
    EXPECT_EQ(slot->Record().Kind(), ATransactionKind::Transfer);  // a transfer even with the balance flag
    auto* category = Make(ACategory{text, {}, {}});
    auto* relation = Make(ARelation{Ref(category), Ref(slot)});
    EXPECT_EQ(Body(relation), ByteBuilder().U32(1).U32(1).Bytes());
}

TEST_F(LayoutTest, SeriesAndBudget)
{
    auto text = Text(u"s");
    ASeries series{text, 230, 1, 0, 1, 0, 1, 0, 1};
    auto* seriesSlot = Make(series);
    EXPECT_EQ(Body(seriesSlot), ByteBuilder().U32(1).U8(230).U8(1).U8(0).U8(1).U8(0).U8(1).U8(0).U8(1).Bytes());
    AAccount account;
    auto* accountSlot = Make(account);
    EXPECT_EQ(Body(Make(ASeriesAccountFilter{Ref(seriesSlot), Ref(accountSlot)})), ByteBuilder().U32(1).U32(1).Bytes());
    auto* category = Make(ACategory{text, {}, {}});
    EXPECT_EQ(Body(Make(ASeriesNodeFilter{Ref(seriesSlot), Ref(category)})), ByteBuilder().U32(1).U32(1).Bytes());
    auto* top = Make(ABudgetItem{text, Ref(seriesSlot), {}});
    auto* item = Make(ABudgetItem{text, {}, Ref(top)});
    EXPECT_EQ(Body(item), ByteBuilder().U32(1).U32(0).U32(1).Bytes());
    ABudgetLimit limit;
    limit.amount = 7;
    for (int m = 0; m < 12; ++m)
        limit.months[m] = m + 100;
    limit.item = Ref(item);
    limit.currency = Ref(Make(ACurrency{text, text, 2}));
    limit.kind = ABudgetLimit::kEachMonth;
    limit.year = 0xABCD07E9;  // only the low 16 bits are the year
    ByteBuilder expected;
    expected.I64(7);
    for (int m = 0; m < 12; ++m)
        expected.I64(m + 100);
    expected.U32(3).U32(1).U32(4).U32(0xABCD07E9);
    EXPECT_EQ(Body(Make(limit)), expected.Bytes());
}

TEST(TransactionKind, DerivedFromSidesAndFlags)
{
    ATransaction t;
    EXPECT_EQ(t.Kind(), ATransactionKind::Income);  // an amount of 0 is an income
    t.amount1 = -1;
    EXPECT_EQ(t.Kind(), ATransactionKind::Expense);
    t.balance = 1;
    EXPECT_EQ(t.Kind(), ATransactionKind::Balance);
    t.account2 = AReference<AAccount>::FromId(5);
    EXPECT_EQ(t.Kind(), ATransactionKind::Transfer);
}
