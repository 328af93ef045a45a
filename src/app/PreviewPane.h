#pragma once
#include <QObject>
#include <QPoint>

class IBrowser;
class TPreviewUpdater;
class TWebBrowser;

namespace pictor {
class THtmlStructure;
}

// The preview of the page shown: its working copy loaded, or a step swapped in where the page stands,
// in the light or the dark preferred colour scheme.
class TPreviewPane : public QObject {
    Q_OBJECT
public:
    explicit TPreviewPane(QObject* parent);

    // The browser, for the window to place.
    TWebBrowser* Browser() const { return Web_; }
    IBrowser& Web();
    // Loads the page's working copy afresh, at the top.
    void Show(const pictor::THtmlStructure& page);
    // Loads the page's working copy scrolled to offsets: a site's page shown again.
    void ShowAt(const pictor::THtmlStructure& page, QPoint offsets);
    // Keeps the scroll offsets for the page's next load, should an update need one.
    void SaveScrollPosition();
    // Shows what the working copies have become since the last Show or Update.
    void Update(const pictor::THtmlStructure& page);
    // Update from where the page stands now, returning once the preview shows it.
    void UpdateAndWait(const pictor::THtmlStructure& page);
    // The page shown in the dark preferred colour scheme, or the light one.
    void SetDark(bool dark);

signals:
    // The preview has shown a page afresh.
    void Shown();

private:
    void DocumentComplete(const QString& address);
    void Refreshed();

    TWebBrowser* Web_;
    TPreviewUpdater* Updater_;
    QPoint SavedScroll_;
    int ShownCount_ = 0;
    bool Dark_ = false;
};
