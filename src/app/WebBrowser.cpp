#include "app/WebBrowser.h"

#include <QEventLoop>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

TWebBrowser::TWebBrowser(QWidget* parent)
    : QWidget(parent), Profile_(new QWebEngineProfile(this)), View_(new QWebEngineView(this))
{
    // Off the record and without an HTTP cache: every navigation reads the working copies afresh.
    Profile_->setHttpCacheType(QWebEngineProfile::NoCache);
    View_->setPage(new QWebEnginePage(Profile_, View_));
    // Files dropped on the preview open as documents in the main window instead.
    View_->setAcceptDrops(false);
    setAcceptDrops(false);
    connect(View_, &QWebEngineView::loadFinished, this, &TWebBrowser::LoadFinished);
}

TWebBrowser::~TWebBrowser()
{
    delete View_;  // the page must go before its profile
}

void TWebBrowser::Navigate(const QString& address)
{
    if (address == QLatin1String("about:blank")) {
        View_->setUrl(QUrl(address));
        return;
    }
    // A new address every time: a fresh load that reads the file again and that Chromium does
    // not treat as a reload, whose own scroll restoring would race with ours.
    QUrl url = QUrl::fromLocalFile(address);
    url.setQuery(QStringLiteral("pictor=%1").arg(++Navigations_));
    View_->setUrl(url);
}

void TWebBrowser::SetOnDocumentComplete(std::function<void(const QString&)> handler)
{
    OnDocumentComplete_ = std::move(handler);
}

void TWebBrowser::LoadFinished()
{
    View_->history()->clear();
    const QUrl url = View_->url();
    if (OnDocumentComplete_) OnDocumentComplete_(url.isLocalFile() ? url.toLocalFile() : url.toString());
}

QPoint TWebBrowser::ScrollOffsets() const
{
    return View_->page()->scrollPosition().toPoint();
}

void TWebBrowser::ScrollTo(const QPoint& offsets)
{
    View_->page()->runJavaScript(QStringLiteral("window.scrollTo(%1, %2);").arg(offsets.x()).arg(offsets.y()));
}

QSize TWebBrowser::PageExtent() const
{
    return View_->page()->contentsSize().toSize();
}

void TWebBrowser::SetViewSize(const QSize& size)
{
    FillsRegion_ = false;
    View_->resize(size);
}

void TWebBrowser::FillRegion()
{
    FillsRegion_ = true;
    View_->setGeometry(rect());
}

void TWebBrowser::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (FillsRegion_) View_->setGeometry(rect());
}

QImage TWebBrowser::RenderPage(const QSize& size)
{
    SetViewSize(size);
    WaitForLayout(size);
    return View_->grab().toImage();
}

void TWebBrowser::RunScript(const QString& script, std::function<void(const QVariant&)> done)
{
    View_->page()->runJavaScript(script, std::move(done));
}

void TWebBrowser::WaitForLayout(const QSize& size)
{
    // Chromium lays the page out again for the new size in its own time: ask until the page sees
    // the size, then give the compositor time to deliver a frame. The state outlives this call in
    // case an answer comes late.
    struct TState {
        QEventLoop Loop;
        bool Done = false;
    };
    auto state = std::make_shared<TState>();
    const auto finish = [state] {
        state->Done = true;
        state->Loop.quit();
    };
    const QString script = QStringLiteral("[window.innerWidth, window.innerHeight]");
    auto ask = std::make_shared<std::function<void()>>();
    *ask = [this, state, size, script, finish, weakAsk = std::weak_ptr(ask)] {
        View_->page()->runJavaScript(script, [state, size, finish, weakAsk](const QVariant& v) {
            if (state->Done) return;
            const QVariantList wh = v.toList();
            if (wh.size() == 2 && wh[0].toInt() == size.width() && wh[1].toInt() == size.height())
                finish();
            else if (auto again = weakAsk.lock())
                QTimer::singleShot(20, &state->Loop, *again);
        });
    };
    QTimer::singleShot(3000, &state->Loop, finish);
    (*ask)();
    state->Loop.exec();
    QTimer::singleShot(100, &state->Loop, &QEventLoop::quit);
    state->Loop.exec();
}
