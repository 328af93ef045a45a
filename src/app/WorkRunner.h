#pragma once
#include "adjust/Adjustment.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <exception>
#include <functional>

class TfrmProgress;

// Thrown into a job between two pictures once the user has pressed Cancel.
struct TWorkCancelled : std::exception {
    const char* what() const noexcept override { return "cancelled"; }
};

// Runs the long part of a command on a worker thread while the window goes on painting and
// answering; the progress panel counts the pictures done and, where the command can be cancelled,
// offers Cancel.
class TWorkRunner : public QObject {
    Q_OBJECT
public:
    // The job is given the count to report to: (done, total), before each picture; it throws
    // TWorkCancelled once Cancel has been pressed.
    using TJob = std::function<void(const pictor::TPictureProgress& progress)>;

    TWorkRunner(TfrmProgress& panel, QObject* parent);
    // Returns once the job has ended, throwing what it threw. False when Cancel was pressed, also
    // when the job had ended by then: the caller puts the document back as it was.
    bool Run(const QString& message, bool cancellable, const TJob& job);
    bool IsRunning() const { return Running_; }

public slots:
    void Cancel();

signals:
    // The job runs from now on, the panel shown.
    void Started();

private:
    TfrmProgress& Panel_;
    bool Running_ = false;
    std::atomic<bool> Cancelled_ = false;
    std::atomic<int> Done_ = 0;
    std::atomic<int> Total_ = 0;
};
