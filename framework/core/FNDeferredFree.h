#pragma once

#include <cstddef>

// Deferred freeing of framework objects. Deleting a framework object runs its
// destructor at once, but while deferred freeing is on (from start until
// FNQuit) its memory is only put on a pending list; the engine step releases
// it at its end unless the pointer is pinned. The engine pins the hover and
// focus pointers of its input states, so a pointer kept there never matches
// a new object built at the same address, and the memory it names stays
// valid until no input state refers to it any more.
//
// Thread: the pending lists and the pinned set are guarded by the framework
// lock; every function takes it.

// Called by FNGUICoreObject's operator delete and delete[].
void FNDeferFree(void* memory);
void FNDeferFreeArray(void* memory);

// On at start. Switching it off frees objects at once from then on; what is
// already pending stays until FNFreePending.
void FNSetDeferredFreeing(bool on);
bool FNDeferredFreeing();

void FNClearPinned();
void FNPin(const void* pointer);
// Releases every pending block that is not pinned (all of them when
// `includePinned`); returns the number of blocks still pending.
size_t FNFreePending(bool includePinned = false);
// Pending blocks, for tests and diagnostics.
size_t FNPendingCount();
bool FNIsPending(const void* memory);
