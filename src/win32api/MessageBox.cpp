#include "win32api/MessageBox.h"

#include "win32api/DynaForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace Win32API::VelvixForms {

namespace {

constexpr std::int16_t kIconId = -270;
constexpr std::int16_t kTextId = -271;
constexpr std::int16_t kTickGroupId = -273;
constexpr std::int16_t kTickId = 462;

// The message layout of the program, then a row of buttons.
std::string MessageLayout(const std::vector<int>& buttons)
{
    std::string layout = "{bm4{t1{byt{t1{t2{bm4#-272yt[sig#-270]}{bm4yt[s#-271]}}{t1~t4#-273{bWe(:t)}{bWet4{bl10xl"
                         "[bCgt#462]}}}}}{t" + std::to_string(buttons.size()) + "t8xr";
    for (std::size_t i = 0; i < buttons.size(); ++i)
        layout += std::string("{b") + (i ? "l4" : "") + "[bt" + (i == 0 ? "g" : "") + "#" + std::to_string(buttons[i]) + "]}";
    return layout + "}}}";
}

QStyle::StandardPixmap IconPixmap(AMessageIcon icon)
{
    switch (icon) {
    case AMessageIcon::Information: return QStyle::SP_MessageBoxInformation;
    case AMessageIcon::Question: return QStyle::SP_MessageBoxQuestion;
    case AMessageIcon::Warning: return QStyle::SP_MessageBoxWarning;
    default: return QStyle::SP_MessageBoxCritical;
    }
}

}  // namespace

std::vector<int> MessageButtonIds(AMessageButtons buttons)
{
    switch (buttons) {
    case AMessageButtons::Ok: return {kIdOk};
    case AMessageButtons::OkCancel: return {kIdOk, kIdCancel};
    case AMessageButtons::AbortRetryIgnore: return {kIdAbort, kIdRetry, kIdIgnore};
    case AMessageButtons::YesNoCancel: return {kIdYes, kIdNo, kIdCancel};
    case AMessageButtons::YesNo: return {kIdYes, kIdNo};
    case AMessageButtons::RetryCancel: return {kIdRetry, kIdCancel};
    }
    return {kIdOk};
}

AMessageBox::AMessageBox(const UtilityClasses::Strings::AStrings* strings, const AMessageBoxOptions& options,
                         QWidget* parent)
    : QDialog(parent), buttons_(MessageButtonIds(options.buttons))
{
    setWindowTitle(QString::fromUtf16(options.title.data(), static_cast<qsizetype>(options.title.size())));
    form_ = new ADialogForm(MessageLayout(buttons_), strings, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(form_);
    form_->Create();

    QString text = QString::fromUtf16(options.text.data(), static_cast<qsizetype>(options.text.size()));
    form_->ControlAs<QLabel>(kTextId)->setText(text.remove(u'\r'));
    auto* icon = form_->ControlAs<QLabel>(kIconId);
    if (options.icon == AMessageIcon::None) {
        form_->ShowElement(-272, false);
    } else {
        int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        icon->setPixmap(style()->standardIcon(IconPixmap(options.icon), nullptr, this).pixmap(size, size));
    }
    if (options.offerDontShowAgain)
        form_->ShowElement(kTickGroupId, true);

    const int defaultIndex = options.defaultButton >= 0 && static_cast<std::size_t>(options.defaultButton) < buttons_.size()
                                 ? options.defaultButton
                                 : 0;
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        auto* button = form_->ControlAs<QPushButton>(static_cast<std::int16_t>(buttons_[i]));
        button->setDefault(static_cast<int>(i) == defaultIndex);
        button->setAutoDefault(true);
        if (static_cast<int>(i) == defaultIndex)
            button->setFocus();
        const int id = buttons_[i];
        connect(button, &QPushButton::clicked, this, [this, id] { Press(id); });
    }
    form_->Relayout(true, false);
}

AMessageBox::~AMessageBox() = default;

bool AMessageBox::DontShowAgain() const
{
    auto* tick = form_->ControlAs<QCheckBox>(kTickId);
    return tick && form_->IsElementShown(kTickGroupId) && tick->isChecked();
}

void AMessageBox::Press(int id)
{
    answer_ = id;
    done(id);
}

// Escape and the close button count as Cancel, or as OK for a box with OK alone; boxes
// that need an answer stay open.
void AMessageBox::reject()
{
    for (int id : buttons_)
        if (id == kIdCancel) {
            Press(kIdCancel);
            return;
        }
    if (buttons_.size() == 1 && buttons_.front() == kIdOk)
        Press(kIdOk);
}

int ShowMessageBox(QWidget* parent, const UtilityClasses::Strings::AStrings* strings,
                   const AMessageBoxOptions& options, bool* dontShowAgain)
{
    AMessageBox box(strings, options, parent);
    box.exec();
    if (dontShowAgain)
        *dontShowAgain = box.DontShowAgain();
    return box.Answer();
}

}  // namespace Win32API::VelvixForms
