#pragma once
#include <string>

namespace pictor::cli {

// A progress bar on stderr, drawn only when stderr is a terminal.
class TProgressBar {
public:
    explicit TProgressBar(std::string what);
    ~TProgressBar();
    void Update(int done, int total);

private:
    std::string What_;
    bool Shown_ = false;
    bool Terminal_;
};

} // namespace pictor::cli
