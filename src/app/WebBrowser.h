#pragma once
#include "app/Browser.h"

#include <QUrl>
#include <QWidget>

#include <map>
#include <utility>
#include <vector>

class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

// The preview (`Web`): Chromium through Qt WebEngine, in a profile that keeps nothing.
class TWebBrowser : public QWidget, public IBrowser {
    Q_OBJECT
public:
    explicit TWebBrowser(QWidget* parent = nullptr);
    ~TWebBrowser() override;

    void Navigate(const QString& address) override;
    void Prefetch(const QString& address) override;
    void DropPrefetched() override;
    void SetOnDocumentComplete(std::function<void(const QString& address)> handler) override;
    QPoint ScrollOffsets() const override;
    void ScrollTo(const QPoint& offsets) override;
    QSize PageExtent() const override;
    void SetViewSize(const QSize& size) override;
    void FillRegion() override;
    QImage RenderPage(const QSize& size) override;
    void RunScript(const QString& script, std::function<void(const QVariant&)> done) override;
    void RunAsyncScript(const QString& script, std::function<void(bool fulfilled, const QString& value)> done) override;
    QString ShownAddress() const override;
    int LoadsStarted() const override { return LoadsStarted_; }
    bool IsLoading() const override;

    QWebEngineView* View() const { return View_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    class TPage;
    TPage* NewPage();
    // A fresh address for the file: a new load that reads it again and that Chromium does not treat
    // as a reload, whose own scroll restoring would race with ours.
    QUrl FreshUrl(const QString& address);
    // Puts a page loaded out of sight in the view.
    void ShowPrefetched(QWebEnginePage* page);
    void LoadFinished(const QUrl& url);
    // The page is going: the answers still awaited will never come.
    void DropAwaited();
    void Settled(int id, bool fulfilled, const QString& value);
    void WaitForLayout(const QSize& size);

    QWebEngineProfile* Profile_;
    QWebEngineView* View_;
    std::function<void(const QString&)> OnDocumentComplete_;
    bool FillsRegion_ = true;
    int Navigations_ = 0;
    int Scripts_ = 0;
    int LoadsStarted_ = 0;
    QUrl Requested_;  // the last address asked for until its load begins
    QUrl Loading_;    // the address of the load begun last
    std::map<int, std::function<void(bool, const QString&)>> Awaited_;  // by script
    // Pages out of sight by their files' paths, the oldest first; children of the view.
    std::vector<std::pair<QString, QWebEnginePage*>> Prefetched_;
    static constexpr std::size_t MaxPrefetched = 3;
};
