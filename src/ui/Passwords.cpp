#include "core/CodePage.h"
#include "ui/Passwords.h"

#include "core/FileSystem.h"
#include "database/Password.h"
#include "ui/DatabaseModel.h"
#include "ui/InterfaceTexts.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "win32api/DynaForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>

namespace UserInterface {

namespace {

using PasswordText::kEnterCaption, PasswordText::kChangeExplained;
constexpr int kChangeCaption = Database::kChangePasswordLabel;
constexpr int kFileIsProtected = Database::kFileIsProtectedMessage;
constexpr std::int16_t kIconId = -20, kTextId = -21, kFirstFieldId = -22;
// At most this much of a field is read, as the platform's 1024-character buffer held.
constexpr int kMaxPasswordLength = 1023;

std::string EnterLayout()
{
    return "{t2{bm4yt[si#-20]}{t1xe{bxl[s#-21]}{bt8xl[sg#508]}{bt2W140xe[e*t#-22]}}}";
}

std::string ChangeLayout()
{
    return "{t2{bm4yt[si#-20]}{t1xe{bxl[s#-21]}{bt8xl[sg#509]}{bt2W140xe[e*t#-22]}{bt8xl[sg#510]}"
           "{bt2W140xe[e*t#-23]}{bt6xl[sg#511]}{bt2W140xe[e*t#-24]}}}";
}

}  // namespace

APasswords::APasswords(const AProgramContext& context, const std::string& fileName,
                       std::function<bool(const std::u16string&)> accept, QWidget* parent)
    : AStandardDialog(context, kEnterCaption, EnterLayout(), parent),
      mode_(AMode::Enter),
      fileName_(fileName),
      accept_(std::move(accept))
{
    Setup();
}

APasswords::APasswords(const AProgramContext& context, Database::ADatabase& db, QWidget* parent)
    : AStandardDialog(context, kChangeCaption, ChangeLayout(), parent), mode_(AMode::Change), db_(&db)
{
    Setup();
}

void APasswords::Setup()
{
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    Form().ControlAs<QLabel>(kIconId)->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(size, size));
    for (int i = 0; Field(i); ++i)
        Field(i)->setMaxLength(kMaxPasswordLength);
    ApplyTexts();
    Field(0)->setFocus();
}

void APasswords::ApplyTexts()
{
    AStandardDialog::ApplyTexts();
    const auto& strings = context_.Strings();
    const std::u16string text =
        mode_ == AMode::Enter
            ? strings.Format(kFileIsProtected, {UtilityClasses::Strings::Utf8ToUtf16(Files::FileNameOf(fileName_))})
            : std::u16string(strings.Text(kChangeExplained));
    Form().ControlAs<QLabel>(kTextId)->setText(ToQString(text).remove(u'\r'));
    Form().Relayout(true);
}

QLineEdit* APasswords::Field(int index) const
{
    if (index < 0 || index > (mode_ == AMode::Enter ? 0 : 2))
        return nullptr;
    return const_cast<APasswords*>(this)->Form().ControlAs<QLineEdit>(static_cast<std::int16_t>(kFirstFieldId - index));
}

bool APasswords::Validate()
{
    if (refusing_)
        return false;
    if (mode_ == AMode::Enter) {
        if (accept_ && accept_(ToU16(Field(0)->text())))
            return true;
        RefuseAfterDelay(Field(0));
        return false;
    }
    using Database::APasswordChange;
    const APasswordChange result =
        Database::ChangePassword(*db_, ToU16(Field(0)->text()), ToU16(Field(1)->text()), ToU16(Field(2)->text()),
                                 context_.Strings().Text(kChangeCaption));
    switch (result) {
    case APasswordChange::Changed: return true;
    case APasswordChange::WrongCurrent: RefuseAfterDelay(Field(0)); return false;
    case APasswordChange::NewDiffers: Refuse(Database::kNewPasswordsDifferMessage, Field(1)); return false;
    case APasswordChange::StepOpen: return false;
    }
    return false;
}

// A wrong password is told about only after a moment, which makes guessing slow.
void APasswords::RefuseAfterDelay(QLineEdit* focus)
{
    refusing_ = true;
    QTimer::singleShot(delayMs_, this, [this, focus] {
        refusing_ = false;
        Refuse(Database::kPasswordMismatchMessage, focus);
    });
}

void APasswords::Refuse(int messageId, QLineEdit* focus)
{
    ShowMessage(messageId);
    focus->setFocus();
    focus->selectAll();
}

Database::APasswordPrompt MakePasswordPrompt(const AProgramContext& context, QWidget* owner)
{
    return [&context, owner](const std::string& fileName, const std::function<bool(const std::u16string&)>& accept) {
        APasswords dialog(context, fileName, accept, owner);
        return context.Dialogs().RunModal(dialog) == QDialog::Accepted;
    };
}

}  // namespace UserInterface
