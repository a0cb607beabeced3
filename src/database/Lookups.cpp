#include "database/Lookups.h"

#include "database/StepView.h"

namespace Database {

Engine::ASlot<ACategory>* RootOf(ADatabase& db, AReference<ACategory> category)
{
    auto& categories = db.Categories();
    Engine::ASlot<ACategory>* node = categories.Get(category);
    // A chain longer than the table has records loops.
    for (std::size_t steps = 0; node && node->Exists(); ++steps) {
        if (steps > categories.SlotCount())
            return nullptr;
        const AReference<ACategory> parent = node->Record().parent;
        if (parent.IsNull())
            return node;
        node = categories.Get(parent);
    }
    return nullptr;
}

Engine::ASlot<AClassifier>* ClassifierOf(ADatabase& db, AReference<ACategory> category)
{
    const Engine::ASlot<ACategory>* root = RootOf(db, category);
    if (!root)
        return nullptr;
    const auto ref = Engine::ATableImpl<ACategory>::RefTo(root);
    return FirstLive(db.Classifiers(), [&](const AClassifier& classifier) {
        return classifier.root1 == ref || classifier.root2 == ref || classifier.root3 == ref;
    });
}

bool InTransferTree(ADatabase& db, AReference<ACategory> category)
{
    const Engine::ASlot<ACategory>* root = RootOf(db, category);
    if (!root)
        return false;
    const auto ref = Engine::ATableImpl<ACategory>::RefTo(root);
    return FirstLive(db.Classifiers(), [&](const AClassifier& classifier) { return classifier.root3 == ref; }) !=
           nullptr;
}

Engine::ASlot<ACurrency>* CurrencyByCode(ADatabase& db, std::u16string_view code)
{
    return FirstLive(db.Currencies(), [&](const ACurrency& currency) { return db.Text(currency.code) == code; });
}

std::vector<AReference<AAccount>> AccountsNamed(ADatabase& db, std::u16string_view name, std::u16string_view code)
{
    std::vector<AReference<AAccount>> found;
    for (const auto* account : db.Accounts().Live()) {
        const ACurrency* currency = db.Currencies().Record(account->Record().currency);
        if (db.Text(account->Record().name) == name && currency && db.Text(currency->code) == code)
            found.push_back(Engine::ATableImpl<AAccount>::RefTo(account));
    }
    return found;
}

Engine::ASlot<ARateHeader>* RateHeaderFor(ADatabase& db, AReference<ACurrency> c1, AReference<ACurrency> c2)
{
    return FirstLive(db.RateHeaders(), [&](const ARateHeader& header) {
        return (header.currency1 == c1 && header.currency2 == c2) ||
               (header.currency1 == c2 && header.currency2 == c1);
    });
}

Engine::ASlot<AClassifier>* ClassifierByNames(ADatabase& db, std::u16string_view singular,
                                              std::u16string_view plural)
{
    return FirstLive(db.Classifiers(), [&](const AClassifier& classifier) {
        return db.Text(classifier.singular) == singular && db.Text(classifier.plural) == plural;
    });
}

Engine::ASlot<AAccountFolder>* FirstAccountPlan(ADatabase& db)
{
    Engine::ASlot<AAccountFolder>* plan =
        FirstLive(db.Folders(), [](const AAccountFolder& folder) { return folder.parent.IsNull(); });
    FD_VERIFY(plan != nullptr);
    return plan;
}

}  // namespace Database
