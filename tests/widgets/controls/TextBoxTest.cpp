// The text box: its editing rules on the text alone, then the box on a
// stage typed into as a user would.

#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DItem.h"
#include "tests/widgets/controls/WidgetFixture.h"
#include "widgets/controls/FNTextBox.h"
#include "widgets/controls/TextEditing.h"

#include <functional>

namespace {

struct EditCase {
    const char* name;
    const char* start;
    size_t maxLength;
    std::function<void(TextEditing&)> edit;
    const char* text;
    size_t caret;
};

// "日" and "本" are three bytes each, "é" two.
const EditCase kEdits[] = {
    { "backspace removes a whole letter", "a日本", 1024, [](TextEditing& e) { e.Backspace(); }, "a日", 4 },
    { "delete removes a whole letter", "a日本", 1024,
        [](TextEditing& e) {
            e.Home(false);
            e.Right(false);
            e.Delete();
        },
        "a本", 1 },
    { "left steps over a letter", "é日", 1024,
        [](TextEditing& e) {
            e.Left(false);
            e.Insert("x");
        },
        "éx日", 3 },
    { "a position inside a letter is its start", "日本", 1024,
        [](TextEditing& e) {
            e.MoveTo(4, false);
            e.Insert("|");
        },
        "日|本", 4 },
    { "typing stops at the longest length", "", 4, [](TextEditing& e) { e.Insert("12345"); }, "1234", 4 },
    { "a letter that does not fit whole is left out", "a", 4, [](TextEditing& e) { e.Insert("日本"); }, "a日", 4 },
    { "setting a text cuts it too", "", 4, [](TextEditing& e) { e.SetText("日本"); }, "日", 3 },
    { "typing replaces the selection", "abcdef", 1024,
        [](TextEditing& e) {
            e.MoveTo(1, false);
            e.Right(true);
            e.Right(true);
            e.Insert("Z");
        },
        "aZdef", 2 },
    { "backspace takes the selection", "日本語", 1024,
        [](TextEditing& e) {
            e.Home(false);
            e.End(true);
            e.Left(true);
            e.Backspace();
        },
        "語", 0 },
    { "an arrow without shift collapses the selection", "abc", 1024,
        [](TextEditing& e) {
            e.SelectAll();
            e.Left(false);
            e.Insert("<");
        },
        "<abc", 1 },
    { "a smaller maximum cuts the text", "日本語", 1024, [](TextEditing& e) { e.SetMaxLength(7); }, "日本", 6 },
};

TEST(TextEditing, EveryEditKeepsWholeLetters)
{
    for (const EditCase& c : kEdits) {
        TextEditing editing(c.start, c.maxLength);
        c.edit(editing);
        EXPECT_EQ(editing.Text(), c.text) << c.name;
        EXPECT_EQ(editing.Caret(), c.caret) << c.name;
    }
}

class TextBoxTest : public WidgetTest {
protected:
    void Type(const std::string& letters)
    {
        for (char c : letters) {
            const int key = c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
            V::PressKey(key);
            V::TypeText(std::string(1, c));
            V::ReleaseKey(key);
        }
        Step(static_cast<int>(letters.size()) * 2 + 2);
    }
};

TEST_F(TextBoxTest, ClickTypeAndEditLikeAnyTextField)
{
    FNTextBox box(20, 20, 120, 22, "400");
    box.PlaceIn(&scene);
    Step();
    EXPECT_FALSE(box.IsFocused());
    EXPECT_FALSE(box.CaretShown());
    ClickAt(30, 30); // a click gives the focus and the caret
    EXPECT_TRUE(box.IsFocused());
    EXPECT_TRUE(box.CaretShown());
    Tap(FNKeyEnd);
    Tap(FNKeyBackspace);
    Type("5x");
    V::TypeText("日本"); // committed by the input method
    Step(3);
    EXPECT_EQ(box.GetText(), "405x日本");
    Tap(FNKeyBackspace);
    EXPECT_EQ(box.GetText(), "405x日");
    // Shift+Home selects back to the start; typing replaces it.
    V::PressKey(FNKeyLeftShift);
    Tap(FNKeyHome);
    V::ReleaseKey(FNKeyLeftShift);
    Type("9");
    EXPECT_EQ(box.GetText(), "9");
    EXPECT_EQ(box.Item()->text, "9") << "the item shows the text";
}

TEST_F(TextBoxTest, TheLongestLengthHoldsForTypingAndSetting)
{
    FNTextBox box(20, 20, 120, 22, "");
    box.PlaceIn(&scene);
    box.SetMaxLength(4);
    ClickAt(30, 30);
    Type("123456");
    EXPECT_EQ(box.GetText(), "1234");
    box.SetText("98765");
    EXPECT_EQ(box.GetText(), "9876");
}

TEST_F(TextBoxTest, TheCaretBlinksOnlyWhileFocused)
{
    FNTextBox box(20, 20, 120, 22, "abc");
    box.PlaceIn(&scene);
    ClickAt(30, 30);
    ASSERT_TRUE(box.CaretShown());
    V::AdvanceMilliseconds(FNTextBox::kBlinkMilliseconds + 1);
    Step(2);
    EXPECT_FALSE(box.CaretShown());
    V::AdvanceMilliseconds(FNTextBox::kBlinkMilliseconds + 1);
    Step(2);
    EXPECT_TRUE(box.CaretShown());
    ClickAt(250, 150); // elsewhere: the focus goes, and the caret with it
    EXPECT_FALSE(box.IsFocused());
    EXPECT_FALSE(box.CaretShown());
    V::AdvanceMilliseconds(FNTextBox::kBlinkMilliseconds + 1);
    Step(2);
    EXPECT_FALSE(box.CaretShown());
}

} // namespace
