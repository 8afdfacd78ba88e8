#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "runtime/job_queue.h"

TEST(JobQueue, OneWorkerRunsTheJobsInTheOrderAdded) {
    std::vector<int> ran;
    std::vector<std::future<int>> results;
    JobQueue queue;
    for (int job = 0; job < 5; ++job) results.push_back(queue.add([job, &ran] {
        ran.push_back(job);  // one worker: no other thread writes
        return job * 10;
    }));
    queue.start(1);
    for (int job = 0; job < 5; ++job) EXPECT_EQ(results[job].get(), job * 10);
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(JobQueue, SeveralWorkersRunEveryJobOnceAndPassExceptionsOn) {
    std::mutex mutex;
    std::vector<int> ran;
    std::vector<std::future<int>> results;
    {
        JobQueue queue;
        for (int job = 0; job < 20; ++job) results.push_back(queue.add([job, &mutex, &ran] {
            if (job == 7) throw std::runtime_error("job 7");
            std::lock_guard lock(mutex);
            ran.push_back(job);
            return job;
        }));
        queue.start(4);
    }  // waits for the workers
    EXPECT_EQ(ran.size(), 19u);
    for (int job = 0; job < 20; ++job) {
        if (job == 7)
            EXPECT_THROW(results[job].get(), std::runtime_error);
        else
            EXPECT_EQ(results[job].get(), job);
    }
}
