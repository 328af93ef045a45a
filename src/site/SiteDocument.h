#pragma once
#include "document/HtmlStructure.h"
#include "document/SaveDocument.h"
#include "document/WorkingDocument.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pictor {

// One page of a site: its document, or why it could not be loaded.
struct TSitePage {
    std::string Path;
    std::unique_ptr<THtmlStructure> Document; // null when the page failed
    std::exception_ptr Error;

    bool Loaded() const { return Document != nullptr; }
    // "file: reason", one line.
    std::string ErrorText() const;
};

// Called as pages finish loading: (done, total), one call at a time. One that throws ends the load: the
// pages not yet begun are left, and Load throws what it threw.
using TSiteProgress = std::function<void(int, int)>;

// Several pages opened together. A file that several pages reach (a sheet, an imported sheet, a picture)
// is one file: read, decoded and recorded once and held once, so a change to it is made once. As a file
// set it holds each distinct file once: every loaded page, then each sheet in the order first reached.
// Its working copies lie below their folder as the files lie below the site's.
class TSiteDocument : public TWorkingDocument {
public:
    // copies: where the working copies go; none for a site whose changes are only saved.
    explicit TSiteDocument(std::unique_ptr<IWorkingCopies> copies = NoWorkingCopies());

    // Loads the pages on pool; a page that fails is kept with its error and the rest go on. The layout of
    // a save below another folder is taken from root (the site's folder), or from the common folder of
    // every file when root is empty or does not hold them all. A site shown in the window then begins
    // its history (BeginHistory).
    void Load(const std::vector<std::string>& pages, const std::string& root, TWorkPool& pool,
              const TSiteProgress& progress = {});

    const std::vector<TSitePage>& Pages() const { return Pages_; }
    int FailedCount() const;
    // The missing sheets and every missing or unreadable picture of every page, each once.
    std::vector<TDeadReference> DeadReferences() const;
    // Sets every file's NewText from its records: the step that ends a change.
    void RewriteTexts();

    int FileCount() const override { return int(Files_.size()); }
    TElements& Elements(int file) override { return *Files_.at(size_t(file)).Elements; }
    const TElements& Elements(int file) const override { return *Files_.at(size_t(file)).Elements; }
    bool IsPage(int file) const override { return Files_.at(size_t(file)).Page; }
    // The common folder of the site's folder and every file, with a trailing "/".
    const std::string& BaseFolder() const { return BaseFolder_; }

private:
    // A page's record, or a sheet's that the pages naming it share.
    struct TFile {
        TElements* Elements;
        bool Page;
    };

    void IndexFiles(const std::string& root);

    std::vector<TSitePage> Pages_;
    std::vector<TFile> Files_;
    std::string BaseFolder_;
};

// Save as for a site: every file below folder as it lies below the site's folder, and every picture with
// it, those no change touched copied as they are; the ticks stay as they were. As SaveFilesBelow.
bool SaveSiteBelow(TSiteDocument& site, const std::string& folder, const TPictureSaveOptions& options,
                   const TOverwriteQuestion& ask);

} // namespace pictor
