// The budget page: the tree of budget folders and articles with plan, fact and execution
// for the period and currency chosen in its pane, and the commands that add folders and
// articles, change them, edit an article's plans, move and delete rows.
#pragma once
#include "ui/RecordListPage.h"
#pragma push_macro("slots")
#undef slots
#include "analysis/Budget.h"
#include "analysis/BudgetEdit.h"
#pragma pop_macro("slots")

#include <memory>

namespace UserInterface::Accounts {
class ARecordPicker;
}
namespace UserInterface::Filters {
class APeriodSelector;
}

namespace UserInterface::Budget {

// The commands' ids are the ids of their captions.
namespace PageCommand {
constexpr int kAddFolder = BudgetText::kAddFolder, kAddArticle = BudgetText::kAddArticle, kPlans = 675,
              kMove = BudgetText::kMoveItem;
}

enum ABudgetColumn : int { kItemColumn = 0, kPlanColumn, kFactColumn, kBarColumn, kExecutionColumn };

class ABudgetPage final : public ARecordListPage {
public:
    static constexpr std::int16_t kPaneId = -3, kCurrencyId = -40, kHideId = 681;

    ABudgetPage(const AProgramContext& context, Database::ADatabase& db);
    ~ABudgetPage() override;

    const ABudgetParameters& Parameters() const { return parameters_; }
    void SetParameters(const ABudgetParameters& parameters);
    // The budget row of the focused line; none when the tree is empty.
    AReference<Database::ABudgetItem> Focused() const;

    void ApplyTexts() override;
    void FillActionsMenu(QMenu& menu) override;
    bool IsCommandEnabled(int command) const override;
    void RunCommand(int command) override;
    void ReadSettings(std::span<const std::uint8_t> bytes) override;
    std::vector<std::uint8_t> WriteSettings() const override;

protected:
    std::string Layout() const override;
    void Created() override;
    void Fill(Win32API::VelvixControls::Reports::AReportItemImpl& root) override;
    bool Concerns(const Database::Engine::ARecordBase& record) const override;

private:
    void ShowParameters();
    void FillCurrencies();
    bool FocusedIsArticle() const;
    // Where a new row goes: the focused folder, or the folder of the focused article.
    AReference<Database::ABudgetItem> TargetFolder() const;
    void DeleteFocused();
    void FocusItem(AReference<Database::ABudgetItem> item);

    ABudgetParameters parameters_;
    Win32API::VelvixForms::ADialogForm* pane_ = nullptr;
    std::unique_ptr<Filters::APeriodSelector> period_;
    std::unique_ptr<Accounts::ARecordPicker> currencies_;
    bool showing_ = false;
};

}  // namespace UserInterface::Budget
