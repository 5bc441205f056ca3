#include "framework/platform/x11/X11TextInput.h"

#include "framework/platform/FNPlatform.h"
#include "framework/platform/x11/X11KeyMap.h"
#include "imaging/text/Utf8.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>

XIM X11OpenInputMethod(Display* display)
{
    XSetLocaleModifiers("");
    if (XIM method = XOpenIM(display, nullptr, nullptr, nullptr))
        return method;
    XSetLocaleModifiers("@im=none");
    return XOpenIM(display, nullptr, nullptr, nullptr);
}

XIC X11CreateInputContext(XIM method, Display* display, Window window, long eventMask)
{
    XIC context = XCreateIC(method, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, window,
        XNFocusWindow, window, nullptr);
    long filterMask = 0;
    if (context && !XGetICValues(context, XNFilterEvents, &filterMask, nullptr))
        XSelectInput(display, window, eventMask | filterMask);
    return context;
}

int X11VirtualKeyOf(XEvent& keyEvent)
{
    return FNVirtualKeyFromKeysym(XLookupKeysym(&keyEvent.xkey, 0));
}

namespace {

// Committed text of the input method; retried once with the size it asks
// for when the text does not fit.
std::string lookUpWithInputMethod(XIC inputContext, XKeyEvent& event)
{
    std::string buffer(64, '\0');
    KeySym symbol = 0;
    Status status = 0;
    int length = Xutf8LookupString(inputContext, &event, &buffer[0], static_cast<int>(buffer.size()), &symbol, &status);
    if (status == XBufferOverflow) {
        buffer.resize(static_cast<size_t>(length) + 1);
        length = Xutf8LookupString(inputContext, &event, &buffer[0], static_cast<int>(buffer.size()), &symbol, &status);
    }
    if ((status == XLookupChars || status == XLookupBoth) && length > 0)
        return std::string(buffer.data(), static_cast<size_t>(length));
    return std::string();
}

std::string lookUpWithoutInputMethod(XKeyEvent& event)
{
    char latin1[16];
    KeySym symbol = 0;
    XLookupString(&event, latin1, sizeof latin1, &symbol, nullptr);
    return FNTextFromKeysym(symbol);
}

} // namespace

std::string X11TypedText(XIC inputContext, XEvent& keyEvent)
{
    XKeyEvent& event = keyEvent.xkey;
    const std::string text
        = inputContext ? lookUpWithInputMethod(inputContext, event) : lookUpWithoutInputMethod(event);
    return utf8Cut(FNWithoutControlCharacters(text), FNTextInputLimit);
}

void X11FillKeyTable(Display* display, uint8_t table[256])
{
    int low = 0, high = 0;
    XDisplayKeycodes(display, &low, &high);
    std::memset(table, 0, 256);
    for (int code = std::max(low, 0); code <= std::min(high, 255); ++code) {
        const KeySym symbol = XkbKeycodeToKeysym(display, static_cast<KeyCode>(code), 0, 0);
        table[code] = static_cast<uint8_t>(FNVirtualKeyFromKeysym(symbol));
    }
}
