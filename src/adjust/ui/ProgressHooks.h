#pragma once
#include <QString>

#include <functional>

// The main window's progress window, as the dialogs and commands drive it. Empty hooks do nothing.
struct TProgressHooks {
    std::function<void(const QString& message)> Show;  // shows the message and lets it paint
    std::function<void()> Hide;
};

// Shows the progress window for its lifetime, so that it is hidden again also when the work throws.
class TProgressShown {
public:
    TProgressShown(const TProgressHooks& hooks, const QString& message) : Hooks_(hooks)
    {
        if (Hooks_.Show) Hooks_.Show(message);
    }
    ~TProgressShown()
    {
        if (Hooks_.Hide) Hooks_.Hide();
    }
    TProgressShown(const TProgressShown&) = delete;
    TProgressShown& operator=(const TProgressShown&) = delete;

private:
    const TProgressHooks& Hooks_;
};
