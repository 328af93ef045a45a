#pragma once
#include <QWidget>

// Gives the keyboard back to the window once a dialog or question it opened has closed: a window
// manager may leave the focus on no window at all, and then the next Alt key does nothing.
class TFocusBack {
public:
    explicit TFocusBack(QWidget& window) : Window_(window) {}
    ~TFocusBack()
    {
        if (Window_.isVisible()) Window_.activateWindow();
    }
    TFocusBack(const TFocusBack&) = delete;
    TFocusBack& operator=(const TFocusBack&) = delete;

private:
    QWidget& Window_;
};
