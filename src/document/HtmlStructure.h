#pragma once
#include "picture/BitmapEx.h"
#include "document/ChannelLists.h"
#include "document/ColorLiterals.h"
#include "document/DocumentOptions.h"
#include "document/FileSet.h"
#include "document/ScanEvents.h"
#include "document/WorkingCopies.h"
#include "encoding/CharCode.h"
#include "encoding/PzConv.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pictor {

class TLoadedFiles;
struct TFileScan;

// One colour occurrence.
struct TColorRecord {
    std::string Text;      // what is written at this occurrence
    std::int32_t Pos = 0;  // 1-based position of Text within the file's CurrentText()
    std::string OrgText;   // as found; its length is what the occurrence covers
    TColor Color = 0;
    bool Checked = true;
    std::size_t SourcePos = 0;  // 0-based position of the occurrence in the file's Text, where the walk found it
    TColor OrgColor = 0;        // what OrgText gives
    TAlphaForm AlphaForm = TAlphaForm::None;
    std::string Alpha;          // as written; no adjustment changes it
    bool Ignored = false;       // a browser ignores it: never ticked, never rewritten
    // Among those, a text a browser drops as no colour at all (the others are an empty or "transparent"
    // attribute): listed as ignored and reported after the load.
    bool Rejected = false;
    // A colour in a data: URL's picture: the URL's data in the file's Text. SourcePos and OrgText are then
    // in the data as decoded, and the rewrite writes the data back in its own encoding.
    TEmbed Embed;
    TChannelRole Channels;  // a channel variable's value: written back as channels

    bool Tickable() const { return !Ignored; }
};

// A picture whose file is missing or cannot be decoded stays listed, but is never adjusted or written.
enum class TPicState : std::uint8_t { Ok, Missing, Unreadable };

// One distinct picture reference.
struct TPicRecord {
    std::string RefText;   // as written in the document
    std::string FullPath;
    std::string WorkPath;
    TBitmapEx Bitmap;
    bool Checked = true;
    // The file the pixels of Loaded came from: an unchanged picture is copied from here, never re-encoded.
    std::string SourcePath;
    TBitmapEx Loaded;
    TPicState State = TPicState::Ok;
    std::string Reason;  // why it is missing or unreadable, when more can be said than its state

    bool Tickable() const { return State == TPicState::Ok; }
};

// A text colour and its background declared together, as indices into a file's colour records.
struct TPairedColors {
    std::size_t Foreground = 0;
    std::size_t Background = 0;
};

// Text a change adds to a file (a dark colour scheme's rules), at Pos in its Text: before whatever
// stands there.
struct TAddedText {
    std::size_t Pos = 0;
    std::string Text;
    bool operator==(const TAddedText&) const = default;
};

// One file: the page or one style sheet.
struct TElements {
    std::int32_t CharCode = ccSjis;
    std::string Text;     // as read, in the internal encoding
    // Text with every colour occurrence's current Text in place, held only while that differs from Text:
    // a large file no change touched is not held twice. Read it through CurrentText().
    std::string NewText;
    bool Rewritten = false;  // NewText is held
    std::string ReadFrom;    // the file that holds Text as it is: where it was read, until a change is saved there
    const std::string& CurrentText() const { return Rewritten ? NewText : Text; }
    std::vector<TColorRecord, THugePageAllocator<TColorRecord>> Colors;
    std::vector<TPicRecord> Pics;
    std::vector<TPairedColors> Pairs;  // found by the walk that built Colors: where they stand never changes
    std::vector<TAddedText> Added;     // in order of Pos; the rewrite puts them in place
    TEucExtraChars EucExtra;  // three-byte EUC-JP characters carried through Text
    std::string SingleByteName;  // the name of a ccSingleByte file's encoding, upper case
    // The first line (from 1) whose bytes the text, written back in its encoding, would not give back: a
    // file read from ISO-2022-JP with bytes the conversion loses, which no save writes. 0: none.
    std::size_t ReadLossLine = 0;

    bool IsSvg = false;       // an SVG picture's text, walked as SVG; listed and saved like a sheet
    // Channel lists and their uses, until the page or site they belong to is loaded (AddChannelColors).
    TChannelVariables Channels;

    bool IsUtf8() const { return CharCode == ccUtf8; }
    // Whether the walks step through Text as through UTF-8, where no ASCII byte belongs to another
    // character: so is a single-byte text. Shift-JIS, and EUC-JP and ISO-2022-JP held as it, pairs bytes.
    bool WalksAsUtf8() const { return CharCode != ccSjis && CharCode != ccEuc && CharCode != ccJis; }
    std::string_view EncodingName() const { return CharCode == ccSingleByte ? SingleByteName : CharCodeName(CharCode); }
};

