#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace pictor {

// The threads every parallel job of a load, a change or a save runs on, owned by the front end and
// handed down. The thread that asks for work runs items of it too, so a job on the pool may itself ask
// for parallel work: it never waits for a thread that waits for it, and no more threads run than the
// pool has plus the one thread that asked first.
class TWorkPool {
public:
    // Every core: the calling thread and one worker fewer than the cores.
    TWorkPool();
    explicit TWorkPool(int threads);
    ~TWorkPool();
    TWorkPool(const TWorkPool&) = delete;
    TWorkPool& operator=(const TWorkPool&) = delete;

    // The threads a job may run on at once, the calling one included.
    int Size() const { return int(Workers_.size()) + 1; }

    // Calls body(i) for every i below count, on the calling thread and on the workers that are free, and
    // returns when every call has returned. The first exception a call throws is thrown here, after
    // the other calls have ended.
    void ForEach(std::size_t count, const std::function<void(std::size_t)>& body);

private:
    struct TBatch;

    void Work(std::stop_token stop);
    // Runs the next item of batch on this thread; false when none is left to take.
    static bool RunOne(TBatch& batch);

    std::mutex Mutex_;
    std::condition_variable_any Wake_;
    std::deque<std::shared_ptr<TBatch>> Batches_;  // those with items not yet taken
    std::vector<std::jthread> Workers_;
};

} // namespace pictor
