// Statements brought into a data file: nothing twice, overlaps add only what is new, and the
// household's own history suggests the categories.
#include "exchange/statements/StatementImport.h"

#include "database/DatabaseRules.h"

#include <gtest/gtest.h>

namespace {

using namespace ExportImport::Statements;
using namespace Database;
using Engine::ATableImpl;

AStatementLine Line(int day, AMoney amount, std::u16string payee, std::string reference = {})
{
    AStatementLine line;
    line.date = Dates::FromYmd(2024, 1, day);
    line.amount = amount;
    line.payee = std::move(payee);
    line.reference = std::move(reference);
    return line;
}

class StatementImport : public ::testing::Test {
protected:
    StatementImport()
    {
        db.CreateDefaults();
        account = ATableImpl<AAccount>::RefTo(db.Accounts().Live().front());
        for (const auto* slot : db.Categories().Live())
            if (!slot->Record().parent.IsNull())
                food = ATableImpl<ACategory>::RefTo(slot);
        // The household's history: the baker's is always this category.
        db.BeginStep();
        for (int i = 0; i < 2; ++i) {
            ATransaction t;
            t.account1 = account;
            t.amount1 = -500'000;
            t.date = t.budgetDate = Dates::FromYmd(2023, 12, 1 + i);
            t.executed = 1;
            t.comment = db.NewText(u"Булочная №" + std::u16string(1, char16_t(u'1' + i)));
            db.Relations().Create(ARelation{food, ATableImpl<ATransaction>::RefTo(db.Transactions().Create(t))});
        }
        CommitWithRules(db);
    }
    std::size_t Import(const AStatement& statement, const AStatementImportOptions& options)
    {
        return SaveStatement(db, account, PlanStatement(db, account, statement, options), options, u"Импорт выписки");
    }

    ADatabase db;
    AReference<AAccount> account;
    AReference<ACategory> food;
    const AStatementImportOptions byReference{3};
};

TEST_F(StatementImport, NothingTwiceAndOverlapsAddOnlyWhatIsNew)
{
    const std::size_t before = db.Transactions().LiveCount();
    AStatement january;
    january.lines = {Line(5, -12'345'000, u"Магазин", "A1"), Line(10, 500'000'000, u"Зарплата", "A2")};
    ASSERT_EQ(Import(january, byReference), 2u);
    EXPECT_EQ(db.Transactions().LiveCount(), before + 2);
    EXPECT_EQ(db.UndoLabel(), u"Импорт выписки");

    struct ACase {
        const char* what;
        AStatement statement;
        AStatementImportOptions options;
        std::size_t duplicates, added;
    };
    AStatement overlapping, corrected, nearby, later;
    overlapping.lines = {Line(10, 500'000'000, u"Зарплата", "A2"), Line(12, -10'000, u"Кафе", "A3")};
    corrected.lines = {Line(5, -12'300'000, u"Магазин (исправлено)", "A1")};
    // Without references: the same amount three days off under the same text is the same
    // line, five days off it is another.
    nearby.lines = {Line(8, -12'345'000, u"МАГАЗИН 5555")};
    later.lines = {Line(10, -12'345'000, u"Магазин")};
    const ACase cases[] = {
        {"the same statement again", january, byReference, 2, 0},
        {"an overlapping statement", overlapping, byReference, 1, 1},
        {"a corrected line under its reference", corrected, byReference, 1, 0},
        {"a line within three days", nearby, {}, 1, 0},
        {"a line five days later", later, {}, 0, 1},
    };
    for (const ACase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t count = db.Transactions().LiveCount();
        const AStatementPlan plan = PlanStatement(db, account, c.statement, c.options);
        EXPECT_EQ(plan.duplicates, c.duplicates);
        EXPECT_EQ(SaveStatement(db, account, plan, c.options, u"Импорт выписки"), c.added);
        EXPECT_EQ(db.Transactions().LiveCount(), count + c.added);
    }
}

TEST_F(StatementImport, CategoriesComeFromTheSamePayeesHistoryAndUndoTakesAllBack)
{
    AStatement statement;
    statement.lines = {Line(3, -700'000, u"БУЛОЧНАЯ №7"), Line(4, -800'000, u"Аптека")};
    const AStatementPlan plan = PlanStatement(db, account, statement, byReference);
    ASSERT_EQ(plan.lines.size(), 2u);
    EXPECT_EQ(plan.lines[0].categories, std::vector<AReference<ACategory>>{food});
    EXPECT_TRUE(plan.lines[1].categories.empty());

    const std::size_t transactions = db.Transactions().LiveCount(), relations = db.Relations().LiveCount();
    const AMoney opening = db.Accounts().Record(account)->initialBalance;
    ASSERT_EQ(SaveStatement(db, account, plan, byReference, u"Импорт выписки"), 2u);
    EXPECT_EQ(db.Relations().LiveCount(), relations + 1);
    // Balances run on through the new lines: 50 + 50 before them, then 70 and 80.
    AMoney lastBalance = 0;
    for (const auto* slot : db.Transactions().Live())
        if (slot->Record().date == Dates::FromYmd(2024, 1, 4))
            lastBalance = slot->Record().balance1;
    EXPECT_EQ(lastBalance, opening - 2'500'000);
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(db.Transactions().LiveCount(), transactions);
    EXPECT_EQ(db.Relations().LiveCount(), relations);
}

}  // namespace
