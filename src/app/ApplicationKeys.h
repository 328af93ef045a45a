#pragma once
#include <QObject>

class QAction;
class QWidget;

// Ctrl+A, Ctrl+O, Ctrl+Shift+O, Ctrl+S and F5 wherever the focus is: always consumed, and run only while the main
// window is the active window (a disabled command does nothing).
class TApplicationKeys : public QObject {
    Q_OBJECT
public:
    TApplicationKeys(QWidget* mainWindow, QAction* selectAll, QAction* open, QAction* openSite, QAction* save,
                     QAction* reload);
    ~TApplicationKeys() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MainWindow_;
    QAction* SelectAll_;
    QAction* Open_;
    QAction* OpenSite_;
    QAction* Save_;
    QAction* Reload_;
};
