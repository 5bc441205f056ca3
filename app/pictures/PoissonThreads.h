#pragma once

// The worker threads of the fast Poisson solve (internal).

#include <atomic>
#include <chrono>
#include <memory>

namespace poisson {

// A process-wide team of worker threads (Boost.Thread). Workers start when a
// run first needs them and live until the process ends; between runs they
// spin for a moment (the next group of sweeps usually follows at once) and
// then sleep on a condition variable, so an idle process does not use them.
class Team {
public:
    static Team& instance();
    ~Team();

    Team(const Team&) = delete;
    Team& operator=(const Team&) = delete;

    // Runs job(context, index) for index 0 .. count - 1 at the same time:
    // index 0 on the calling thread, the others on workers. Returns when
    // every index has returned. One run at a time (the solver's callers are
    // one thread).
    void run(int count, void (*job)(void* context, int index), void* context);

private:
    Team();
    struct State;
    void work(int index, unsigned long long seen);
    std::unique_ptr<State> m_state;
};

// Waits until `value` is at least `target` (acquire ordering): spins a
// little, then yields the processor while it waits. Returns how long it
// yielded: a measure of the threads getting in each other's way (another
// thread held up, or the processors busy with other programs).
std::chrono::nanoseconds waitAtLeast(const std::atomic<int>& value, int target);

} // namespace poisson
