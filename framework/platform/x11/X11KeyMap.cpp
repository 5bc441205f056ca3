#include "framework/platform/x11/X11KeyMap.h"

#include "framework/platform/FNVirtualKey.h"

#include <X11/keysym.h>

namespace {

struct KeyPair {
    unsigned long keysym;
    int virtualKey;
};

// Keys whose code is not computed from a range below.
const KeyPair kKeys[] = {
    { XK_BackSpace, FNKeyBackspace },
    { XK_Tab, FNKeyTab },
    { XK_ISO_Left_Tab, FNKeyTab },
    { XK_Clear, FNKeyClear },
    { XK_Return, FNKeyReturn },
    { XK_KP_Enter, FNKeyReturn },
    { XK_Pause, FNKeyPause },
    { XK_Caps_Lock, FNKeyCapsLock },
    { XK_Escape, FNKeyEscape },
    { XK_space, FNKeySpace },
    { XK_KP_Space, FNKeySpace },
    { XK_Prior, FNKeyPageUp },
    { XK_Next, FNKeyPageDown },
    { XK_End, FNKeyEnd },
    { XK_Home, FNKeyHome },
    { XK_Left, FNKeyLeft },
    { XK_Up, FNKeyUp },
    { XK_Right, FNKeyRight },
    { XK_Down, FNKeyDown },
    { XK_KP_Prior, FNKeyPageUp },
    { XK_KP_Next, FNKeyPageDown },
    { XK_KP_End, FNKeyEnd },
    { XK_KP_Home, FNKeyHome },
    { XK_KP_Left, FNKeyLeft },
    { XK_KP_Up, FNKeyUp },
    { XK_KP_Right, FNKeyRight },
    { XK_KP_Down, FNKeyDown },
    { XK_KP_Begin, FNKeyClear },
    { XK_Select, FNKeySelect },
    { XK_Print, FNKeyPrintScreen },
    { XK_Execute, FNKeyExecute },
    { XK_Insert, FNKeyInsert },
    { XK_KP_Insert, FNKeyInsert },
    { XK_Delete, FNKeyDelete },
    { XK_KP_Delete, FNKeyDelete },
    { XK_Help, FNKeyHelp },
    { XK_Super_L, FNKeyLeftWindows },
    { XK_Super_R, FNKeyRightWindows },
    { XK_Menu, FNKeyApps },
    { XK_KP_Multiply, FNKeyMultiply },
    { XK_KP_Add, FNKeyAdd },
    { XK_KP_Separator, FNKeySeparator },
    { XK_KP_Subtract, FNKeySubtract },
    { XK_KP_Decimal, FNKeyDecimal },
    { XK_KP_Divide, FNKeyDivide },
    { XK_Num_Lock, FNKeyNumLock },
    { XK_Scroll_Lock, FNKeyScrollLock },
    { XK_Shift_L, FNKeyLeftShift },
    { XK_Shift_R, FNKeyRightShift },
    { XK_Control_L, FNKeyLeftControl },
    { XK_Control_R, FNKeyRightControl },
    { XK_Alt_L, FNKeyLeftAlt },
    { XK_Alt_R, FNKeyRightAlt },
    { XK_Meta_L, FNKeyLeftAlt },
    { XK_Meta_R, FNKeyRightAlt },
    { XK_ISO_Level3_Shift, FNKeyRightAlt },
    { XK_semicolon, FNKeyOem1 },
    { XK_colon, FNKeyOem1 },
    { XK_equal, FNKeyOemPlus },
    { XK_plus, FNKeyOemPlus },
    { XK_comma, FNKeyOemComma },
    { XK_less, FNKeyOemComma },
    { XK_minus, FNKeyOemMinus },
    { XK_underscore, FNKeyOemMinus },
    { XK_period, FNKeyOemPeriod },
    { XK_greater, FNKeyOemPeriod },
    { XK_slash, FNKeyOem2 },
    { XK_question, FNKeyOem2 },
    { XK_grave, FNKeyOem3 },
    { XK_asciitilde, FNKeyOem3 },
    { XK_bracketleft, FNKeyOem4 },
    { XK_braceleft, FNKeyOem4 },
    { XK_backslash, FNKeyOem5 },
    { XK_bar, FNKeyOem5 },
    { XK_bracketright, FNKeyOem6 },
    { XK_braceright, FNKeyOem6 },
    { XK_apostrophe, FNKeyOem7 },
    { XK_quotedbl, FNKeyOem7 },
    { XK_Kanji, FNKeyKanji },
    { XK_Zenkaku_Hankaku, FNKeyKanji },
    { XK_Henkan, FNKeyConvert },
    { XK_Muhenkan, FNKeyNonConvert },
    { XK_Hiragana_Katakana, FNKeyKana },
    { XK_Katakana, FNKeyKana },
    { XK_Hiragana, FNKeyKana },
};

void appendUtf8(std::string& text, unsigned long codePoint)
{
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace

int FNVirtualKeyFromKeysym(unsigned long keysym)
{
    if (keysym >= XK_a && keysym <= XK_z)
        return static_cast<int>('A' + (keysym - XK_a));
    if (keysym >= XK_A && keysym <= XK_Z)
        return static_cast<int>(keysym);
    if (keysym >= XK_0 && keysym <= XK_9)
        return static_cast<int>(keysym);
    if (keysym >= XK_F1 && keysym <= XK_F24)
        return static_cast<int>(FNKeyF1 + (keysym - XK_F1));
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9)
        return static_cast<int>(FNKeyNumpad0 + (keysym - XK_KP_0));
    for (const KeyPair& pair : kKeys) {
        if (pair.keysym == keysym)
            return pair.virtualKey;
    }
    return 0;
}

std::string FNTextFromKeysym(unsigned long keysym)
{
    std::string text;
    if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF))
        appendUtf8(text, keysym);
    else if (keysym >= 0x10000A0 && keysym <= 0x110FFFF)
        appendUtf8(text, keysym - 0x1000000);
    else if (keysym >= XK_KP_0 && keysym <= XK_KP_9)
        appendUtf8(text, '0' + (keysym - XK_KP_0));
    return text;
}

std::string FNWithoutControlCharacters(const std::string& text)
{
    std::string kept;
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F)
            kept += c;
    }
    return kept;
}
