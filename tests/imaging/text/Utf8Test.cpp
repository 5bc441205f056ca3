#include "imaging/text/Utf8.h"

#include <gtest/gtest.h>

namespace {

// "aあ😀b": 1 + 3 + 4 + 1 bytes
const std::string kMixed = "a\xE3\x81\x82\xF0\x9F\x98\x80"
                           "b";

} // namespace

TEST(Utf8, NextBoundaryStepsWholeLetters)
{
    EXPECT_EQ(utf8NextBoundary(kMixed, 0), 1u);
    EXPECT_EQ(utf8NextBoundary(kMixed, 1), 4u);
    EXPECT_EQ(utf8NextBoundary(kMixed, 4), 8u);
    EXPECT_EQ(utf8NextBoundary(kMixed, 8), 9u);
    EXPECT_EQ(utf8NextBoundary(kMixed, 9), 9u);
    EXPECT_EQ(utf8NextBoundary(kMixed, 100), 9u);
}

TEST(Utf8, PreviousBoundaryNeverSplitsALetter)
{
    EXPECT_EQ(utf8PreviousBoundary(kMixed, 9), 8u);
    EXPECT_EQ(utf8PreviousBoundary(kMixed, 8), 4u);
    EXPECT_EQ(utf8PreviousBoundary(kMixed, 4), 1u);
    EXPECT_EQ(utf8PreviousBoundary(kMixed, 1), 0u);
    EXPECT_EQ(utf8PreviousBoundary(kMixed, 0), 0u);
    // From inside a letter: to that letter's start.
    EXPECT_EQ(utf8PreviousBoundary(kMixed, 3), 1u);
    EXPECT_EQ(utf8PreviousBoundary(kMixed, 6), 4u);
    EXPECT_EQ(utf8PreviousBoundary(kMixed, 100), 8u);
}

TEST(Utf8, MalformedBytesAreSingleLetters)
{
    // A lead byte without its continuation, then stray continuations.
    const std::string bad = "\xE3\x81"
                            "A\x80\x80\xFF";
    EXPECT_EQ(utf8LetterLength(bad, 0), 1u);
    EXPECT_EQ(utf8LetterLength(bad, 1), 1u);
    EXPECT_EQ(utf8PreviousBoundary(bad, 2), 1u);
    EXPECT_EQ(utf8PreviousBoundary(bad, 5), 4u);
    EXPECT_EQ(utf8PreviousBoundary(bad, 6), 5u);
    // Truncated at the end of the text.
    EXPECT_EQ(utf8LetterLength(std::string("\xF0\x9F\x98"), 0), 1u);
}

TEST(Utf8, DecodeCodePointsAndRejectInvalidForms)
{
    size_t pos = 0;
    EXPECT_EQ(utf8Decode(kMixed, pos), U'a');
    EXPECT_EQ(utf8Decode(kMixed, pos), 0x3042u);
    EXPECT_EQ(utf8Decode(kMixed, pos), 0x1F600u);
    EXPECT_EQ(utf8Decode(kMixed, pos), U'b');
    EXPECT_EQ(pos, kMixed.size());
    EXPECT_EQ(utf8Decode(kMixed, pos), kUtf8Replacement);

    const std::string overlong = "\xE0\x80\xAF", surrogate = "\xED\xA0\x80", stray = "\x80";
    pos = 0;
    EXPECT_EQ(utf8Decode(overlong, pos), kUtf8Replacement);
    EXPECT_EQ(pos, 3u);
    pos = 0;
    EXPECT_EQ(utf8Decode(surrogate, pos), kUtf8Replacement);
    pos = 0;
    EXPECT_EQ(utf8Decode(stray, pos), kUtf8Replacement);
    EXPECT_EQ(pos, 1u);
}

TEST(Utf8, WalkingForwardAndBackVisitsTheSameBoundaries)
{
    const std::string text = "キャンバス保存 (Ctrl+S) ÄÖ";
    std::vector<size_t> forward, backward;
    for (size_t p = 0; p < text.size(); p = utf8NextBoundary(text, p))
        forward.push_back(p);
    for (size_t p = text.size(); p > 0;) {
        p = utf8PreviousBoundary(text, p);
        backward.insert(backward.begin(), p);
    }
    EXPECT_EQ(forward, backward);
}

// "あ" is three bytes (E3 81 82); U+1F600 is four (F0 9F 98 80).
static const std::string kCutA = "\xE3\x81\x82";
static const std::string kCutSmile = "\xF0\x9F\x98\x80";

TEST(Utf8Cut, ShortTextIsKeptWhole)
{
    EXPECT_EQ(utf8Cut("", 0), "");
    EXPECT_EQ(utf8Cut("abc", 3), "abc");
    EXPECT_EQ(utf8Cut(kCutA + kCutA, 6), kCutA + kCutA);
}

TEST(Utf8Cut, CutsOnlyBetweenLetters)
{
    EXPECT_EQ(utf8Cut("abcdef", 4), "abcd");
    // Limits that fall inside the second letter keep only the first.
    for (size_t limit = 3; limit < 6; ++limit)
        EXPECT_EQ(utf8Cut(kCutA + kCutA, limit), kCutA) << limit;
    EXPECT_EQ(utf8Cut(kCutA, 2), "");
    EXPECT_EQ(utf8Cut("x" + kCutSmile + "y", 4), "x");
    EXPECT_EQ(utf8Cut("x" + kCutSmile + "y", 5), "x" + kCutSmile);
}

TEST(Utf8Cut, MalformedBytesCountAsSingleLetters)
{
    // A lead byte without its continuation bytes, and a stray continuation.
    const std::string broken = std::string("a\xE3") + "b\x81" + "c";
    EXPECT_EQ(utf8CutLength(broken, 2), 2u);
    EXPECT_EQ(utf8CutLength(broken, 4), 4u);
    // A truncated letter at the very end stays cuttable byte by byte.
    const std::string tail = "ab\xE3\x81";
    EXPECT_EQ(utf8CutLength(tail, 3), 3u);
}

TEST(Utf8Cut, InputMethodLimitKeepsWholeLetters)
{
    // 342 letters of three bytes = 1026 bytes: 1024 would split the last one.
    std::string text;
    for (int i = 0; i < 342; ++i)
        text += kCutA;
    const std::string cut = utf8Cut(text, 1024);
    EXPECT_EQ(cut.size(), 1023u);
    EXPECT_EQ(cut.substr(cut.size() - 3), kCutA);
}
