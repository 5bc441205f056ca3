#include "framework/platform/FNCursorShapes.h"
#include "framework/platform/FNOutOfMemory.h"
#include "framework/platform/FNPlatform.h"
#include "framework/platform/FNProgramDirectory.h"
#include "framework/platform/FNWindowClass.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <new>

// Bounding box of the shape's drawn pixels ('#' and '.').
struct Box {
    int left = 32, top = 32, right = -1, bottom = -1;
};

static Box boxOf(const FNCursorShape& shape)
{
    Box box;
    for (int y = 0; y < FNCursorShapeSize; ++y) {
        for (int x = 0; x < FNCursorShapeSize; ++x) {
            if (shape.rows[y][x] != ' ') {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    return box;
}

TEST(FNCursorShapes, EightWellFormedCursorsWithTheirHotSpots)
{
    const int hotSpots[FNCursorShapeCount][2]
        = { { 16, 15 }, { 15, 15 }, { 16, 15 }, { 16, 15 }, { 14, 14 }, { 16, 14 }, { 14, 16 }, { 16, 16 } };
    for (int i = 0; i < FNCursorShapeCount; ++i) {
        const FNCursorShape* shape = FNFindCursorShape(FNCursorBoxFirst + i);
        ASSERT_NE(shape, nullptr) << i;
        EXPECT_EQ(shape->hotX, hotSpots[i][0]) << i;
        EXPECT_EQ(shape->hotY, hotSpots[i][1]) << i;
        for (int y = 0; y < FNCursorShapeSize; ++y) {
            ASSERT_EQ(std::strlen(shape->rows[y]), 32u) << i << " row " << y;
            EXPECT_EQ(std::strspn(shape->rows[y], "#. "), 32u) << i << " row " << y;
        }
        // The hot spot is on the black part of the picture.
        EXPECT_EQ(shape->rows[shape->hotY][shape->hotX], '#') << i;
    }
    EXPECT_EQ(FNFindCursorShape(FNCursorBoxFirst - 1), nullptr);
    EXPECT_EQ(FNFindCursorShape(FNCursorBoxLast + 1), nullptr);
    EXPECT_EQ(FNFindCursorShape(FNCursorArrow), nullptr);
}

TEST(FNCursorShapes, ArrowsPointTheirWay)
{
    const Box vertical = boxOf(*FNFindCursorShape(30000));
    const Box horizontal = boxOf(*FNFindCursorShape(30001));
    EXPECT_GT(vertical.bottom - vertical.top, 3 * (vertical.right - vertical.left) / 2);
    EXPECT_GT(horizontal.right - horizontal.left, 3 * (horizontal.bottom - horizontal.top) / 2);
    // Diagonals: 30002 reaches the top-left and bottom-right corners of its
    // box, 30003 the other two.
    const FNCursorShape& down = *FNFindCursorShape(30002);
    const FNCursorShape& up = *FNFindCursorShape(30003);
    const Box d = boxOf(down), u = boxOf(up);
    EXPECT_EQ(down.rows[d.top + 1][d.left + 1], '#');
    EXPECT_EQ(down.rows[d.bottom - 1][d.right - 1], '#');
    EXPECT_EQ(down.rows[d.top + 1][d.right - 1], ' ');
    EXPECT_EQ(up.rows[u.top + 1][u.right - 1], '#');
    EXPECT_EQ(up.rows[u.bottom - 1][u.left + 1], '#');
    EXPECT_EQ(up.rows[u.bottom - 1][u.right - 1], ' ');
}

TEST(FNCursorShapes, RotationArrowsBulgeTowardTheirCorner)
{
    // 30004 upper-left, 30005 upper-right, 30006 lower-left, 30007 lower-right:
    // the arc's middle (the hot spot) lies toward that corner of the drawing.
    const int towardX[4] = { -1, 1, -1, 1 };
    const int towardY[4] = { -1, -1, 1, 1 };
    for (int i = 0; i < 4; ++i) {
        const FNCursorShape& shape = *FNFindCursorShape(30004 + i);
        const Box box = boxOf(shape);
        const double centreX = (box.left + box.right) / 2.0, centreY = (box.top + box.bottom) / 2.0;
        EXPECT_GT((shape.hotX - centreX) * towardX[i], 0) << 30004 + i;
        EXPECT_GT((shape.hotY - centreY) * towardY[i], 0) << 30004 + i;
    }
}

TEST(FNOutOfMemory, HandlerReportsAndAborts)
{
    FNInstallOutOfMemoryHandler();
    EXPECT_EQ(std::get_new_handler(), &FNOutOfMemory);
    EXPECT_DEATH(std::get_new_handler()(), "メモリ割り当て失敗");
    std::set_new_handler(nullptr);
}

TEST(FNProgramDirectory, EntersTheDirectoryOfTheProgramFile)
{
    char before[4096] = {};
    ASSERT_NE(getcwd(before, sizeof before), nullptr);
    ASSERT_EQ(chdir("/"), 0);
    EXPECT_TRUE(FNEnterProgramDirectory());
    char exe[4096] = {}, now[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    ASSERT_NE(getcwd(now, sizeof now), nullptr);
    std::string program(exe);
    EXPECT_EQ(std::string(now), program.substr(0, program.find_last_of('/')));
    ASSERT_EQ(chdir(before), 0);
}
