#include "widgets/TabSideBar.h"

#include <QBoxLayout>

TTabSideBar::TTabSideBar(QWidget* page, QWidget* parent)
    : QWidget(parent), TabBar_(new QTabBar(this)), Page_(page), Layout_(new QBoxLayout(QBoxLayout::TopToBottom, this))
{
    Layout_->setContentsMargins(0, 0, 0, 0);
    Layout_->setSpacing(0);
    TabBar_->setExpanding(false);
    TabBar_->setUsesScrollButtons(true);
    TabBar_->setElideMode(Qt::ElideNone);
    Page_->setParent(this);
    SetTabPosition(0);
}

void TTabSideBar::SetTabPosition(int position)
{
    if (position < 0 || position > 3 || position == Position_) return;
    Position_ = position;
    static constexpr QTabBar::Shape shapes[] = {QTabBar::RoundedNorth, QTabBar::RoundedEast, QTabBar::RoundedSouth,
                                                QTabBar::RoundedWest};
    static constexpr QBoxLayout::Direction directions[] = {QBoxLayout::TopToBottom, QBoxLayout::RightToLeft,
                                                           QBoxLayout::BottomToTop, QBoxLayout::LeftToRight};
    TabBar_->setShape(shapes[position]);
    Layout_->removeWidget(TabBar_);
    Layout_->removeWidget(Page_);
    Layout_->setDirection(directions[position]);
    Layout_->addWidget(TabBar_, 0, position % 2 == 0 ? Qt::AlignLeft : Qt::AlignTop);
    Layout_->addWidget(Page_, 1);
}
