#include "rates/Rates.h"

#include "core/AStrings.h"
#include "core/FormatDate.h"
#include "database/DatabaseRules.h"
#include "database/engine/StepGuard.h"
#include "rates/AmountExpression.h"
#include "database/DeleteStep.h"
#include "rates/RateStore.h"

namespace Rates {

namespace {

using Database::ADatabase;
using Database::AMoney;

struct AAmounts {
    AMoney value1;
    AMoney value2;
};

ARefusal Refuse(int id, ARateField field) { return {id, static_cast<int>(field)}; }

// The checks that need no data file: the expressions, then the values.
std::optional<ARefusal> CheckValues(const ARateInput& input, AAmounts& amounts)
{
    const std::optional<AMoney> value1 = EvaluateAmountExpression(input.value1);
    const std::optional<AMoney> value2 = EvaluateAmountExpression(input.value2);
    if (!value1)
        return Refuse(RateText::kBadExpression, ARateField::Value1);
    if (!value2)
        return Refuse(RateText::kBadExpression, ARateField::Value2);
    if (*value1 <= 0)
        return Refuse(RateText::kNotAboveZero, ARateField::Value1);
    if (*value2 <= 0)
        return Refuse(RateText::kNotAboveZero, ARateField::Value2);
    // No rate of a currency to itself: conversions would divide it by itself.
    if (input.currency1 == input.currency2)
        return Refuse(RateText::kRateToItself, ARateField::Currency2);
    amounts = {*value1, *value2};
    return std::nullopt;
}

}  // namespace

std::optional<ARefusal> AddRate(ADatabase& db, const ARateInput& input, std::u16string_view label)
{
    AAmounts amounts{};
    if (auto refusal = CheckValues(input, amounts))
        return refusal;
    Database::Engine::AStepGuard step(db, label);
    ARateStore store(db);
    if (store.Add(input.currency1, input.currency2, input.date, amounts.value1, amounts.value2) !=
        ARateStore::AAddResult::Added) {
        db.RollBack();
        return Refuse(RateText::kDateTaken, ARateField::Date);
    }
    Database::CommitWithRules(db);
    return std::nullopt;
}

std::optional<ARefusal> ChangeRate(ADatabase& db, AReference<ARateValue> rate, const ARateInput& input,
                                   std::u16string_view label)
{
    auto* slot = db.RateValues().Get(rate);
    if (!FD_VERIFY(slot && slot->Exists()))
        return std::nullopt;
    AAmounts amounts{};
    if (auto refusal = CheckValues(input, amounts))
        return refusal;
    const Database::ARateHeader* header = db.RateHeaders().Record(slot->Record().header);
    if (!FD_VERIFY(header))
        return std::nullopt;
    Database::Engine::AStepGuard step(db, label);
    ARateStore store(db);
    if (input.date != slot->Record().date && store.HasRateOn(slot->Record().header, input.date, rate)) {
        db.RollBack();
        return Refuse(RateText::kDateTaken, ARateField::Date);
    }
    const bool reversed = header->currency1 == input.currency2 && header->currency2 == input.currency1;
    ARateValue* changed = db.RateValues().Change(slot);
    changed->date = input.date;
    changed->amount1 = reversed ? amounts.value2 : amounts.value1;
    changed->amount2 = reversed ? amounts.value1 : amounts.value2;
    Database::CommitWithRules(db);
    return std::nullopt;
}

AQuestion RateDeletionQuestion(ADatabase& db, AReference<ARateValue> rate,
                               const UtilityClasses::Strings::AStrings& strings)
{
    std::u16string first, second, date;
    if (const ARateValue* value = db.RateValues().Record(rate)) {
        if (const Database::ARateHeader* header = db.RateHeaders().Record(value->header)) {
            if (const ACurrency* c1 = db.Currencies().Record(header->currency1))
                first = db.Text(c1->name);
            if (const ACurrency* c2 = db.Currencies().Record(header->currency2))
                second = db.Text(c2->name);
        }
        date = UtilityClasses::Strings::FormatDate(value->date, strings.Locale().shortDatePicture, strings.Locale());
    }
    return {RateText::kDeleteQuestion, strings.Format(RateText::kDeleteQuestion, {first, second, date})};
}

void DeleteRate(ADatabase& db, AReference<ARateValue> rate, std::u16string_view label)
{
    Database::DeleteInOneStep(db, rate, label);
}

}  // namespace Rates
