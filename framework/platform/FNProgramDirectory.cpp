#include "framework/platform/FNProgramDirectory.h"

#include "imaging/FNString.h"

#include <unistd.h>

bool FNEnterProgramDirectory()
{
    // programDirectory() reads /proc/self/exe.
    return chdir(programDirectory().c_str()) == 0;
}
