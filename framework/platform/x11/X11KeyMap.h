#pragma once

#include <string>

// Translation of X key symbols (plain numbers here, so no X header leaks)
// into this program's virtual-key codes and text. Pure functions.

// The virtual-key code of a key symbol, or 0 when the key has none. Letters
// of either case give the upper-case code; left and right modifiers give
// their sided codes (FNGenericModifierKey gives the generic one).
int FNVirtualKeyFromKeysym(unsigned long keysym);
// The UTF-8 text a key symbol types when no input method is running: Latin-1
// symbols and Unicode symbols (0x1000000 + code point); empty for keys that
// type nothing or type control characters.
std::string FNTextFromKeysym(unsigned long keysym);
// text without its control characters (below 0x20 and 0x7F), which typed
// keys such as Return, Backspace or Ctrl+letter produce.
std::string FNWithoutControlCharacters(const std::string& text);
