#pragma once

// Keys and typed text on X11: key events to virtual-key codes, key codes to
// the keyboard table, and text through an input method (XIM) or, when none
// opens, through the key symbol. Private to the X11 backend: only its .cpp
// files and tests include this header.

#include "framework/platform/x11/X11Handles.h"

#include <cstdint>
#include <string>

// The input method named by XMODIFIERS (ibus, fcitx, ...), else the
// built-in one, which still turns keys into text; null when neither opens.
_XIM* X11OpenInputMethod(_XDisplay* display);
// An input context for window that shows no preedit or status of its own;
// adds the events the input method needs to eventMask, the window's mask.
// Null when the method refuses.
_XIC* X11CreateInputContext(_XIM* method, _XDisplay* display, X11Window window, long eventMask);
// The virtual-key code of the key in a KeyPress or KeyRelease event, or 0.
int X11VirtualKeyOf(_XEvent& keyEvent);
// The text a KeyPress event types (or an input method commits), without
// control characters and cut to FNTextInputLimit bytes; inputContext may be
// null.
std::string X11TypedText(_XIC* inputContext, _XEvent& keyEvent);
// table[keycode]: the virtual-key code of each key code of the keyboard's
// current mapping (its unshifted symbol), 0 where there is none.
void X11FillKeyTable(_XDisplay* display, uint8_t table[256]);
