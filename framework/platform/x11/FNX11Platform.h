#pragma once

// Settings of the X11 backend only (no X header here).

// Whether presentation may use MIT-SHM shared memory when the server offers
// it (the default), or always sends pixels with ordinary requests. Read when
// a connection opens; a display on another machine never gets shared memory.
void FNX11UseSharedMemory(bool use);
