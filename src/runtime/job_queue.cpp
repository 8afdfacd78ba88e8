#include "runtime/job_queue.h"

#include <algorithm>
#include <system_error>

void JobQueue::runJobs(State& state) {
    for (std::size_t job = state.next++; job < state.jobs.size(); job = state.next++) state.jobs[job]();
}

#ifdef __EMSCRIPTEN__
// Browser seam: no worker threads.
void JobQueue::start(unsigned int) { runJobs(*state_); }
#else
void JobQueue::start(unsigned int workers) {
    try {
        for (unsigned int i = 0; i < std::max(workers, 1u); ++i)
            workers_.emplace_back([state = state_] { runJobs(*state); });
    } catch (const std::system_error&) {
        // Fewer workers than asked for: those that started take every job.
    }
    if (workers_.empty()) runJobs(*state_);
}
#endif
