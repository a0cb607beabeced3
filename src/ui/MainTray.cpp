// The notification-area icon: shown while the settings ask to minimise there; its menu shows
// the window, adds a transaction and ends the program.
#include "ui/MainForm.h"

#include "ui/InterfaceTexts.h"
#include "ui/MenuText.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace UserInterface {

using UserInterface::Settings::AFlag;

namespace {
using namespace MainText;
}  // namespace

void AMainWindow::UpdateTrayIcon()
{
    // Without a notification area a hidden window could not be brought back: no icon then.
    const bool wanted = context_.Options().Flag(AFlag::kMinimizeToTray) && QSystemTrayIcon::isSystemTrayAvailable();
    if (wanted && !tray_) {
        tray_ = new QSystemTrayIcon(windowIcon(), this);
        trayMenu_ = new QMenu(this);
        connect(tray_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) { TrayActivated(static_cast<int>(reason)); });
    }
    if (tray_) {
        trayMenu_->clear();
        QAction* show = trayMenu_->addAction(TableText(context_.Strings(), kShowProgram));
        QFont bold = show->font();
        bold.setBold(true);  // the default item
        show->setFont(bold);
        connect(show, &QAction::triggered, this, &AMainWindow::ShowFromTray);
        trayMenu_->addSeparator();
        QAction* add = trayMenu_->addAction(TableText(context_.Strings(), kAddTransaction));
        connect(add, &QAction::triggered, this, [this] {
            // The transactions page adds; the window stays as it is.
            for (int i = 0; i < PageCount(); ++i)
                if (pages_[static_cast<std::size_t>(i)].type == Database::APageInfo::kTransactions) {
                    if (PageAt(i)->IsCommandEnabled(Command::kAdd))
                        PageAt(i)->RunCommand(Command::kAdd);
                    return;
                }
        });
        trayMenu_->addSeparator();
        QAction* close = trayMenu_->addAction(TableText(context_.Strings(), kCloseProgram));
        connect(close, &QAction::triggered, this, [this] { RunCommand(Command::kExit); });
        tray_->setContextMenu(trayMenu_);
        tray_->setToolTip(windowTitle());
    }
    if (wanted && tray_ && !tray_->isVisible()) {
        tray_->show();
        if (isMinimized())
            hide();
    } else if (!wanted && tray_ && tray_->isVisible()) {
        tray_->hide();
        // Without the icon a hidden window must stay reachable.
        if (isHidden())
            showMinimized();
    }
}

void AMainWindow::TrayActivated(int reason)
{
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::DoubleClick)
        return;
    if (QWidget* popup = QApplication::activeModalWidget()) {
        popup->raise();
        popup->activateWindow();
        return;
    }
    if (isHidden())
        ShowFromTray();
    else
        showMinimized();
}

void AMainWindow::ShowFromTray()
{
    ComeToFront();
}

}  // namespace UserInterface
