#pragma once
#include "app/Browser.h"

#include <QWidget>

#include <map>

class QUrl;
class QWebEngineProfile;
class QWebEngineView;

// The preview (`Web`): Chromium through Qt WebEngine, in a profile that keeps nothing.
class TWebBrowser : public QWidget, public IBrowser {
    Q_OBJECT
public:
    explicit TWebBrowser(QWidget* parent = nullptr);
    ~TWebBrowser() override;

    void Navigate(const QString& address) override;
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
    std::map<int, std::function<void(bool, const QString&)>> Awaited_;  // by script
};
