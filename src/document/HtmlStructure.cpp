#include "document/HtmlStructure.h"

#include "document/ChannelVariables.h"
#include "document/ColorPairs.h"
#include "document/DocumentText.h"
#include "base/FileIO.h"
#include "document/Paths.h"
#include "base/FailureReasons.h"
#include "base/PictorError.h"
#include "document/LoadedFiles.h"
#include "document/SheetImports.h"
#include "document/StyleScanner.h"
#include "encoding/Cp932.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <set>

namespace pictor {

namespace {

// A sheet that is the page itself, or a sheet met before under another name, is one file with one set of
// records: a second set would be saved over the first and lose its changes.
void DropRepeatedFiles(const std::string& page, std::vector<std::string>& paths,
                       std::vector<std::shared_ptr<TElements>>& sheets)
{
    std::set<std::string> seen{FileIdentity(page)};
    size_t kept = 0;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (!seen.insert(FileIdentity(paths[i])).second) continue;
        if (kept != i) {
            paths[kept] = std::move(paths[i]);
            sheets[kept] = std::move(sheets[i]);
        }
        ++kept;
    }
    paths.resize(kept);
    sheets.resize(kept);
}

} // namespace

std::vector<TDeadReference> THtmlStructure::DeadReferences() const
{
    std::vector<TDeadReference> dead;
    for (const std::string& sheet : MissingSheets)
        dead.push_back({sheet, TPicState::Missing, FolderExists(sheet) ? SystemErrorText(EISDIR) : std::string()});
    ForEachPicture(*this, [&](const TPicRecord& pic) {
        if (pic.State != TPicState::Ok &&
            std::none_of(dead.begin(), dead.end(), [&](const TDeadReference& d) { return d.Path == pic.FullPath; }))
            dead.push_back({pic.FullPath, pic.State, pic.Reason});
    });
    return dead;
}

std::vector<TRejectedColor> RejectedColors(const IFileSet& files)
{
    std::vector<TRejectedColor> rejected;
    for (int tab = 0; tab < files.FileCount(); ++tab) {
        const TElements& file = files.Elements(tab);
        for (const TColorRecord& record : file.Colors)
            if (record.Rejected)
                rejected.push_back({files.FilePath(tab), file.IsUtf8() ? record.OrgText : cp932::ToUtf8(record.OrgText),
                                    record.SourcePos + 1});
    }
    return rejected;
}

const char* const RejectedColorHint = "ブラウザーが無視する色の指定のため変更しません";

std::string DeadReferenceHint(TPicState state, const std::string& reason)
{
    std::string hint(state == TPicState::Missing ? MissingText : UnreadableText);
    return reason.empty() ? hint : hint + ": " + reason;
}

THtmlStructure::THtmlStructure(std::string workFolder) : THtmlStructure(WorkFolderCopies(std::move(workFolder))) {}

THtmlStructure::THtmlStructure(std::unique_ptr<IWorkingCopies> copies) : TWorkingDocument(std::move(copies)) {}

void THtmlStructure::LoadFromFile(const std::string& path, const TDocumentOptions& options,
                                  const std::function<void(int read, int found)>& progress)
try {
    if (WorkFolder.empty()) throw TPictorError(path, "there is no working folder to load it into");
    TLoadedFiles files(options.Pool, progress);
    LoadPage(path, files);
    AddChannelColors(*this);
    ComputeWorkPaths();
    BeginHistory(options);
} catch (const std::bad_alloc&) {
    // Reading a file names that file; what runs out later is the document as a whole.
    throw TPictorError(path, SystemErrorText(ENOMEM));
}

void THtmlStructure::LoadPage(const std::string& path, TLoadedFiles& files)
{
    ReadTextFile(path, Page, true);
    TFileScan pageScan = ScanFile(Page, true);

    std::vector<std::string> sheetPaths, linkCharsets;
    for (const TSheetLink& link : pageScan.SheetRefs) {
        const std::string sheet = ResolvePath(FolderOf(Page.Path), ReferenceToFileName(link.Ref, Page.WalksAsUtf8()));
        if (sheet.empty() || std::find(sheetPaths.begin(), sheetPaths.end(), sheet) != sheetPaths.end()) continue;
        if (FileExists(sheet)) {
            sheetPaths.push_back(sheet);
            linkCharsets.push_back(link.Charset);
        } else if (std::find(MissingSheets.begin(), MissingSheets.end(), sheet) == MissingSheets.end()) {
            MissingSheets.push_back(sheet);
        }
    }
    std::vector<std::string> blockImports;
    for (const std::string& ref : pageScan.BlockImports)
        blockImports.push_back(ResolvePath(FolderOf(Page.Path), ReferenceToFileName(ref, Page.WalksAsUtf8())));
    ReadSheetsAndImports(sheetPaths, linkCharsets, blockImports, Sheets, MissingSheets, files);
    AddSvgPictures(pageScan, sheetPaths, files);
    DropRepeatedFiles(Page.Path, sheetPaths, Sheets);
    BuildFileRecords(Page, pageScan, Page.Path, files);
    RewriteText(Page);
}

// The SVG pictures the page names, then those each sheet names, after every sheet: text files with
// colours, each listed once like a sheet.
void THtmlStructure::AddSvgPictures(const TFileScan& pageScan, std::vector<std::string>& sheetPaths, TLoadedFiles& files)
{
    std::vector<std::string> svgs;
    for (const std::string& ref : pageScan.SvgRefs)
        svgs.push_back(ResolvePath(FolderOf(Page.Path), ReferenceToFileName(ref, Page.WalksAsUtf8())));
    const size_t sheetCount = sheetPaths.size();
    for (size_t i = 0; i < sheetCount; ++i) {
        const std::vector<std::string>& named = files.Sheet(sheetPaths[i]).SvgPaths;
        svgs.insert(svgs.end(), named.begin(), named.end());
    }
    for (std::string& svg : svgs) {
        if (svg.empty() || std::find(sheetPaths.begin(), sheetPaths.end(), svg) != sheetPaths.end()) continue;
        if (!FileExists(svg)) {
            if (std::find(MissingSheets.begin(), MissingSheets.end(), svg) == MissingSheets.end())
                MissingSheets.push_back(std::move(svg));
            continue;
        }
        Sheets.push_back(files.Sheet(svg).Elements);
        sheetPaths.push_back(std::move(svg));
    }
}

void THtmlStructure::ComputeWorkPaths()
{
    std::vector<std::string> paths;
    for (int tab = 0; tab < FileCount(); ++tab) {
        paths.push_back(Elements(tab).Path);
        for (const auto& pic : Elements(tab).Pics) paths.push_back(pic.FullPath);
    }
    BaseFolder = CommonBaseFolder(paths);
    PlaceWorkingCopies(BaseFolder);
}

} // namespace pictor
