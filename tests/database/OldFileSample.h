// A small previous-generation file with a record of every kind, for the conversion
// and damage tests. Lists are linked in an order that differs from the order of the
// records in the file, so that the tests see which order each step follows.
#pragma once

#include "OldFileBuilder.h"

#include "core/ADate.h"

struct OldFileSample {
    OldFileBuilder file;
    std::uint32_t rur, usd, eur;
    std::uint32_t rate1, rate2, rate3;
    std::uint32_t wallet, card;
    std::uint32_t expenseRoot, food, incomeRoot, salary, gifts, fromParents, agentRoot, shop, projectRoot, repair;
    std::uint32_t t0, t1, t2, t3, t4, t5;

    static double Ole(int year, int month, int day, double fraction = 0)
    {
        return Dates::FromYmd(year, month, day) + fraction;
    }

    // Monthly on the 15th, active, ending after 3 occurrences.
    static constexpr std::uint32_t kMonthlyWord = 1u | 2u << 1 | 15u << 11 | 1u << 23 | 1u << 30;

    explicit OldFileSample(std::uint32_t passwordCheck = 0, std::uint32_t codePage = 1251, bool withAgents = true)
    {
        file.SetCodePage(codePage);
        file.Put32(OldFileBuilder::kPasswordCheck, passwordCheck);
        rur = file.Currency(u"Рубли", u"RUR");
        usd = file.Currency(u"Доллары", u"USD");
        eur = file.Currency(u"Евро", u"EUR");
        file.List(OldFileBuilder::kFirstCurrency, {eur, rur, usd}, 0);

        rate1 = file.Rate(Ole(2020, 1, 10, 0.75), 10000, 300000, usd, rur);
        rate2 = file.Rate(Ole(2020, 2, 1), 700000, 10000, rur, usd);
        rate3 = file.Rate(Ole(2020, 1, 15), 10000, 350000, eur, rur);
        file.List(OldFileBuilder::kFirstRate, {rate3, rate2, rate1}, 36);

        wallet = file.Account(u"Кошелёк", rur);
        card = file.Account(u"Карта", usd);
        file.List(OldFileBuilder::kFirstAccount, {card, wallet}, 0);

        expenseRoot = file.Category(u"Все расходы");
        food = file.Category(u"Еда", u"и напитки");
        incomeRoot = file.Category(u"Все доходы", u"корень");
        salary = file.Category(u"Зарплата");
        gifts = file.Category(u"Подарки");
        fromParents = file.Category(u"От родителей");
        agentRoot = file.Category(u"Все агенты");
        shop = file.Category(u"Магазин");
        projectRoot = file.Category(u"Все проекты");
        repair = file.Category(u"Ремонт");
        file.Children(expenseRoot, {food});
        file.Children(incomeRoot, {gifts, salary});
        file.Children(gifts, {fromParents});
        if (withAgents)
            file.Children(agentRoot, {shop});
        file.Children(projectRoot, {repair});
        file.Put32(OldFileBuilder::kIncomeRoot, incomeRoot);
        file.Put32(OldFileBuilder::kExpenseRoot, expenseRoot);
        file.Put32(OldFileBuilder::kAgentRoot, agentRoot);
        file.Put32(OldFileBuilder::kProjectRoot, projectRoot);

        file.NewPage();
        t0 = file.Transaction(OldFileBuilder::Single{.when = Ole(2020, 1, 10, 0.5), .account = wallet,
                                                     .amount = 500000, .balance = 500000, .item = salary,
                                                     .agent = shop, .project = repair, .comment = u"январь"});
        // The same moment as t0: it moves on by a millisecond.
        t1 = file.Transaction(OldFileBuilder::Single{.when = Ole(2020, 1, 10, 0.5), .account = wallet,
                                                     .amount = -120000, .balance = 380000, .item = food,
                                                     .agent = shop, .locked = true});
        t2 = file.Transaction(OldFileBuilder::Transfer{.when = Ole(2020, 1, 11, 0.25), .from = wallet, .to = card,
                                                       .amount1 = -300000, .amount2 = 10000, .balance1 = 80000,
                                                       .balance2 = 10000, .project = repair});
        // Planned; its agent word names an expense item, which no agent relation takes.
        t3 = file.Transaction(OldFileBuilder::Single{.when = Ole(2020, 2, 15), .account = wallet, .amount = -50000,
                                                     .balance = 30000, .item = food, .agent = food,
                                                     .executed = false, .comment = u"аренда",
                                                     .recurrence = {kMonthlyWord, 3, 0}});
        // Before 1899-12-30: the day counts towards zero, the time from the fraction's size.
        t4 = file.Transaction(OldFileBuilder::Single{.when = -1.25, .account = card, .amount = 5000, .balance = 5000,
                                                     .item = incomeRoot});
        t5 = file.Transaction(OldFileBuilder::Transfer{.when = Ole(2020, 3, 1), .from = card, .to = wallet,
                                                       .amount1 = -100, .amount2 = 3000, .executed = false,
                                                       .recurrence = {kMonthlyWord & ~(1u << 30), 0, 45000}});
        // The tree: down the word at 72 from the root, then the word at 96, reaches t4.
        file.Put32(OldFileBuilder::kTransactionRoot, t3);
        file.Put32(t3 + 72, t1);
        file.Put32(t1 + 96, t4);
        file.List(0, {t4, t0, t1, t2, t3, t5}, 92);
        // List() wrote the first one into offset 0, which belongs to no field.
        file.Put32(0, 0);
    }

    const std::vector<std::uint8_t>& Bytes() const { return file.Bytes(); }
};
