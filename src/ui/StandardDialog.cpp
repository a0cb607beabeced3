#include "ui/StandardDialog.h"

#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "win32api/DynaForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace UserInterface::UtilityForms {

using Win32API::VelvixForms::ADialogForm;

AStandardDialog::AStandardDialog(const AProgramContext& context, int captionId, const std::string& content,
                                 QWidget* parent, std::source_location where)
    : QDialog(parent), context_(context), captionId_(captionId)
{
    form_ = new ADialogForm("{bm6{t1" + content + "{bt10xr{t2{b[bDgt#1]}{bl4[bt#2]}}}}}", context.strings.get(),
                            this, where);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->addWidget(form_);
    form_->Create();
    for (int id : {kOk, kCancel})
        if (auto* button = form_->ControlAs<QPushButton>(static_cast<std::int16_t>(id))) {
            button->setAutoDefault(id == kOk);
            connect(button, &QPushButton::clicked, this, [this, id] { Press(id); });
        }
    setWindowTitle(TableText(context.Strings(), captionId_).remove(u'&').remove(QStringLiteral("...")));
}

AStandardDialog::~AStandardDialog() = default;

void AStandardDialog::Press(int button)
{
    if (button == kOk)
        accept();
    else
        reject();
}

void AStandardDialog::accept()
{
    if (!Validate())
        return;
    Apply();
    QDialog::accept();
}

void AStandardDialog::ApplyTexts()
{
    form_->ApplyTexts(context_.strings.get());
    setWindowTitle(TableText(context_.Strings(), captionId_).remove(u'&').remove(QStringLiteral("...")));
}

int AStandardDialog::ShowMessage(int id, Win32API::VelvixForms::AMessageIcon icon)
{
    Win32API::VelvixForms::AMessageBoxOptions options;
    options.text = std::u16string(context_.Strings().Text(id));
    options.title = u"Fendral";
    options.icon = icon;
    return context_.Dialogs().ShowMessage(this, options);
}

bool AStandardDialog::Refuse(int messageId, QWidget* field)
{
    ShowMessage(messageId);
    if (field) {
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->selectAll();
    }
    return false;
}

}  // namespace UserInterface::UtilityForms
