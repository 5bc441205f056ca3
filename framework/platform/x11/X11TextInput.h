#pragma once

// Keys and typed text on X11: key events to virtual-key codes, key codes to
// the keyboard table, and text through an input method (XIM) or, when none
// opens, through the key symbol. Private to the X11 backend: only its .cpp
// files include this header.

#include <X11/Xlib.h>

#include <cstdint>
#include <string>

// The input method named by XMODIFIERS (ibus, fcitx, ...), else the
// built-in one, which still turns keys into text; null when neither opens.
XIM X11OpenInputMethod(Display* display);
// An input context for window that shows no preedit or status of its own;
// adds the events the input method needs to eventMask, the window's mask.
// Null when the method refuses.
XIC X11CreateInputContext(XIM method, Display* display, Window window, long eventMask);
// The virtual-key code of the key in a press or release, or 0.
int X11VirtualKeyOf(XKeyEvent& event);
// The text a key press types (or an input method commits), without control
// characters and cut to FNTextInputLimit bytes; inputContext may be null.
std::string X11TypedText(XIC inputContext, XKeyEvent& event);
// table[keycode]: the virtual-key code of each key code of the keyboard's
// current mapping (its unshifted symbol), 0 where there is none.
void X11FillKeyTable(Display* display, uint8_t table[256]);
