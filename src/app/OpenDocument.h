#pragma once
#include "adjust/Adjustment.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pictor {
class THtmlStructure;
class TSiteDocument;
class TWorkingDocument;
class TWorkSession;
struct TDocumentOptions;
}

// What the window has open: one page with its files, or a whole site with the page it shows, and the
// working folders that hold their copies. Knows nothing of how it is shown.
class TOpenDocument : public QObject {
    Q_OBJECT
public:
    // Runs a load's long part on the worker; false when it was cancelled.
    using TRun = std::function<bool(const std::function<void(const pictor::TPictureProgress&)>& job)>;

    explicit TOpenDocument(QObject* parent);
    ~TOpenDocument() override;

    // The page shown: the open page, or the chosen page of the open site.
    pictor::THtmlStructure& Shown() const { return *Shown_; }
    // What every change, Undo, Redo and Save act on: the open page with its files, or the whole site.
    pictor::TWorkingDocument& Edited() const;
    // The open site; null while a single page is open.
    pictor::TSiteDocument* Site() const { return Site_.get(); }
    // The index of the page shown among the site's pages; -1 with no site.
    int ShownPage() const;
    // The open site's folder, with a trailing "/"; empty with no site.
    const QString& SiteFolder() const { return SiteFolder_; }
    // After a load, or a save below another folder.
    void SetSiteFolder(const QString& folder);
    // A path as the site's lists show it: below the site's folder.
    QString BelowSite(const std::string& path) const;

    // False while a load runs and after a failed one: the document must not be read then.
    bool IsReady() const { return Ready_; }
    // A page is open and nothing else has its records: the lists and commands may read them.
    bool IsReadable() const;
    // The worker changes the records meanwhile.
    bool IsLent() const { return Lent_; }
    void SetLent(bool lent) { Lent_ = lent; }
    bool IsModified() const { return Modified_; }
    void SetModified(bool modified);

    // Loads into a working folder of its own; the open document stays whole until the new one is in.
    // False when cancelled, the open document as it was. Throws what the load threw, nothing then left
    // open and the document unready.
    bool LoadPage(const std::string& path, const pictor::TDocumentOptions& options, const TRun& run);
    bool LoadSite(const std::string& root, const pictor::TDocumentOptions& options, const TRun& run);
    // Shows that page of the site, an index into its pages, keeping the scroll offsets of the page it
    // showed; false when there is no such page to show or it is shown already.
    bool ChoosePage(int page, QPoint shownScroll);
    // Where the page was scrolled to when another was chosen.
    QPoint PageScroll(int page) const { return PageScroll_[size_t(page)]; }

    // A save of the files below folder cut short (a crash, a kill) is finished or undone before they
    // are read; one line for each, none when there was nothing to mend.
    static QStringList RecoverInterruptedSaves(const std::string& folder);

signals:
    void ModifiedChanged(bool modified);

private:
    bool LoadIntoNewFolder(const std::function<std::string(const std::string& folder)>& prepare,
                           const std::function<void(const pictor::TPictureProgress&)>& load, const TRun& run);
    void Replace(std::unique_ptr<pictor::THtmlStructure> single, std::unique_ptr<pictor::TSiteDocument> site);
    // A folder of this session's that held a document's working copies.
    void RemoveWorkFolder(const std::string& folder);

    std::unique_ptr<pictor::THtmlStructure> Single_;  // the open page; empty while a site is open
    std::unique_ptr<pictor::TSiteDocument> Site_;
    pictor::THtmlStructure* Shown_;
    QString SiteFolder_;
    std::vector<QPoint> PageScroll_;  // each page's scroll offsets, by page
    // This window's own working folder, made when the first page is opened.
    std::unique_ptr<pictor::TWorkSession> Work_;
    int Loads_ = 0;  // names each load's working folder
    bool Ready_ = true;
    bool Lent_ = false;
    bool Modified_ = false;
};
