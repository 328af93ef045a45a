#include "app/model/CopyStamps.h"

#include "document/FileSet.h"

#include <sys/stat.h>

namespace pictor {

bool TCopyStamps::TStamp::operator==(const TStamp& other) const
{
    return Device == other.Device && Inode == other.Inode && Size == other.Size &&
           Modified.tv_sec == other.Modified.tv_sec && Modified.tv_nsec == other.Modified.tv_nsec;
}

TCopyStamps::TCopyStamps(const IFileSet& files)
{
    for (int tab = 0; tab < files.FileCount(); ++tab) {
        const TElements& file = files.Elements(tab);
        Add(file.WorkPath, files.IsPage(tab) ? TCopyKind::Page : file.IsSvg ? TCopyKind::SheetPicture : TCopyKind::Sheet);
    }
    for (int tab = 0; tab < files.FileCount(); ++tab)
        for (const TPicRecord& pic : files.Elements(tab).Pics)
            Add(pic.WorkPath, files.IsPage(tab) ? TCopyKind::Picture : TCopyKind::SheetPicture);
}

void TCopyStamps::Add(const std::string& path, TCopyKind kind)
{
    if (const auto known = Index_.find(path); known != Index_.end()) {
        // A picture a sheet names is looked for in the sheets too, wherever else it is named.
        if (kind == TCopyKind::SheetPicture) Copies_[known->second].Kind = kind;
        return;
    }
    TStamp stamp;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        stamp = {info.st_dev, info.st_ino, info.st_size, info.st_mtim};
    Index_.emplace(path, Copies_.size());
    Copies_.push_back({path, kind, stamp});
}

std::vector<TChangedCopy> TCopyStamps::ChangedSince(const TCopyStamps& before) const
{
    std::vector<TChangedCopy> changed;
    for (const TCopy& copy : Copies_) {
        const auto old = before.Index_.find(copy.Path);
        if (old == before.Index_.end() || !(before.Copies_[old->second].Stamp == copy.Stamp))
            changed.push_back({copy.Path, copy.Kind});
    }
    return changed;
}

} // namespace pictor
