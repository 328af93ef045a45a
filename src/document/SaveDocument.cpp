#include "document/SaveDocument.h"

#include "base/AtomicWrites.h"
#include "base/FileIO.h"
#include "base/PictorError.h"
#include "base/WorkPool.h"
#include "document/DocumentText.h"
#include "document/Paths.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include <unistd.h>

namespace pictor {

namespace {

bool Unchanged(const TPicRecord& picture)
{
    return picture.Bitmap.SharesPixelsWith(picture.Loaded) || picture.Bitmap.SamePixels(picture.Loaded);
}

// One file that a save writes, and the record or records it is written from.
struct TSaveItem {
    std::string Path;         // as the document names it
    std::string Target;       // where the bytes go: Path, or the bitmap beside a picture
    TElements* Text = nullptr;
    bool Page = false;
    std::vector<TPicRecord*> Pictures;  // several records of one file: in step, one bitmap
    bool Changed = false;
    bool Skipped = false;  // answered No
};

// Every file of a save, each distinct file once, written all together or not at all.
class TSavePlan {
public:
    TSavePlan(const TPictureSaveOptions& options, const TOwnerRights& rights) : Options_(options), Rights_(rights) {}

    void AddText(TElements& file, const std::string& path, bool page)
    {
        // Unchanged in its own place: the file is what it was, byte for byte.
        if (!file.Rewritten && path == file.ReadFrom) return;
        Add(TSaveItem{path, path, &file, page, {}, file.Rewritten});
    }

    // A picture that was never read (no picture ending) is not written: there is nothing to write.
    void AddPicture(TPicRecord& picture, const std::string& path)
    {
        if (picture.Bitmap.Empty()) return;
        const std::string target = SavedPicturePath(path, Options_);
        const bool changed = !Unchanged(picture) || target != path;
        // Unchanged in its own place: the file is what it was.
        if (!changed && path == picture.SourcePath) return;
        Add(TSaveItem{path, target, nullptr, false, {&picture}, changed});
    }

    // The file as it stands, byte for byte.
    void AddCopy(TPicRecord& picture, const std::string& path) { Add(TSaveItem{path, path, nullptr, false, {&picture}, false}); }

    std::vector<TSaveItem>& Items() { return Items_; }

    void Write()
    {
        // Pictures first, then sheets, pages last: a page read while the files are renamed shows its old
        // self over new sheets at worst, never new colours over old sheets.
        std::vector<const TSaveItem*> order;
        for (const TSaveItem& item : Items_)
            if (!item.Skipped) order.push_back(&item);
        auto rank = [](const TSaveItem* item) { return item->Text ? item->Page ? 2 : 1 : 0; };
        std::stable_sort(order.begin(), order.end(), [&](auto* a, auto* b) { return rank(a) < rank(b); });
        std::vector<std::string> targets, madeFolders;
        for (const TSaveItem* item : order) targets.push_back(item->Target);
        try {
            for (const std::string& target : targets) MakeFolders(FolderOf(target), madeFolders);
            TAtomicWrites writes(targets, TAtomicWrites::TKind::Saved, Rights_);  // gone, with its temporaries, before the folders are
            // A few files at a time are encoded side by side (a JPEG takes one core), then written in order.
            const size_t batch = Options_.Pool ? 2 * size_t(Options_.Pool->Size()) : 1;
            std::vector<std::string> made(batch);
            std::vector<std::string_view> bytes(batch);
            for (size_t from = 0; from < order.size(); from += batch) {
                const size_t count = std::min(batch, order.size() - from);
                const auto encode = [&](size_t i) { bytes[i] = Bytes(*order[from + i], made[i]); };
                if (Options_.Pool)
                    Options_.Pool->ForEach(count, encode);
                else
                    encode(0);
                for (size_t i = 0; i < count; ++i) writes.Add(order[from + i]->Target, bytes[i]);
            }
            writes.Commit();
        } catch (...) {
            for (auto folder = madeFolders.rbegin(); folder != madeFolders.rend(); ++folder) ::rmdir(folder->c_str());
            throw;
        }
        for (const TSaveItem& item : Items_) {
            if (item.Skipped || !item.Changed) continue;
            if (item.Text && item.Text->ReadFrom == item.Path) item.Text->ReadFrom.clear();
            for (TPicRecord* picture : item.Pictures)
                if (item.Target == item.Path) {
                    picture->Loaded = picture->Bitmap;
                    picture->SourcePath = item.Path;
                }
        }
    }

private:
    void Add(TSaveItem item)
    {
        const std::string key = ResolvedPath(item.Target);
        const auto found = Index_.find(key);
        if (found == Index_.end()) {
            Index_.emplace(key, Items_.size());
            Items_.push_back(std::move(item));
            return;
        }
        TSaveItem& kept = Items_[found->second];
        if (!item.Changed || SameContent(kept, item)) {
            kept.Pictures.insert(kept.Pictures.end(), item.Pictures.begin(), item.Pictures.end());
            return;
        }
        if (kept.Changed)
            throw TPictorError(item.Target, "the file is reached twice with different changes; saving one would "
                                            "lose the other");
        item.Pictures.insert(item.Pictures.end(), kept.Pictures.begin(), kept.Pictures.end());
        kept = std::move(item);
    }

    static bool SameContent(const TSaveItem& a, const TSaveItem& b)
    {
        if (a.Text && b.Text) return a.Text->CurrentText() == b.Text->CurrentText() && a.Text->CharCode == b.Text->CharCode;
        if (a.Text || b.Text) return false;
        const TBitmapEx& x = a.Pictures.front()->Bitmap;
        const TBitmapEx& y = b.Pictures.front()->Bitmap;
        return x.SharesPixelsWith(y) || x.SamePixels(y);
    }

