#include "app/WorkRunner.h"

#include "app/ProgressWindow.h"

#include <QEventLoop>
#include <QTimer>

#include <thread>

TWorkRunner::TWorkRunner(TfrmProgress& panel, QObject* parent) : QObject(parent), Panel_(panel)
{
    connect(&Panel_, &TfrmProgress::CancelPressed, this, &TWorkRunner::Cancel);
}

void TWorkRunner::Cancel()
{
    if (Running_) Cancelled_ = true;
}

bool TWorkRunner::Run(const QString& message, bool cancellable, const TJob& job)
{
    Cancelled_ = false;
    Done_ = 0;
    Total_ = 0;
    Running_ = true;
    Panel_.ShowWork(message, cancellable);
    // The count is shown at the screen's pace, not at the job's.
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [this] { Panel_.SetCount(Done_, Total_); });
    ticker.start(50);

    QEventLoop loop;
    bool ended = false;  // set on this thread, with the loop's end
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            job([this](int done, int total) {
                if (Cancelled_) throw TWorkCancelled();
                Done_ = done;
                Total_ = total;
            });
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(this, [&] {
            ended = true;
            loop.quit();
        }, Qt::QueuedConnection);
    });
    emit Started();
    if (!ended) loop.exec();
    worker.join();

    Running_ = false;
    Panel_.hide();
    if (Cancelled_) return false;
    if (failure) std::rethrow_exception(failure);
    return true;
}
