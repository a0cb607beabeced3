#include "win32api/TabControl.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include <algorithm>

namespace Win32API::VelvixControls {

ATabControl::ATabControl(QWidget* parent) : QWidget(parent), tabBar_(new QTabBar(this))
{
    tabBar_->setDrawBase(false);
    tabBar_->setExpanding(false);
    connect(tabBar_, &QTabBar::currentChanged, this, &ATabControl::currentChanged);
}

QRect ATabControl::DisplayArea(const QRect& area) const
{
    int barHeight = tabBar_->sizeHint().height();
    return area.adjusted(FrameWidth(), barHeight + FrameWidth(), -FrameWidth(), -FrameWidth());
}

void ATabControl::GetMinimumSize(VelvixForms::ASize& size) const
{
    size.cx = std::max(size.cx, tabBar_->sizeHint().width() + 2 * FrameWidth());
}

void ATabControl::resizeEvent(QResizeEvent*)
{
    tabBar_->setGeometry(0, 0, width(), tabBar_->sizeHint().height());
}

void ATabControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionTabWidgetFrame option;
    option.initFrom(this);
    int barHeight = tabBar_->sizeHint().height();
    option.rect = rect().adjusted(0, barHeight - 1, 0, 0);
    option.tabBarSize = tabBar_->sizeHint();
    option.tabBarRect = tabBar_->geometry();
    option.shape = QTabBar::RoundedNorth;
    option.lineWidth = FrameWidth();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
}

}  // namespace Win32API::VelvixControls
