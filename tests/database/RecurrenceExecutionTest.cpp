#include "DataFileHelpers.h"

#include "database/Deletion.h"
#include "database/Recurrence.h"
#include "database/RecurrenceExecution.h"

#include <algorithm>

using namespace DataFileHelpers;
using namespace Database::Recurrence;
using Engine::ASlot;
using Dates::FromYmd;

namespace {

class RecurrenceExecution : public ::testing::Test {
protected:
    void SetUp() override { db.CreateDefaults(); }

    // A monthly planned expense on the 15th with a comment, an extra comment and two categories.
    ASlot<ATransaction>* AddPlanned(ARule rule, ADate date, std::int32_t time = 36000000)
    {
        db.BeginStep();
        ATransaction t;
        t.account1 = ATableImpl<AAccount>::RefTo(db.Accounts().Live()[0]);
        t.amount1 = -12345;
        t.quantity = 20000;
        t.date = date;
        t.budgetDate = date - 26;  // counted in the month before
        t.time = time;
        t.locked = 1;
        t.fourthFlag = 7;
        t.recurrence = rule.Word();
        t.recurrenceCount = rule.CountWord();
        t.recurrenceEnd = rule.end;
        t.comment = db.NewText(u"Квартплата");
        t.extraComment[2] = db.NewText(u"счёт 42");
        auto* slot = db.Transactions().Create(t);
        const auto& classifier = db.Classifiers().Live()[0]->Record();
        for (auto root : {classifier.root1, classifier.root2})
            db.Relations().Create(ARelation{root, ATableImpl<ATransaction>::RefTo(slot)});
        db.CommitStep();
        return slot;
    }

    ASlot<ATransaction>* Execute(ASlot<ATransaction>* planned)
    {
        db.BeginStep();
        ASlot<ATransaction>* made = ExecuteOccurrence(db, *planned);
        db.CommitStep();
        return made;
    }

    static ARule Monthly()
    {
        ARule rule;
        rule.active = true;
        rule.kind = static_cast<std::uint8_t>(AKind::Monthly);
        rule.interval = 1;
        rule.dayOfMonth = 15;
        return rule;
    }

    std::vector<AReference<ACategory>> CategoriesOf(ASlot<ATransaction>* slot)
    {
        std::vector<AReference<ACategory>> categories;
        for (const auto* relation : db.Relations().Live())
            if (relation->Record().transaction == ATableImpl<ATransaction>::RefTo(slot))
                categories.push_back(relation->Record().category);
        return categories;
    }

    ADatabase db{FixedClock()};
};

}  // namespace

TEST_F(RecurrenceExecution, TheNextOccurrenceIsACopyWithItsOwnTextsAndRelations)
{
    ARule rule = Monthly();
    rule.endsAfterCount = true;
    rule.count = 5;
    rule.regenerate = true;
    auto* planned = AddPlanned(rule, FromYmd(2023, 1, 15));
    auto* made = Execute(planned);
    ASSERT_NE(made, nullptr);

    const ATransaction& source = planned->Record();
    EXPECT_EQ(source.executed, 1);
    EXPECT_EQ(source.recurrence, rule.Word() & ~1u);  // only the active bit goes
    EXPECT_EQ(source.recurrenceCount, rule.CountWord());

    const ATransaction& next = made->Record();
    EXPECT_EQ(next.executed, 0);
    EXPECT_EQ(next.date, FromYmd(2023, 2, 15));
    EXPECT_EQ(next.budgetDate, FromYmd(2023, 1, 15));  // the budget date walks the rule on its own
    EXPECT_EQ(next.recurrence, rule.Word());
    EXPECT_EQ(next.recurrenceCount, 4u | 0x100u);
    EXPECT_EQ(next.amount1, -12345);
    EXPECT_EQ(next.quantity, 20000);
    EXPECT_EQ(next.account1, source.account1);
    EXPECT_EQ(next.time, source.time);
    EXPECT_EQ(next.locked, 1);
    EXPECT_EQ(next.fourthFlag, 7);
    EXPECT_NE(next.comment, source.comment);
    EXPECT_EQ(db.Text(next.comment), u"Квартплата");
    EXPECT_NE(next.extraComment[2], source.extraComment[2]);
    EXPECT_EQ(db.Text(next.extraComment[2]), u"счёт 42");
    EXPECT_TRUE(next.extraComment[0].IsNull());
    EXPECT_EQ(CategoriesOf(made), CategoriesOf(planned));
    EXPECT_EQ(CategoriesOf(made).size(), 2u);

    // One step: undo takes the new transaction, its texts and relations away again.
    const std::size_t strings = db.Strings().LiveCount();
    ASSERT_TRUE(db.Undo());
    EXPECT_FALSE(made->Exists());
    EXPECT_EQ(db.Strings().LiveCount(), strings - 2);
    EXPECT_EQ(db.Relations().LiveCount(), 2u);
    EXPECT_EQ(planned->Record().executed, 0);
    EXPECT_EQ(planned->Record().recurrence, rule.Word());
}

