// The main window's pages: one per visible page record of the user, kept by record id, in a
// tab stack; their settings kept in the records.
#include "ui/MainForm.h"

#include "database/engine/StepGuard.h"
#include "ui/InterfaceTexts.h"
#include "ui/PageFactory.h"
#include "ui/PageList.h"
#include "ui/PageOrdr.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "win32api/DynaForm.h"
#include "win32api/FormElements.h"
#include "win32api/TabControl.h"
#include "win32api/ToolkitLook.h"

#include <QApplication>
#include <QTabBar>

#include <algorithm>
#include <set>

namespace UserInterface {

using namespace Win32API::VelvixForms;

namespace {

using MainText::kPageSettingsStep;

QString TabText(std::u16string_view name)
{
    return ToQString(name).replace(u'&', QStringLiteral("&&"));
}

}  // namespace

AAbstractPage* AMainWindow::PageAt(int index) const
{
    return index >= 0 && index < PageCount() ? pages_[static_cast<std::size_t>(index)].page.get() : nullptr;
}

std::uint32_t AMainWindow::PageRecordAt(int index) const
{
    return index >= 0 && index < PageCount() ? pages_[static_cast<std::size_t>(index)].recordId : 0;
}

void AMainWindow::RebuildPages()
{
    if (!db_)
        return;
    const std::uint32_t selected = PageRecordAt(currentPage_);
    const std::vector<APageEntry> entries = VisiblePages(*db_);
    std::vector<APageSlot> old = std::move(pages_);
    pages_.clear();
    std::set<std::int16_t> taken;
    for (const APageSlot& slot : old)
        taken.insert(slot.elementId);
    const auto look = Win32API::VelvixControls::AToolkitLook::FromSettings(context_.Options());
    const QFont font = ListFont();
    for (const APageEntry& entry : entries) {
        auto kept = std::find_if(old.begin(), old.end(), [&](const APageSlot& slot) {
            return slot.recordId == entry.recordId && slot.type == entry.type;
        });
        APageSlot slot;
        if (kept != old.end()) {
            slot = std::move(*kept);
            old.erase(kept);
        } else {
            slot.recordId = entry.recordId;
            slot.type = entry.type;
            slot.elementId = PageElementId(entry.recordId, taken);
            taken.insert(slot.elementId);
            CreateSlotPage(slot, look, font);
            if (const auto* record = db_->Pages().Find(entry.recordId); record && record->Exists())
                slot.page->ReadSettings(record->Record().settings);
        }
        slot.name = entry.name;
        slot.page->SetName(entry.name);
        slot.recordPosition = entry.recordPosition;
        pages_.push_back(std::move(slot));
    }
    for (APageSlot& slot : old) {
        slot.page.reset();
        RemoveElement(*root_, slot.elementId);
    }
    QTabBar* tabs = root_->ControlAs<Win32API::VelvixControls::ATabControl>(kTabsId)->TabBar();
    {
        const QSignalBlocker block(root_->ControlAs<Win32API::VelvixControls::ATabControl>(kTabsId));
        const QSignalBlocker blockBar(tabs);
        while (tabs->count() > PageCount())
            tabs->removeTab(tabs->count() - 1);
        while (tabs->count() < PageCount())
            tabs->addTab(QString());
        for (int i = 0; i < PageCount(); ++i) {
            tabs->setTabText(i, TabText(pages_[static_cast<std::size_t>(i)].name));
            tabs->setTabData(i, pages_[static_cast<std::size_t>(i)].recordId);
        }
    }
    root_->Relayout(true, true);
    int index = 0;
    for (int i = 0; i < PageCount(); ++i)
        if (PageRecordAt(i) == selected)
            index = i;
    currentPage_ = -1;
    ShowPage(index);
    if (pages_.empty())
        BuildActionsMenu();
    BuildPageMenu();
    emit PagesRebuilt();
}

void AMainWindow::CreateSlotPage(APageSlot& slot, const Win32API::VelvixControls::AToolkitLook& look, const QFont& font)
{
    root_->InsertElements(kPageStackId, "{b#" + std::to_string(slot.elementId) + "}");
    slot.page = CreatePage(context_, *db_, slot.type);
    slot.page->CreateInto(*root_, slot.elementId);
    slot.page->ApplyLook(look, font);
}

void AMainWindow::RecreatePages()
{
    if (!db_ || pages_.empty())
        return;
    const auto look = Win32API::VelvixControls::AToolkitLook::FromSettings(context_.Options());
    const QFont font = ListFont();
    for (APageSlot& slot : pages_) {
        const std::vector<std::uint8_t> state = slot.page->WriteSettings();
        slot.page.reset();
        RemoveElement(*root_, slot.elementId);
        CreateSlotPage(slot, look, font);
        slot.page->ReadSettings(state);
        slot.page->SetName(slot.name);
    }
    root_->Relayout(true, true);
    const int shown = currentPage_;
    currentPage_ = -1;
    ShowPage(shown);
    emit PagesRebuilt();
}

void AMainWindow::DropPages()
{
    for (APageSlot& slot : pages_) {
        slot.page.reset();
        if (root_)
            RemoveElement(*root_, slot.elementId);
    }
    pages_.clear();
    currentPage_ = -1;
}

bool AMainWindow::ShowPage(int index)
{
    if (index < 0 || index >= PageCount())
        return false;
    APageSlot& slot = pages_[static_cast<std::size_t>(index)];
    const ALayoutElement* stack = root_->FindElement(kPageStackId);
    for (std::size_t child = 0; stack && child < stack->children.size(); ++child)
        if (stack->children[child]->id == slot.elementId)
            root_->SelectStackChild(kPageStackId, static_cast<int>(child));
    auto* tabControl = root_->ControlAs<Win32API::VelvixControls::ATabControl>(kTabsId);
    {
        const QSignalBlocker block(tabControl);
        const QSignalBlocker blockBar(tabControl->TabBar());
        tabControl->TabBar()->setCurrentIndex(index);
    }
    const bool changed = currentPage_ != index;
    currentPage_ = index;
    slot.page->Shown();
    if (changed) {
        BuildActionsMenu();
        BuildPageMenu();
    }
    return true;
}

void AMainWindow::StorePageSettings()
{
    AAbstractPage* page = CurrentPage();
    auto* record = db_ ? db_->Pages().Find(PageRecordAt(currentPage_)) : nullptr;
    if (!page || !record || !record->Exists() || db_->StepOpen())
        return;
    std::vector<std::uint8_t> settings = page->WriteSettings();
    Database::Engine::AStepGuard step(*db_, context_.Strings().Text(kPageSettingsStep));
    db_->Pages().Change(record)->settings = std::move(settings);
    db_->CommitStep();
}

void AMainWindow::RereadPageSettings()
{
    AAbstractPage* page = CurrentPage();
    const auto* record = db_ ? db_->Pages().Find(PageRecordAt(currentPage_)) : nullptr;
    if (!page || !record || !record->Exists())
        return;
    page->ReadSettings(record->Record().settings);
    page->SettingsReread();
}

void AMainWindow::RunPageOrderDialog()
{
    if (!db_)
        return;
    PageOrder::APageOrderDialog dialog(context_, *db_, this);
    context_.Dialogs().RunModal(dialog);
}

}  // namespace UserInterface
