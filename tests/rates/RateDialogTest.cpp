// The rate dialog's checks in their order, storing against the pair's header, and
// the deletion question.
#include "core/AStrings.h"
#include "database/RulesTestSupport.h"
#include "rates/Rates.h"

namespace RatesTest {
namespace {

using namespace RulesTest;
using Rates::ARateField;
using Rates::ARateInput;
namespace RateText = Rates::RateText;

class RateDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        books.Step([&] { usd = books.AddCurrency(u"USD"); });
    }
    ARateInput Input(std::u16string value1, std::u16string value2, ADate date = kDay,
                     AReference<ACurrency> first = {}, AReference<ACurrency> second = {})
    {
        return {first ? first : books.rur, second ? second : usd, date, std::move(value1), std::move(value2)};
    }
    std::optional<Rates::ARefusal> Add(const ARateInput& input)
    {
        return Rates::AddRate(books.db, input, u"Добавить курс валют");
    }
    AReference<ARateValue> OnlyRateOn(ADate date)
    {
        for (auto* slot : books.db.RateValues().Live())
            if (slot->Record().date == date)
                return ATableImpl<ARateValue>::RefTo(slot);
        return {};
    }

    static constexpr ADate kDay = 45352;  // 2024-03-01
    TBooks books;
    AReference<ACurrency> usd;
    const UtilityClasses::Strings::AStrings strings{UtilityClasses::Strings::RussianLocale()};
};

TEST_F(RateDialogTest, ChecksInOrderWithMessageAndFocus)
{
    const struct {
        const char* what;
        std::u16string value1, value2;
        int message;
        ARateField focus;
    } cases[] = {
        {"both invalid", u"1 +", u"(", RateText::kBadExpression, ARateField::Value1},
        {"second invalid", u"90", u"x", RateText::kBadExpression, ARateField::Value2},
        {"expressions before values", u"0", u"1 / 0", RateText::kBadExpression, ARateField::Value2},
        {"first zero", u"0", u"1", RateText::kNotAboveZero, ARateField::Value1},
        {"second zero", u"90", u"0,00", RateText::kNotAboveZero, ARateField::Value2},
        {"second zero after rounding", u"90", u"0.00001", RateText::kNotAboveZero, ARateField::Value2},
        {"first negative", u"5 - 6", u"1", RateText::kNotAboveZero, ARateField::Value1},
    };
    for (const auto& c : cases) {
        const auto refusal = Add(Input(c.value1, c.value2));
        ASSERT_TRUE(refusal.has_value()) << c.what;
        EXPECT_EQ(refusal->messageId, c.message) << c.what;
        EXPECT_EQ(refusal->field, static_cast<int>(c.focus)) << c.what;
    }
    EXPECT_EQ(books.db.RateHeaders().LiveCount(), 0u);
    EXPECT_FALSE(books.db.StepOpen());
}

TEST_F(RateDialogTest, RateOfACurrencyToItselfIsRefused)
{
    const auto refusal = Add(Input(u"1", u"1", kDay, usd, usd));
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->messageId, RateText::kRateToItself);
    EXPECT_EQ(books.db.RateHeaders().LiveCount(), 0u);
}

TEST_F(RateDialogTest, NewPairGetsAHeaderWithTheDialogsFirstCurrencyFirst)
{
    ASSERT_FALSE(Add(Input(u"90,5", u"1", kDay, usd, books.rur)).has_value());
    ASSERT_EQ(books.db.RateHeaders().LiveCount(), 1u);
    EXPECT_EQ(books.db.RateHeaders().Live().front()->Record().currency1, usd);
    const ARateValue& value = books.db.RateValues().Live().front()->Record();
    EXPECT_EQ(value.date, kDay);
    EXPECT_EQ(value.amount1, 905000);
    EXPECT_EQ(value.amount2, M(1));
    EXPECT_EQ(books.db.UndoLabel(), u"Добавить курс валют");
}

