#include "framework/core/FNGUICoreObject.h"

#include "framework/core/FNDeferredFree.h"

#include <new>

FNGUICoreObject::FNGUICoreObject()
{
    FN_SET_CLASS_NAME(FNGUICoreObject);
}

FNGUICoreObject::~FNGUICoreObject() = default;

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
