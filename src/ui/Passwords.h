// The password dialog: in enter mode it asks for the password of a file being opened, as
// often as the user wants; in change mode it changes the password of the open file as one
// undoable step.
#pragma once
#include "ui/DatabaseModel.h"
#include "ui/StandardDialog.h"

#include <functional>
#include <string>

class QLineEdit;

namespace UserInterface {

class APasswords final : public UtilityForms::AStandardDialog {
    Q_OBJECT
public:
    enum class AMode { Enter, Change };
    static constexpr int kMismatchDelayMs = 400;

    // Enter mode: `accept` says whether a typed text is the file's password.
    APasswords(const AProgramContext& context, const std::string& fileName,
               std::function<bool(const std::u16string&)> accept, QWidget* parent);
    // Change mode over the open database.
    APasswords(const AProgramContext& context, Database::ADatabase& db, QWidget* parent);

    AMode Mode() const { return mode_; }
    QLineEdit* Field(int index) const;  // 0: the password (enter) or the current one (change)
    // The wait before a wrong password is told about, which slows down guessing.
    void SetMismatchDelay(int ms) { delayMs_ = ms; }
    // Whether the dialog is waiting to say that the password was wrong.
    bool IsRefusing() const { return refusing_; }
    void ApplyTexts() override;

protected:
    bool Validate() override;

private:
    void Setup();
    void RefuseAfterDelay(QLineEdit* focus);
    void Refuse(int messageId, QLineEdit* focus);

    AMode mode_;
    std::string fileName_;
    std::function<bool(const std::u16string&)> accept_;
    Database::ADatabase* db_ = nullptr;
    int delayMs_ = kMismatchDelayMs;
    bool refusing_ = false;
};

// The prompt the database calls when a file it opens has a password.
Database::APasswordPrompt MakePasswordPrompt(const AProgramContext& context, QWidget* owner);

}  // namespace UserInterface
