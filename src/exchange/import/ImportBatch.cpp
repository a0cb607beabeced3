#include "exchange/import/ImportBatch.h"

namespace ExportImport {

namespace {

using Database::Engine::ATableImpl;

std::uint64_t PairKey(std::uint32_t high, std::uint32_t low) { return std::uint64_t{high} << 32 | low; }

}  // namespace

AImportBatch::AImportBatch() { Reset(); }

void AImportBatch::Reset()
{
    // The batch is never saved: its clock only stamps records nobody reads.
    db_ = std::make_unique<Database::ADatabase>([] { return Dates::ALocalTime{0, 0}; });
    db_->BeginStep();
    currencies_.clear();
    headers_.clear();
    rates_.clear();
    accounts_.clear();
    children_.clear();
    classifiers_.clear();
}

AReference<ACurrency> AImportBatch::CurrencyByCode(std::u16string_view code) const
{
    const auto found = currencies_.find(std::u16string(code));
    return found == currencies_.end() ? AReference<ACurrency>() : found->second;
}

AReference<ACurrency> AImportBatch::AddCurrency(std::u16string_view name, std::u16string_view code,
                                                std::uint32_t precision)
{
    const auto ref =
        ATableImpl<ACurrency>::RefTo(db_->Currencies().Create(ACurrency{db_->NewText(name), db_->NewText(code),
                                                                        precision}));
    currencies_.emplace(std::u16string(code), ref);
    return ref;
}

const std::u16string& AImportBatch::CurrencyCode(AReference<ACurrency> currency)
{
    static const std::u16string none;
    const ACurrency* record = db_->Currencies().Record(currency);
    return record ? db_->Text(record->code) : none;
}

std::optional<AImportBatch::AKnownRate> AImportBatch::RateOn(AReference<ACurrency> first,
                                                             AReference<ACurrency> second, ADate date)
{
    for (const bool swapped : {false, true}) {
        const auto header = headers_.find(swapped ? PairKey(second.Word(), first.Word())
                                                  : PairKey(first.Word(), second.Word()));
        if (header == headers_.end())
            continue;
        const auto rate = rates_.find(PairKey(header->second.Word(), static_cast<std::uint32_t>(date)));
        if (rate == rates_.end())
            return std::nullopt;
        const ARateValue& value = db_->RateValues().Get(rate->second)->Record();
        return swapped ? AKnownRate{value.amount2, value.amount1} : AKnownRate{value.amount1, value.amount2};
    }
    return std::nullopt;
}

void AImportBatch::AddRate(AReference<ACurrency> first, AReference<ACurrency> second, ADate date, AMoney amount1,
                           AMoney amount2)
{
    AReference<ARateHeader> header;
    bool swapped = false;
    if (const auto found = headers_.find(PairKey(first.Word(), second.Word())); found != headers_.end()) {
        header = found->second;
    } else if (const auto reversed = headers_.find(PairKey(second.Word(), first.Word())); reversed != headers_.end()) {
        header = reversed->second;
        swapped = true;
    } else {
        header = ATableImpl<ARateHeader>::RefTo(db_->RateHeaders().Create(ARateHeader{first, second}));
        headers_.emplace(PairKey(first.Word(), second.Word()), header);
    }
    ARateValue value;
    value.header = header;
    value.date = date;
    value.amount1 = swapped ? amount2 : amount1;
    value.amount2 = swapped ? amount1 : amount2;
    rates_.emplace(PairKey(header.Word(), static_cast<std::uint32_t>(date)),
                   ATableImpl<ARateValue>::RefTo(db_->RateValues().Create(value)));
}

AReference<AAccount> AImportBatch::FindAccount(std::u16string_view name, AReference<ACurrency> currency) const
{
    const auto found = accounts_.find(Private::ANamedKey{currency.Word(), std::u16string(name)});
    return found == accounts_.end() ? AReference<AAccount>() : found->second;
}

AReference<AAccount> AImportBatch::AddAccount(std::u16string_view name, AReference<ACurrency> currency,
                                              AMoney initialBalance, bool locked, std::u16string_view comment)
{
    AAccount account;
    account.name = db_->NewText(name);
    account.currency = currency;
    account.initialBalance = initialBalance;
    account.locked = locked ? 1 : 0;
    account.comment = OptionalText(comment);
    const auto ref = ATableImpl<AAccount>::RefTo(db_->Accounts().Create(account));
    accounts_.emplace(Private::ANamedKey{currency.Word(), std::u16string(name)}, ref);
    return ref;
}

AReference<AClassifier> AImportBatch::ClassifierBySingular(std::u16string_view singular)
{
    auto& db = *db_;
    for (const AReference<AClassifier> ref : classifiers_)
        if (db.Text(db.Classifiers().Record(ref)->singular) == singular)
            return ref;
    return {};
}

bool AImportBatch::HasClassifier(std::u16string_view singular, std::u16string_view plural)
{
    auto& db = *db_;
    for (const AReference<AClassifier> ref : classifiers_) {
        const AClassifier* classifier = db.Classifiers().Record(ref);
        if (db.Text(classifier->singular) == singular && db.Text(classifier->plural) == plural)
            return true;
    }
    return false;
}

AReference<AClassifier> AImportBatch::AddClassifier(const AClassifier& classifier)
{
    const auto ref = ATableImpl<AClassifier>::RefTo(db_->Classifiers().Create(classifier));
    classifiers_.push_back(ref);
    return ref;
}

AReference<ACategory> AImportBatch::AddCategory(AReference<ACategory> parent, std::u16string_view name,
                                                std::u16string_view comment)
{
    const auto ref =
        ATableImpl<ACategory>::RefTo(db_->Categories().Create(ACategory{db_->NewText(name), OptionalText(comment),
                                                                        parent}));
    // A root has no parent to be found under; the first sibling of a name is the one found.
    if (parent)
        children_.emplace(Private::ANamedKey{parent.Word(), std::u16string(name)}, ref);
    return ref;
}

AReference<ACategory> AImportBatch::ChildNamed(AReference<ACategory> parent, std::u16string_view name) const
{
    const auto found = children_.find(Private::ANamedKey{parent.Word(), std::u16string(name)});
    return found == children_.end() ? AReference<ACategory>() : found->second;
}

AReference<ATransaction> AImportBatch::AddTransaction(const ATransaction& transaction)
{
    return ATableImpl<ATransaction>::RefTo(db_->Transactions().Create(transaction));
}

void AImportBatch::Classify(AReference<ATransaction> transaction, AReference<ACategory> category)
{
    db_->Relations().Create(Database::ARelation{category, transaction});
}

AReference<Database::AString> AImportBatch::OptionalText(std::u16string_view text)
{
    return text.empty() ? AReference<Database::AString>() : db_->NewText(text);
}

std::size_t AImportBatch::RecordCount()
{
    return db_->Currencies().SlotCount() + db_->RateValues().SlotCount() + db_->Accounts().SlotCount() +
           db_->Classifiers().SlotCount() + db_->Categories().SlotCount() + db_->Transactions().SlotCount();
}

}  // namespace ExportImport
