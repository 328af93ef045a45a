#pragma once
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace pictor {

class IFileSet;

// What a working copy is as the preview reads it.
enum class TCopyKind {
    Page,
    Sheet,
    Picture,       // named by the page only
    SheetPicture,  // named by a sheet (an SVG picture is one too)
};

struct TChangedCopy {
    std::string Path;
    TCopyKind Kind = TCopyKind::Picture;
    // Names what the copy holds: the same again when a text is written back as it was, or a picture's
    // file is put back by Undo or Redo.
    std::string Version;
};

// Which file each working copy of a document is on disk. A copy that is written again is a new file
// (written beside it and renamed into place), one put back by Undo is the file it was, and one left as
// it was keeps its file: comparing two takings tells what a step rewrote.
class TCopyStamps {
public:
    TCopyStamps() = default;
    explicit TCopyStamps(const IFileSet& files);

    // The copies that are not the files they were in before, each once, in file order.
    std::vector<TChangedCopy> ChangedSince(const TCopyStamps& before) const;
    // The version of one of the copies; empty for none.
    std::string Version(const std::string& path) const;

private:
    struct TStamp {
        unsigned long long Device = 0, Inode = 0;
        long long Size = -1;
        std::timespec Modified{};
        bool operator==(const TStamp& other) const;
    };
    struct TCopy {
        std::string Path;
        TCopyKind Kind;
        TStamp Stamp;
        std::string Version;
    };
    void Add(const std::string& path, TCopyKind kind, bool text);
    static std::string PictureVersion(const TStamp& stamp);

    std::vector<TCopy> Copies_;
    std::map<std::string, size_t> Index_;  // by path
};

} // namespace pictor