struct TUndoColorRecord {
    std::string Text;
    TColor Color = 0;
};
struct TUndoElements {
    std::vector<TUndoColorRecord, THugePageAllocator<TUndoColorRecord>> Colors;
    std::vector<TAddedText> Added;
    std::vector<TBitmapEx> Bitmaps;  // shared with the document until either side changes
};
struct TUndoBuff {
    TUndoElements Page;
    std::vector<TUndoElements> Sheets;
};

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
class THtmlStructure : public IFileSet {
public:
    // workFolder: where the working copies go (a TWorkSession's); empty for a document that is never loaded.
    explicit THtmlStructure(std::string workFolder = {});
    explicit THtmlStructure(std::unique_ptr<IWorkingCopies> copies);

    // Reads the page and everything it references, writes the working copies and records the first
    // history state. Throws TPictorError naming the file and the reason.
    void LoadFromFile(const std::string& path, const TDocumentOptions& options = {});
    // Reads the page and takes its sheets and pictures from files, which other pages may share: no
    // working copies, no history. Throws TPictorError naming the file and the reason.
    void LoadPage(const std::string& path, TLoadedFiles& files);

    std::string FileName;
    TElements Page;
    std::vector<std::shared_ptr<TElements>> Sheets;  // shared with the other pages of a site
    int SheetCount() const { return int(Sheets.size()); }
    std::vector<std::string> SheetFiles;
    std::string WorkFileName;
    std::vector<std::string> SheetWorkFiles;
    std::array<TUndoBuff, 4> UndoBuffs;
    std::int32_t UndoIndex = -1;
    // Whether each slot holds a state that Undo or Redo may go to. With four slots at most three steps
    // back are available: the flag just ahead of the newest state is always clear.
    std::array<bool, 4> UndoAvailable{};

    std::vector<std::string> MissingSheets;  // linked or imported sheets that are not there, left out
    std::string BaseFolder;  // the common base folder of every file, with a trailing "/"
    std::string WorkFolder;  // the working folder, with a trailing "/"
    // Every working copy is written through this.
    IWorkingCopies& WorkingCopies() override { return *Copies_; }

    TElements& GetSheet(int i) { return *Sheets.at(size_t(i)); }
    const std::string& GetSheetFile(int i) const { return SheetFiles.at(size_t(i)); }
    const std::string& GetSheetWorkFile(int i) const { return SheetWorkFiles.at(size_t(i)); }
    void SetSheetFile(int i, const std::string& path) { SheetFiles.at(size_t(i)) = path; }

    // By file tab: 0 is the page, k is style sheet k - 1.
    int FileCount() const override { return SheetCount() + 1; }
    TElements& Elements(int tab) override { return tab == 0 ? Page : *Sheets.at(size_t(tab - 1)); }
    const TElements& Elements(int tab) const override { return tab == 0 ? Page : *Sheets.at(size_t(tab - 1)); }
    const std::string& FilePath(int tab) const override { return tab == 0 ? FileName : SheetFiles.at(size_t(tab - 1)); }
    bool IsPage(int tab) const override { return tab == 0; }
    void SetFilePath(int tab, const std::string& path) override
    {
        (tab == 0 ? FileName : SheetFiles.at(size_t(tab - 1))) = path;
    }
    const std::string& LayoutFolder() const override { return WorkFolder; }
    const std::string& LayoutPath(int tab) const override
    {
        return tab == 0 ? WorkFileName : SheetWorkFiles.at(size_t(tab - 1));
    }

    // The missing sheets, then each missing or unreadable picture once, in list order.
    std::vector<TDeadReference> DeadReferences() const;

    // Rewrites the page and every sheet from their records and writes the working copies.
    void WriteWorkingCopies(const TDocumentOptions& options = {});
    void CheckUndo();
    // The step that ends every change to the records: writes the working copies and records the state
    // as the newest of the history, which Undo goes back from and which cuts off any Redo.
    void CommitChange(const TDocumentOptions& options = {});
    void Undo(const TDocumentOptions& options = {});
    void Redo(const TDocumentOptions& options = {});
    bool CanUndo() const { return UndoIndex >= 0 && UndoAvailable[size_t((UndoIndex + 3) % 4)]; }
    bool CanRedo() const { return UndoIndex >= 0 && UndoAvailable[size_t(UndoIndex)]; }

    // The working-copy path of a file below BaseFolder.
    std::string WorkPathOf(const std::string& path) const;

private:
    std::unique_ptr<IWorkingCopies> Copies_;

    void AddSvgPictures(const TFileScan& pageScan, std::vector<std::string>& sheetPaths, TLoadedFiles& files);
    void ComputeWorkPaths();
    void CopyFilesToWork();
    void SetUpUndo();
    void RestoreSlot(const TDocumentOptions& options);
};

// Every colour record of every file of an IFileSet, const or not, in file order.
template <class TDocument, class TFn> void ForEachColor(TDocument& document, TFn&& fn)
{
    for (int tab = 0; tab < document.FileCount(); ++tab)
        for (auto& record : document.Elements(tab).Colors) fn(record);
}

// Every picture record of every file, in file order.
template <class TDocument, class TFn> void ForEachPicture(TDocument& document, TFn&& fn)
{
    for (int tab = 0; tab < document.FileCount(); ++tab)
        for (auto& picture : document.Elements(tab).Pics) fn(picture);
}

} // namespace pictor
