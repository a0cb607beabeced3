#include "win32api/AWizard.h"

#include "core/AStrings.h"
#include "win32api/DynaForm.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace UserInterface {

namespace {

QString Text(const UtilityClasses::Strings::AStrings* strings, int id)
{
    if (!strings)
        return {};
    std::u16string_view text = strings->Text(id);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())).remove(u'\r');
}

QFrame* Line(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

AWizard::AWizardStep::AWizardStep(int titleId, int subtitleId, std::string layout, std::source_location where)
    : titleId_(titleId), subtitleId_(subtitleId), layout_(std::move(layout)), where_(where)
{
}

AWizard::AWizardStep::~AWizardStep() = default;

bool AWizard::AWizardStep::IsSkipped(const AWizard&) const
{
    return false;
}

void AWizard::AWizardStep::OnEnter(AWizard&) {}

bool AWizard::AWizardStep::OnLeave(AWizard&, bool)
{
    return true;
}

AWizard::AWizard(const UtilityClasses::Strings::AStrings* strings, int titleId, QWidget* parent)
    : QDialog(parent), strings_(strings), titleId_(titleId)
{
    auto* header = new QWidget(this);
    header->setAutoFillBackground(true);
    header->setBackgroundRole(QPalette::Base);
    title_ = new QLabel(header);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    subtitle_ = new QLabel(header);
    subtitle_->setWordWrap(true);
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->addWidget(title_);
    headerLayout->addWidget(subtitle_);
    headerLayout->setContentsMargins(12, 8, 12, 8);
    subtitle_->setContentsMargins(16, 0, 0, 0);

    pages_ = new QStackedWidget(this);
    back_ = new QPushButton(this);
    next_ = new QPushButton(this);
    finish_ = new QPushButton(this);
    cancel_ = new QPushButton(this);
    next_->setDefault(true);
    connect(back_, &QPushButton::clicked, this, [this] { Back(); });
    connect(next_, &QPushButton::clicked, this, [this] { Next(); });
    connect(finish_, &QPushButton::clicked, this, [this] { Finish(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { Cancel(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(back_);
    buttons->addWidget(next_);
    buttons->addSpacing(8);
    buttons->addWidget(finish_);
    buttons->addSpacing(8);
    buttons->addWidget(cancel_);
    buttons->setContentsMargins(8, 0, 8, 8);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(header);
    layout->addWidget(Line(this));
    layout->addWidget(pages_, 1);
    layout->addWidget(Line(this));
    layout->addLayout(buttons);
    ApplyTexts(strings);
}

AWizard::~AWizard() = default;

AWizard::AWizardStep* AWizard::AddStep(std::unique_ptr<AWizardStep> step)
{
    step->form_ = new Win32API::VelvixForms::ADialogForm(step->layout_, strings_, pages_, step->where_);
    step->form_->Create();
    pages_->addWidget(step->form_);
    steps_.push_back(std::move(step));
    return steps_.back().get();
}

AWizard::AWizardStep* AWizard::Step(int index) const
{
    return index >= 0 && index < StepCount() ? steps_[static_cast<std::size_t>(index)].get() : nullptr;
}

// The next step in the direction that is not skipped, -1 when there is none.
int AWizard::Neighbour(int from, int direction) const
{
    for (int i = from + direction; i >= 0 && i < StepCount(); i += direction)
        if (!steps_[static_cast<std::size_t>(i)]->IsSkipped(*this))
            return i;
    return -1;
}

void AWizard::Start()
{
    if (current_ < 0)
        if (int first = Neighbour(-1, +1); first >= 0)
            Enter(first);
}

void AWizard::Enter(int index)
{
    current_ = index;
    AWizardStep& step = *steps_[static_cast<std::size_t>(index)];
    pages_->setCurrentWidget(step.form_);
    ApplyStepTexts();
    const bool last = Neighbour(index, +1) < 0;
    back_->setEnabled(Neighbour(index, -1) >= 0);
    next_->setEnabled(!last);
    finish_->setEnabled(last);
    cancel_->setEnabled(true);
    (last ? finish_ : next_)->setDefault(true);
    step.OnEnter(*this);
    emit StepChanged(index);
}

bool AWizard::Next()
{
    int next = Neighbour(current_, +1);
    if (current_ < 0 || next < 0 || !next_->isEnabled() || !steps_[static_cast<std::size_t>(current_)]->OnLeave(*this, true))
        return false;
    Enter(next);
    return true;
}

bool AWizard::Back()
{
    int previous = Neighbour(current_, -1);
    if (current_ < 0 || previous < 0 || !back_->isEnabled() ||
        !steps_[static_cast<std::size_t>(current_)]->OnLeave(*this, false))
        return false;
    Enter(previous);
    return true;
}

bool AWizard::Finish()
{
    if (current_ < 0 || !finish_->isEnabled() || !steps_[static_cast<std::size_t>(current_)]->OnLeave(*this, true) ||
        !OnFinish())
        return false;
    accept();
    return true;
}

void AWizard::Cancel()
{
    if (cancel_->isEnabled())
        QDialog::reject();
}

bool AWizard::OnFinish()
{
    return true;
}

// Escape and the close button are Cancel, and only while Cancel may be pressed.
void AWizard::reject()
{
    Cancel();
}

void AWizard::showEvent(QShowEvent* event)
{
    Start();
    QDialog::showEvent(event);
}

QPushButton* AWizard::Button(AButton button) const
{
    switch (button) {
    case kBack: return back_;
    case kNext: return next_;
    case kFinish: return finish_;
    case kCancel: return cancel_;
    }
    return cancel_;
}

void AWizard::EnableButton(AButton button, bool enabled)
{
    Button(button)->setEnabled(enabled);
}

bool AWizard::IsButtonEnabled(AButton button) const
{
    return Button(button)->isEnabled();
}

void AWizard::ApplyStepTexts()
{
    AWizardStep* step = Step(current_);
    const bool own = step && !step->ownTitle_.isEmpty();
    title_->setText(!step ? QString() : own ? step->ownTitle_ : Text(strings_, step->titleId_));
    subtitle_->setText(!step ? QString() : own ? step->ownSubtitle_ : Text(strings_, step->subtitleId_));
}

void AWizard::ApplyTexts(const UtilityClasses::Strings::AStrings* strings)
{
    strings_ = strings;
    setWindowTitle(Text(strings_, titleId_));
    for (AButton button : {kBack, kNext, kFinish, kCancel})
        Button(button)->setText(Text(strings_, button));
    for (auto& step : steps_)
        step->form_->ApplyTexts(strings_);
    ApplyStepTexts();
}

}  // namespace UserInterface
