#include "ui/ProgressWindow.h"

#include "database/engine/Notify.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace UserInterface {

AProgressWindow::AProgressWindow(QWidget* owner, const QString& text, Database::Engine::AProgress& progress,
                                 int delayMs)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      progress_(progress),
      text_(new QLabel(text, this)),
      bar_(new QProgressBar(this)),
      delayMs_(delayMs)
{
    setWindowTitle(QStringLiteral("Fendral"));
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    text_->setText(QString(text).remove(u'\r'));
    layout->addWidget(text_);
    bar_->setRange(0, 100);
    bar_->setMinimumWidth(360);
    layout->addWidget(bar_);
    elapsed_.start();
    progress_.Attach([this](int percent) { Update(percent); });
}

AProgressWindow::~AProgressWindow()
{
    progress_.Attach({});
}

QString AProgressWindow::Text() const
{
    return text_->text();
}

int AProgressWindow::Percent() const
{
    return bar_->value();
}

void AProgressWindow::Update(int percent)
{
    bar_->setValue(percent);
    if (!isVisible() && elapsed_.elapsed() >= delayMs_)
        show();
    if (isVisible())
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace UserInterface
