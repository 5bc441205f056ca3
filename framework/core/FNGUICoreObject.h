#pragma once

#include "imaging/FNString.h"

#include <cstddef>
#include <type_traits>

// FNGUICoreObject: common base of every framework object (engines, stages,
// scenes, items, widgets, connectors, animations, dialogs). Its only content
// is the object's class name; framework code that needs an object's kind
// compares this text. Each constructor overwrites the name its base set.
class FNGUICoreObject {
public:
    FNGUICoreObject();
    FNGUICoreObject(const FNGUICoreObject& other);
    FNGUICoreObject& operator=(const FNGUICoreObject& other) = default;
    virtual ~FNGUICoreObject();

    // Deleting a framework object runs its destructor at once; its memory is
    // released at the end of an engine step while deferred freeing is on
    // (FNDeferredFree.h).
    static void* operator new(size_t size);
    static void* operator new[](size_t size);
    static void operator delete(void* memory);
    static void operator delete[](void* memory);

    FNString className;
};

// True from the construction of a framework object at this address until its
// destruction. The engine asks before it follows a pointer it kept from an
// earlier step (a queued event's item or stage, a captured item), since the
// object may have been deleted meanwhile; its memory is then still reserved
// (deferred freeing), so the address cannot belong to a newer object yet.
// Thread: any; guarded by the framework lock.
bool FNIsLiveObject(const void* object);

// Sets className from the class identifier of the member function it is used
// in. The static_assert refuses a name that is not the class of `this`, so the
// text cannot drift from the class when either is renamed.
#define FN_SET_CLASS_NAME(Class)                                                                                       \
    do {                                                                                                               \
        static_assert(std::is_same<std::remove_cv_t<std::remove_pointer_t<decltype(this)>>, Class>::value,             \
            "FN_SET_CLASS_NAME must name the class whose member uses it");                                             \
        this->className = #Class;                                                                                      \
    } while (0)
