#include "ui/PageList.h"

#include "database/DatabaseTexts.h"

namespace UserInterface {

using namespace Database;

std::vector<APageEntry> UserPages(ADatabase& db)
{
    std::vector<APageEntry> pages;
    int position = 0;
    for (const auto* slot : db.Pages().IndexAt(2)) {
        const APageInfo& page = slot->Record();
        if (static_cast<std::uint8_t>(page.user) != db.currentUser)
            continue;
        pages.push_back({slot->id, page.type, db.Text(page.name), position++, page.visible != 0});
    }
    return pages;
}

std::vector<APageEntry> VisiblePages(ADatabase& db)
{
    std::vector<APageEntry> pages = UserPages(db);
    std::erase_if(pages, [](const APageEntry& page) { return !page.visible; });
    return pages;
}

Engine::ASlot<AClassifier>* CategoriesPageClassifier(ADatabase& db, std::uint32_t type)
{
    if (type < APageInfo::kCategoriesBase)
        return nullptr;
    auto* slot = db.Classifiers().Find(type - APageInfo::kCategoriesBase);
    return slot && slot->Exists() ? slot : nullptr;
}

std::u16string PageTypeCaption(ADatabase& db, const UtilityClasses::Strings::AStrings& strings, std::uint32_t type)
{
    switch (type) {
    case APageInfo::kAccounts: return std::u16string(strings.Text(RecordKindText::kAccounts));
    case APageInfo::kTransactions: return std::u16string(strings.Text(RecordKindText::kTransactions));
    case APageInfo::kReports: return std::u16string(strings.Text(RecordKindText::kReports));
    case APageInfo::kClassifiers: return std::u16string(strings.Text(RecordKindText::kClassifiers));
    case APageInfo::kCurrencies: return std::u16string(strings.Text(RecordKindText::kCurrencies));
    case APageInfo::kBudget: return std::u16string(strings.Text(RecordKindText::kBudget));
    default: break;
    }
    if (auto* classifier = CategoriesPageClassifier(db, type))
        return db.Text(classifier->Record().plural);
    return {};
}

std::int16_t PageElementId(std::uint32_t recordId, const std::set<std::int16_t>& taken)
{
    if (recordId <= 32767)
        return static_cast<std::int16_t>(-static_cast<std::int32_t>(recordId));
    for (std::int32_t id = -32768; id < -16; id += 2)
        if (!taken.contains(static_cast<std::int16_t>(id)))
            return static_cast<std::int16_t>(id);
    return 0;
}

}  // namespace UserInterface
