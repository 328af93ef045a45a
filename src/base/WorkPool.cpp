#include "base/WorkPool.h"

#include <algorithm>
#include <atomic>
#include <exception>

namespace pictor {

struct TWorkPool::TBatch {
    TBatch(const std::function<void(std::size_t)>& body, std::size_t count) : Body(body), Count(count) {}

    const std::function<void(std::size_t)>& Body;
    std::size_t Count;
    std::atomic<std::size_t> Next = 0;
    std::mutex Mutex;
    std::condition_variable Done;
    std::size_t Finished = 0;
    std::exception_ptr Error;
};

TWorkPool::TWorkPool() : TWorkPool(int(std::max(1u, std::thread::hardware_concurrency()))) {}

TWorkPool::TWorkPool(int threads)
{
    for (int i = 1; i < threads; ++i) Workers_.emplace_back([this](std::stop_token stop) { Work(stop); });
}

TWorkPool::~TWorkPool()
{
    for (std::jthread& worker : Workers_) worker.request_stop();
    Wake_.notify_all();
}

bool TWorkPool::RunOne(TBatch& batch)
{
    const std::size_t i = batch.Next++;
    if (i >= batch.Count) return false;
    std::exception_ptr error;
    try {
        batch.Body(i);
    } catch (...) {
        error = std::current_exception();
    }
    const std::lock_guard lock(batch.Mutex);
    if (error && !batch.Error) batch.Error = error;
    if (++batch.Finished == batch.Count) batch.Done.notify_all();
    return true;
}

void TWorkPool::Work(std::stop_token stop)
{
    for (;;) {
        std::shared_ptr<TBatch> batch;
        {
            std::unique_lock lock(Mutex_);
            if (!Wake_.wait(lock, stop, [&] { return !Batches_.empty(); })) return;
            batch = Batches_.front();
            // The last item taken: no one else need look at this batch.
            if (batch->Next + 1 >= batch->Count) Batches_.pop_front();
        }
        RunOne(*batch);
    }
}

void TWorkPool::ForEach(std::size_t count, const std::function<void(std::size_t)>& body)
{
    if (count == 0) return;
    auto batch = std::make_shared<TBatch>(body, count);
    if (count > 1 && !Workers_.empty()) {
        {
            const std::lock_guard lock(Mutex_);
            Batches_.push_back(batch);
        }
        Wake_.notify_all();
    }
    while (RunOne(*batch)) {}
    {
        const std::lock_guard lock(Mutex_);
        std::erase(Batches_, batch);
    }
    std::unique_lock lock(batch->Mutex);
    batch->Done.wait(lock, [&] { return batch->Finished == batch->Count; });
    if (batch->Error) std::rethrow_exception(batch->Error);
}

} // namespace pictor
