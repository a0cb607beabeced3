// Help in the help pane, the about box, the calculator and the program's web site.
#include "ui/MainForm.h"

#include "core/Version.h"
#include "ui/HelpPages.h"
#include "ui/InterfaceTexts.h"
#include "ui/MenuText.h"
#include "ui/ProgramContext.h"
#include "ui/StandardDialog.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "win32api/DynaForm.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>

namespace UserInterface {

using namespace Win32API::VelvixForms;

namespace {

using namespace MainText;
constexpr const char* kWebSiteAddress = "https://fendral.velvixsoft.example/";

// The search words, asked in a small dialog of its own.
class AHelpSearchDialog final : public UtilityForms::AStandardDialog {
public:
    AHelpSearchDialog(const AProgramContext& context, QWidget* parent)
        : AStandardDialog(context, Command::kHelpSearch, "{bW170[et#-3]}", parent)
    {
        Form().Control(-3)->setFocus();
    }
    QString Words() { return Form().ControlAs<QLineEdit>(-3)->text(); }
};

}  // namespace

void AMainWindow::ShowHelpPane(bool show)
{
    if (root_->IsElementShown(kHelpPaneId) == show)
        return;
    root_->ShowElement(kHelpPaneId, show);
    // The pages keep most of the width; the bar is placed once and then stays where put.
    if (show && !helpBarPlaced_) {
        root_->PlaceSplitterBar(root_->width() * 3 / 5);
        helpBarPlaced_ = true;
    }
    if (show && helpBrowser_ && helpBrowser_->toHtml().isEmpty())
        helpBrowser_->setHtml(Help::ContentsPage());
}

void AMainWindow::ShowHelp(int command)
{
    if (!helpBrowser_)
        return;
    switch (command) {
    case Command::kHelpSearch: {
        AHelpSearchDialog dialog(context_, this);
        if (context_.Dialogs().RunModal(dialog) != QDialog::Accepted)
            return;
        helpBrowser_->setHtml(Help::SearchPage(dialog.Words()));
        break;
    }
    case Command::kHelpIndex: helpBrowser_->setHtml(Help::IndexPage()); break;
    default: helpBrowser_->setHtml(Help::ContentsPage()); break;
    }
    ShowHelpPane(true);
}

void AMainWindow::ShowHelpLink(int topic)
{
    if (!helpBrowser_)
        return;
    helpBrowser_->setHtml(topic < 0 ? Help::IndexPage() : topic == 0 ? Help::ContentsPage() : Help::TopicPage(topic));
}

void AMainWindow::ShowAbout()
{
    const auto& strings = context_.Strings();
    AMessageBoxOptions options;
    options.title = std::u16string(strings.Text(Command::kAbout));
    std::erase(options.title, u'&');
    if (options.title.ends_with(u"..."))
        options.title.resize(options.title.size() - 3);
    options.text = u"Fendral\r\n" + strings.Format(kVersion, {Version::kMajor, Version::kMinor, Version::kBuild}) +
                   u"\r\n\r\n" + std::u16string(strings.Text(kDescription)) + u"\r\n\r\n" +
                   std::u16string(strings.Text(kSiteLabel)) + u" " + ToU16(QString::fromLatin1(kWebSiteAddress));
    options.icon = AMessageIcon::Information;
    context_.Dialogs().ShowMessage(this, options);
}

void AMainWindow::StartCalculator()
{
    // The desktop's calculator, whichever of the usual ones is installed.
    for (const char* name : {"gnome-calculator", "kcalc", "galculator", "mate-calc", "qalculate-gtk", "xcalc"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!program.isEmpty() && QProcess::startDetached(program, {}))
            return;
    }
    ShowMessage(kNoCalculator, {}, AMessageButtons::Ok, AMessageIcon::Warning);
}

void AMainWindow::OpenWebSite()
{
    if (!QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebSiteAddress))))
        ShowMessage(kNoWebSite, {}, AMessageButtons::Ok, AMessageIcon::Warning);
}

}  // namespace UserInterface
