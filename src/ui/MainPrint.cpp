// Printing the current page with header and footer, the page setup kept as "PageInfo", and
// the list font kept as "Font".
#include "ui/MainForm.h"

#include "core/SettingsBlobs.h"
#include "core/Version.h"
#include "ui/FontSetting.h"
#include "ui/InterfaceTexts.h"
#include "ui/PrintLayout.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/WindowTitle.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace UserInterface {

using UserInterface::Settings::APageSetup;

namespace {

using namespace MainText;

QPageSize PaperOf(const APageSetup& setup)
{
    // The paper-size codes of the platform's printer modes; those seen in homes.
    switch (setup.mode ? setup.mode->paperSize : 9) {
    case 1: return QPageSize(QPageSize::Letter);
    case 5: return QPageSize(QPageSize::Legal);
    case 8: return QPageSize(QPageSize::A3);
    case 11: return QPageSize(QPageSize::A5);
    default: return QPageSize(QPageSize::A4);
    }
}

std::int16_t PaperCode(const QPageSize& size)
{
    switch (size.id()) {
    case QPageSize::Letter: return 1;
    case QPageSize::Legal: return 5;
    case QPageSize::A3: return 8;
    case QPageSize::A5: return 11;
    default: return 9;
    }
}

// The stored setup on the printer: margins in hundredths of a millimetre, paper, orientation.
void ApplySetup(QPrinter& printer, const APageSetup& setup)
{
    const bool landscape = setup.mode && setup.mode->orientation == 2;
    printer.setPageLayout(QPageLayout(PaperOf(setup), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(setup.left / 100.0, setup.top / 100.0, setup.right / 100.0,
                                                setup.bottom / 100.0),
                                      QPageLayout::Millimeter));
}

APageSetup SetupOf(const QPrinter& printer, const APageSetup& previous)
{
    APageSetup setup = previous;
    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
    setup.left = static_cast<std::int32_t>(margins.left() * 100 + 0.5);
    setup.top = static_cast<std::int32_t>(margins.top() * 100 + 0.5);
    setup.right = static_cast<std::int32_t>(margins.right() * 100 + 0.5);
    setup.bottom = static_cast<std::int32_t>(margins.bottom() * 100 + 0.5);
    UserInterface::Settings::APrinterMode mode = setup.mode.value_or(UserInterface::Settings::APrinterMode{});
    mode.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    mode.paperSize = PaperCode(printer.pageLayout().pageSize());
    setup.mode = mode;
    return setup;
}

QFont SizedFont(const QFont& base, qreal points, bool bold, QPaintDevice* device)
{
    QFont font(base, device);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace

APrintLayout LayOutSheet(const QRect& printable, int smallLine, int bigLine)
{
    APrintLayout layout;
    layout.header = QRect(printable.left(), printable.top(), printable.width(), smallLine);
    layout.footer = QRect(printable.left(), printable.bottom() + 1 - smallLine, printable.width(), smallLine);
    const int margin = smallLine + bigLine;
    layout.body = printable.adjusted(0, margin, 0, -margin);
    return layout;
}

QString PrintedProgramName()
{
    return QStringLiteral("Fendral %1.%2.0.%3").arg(Version::kMajor).arg(Version::kMinor).arg(Version::kBuild);
}

QString SheetNumberText(const UtilityClasses::Strings::AStrings& strings, int sheet, int count)
{
    return ToQString(strings.Format(kPageOfPages, {sheet, count}));
}

bool AMainWindow::PrintCurrentPage(QPrinter& printer)
{
    AAbstractPage* page = CurrentPage();
    if (!page)
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QFont base = ListFont();
    const QFont small = SizedFont(base, 7, false, &printer);
    const APrintFonts fonts{SizedFont(base, 10, false, &printer), SizedFont(base, 12, true, &printer)};
    const int smallLine = QFontMetrics(small, &printer).height();
    const int bigLine = QFontMetrics(fonts.bold, &printer).height();
    const QRect printable(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    const APrintLayout layout = LayOutSheet(printable, smallLine, bigLine);
    const QString header = db_ && !db_->FileName().Empty() ? PathToQString(db_->FileName().NameWithExtension())
                                                           : TableText(context_.Strings(), kUntitledName);
    const int count = std::max(1, page->PrintedSheetCount(painter, layout.body, fonts));
    for (int sheet = 0; sheet < count; ++sheet) {
        if (sheet > 0 && !printer.newPage())
            return false;
        painter.setFont(small);
        painter.drawText(layout.header, Qt::AlignLeft | Qt::AlignVCenter, header);
        painter.drawText(layout.footer, Qt::AlignLeft | Qt::AlignVCenter, PrintedProgramName());
        painter.drawText(layout.footer, Qt::AlignRight | Qt::AlignVCenter,
                         SheetNumberText(context_.Strings(), sheet + 1, count));
        page->PrintSheet(painter, layout.body, sheet, fonts);
    }
    return painter.end();
}

void AMainWindow::RunPrint()
{
    QPrinter printer(QPrinter::HighResolution);
    ApplySetup(printer, UserInterface::Settings::LoadPageSetup(context_.Options().Store()));
    QPrintDialog dialog(&printer, this);
    if (context_.Dialogs().RunModal(dialog) != QDialog::Accepted)
        return;
    if (!PrintCurrentPage(printer))
        ShowMessage(kPrintFailed, {0x80004005u}, Win32API::VelvixForms::AMessageButtons::Ok,
                    Win32API::VelvixForms::AMessageIcon::Error);
}

void AMainWindow::RunPageSetup()
{
    auto& store = context_.Options().Store();
    const APageSetup previous = UserInterface::Settings::LoadPageSetup(store);
    QPrinter printer(QPrinter::HighResolution);
    ApplySetup(printer, previous);
    QPageSetupDialog dialog(&printer, this);
    if (context_.Dialogs().RunModal(dialog) != QDialog::Accepted)
        return;
    UserInterface::Settings::SavePageSetup(store, SetupOf(printer, previous));
}

void AMainWindow::ChooseListFont()
{
    const auto chosen = context_.Dialogs().ChooseFont(this, ListFont());
    if (!chosen)
        return;
    UserInterface::Settings::SaveFont(context_.Options().Store(), FontSetting(*chosen));
    ApplySettings();
}

}  // namespace UserInterface
