#include "app/OpenDocument.h"

#include "base/InterruptedSaves.h"
#include "base/PictorError.h"
#include "document/HtmlStructure.h"
#include "document/Paths.h"
#include "document/WorkSession.h"
#include "site/SiteDocument.h"
#include "site/SitePages.h"

#include <QDir>

#include <algorithm>
#include <filesystem>

using namespace pictor;

TOpenDocument::TOpenDocument(QObject* parent)
    : QObject(parent), Single_(std::make_unique<THtmlStructure>()), Shown_(Single_.get())
{
}

TOpenDocument::~TOpenDocument() = default;

TWorkingDocument& TOpenDocument::Edited() const
{
    if (Site_) return *Site_;
    return *Single_;
}

int TOpenDocument::ShownPage() const
{
    if (!Site_) return -1;
    const auto& pages = Site_->Pages();
    for (size_t i = 0; i < pages.size(); ++i)
        if (pages[i].Document.get() == Shown_) return int(i);
    return -1;
}

void TOpenDocument::SetSiteFolder(const QString& folder)
{
    SiteFolder_ = QDir::cleanPath(folder) + "/";
}

QString TOpenDocument::BelowSite(const std::string& path) const
{
    return QString::fromStdString(PathBelow(path, SiteFolder_.toStdString()));
}

bool TOpenDocument::IsReadable() const
{
    return Ready_ && !Lent_ && !Shown_->FileName().empty();
}

void TOpenDocument::SetModified(bool modified)
{
    Modified_ = modified;
    emit ModifiedChanged(modified);
}

bool TOpenDocument::LoadPage(const std::string& path, const TDocumentOptions& options, const TRun& run)
{
    std::unique_ptr<THtmlStructure> next;
    const bool done = LoadIntoNewFolder(
        [&](const std::string& folder) {
            next = std::make_unique<THtmlStructure>(folder);
            return next->WorkFolder;
        },
        [&](const TPictureProgress& progress) { next->LoadFromFile(path, options, progress); }, run);
    if (done) Replace(std::move(next), nullptr);
    return done;
}

bool TOpenDocument::LoadSite(const std::string& root, const TDocumentOptions& options, const TRun& run)
{
    std::unique_ptr<TSiteDocument> next;
    std::vector<std::string> pages;
    const bool done = LoadIntoNewFolder(
        [&](const std::string& work) {
            pages = FindSitePages(root);
            if (pages.empty()) throw TPictorError(root, "ページ (.htm, .html, .shtml) がありません");
            next = std::make_unique<TSiteDocument>(WorkFolderCopies(work));
            return next->WorkFolder;
        },
        [&](const TPictureProgress& progress) {
            next->Load(pages, root, *options.Pool, progress);
            next->BeginHistory(options);
        },
        run);
    if (!done) return false;
    Replace(std::make_unique<THtmlStructure>(), std::move(next));
    SetSiteFolder(QString::fromStdString(root));
    PageScroll_.assign(Site_->Pages().size(), QPoint());
    return true;
}

bool TOpenDocument::LoadIntoNewFolder(const std::function<std::string(const std::string& folder)>& prepare,
                                      const std::function<void(const TPictureProgress&)>& load, const TRun& run)
{
    std::string folder;
    bool done = false;
    try {
        if (!Work_) Work_ = std::make_unique<TWorkSession>();
        folder = prepare(Work_->Path() + std::to_string(++Loads_));
        done = run(load);
    } catch (...) {
        if (!folder.empty()) RemoveWorkFolder(folder);
        // Nothing of the old document is left to show or to ask about, and the half-read one stays
        // unready: every command that would use it is shut off.
        Replace(std::make_unique<THtmlStructure>(), nullptr);
        Ready_ = false;
        SetModified(false);
        throw;
    }
    if (!done) RemoveWorkFolder(folder);  // cancelled: the open document stays as it was
    return done;
}

void TOpenDocument::Replace(std::unique_ptr<THtmlStructure> single, std::unique_ptr<TSiteDocument> site)
{
    const std::string old = Edited().WorkFolder;
    Site_ = std::move(site);
    Single_ = std::move(single);
    Shown_ = Single_.get();
    SiteFolder_.clear();
    PageScroll_.clear();
    RemoveWorkFolder(old);
    Ready_ = true;
}

bool TOpenDocument::ChoosePage(int page, QPoint shownScroll)
{
    if (!Site_ || page < 0 || size_t(page) >= Site_->Pages().size() || !Site_->Pages()[size_t(page)].Loaded()) return false;
    const int shown = ShownPage();
    if (shown == page) return false;
    if (shown >= 0) PageScroll_[size_t(shown)] = shownScroll;
    Shown_ = Site_->Pages()[size_t(page)].Document.get();
    return true;
}

QStringList TOpenDocument::RecoverInterruptedSaves(const std::string& folder)
{
    QStringList lines;
    for (const TSaveRecovery& recovery : RecoverSavesAbove({folder}))
        lines << QString::fromStdString(RecoveryMessage(recovery));
    return lines;
}

void TOpenDocument::RemoveWorkFolder(const std::string& folder)
{
    std::error_code ignored;  // what is left goes with the session's folder
    if (Work_ && folder.starts_with(Work_->Path()) && folder.size() > Work_->Path().size())
        std::filesystem::remove_all(folder, ignored);
}
