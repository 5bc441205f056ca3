#pragma once

#include <boost/thread/recursive_mutex.hpp>

// The framework lock: one process-wide recursive mutex shared by the
// application thread and every engine thread. It guards the event queue, the
// window create and destroy queues, deferred freeing, the animation and scene
// lists, scene rendering, input sampling and presentation. Recursive because
// rendering and event queueing nest (a handler that queues an event while the
// engine step holds the lock).
boost::recursive_mutex& FNFrameworkLock();

// Holds the framework lock for the lifetime of the guard.
class FNFrameworkLockGuard {
public:
    FNFrameworkLockGuard();
    ~FNFrameworkLockGuard();

    FNFrameworkLockGuard(const FNFrameworkLockGuard&) = delete;
    FNFrameworkLockGuard& operator=(const FNFrameworkLockGuard&) = delete;
};
