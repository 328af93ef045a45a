#pragma once
#include "document/HtmlStructure.h"

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace pictor {

struct TFileScan;

struct TReadPicture {
    TBitmapEx Bitmap;
    TPicState State = TPicState::Ok;
    std::string Reason;  // as TPicRecord's
};

// The count a load reports to, from any of its threads, before and after each file or picture it reads:
// those read of those found so far. It may throw to stop the load.
using TLoadProgress = std::function<void(int read, int found)>;

// What the pages of one load share: each style sheet is read, walked, recorded and rewritten once and
// each picture decoded once, whichever page reaches it first, so a file's records are the same for
// every page that names it. Several threads may load pages through one instance; a file that fails
// fails alike for every page, without being read again.
class TLoadedFiles {
public:
    // pool: where a long sheet's walk is split in two; none: every walk on the calling thread.
    explicit TLoadedFiles(TWorkPool* pool = nullptr, TLoadProgress progress = {})
        : Pool_(pool), Progress_(std::move(progress))
    {
    }

    struct TSheet {
        std::shared_ptr<TElements> Elements;
        std::vector<std::string> ImportNames; // its "@import" targets as file names, in its own order
        std::vector<std::string> SvgPaths;    // the SVG pictures it names, as full paths, in its own order
    };

    // A sheet, or an SVG picture (by its ending), which is walked as SVG and listed like a sheet. Throws
    // TPictorError naming the file when it cannot be read. linkCharset: the charset attribute of the link
    // that names the sheet; the first page to reach a sheet decides how it is read.
    const TSheet& Sheet(const std::string& path, std::string_view linkCharset = {});
    // A picture that is missing or cannot be decoded comes back with that state.
    TReadPicture Picture(const std::string& path);
    TWorkPool* Pool() const { return Pool_; }
    // Decodes the pictures side by side on the pool, for Picture to hand out; what fails is thrown by
    // Picture, in the order the caller asks.
    void ReadPictures(const std::vector<std::string>& paths);

private:
    template <class T> struct TEntry {
        std::once_flag Once;
        T Value;
        std::exception_ptr Error;
    };
    template <class T, class TLoad> const T& Once(std::unordered_map<std::string, std::unique_ptr<TEntry<T>>>& entries,
                                                  const std::string& key, TLoad&& load);

    void Report() const;

    TWorkPool* Pool_;
    TLoadProgress Progress_;
    std::atomic<int> Found_ = 0, Read_ = 0;
    std::mutex Mutex_;
    // Both by FileIdentity: a file reached under two names is one file.
    std::unordered_map<std::string, std::unique_ptr<TEntry<TSheet>>> Sheets_;
    std::unordered_map<std::string, std::unique_ptr<TEntry<TReadPicture>>> Pictures_;
};

// Fills file's records from what its walk found; path is the file's own, which its pictures are
// resolved against, and the pictures come from files.
void BuildFileRecords(TElements& file, TFileScan& scan, const std::string& path, TLoadedFiles& files);

} // namespace pictor
