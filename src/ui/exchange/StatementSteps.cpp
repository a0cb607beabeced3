#include "ui/exchange/StatementSteps.h"

#include "core/CodePage.h"
#include "core/CommonTexts.h"
#include "ui/InterfaceTexts.h"
#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/UiText.h"
#include "ui/exchange/CategoryRulesDialog.h"
#include "ui/exchange/StatementChoosers.h"
#include "ui/exchange/StatementTexts.h"
#include "ui/exchange/WizardTexts.h"
#include "ui/filters/Choosers.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportWindow.h"

#include <QLabel>
#include <QPushButton>

namespace UserInterface::Exchange {

using namespace Database;
using namespace ExportImport::Statements;
using Win32API::VelvixControls::Reports::AReportItemImpl;
using Win32API::VelvixControls::Reports::AReportPicker;
using Win32API::VelvixControls::Reports::AReportWindow;
namespace Text = StatementText;

namespace {

constexpr std::int16_t kFacts = -1, kAccountCaption = -2, kAccount = -3, kNote = -4;
constexpr const char* kAccountLayout =
    "{t1m8xeyt{bxl[s#-1]}{t2t10xe{bxr[s#-2]}{bl4We[rt#-3]}}{bt12xl[s#-4]}}";

constexpr std::int16_t kLines = -1, kCounts = -2, kCategories = -3, kRules = -4, kFirstRowId = -10;
constexpr int kDateColumn = UtilityClasses::Strings::CommonText::kDate, kAmountColumn = SharedText::kAmount;
constexpr const char* kReviewLayout =
    "{t1m8xeyt{bWeHeW480H140[Rt#-1]}{t2t4xe{bWexl[s#-2]}{bW90xr[bt#-4]}}{t2#-3t6xe}}";

std::u16string CategoryName(ADatabase& db, AReference<ACategory> category)
{
    const ACategory* record = db.Categories().Record(category);
    return record ? std::u16string(db.Text(record->name)) : std::u16string();
}

// One line of the statement; its texts follow the plan, whose categories the page changes.
class ALineItem final : public AReportItemImpl {
public:
    ALineItem(const AProgramContext& context, ADatabase& db, const AStatementWizardModel& model, std::uint32_t index)
        : context_(context), db_(db), model_(model), index_(index)
    {
    }
    std::uint32_t RecordId() const override { return index_; }
    std::u16string Text(int column) const override
    {
        // A new read forgets the plan before the page is filled again.
        if (index_ >= model_.Planned().lines.size())
            return {};
        const APlannedLine& planned = model_.Planned().lines[index_];
        switch (column) {
        case 0: return DateText(context_, planned.line->date);
        case 1: return AmountText(context_, planned.line->amount, AccountPrecision(db_, model_.Account()));
        case 2: return LineText(*planned.line);
        case 3: {
            std::u16string names;
            for (AReference<ACategory> category : planned.categories)
                names += (names.empty() ? u"" : u"; ") + CategoryName(db_, category);
            return names;
        }
        default: return std::u16string(Text::StateText(planned));
        }
    }
    unsigned CellProperty(int column) const override
    {
        using namespace Win32API::VelvixControls::Reports;
        return column == 1 ? kCellRightAligned : kCellPlain;
    }

private:
    const AProgramContext& context_;
    ADatabase& db_;
    const AStatementWizardModel& model_;
    std::uint32_t index_;
};

}  // namespace

AStatementStep::AStatementStep(const AProgramContext& context, ADatabase& db, AStatementWizardModel& model,
                               AStatementActive active, std::string layout)
    : AWizardStep(0, 0, std::move(layout)), context_(context), db_(db), model_(model), active_(std::move(active))
{
}

// ---- the account page

AStatementStepAccount::AStatementStepAccount(const AProgramContext& context, ADatabase& db,
                                             AStatementWizardModel& model, AStatementActive active)
    : AStatementStep(context, db, model, std::move(active), kAccountLayout)
{
    SetOwnTexts(ToQString(Text::kAccountTitle), ToQString(Text::kAccountSubtitle));
}

AStatementStepAccount::~AStatementStepAccount() = default;

void AStatementStepAccount::Build()
{
    Form()->ControlAs<QLabel>(kAccountCaption)->setText(ToQString(Text::kAccountCaption));
    Form()->ControlAs<QLabel>(kNote)->setText(ToQString(Text::kReferenceNote));
    auto* picker = Form()->ControlAs<AReportPicker>(kAccount);
    // Named as its static is, also while the page was never shown.
    picker->setAccessibleName(ToQString(Text::kAccountCaption));
    accounts_ = std::make_unique<Filters::AAccountChooser>(*picker, context_, db_);
}

void AStatementStepAccount::OnEnter(AWizard&)
{
    const AStatement& statement = model_.Statement().statement;
    const auto given = [](const std::string& text) {
        return text.empty() ? std::u16string(Text::kNotGiven) : UtilityClasses::Strings::Utf8ToUtf16(text);
    };
    Form()->ControlAs<QLabel>(kFacts)->setText(ToQString(UtilityClasses::Strings::FormatText(
        context_.Strings().Locale(), Text::kStatementFacts,
        {given(statement.accountId), given(statement.currency), static_cast<std::uint32_t>(statement.lines.size())})));
    accounts_->Fill();
    // The account chosen last for this bank account, unless the user chose here already.
    if (accounts_->NoneChosen() || accounts_->Account().IsNull())
        if (const AReference<AAccount> remembered = model_.RememberedAccount(); !remembered.IsNull())
            accounts_->Choose(remembered);
    Form()->Relayout(true, false);
}

bool AStatementStepAccount::OnLeave(AWizard& wizard, bool forward)
{
    if (!forward)
        return true;
    const AReference<AAccount> account = accounts_->Account();
    if (const AAccountRefusal refusal = model_.Refusal(account); refusal != AAccountRefusal::None) {
        const AAccount* record = db_.Accounts().Record(account);
        const ACurrency* currency = record ? db_.Currencies().Record(record->currency) : nullptr;
        const std::u16string statementCurrency = UtilityClasses::Strings::Utf8ToUtf16(ForeignCurrency(
            model_.Statement().statement, currency ? UtilityClasses::Strings::Utf16ToUtf8(db_.Text(currency->code)) : ""));
        ShowWizardText(context_, &wizard,
                       Text::RefusalText(context_.Strings().Locale(), refusal, statementCurrency,
                                         record ? db_.Text(record->name) : u"",
                                         currency ? db_.Text(currency->code) : u""),
                       Win32API::VelvixForms::AMessageIcon::Warning);
        return false;
    }
    if (account != model_.Account() || !model_.CanSave())
        model_.Plan(account);
    return true;
}

// ---- the review page

AStatementStepReview::AStatementStepReview(const AProgramContext& context, ADatabase& db,
                                           AStatementWizardModel& model, AStatementActive active)
    : AStatementStep(context, db, model, std::move(active), kReviewLayout),
      mode_(std::make_unique<APageMode>(context, false))
{
    SetOwnTexts(ToQString(Text::kReviewTitle), ToQString(Text::kReviewSubtitle));
    mode_->AddTitledColumn(kDateColumn, 80, false);
    mode_->AddTitledColumn(kAmountColumn, 90, false);
    mode_->AddComputedColumn([] { return std::u16string(Text::kTextColumn); }, 170, false);
    mode_->AddComputedColumn([] { return std::u16string(Text::kCategoriesColumn); }, 120, false);
    mode_->AddComputedColumn([] { return std::u16string(Text::kStateColumn); }, 260, false);
}

AStatementStepReview::~AStatementStepReview() = default;

void AStatementStepReview::Build(AWizard& wizard)
{
    auto* list = Form()->ControlAs<AReportWindow>(kLines);
    list->SetMode(mode_.get());
    list->setAccessibleName(ToQString(Text::kLines));
    Form()->ControlAs<QPushButton>(kRules)->setText(ToQString(Text::kRulesButton));
    QObject::connect(list, &AReportWindow::Notify, Form(), [this](int code, bool*) {
        if (code == Win32API::VelvixControls::Reports::kNotifySelectionChanged)
            ShowLine();
    });
    // One chooser for each classifier, made before the wizard sizes itself to its pages.
    choosers_ = std::make_unique<AClassifierChoosers>(*Form(), kCategories, kFirstRowId, context_, db_, Text::kCategoryOf);
    QObject::connect(choosers_.get(), &AClassifierChoosers::Changed, Form(),
                     [this](AReference<AClassifier> classifier, AReference<ACategory> category) {
                         model_.SetCategory(FocusedLine(), classifier, category);
                         Form()->ControlAs<AReportWindow>(kLines)->viewport()->update();
                     });
    QObject::connect(Form(), &Win32API::VelvixForms::ADialogForm::Command, Form(), [this, &wizard](int id) {
        if (id != kRules || !RunCategoryRulesDialog(context_, &wizard, db_))
            return;
        // The rules apply to the lines anew; what was chosen by hand gives way to them.
        model_.Plan(model_.Account());
        OnEnter(wizard);
    });
}

std::size_t AStatementStepReview::FocusedLine() const
{
    const AReportItemImpl* item = Form()->ControlAs<AReportWindow>(kLines)->Model().FocusedItem();
    return item ? item->RecordId() : model_.Planned().lines.size();
}

void AStatementStepReview::OnEnter(AWizard&)
{
    auto* list = Form()->ControlAs<AReportWindow>(kLines);
    list->Model().DeleteAllItems();
    for (std::size_t i = 0; i < model_.Planned().lines.size(); ++i)
        list->Root().AddChild(std::make_unique<ALineItem>(context_, db_, model_, static_cast<std::uint32_t>(i)));
    list->RebuildRows();
    // The first line is the one the choosers show, so that they can be used at once.
    if (list->Model().RowCount() > 0)
        list->MakeVisible(*list->Model().Row(0));
    Form()->ControlAs<QLabel>(kCounts)->setText(ToQString(UtilityClasses::Strings::FormatText(
        context_.Strings().Locale(), Text::kCounts,
        {static_cast<std::uint32_t>(model_.Planned().NewCount()), static_cast<std::uint32_t>(model_.Planned().duplicates)})));
    ShowLine();
    Form()->Relayout(true, true);
}

// The choosers show the categories of the focused line; a skipped line has none to change.
void AStatementStepReview::ShowLine()
{
    const std::size_t line = FocusedLine();
    const bool editable = line < model_.Planned().lines.size() && !model_.Planned().lines[line].duplicate;
    choosers_->Show(editable ? model_.Planned().lines[line].categories : std::vector<AReference<ACategory>>());
    choosers_->SetEnabled(editable);
}

}  // namespace UserInterface::Exchange
