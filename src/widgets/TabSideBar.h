#pragma once
#include <QTabBar>
#include <QWidget>

class QBoxLayout;

// A tab bar on any side of one shared page: the file tabs and the lists of the side bar.
class TTabSideBar : public QWidget {
    Q_OBJECT
public:
    explicit TTabSideBar(QWidget* page, QWidget* parent = nullptr);
    QTabBar* TabBar() const { return TabBar_; }
    // 0 top, 1 right, 2 bottom, 3 left.
    void SetTabPosition(int position);
    int TabPosition() const { return Position_; }

private:
    QTabBar* TabBar_;
    QWidget* Page_;
    QBoxLayout* Layout_;
    int Position_ = -1;
};
