// Every header of the X11 backend comes first and nothing else includes an X
// header here: the test fails when one of them brings Xlib in, whose macros
// (None, True, False, Bool, Status) would reach every file including it.
#include "framework/platform/x11/FNX11Platform.h"
#include "framework/platform/x11/X11Atoms.h"
#include "framework/platform/x11/X11Connection.h"
#include "framework/platform/x11/X11Cursors.h"
#include "framework/platform/x11/X11DisplayContext.h"
#include "framework/platform/x11/X11DragAndDrop.h"
#include "framework/platform/x11/X11ErrorHandlers.h"
#include "framework/platform/x11/X11Handles.h"
#include "framework/platform/x11/X11KeyMap.h"
#include "framework/platform/x11/X11PixelFormat.h"
#include "framework/platform/x11/X11Presenter.h"
#include "framework/platform/x11/X11TextInput.h"
#include "framework/platform/x11/X11WindowProperties.h"
#include "framework/platform/x11/X11WindowTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The X headers and Xlib macros visible in this file, by name.
std::string leakedXNames()
{
    std::string names;
#ifdef X_H
    names += " <X11/X.h>";
#endif
#ifdef _X11_XLIB_H_
    names += " <X11/Xlib.h>";
#endif
#ifdef None
    names += " None";
#endif
#ifdef True
    names += " True";
#endif
#ifdef False
    names += " False";
#endif
#ifdef Bool
    names += " Bool";
#endif
#ifdef Status
    names += " Status";
#endif
    return names;
}

TEST(X11Headers, BringInNoXHeaderAndNoXlibMacro)
{
    EXPECT_EQ(leakedXNames(), "");
}

// The window table holds plain ids, so it works (and is tested) without Xlib.
TEST(X11Headers, WindowTableFollowsParentsAndRemovesDescendants)
{
    X11WindowTable table;
    X11WindowRecord top;
    X11WindowRecord child;
    child.child = true;
    child.parent = 10;
    X11WindowRecord grandchild = child;
    grandchild.parent = 11;
    table.Add(10, top);
    table.Add(11, child);
    table.Add(12, grandchild);
    table.Add(20, top);
    EXPECT_EQ(table.TopLevelOf(12), X11Window { 10 });
    EXPECT_EQ(table.TopLevelOf(20), X11Window { 20 });
    EXPECT_EQ(table.TopLevelOf(99), X11Window { 0 });
    EXPECT_FALSE(table.Owns(0));
    table.Remove(11);
    EXPECT_TRUE(table.Owns(10));
    EXPECT_FALSE(table.Owns(11));
    EXPECT_FALSE(table.Owns(12));
    EXPECT_TRUE(table.Owns(20));
    X11WindowRecord found;
    EXPECT_FALSE(table.Find(12, found));
    ASSERT_TRUE(table.Find(10, found));
    EXPECT_FALSE(found.child);
}

} // namespace
