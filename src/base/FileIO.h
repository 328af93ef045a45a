#pragma once
#include "base/HugePageAllocator.h"

#include <string>
#include <string_view>
#include <vector>

namespace pictor {

// Whole-file reading and writing; failures throw TPictorError naming the file and the reason. Only
// regular files are read, up to a limit; running out of memory names the file.
constexpr std::size_t MaxTextFileBytes = std::size_t(1) << 30;
std::string ReadFileBytes(const std::string& path);
// Written to a temporary file in the same folder, flushed, then renamed over the target, keeping the
// target's permissions: a failure leaves the old file as it was.
void WriteFileAtomic(const std::string& path, std::string_view bytes);
// The same replacement without waiting for the disk and without following a link: for working copies,
// which are made again from the document whenever they are needed.
void WriteWorkingCopy(const std::string& path, std::string_view bytes);
// A large file's bytes in memory that costs few page faults: for pictures, which run to tens of
// megabytes and are decoded once.
using TLargeBytes = std::vector<char, THugePageAllocator<char>>;
TLargeBytes ReadLargeFile(const std::string& path, std::size_t limit);

void CreateFolders(const std::string& folder);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Copies a file over any existing one, creating the destination's folders when the first try fails.
// Neither a link at the destination nor a source that is no regular file is followed.
bool CopyToWork(const std::string& source, const std::string& destination);

} // namespace pictor