TEST_F(RecurrenceExecution, TheCountEndsTheSeries)
{
    ARule rule = Monthly();
    rule.endsAfterCount = true;
    rule.count = 3;
    auto* first = AddPlanned(rule, FromYmd(2023, 1, 15));
    auto* second = Execute(first);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Record().recurrenceCount, 2u);
    EXPECT_EQ(second->Record().recurrence & 1u, 1u);
    auto* third = Execute(second);
    ASSERT_NE(third, nullptr);
    // The last occurrence: count 1 and no longer active.
    EXPECT_EQ(third->Record().recurrenceCount, 1u);
    EXPECT_EQ(third->Record().recurrence & 1u, 0u);
    EXPECT_EQ(third->Record().date, FromYmd(2023, 3, 15));
    EXPECT_EQ(Execute(third), nullptr);
    EXPECT_EQ(third->Record().executed, 1);
    EXPECT_EQ(db.Transactions().LiveCount(), 3u);
}

TEST_F(RecurrenceExecution, NothingFollowsWhenTheRuleCanNotGoOn)
{
    struct Case {
        const char* what;
        ARule rule;
    };
    ARule ended = Monthly();
    ended.endsAtDate = true;
    ended.end = FromYmd(2023, 2, 15);  // the next date is no longer included
    ARule countOne = Monthly();
    countOne.endsAfterCount = true;
    countOne.count = 1;
    ARule inactive = Monthly();
    inactive.active = false;
    ARule noNextDate = Monthly();
    noNextDate.dayOfMonth = 0;
    const Case cases[] = {{"end date", ended}, {"count 1", countOne}, {"inactive", inactive}, {"no next date", noNextDate}};
    for (const Case& c : cases) {
        auto* planned = AddPlanned(c.rule, FromYmd(2023, 1, 15));
        const std::size_t before = db.Transactions().LiveCount();
        EXPECT_EQ(Execute(planned), nullptr) << c.what;
        EXPECT_EQ(db.Transactions().LiveCount(), before) << c.what;
        EXPECT_EQ(planned->Record().executed, 1) << c.what;
        EXPECT_EQ(planned->Record().recurrence & 1u, 0u) << c.what;
    }
    // The end date itself is still an occurrence.
    ARule lastDay = Monthly();
    lastDay.endsAtDate = true;
    lastDay.end = FromYmd(2023, 2, 15) + 1;
    EXPECT_NE(Execute(AddPlanned(lastDay, FromYmd(2023, 1, 15))), nullptr);
}

TEST_F(RecurrenceExecution, TheNewTimeIsOneNoOtherTransactionOfThatDateHas)
{
    const std::int32_t time = 36000000;
    // Two transactions already sit on the next date at that time and one millisecond later.
    AddPlanned(ARule{}, FromYmd(2023, 2, 15), time);
    AddPlanned(ARule{}, FromYmd(2023, 2, 15), time + 1);
    auto* planned = AddPlanned(Monthly(), FromYmd(2023, 1, 15), time);
    auto* made = Execute(planned);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Record().time, time + 2);

    // A transaction made earlier in the same step counts as well.
    auto* again = AddPlanned(Monthly(), FromYmd(2023, 1, 15), time);
    db.BeginStep();
    ATransaction other;
    other.account1 = again->Record().account1;
    other.date = FromYmd(2023, 2, 15);
    other.time = time + 3;
    db.Transactions().Create(other);
    auto* madeInStep = ExecuteOccurrence(db, *again);
    db.CommitStep();
    ASSERT_NE(madeInStep, nullptr);
    EXPECT_EQ(madeInStep->Record().time, time + 4);
}

// Records the step changed stay under their old values in the indexes until the commit;
// the copy used to miss a transaction moved onto its date and a relation moved onto the
// planned transaction in the same step.
TEST_F(RecurrenceExecution, WorkOfTheSameStepCountsForTheTimeAndTheCategories)
{
    const std::int32_t time = 36000000;
    auto* elsewhere = AddPlanned(ARule{}, FromYmd(2023, 7, 1), time);
    auto* planned = AddPlanned(Monthly(), FromYmd(2023, 1, 15), time);
    const auto& classifier = db.Classifiers().Live()[0]->Record();
    ASlot<ARelation>* moved = nullptr;
    for (auto* relation : db.Relations().Live())
        if (relation->Record().transaction == ATableImpl<ATransaction>::RefTo(elsewhere) &&
            relation->Record().category == classifier.root1)
            moved = relation;
    ASSERT_NE(moved, nullptr);

    db.BeginStep();
    db.Transactions().Change(elsewhere)->date = FromYmd(2023, 2, 15);
    // The planned one loses its income root and gets the other's relation to it instead.
    for (auto* relation : db.Relations().Live())
        if (relation->Record().transaction == ATableImpl<ATransaction>::RefTo(planned) &&
            relation->Record().category == classifier.root1)
            Delete(db, relation);
    db.Relations().Change(moved)->transaction = ATableImpl<ATransaction>::RefTo(planned);
    auto* made = ExecuteOccurrence(db, *planned);
    db.CommitStep();

    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Record().time, time + 1);
    auto categories = CategoriesOf(made);
    std::sort(categories.begin(), categories.end(),
              [](auto a, auto b) { return a.Word() < b.Word(); });
    auto expected = std::vector{classifier.root1, classifier.root2};
    std::sort(expected.begin(), expected.end(), [](auto a, auto b) { return a.Word() < b.Word(); });
    EXPECT_EQ(categories, expected);
}

TEST(FreeTimeOfDay, WrapsAfterTheLastMillisecond)
{
    const std::int32_t last = 86399999;
    EXPECT_EQ(FreeTimeOfDay(last, [&](std::int32_t t) { return t == last; }), 0);
    EXPECT_EQ(FreeTimeOfDay(5, [](std::int32_t) { return false; }), 5);
}
