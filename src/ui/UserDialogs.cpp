#include "ui/UserDialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>

namespace UserInterface {

int ADesktopDialogs::ShowMessage(QWidget* parent, const Win32API::VelvixForms::AMessageBoxOptions& options)
{
    return Win32API::VelvixForms::ShowMessageBox(parent, strings_.get(), options, options.dontShowAgain);
}

int AQuietDialogs::ShowMessage(QWidget*, const Win32API::VelvixForms::AMessageBoxOptions&)
{
    ++messages;
    return Win32API::VelvixForms::kIdOk;
}

int AQuietDialogs::RunModal(QDialog& dialog)
{
    return onModal ? onModal(dialog) : QDialog::Rejected;
}

namespace {

std::optional<std::string> RunFileDialog(QWidget* parent, const AFileDialogSpec& spec, bool saving)
{
    QFileDialog dialog(parent, spec.title, QString::fromStdString(spec.initialPath), spec.filters);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(spec.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace

std::optional<std::string> ADesktopDialogs::AskOpenFile(QWidget* parent, const AFileDialogSpec& spec)
{
    return RunFileDialog(parent, spec, false);
}

std::optional<std::string> ADesktopDialogs::AskSaveFile(QWidget* parent, const AFileDialogSpec& spec)
{
    return RunFileDialog(parent, spec, true);
}

std::optional<std::string> ADesktopDialogs::AskFolder(QWidget* parent, const std::string& initialFolder)
{
    const QString folder = QFileDialog::getExistingDirectory(parent, QString(), QString::fromStdString(initialFolder));
    if (folder.isEmpty())
        return std::nullopt;
    return folder.toStdString();
}

std::optional<std::uint32_t> ADesktopDialogs::ChooseColour(QWidget* parent, std::uint32_t initial,
                                                           UserInterface::Settings::ACustomColours& custom)
{
    for (int i = 0; i < QColorDialog::customCount() && i < static_cast<int>(custom.size()); ++i)
        QColorDialog::setCustomColor(i, ColourFromRef(custom[static_cast<std::size_t>(i)]));
    const QColor chosen = QColorDialog::getColor(ColourFromRef(initial), parent);
    for (int i = 0; i < QColorDialog::customCount() && i < static_cast<int>(custom.size()); ++i)
        custom[static_cast<std::size_t>(i)] = ColourRef(QColorDialog::customColor(i));
    if (!chosen.isValid())
        return std::nullopt;
    return ColourRef(chosen);
}

std::optional<QFont> ADesktopDialogs::ChooseFont(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return font;
}

int ADesktopDialogs::RunModal(QDialog& dialog)
{
    return dialog.exec();
}

QColor ColourFromRef(std::uint32_t colourRef)
{
    return QColor(static_cast<int>(colourRef & 0xFF), static_cast<int>((colourRef >> 8) & 0xFF),
                  static_cast<int>((colourRef >> 16) & 0xFF));
}

std::uint32_t ColourRef(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}

}  // namespace UserInterface
