// The currency dialog's checks in their order, storing, and the deletion question.
#include "core/AStrings.h"
#include "database/RulesTestSupport.h"
#include "rates/Currencies.h"

namespace RatesTest {
namespace {

using namespace RulesTest;
using Rates::ACurrencyField;
using Rates::ACurrencyInput;
using Rates::ACurrencyValues;
using Rates::CurrencyText::kCodeEmpty;
using Rates::CurrencyText::kCodeTaken;
using Rates::CurrencyText::kDecimalsOutOfRange;
using Rates::CurrencyText::kNameAndCodeEmpty;
using Rates::CurrencyText::kNameEmpty;

class CurrencyDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        books.Step([&] { usd = books.AddCurrency(u"USD"); });
    }
    TBooks books;
    AReference<ACurrency> usd;
    const UtilityClasses::Strings::AStrings strings{UtilityClasses::Strings::RussianLocale()};
};

TEST_F(CurrencyDialogTest, ChecksInOrderWithMessageAndFocus)
{
    const struct {
        const char* what;
        ACurrencyInput input;
        int message;  // 0: accepted
        ACurrencyField focus;
    } cases[] = {
        {"all empty", {u"", u"", u"9"}, kNameAndCodeEmpty, ACurrencyField::Name},
        {"blanks only", {u"   ", u" ", u"2"}, kNameAndCodeEmpty, ACurrencyField::Name},
        {"no name", {u"", u"EUR", u"2"}, kNameEmpty, ACurrencyField::Name},
        {"no code", {u"Евро", u"  ", u"x"}, kCodeEmpty, ACurrencyField::Code},
        {"code taken before decimals", {u"Доллар", u"USD", u"7"}, kCodeTaken, ACurrencyField::Code},
        {"code taken after trimming", {u"Доллар", u" USD ", u"2"}, kCodeTaken, ACurrencyField::Code},
        {"code in other case", {u"Доллар", u"usd", u"2"}, 0, ACurrencyField::Name},
        {"decimals 5", {u"Евро", u"EUR", u"5"}, kDecimalsOutOfRange, ACurrencyField::Decimals},
        {"decimals -1", {u"Евро", u"EUR", u"-1"}, kDecimalsOutOfRange, ACurrencyField::Decimals},
        {"decimals empty", {u"Евро", u"EUR", u""}, kDecimalsOutOfRange, ACurrencyField::Decimals},
        {"decimals not a number", {u"Евро", u"EUR", u"2a"}, kDecimalsOutOfRange, ACurrencyField::Decimals},
        {"decimals huge", {u"Евро", u"EUR", u"4294967298"}, kDecimalsOutOfRange, ACurrencyField::Decimals},
        {"decimals 0", {u"Евро", u"EUR", u"0"}, 0, ACurrencyField::Name},
        {"decimals 4 with blanks", {u"Евро", u"EUR", u" 4 "}, 0, ACurrencyField::Name},
    };
    for (const auto& c : cases) {
        ACurrencyInput input = c.input;
        ACurrencyValues values;
        const auto refusal = Rates::CheckCurrencyDialog(books.db, input, {}, values);
        if (c.message == 0) {
            EXPECT_FALSE(refusal.has_value()) << c.what;
        } else {
            ASSERT_TRUE(refusal.has_value()) << c.what;
            EXPECT_EQ(refusal->messageId, c.message) << c.what;
            EXPECT_EQ(refusal->field, static_cast<int>(c.focus)) << c.what;
        }
    }
}

TEST_F(CurrencyDialogTest, TrimsAndAcceptsItsOwnCode)
{
    ACurrencyInput input{u"  Доллар   США ", u" USD", u"3"};
    ACurrencyValues values;
    EXPECT_FALSE(Rates::CheckCurrencyDialog(books.db, input, usd, values).has_value());
    EXPECT_EQ(input.name, u"Доллар США");
    EXPECT_EQ(values.name, u"Доллар США");
    EXPECT_EQ(values.code, u"USD");
    EXPECT_EQ(values.precision, 3u);
}

TEST_F(CurrencyDialogTest, AddingStoresTextsAndPrecisionAsOneStep)
{
    const auto eur = Rates::AddCurrency(books.db, {u"Евро", u"EUR", 0}, strings.Text(Rates::CurrencyText::kAdd));
    const ACurrency* record = books.db.Currencies().Record(eur);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(books.db.Text(record->name), u"Евро");
    EXPECT_EQ(books.db.Text(record->code), u"EUR");
    EXPECT_EQ(record->precision, 0u);
    EXPECT_EQ(books.db.UndoLabel(), u"Добавить валюту");
    ASSERT_TRUE(books.db.Undo());
    EXPECT_EQ(CurrencyByCode(books.db, u"EUR"), nullptr);
}

