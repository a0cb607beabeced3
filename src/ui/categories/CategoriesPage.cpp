#include "ui/categories/CategoriesPage.h"

#include "database/CategoryCommands.h"
#include "ui/InterfaceTexts.h"
#include "ui/MenuText.h"
#include "ui/PageFactory.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/categories/CategoryDialog.h"
#include "ui/categories/CategoryItems.h"
#include "win32api/DynaForm.h"

#include <QMenu>

namespace UserInterface::Categories {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;
namespace Message = CategoryMessage;

namespace {
constexpr int kNameTitle = SharedText::kCategory, kCommentTitle = SharedText::kNote;
}  // namespace

ACategoriesPage::ACategoriesPage(const AProgramContext& context, ADatabase& db, std::uint32_t classifierId)
    : ARecordListPage(context, db, true, {ACategory::kTableId, AClassifier::kTableId, AString::kTableId}),
      classifierId_(classifierId)
{
    Mode().AddTitledColumn(kNameTitle, 280, false);
    Mode().AddTitledColumn(kCommentTitle, 300);
}

AReference<AClassifier> ACategoriesPage::Classifier() const
{
    auto* slot = db_.Classifiers().Find(classifierId_);
    return slot && slot->Exists() ? Engine::ATableImpl<AClassifier>::RefTo(slot) : AReference<AClassifier>();
}

void ACategoriesPage::Created()
{
    connect(Report(), &AReportWindow::Notify, this, [this](int code, bool*) {
        if (code == kNotifyDoubleClick && IsCommandEnabled(Command::kChange))
            RunCommand(Command::kChange);
    });
}

void ACategoriesPage::Fill(AReportItemImpl& root)
{
    AddCategoryItems(root, db_, Classifier(), true);
}

AReference<ACategory> ACategoriesPage::Focused() const
{
    const AReportItemImpl* item = Report() ? Report()->Model().FocusedItem() : nullptr;
    auto* slot = item ? db_.Categories().Find(item->RecordId()) : nullptr;
    return slot && slot->Exists() ? Engine::ATableImpl<ACategory>::RefTo(slot) : AReference<ACategory>();
}

bool ACategoriesPage::FocusedIsRoot() const
{
    const ACategory* record = db_.Categories().Record(Focused());
    return record && record->parent.IsNull();
}

void ACategoriesPage::FillActionsMenu(QMenu& menu)
{
    for (int id : {Command::kAdd, Command::kChange, PageCommand::kMove, Command::kDelete}) {
        QAction* action = menu.addAction(QString());
        action->setData(id);
        if (id == PageCommand::kMove)
            action->setProperty(Command::kMenuTextArgument, ToQString(ClassifierName(db_, Classifier())));
    }
}

bool ACategoriesPage::IsCommandEnabled(int command) const
{
    const bool focused = !Focused().IsNull();
    switch (command) {
    case Command::kAdd:
    case Command::kChange: return focused;
    // A tree's root stays where it is: its classifier points to it.
    case PageCommand::kMove:
    case Command::kDelete: return focused && !FocusedIsRoot();
    default: return false;
    }
}

void ACategoriesPage::RunCommand(int command)
{
    if (!IsCommandEnabled(command))
        return;
    switch (command) {
    case Command::kAdd:
        if (RunCategoryDialog(Form(), context_, db_, Classifier(), ACategoryDialogMode::Add, Focused()))
            FocusNewest();
        return;
    case Command::kChange:
        RunCategoryDialog(Form(), context_, db_, Classifier(), ACategoryDialogMode::Change, Focused());
        return;
    case PageCommand::kMove:
        RunCategoryDialog(Form(), context_, db_, Classifier(), ACategoryDialogMode::Move, Focused());
        return;
    case Command::kDelete: DeleteFocused(); return;
    default: return;
    }
}

// The category just added is where the user goes on, even under a collapsed parent.
void ACategoriesPage::FocusNewest()
{
    Refill();
    const std::uint32_t newest = db_.Categories().Live().back()->id;
    const auto find = [newest](const auto& self, AReportItemImpl& item) -> AReportItemImpl* {
        if (item.RecordId() == newest)
            return &item;
        for (const auto& child : item.Children())
            if (AReportItemImpl* found = self(self, *child))
                return found;
        return nullptr;
    };
    if (AReportItemImpl* item = find(find, Report()->Root()))
        Report()->MakeVisible(*item);
}

void ACategoriesPage::DeleteFocused()
{
    const AReference<ACategory> category = Focused();
    const std::u16string name = db_.Text(db_.Categories().Record(category)->name);
    const std::u16string field = ClassifierName(db_, Classifier());
    const auto& strings = context_.Strings();
    const std::u16string title = strings.Format(Message::kDeleteTitle, {field});
    const std::u16string question =
        strings.Format(Message::kDeleteQuestion, {name, TransactionsLosing(db_, category), name, field, name});
    if (AskToDelete(context_, Form(), question, title))
        DeleteCategory(db_, category, title);
}

bool AskToDelete(const AProgramContext& context, QWidget* parent, std::u16string text, std::u16string title)
{
    Win32API::VelvixForms::AMessageBoxOptions options;
    options.text = std::move(text);
    options.title = std::move(title);
    options.buttons = Win32API::VelvixForms::AMessageButtons::YesNo;
    options.icon = Win32API::VelvixForms::AMessageIcon::Question;
    options.defaultButton = 1;
    return context.Dialogs().ShowMessage(parent, options) == Win32API::VelvixForms::kIdYes;
}

}  // namespace UserInterface::Categories

namespace UserInterface {

std::unique_ptr<AAbstractPage> CreateCategoriesPage(const AProgramContext& context, Database::ADatabase& db,
                                                    std::uint32_t classifierId)
{
    return std::make_unique<Categories::ACategoriesPage>(context, db, classifierId);
}

}  // namespace UserInterface
