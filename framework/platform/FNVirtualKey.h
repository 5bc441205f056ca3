#pragma once

// Virtual-key codes: the numbering of the 256-entry key table and of key
// events. Letters and digits are their upper-case ASCII codes ('A' = 0x41,
// '0' = 0x30); everything else is named here.
enum FNVirtualKey : int {
    FNKeyLeftButton = 0x01,
    FNKeyRightButton = 0x02,
    FNKeyMiddleButton = 0x04,
    FNKeyBackspace = 0x08,
    FNKeyTab = 0x09,
    FNKeyClear = 0x0C,
    FNKeyReturn = 0x0D,
    FNKeyShift = 0x10, // either Shift key
    FNKeyControl = 0x11, // either Control key
    FNKeyAlt = 0x12, // either Alt key
    FNKeyPause = 0x13,
    FNKeyCapsLock = 0x14,
    FNKeyKana = 0x15,
    FNKeyKanji = 0x19,
    FNKeyEscape = 0x1B,
    FNKeyConvert = 0x1C,
    FNKeyNonConvert = 0x1D,
    FNKeySpace = 0x20,
    FNKeyPageUp = 0x21,
    FNKeyPageDown = 0x22,
    FNKeyEnd = 0x23,
    FNKeyHome = 0x24,
    FNKeyLeft = 0x25,
    FNKeyUp = 0x26,
    FNKeyRight = 0x27,
    FNKeyDown = 0x28,
    FNKeySelect = 0x29,
    FNKeyPrint = 0x2A,
    FNKeyExecute = 0x2B,
    FNKeyPrintScreen = 0x2C,
    FNKeyInsert = 0x2D,
    FNKeyDelete = 0x2E,
    FNKeyHelp = 0x2F,
    FNKeyLeftWindows = 0x5B,
    FNKeyRightWindows = 0x5C,
    FNKeyApps = 0x5D,
    FNKeyNumpad0 = 0x60, // through FNKeyNumpad0 + 9
    FNKeyMultiply = 0x6A,
    FNKeyAdd = 0x6B,
    FNKeySeparator = 0x6C,
    FNKeySubtract = 0x6D,
    FNKeyDecimal = 0x6E,
    FNKeyDivide = 0x6F,
    FNKeyF1 = 0x70, // through FNKeyF1 + 23 (F24)
    FNKeyNumLock = 0x90,
    FNKeyScrollLock = 0x91,
    FNKeyLeftShift = 0xA0,
    FNKeyRightShift = 0xA1,
    FNKeyLeftControl = 0xA2,
    FNKeyRightControl = 0xA3,
    FNKeyLeftAlt = 0xA4,
    FNKeyRightAlt = 0xA5,
    FNKeyOem1 = 0xBA, // ';' and ':' on US keyboards
    FNKeyOemPlus = 0xBB,
    FNKeyOemComma = 0xBC,
    FNKeyOemMinus = 0xBD,
    FNKeyOemPeriod = 0xBE,
    FNKeyOem2 = 0xBF, // '/' and '?'
    FNKeyOem3 = 0xC0, // '`' and '~'
    FNKeyOem4 = 0xDB, // '[' and '{'
    FNKeyOem5 = 0xDC, // '\' and '|'
    FNKeyOem6 = 0xDD, // ']' and '}'
    FNKeyOem7 = 0xDE, // quote
    FNKeyOem102 = 0xE2, // the extra key of 102-key keyboards
};

// The generic modifier entry (Shift, Control, Alt) that a left or right
// modifier key also sets, or 0 for every other key.
inline int FNGenericModifierKey(int virtualKey)
{
    switch (virtualKey) {
    case FNKeyLeftShift:
    case FNKeyRightShift:
        return FNKeyShift;
    case FNKeyLeftControl:
    case FNKeyRightControl:
        return FNKeyControl;
    case FNKeyLeftAlt:
    case FNKeyRightAlt:
        return FNKeyAlt;
    default:
        return 0;
    }
}
