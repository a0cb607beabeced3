#include "ui/AbstractPage.h"

#include "ui/MenuText.h"

#include <QMenu>

namespace UserInterface {

void AAbstractPage::FillActionsMenu(QMenu& menu)
{
    // The texts come with the window's menu translation.
    for (int id : {Command::kAdd, Command::kChange, Command::kDelete})
        menu.addAction(QString())->setData(id);
}

int AAbstractPage::PrintedSheetCount(QPainter&, const QRect&, const APrintFonts&)
{
    return 1;
}

void AAbstractPage::PrintSheet(QPainter&, const QRect&, int, const APrintFonts&) {}

void AAbstractPage::ReadSettings(std::span<const std::uint8_t>) {}

std::vector<std::uint8_t> AAbstractPage::WriteSettings() const
{
    return {};
}

void AAbstractPage::SettingsReread() {}

bool AAbstractPage::IsCommandEnabled(int) const
{
    return false;
}

void AAbstractPage::RunCommand(int) {}

}  // namespace UserInterface
