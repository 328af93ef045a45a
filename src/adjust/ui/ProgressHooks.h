#pragma once
#include <QString>

#include <functional>
#include <utility>

// The main window's progress window, as the dialogs and commands drive it. Empty hooks do nothing.
struct TProgressHooks {
    std::function<void(const QString& message)> Show;  // shows the message and lets it paint
    std::function<void()> Hide;
};

// Shows the progress window for its lifetime, so that it is hidden again also when the work throws.
// Keeps its own copy of the hooks: callers pass them as temporaries.
class TProgressShown {
public:
    TProgressShown(TProgressHooks hooks, const QString& message) : Hooks_(std::move(hooks))
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
    const TProgressHooks Hooks_;
};
