#pragma once

// Makes every failed allocation write "メモリ割り当て失敗" and a line end to
// the standard error stream and abort the process. Calling it again changes
// nothing.
void FNInstallOutOfMemoryHandler();
// The handler itself (never returns).
[[noreturn]] void FNOutOfMemory();
