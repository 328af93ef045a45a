#include "app/PreviewUpdater.h"

#include "app/Browser.h"
#include "app/BrowserScript.h"
#include "document/FileSet.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <algorithm>
#include <utility>

using namespace pictor;

namespace {

const char* KindName(TCopyKind kind)
{
    switch (kind) {
    case TCopyKind::Sheet: return "sheet";
    case TCopyKind::SheetPicture: return "sheet-picture";
    default: return "picture";
    }
}

} // namespace

TPreviewUpdater::TPreviewUpdater(IBrowser& browser, std::function<void()> refreshed, QObject* parent)
    : QObject(parent), Browser_(browser), OnRefreshed_(std::move(refreshed))
{
}

void TPreviewUpdater::Show(const IFileSet& files, const QString& page)
{
    Browser_.DropPrefetched();
    ++Generation_;
    Swapping_ = false;
    Next_ = {};
    Shown_ = TCopyStamps(files);
    Loaded_ = Shown_;
    Browser_.Navigate(page);
    Load_ = Browser_.LoadsStarted() + 1;
}

void TPreviewUpdater::Update(const IFileSet& files, const QString& page)
{
    // Pages loaded ahead show what was before, maybe in files of theirs that this page does not name.
    Browser_.DropPrefetched();
    if (Swapping_) {
        Next_ = [this, &files, page] { Update(files, page); };
        return;
    }
    TCopyStamps now(files);
    const std::vector<TChangedCopy> changed = now.ChangedSince(Shown_);
    const bool pageChanged =
        std::any_of(changed.begin(), changed.end(), [](const TChangedCopy& c) { return c.Kind == TCopyKind::Page; });
    // A page loaded again by other hands names the copies as they were then by their plain addresses; one
    // still loading may have fetched some as they were and not others.
    if (pageChanged || Browser_.ShownAddress() != page || Browser_.LoadsStarted() != Load_ || Browser_.IsLoading())
        return Show(files, page);
    Shown_ = std::move(now);
    Swap(files, changed, page);
}

void TPreviewUpdater::Swap(const IFileSet& files, const std::vector<TChangedCopy>& changed, const QString& page)
{
    QJsonArray list;
    for (const TChangedCopy& copy : changed) {
        const QString url = QUrl::fromLocalFile(QString::fromStdString(copy.Path)).toString(QUrl::FullyEncoded);
        // Back as it was when the page was loaded, or at an earlier step: the browser still has it.
        const bool asLoaded = !copy.Version.empty() && copy.Version == Loaded_.Version(copy.Path);
        const QString to = asLoaded ? url : url + "?pictor-copy=" + QString::fromStdString(copy.Version);
        list.append(QJsonObject{{"url", url}, {"to", to}, {"kind", KindName(copy.Kind)}});
    }
    const QString script = ScriptFile(QStringLiteral("refresh-copies.js")) + '(' +
                           QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact)) + ')';
    Swapping_ = true;
    Browser_.RunAsyncScript(script, [this, generation = Generation_, files = &files, page](bool done, const QString& why) {
        if (generation != Generation_) return;  // loaded again meanwhile
        Swapping_ = false;
        if (!done) {
            qInfo("the preview loads the page again: %s", qPrintable(why));
            return Show(*files, page);
        }
        if (OnRefreshed_) OnRefreshed_();
        if (const auto next = std::exchange(Next_, {})) next();
    });
}