TEST_F(RateDialogTest, ReversedPairIsStoredUnderTheExistingHeaderSwapped)
{
    ASSERT_FALSE(Add(Input(u"90", u"1")).has_value());  // header (RUR, USD)
    ASSERT_FALSE(Add(Input(u"1", u"91", kDay + 1, usd, books.rur)).has_value());
    ASSERT_EQ(books.db.RateHeaders().LiveCount(), 1u);
    const ARateValue* added = books.db.RateValues().Record(OnlyRateOn(kDay + 1));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->amount1, M(91)) << "roubles, the header's first currency";
    EXPECT_EQ(added->amount2, M(1));
}

TEST_F(RateDialogTest, DateWithARateIsRefusedAndNothingChanges)
{
    ASSERT_FALSE(Add(Input(u"90", u"1")).has_value());
    const auto label = books.db.UndoLabel();
    // Either way round the pair clashes.
    for (const ARateInput& input : {Input(u"91", u"1"), Input(u"1", u"91", kDay, usd, books.rur)}) {
        const auto refusal = Add(input);
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->messageId, RateText::kDateTaken);
        EXPECT_EQ(refusal->field, static_cast<int>(ARateField::Date));
    }
    EXPECT_FALSE(books.db.StepOpen());
    EXPECT_EQ(books.db.RateValues().LiveCount(), 1u);
    EXPECT_EQ(books.db.UndoLabel(), label);
}

TEST_F(RateDialogTest, ChangingOntoATakenDateIsRefusedAndLeavesTheRate)
{
    ASSERT_FALSE(Add(Input(u"90", u"1")).has_value());
    ASSERT_FALSE(Add(Input(u"92", u"1", kDay + 7)).has_value());
    const auto later = OnlyRateOn(kDay + 7);
    const ARateValue before = *books.db.RateValues().Record(later);
    const auto refusal = Rates::ChangeRate(books.db, later, Input(u"93", u"1", kDay), u"Изменить курс валют");
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->messageId, RateText::kDateTaken);
    const ARateValue after = *books.db.RateValues().Record(later);
    EXPECT_EQ(after.date, before.date);
    EXPECT_EQ(after.amount1, before.amount1);
    EXPECT_EQ(books.db.UndoLabel(), u"Добавить курс валют");
    EXPECT_FALSE(books.db.StepOpen());
}

TEST_F(RateDialogTest, ChangingRewritesDateAndAmountsInTheHeadersOrientation)
{
    ASSERT_FALSE(Add(Input(u"90", u"1")).has_value());
    const auto rate = OnlyRateOn(kDay);
    // The same date is no clash with the rate itself.
    ASSERT_FALSE(Rates::ChangeRate(books.db, rate, Input(u"95", u"1"), u"Изменить курс валют").has_value());
    EXPECT_EQ(books.db.RateValues().Record(rate)->amount1, M(95));
    // Given the other way round, the amounts are turned to the header's order.
    ASSERT_FALSE(
        Rates::ChangeRate(books.db, rate, Input(u"2", u"180", kDay + 3, usd, books.rur), u"Изменить курс валют")
            .has_value());
    const ARateValue* changed = books.db.RateValues().Record(rate);
    EXPECT_EQ(changed->date, kDay + 3);
    EXPECT_EQ(changed->amount1, M(180));
    EXPECT_EQ(changed->amount2, M(2));
    EXPECT_EQ(books.db.UndoLabel(), u"Изменить курс валют");
    // The dialog's checks hold for changes too.
    const auto refusal = Rates::ChangeRate(books.db, rate, Input(u"0", u"1"), u"Изменить курс валют");
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->messageId, RateText::kNotAboveZero);
}

TEST_F(RateDialogTest, DeletionQuestionAndDeletion)
{
    ASSERT_FALSE(Add(Input(u"90", u"1")).has_value());
    const auto rate = OnlyRateOn(kDay);
    const auto question = Rates::RateDeletionQuestion(books.db, rate, strings);
    EXPECT_EQ(question.messageId, RateText::kDeleteQuestion);
    EXPECT_EQ(question.text, u"Удалить курс \"Российские рубли\"\r\nпо отношению к \"USD name\"\r\nна 01.03.2024 ?");
    Rates::DeleteRate(books.db, rate, u"Удалить курс валют");
    EXPECT_EQ(books.db.RateValues().LiveCount(), 0u);
    EXPECT_EQ(books.db.UndoLabel(), u"Удалить курс валют");
}

}  // namespace
}  // namespace RatesTest
