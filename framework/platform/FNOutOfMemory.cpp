#include "framework/platform/FNOutOfMemory.h"

#include <unistd.h>

#include <cstdlib>
#include <new>

void FNOutOfMemory()
{
    // write() rather than a stream: a stream might itself need memory.
    static const char message[] = "メモリ割り当て失敗\n";
    [[maybe_unused]] ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
    std::abort();
}

void FNInstallOutOfMemoryHandler()
{
    std::set_new_handler(FNOutOfMemory);
}
