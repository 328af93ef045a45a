#include "site/SiteDocument.h"

#include "base/FailureReasons.h"
#include "base/PictorError.h"
#include "base/WorkPool.h"
#include "document/ChannelVariables.h"
#include "document/DocumentText.h"
#include "document/LoadedFiles.h"
#include "document/Paths.h"

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <set>
#include <unordered_set>

namespace pictor {

std::string TSitePage::ErrorText() const
{
    if (!Error) return {};
    try {
        std::rethrow_exception(Error);
    } catch (const std::exception& e) {
        return e.what();
    }
}

TSiteDocument::TSiteDocument(std::unique_ptr<IWorkingCopies> copies) : TWorkingDocument(std::move(copies)) {}

void TSiteDocument::Load(const std::vector<std::string>& pages, const std::string& root, TWorkPool& pool,
                         const TSiteProgress& progress)
{
    Pages_.clear();
    std::unordered_set<std::string> seen; // a page named twice is loaded once
    for (const std::string& path : pages)
        if (seen.insert(FileIdentity(path)).second) Pages_.push_back({path, nullptr, nullptr});

    TLoadedFiles files(&pool);
    std::mutex progressMutex;
    int done = 0;
    std::exception_ptr stopped;
    pool.ForEach(Pages_.size(), [&](size_t i) {
        {
            const std::lock_guard lock(progressMutex);
            if (stopped) return;
        }
        TSitePage& page = Pages_[i];
        try {
            auto document = std::make_unique<THtmlStructure>(NoWorkingCopies());
            document->LoadPage(page.Path, files);
            page.Document = std::move(document);
        } catch (const std::bad_alloc&) {
            page.Error = std::make_exception_ptr(TPictorError(page.Path, SystemErrorText(ENOMEM)));
        } catch (...) {
            page.Error = std::current_exception();
        }
        const std::lock_guard lock(progressMutex);
        ++done;
        try {
            if (progress && !stopped) progress(done, int(Pages_.size()));
        } catch (...) {
            stopped = std::current_exception();
        }
    });
    if (stopped) std::rethrow_exception(stopped);
    IndexFiles(root);
    AddChannelColors(*this);
}

void TSiteDocument::IndexFiles(const std::string& root)
{
    Files_.clear();
    std::unordered_set<const TElements*> sheets;
    for (TSitePage& page : Pages_)
        if (page.Loaded()) Files_.push_back({&page.Document->Page, true});
    for (TSitePage& page : Pages_) {
        if (!page.Loaded()) continue;
        for (const std::shared_ptr<TElements>& sheet : page.Document->Sheets)
            if (sheets.insert(sheet.get()).second) Files_.push_back({sheet.get(), false});
    }
    std::vector<std::string> paths;
    if (!root.empty()) paths.push_back(root.ends_with('/') ? root : root + "/");
    for (const TFile& file : Files_) {
        paths.push_back(file.Elements->Path);
        for (const TPicRecord& pic : file.Elements->Pics) paths.push_back(pic.FullPath);
    }
    BaseFolder_ = CommonBaseFolder(paths);
    PlaceWorkingCopies(BaseFolder_);
}

int TSiteDocument::FailedCount() const
{
    return int(std::count_if(Pages_.begin(), Pages_.end(), [](const TSitePage& p) { return !p.Loaded(); }));
}

std::vector<TDeadReference> TSiteDocument::DeadReferences() const
{
    std::vector<TDeadReference> dead;
    std::set<std::string> named;
    for (const TSitePage& page : Pages_)
        if (page.Loaded())
            for (TDeadReference& reference : page.Document->DeadReferences())
                if (named.insert(reference.Path).second) dead.push_back(std::move(reference));
    return dead;
}

bool SaveSiteBelow(TSiteDocument& site, const std::string& folder, const TPictureSaveOptions& options,
                   const TOverwriteQuestion& ask)
{
    std::vector<bool> ticks;
    ForEachPicture(site, [&](TPicRecord& pic) {
        ticks.push_back(pic.Checked);
        pic.Checked = pic.Tickable();
    });
    const auto restore = [&] {
        size_t i = 0;
        ForEachPicture(site, [&](TPicRecord& pic) { pic.Checked = ticks[i++]; });
    };
    try {
        const bool saved = SaveFilesBelow(site, folder, options, ask);
        restore();
        return saved;
    } catch (...) {
        restore();
        throw;
    }
}

void TSiteDocument::RewriteTexts()
{
    for (TFile& file : Files_) RewriteText(*file.Elements);
}

} // namespace pictor
