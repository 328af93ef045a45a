#include "app/model/AboutGame.h"

namespace pictor {

void TAboutGame::Start(int top)
{
    Running_ = true;
    Base_ = top - 225;
    T_ = -15;
}

void TAboutGame::Hit(int top)
{
    if (!Running_) return;
    ++Hits_;
    Start(top);
}

int TAboutGame::Step(int screenBottom)
{
    const int top = Base_ + int(T_ * T_);
    T_ += 0.5;
    if (top >= screenBottom) Running_ = false;
    return top;
}

std::optional<std::string> TAboutGame::ResultMessage(int& highScore) const
{
    if (Hits_ < 1) return std::nullopt;
    const std::string hits = std::to_string(Hits_) + "回成功しました！";
    if (Hits_ <= highScore) return hits + "\n\rハイスコア：" + std::to_string(highScore) + "回";
    highScore = Hits_;
    return "おめでとう！ハイスコアを更新しました！\n\r" + hits;
}

} // namespace pictor
