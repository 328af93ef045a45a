#include "app/BenchSteps.h"

#include "adjust/ui/HueDialog.h"
#include "app/MainWindow.h"
#include "site/SiteDocument.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>

namespace {

// The longest the event loop went without turning, from a timer that asks to run every few ms.
class TStallProbe {
public:
    TStallProbe()
    {
        Clock_.start();
        QObject::connect(&Timer_, &QTimer::timeout, [this] {
            const qint64 now = Clock_.nsecsElapsed();
            Worst_ = std::max(Worst_, now - Last_ - Interval * 1000000);
            Last_ = now;
        });
        Timer_.start(Interval);
        Last_ = Clock_.nsecsElapsed();
    }
    double WorstSeconds() const { return double(Worst_) / 1e9; }

private:
    static constexpr int Interval = 5;
    QTimer Timer_;
    QElapsedTimer Clock_;
    qint64 Last_ = 0;
    qint64 Worst_ = 0;
};

void Print(const char* step, double seconds)
{
    std::printf("%s %.3f\n", step, seconds);
    std::fflush(stdout);
}

// The steps start once the window is on the screen and painted: that is the program starting, not the
// window keeping a key waiting.
void WaitUntilShown(QWidget& window)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (window.windowHandle() && window.windowHandle()->isExposed()) loop.quit();
    });
    poll.start(5);
    loop.exec();
    QApplication::processEvents();
}

// Runs a step, then waits for the preview to show its outcome, and prints its time.
class TTimedSteps {
public:
    explicit TTimedSteps(TfrmMain& window) : Window_(window)
    {
        QObject::connect(&window, &TfrmMain::PreviewShown, [this] { ++Shown_; });
    }
    template <class TStep> void Run(const char* name, const TStep& step)
    {
        const int before = Shown_;
        QElapsedTimer clock;
        clock.start();
        step();
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (Shown_ > before) loop.quit();
        });
        poll.start(1);
        if (Shown_ == before) loop.exec();
        Print(name, double(clock.nsecsElapsed()) / 1e9);
    }
    auto Command(const char* name)
    {
        return [this, name] { Window_.findChild<QAction*>(name)->trigger(); };
    }
    void Save()
    {
        QElapsedTimer clock;
        clock.start();
        Window_.findChild<QAction*>("alSave")->trigger();
        Print("save", double(clock.nsecsElapsed()) / 1e9);
    }

private:
    TfrmMain& Window_;
    int Shown_ = 0;
};

// The hue dialog: the time it takes to open (the page drawn twice for its preview), then the time a
// slider's change takes to show in its preview; then it is cancelled.
void TimeDialogPreview(TfrmMain& window)
{
    QElapsedTimer open;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<TfrmHue*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        answer.stop();
        Print("dialog-open", double(open.nsecsElapsed()) / 1e9);
        QElapsedTimer change;
        change.start();
        dialog->findChild<QSlider*>("TrackBar1")->setValue(120);
        dialog->findChild<QLabel*>("imgPrev")->repaint();
        Print("dialog-preview", double(change.nsecsElapsed()) / 1e9);
        dialog->reject();
    });
    answer.start(5);
    open.start();
    window.findChild<QAction*>("alOpenfrmHue")->trigger();
}

} // namespace

void RunBenchSteps(TfrmMain& window, const QString& page)
{
    WaitUntilShown(window);
    TTimedSteps steps(window);
    TStallProbe probe;
    // The lists are filled when the load returns; the rest of the open is the preview's.
    steps.Run("open", [&] {
        QElapsedTimer lists;
        lists.start();
        window.LoadDocument(page);
        Print("lists", double(lists.nsecsElapsed()) / 1e9);
    });
    steps.Run("invert", steps.Command("alInverse"));
    steps.Run("undo", steps.Command("alUndo"));
    steps.Run("invert-again", steps.Command("alInverse"));
    steps.Save();
    Print("worst-key-wait", probe.WorstSeconds());
    // Last, as its snapshots fetch every picture again under addresses of their own.
    TimeDialogPreview(window);
    window.close();
}

void RunSiteBenchSteps(TfrmMain& window, const QString& folder)
{
    WaitUntilShown(window);
    TTimedSteps steps(window);
    TStallProbe probe;
    steps.Run("open", [&] { window.LoadSite(folder); });
    const int first = window.ShownPage();
    int next = first;
    const auto& pages = window.Site()->Pages();
    for (size_t i = size_t(first) + 1; i < pages.size() && next == first; ++i)
        if (pages[i].Loaded()) next = int(i);
    steps.Run("invert", steps.Command("alInverse"));
    steps.Run("page-switch", [&] { window.ShowSitePage(next); });
    steps.Run("page-switch-back", [&] { window.ShowSitePage(first); });
    steps.Save();
    Print("worst-key-wait", probe.WorstSeconds());
    window.close();
}
