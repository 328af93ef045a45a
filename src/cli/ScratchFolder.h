#pragma once
#include <string>

namespace pictor::cli {

// A private working folder for one run, removed with everything in it when the run ends.
class TScratchFolder {
public:
    TScratchFolder();
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    const std::string& Path() const { return Path_; }  // with a trailing "/"

private:
    std::string Path_;
};

} // namespace pictor::cli
