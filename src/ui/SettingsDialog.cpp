#include "ui/SettingsDialog.h"

#include "core/Settings.h"
#include "ui/InterfaceTexts.h"
#include "ui/ProgramContext.h"
#include "ui/SettingsPages.h"
#include "ui/UiText.h"
#include "win32api/DynaForm.h"
#include "win32api/LayoutElement.h"
#include "win32api/TabControl.h"

#include <QTabBar>

namespace UserInterface::Settings {

namespace {

constexpr std::int16_t kStackId = -1, kTabsId = -2;
constexpr std::int16_t kFirstPageBoxId = -3;
using SettingsText::kCaption, SettingsText::kFirstTabCaption;

}  // namespace

ASettingsForm::ASettingsForm(const AProgramContext& context, QWidget* parent)
    : AStandardDialog(context, kCaption, "{b{S#-1[tt#-2]{bm4xeyt}{bm4xeyt}{bm4xeyt}{bm4xeyt}}}", parent)
{
    // The page boxes have no ids of their own; they get some so that the pages can go in.
    auto* stack = Form().FindElement(kStackId);
    pages_ = {CreateGeneralPage(context, &Form()), CreateBackupPage(context, &Form()),
              CreateInterfacePage(context, &Form()), CreateTransactionsPage(context, &Form())};
    const bool unusable = context.Options().IsStoreUnusable();
    for (int i = 0; i < kPageCount; ++i) {
        const auto boxId = static_cast<std::int16_t>(kFirstPageBoxId - i);
        stack->children[static_cast<std::size_t>(i)]->id = boxId;
        Form().InsertForm(boxId, pages_[static_cast<std::size_t>(i)]);
        pages_[static_cast<std::size_t>(i)]->Load();
        // Settings that can't be kept are not offered for change.
        pages_[static_cast<std::size_t>(i)]->setEnabled(!unusable);
    }
    ApplyTexts();
}

ASettingsForm::~ASettingsForm() = default;

Win32API::VelvixForms::ADialogForm* ASettingsForm::Page(int index) const
{
    return index >= 0 && index < kPageCount ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

void ASettingsForm::ShowPage(int index)
{
    Form().SelectStackChild(kStackId, index);
}

void ASettingsForm::ApplyTexts()
{
    AStandardDialog::ApplyTexts();
    auto* tabs = Form().ControlAs<Win32API::VelvixControls::ATabControl>(kTabsId);
    for (int i = 0; i < kPageCount && i < tabs->TabBar()->count(); ++i)
        tabs->TabBar()->setTabText(i, TableText(context_.Strings(), kFirstTabCaption + i));
    Form().Relayout(true);
}

bool ASettingsForm::Validate()
{
    for (int i = 0; i < kPageCount; ++i)
        if (!pages_[static_cast<std::size_t>(i)]->Store(false)) {
            ShowPage(i);
            return false;
        }
    return true;
}

void ASettingsForm::Apply()
{
    for (ASettingsPage* page : pages_)
        page->Store(true);
    context_.Options().SaveAll();
}

}  // namespace UserInterface::Settings
