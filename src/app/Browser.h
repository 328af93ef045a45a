#pragma once
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QVariant>

#include <functional>

// The preview's browser, as the window and the adjustment dialogs use it.
class IBrowser {
public:
    virtual ~IBrowser() = default;

    // "about:blank" or a local file's full path. The view shows the file as it is on disk now, never
    // a cached copy, and its history does not grow. Returns at once.
    virtual void Navigate(const QString& address) = 0;
    // Loads the file in a page out of sight, so that a Navigate to it soon after shows it at once, as
    // it was when loaded; a page shown before is kept so too until the next DropPrefetched.
    virtual void Prefetch(const QString& address) = 0;
    // Forgets the pages loaded out of sight: the copies they show have changed.
    virtual void DropPrefetched() = 0;
    // Called once per navigation, after the page has been laid out, with the address that loaded
    // ("about:blank" or the file's path).
    virtual void SetOnDocumentComplete(std::function<void(const QString& address)> handler) = 0;

    // The shown document's scrollLeft and scrollTop.
    virtual QPoint ScrollOffsets() const = 0;
    // Scrolls the shown document so that these offsets are at the top-left.
    virtual void ScrollTo(const QPoint& offsets) = 0;
    // The shown document's scrollWidth and scrollHeight: the whole laid-out page.
    virtual QSize PageExtent() const = 0;

    // Detaches the view from its region and gives it this size, which may exceed the window.
    virtual void SetViewSize(const QSize& size) = 0;
    // Makes the view fill its region again.
    virtual void FillRegion() = 0;
    // Gives the view this size, lets the page lay itself out and paint at it, and returns what it
    // drew. The view keeps the size until FillRegion.
    virtual QImage RenderPage(const QSize& size) = 0;

    // Runs the script in the shown document and returns at once; done gets the value of its last
    // expression, or is never called when the page goes first.
    virtual void RunScript(const QString& script, std::function<void(const QVariant&)> done) = 0;
    // Runs a script whose value may be a promise and returns at once. done is called once: with true
    // and the text of what the promise gave, or with false and why it failed, also when the page
    // goes first.
    virtual void RunAsyncScript(const QString& script, std::function<void(bool fulfilled, const QString& value)> done) = 0;
    // The shown document's address: "about:blank" or a local file's full path.
    virtual QString ShownAddress() const = 0;
    // How many documents have begun to load, whoever asked (a reload from the view's own menu too).
    virtual int LoadsStarted() const = 0;
    // Whether a document is loading now.
    virtual bool IsLoading() const = 0;
};
