#include "cli/Progress.h"

#include <cstdio>
#include <unistd.h>

namespace pictor::cli {

TProgressBar::TProgressBar(std::string what) : What_(std::move(what)), Terminal_(isatty(STDERR_FILENO) == 1) {}

TProgressBar::~TProgressBar()
{
    if (Shown_) std::fputs("\n", stderr);
}

void TProgressBar::Update(int done, int total)
{
    if (!Terminal_ || total <= 0) return;
    constexpr int width = 30;
    const int filled = done * width / total;
    std::fprintf(stderr, "\r%s [%.*s%*s] %d/%d", What_.c_str(), filled, "##############################",
                 width - filled, "", done, total);
    std::fflush(stderr);
    Shown_ = true;
}

} // namespace pictor::cli
