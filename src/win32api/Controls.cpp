#include "win32api/Controls.h"

#include "win32api/AEdit.h"
#include "win32api/DateCtrl.h"
#include "win32api/APieCtrl.h"
#include "win32api/ChrtCtrl.h"
#include "win32api/GraphicsControl.h"
#include "win32api/HistCtrl.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"
#include "win32api/TabControl.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextBrowser>

namespace Win32API::VelvixControls {

namespace {

QWidget* CreateButton(const VelvixForms::AControlSpec& spec, QWidget* parent)
{
    if (spec.HasFlag('C') || spec.HasFlag('R')) {
        QAbstractButton* button = spec.HasFlag('C') ? static_cast<QAbstractButton*>(new QCheckBox(parent))
                                                    : new QRadioButton(parent);
        // Radio buttons are exclusive within their group only, which the form sets up.
        button->setAutoExclusive(false);
        if (spec.HasFlag('l'))
            button->setLayoutDirection(Qt::RightToLeft);
        return button;
    }
    auto* button = new QPushButton(parent);
    button->setAutoDefault(false);
    if (spec.HasFlag('D'))
        button->setDefault(true);
    if (spec.HasFlag('P'))
        button->setCheckable(true);
    return button;
}

QWidget* CreateStatic(const VelvixForms::AControlSpec& spec, QWidget* parent)
{
    auto* label = new QLabel(parent);
    Qt::Alignment horizontal = spec.HasFlag('r') ? Qt::AlignRight : spec.HasFlag('m') ? Qt::AlignHCenter : Qt::AlignLeft;
    label->setAlignment(horizontal | Qt::AlignVCenter);
    if (spec.HasFlag('b'))
        label->setFrameShape(QFrame::Box);
    return label;
}

QWidget* CreateEdit(const VelvixForms::AControlSpec& spec, QWidget* parent)
{
    auto* edit = new AEdit(spec.flags, parent);
    if (spec.HasFlag('='))
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (spec.HasFlag('*'))
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QWidget* CreateByType(const VelvixForms::AControlSpec& spec, QWidget* parent)
{
    switch (spec.type) {
    case 'b': return CreateButton(spec, parent);
    case 's': return CreateStatic(spec, parent);
    case 'e': return CreateEdit(spec, parent);
    case 'D': return new ADatePicker(parent);
    case 'T': return new ATimePicker(parent);
    case 't': return new ATabControl(parent);
    case 'S': return new QStatusBar(parent);
    case 'p': return new QProgressBar(parent);
    case 'w': return new QTextBrowser(parent);
    case 'R': return new Reports::AReportWindow(parent);
    case 'r': return new Reports::AReportPicker(parent);
    case 'g': return new AChartControl(parent);
    case 'h': return new AHistogram(parent);
    case 'c': return new APieChart(parent);
    default: return new QWidget(parent);
    }
}

}  // namespace

QWidget* CreateControlWindow(const VelvixForms::AControlSpec& spec, QWidget* parent)
{
    QWidget* control = CreateByType(spec, parent);
    if (spec.HasFlag('d'))
        control->setEnabled(false);
    if (!spec.HasFlag('t') && spec.type != 's')
        control->setFocusPolicy(static_cast<Qt::FocusPolicy>(control->focusPolicy() & ~Qt::TabFocus));
    if (spec.HasFlag('b') && spec.type != 's')
        if (auto* frame = qobject_cast<QFrame*>(control))
            frame->setFrameShape(QFrame::Box);
    control->setProperty("fdControlId", static_cast<int>(spec.id));
    return control;
}

void SetControlText(QWidget* control, const QString& text)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(QString(text).remove(u'\r'));
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(QString(text).remove(u'\r'));
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* browser = qobject_cast<QTextBrowser*>(control))
        browser->setPlainText(text);
    else if (auto* graphics = qobject_cast<AGraphicsControl*>(control))
        graphics->SetMessage(text);
    else
        control->setWindowTitle(text);
}

}  // namespace Win32API::VelvixControls
