#pragma once
#include <optional>
#include <string>

namespace pictor {

// The About box's hidden game: the window is thrown up and falls off the screen; each hit while it
// moves throws it again from where it is. After a throw from top, the n-th step puts the window's
// top at top - 225 + t² (truncated), t = -15 + n / 2.
class TAboutGame {
public:
    static constexpr int kStepMilliseconds = 13;

    // The first throw (the OK button).
    void Start(int top);
    // A click on the moving window: counts one hit and throws it again. Ignored while it rests.
    void Hit(int top);
    // The window's next top; the game ends once that is at or below screenBottom.
    int Step(int screenBottom);
    bool Running() const { return Running_; }
    int Hits() const { return Hits_; }

    // The message shown after at least one hit; a new record replaces highScore.
    std::optional<std::string> ResultMessage(int& highScore) const;

private:
    bool Running_ = false;
    int Hits_ = 0;
    int Base_ = 0;
    double T_ = 0;
};

} // namespace pictor