TEST_F(CurrencyDialogTest, ChangingRewritesOnlyWhatDiffers)
{
    const ACurrency before = *books.db.Currencies().Record(usd);
    const std::size_t textsBefore = books.db.Strings().SlotCount();
    EXPECT_TRUE(Rates::ChangeCurrency(books.db, usd, {u"Доллар", u"USD", 2}, u"Изменить валюту"));
    // The name text changed in place: no new text, the code untouched, the record unchanged.
    EXPECT_EQ(books.db.Strings().SlotCount(), textsBefore);
    EXPECT_EQ(books.db.Text(books.db.Currencies().Record(usd)->name), u"Доллар");
    EXPECT_EQ(books.db.Currencies().Record(usd)->name, before.name);
    EXPECT_EQ(books.db.Currencies().Get(usd)->VersionCount(), 1);
    EXPECT_TRUE(Rates::ChangeCurrency(books.db, usd, {u"Доллар", u"USD", 4}, u"Изменить валюту"));
    EXPECT_EQ(books.db.Currencies().Record(usd)->precision, 4u);
    // Nothing different: no step at all.
    EXPECT_FALSE(Rates::ChangeCurrency(books.db, usd, {u"Доллар", u"USD", 4}, u"Изменить валюту"));
    ASSERT_TRUE(books.db.Undo());
    EXPECT_EQ(books.db.Currencies().Record(usd)->precision, 2u);
    ASSERT_TRUE(books.db.Undo());
    EXPECT_EQ(books.db.Text(books.db.Currencies().Record(usd)->name), u"USD name");
}

TEST_F(CurrencyDialogTest, DeletionQuestionCountsAccountsAndTheirTransactions)
{
    const auto unused = Rates::CurrencyDeletionQuestion(books.db, usd, strings);
    EXPECT_EQ(unused.messageId, Rates::CurrencyText::kDeleteUnused);
    EXPECT_EQ(unused.text, u"Вы действительно хотите удалить\r\nвалюту \"USD name\"?");

    books.Step([&] {
        const auto wallet = books.AddAccount(u"Кошелёк", usd);
        const auto bank = books.AddAccount(u"Банк", usd);
        books.Add(TBooks::Single(wallet, M(5), 46000));
        books.Add(TBooks::Single(bank, M(-5), 46001));
        // A transfer between two of its accounts counts once; one with a rouble account too.
        books.Add(TBooks::Transfer(wallet, M(1), bank, M(1), 46002));
        books.Add(TBooks::Transfer(books.cash, M(90), wallet, M(1), 46003));
        books.Add(TBooks::Single(books.cash, M(7), 46004));
    });
    const auto used = Rates::CurrencyDeletionQuestion(books.db, usd, strings);
    EXPECT_EQ(used.messageId, Rates::CurrencyText::kDeleteWithAccounts);
    EXPECT_EQ(used.text, strings.Format(Rates::CurrencyText::kDeleteWithAccounts, {u"USD name", 2, 4}));
}

TEST_F(CurrencyDialogTest, DeletingTakesAccountsAndRatesAlongInOneStep)
{
    books.Step([&] {
        books.AddAccount(u"Кошелёк", usd);
        const auto header = ATableImpl<ARateHeader>::RefTo(books.db.RateHeaders().Create(ARateHeader{books.rur, usd}));
        books.db.RateValues().Create(ARateValue{header, 46000, M(90), M(1)});
    });
    const std::size_t accounts = books.db.Accounts().LiveCount();
    Rates::DeleteCurrency(books.db, usd, u"Удалить валюту");
    EXPECT_EQ(books.db.Currencies().Record(usd), nullptr);
    EXPECT_EQ(books.db.Accounts().LiveCount(), accounts - 1);
    EXPECT_EQ(books.db.RateValues().LiveCount(), 0u);
    ASSERT_TRUE(books.db.Undo());
    EXPECT_EQ(books.db.Accounts().LiveCount(), accounts);
    EXPECT_EQ(books.db.RateValues().LiveCount(), 1u);
}

}  // namespace
}  // namespace RatesTest
