#pragma once
#include "app/model/CopyStamps.h"

#include <QObject>
#include <QString>

#include <functional>

class IBrowser;

namespace pictor {
class IFileSet;
}

// Shows a document's working copies in the preview. After a step only the sheets and pictures it
// rewrote are swapped in the page as it stands (refresh-copies.js), keeping its scroll position; the
// page is loaded again when its own copy changed, when it is not the one shown, or when the swap fails.
class TPreviewUpdater : public QObject {
    Q_OBJECT
public:
    // refreshed: called when the preview shows a step without loading the page again; a load ends
    // with the browser's document-complete notification instead.
    TPreviewUpdater(IBrowser& browser, std::function<void()> refreshed, QObject* parent);

    // Loads the page's working copy afresh.
    void Show(const pictor::IFileSet& files, const QString& page);
    // Shows what the copies have become since the last Show or Update.
    void Update(const pictor::IFileSet& files, const QString& page);

private:
    void Swap(const pictor::IFileSet& files, const std::vector<pictor::TChangedCopy>& changed, const QString& page);

    IBrowser& Browser_;
    std::function<void()> OnRefreshed_;
    int Load_ = 0;                // the browser's count of loads once the page's has begun
    pictor::TCopyStamps Loaded_;  // the copies as the page was loaded, named by their plain addresses
    pictor::TCopyStamps Shown_;   // the copies as the preview shows them, or will once the swap is done
    int Generation_ = 0;         // a load makes a swap under way moot
    bool Swapping_ = false;
    // An update asked for while a swap is under way, done after it.
    std::function<void()> Next_;
};
