// Currencies, rates and accounts: the items that transactions refer to.
#include "exchange/import/ImportItemReaders.h"

#include "exchange/import/ImportValues.h"

namespace ExportImport::Private {

namespace {

class ACurrencyReader : AItemReader {
public:
    using AItemReader::AItemReader;

    void Read(const XML::AElement& item)
    {
        const auto code = RequiredText(item, "code", ImportText::kCurrencyCode);
        if (!code)
            return;
        const auto name = RequiredText(item, "name", ImportText::kCurrencyName);
        if (!name)
            return;
        std::uint32_t precision = 2;
        if (const AChild child = FindChild(item, "precision"); child.Several()) {
            Fail(ImportText::kCurrencyPrecision.several, child.element);
            return;
        } else if (child.Present()) {
            const AInteger value = ParseInteger(child.element->Text());
            if (value.form != AIntegerForm::Valid || value.value > 4) {
                Fail(ImportText::kCurrencyPrecision.malformed, child.element);
                return;
            }
            precision = static_cast<std::uint32_t>(value.value);
        }
        if (context_.batch.CurrencyByCode(*code)) {
            Fail(ImportText::kCurrencyTwice, &item);
            return;
        }
        if (const ACurrency* existing = context_.dataFile.Currencies().Record(context_.dataFileIndex.Currency(*code))) {
            if (context_.dataFile.Text(existing->name) != *name)
                Warn(ImportText::kCurrencyOtherName, &item);
            if (existing->precision != precision)
                Warn(ImportText::kCurrencyOtherPrecision, &item);
        }
        context_.batch.AddCurrency(*name, *code, precision);
    }
};

class ARateReader : AItemReader {
public:
    using AItemReader::AItemReader;

    void Read(const XML::AElement& item)
    {
        std::optional<ADate> date;
        if (!OptionalDate(item, "date", ImportText::kRateDate, date))
            return;
        if (!date) {
            Fail(ImportText::kRateDate.absent, &item);
            return;
        }
        const auto amount1 = PositiveAmount(item, "amount-1");
        if (!amount1)
            return;
        const auto amount2 = PositiveAmount(item, "amount-2");
        if (!amount2)
            return;
        const AReference<ACurrency> currency1 = CurrencyReference(item, "currency-1");
        if (!currency1)
            return;
        const AReference<ACurrency> currency2 = CurrencyReference(item, "currency-2");
        if (!currency2)
            return;
        if (currency1 == currency2) {
            Fail(ImportText::kRateToItself, &item);
            return;
        }
        // A rate already known for the day, from this document or from the data file,
        // stays; an equal one is taken once.
        if (const auto known = context_.batch.RateOn(currency1, currency2, *date)) {
            if (!SameRate(*amount1, *amount2, known->amount1, known->amount2))
                Warn(ImportText::kRateChanged, &item);
            return;
        }
        const AReference<ACurrency> stored1 = context_.dataFileIndex.Currency(context_.batch.CurrencyCode(currency1));
        const AReference<ACurrency> stored2 = context_.dataFileIndex.Currency(context_.batch.CurrencyCode(currency2));
        if (stored1 && stored2 && stored1 != stored2) {
            const auto known = context_.dataFileIndex.RateOn(stored1, stored2, *date);
            if (known && !SameRate(*amount1, *amount2, known->amount1, known->amount2)) {
                Warn(ImportText::kRateChanged, &item);
                return;
            }
        }
        context_.batch.AddRate(currency1, currency2, *date, *amount1, *amount2);
    }

private:
    std::optional<AMoney> PositiveAmount(const XML::AElement& item, std::string_view name)
    {
        std::optional<AMoney> amount;
        if (!OptionalAmount(item, name, ImportText::kRateAmount, amount))
            return std::nullopt;
        if (!amount) {
            Fail(ImportText::kRateAmount.absent, &item);
            return std::nullopt;
        }
        if (*amount <= 0) {
            Fail(ImportText::kRateAmount.malformed, FindChild(item, name).element);
            return std::nullopt;
        }
        return amount;
    }
};

class AAccountReader : AItemReader {
public:
    using AItemReader::AItemReader;

    void Read(const XML::AElement& item)
    {
        const auto name = RequiredText(item, "name", ImportText::kAccountName);
        if (!name)
            return;
        const auto comment = OptionalText(item, "comment", ImportText::kAccountComment);
        if (!comment)
            return;
        std::optional<AMoney> initialBalance;
        if (!OptionalAmount(item, "init-balance", ImportText::kAccountBalance, initialBalance))
            return;
        const bool locked = HasFlag(item, "locked");
        const AReference<ACurrency> currency = CurrencyReference(item, "currency");
        if (!currency)
            return;
        if (context_.batch.FindAccount(*name, currency)) {
            Fail(ImportText::kAccountTwice, &item);
            return;
        }
        const AReference<AAccount> existingRef =
            context_.dataFileIndex.Account(*name, context_.batch.CurrencyCode(currency));
        if (const AAccount* existing = context_.dataFile.Accounts().Record(existingRef)) {
            if (initialBalance && *initialBalance != existing->initialBalance)
                Warn(ImportText::kAccountOtherBalance, FindChild(item, "init-balance").element);
            if (locked && !existing->locked)
                Warn(ImportText::kAccountCannotLock, item.FirstElement("locked"));
        }
        context_.batch.AddAccount(*name, currency, initialBalance.value_or(0), locked, *comment);
    }
};

}  // namespace

void ReadCurrencyItem(AImportReadContext& context, const XML::AElement& item) { ACurrencyReader(context).Read(item); }
void ReadRateItem(AImportReadContext& context, const XML::AElement& item) { ARateReader(context).Read(item); }
void ReadAccountItem(AImportReadContext& context, const XML::AElement& item) { AAccountReader(context).Read(item); }

}  // namespace ExportImport::Private
