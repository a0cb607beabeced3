#include "database/RuleChecks.h"

namespace Database {

namespace {

// Whether a live record other than self satisfies the predicate.
template <class T, class Predicate>
bool AnotherLive(Engine::ATableImpl<T>& table, AReference<T> self, Predicate predicate)
{
    for (std::size_t i = 0; i < table.SlotCount(); ++i) {
        const Engine::ASlot<T>& slot = table.SlotAt(i);
        if (slot.Exists() && Engine::ATableImpl<T>::RefTo(&slot) != self && predicate(slot.Record()))
            return true;
    }
    return false;
}

}  // namespace

std::optional<int> CheckCurrencyCode(ADatabase& db, std::u16string_view code, AReference<ACurrency> self)
{
    if (AnotherLive(db.Currencies(), self, [&](const ACurrency& c) { return db.Text(c.code) == code; }))
        return RuleMessage::kCurrencyCodeTaken;
    return std::nullopt;
}

std::optional<int> CheckClassifierNames(ADatabase& db, std::u16string_view singular, std::u16string_view plural,
                                        AReference<AClassifier> self)
{
    auto& classifiers = db.Classifiers();
    if (AnotherLive(classifiers, self, [&](const AClassifier& c) { return db.Text(c.singular) == singular; }))
        return RuleMessage::kClassifierSingularTaken;
    if (AnotherLive(classifiers, self, [&](const AClassifier& c) { return db.Text(c.plural) == plural; }))
        return RuleMessage::kClassifierPluralTaken;
    return std::nullopt;
}

std::optional<int> CheckAccountPlanName(ADatabase& db, std::u16string_view name, AReference<AAccountFolder> self)
{
    if (AnotherLive(db.Folders(), self,
                    [&](const AAccountFolder& f) { return f.parent.IsNull() && db.Text(f.name) == name; }))
        return RuleMessage::kAccountPlanNameTaken;
    return std::nullopt;
}

std::optional<int> CheckNoBackslash(std::u16string_view name)
{
    if (name.find(u'\\') != std::u16string_view::npos)
        return RuleMessage::kBackslashInName;
    return std::nullopt;
}

std::optional<int> CheckRatePair(AReference<ACurrency> currency1, AReference<ACurrency> currency2)
{
    if (currency1 == currency2)
        return RuleMessage::kRateToItself;
    return std::nullopt;
}

}  // namespace Database
