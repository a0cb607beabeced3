#include "ui/exchange/CategoryRulesDialog.h"

#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/StandardDialog.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/exchange/StatementChoosers.h"
#include "ui/exchange/StatementTexts.h"
#include "ui/exchange/WizardTexts.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace UserInterface::Exchange {

using namespace ExportImport::Statements;
using Win32API::VelvixControls::Reports::AReportWindow;
namespace Text = StatementText;

namespace {

constexpr std::int16_t kCaption = -1, kList = -2, kTextCaption = -3, kText = -4, kCategories = -5, kAdd = -6,
                       kRemove = -7, kFirstChooserId = -20;
constexpr const char* kLayout =
    "{t1xeyt{bxl[s#-1]}{bt2W420H130We[Rt#-2]}{t2t8xe{bxr[s#-3]}{bl4We[et#-4]}}{t2#-5t2xe}"
    "{t2t6xr{bW100[bt#-6]}{bl4W100[bt#-7]}}}";

class ACategoryRulesDialog final : public UtilityForms::AStandardDialog {
public:
    ACategoryRulesDialog(const AProgramContext& context, QWidget* parent, Database::ADatabase& db)
        : AStandardDialog(context, 0, kLayout, parent), db_(db), store_(context.Options().Store()), mode_(context, false)
    {
        rules_ = store_.All();
        choosers_ = std::make_unique<AClassifierChoosers>(Form(), kCategories, kFirstChooserId, context, db,
                                                          Text::kRuleCategoryOf);
        mode_.AddComputedColumn([] { return std::u16string(Text::kRuleTextColumn); }, 160, false);
        mode_.AddComputedColumn([] { return std::u16string(Text::kCategoriesColumn); }, 260, false);
        List()->SetMode(&mode_);
        ApplyTexts();
        Fill();
        QObject::connect(List(), &AReportWindow::Notify, this, [this](int code, bool*) {
            const auto* item = List()->Model().FocusedItem();
            if (code == Win32API::VelvixControls::Reports::kNotifySelectionChanged && item && item->RecordId() < rules_.size())
                Show(rules_[item->RecordId()]);
        });
        QObject::connect(&Form(), &Win32API::VelvixForms::ADialogForm::Command, this, [this](int id) {
            if (id == kAdd)
                Add();
            else if (id == kRemove)
                Remove();
        });
    }

    void ApplyTexts() override
    {
        AStandardDialog::ApplyTexts();
        setWindowTitle(ToQString(Text::kRulesTitle));
        Form().ControlAs<QLabel>(kCaption)->setText(ToQString(Text::kRules));
        Form().ControlAs<QLabel>(kTextCaption)->setText(ToQString(Text::kRuleText));
        Form().ControlAs<QPushButton>(kAdd)->setText(ToQString(Text::kAddRule));
        Form().ControlAs<QPushButton>(kRemove)->setText(ToQString(Text::kRemoveRule));
        // A list is not named by the static before it.
        List()->setAccessibleName(ToQString(Text::kRulesList));
        Form().Relayout(true, true);
    }

protected:
    void Apply() override { store_.Set(rules_); }

private:
    AReportWindow* List() { return Form().ControlAs<AReportWindow>(kList); }
    QLineEdit* TextField() { return Form().ControlAs<QLineEdit>(kText); }

    std::u16string CategoriesText(const ACategoryRuleEntry& rule) const
    {
        std::u16string text;
        for (const ACategoryName& name : rule.categories)
            text += (text.empty() ? u"" : u"; ") + name.classifier + u": " + name.path;
        return text;
    }

    void Fill()
    {
        List()->Model().DeleteAllItems();
        for (std::size_t i = 0; i < rules_.size(); ++i)
            List()->Root().AddChild(std::make_unique<ATextItem>(
                static_cast<std::uint32_t>(i), std::vector<std::u16string>{rules_[i].text, CategoriesText(rules_[i])}));
        List()->RebuildRows();
    }

    void Show(const ACategoryRuleEntry& rule)
    {
        TextField()->setText(ToQString(rule.text));
        std::vector<Database::AReference<Database::ACategory>> categories;
        for (const ACategoryName& name : rule.categories)
            categories.push_back(CategoryNamed(db_, name));
        choosers_->Show(categories);
    }

    // The rule as typed takes the place of the one of the same text, or comes last.
    void Add()
    {
        ACategoryRuleEntry rule{ToU16(TextField()->text().trimmed()), {}};
        for (Database::AReference<Database::ACategory> category : choosers_->Chosen())
            rule.categories.push_back(NameOf(db_, category));
        if (const ARuleRefusal refusal = CheckRule(rule); refusal != ARuleRefusal::None) {
            ShowWizardText(context_, this, std::u16string(Text::RuleRefusalText(refusal)),
                           Win32API::VelvixForms::AMessageIcon::Warning);
            TextField()->setFocus();
            return;
        }
        const auto same = std::find_if(rules_.begin(), rules_.end(),
                                       [&](const ACategoryRuleEntry& kept) { return kept.text == rule.text; });
        if (same != rules_.end())
            *same = rule;
        else
            rules_.push_back(rule);
        Fill();
    }

    void Remove()
    {
        const std::u16string text = ToU16(TextField()->text().trimmed());
        std::erase_if(rules_, [&](const ACategoryRuleEntry& rule) { return rule.text == text; });
        Fill();
    }

    Database::ADatabase& db_;
    ACategoryRules store_;
    std::vector<ACategoryRuleEntry> rules_;
    APageMode mode_;
    std::unique_ptr<AClassifierChoosers> choosers_;
};

}  // namespace

bool RunCategoryRulesDialog(const AProgramContext& context, QWidget* parent, Database::ADatabase& db)
{
    ACategoryRulesDialog dialog(context, parent, db);
    return context.Dialogs().RunModal(dialog) == QDialog::Accepted;
}

}  // namespace UserInterface::Exchange
