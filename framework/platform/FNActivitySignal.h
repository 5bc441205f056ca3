#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

// FNActivitySignal: tells the thread that steps an engine that something
// arrived its next step may see (window-system events dispatched, a thread
// message handled, an event queued from another thread, the engine thread
// ending), so that a step which found nothing to do can sleep until then
// instead of polling. A count of notes: the stepping thread reads it when a
// step begins and, when the step did nothing, waits for it to change, so a
// note made while the step ran is never lost.
//
// Threads: Note from any thread; one thread waits at a time.
class FNActivitySignal {
public:
    void Note();
    uint64_t Count() const;
    // Blocks until Count() differs from `seen`.
    void WaitForChange(uint64_t seen);
    // Whether a thread is inside WaitForChange now (tests wait for it).
    bool Waiting() const;

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::atomic<uint64_t> m_count { 0 }; // changed under the lock, read without it
    bool m_waiting = false;
};
