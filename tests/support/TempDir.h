#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace pictor::test {

// A fresh folder under the system's temporary folder, removed with its contents at the end of the test.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::filesystem::path& Path() const { return Path_; }
    std::string operator/(std::string_view relative) const { return (Path_ / relative).string(); }
    // Writes bytes to a file below the folder, creating sub-folders; returns its full path.
    std::string Write(std::string_view relative, std::string_view bytes) const;

private:
    std::filesystem::path Path_;
};

std::string ReadAll(const std::string& path);

// Every regular file below root, by its name relative to root, with its bytes.
std::map<std::string, std::string> FilesBelow(const std::filesystem::path& root);

} // namespace pictor::test
