#include "app/model/CopyStamps.h"

#include "base/FileIO.h"
#include "base/PictorError.h"
#include "document/FileSet.h"

#include <functional>

#include <sys/stat.h>

namespace pictor {

namespace {

// A text is written anew each time, a picture's file is kept while its pixels are: a text goes by its
// bytes, a picture by its file.
std::string TextVersion(const std::string& path)
{
    try {
        return "t" + std::to_string(std::hash<std::string>()(ReadFileBytes(path)));
    } catch (const TPictorError&) {
        return {};
    }
}

} // namespace

bool TCopyStamps::TStamp::operator==(const TStamp& other) const
{
    return Device == other.Device && Inode == other.Inode && Size == other.Size &&
           Modified.tv_sec == other.Modified.tv_sec && Modified.tv_nsec == other.Modified.tv_nsec;
}

TCopyStamps::TCopyStamps(const IFileSet& files)
{
    for (int tab = 0; tab < files.FileCount(); ++tab) {
        const TElements& file = files.Elements(tab);
        Add(file.WorkPath, files.IsPage(tab) ? TCopyKind::Page : file.IsSvg ? TCopyKind::SheetPicture : TCopyKind::Sheet,
            true);
    }
    for (int tab = 0; tab < files.FileCount(); ++tab)
        for (const TPicRecord& pic : files.Elements(tab).Pics)
            Add(pic.WorkPath, files.IsPage(tab) ? TCopyKind::Picture : TCopyKind::SheetPicture, false);
}

void TCopyStamps::Add(const std::string& path, TCopyKind kind, bool text)
{
    if (const auto known = Index_.find(path); known != Index_.end()) {
        // A picture a sheet names is looked for in the sheets too, wherever else it is named.
        if (kind == TCopyKind::SheetPicture) Copies_[known->second].Kind = kind;
        return;
    }
    TStamp stamp;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) stamp = {info.st_dev, info.st_ino, info.st_size, info.st_mtim};
    Index_.emplace(path, Copies_.size());
    Copies_.push_back({path, kind, stamp, text ? TextVersion(path) : PictureVersion(stamp)});
}

std::string TCopyStamps::PictureVersion(const TStamp& stamp)
{
    return "p" + std::to_string(stamp.Inode) + "-" + std::to_string(stamp.Modified.tv_sec) + "." +
           std::to_string(stamp.Modified.tv_nsec) + "-" + std::to_string(stamp.Size);
}

std::vector<TChangedCopy> TCopyStamps::ChangedSince(const TCopyStamps& before) const
{
    std::vector<TChangedCopy> changed;
    for (const TCopy& copy : Copies_) {
        const auto old = before.Index_.find(copy.Path);
        if (old == before.Index_.end() || !(before.Copies_[old->second].Stamp == copy.Stamp))
            changed.push_back({copy.Path, copy.Kind, copy.Version});
    }
    return changed;
}

std::string TCopyStamps::Version(const std::string& path) const
{
    const auto found = Index_.find(path);
    return found == Index_.end() ? std::string() : Copies_[found->second].Version;
}

} // namespace pictor
