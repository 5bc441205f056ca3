#pragma once

// One-time framework initialisation: the out-of-memory handler and the
// program's directory as the working directory. The framework calls it
// before it creates its objects and connects handlers; the application may
// call it too. Only the first call acts.
void FNInitialise();
