#include "framework/core/FNInitialise.h"

#include "framework/core/FNFrameworkLock.h"
#include "framework/platform/FNOutOfMemory.h"
#include "framework/platform/FNProgramDirectory.h"

void FNInitialise()
{
    static bool done = false;
    FNFrameworkLockGuard guard;
    if (done)
        return;
    done = true;
    FNInstallOutOfMemoryHandler();
    FNEnterProgramDirectory();
    // Sleeps of 1 ms already last about 1 ms here: there is no system timer
    // resolution to raise.
}
