// A small set of books for the rule tests: the default database plus helpers that
// create records inside the open step.
#pragma once

#include "core/Assert.h"
#include "database/DatabaseRules.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace RulesTest {

using namespace Database;
using Engine::ASlot;
using Engine::ATableImpl;

// Whole currency units as money.
constexpr AMoney M(std::int64_t units) { return units * 10'000; }

// Turns assertion failures into a count instead of ending the process.
class TAssertionCounter {
public:
    TAssertionCounter()
    {
        previous_ = Fendral::SetAssertionHandler([this](const std::string&) {
            ++failures;
            return true;
        });
    }
    ~TAssertionCounter() { Fendral::SetAssertionHandler(previous_); }
    TAssertionCounter(const TAssertionCounter&) = delete;
    TAssertionCounter& operator=(const TAssertionCounter&) = delete;
    int failures = 0;

private:
    Fendral::AssertionHandler previous_;
};

// Transactions as tests write them: budgeted on their date, executed unless planned.
struct TTransactions {
    static ATransaction Single(AReference<AAccount> account, AMoney amount, ADate date, std::int32_t time = 0)
    {
        ATransaction t;
        t.account1 = account;
        t.amount1 = amount;
        t.date = t.budgetDate = date;
        t.time = time;
        t.executed = 1;
        return t;
    }
    static ATransaction Planned(AReference<AAccount> account, AMoney amount, ADate date)
    {
        ATransaction t = Single(account, amount, date);
        t.executed = 0;
        return t;
    }
    static ATransaction StatedBalance(AReference<AAccount> account, AMoney balance, ADate date)
    {
        ATransaction t = Single(account, 0, date);
        t.balance = 1;
        t.balance1 = balance;
        return t;
    }
    static ATransaction Transfer(AReference<AAccount> from, AMoney out, AReference<AAccount> to, AMoney in,
                                 ADate date)
    {
        ATransaction t = Single(from, -out, date);
        t.account2 = to;
        t.amount2 = in;
        return t;
    }
};

class TBooks : public TTransactions {
public:
    explicit TBooks(AClock clock = [] { return Dates::ALocalTime{46000, 12 * 3600000}; }) : db(std::move(clock))
    {
        db.CreateDefaults();
        rur = ATableImpl<ACurrency>::RefTo(db.Currencies().Live().front());
        cash = ATableImpl<AAccount>::RefTo(db.Accounts().Live().front());
        plan = ATableImpl<AAccountFolder>::RefTo(db.Folders().Live().front());
        const AClassifier& articles = db.Classifiers().Live().front()->Record();
        incomeRoot = articles.root1;
        expenseRoot = articles.root2;
    }

    // Runs fn inside one step and commits it with the rules applied.
    void Step(const std::function<void()>& fn)
    {
        db.BeginStep();
        fn();
        CommitWithRules(db);
    }

    AReference<ACurrency> AddCurrency(std::u16string_view code)
    {
        return ATableImpl<ACurrency>::RefTo(
            db.Currencies().Create(ACurrency{db.NewText(std::u16string(code) + u" name"), db.NewText(code), 2}));
    }
    AReference<AAccount> AddAccount(std::u16string_view name, AReference<ACurrency> currency = {}, AMoney initial = 0,
                                    AReference<AAccountFolder> folder = {})
    {
        AAccount account;
        account.name = db.NewText(name);
        account.comment = db.NewText(u"comment of " + std::u16string(name));
        account.currency = currency ? currency : rur;
        account.initialBalance = initial;
        const auto ref = ATableImpl<AAccount>::RefTo(db.Accounts().Create(account));
        db.Placements().Create(AAccountPlacement{ref, folder ? folder : plan});
        return ref;
    }
    AReference<AAccountFolder> AddFolder(std::u16string_view name, AReference<AAccountFolder> parent)
    {
        return ATableImpl<AAccountFolder>::RefTo(
            db.Folders().Create(AAccountFolder{db.NewText(name), db.NewText(u"note"), parent, 0}));
    }
    AReference<ACategory> AddCategory(std::u16string_view name, AReference<ACategory> parent)
    {
        return ATableImpl<ACategory>::RefTo(db.Categories().Create(ACategory{db.NewText(name), {}, parent}));
    }
    // A transfer tree in the default classifier with "Обмен" in it, "Продукты" under the
    // expense root, and a second classifier of agents with "Банк". Inside the open step.
    struct AClassification {
        AReference<ACategory> transferRoot, exchange, food, bank;
    };
    AClassification AddClassification()
    {
        AClassification c;
        c.transferRoot = AddCategory(u"Все переводы", {});
        AClassifier* articles = db.Classifiers().Change(db.Classifiers().Live().front());
        articles->root3 = c.transferRoot;
        articles->useInTransfers = 1;
        c.exchange = AddCategory(u"Обмен", c.transferRoot);
        c.food = AddCategory(u"Продукты", expenseRoot);
        const auto agents = AddCategory(u"Все агенты", {});
        db.Classifiers().Create(AClassifier{db.NewText(u"Агент"), db.NewText(u"Агенты"), agents, {}, {}, 0, 0});
        c.bank = AddCategory(u"Банк", agents);
        return c;
    }
    AReference<ATransaction> Add(ATransaction t) { return ATableImpl<ATransaction>::RefTo(db.Transactions().Create(t)); }
    void Relate(AReference<ATransaction> t, AReference<ACategory> c) { db.Relations().Create(ARelation{c, t}); }

    const ATransaction& Get(AReference<ATransaction> t) { return db.Transactions().Get(t)->Record(); }
    // The first side's balance of each transaction, in the order given.
    std::vector<AMoney> Balances(std::initializer_list<AReference<ATransaction>> refs)
    {
        std::vector<AMoney> balances;
        for (auto ref : refs)
            balances.push_back(Get(ref).balance1);
        return balances;
    }
    template <class T>
    bool Live(AReference<T> ref)
    {
        const auto* slot = db.Table<T>().Get(ref);
        return slot && slot->Exists();
    }
    // Expects each record to be live, or each to be gone; failures name the argument's place.
    template <class... T>
    void ExpectLive(bool live, AReference<T>... refs)
    {
        int place = 0;
        ([&] { EXPECT_EQ(Live(refs), live) << "argument " << ++place; }(), ...);
    }
    template <class T>
    ASlot<T>* SlotOf(AReference<T> ref)
    {
        return db.Table<T>().Get(ref);
    }

    ADatabase db;
    AReference<ACurrency> rur;
    AReference<AAccount> cash;
    AReference<AAccountFolder> plan;
    AReference<ACategory> incomeRoot, expenseRoot;
};

// An independent reference: every account's balances recomputed from scratch in the
// committed order of index 3, compared with what is stored.
inline void ExpectConsistentBalances(ADatabase& db, const std::string& where = {})
{
    std::map<std::uint32_t, AMoney> running;
    for (const auto* account : db.Accounts().Live())
        running[ATableImpl<AAccount>::RefTo(account).Word()] = account->Record().initialBalance;
    for (const auto* slot : db.Transactions().IndexAt(3)) {
        const ATransaction& t = slot->Record();
        if (!t.executed)
            continue;
        auto side = [&](AReference<AAccount> account, AMoney amount, AMoney balance) {
            if (account.IsNull())
                return;
            AMoney& r = running[account.Word()];
            if (t.Kind() == ATransactionKind::Balance) {
                EXPECT_EQ(amount, balance - r) << where << " transaction " << slot->id;
                r = balance;
            } else {
                r += amount;
                EXPECT_EQ(balance, r) << where << " transaction " << slot->id;
            }
        };
        side(t.account1, t.amount1, t.balance1);
        side(t.account2, t.amount2, t.balance2);
    }
}

}  // namespace RulesTest
