#include "ui/exchange/StepProgress.h"

#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/exchange/WizardTexts.h"
#include "win32api/DynaForm.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>

namespace UserInterface::Exchange {

namespace {
constexpr std::int16_t kOperation = -1, kBar = -2, kIcon = -3, kResult = -4, kResultRow = -5;
// Painting this often keeps the bar moving smoothly without slowing the run.
constexpr qint64 kPaintEveryMs = 40;
constexpr const char* kLayout =
    "{t1m8xeyt{t2xe{bxl[s#784]}{bl4We[s#-1]}}{bt8We[p#-2]}"
    "{t2#-5~t12xe{bW16H16xl[s#-3]}{bl8We[s#-4]}}}";
}  // namespace

AWizardStepProgress::AWizardStepProgress(const AProgramContext& context, int titleId, int subtitleId, ARun run,
                                         AAfter after)
    : AWizardStep(titleId, subtitleId, kLayout), context_(context), run_(std::move(run)), after_(std::move(after))
{
}

void AWizardStepProgress::OnEnter(AWizard& wizard)
{
    for (AWizard::AButton button : {AWizard::kBack, AWizard::kNext, AWizard::kFinish, AWizard::kCancel})
        wizard.EnableButton(button, false);
    Form()->ShowElement(kResultRow, false);
    Form()->ControlAs<QLabel>(kOperation)->clear();
    auto* bar = Form()->ControlAs<QProgressBar>(kBar);
    bar->setRange(0, 100);
    bar->setValue(0);
    repaints_ = 0;
    longestGap_ = 0;
    sincePaint_.start();
    Pump(true);

    const ExportImport::Wizards::ARunResult result = run_();
    longestGap_ = std::max(longestGap_, sincePaint_.elapsed());
    bar->setValue(100);
    Form()->ControlAs<QLabel>(kIcon)->setPixmap(ResultIcon(result.clean));
    Form()->ControlAs<QLabel>(kResult)->setText(TableText(context_.Strings(), result.textId));
    Form()->ShowElement(kResultRow, true);
    Form()->Relayout(true, false);
    after_(wizard);
}

void AWizardStepProgress::ShowCaption(std::u16string_view caption)
{
    Form()->ControlAs<QLabel>(kOperation)->setText(ToQString(caption).remove(u'\r'));
    Pump(true);
}

void AWizardStepProgress::ShowPercent(unsigned percent)
{
    Form()->ControlAs<QProgressBar>(kBar)->setValue(static_cast<int>(percent));
    Pump(false);
}

int AWizardStepProgress::Percent() const
{
    return Form()->ControlAs<QProgressBar>(kBar)->value();
}

// Lets the window paint (and the system see it answer); the user's input waits for the end,
// when the buttons are back.
void AWizardStepProgress::Pump(bool force)
{
    const qint64 elapsed = sincePaint_.elapsed();
    if (!force && elapsed < kPaintEveryMs)
        return;
    longestGap_ = std::max(longestGap_, elapsed);
    sincePaint_.restart();
    ++repaints_;
    Form()->ControlAs<QProgressBar>(kBar)->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace UserInterface::Exchange
