#include "app/WebBrowser.h"

#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>

namespace {

// What an asynchronous script says on the console when it has settled: the mark, its number, then "+"
// and its value or "-" and why it failed.
const QString SettledMark = QStringLiteral("pictor-settled:");
// The query that makes each of our navigations' addresses its own.
const QString NavigationKey = QStringLiteral("pictor=");

} // namespace

// Hands the settled scripts' messages to the browser.
class TWebBrowser::TPage : public QWebEnginePage {
public:
    TPage(QWebEngineProfile* profile, TWebBrowser& browser) : QWebEnginePage(profile, browser.View_), Browser_(browser) {}

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override
    {
        if (!message.startsWith(SettledMark)) return QWebEnginePage::javaScriptConsoleMessage(level, message, line, source);
        const QString rest = message.mid(SettledMark.size());
        const qsizetype space = rest.indexOf(' ');
        if (space < 1 || space + 1 >= rest.size()) return;
        Browser_.Settled(rest.left(space).toInt(), rest[space + 1] == '+', rest.mid(space + 2));
    }

private:
    TWebBrowser& Browser_;
};

TWebBrowser::TWebBrowser(QWidget* parent)
    : QWidget(parent), Profile_(new QWebEngineProfile(this)), View_(new QWebEngineView(this))
{
    // Off the record and without an HTTP cache: every navigation reads the working copies afresh.
    Profile_->setHttpCacheType(QWebEngineProfile::NoCache);
    View_->setPage(NewPage());
    // Files dropped on the preview open as documents in the main window instead.
    View_->setAcceptDrops(false);
    setAcceptDrops(false);
    connect(View_, &QWebEngineView::loadStarted, this, &TWebBrowser::DropAwaited);
}

TWebBrowser::TPage* TWebBrowser::NewPage()
{
    auto* page = new TPage(Profile_, *this);
    // Each load names its own address: the view's may already be the next one's. A page out of sight
    // tells nothing until it is shown.
    connect(page, &QWebEnginePage::loadingChanged, this, [this, page](const QWebEngineLoadingInfo& load) {
        if (page != View_->page()) return;
        if (load.status() == QWebEngineLoadingInfo::LoadStartedStatus) ++LoadsStarted_;
        if (load.status() != QWebEngineLoadingInfo::LoadSucceededStatus &&
            load.status() != QWebEngineLoadingInfo::LoadFailedStatus)
            return;
        // A load of ours cut short by a later one is not what the view shows; a link followed in the
        // page, or a reload from the view's menu, is.
        if (load.url().query().startsWith(NavigationKey) && load.url().query() != Requested_.query()) return;
        LoadFinished(load.url());
    });
    return page;
}

TWebBrowser::~TWebBrowser()
{
    Awaited_.clear();  // nobody is left to tell
    delete View_;      // the page must go before its profile
}

QUrl TWebBrowser::FreshUrl(const QString& address)
{
    QUrl url = QUrl::fromLocalFile(address);
    url.setQuery(NavigationKey + QString::number(++Navigations_));
    return url;
}

void TWebBrowser::Navigate(const QString& address)
{
    if (address == QLatin1String("about:blank")) {
        Requested_ = QUrl(address);
        View_->setUrl(Requested_);
        return;
    }
    const auto prefetched = std::find_if(Prefetched_.begin(), Prefetched_.end(),
                                         [&](const auto& entry) { return entry.first == address; });
    if (prefetched != Prefetched_.end()) {
        QWebEnginePage* page = prefetched->second;
        Prefetched_.erase(prefetched);
        return ShowPrefetched(page);
    }
    Requested_ = FreshUrl(address);
    View_->setUrl(Requested_);
}

void TWebBrowser::Prefetch(const QString& address)
{
    if (address == ShownAddress() ||
        std::any_of(Prefetched_.begin(), Prefetched_.end(), [&](const auto& entry) { return entry.first == address; }))
        return;
    if (Prefetched_.size() >= MaxPrefetched) {
        delete Prefetched_.front().second;
        Prefetched_.erase(Prefetched_.begin());
    }
    TPage* page = NewPage();
    page->load(FreshUrl(address));
    Prefetched_.emplace_back(address, page);
}

void TWebBrowser::DropPrefetched()
{
    for (const auto& entry : Prefetched_) delete entry.second;
    Prefetched_.clear();
}

void TWebBrowser::ShowPrefetched(QWebEnginePage* page)
{
    QWebEnginePage* shown = View_->page();
    const QUrl shownUrl = shown->url();
    DropAwaited();  // the shown page's answers go with it
    View_->setPage(page);
    Requested_ = page->requestedUrl();
    // The page left keeps what it shows, for a way back as quick.
    if (!shown->isLoading() && shownUrl.isLocalFile()) {
        if (Prefetched_.size() >= MaxPrefetched) {
            delete Prefetched_.front().second;
            Prefetched_.erase(Prefetched_.begin());
        }
        Prefetched_.emplace_back(shownUrl.toLocalFile(), shown);
    } else {
        shown->deleteLater();
    }
    // As a navigation does: a load begun, then done once the page is, after this returns.
    const bool loaded = !page->isLoading();
    QTimer::singleShot(0, this, [this, page, loaded] {
        if (page != View_->page()) return;
        ++LoadsStarted_;
        if (loaded) LoadFinished(page->url());
    });
}

void TWebBrowser::SetOnDocumentComplete(std::function<void(const QString&)> handler)
{
    OnDocumentComplete_ = std::move(handler);
}

void TWebBrowser::LoadFinished(const QUrl& url)
{
    View_->history()->clear();
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

void TWebBrowser::RunAsyncScript(const QString& script, std::function<void(bool, const QString&)> done)
{
    const int id = ++Scripts_;
    Awaited_[id] = std::move(done);
    const QString mark = SettledMark + QString::number(id);
    View_->page()->runJavaScript(
        QStringLiteral("Promise.resolve().then(function () { return (%1); }).then("
                       "function (v) { console.log(%2 + ' +' + String(v)); }, "
                       "function (e) { console.log(%2 + ' -' + String(e)); }); 0")
            .arg(script, QStringLiteral("'") + mark + QStringLiteral("'")));
}

void TWebBrowser::Settled(int id, bool fulfilled, const QString& value)
{
    const auto found = Awaited_.find(id);
    if (found == Awaited_.end()) return;
    const auto done = std::move(found->second);
    Awaited_.erase(found);
    done(fulfilled, value);
}

void TWebBrowser::DropAwaited()
{
    // Each is told in turn; one that starts another script adds it after those being dropped.
    while (!Awaited_.empty()) Settled(Awaited_.begin()->first, false, QStringLiteral("the page went"));
}

bool TWebBrowser::IsLoading() const
{
    return View_->page()->isLoading();
}

QString TWebBrowser::ShownAddress() const
{
    const QUrl url = View_->url();
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
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
