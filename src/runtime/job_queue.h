#pragma once
#include <atomic>
#include <cstddef>
#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

// Jobs run by a few worker threads in the order they were added: each worker
// takes the next job nobody has taken yet, so with one worker they run one
// after the other, and with as many workers as jobs all at once. Destroying
// the queue waits for its workers to finish.
class JobQueue {
public:
    // Adds a job (before start) and returns the future of its result; an
    // exception the job throws comes out of the future's get().
    template <typename Work>
    auto add(Work work) {
        using Result = std::invoke_result_t<Work>;
        auto task = std::make_shared<std::packaged_task<Result()>>(std::move(work));
        state_->jobs.emplace_back([task] { (*task)(); });
        return task->get_future();
    }

    // Starts up to `workers` threads (at least one). Where the system cannot
    // start a single thread, the jobs run here and now instead. The browser
    // build has no threads (no std::jthread, and std::thread throws without
    // -pthread): there the jobs always run here and now.
    void start(unsigned int workers);

private:
    struct State {
        std::vector<std::function<void()>> jobs;
        std::atomic<std::size_t> next{0};
    };
    static void runJobs(State& state);

    std::shared_ptr<State> state_ = std::make_shared<State>();
#ifndef __EMSCRIPTEN__
    std::vector<std::jthread> workers_;
#endif
};
