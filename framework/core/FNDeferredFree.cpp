#include "framework/core/FNDeferredFree.h"

#include "framework/core/FNFrameworkLock.h"

#include <algorithm>
#include <new>
#include <set>
#include <vector>

namespace {

struct DeferredStore {
    bool on = true;
    std::vector<void*> pending;
    std::vector<void*> pendingArrays;
    std::set<const void*> pinned;

    // Whatever is still pending at exit is released with the store, so the
    // process ends without blocks that only this store knew about.
    ~DeferredStore()
    {
        for (void* memory : pending)
            ::operator delete(memory);
        for (void* memory : pendingArrays)
            ::operator delete[](memory);
    }
};

DeferredStore& store()
{
    static DeferredStore instance;
    return instance;
}

// Frees the entries of `list` that are not pinned; returns nothing.
template <typename Free> void freeList(std::vector<void*>& list, bool includePinned, Free release)
{
    auto keep = std::stable_partition(
        list.begin(), list.end(), [&](void* memory) { return !includePinned && store().pinned.count(memory) != 0; });
    for (auto it = keep; it != list.end(); ++it)
        release(*it);
    list.erase(keep, list.end());
}

} // namespace

void FNDeferFree(void* memory)
{
    if (!memory)
        return;
    FNFrameworkLockGuard guard;
    if (store().on)
        store().pending.push_back(memory);
    else
        ::operator delete(memory);
}

void FNDeferFreeArray(void* memory)
{
    if (!memory)
        return;
    FNFrameworkLockGuard guard;
    if (store().on)
        store().pendingArrays.push_back(memory);
    else
        ::operator delete[](memory);
}

void FNSetDeferredFreeing(bool on)
{
    FNFrameworkLockGuard guard;
    store().on = on;
}

bool FNDeferredFreeing()
{
    FNFrameworkLockGuard guard;
    return store().on;
}

void FNClearPinned()
{
    FNFrameworkLockGuard guard;
    store().pinned.clear();
}

void FNPin(const void* pointer)
{
    if (!pointer)
        return;
    FNFrameworkLockGuard guard;
    store().pinned.insert(pointer);
}

size_t FNFreePending(bool includePinned)
{
    FNFrameworkLockGuard guard;
    freeList(store().pending, includePinned, [](void* memory) { ::operator delete(memory); });
    freeList(store().pendingArrays, includePinned, [](void* memory) { ::operator delete[](memory); });
    return store().pending.size() + store().pendingArrays.size();
}

size_t FNPendingCount()
{
    FNFrameworkLockGuard guard;
    return store().pending.size() + store().pendingArrays.size();
}

bool FNIsPending(const void* memory)
{
    FNFrameworkLockGuard guard;
    const auto& a = store().pending;
    const auto& b = store().pendingArrays;
    return std::find(a.begin(), a.end(), memory) != a.end() || std::find(b.begin(), b.end(), memory) != b.end();
}
