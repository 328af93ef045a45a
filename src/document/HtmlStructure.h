#pragma once
#include "document/DocumentOptions.h"
#include "document/Elements.h"
#include "document/WorkingDocument.h"
#include "encoding/CharCode.h"
#include "encoding/PzConv.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pictor {

class TLoadedFiles;
class TWorkPool;
struct TFileScan;

// A file the document names that is not there, or a picture that cannot be decoded.
struct TDeadReference {
    std::string Path;
    TPicState State = TPicState::Missing;
    std::string Reason;
};
// "見つかりません" or "読み込めません", followed by the reason when there is one.
std::string DeadReferenceHint(TPicState state, const std::string& reason);

// A colour text a browser drops, where it stands (1-based position in the file as read).
struct TRejectedColor {
    std::string Path;
    std::string Text;  // UTF-8
    std::size_t Pos = 0;
};
// What is said of each, after its place and text.
extern const char* const RejectedColorHint;
// Every rejected colour text of each file in turn.
std::vector<TRejectedColor> RejectedColors(const IFileSet& files);

// The open document: a page and every style sheet it links or imports.
class THtmlStructure : public TWorkingDocument {
public:
    // workFolder: where the working copies go (a TWorkSession's); empty for a document that is never loaded.
    explicit THtmlStructure(std::string workFolder = {});
    explicit THtmlStructure(std::unique_ptr<IWorkingCopies> copies);

    // Reads the page and everything it references, writes the working copies and records the first
    // history state. Throws TPictorError naming the file and the reason, and what progress throws.
    void LoadFromFile(const std::string& path, const TDocumentOptions& options = {},
                      const std::function<void(int read, int found)>& progress = {});
    // Reads the page and takes its sheets and pictures from files, which other pages may share: no
    // working copies, no history. Throws TPictorError naming the file and the reason.
    void LoadPage(const std::string& path, TLoadedFiles& files);

    // One record per file, each holding its own path and working copy's: the page, then the sheets and
    // SVG pictures, shared with the other pages of a site.
    TElements Page;
    std::vector<std::shared_ptr<TElements>> Sheets;
    int SheetCount() const { return int(Sheets.size()); }

    std::vector<std::string> MissingSheets;  // linked or imported sheets that are not there, left out
    std::string BaseFolder;  // the common base folder of every file, with a trailing "/"

    const std::string& FileName() const { return Page.Path; }
    const std::string& WorkFileName() const { return Page.WorkPath; }
    TElements& GetSheet(int i) { return *Sheets.at(size_t(i)); }
    const TElements& GetSheet(int i) const { return *Sheets.at(size_t(i)); }
    const std::string& GetSheetFile(int i) const { return GetSheet(i).Path; }
    const std::string& GetSheetWorkFile(int i) const { return GetSheet(i).WorkPath; }

    // By file tab: 0 is the page, k is style sheet k - 1.
    int FileCount() const override { return SheetCount() + 1; }
    TElements& Elements(int tab) override { return tab == 0 ? Page : GetSheet(tab - 1); }
    const TElements& Elements(int tab) const override { return tab == 0 ? Page : GetSheet(tab - 1); }
    bool IsPage(int tab) const override { return tab == 0; }

    // The missing sheets, then each missing or unreadable picture once, in list order.
    std::vector<TDeadReference> DeadReferences() const;

private:
    void AddSvgPictures(const TFileScan& pageScan, std::vector<std::string>& sheetPaths, TLoadedFiles& files);
    void ComputeWorkPaths();
};

} // namespace pictor
