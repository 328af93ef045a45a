#include "app/HelpWindow.h"

#include "app/UiFonts.h"

#include <QAction>
#include <QDesktopServices>
#include <QToolBar>
#include <QWebEngineView>

THelpWindow::THelpWindow(QWidget* owner) : QMainWindow(owner, Qt::Window), View_(new QWebEngineView(this))
{
    setObjectName("frmHelp");
    setFont(ProportionalFont(12));
    setWindowTitle("Pictor マニュアル");
    resize(760, 600);
    setCentralWidget(View_);
    View_->setAcceptDrops(false);
    connect(View_, &QWebEngineView::titleChanged, this, [this](const QString& title) {
        if (!title.isEmpty()) setWindowTitle(title);
    });

    auto* bar = addToolBar("ヘルプ");
    bar->setObjectName("tbHelpWindow");
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto command = [this, bar](const char* name, const QString& caption, const QKeySequence& keys) {
        QAction* action = bar->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        return action;
    };
    QAction* back = command("actBack", "戻る", QKeySequence::Back);
    QAction* forward = command("actForward", "進む", QKeySequence::Forward);
    QAction* browser = command("actOpenInBrowser", "ブラウザで開く", {});
    QAction* close = command("actClose", "閉じる", Qt::Key_Escape);
    connect(back, &QAction::triggered, View_, &QWebEngineView::back);
    connect(forward, &QAction::triggered, View_, &QWebEngineView::forward);
    connect(browser, &QAction::triggered, this, [this] { QDesktopServices::openUrl(Address()); });
    connect(close, &QAction::triggered, this, &QWidget::close);
}

void THelpWindow::ShowPage(const QUrl& address)
{
    if (View_->url() != address) View_->setUrl(address);
    show();
    raise();
    activateWindow();
}

QUrl THelpWindow::Address() const
{
    return View_->url();
}
