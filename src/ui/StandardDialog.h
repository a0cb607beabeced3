// A dialog of the program: a caption from the string table, a form laid out by its layout
// string, and OK and Cancel under it. OK closes only when the dialog's check lets it.
#pragma once
#include "win32api/MessageBox.h"

#include <QDialog>

#include <source_location>
#include <string>

namespace Win32API::VelvixForms {
class ADialogForm;
}

namespace UserInterface {

struct AProgramContext;

namespace UtilityForms {

class AStandardDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;

    // `content` is one layout element; the buttons go below it.
    AStandardDialog(const AProgramContext& context, int captionId, const std::string& content, QWidget* parent,
                    std::source_location where = std::source_location::current());
    ~AStandardDialog() override;

    Win32API::VelvixForms::ADialogForm& Form() { return *form_; }
    // Presses OK or Cancel as the user would.
    void Press(int button);
    // Re-reads the caption and every text of the form.
    virtual void ApplyTexts();

protected:
    // OK was pressed: false keeps the dialog open (after telling the user why).
    virtual bool Validate() { return true; }
    // After a successful check, before the dialog closes.
    virtual void Apply() {}
    void accept() override;
    // Shows message `id` of the string table over the dialog; the answer.
    int ShowMessage(int id, Win32API::VelvixForms::AMessageIcon icon = Win32API::VelvixForms::AMessageIcon::Warning);
    // A check refused: its message, then the focus on the field it names, its text selected
    // for typing over. False, for Validate to return.
    bool Refuse(int messageId, QWidget* field);

    const AProgramContext& context_;

private:
    int captionId_;
    Win32API::VelvixForms::ADialogForm* form_;
};

}  // namespace UtilityForms
}  // namespace UserInterface
