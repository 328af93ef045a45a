#include "app/BenchSteps.h"

#include "app/MainWindow.h"

#include <QAction>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

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

} // namespace

void RunBenchSteps(TfrmMain& window, const QString& page)
{
    int shown = 0;
    QObject::connect(&window, &TfrmMain::PreviewShown, [&shown] { ++shown; });
    // Runs the step, then waits for the preview to show its outcome.
    const auto timed = [&](const char* name, const auto& step) {
        const int before = shown;
        QElapsedTimer clock;
        clock.start();
        step();
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (shown > before) loop.quit();
        });
        poll.start(1);
        if (shown == before) loop.exec();
        Print(name, double(clock.nsecsElapsed()) / 1e9);
    };
    const auto command = [&](const char* name) { return [&window, name] { window.findChild<QAction*>(name)->trigger(); }; };

    TStallProbe probe;
    // The lists are filled when the load returns; the rest of the open is the preview's.
    timed("open", [&] {
        QElapsedTimer lists;
        lists.start();
        window.LoadDocument(page);
        Print("lists", double(lists.nsecsElapsed()) / 1e9);
    });
    timed("invert", command("alInverse"));
    timed("undo", command("alUndo"));
    timed("invert-again", command("alInverse"));
    QElapsedTimer clock;
    clock.start();
    window.findChild<QAction*>("alSave")->trigger();
    Print("save", double(clock.nsecsElapsed()) / 1e9);
    Print("worst-key-wait", probe.WorstSeconds());
    window.close();
}
