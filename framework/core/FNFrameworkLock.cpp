#include "framework/core/FNFrameworkLock.h"

boost::recursive_mutex& FNFrameworkLock()
{
    // A function-local static: the process-wide engine is built during static
    // initialisation and takes the lock before main runs, and the mutex then
    // outlives that engine because it finished construction first.
    static boost::recursive_mutex lock;
    return lock;
}

FNFrameworkLockGuard::FNFrameworkLockGuard()
{
    FNFrameworkLock().lock();
}

FNFrameworkLockGuard::~FNFrameworkLockGuard()
{
    FNFrameworkLock().unlock();
}
