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
