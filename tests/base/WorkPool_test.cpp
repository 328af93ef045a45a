#include "base/WorkPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

using namespace pictor;

// Every item runs once, on pools of one thread and of more threads than cores; a job on the pool that
// asks the pool for more work (a site's sheet walked in halves, a picture in bands) runs it without
// waiting for a thread that waits for it.
TEST(WorkPool, EveryItemRunsOnceNestedOrNot)
{
    for (const int threads : {1, 2, 5})
        for (const size_t count : {size_t(0), size_t(1), size_t(7), size_t(64)}) {
            TWorkPool pool(threads);
            std::vector<std::atomic<int>> runs(count * count);
            pool.ForEach(count, [&](size_t i) {
                pool.ForEach(count, [&](size_t j) { ++runs[i * count + j]; });
            });
            for (size_t k = 0; k < runs.size(); ++k) ASSERT_EQ(runs[k], 1) << threads << " threads, item " << k;
        }
}

TEST(WorkPool, AFailingItemFailsTheJobOnceTheOthersHaveRun)
{
    TWorkPool pool(3);
    std::atomic<int> runs = 0;
    EXPECT_THROW(pool.ForEach(20, [&](size_t i) {
        ++runs;
        if (i == 4) throw std::runtime_error("item 4");
    }), std::runtime_error);
    EXPECT_EQ(runs, 20);
}
