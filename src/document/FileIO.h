#pragma once
#include <string>
#include <string_view>

namespace pictor {

// Whole-file reading and writing; failures throw TPictorError naming the file and the reason.
std::string ReadFileBytes(const std::string& path);
// Written to a temporary file in the same folder, flushed, then renamed over the target, keeping the
// target's permissions: a failure leaves the old file as it was.
void WriteFileAtomic(const std::string& path, std::string_view bytes);
// The same replacement without waiting for the disk: for working copies, which are made again from the
// document whenever they are needed.
void WriteWorkingCopy(const std::string& path, std::string_view bytes);
// A whole file mapped read-only: a large picture is decoded straight from the system's file cache,
// with no copy and no fresh memory to fault in. Small and special files are read instead.
class TMappedFile {
public:
    explicit TMappedFile(const std::string& path);
    ~TMappedFile();
    TMappedFile(const TMappedFile&) = delete;
    TMappedFile& operator=(const TMappedFile&) = delete;
    std::string_view Bytes() const { return Map_ ? std::string_view(static_cast<const char*>(Map_), Size_) : Read_; }

private:
    void* Map_ = nullptr;
    std::size_t Size_ = 0;
    std::string Read_;
};

void CreateFolders(const std::string& folder);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Copies a file over any existing one, creating the destination's folders when the first try fails.
bool CopyToWork(const std::string& source, const std::string& destination);

} // namespace pictor
