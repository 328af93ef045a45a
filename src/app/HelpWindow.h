#pragma once
#include <QMainWindow>
#include <QUrl>

class QWebEngineView;

// The manual in a window of the program's own, shown by the same engine as the preview, so that
// help needs no desktop browser. The desktop's browser is there as an option.
class THelpWindow : public QMainWindow {
    Q_OBJECT
public:
    // owner: the main window, which the help window stays beside and closes with.
    explicit THelpWindow(QWidget* owner);
    // Shows the page (the manual's start page) and brings the window to the front.
    void ShowPage(const QUrl& address);
    QUrl Address() const;

private:
    QWebEngineView* View_;
};
