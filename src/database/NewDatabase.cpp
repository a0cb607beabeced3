// The contents of a new database.
#include "database/Database.h"

namespace Database {

namespace {
using Engine::ATableImpl;
}

AReference<AString> ADatabase::NewText(std::u16string_view text)
{
    return ATableImpl<AString>::RefTo(Strings().Create(AString{std::u16string(text)}));
}

void ADatabase::CreateDefaults(const ANewDatabaseOptions& options)
{
    BeginStep();
    AAccountFolder plan;
    plan.name = NewText(u"Все счета");
    auto* planSlot = Folders().Create(plan);

    AUser user;
    user.name = NewText(u"Admin");
    user.password = NewText(options.password);
    Users().Create(user);

    ADBSettings settings;
    settings.times = options.times ? 1 : 0;
    Settings().Create(settings);

    if (options.genuine) {
        ACategory income{NewText(u"Все статьи прихода"), {}, {}};
        ACategory expense{NewText(u"Все статьи расхода"), {}, {}};
        AClassifier classifier;
        classifier.singular = NewText(u"Статья");
        classifier.plural = NewText(u"Статьи");
        classifier.root1 = ATableImpl<ACategory>::RefTo(Categories().Create(income));
        classifier.root2 = ATableImpl<ACategory>::RefTo(Categories().Create(expense));
        classifier.separateTrees = 1;
        Classifiers().Create(classifier);

        ACurrency currency{NewText(u"Российские рубли"), NewText(u"RUR"), 2};
        auto* currencySlot = Currencies().Create(currency);
        AAccount account;
        account.name = NewText(u"Наличные");
        account.currency = ATableImpl<ACurrency>::RefTo(currencySlot);
        auto* accountSlot = Accounts().Create(account);
        Placements().Create(
            AAccountPlacement{ATableImpl<AAccount>::RefTo(accountSlot), ATableImpl<AAccountFolder>::RefTo(planSlot)});
    }
    if (options.withPages)
        CreateDefaultPages();
    CommitStep();
    ClearHistory();
}

void ADatabase::CreateDefaultPages()
{
    struct AFixedPage {
        std::uint32_t type;
        const char16_t* name;
        bool visible;
    };
    static constexpr AFixedPage kPages[] = {
        {APageInfo::kAccounts, u"Счета", true},        {APageInfo::kTransactions, u"Операции", true},
        {APageInfo::kReports, u"Отчёты", true},        {APageInfo::kCurrencies, u"Валюты", true},
        {APageInfo::kClassifiers, u"Классификаторы", false}, {APageInfo::kBudget, u"Бюджет", false},
    };
    std::int16_t position = 0;
    auto addPage = [&](std::uint32_t type, std::u16string_view name, bool visible) {
        APageInfo page;
        page.type = type;
        page.name = NewText(name);
        page.position = position++;
        page.user = 0;
        page.visible = visible ? 1 : 0;
        Pages().Create(page);
    };
    for (const AFixedPage& page : kPages)
        addPage(page.type, page.name, page.visible);
    // Classifiers created in this very step are not in the indexes yet: walk every slot.
    auto& classifiers = Classifiers();
    for (std::size_t i = 0; i < classifiers.SlotCount(); ++i) {
        auto& slot = classifiers.SlotAt(i);
        if (slot.Exists())
            addPage(APageInfo::kCategoriesBase + slot.id, Text(slot.Record().plural), true);
    }
}

}  // namespace Database
