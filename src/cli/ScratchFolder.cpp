#include "cli/ScratchFolder.h"

#include "base/PictorError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace pictor::cli {

TScratchFolder::TScratchFolder()
{
    std::string pattern = std::filesystem::temp_directory_path().string() + "/pictor-cli-XXXXXX";
    if (!mkdtemp(pattern.data())) throw TPictorError(pattern, std::strerror(errno));
    Path_ = pattern + "/";
}

TScratchFolder::~TScratchFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(Path_, ec);
}

} // namespace pictor::cli
