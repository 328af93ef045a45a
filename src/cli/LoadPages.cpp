#include "cli/LoadPages.h"

#include "base/InterruptedSaves.h"
#include "base/PictorError.h"
#include "cli/Progress.h"
#include "document/Paths.h"
#include "site/SitePages.h"

#include <iostream>

namespace pictor::cli {

void RecoverInterruptedSaves(const std::vector<std::string>& folders)
{
    for (const TSaveRecovery& recovery : RecoverSavesAbove(folders))
        std::cerr << "pictor-cli: " << RecoveryMessage(recovery) << "\n";
}

void LoadPages(TSiteDocument& site, const TPagesRequest& request, TWorkPool& pool)
{
    std::vector<std::string> pages = request.Pages;
    if (!request.Site.empty()) {
        const std::vector<std::string> found = FindSitePages(request.Site);
        if (found.empty()) throw TPictorError(request.Site, "holds no page (.htm, .html, .shtml)");
        pages.insert(pages.end(), found.begin(), found.end());
    }
    // A save cut short is finished or undone before anything is read.
    std::vector<std::string> folders;
    for (const std::string& page : pages) folders.push_back(FolderOf(page));
    RecoverInterruptedSaves(folders);
    {
        TProgressBar bar("loading pages");
        site.Load(pages, request.Site, pool, [&](int done, int total) {
            if (total > 1) bar.Update(done, total);
        });
    }
    if (request.OnePage() && site.FailedCount() > 0) std::rethrow_exception(site.Pages().front().Error);
    for (const TSitePage& page : site.Pages())
        if (!page.Loaded()) std::cerr << "pictor-cli: " << EscapeControlBytes(page.ErrorText()) << "\n";
    for (const TDeadReference& dead : site.DeadReferences())
        std::cerr << "pictor-cli: " << EscapeControlBytes(dead.Path + ": " + DeadReferenceHint(dead.State, dead.Reason))
                  << "\n";
    for (const TRejectedColor& rejected : RejectedColors(site))
        std::cerr << "pictor-cli: "
                  << EscapeControlBytes(rejected.Path + ":" + std::to_string(rejected.Pos) + ": \"" + rejected.Text +
                                        "\": " + RejectedColorHint)
                  << "\n";
}

int SiteStatus(const TSiteDocument& site)
{
    return site.FailedCount() > 0 ? 1 : 0;
}

} // namespace pictor::cli