    // What item writes: a text held as it is written, as it is (no copy of a large sheet); anything else
    // made into made.
    std::string_view Bytes(const TSaveItem& item, std::string& made) const
    {
        if (item.Text && HeldAsWritten(*item.Text)) return item.Text->CurrentText();
        if (item.Text) {
            made = EncodeForFile(*item.Text, item.Text->CurrentText());
            RequireRoundTrip(*item.Text, made, item.Path);
            return made;
        }
        const TPicRecord& picture = *item.Pictures.front();
        if (!item.Changed) return made = ReadFileBytes(picture.SourcePath);  // copied byte for byte, never re-encoded
        return made = EncodePictureForSave(item.Path, picture.Bitmap, Options_);
    }

    // Creates folder and its missing parents, noting each one made, so that a failed save can take them away.
    static void MakeFolders(const std::string& folder, std::vector<std::string>& made)
    {
        std::vector<std::string> missing;
        for (std::filesystem::path p = folder; !p.empty() && !FolderExists(p.string()); p = p.parent_path()) {
            missing.push_back(p.string());
            if (p == p.parent_path()) break;
        }
        CreateFolders(folder);
        made.insert(made.end(), missing.rbegin(), missing.rend());
    }

    const TPictureSaveOptions& Options_;
    const TOwnerRights& Rights_;
    std::vector<TSaveItem> Items_;
    std::map<std::string, size_t> Index_;  // by resolved target
};

// Save as: every file below the new folder, with the overwrite question asked once per existing file.
class TSaveAsRun {
public:
    TSaveAsRun(IFileSet& files, std::string folder, const TPictureSaveOptions& options, const TOverwriteQuestion& ask)
        : Files_(files), Folder_(std::move(folder)), Plan_(options, Rights_), Ask_(ask)
    {
        if (!Folder_.ends_with('/')) Folder_ += '/';
    }

    // false: cancelled, with nothing written. The document's paths change only once every file is
    // written: it then goes on from the new folder.
    bool Run()
    {
        std::vector<std::string> filePaths;
        std::vector<std::vector<std::string>> picturePaths;
        for (int i = 0; i < Files_.FileCount(); ++i) {
            filePaths.push_back(NewPath(Files_.Elements(i).WorkPath));
            Plan_.AddText(Files_.Elements(i), filePaths.back(), Files_.IsPage(i));
            picturePaths.push_back(AddPictures(Files_.Elements(i)));
        }
        if (!AskAboutExistingFiles()) return false;
        Plan_.Write();
        for (int i = 0; i < Files_.FileCount(); ++i) {
            Files_.Elements(i).Path = filePaths[size_t(i)];
            std::vector<TPicRecord>& pics = Files_.Elements(i).Pics;
            for (size_t k = 0; k < pics.size(); ++k) pics[k].FullPath = picturePaths[size_t(i)][k];
        }
        return true;
    }

private:
    std::string NewPath(const std::string& layoutPath) const
    {
        return Folder_ + layoutPath.substr(Files_.LayoutFolder().size());
    }

    // Where each picture of file goes.
    std::vector<std::string> AddPictures(TElements& file)
    {
        std::vector<std::string> targets;
        for (TPicRecord& pic : file.Pics) {
            const std::string& target = targets.emplace_back(NewPath(pic.WorkPath));
            // A picture that cannot be decoded still belongs to the site: it goes as it is.
            if (pic.State == TPicState::Unreadable) Plan_.AddCopy(pic, target);
            else if (pic.Checked) Plan_.AddPicture(pic, target);
        }
        return targets;
    }

    // In the order of writing; the answer governs the files after it.
    bool AskAboutExistingFiles()
    {
        TOverwriteAnswer last = TOverwriteAnswer::Yes;
        for (TSaveItem& item : Plan_.Items()) {
            if (!FileExists(item.Target)) continue;
            TOverwriteAnswer answer = last;
            if (answer == TOverwriteAnswer::Yes || answer == TOverwriteAnswer::No) answer = Ask_(item.Target);
            if (answer == TOverwriteAnswer::Cancel) return false;
            last = answer;
            item.Skipped = answer == TOverwriteAnswer::No || answer == TOverwriteAnswer::NoToAll;
        }
        return true;
    }

    IFileSet& Files_;
    std::string Folder_;
    const TOwnerRights Rights_ = TOwnerRights::OfProcess();
    TSavePlan Plan_;
    const TOverwriteQuestion& Ask_;
};

} // namespace

void SaveDocument(IFileSet& files, const TPictureSaveOptions& options, const TOwnerRights& rights)
{
    TSavePlan plan(options, rights);
    for (int i = 0; i < files.FileCount(); ++i) {
        TElements& file = files.Elements(i);
        plan.AddText(file, files.FilePath(i), files.IsPage(i));
        for (TPicRecord& pic : file.Pics)
            if (pic.Checked) plan.AddPicture(pic, pic.FullPath);
    }
    plan.Write();
}

bool SaveFilesBelow(IFileSet& files, const std::string& folder, const TPictureSaveOptions& options,
                    const TOverwriteQuestion& ask)
{
    return TSaveAsRun(files, folder, options, ask).Run();
}

bool SaveDocumentAs(THtmlStructure& document, const std::string& folder, const TPictureSaveOptions& options,
                    const TOverwriteQuestion& ask)
{
    return SaveFilesBelow(document, folder, options, ask);
}

} // namespace pictor
