#include "document/WorkingCopies.h"

#include "base/FileIO.h"
#include "base/PictorError.h"
#include "document/Paths.h"
#include "picture/PictureIO.h"

#include <filesystem>
#include <map>
#include <vector>

namespace pictor {

namespace {

namespace fs = std::filesystem;

bool SameHolder(const std::weak_ptr<const void>& a, const std::weak_ptr<const void>& b)
{
    return !a.owner_before(b) && !b.owner_before(a);
}

// Each picture copy written is kept under a second name (a hard link: no bytes copied) for as long as
// some bitmap holds its pixels, so that Undo and Redo put a copy back instead of writing it again.
class TWorkFolderCopies : public IWorkingCopies {
public:
    explicit TWorkFolderCopies(std::string folder) : Folder_(std::move(folder))
    {
        if (!Folder_.empty() && !Folder_.ends_with('/')) Folder_ += '/';
    }
    const std::string& Folder() const override { return Folder_; }
    void CreateFolders(const std::string& folder) override { pictor::CreateFolders(folder); }
    void CopyPicture(const std::string& source, const std::string& copy, const TBitmapEx& bitmap) override
    {
        if (CopyToWork(source, copy)) Keep(copy, bitmap);
    }
    void WriteText(const std::string& copy, std::string_view bytes) override
    {
        // A copy left as it was keeps its file, and the preview knows by that what a change rewrote.
        if (!Holds(copy, bytes)) WriteWorkingCopy(copy, bytes);
    }
    void WritePicture(const std::string& copy, const TBitmapEx& bitmap, TWorkPool* pool) override
    {
        std::vector<TKept>& kept = Kept_[copy];
        std::erase_if(kept, [](const TKept& k) {
            if (!k.Pixels.expired()) return false;
            std::error_code ignored;
            fs::remove(k.File, ignored);
            return true;
        });
        const std::weak_ptr<const void> holder = bitmap.PixelsHolder();
        for (const TKept& k : kept)
            if (SameHolder(k.Pixels, holder) && PutBack(k.File, copy)) return;
        WritePictureWorkCopy(copy, bitmap, pool);
        Keep(copy, bitmap);
    }

private:
    void Keep(const std::string& copy, const TBitmapEx& bitmap)
    {
        const std::string file = copy + "~" + std::to_string(++Serial_);
        std::error_code ec;
        fs::create_hard_link(copy, file, ec);
        if (!ec) Kept_[copy].push_back({bitmap.PixelsHolder(), file});
    }
    static bool Holds(const std::string& copy, std::string_view bytes)
    {
        std::error_code ec;
        if (fs::file_size(copy, ec) != bytes.size() || ec) return false;
        try {
            return ReadFileBytes(copy) == bytes;
        } catch (const TPictorError&) {
            return false;
        }
    }

    struct TKept {
        std::weak_ptr<const void> Pixels;
        std::string File;
    };
    // A second link renamed over the copy: the copy is whole at every moment.
    static bool PutBack(const std::string& kept, const std::string& copy)
    {
        const std::string link = copy + "~link";
        std::error_code ec;
        fs::remove(link, ec);
        fs::create_hard_link(kept, link, ec);
        if (!ec) fs::rename(link, copy, ec);
        return !ec;
    }

    std::string Folder_;
    std::map<std::string, std::vector<TKept>> Kept_;  // by copy
    int Serial_ = 0;
};

class TNoWorkingCopies : public IWorkingCopies {
public:
    const std::string& Folder() const override { return Folder_; }
    void CreateFolders(const std::string&) override {}
    void CopyPicture(const std::string&, const std::string&, const TBitmapEx&) override {}
    void WriteText(const std::string&, std::string_view) override {}
    void WritePicture(const std::string&, const TBitmapEx&, TWorkPool*) override {}

private:
    const std::string Folder_ = "/nonexistent-working-copies/";
};

} // namespace

std::unique_ptr<IWorkingCopies> WorkFolderCopies(std::string folder)
{
    return std::make_unique<TWorkFolderCopies>(std::move(folder));
}

std::unique_ptr<IWorkingCopies> NoWorkingCopies() { return std::make_unique<TNoWorkingCopies>(); }

} // namespace pictor
