#include "framework/core/FNGUICoreObject.h"

#include "framework/core/FNDeferredFree.h"

#include "framework/core/FNFrameworkLock.h"

#include <new>
#include <unordered_set>

namespace {

std::unordered_set<const void*>& liveObjects()
{
    static std::unordered_set<const void*> objects;
    return objects;
}

} // namespace

FNGUICoreObject::FNGUICoreObject()
{
    FN_SET_CLASS_NAME(FNGUICoreObject);
    FNFrameworkLockGuard guard;
    liveObjects().insert(static_cast<const void*>(this));
}

FNGUICoreObject::FNGUICoreObject(const FNGUICoreObject& other)
    : className(other.className)
{
    FNFrameworkLockGuard guard;
    liveObjects().insert(static_cast<const void*>(this));
}

FNGUICoreObject::~FNGUICoreObject()
{
    FNFrameworkLockGuard guard;
    liveObjects().erase(static_cast<const void*>(this));
}

bool FNIsLiveObject(const void* object)
{
    FNFrameworkLockGuard guard;
    // The set is made even for a null question: the process-wide engine asks
    // first, so that the set outlives it.
    std::unordered_set<const void*>& objects = liveObjects();
    return object && objects.count(object) != 0;
}

void* FNGUICoreObject::operator new(size_t size)
{
    return ::operator new(size);
}

void* FNGUICoreObject::operator new[](size_t size)
{
    return ::operator new[](size);
}

void FNGUICoreObject::operator delete(void* memory)
{
    FNDeferFree(memory);
}

void FNGUICoreObject::operator delete[](void* memory)
{
    FNDeferFreeArray(memory);
}
