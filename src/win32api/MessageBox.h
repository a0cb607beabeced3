// The program's message box: an icon, the text, the buttons of the platform's message boxes
// with their texts from the string table, and on request the tick "Не показывать больше это
// сообщение" (string 462).
#pragma once
#include <QDialog>

#include <memory>
#include <string>
#include <vector>

namespace UtilityClasses::Strings {
class AStrings;
}

namespace Win32API::VelvixForms {

class ADialogForm;

// The platform's answer ids, which are also the string ids of the buttons' texts.
enum AMessageResult : int { kIdOk = 1, kIdCancel = 2, kIdAbort = 3, kIdRetry = 4, kIdIgnore = 5, kIdYes = 6, kIdNo = 7 };

enum class AMessageButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class AMessageIcon { None, Information, Question, Warning, Error };

struct AMessageBoxOptions {
    std::u16string text;
    std::u16string title;
    AMessageButtons buttons = AMessageButtons::Ok;
    AMessageIcon icon = AMessageIcon::None;
    int defaultButton = 0;           // index among the buttons
    bool offerDontShowAgain = false; // shows the tick
    bool* dontShowAgain = nullptr;   // receives the tick's state when the box closes
};

std::vector<int> MessageButtonIds(AMessageButtons buttons);

class AMessageBox : public QDialog {
    Q_OBJECT
public:
    AMessageBox(const UtilityClasses::Strings::AStrings* strings, const AMessageBoxOptions& options,
                QWidget* parent = nullptr);
    ~AMessageBox() override;

    // The id of the button that closed the box (kIdCancel when it was closed otherwise and
    // it has a Cancel button).
    int Answer() const { return answer_; }
    bool DontShowAgain() const;
    ADialogForm& Form() { return *form_; }
    // Presses a button as the user would.
    void Press(int id);

protected:
    void reject() override;

private:
    ADialogForm* form_;
    std::vector<int> buttons_;
    int answer_ = 0;
};

// Shows the box modally and returns the answer; `dontShowAgain` receives the tick's state.
int ShowMessageBox(QWidget* parent, const UtilityClasses::Strings::AStrings* strings,
                   const AMessageBoxOptions& options, bool* dontShowAgain = nullptr);

}  // namespace Win32API::VelvixForms
