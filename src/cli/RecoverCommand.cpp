#include "base/InterruptedSaves.h"
#include "base/PictorError.h"
#include "cli/Commands.h"

#include <filesystem>
#include <iostream>

namespace pictor::cli {

int RunRecover(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) throw TPictorError(folder, "フォルダーではありません");
    std::vector<std::string> folders{folder};
    for (auto it = fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->is_directory(ec) && !it->is_symlink(ec)) folders.push_back(it->path().string());

    int status = 0, found = 0;
    for (const TSaveRecovery& recovery : RecoverSavesAbove(folders)) {
        std::cout << RecoveryMessage(recovery) << "\n";
        if (recovery.Outcome == TSaveRecovery::TOutcome::Left) status = 1;
        ++found;
    }
    for (const std::string& f : folders)
        for (const std::string& removed : RemoveAbandonedFiles(f)) {
            std::cout << EscapeControlBytes(removed) << ": 中断された保存の残りを取り除きました\n";
            ++found;
        }
    if (found == 0) std::cout << EscapeControlBytes(folder) << ": 中断された保存は見つかりませんでした\n";
    return status;
}

} // namespace pictor::cli
