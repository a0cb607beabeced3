#include "database/Database.h"

#include <gtest/gtest.h>

using namespace Database;

namespace {
AClock FixedClock()
{
    return [] { return Dates::ALocalTime{46000, 3600000}; };
}
}  // namespace

// The names of the default currency, account and classifier are checked where the
// export writes them; here what the document does not show.
TEST(NewDatabase, HoldsTheDefaultRecordsUnmodified)
{
    ADatabase db(FixedClock());
    db.CreateDefaults();
    EXPECT_FALSE(db.Modified());
    EXPECT_FALSE(db.CanUndo());
    ASSERT_EQ(db.Folders().LiveCount(), 1u);
    EXPECT_EQ(db.Text(db.Folders().Live()[0]->Record().name), u"Все счета");
    ASSERT_EQ(db.Users().LiveCount(), 1u);
    EXPECT_EQ(db.Text(db.Users().Live()[0]->Record().name), u"Admin");
    EXPECT_EQ(db.Text(db.Users().Live()[0]->Record().password), u"");
    ASSERT_EQ(db.Settings().LiveCount(), 1u);
    EXPECT_EQ(db.Settings().Live()[0]->Record().times, 0);
    ASSERT_EQ(db.Classifiers().LiveCount(), 1u);
    EXPECT_EQ(db.Classifiers().Live()[0]->Record().separateTrees, 1);
    EXPECT_TRUE(db.Classifiers().Live()[0]->Record().root3.IsNull());
    ASSERT_EQ(db.Accounts().LiveCount(), 1u);
    EXPECT_EQ(db.Accounts().Live()[0]->Record().currency, Engine::ATableImpl<ACurrency>::RefTo(db.Currencies().Live()[0]));
    ASSERT_EQ(db.Placements().LiveCount(), 1u);
    EXPECT_EQ(db.Placements().Live()[0]->Record().folder, Engine::ATableImpl<AAccountFolder>::RefTo(db.Folders().Live()[0]));
}

TEST(NewDatabase, DefaultPagesInTheirOrderAndVisibility)
{
    ADatabase db(FixedClock());
    db.CreateDefaults();
    struct Expected {
        std::uint32_t type;
        std::u16string name;
        std::uint8_t visible;
    };
    const std::uint32_t classifierId = db.Classifiers().Live()[0]->id;
    const Expected expected[] = {
        {200, u"Счета", 1},          {201, u"Операции", 1}, {202, u"Отчёты", 1}, {204, u"Валюты", 1},
        {203, u"Классификаторы", 0}, {199, u"Бюджет", 0},   {205 + classifierId, u"Статьи", 1},
    };
    const auto& pages = db.Pages().IndexAt(2);  // by user, then position
    ASSERT_EQ(pages.size(), std::size(expected));
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const APageInfo& page = pages[i]->Record();
        EXPECT_EQ(page.type, expected[i].type) << i;
        EXPECT_EQ(db.Text(page.name), expected[i].name) << i;
        EXPECT_EQ(page.visible, expected[i].visible) << i;
        EXPECT_EQ(page.position, static_cast<std::int16_t>(i));
        EXPECT_EQ(page.user, 0);
    }
}

TEST(NewDatabase, ConvertedStartHasNoClassifierCurrencyOrAccount)
{
    ADatabase db(FixedClock());
    db.CreateDefaults({.genuine = false, .password = u"pw", .times = true, .withPages = false});
    EXPECT_EQ(db.Classifiers().LiveCount(), 0u);
    EXPECT_EQ(db.Currencies().LiveCount(), 0u);
    EXPECT_EQ(db.Accounts().LiveCount(), 0u);
    EXPECT_EQ(db.Pages().LiveCount(), 0u);
    EXPECT_EQ(db.Folders().LiveCount(), 1u);
    EXPECT_EQ(db.Text(db.Users().Live()[0]->Record().password), u"pw");
    EXPECT_EQ(db.Settings().Live()[0]->Record().times, 1);
}
