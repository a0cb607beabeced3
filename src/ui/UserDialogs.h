// Every modal question the program asks goes through here: message boxes, the file, folder,
// colour and font choosers, and the program's own dialogs. The program shows them; tests
// answer them, so each flow can be driven to its end without a person.
#pragma once
#include "core/SettingsBlobs.h"
#include "win32api/MessageBox.h"

#include <QFont>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QDialog;
class QWidget;

namespace UserInterface {

struct AFileDialogSpec {
    QString title;
    QString filters;          // Qt filter text, ";;" between filters
    QString defaultSuffix;    // without the dot
    std::string initialPath;  // folder or file
};

class AUserDialogs {
public:
    virtual ~AUserDialogs() = default;

    // The id of the button that closed the box (Win32API::VelvixForms::AMessageResult).
    virtual int ShowMessage(QWidget* parent, const Win32API::VelvixForms::AMessageBoxOptions& options) = 0;
    // A file that exists; none when cancelled.
    virtual std::optional<std::string> AskOpenFile(QWidget* parent, const AFileDialogSpec& spec) = 0;
    virtual std::optional<std::string> AskSaveFile(QWidget* parent, const AFileDialogSpec& spec) = 0;
    virtual std::optional<std::string> AskFolder(QWidget* parent, const std::string& initialFolder) = 0;
    // The chooser may change the custom colours whether or not a colour is chosen.
    virtual std::optional<std::uint32_t> ChooseColour(QWidget* parent, std::uint32_t initial,
                                                      UserInterface::Settings::ACustomColours& custom) = 0;
    virtual std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) = 0;
    // Runs one of the program's dialogs modally; the QDialog result code.
    virtual int RunModal(QDialog& dialog) = 0;
};

// The real dialogs of the desktop.
class ADesktopDialogs final : public AUserDialogs {
public:
    explicit ADesktopDialogs(const std::unique_ptr<UtilityClasses::Strings::AStrings>& strings) : strings_(strings) {}

    int ShowMessage(QWidget* parent, const Win32API::VelvixForms::AMessageBoxOptions& options) override;
    std::optional<std::string> AskOpenFile(QWidget* parent, const AFileDialogSpec& spec) override;
    std::optional<std::string> AskSaveFile(QWidget* parent, const AFileDialogSpec& spec) override;
    std::optional<std::string> AskFolder(QWidget* parent, const std::string& initialFolder) override;
    std::optional<std::uint32_t> ChooseColour(QWidget* parent, std::uint32_t initial,
                                              UserInterface::Settings::ACustomColours& custom) override;
    std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) override;
    int RunModal(QDialog& dialog) override;

private:
    // The current table, which a language switch replaces.
    const std::unique_ptr<UtilityClasses::Strings::AStrings>& strings_;
};

// Asks nobody, for programs that drive the windows themselves: OK to every message, no file,
// folder, colour or font; a modal dialog goes to `onModal` and is cancelled without one.
class AQuietDialogs final : public AUserDialogs {
public:
    int ShowMessage(QWidget* parent, const Win32API::VelvixForms::AMessageBoxOptions& options) override;
    std::optional<std::string> AskOpenFile(QWidget*, const AFileDialogSpec&) override { return std::nullopt; }
    std::optional<std::string> AskSaveFile(QWidget*, const AFileDialogSpec&) override { return std::nullopt; }
    std::optional<std::string> AskFolder(QWidget*, const std::string&) override { return std::nullopt; }
    std::optional<std::uint32_t> ChooseColour(QWidget*, std::uint32_t, UserInterface::Settings::ACustomColours&) override
    {
        return std::nullopt;
    }
    std::optional<QFont> ChooseFont(QWidget*, const QFont&) override { return std::nullopt; }
    int RunModal(QDialog& dialog) override;

    std::function<int(QDialog&)> onModal;
    int messages = 0;  // how many were shown
};

// 0x00BBGGRR, as the settings keep colours, and back.
QColor ColourFromRef(std::uint32_t colourRef);
std::uint32_t ColourRef(const QColor& colour);

}  // namespace UserInterface
