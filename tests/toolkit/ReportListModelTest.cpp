#include "ReportTestItems.h"

#include "LayoutTestMetrics.h"

#include <gtest/gtest.h>

#include <random>

using namespace ReportTests;

namespace {

std::u16string Name(const AReportItemImpl* item)
{
    return item ? item->Text(0) : u"(none)";
}

std::u16string RowNames(const AReportListModel& model)
{
    std::u16string names;
    for (int r = 0; r < model.RowCount(); ++r)
        names += (r ? u" " : u"") + Name(model.Row(r));
    return names;
}

struct ReportModel : ::testing::Test {
    void Build(bool tree, bool multi)
    {
        mode = std::make_unique<ATestMode>(tree, multi);
        model = std::make_unique<AReportListModel>(mode.get());
        model->SetNotifier(log.Notifier());
    }
    // a (b (c) d) e
    void BuildTree()
    {
        Build(true, false);
        a = Add(model->Root(), u"a", 1);
        b = Add(*a, u"b", 2);
        c = Add(*b, u"c", 3);
        d = Add(*a, u"d", 4);
        e = Add(model->Root(), u"e", 5);
        model->Rebuild();
    }
    std::unique_ptr<ATestMode> mode;
    std::unique_ptr<AReportListModel> model;
    ANotificationLog log;
    ATestItem *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr, *e = nullptr;
};

TEST_F(ReportModel, RowsAreTheTreeDepthFirstBelowExpandedItems)
{
    BuildTree();
    EXPECT_EQ(RowNames(*model), u"a b c d e");
    EXPECT_EQ(c->Depth(), 2);
    EXPECT_EQ(model->RowOf(d), 3);
    b->SetExpandedFlag(false);
    model->Rebuild();
    EXPECT_EQ(RowNames(*model), u"a b d e");
    EXPECT_EQ(model->RowOf(c), -1);
    // Adding marks the rows stale until the next rebuild.
    Add(*e, u"f", 6);
    EXPECT_TRUE(model->IsStale());
    EXPECT_EQ(model->Row(0), nullptr);
    model->Rebuild();
    EXPECT_EQ(RowNames(*model), u"a b d e f");
}

TEST_F(ReportModel, FindRowSearchesTheShownColumnsAfterTheGivenRowAndGoesRound)
{
    Build(false, false);
    for (auto [name, number] : {std::pair{u"Хлеб", 12}, {u"молоко", 7}, {u"ХЛЕБНИЦА", 120}, {u"соль", 3}})
        Add(model->Root(), name, number);
    model->Rebuild();
    struct {
        std::u16string text;
        int after, row;
    } const cases[] = {
        {u"хлеб", -1, 0}, {u"хлеб", 0, 2}, {u"хлеб", 2, 0},  // case ignored, round to the top
        {u"12", 0, 2},                                          // "120" in the number column
        {u"соль", 3, 3},                                        // the row itself comes last
        {u"сахар", 1, -1}, {u"", 1, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(model->FindRow(c.text, c.after), c.row) << c.after;
    mode->SetColumnShown(1, false);
    mode->SetColumnShown(2, false);
    EXPECT_EQ(model->FindRow(u"7", -1), -1);  // hidden columns are not searched
}

TEST_F(ReportModel, ListsSortByTheSortColumnTreesDoNot)
{
    Build(false, false);
    const int numbers[] = {30, 4, 200, 4, 17};
    const char16_t* names[] = {u"x", u"b", u"a", u"c", u"y"};
    for (int i = 0; i < 5; ++i)
        Add(model->Root(), names[i], numbers[i]);
    struct Case { std::int8_t sort; const char16_t* rows; };
    const Case cases[] = {
        {0, u"x b a c y"},
        {1, u"a b c x y"},
        {-1, u"y x c b a"},
        {2, u"b c y x a"},   // by number; equal numbers keep their order
        {-2, u"a x y b c"},
    };
    for (const Case& cs : cases) {
        mode->SetSortColumn(cs.sort);
        model->Rebuild();
        EXPECT_EQ(RowNames(*model), cs.rows) << int(cs.sort);
    }
    mode->SetSortColumn(9);  // beyond the columns: unsorted
    EXPECT_EQ(mode->SortColumn(), 0);

    BuildTree();
    mode->SetSortColumn(-1);
    model->Rebuild();
    EXPECT_EQ(RowNames(*model), u"a b c d e");
}

TEST_F(ReportModel, OneRowListKeepsTheFocusOnPageDownAndEnd)
{
    Build(false, false);
    Add(model->Root(), u"only", 1);
    model->Rebuild();
    for (AReportKey key : {AReportKey::Down, AReportKey::PageDown, AReportKey::End, AReportKey::PageUp,
                           AReportKey::Up, AReportKey::Home}) {
        model->HandleKey(key, false, false, 10, false);
        EXPECT_EQ(model->Focus(), 0);
        EXPECT_TRUE(model->Row(0)->IsSelected());
    }
    EXPECT_EQ(log.Count(kNotifySelectionChanged), 1);  // only the first move changed anything
    model->Clear();
    EXPECT_EQ(model->Focus(), -1);
}

TEST_F(ReportModel, LeftAndRightScrollAListWithAScrollBarAndAnEmptyListIgnoresKeys)
{
    Build(false, false);
    for (int i = 0; i < 30; ++i)
        Add(model->Root(), u"r", i);
    model->Rebuild();
    model->FocusRow(0);
    EXPECT_EQ(model->HandleKey(AReportKey::Left, false, false, 7, true), AKeyOutcome::ScrollLeft);
    EXPECT_EQ(model->HandleKey(AReportKey::Right, false, false, 7, true), AKeyOutcome::ScrollRight);
    EXPECT_EQ(model->Focus(), 0);

    Build(false, false);
    model->Rebuild();
    EXPECT_EQ(model->HandleKey(AReportKey::Down, false, false, 7, false), AKeyOutcome::Ignored);
    EXPECT_EQ(model->Focus(), -1);
}

TEST_F(ReportModel, RemovingTheFocusedItemClearsTheFocusAndNotifies)
{
    Build(false, false);
    Add(model->Root(), u"a", 1);
    ATestItem* second = Add(model->Root(), u"b", 2);
    ATestItem* third = Add(model->Root(), u"c", 3);
    model->Rebuild();
    model->FocusRow(2);
    log.codes.clear();

    // Another item goes: the focus follows its item to its new row, nothing is reported.
    model->Root().TakeChild(second);
    model->Rebuild();
    EXPECT_EQ(model->Focus(), 1);
    EXPECT_EQ(model->FocusedItem(), third);
    EXPECT_TRUE(log.codes.empty());

    auto taken = model->Root().TakeChild(third);
    taken.reset();
    model->Rebuild();
    EXPECT_EQ(model->Focus(), -1);
    EXPECT_EQ(log.codes, std::vector<int>{kNotifySelectionChanged});
    EXPECT_TRUE(model->SelectedItems().empty());
    model->Rebuild();
    EXPECT_EQ(log.codes.size(), 1u);  // once only
}

TEST_F(ReportModel, DeletingASubtreeWithTheFocusInsideClearsIt)
{
    BuildTree();
    model->FocusRow(model->RowOf(c));
    log.codes.clear();
    a->DeleteChildren();
    model->Rebuild();
    EXPECT_EQ(RowNames(*model), u"a e");
    EXPECT_EQ(model->Focus(), -1);
    EXPECT_EQ(log.Count(kNotifySelectionChanged), 1);

    model->FocusRow(1);
    model->DeleteAllItems();
    EXPECT_EQ(model->RowCount(), 0);
    EXPECT_EQ(model->Focus(), -1);
    EXPECT_EQ(log.Count(kNotifySelectionChanged), 3);
}

TEST_F(ReportModel, CollapsingOverTheFocusBringsItUp)
{
    BuildTree();
    model->FocusRow(model->RowOf(c));
    log.codes.clear();
    model->SetExpanded(*a, false);
    EXPECT_EQ(model->FocusedItem(), a);
    EXPECT_TRUE(a->IsSelected());
    EXPECT_FALSE(c->IsSelected());
    EXPECT_EQ(log.Count(kNotifySelectionChanged), 1);
}

TEST_F(ReportModel, MakeVisibleExpandsTheAncestors)
{
    BuildTree();
    a->SetExpandedFlag(false);
    b->SetExpandedFlag(false);
    model->Rebuild();
    model->MakeVisible(*c);
    EXPECT_EQ(model->FocusedItem(), c);
    EXPECT_TRUE(a->IsExpanded() && b->IsExpanded());
}

TEST_F(ReportModel, PickerListReportsNoSelectionChanges)
{
    Build(false, false);
    Add(model->Root(), u"a", 1);
    model->SetPickerList(true);
    model->Rebuild();
    model->FocusRow(0);
    EXPECT_TRUE(log.codes.empty());
}

TEST(ReportMode, StateRoundTripAndDamagedStates)
{
    ATestMode mode(false, false);
    mode.SetSortColumn(-2);
    mode.SetColumnWidth(0, 321);
    mode.SetColumnWidth(2, 70000);  // kept in 16 bits
    EXPECT_TRUE(mode.SetColumnShown(1, false));
    std::vector<std::uint8_t> state = mode.SaveState();
    ASSERT_EQ(state.size(), 1u + 3 * 3);

    ATestMode loaded(false, false);
    loaded.LoadState(state);
    EXPECT_EQ(loaded.SortColumn(), -2);
    EXPECT_EQ(loaded.Column(0).width, 321);
    EXPECT_EQ(loaded.Column(2).width, 0xFFFF);
    EXPECT_FALSE(loaded.Column(1).shown);
    EXPECT_EQ(loaded.SaveState(), state);

    // A sort column beyond the columns is ignored.
    std::vector<std::uint8_t> wide = state;
    wide[0] = 4;
    ATestMode ignoring(false, false);
    ignoring.SetSortColumn(1);
    ignoring.LoadState(wide);
    EXPECT_EQ(ignoring.SortColumn(), 1);

    // Cut anywhere, the rest stays; never every column hidden.
    std::vector<std::uint8_t> hidden = {0, 10, 0, 0, 10, 0, 0, 10, 0, 0};
    for (std::size_t cut = 0; cut <= hidden.size(); ++cut) {
        ATestMode m(false, false);
        m.LoadState(std::span(hidden.data(), cut));
        EXPECT_GE(m.ShownColumnCount(), 1) << cut;
    }
    std::mt19937 random(7);
    for (int round = 0; round < 500; ++round) {
        std::vector<std::uint8_t> bytes(random() % 16);
        for (auto& byte : bytes)
            byte = static_cast<std::uint8_t>(random());
        ATestMode m(false, false);
        m.LoadState(bytes);
        EXPECT_GE(m.ShownColumnCount(), 1);
        EXPECT_LE(m.SortIndex(), m.ColumnCount() - 1);
    }
}

TEST(ReportMode, LastShownColumnCannotBeHidden)
{
    ATestMode mode(false, false);
    EXPECT_TRUE(mode.SetColumnShown(0, false));
    EXPECT_TRUE(mode.SetColumnShown(2, false));
    EXPECT_FALSE(mode.SetColumnShown(1, false));
    EXPECT_TRUE(mode.Column(1).shown);
    EXPECT_TRUE(mode.SetColumnShown(1, true));  // showing a shown one is fine
}

TEST(ReportMode, TitleOfAMissingColumnReachesTheAssertionRoutine)
{
    LayoutTests::AAssertionRecorder recorder;
    ATestMode mode(false, false);
    EXPECT_EQ(mode.ColumnTitle(1), u"Число");
    EXPECT_TRUE(recorder.reports.empty());
    EXPECT_EQ(mode.ColumnTitle(3), u"");
    EXPECT_EQ(mode.ColumnTitle(-1), u"");
    EXPECT_EQ(recorder.reports.size(), 2u);
}

TEST(ReportModelDepth, DeepTreesNeitherRecurseNorCrash)
{
    ATestMode mode(true, false);
    auto model = std::make_unique<AReportListModel>(&mode);
    AReportItemImpl* parent = &model->Root();
    for (int i = 0; i < 20000; ++i)
        parent = Add(*parent, u"n", i);
    model->Rebuild();
    EXPECT_EQ(model->RowCount(), 20000);
    model->FocusRow(19999);
    model->SetExpanded(*model->Row(0), false);
    EXPECT_EQ(model->Focus(), 0);
    model->DeleteAllItems();
    EXPECT_EQ(model->RowCount(), 0);
}

// An item that also gives sort keys, to check the fast path orders exactly like Compare.
class AKeyedItem : public ATestItem {
public:
    using ATestItem::ATestItem;
    bool SortKey(int column, ASortKey& key) const override
    {
        if (column == 1) {
            key.number = Data();
            return true;
        }
        if (column != 0)
            return false;
        text_ = Text(0);
        key.text = text_;
        return true;
    }

private:
    mutable std::u16string text_;
};

TEST(ReportModelSorting, SortKeysOrderExactlyAsTheComparison)
{
    std::mt19937 random(11);
    const std::u16string alphabet = u"abАБяЯ\u00e9\uffff\u0100z";
    for (int round = 0; round < 20; ++round) {
        ATestMode keyedMode(false, false), plainMode(false, false);
        AReportListModel keyed(&keyedMode), plain(&plainMode);
        for (int i = 0; i < 300; ++i) {
            // Short texts, long texts with shared prefixes, empty ones, equal ones.
            std::u16string name;
            std::size_t length = random() % 3 == 0 ? random() % 4 : 4 + random() % 8;
            for (std::size_t k = 0; k < length; ++k)
                name += alphabet[k < 4 && random() % 2 ? 0 : random() % alphabet.size()];
            int number = static_cast<int>(random() % 20) - 10;
            keyed.Root().AddChild(std::make_unique<AKeyedItem>(name, number));
            plain.Root().AddChild(std::make_unique<ATestItem>(name, number));
        }
        for (std::int8_t sort : {1, -1, 2, -2}) {
            keyedMode.SetSortColumn(sort);
            plainMode.SetSortColumn(sort);
            keyed.Rebuild();
            plain.Rebuild();
            for (int r = 0; r < 300; ++r) {
                ASSERT_EQ(keyed.Row(r)->Text(0), plain.Row(r)->Text(0)) << int(sort) << " row " << r;
                ASSERT_EQ(keyed.Row(r)->Text(1), plain.Row(r)->Text(1)) << int(sort) << " row " << r;
                ASSERT_EQ(keyed.RowOf(keyed.Row(r)), r);
            }
        }
    }
}

}  // namespace
