#include "framework/platform/x11/X11KeyMap.h"
#include "framework/platform/FNVirtualKey.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

TEST(X11KeyMap, KeysymsBecomeVirtualKeys)
{
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_a), 0x41);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_n), 0x4E);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_Z), 0x5A);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_0), 0x30);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_9), 0x39);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_space), 32);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_BackSpace), 8);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_Tab), 9);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_Return), 13);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_KP_Enter), 13);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_Escape), 27);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_Delete), 46);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_Left), 37);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_Up), 38);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_Right), 39);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_Down), 40);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_F1), 0x70);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_F12), 0x7B);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_KP_7), 0x67);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_Shift_R), FNKeyRightShift);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_Control_L), FNKeyLeftControl);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_Alt_L), FNKeyLeftAlt);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_minus), FNKeyOemMinus);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_Henkan), FNKeyConvert);
    EXPECT_EQ(FNVirtualKeyFromKeysym(0), 0);
    EXPECT_EQ(FNVirtualKeyFromKeysym(XK_dead_acute), 0);
}

TEST(X11KeyMap, TypedTextWithoutAnInputMethod)
{
    EXPECT_EQ(FNTextFromKeysym(XK_a), "a");
    EXPECT_EQ(FNTextFromKeysym(XK_A), "A");
    EXPECT_EQ(FNTextFromKeysym(XK_space), " ");
    EXPECT_EQ(FNTextFromKeysym(XK_eacute), "\xC3\xA9");
    EXPECT_EQ(FNTextFromKeysym(0x1003042), "\xE3\x81\x82"); // U+3042
    EXPECT_EQ(FNTextFromKeysym(0x101F600), "\xF0\x9F\x98\x80"); // U+1F600
    EXPECT_EQ(FNTextFromKeysym(XK_KP_3), "3");
    EXPECT_EQ(FNTextFromKeysym(XK_Return), "");
    EXPECT_EQ(FNTextFromKeysym(XK_Shift_L), "");
    EXPECT_EQ(FNWithoutControlCharacters(std::string("a\rb\x7F\x0E\t") + "\xE3\x81\x82"), "ab\xE3\x81\x82");
}
