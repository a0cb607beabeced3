#include "win32api/ReportPicker.h"

#include "win32api/QtReportCanvas.h"
#include "win32api/ReportWindow.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSizeGrip>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

namespace Win32API::VelvixControls::Reports::Implementation {

AReportPicker::AReportPicker(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    model_.SetPickerList(true);
}

AReportPicker::~AReportPicker()
{
    Close();
}

void AReportPicker::SetMode(AReportMode* mode)
{
    model_.SetMode(mode);
    RebuildRows();
}

void AReportPicker::RebuildRows()
{
    model_.Rebuild();
    if (list_)
        list_->RebuildRows();
    update();
}

void AReportPicker::Select(AReportItemImpl* item)
{
    model_.RebuildIfStale();
    if (item)
        model_.MakeVisible(*item);
    else
        model_.Clear();
    update();
}

void AReportPicker::SetLook(const AToolkitLook& look)
{
    look_ = look;
    if (list_)
        list_->SetLook(look);
}

QSize AReportPicker::sizeHint() const
{
    return QSize(fontMetrics().height() * 8, fontMetrics().height() + 8);
}

void AReportPicker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = false;
    if (IsOpen())
        option.state |= QStyle::State_On;
    style()->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, this);
    // The item draws its own field, so a colour shows as its swatch, not as a name.
    AReportItemImpl* item = model_.IsStale() ? nullptr : model_.FocusedItem();
    if (!item)
        return;
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const QColor text = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    ACellStyle cellStyle;
    cellStyle.text = static_cast<AColour>(text.red()) | static_cast<AColour>(text.green()) << 8 |
                     static_cast<AColour>(text.blue()) << 16;
    AQtReportCanvas canvas(&painter, font());
    item->DrawSingleText(canvas, {field.left(), field.top(), field.left() + field.width(), field.top() + field.height()},
                         cellStyle);
}

void AReportPicker::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    if (IsOpen())
        Close();
    else
        Open();
}

void AReportPicker::keyPressEvent(QKeyEvent* event)
{
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (event->key() == Qt::Key_F4 || (alt && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up))) {
        Open();
        return;
    }
    // Arrows change the choice without opening the list.
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        AReportItemImpl* before = model_.FocusedItem();
        model_.HandleKey(event->key() == Qt::Key_Up ? AReportKey::Up : AReportKey::Down, false, false, 1, false);
        ReportChange(before);
        return;
    }
    QWidget::keyPressEvent(event);
}

void AReportPicker::Open()
{
    if (IsOpen())
        return;
    model_.RebuildIfStale();
    pickedBeforeOpening_ = model_.FocusedItem();
    // A window of its own, without a parent, with a border the user may resize it by.
    popup_ = new QFrame(nullptr, Qt::Popup);
    popup_->setAttribute(Qt::WA_DeleteOnClose);
    popup_->setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(popup_);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    list_ = new AReportWindow(popup_, &model_);
    list_->SetPickerList(true);
    list_->SetLook(look_);
    list_->setFont(font());
    layout->addWidget(list_);
    auto* grip = new QSizeGrip(popup_);
    layout->addWidget(grip, 0, Qt::AlignBottom | Qt::AlignRight);
    // The list's own notifications (check boxes, double clicks...) are the picker's.
    connect(list_, &AReportWindow::Notify, this, &AReportPicker::Notify);
    list_->viewport()->installEventFilter(this);
    list_->installEventFilter(this);
    connect(popup_, &QObject::destroyed, this, [this] {
        list_ = nullptr;
        update();
    });

    int height = list_->HeaderHeight() + list_->RowHeight() * 12 + grip->sizeHint().height() + 4;
    QPoint below = mapToGlobal(QPoint(0, this->height()));
    popup_->setGeometry(below.x(), below.y(), std::max(width(), fontMetrics().height() * 16), height);
    list_->RebuildRows();
    popup_->show();
    list_->setFocus();
    update();
}

void AReportPicker::Close()
{
    if (popup_) {
        popup_->removeEventFilter(this);
        delete popup_.data();
    }
    list_ = nullptr;
    update();
}

void AReportPicker::Pick()
{
    AReportItemImpl* before = pickedBeforeOpening_;
    Close();
    ReportChange(before);
}

void AReportPicker::ReportChange(AReportItemImpl* before)
{
    update();
    if (model_.FocusedItem() == before)
        return;
    bool answer = true;
    emit Notify(kNotifySelectionChanged, &answer);
}

bool AReportPicker::eventFilter(QObject* watched, QEvent* event)
{
    if (!list_)
        return false;
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && list_->RowAt(mouse->position().toPoint().y()) >= 0) {
            QMetaObject::invokeMethod(this, &AReportPicker::Pick, Qt::QueuedConnection);
        }
    } else if (watched == list_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Pick();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            // Escape takes back what the arrows chose while the list was open.
            AReportItemImpl* before = pickedBeforeOpening_;
            Close();
            Select(before);
            return true;
        }
    }
    return false;
}

}  // namespace Win32API::VelvixControls::Reports::Implementation
