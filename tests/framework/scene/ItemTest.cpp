// Items: transforms, effective state, tree and scene membership, hit testing.

#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "imaging/FNImage.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void paint(FNImage& image, uint32_t colour)
{
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.row(y)[x] = colour;
}

TEST(ItemTransform, RotationIsKeptInZeroTo360)
{
    FN2DItem item(10, 10, 0, 0, 0);
    item.SetRotation(-90);
    EXPECT_EQ(item.rotation, 270);
    item.SetRotation(720);
    EXPECT_EQ(item.rotation, 0);
    item.SetRotation(-1e-20); // rounds to 360, which is kept as 0
    EXPECT_GE(item.rotation, 0);
    EXPECT_LT(item.rotation, 360);
    item.SetRotation(1000);
    EXPECT_DOUBLE_EQ(item.rotation, 280);
}

TEST(ItemTransform, IdentityUnlessScaledOrRotated)
{
    FN2DItem item(10, 20, 3, 4, 0);
    EXPECT_TRUE(item.matrix.isIdentity());
    item.SetRotation(90);
    EXPECT_FALSE(item.matrix.isIdentity());
    item.SetRotation(0);
    EXPECT_TRUE(item.matrix.isIdentity());
}

TEST(ItemTransform, RotatesAndScalesAboutTheCentreWithPiAs3141592)
{
    FN2DItem item(10, 20, 3, 4, 0); // centre (8, 14)
    item.scaleX = 2;
    item.SetRotation(90);
    const double r = 90 * 3.141592 / 180, S = std::sin(r), C = std::cos(r);
    EXPECT_DOUBLE_EQ(item.matrix.a, C * 2);
    EXPECT_DOUBLE_EQ(item.matrix.b, -S);
    EXPECT_DOUBLE_EQ(item.matrix.c, 8 - C * 2 * 8 + S * 14);
    EXPECT_DOUBLE_EQ(item.matrix.f, 14 - S * 2 * 8 - C * 14);
    double cx, cy;
    item.WorldMatrix().apply(8, 14, cx, cy); // the centre stays put
    EXPECT_NEAR(cx, 8, 1e-9);
    EXPECT_NEAR(cy, 14, 1e-9);
    double lx, ly; // the top-left corner (3, 4) lies 5 left, 10 up of the centre
    item.ToLocal(8 + 10 * S * 1 - 0, 14 - 5 * 2 * S, lx, ly);
    EXPECT_NEAR(lx, 0, 1e-5);
    EXPECT_NEAR(ly, 0, 1e-5);
}

TEST(ItemTransform, ChildPivotGoesThroughTheParentAndToLocalInvertsTheChain)
{
    FN2DScene scene;
    FN2DItem parent(40, 40, 10, 10, 0);
    FN2DItem child(10, 6, 5, 7, 0);
    scene.AddItem(&parent);
    parent.AddChild(&child);
    parent.SetRotation(30);
    child.scaleX = 1.5;
    child.scaleY = 0.5;
    child.SetRotation(45);
    EXPECT_EQ(child.WorldX(), 15);
    EXPECT_EQ(child.WorldY(), 17);
    const double points[3][2] = { { 0, 0 }, { 10, 6 }, { 3.5, -2 } };
    for (const auto& p : points) {
        double sx, sy, lx, ly;
        child.WorldMatrix().apply(child.WorldX() + p[0], child.WorldY() + p[1], sx, sy);
        child.ToLocal(sx, sy, lx, ly);
        EXPECT_NEAR(lx, p[0], 1e-9);
        EXPECT_NEAR(ly, p[1], 1e-9);
    }
    // The child's centre sits where the parent's rotation puts it.
    double px, py, cx, cy;
    parent.WorldMatrix().apply(20, 20, px, py);
    child.WorldMatrix().apply(20, 20, cx, cy);
    EXPECT_NEAR(px, cx, 1e-9);
    EXPECT_NEAR(py, cy, 1e-9);
}

TEST(ItemTransform, ScreenBoundsEncloseTheRotatedRectangle)
{
    FN2DItem item(10, 10, 0.5, 0.25, 0);
    EXPECT_EQ(item.ScreenBounds(), (FNRect { 0, 0, 11, 11 }));
    item.SetRotation(45); // centre (5.5, 5.25), half diagonal 7.07
    EXPECT_EQ(item.ScreenBounds(), (FNRect { -2, -2, 13, 13 }));
}

TEST(ItemState, EffectiveAlphaVisibilityAndEnabledFollowTheChain)
{
    FN2DItem parent(10, 10, 0, 0, 0), child(5, 5, 0, 0, 0);
    parent.AddChild(&child);
    parent.alpha = 128;
    child.alpha = 128;
    EXPECT_EQ(child.EffectiveAlpha(), 64);
    EXPECT_FALSE(child.IsVisible()); // the parent is not shown yet
    parent.visible = true;
    EXPECT_TRUE(child.IsVisible());
    parent.enabled = false;
    EXPECT_FALSE(child.IsEnabled());
    parent.SetEnabled(true);
    child.enabled = false;
    parent.SetEnabled(true);
    EXPECT_TRUE(child.enabled); // the value is applied to every child
}

TEST(ItemTree, PlacedItemsAreRefusedAndDetachResetsDepth)
{
    FN2DScene scene, other;
    FN2DItem item(5, 5, 0, 0, 7), parent(5, 5, 0, 0, 0);
    EXPECT_TRUE(scene.AddItem(&item));
    EXPECT_FALSE(other.AddItem(&item));
    parent.AddChild(&item);
    EXPECT_EQ(item.parent, nullptr);
    EXPECT_TRUE(parent.children.empty());
    item.Detach();
    EXPECT_EQ(item.depth, 0);
    EXPECT_EQ(item.scene, nullptr);
    EXPECT_FALSE(item.visible);
    EXPECT_TRUE(scene.items.empty());
    EXPECT_TRUE(other.AddItem(&item));
    EXPECT_EQ(other.items.begin()->first, 0);
}

TEST(ItemTree, AddChildCanHideAndRefusesCycles)
{
    FN2DItem a(5, 5, 0, 0, 0), b(5, 5, 0, 0, 0);
    a.AddChild(&b, false);
    EXPECT_EQ(b.parent, &a);
    EXPECT_FALSE(b.visible);
    b.AddChild(&a);
    EXPECT_EQ(a.parent, nullptr);
    a.RemoveChild(&b);
    EXPECT_EQ(b.parent, nullptr);
    EXPECT_TRUE(a.children.empty());
}

TEST(ItemTree, DestroyingAParentOrSceneUnplacesTheRest)
{
    FN2DItem child(5, 5, 0, 0, 0);
    auto* scene = new FN2DScene;
    {
        FN2DItem parent(5, 5, 0, 0, 0);
        parent.AddChild(&child);
        scene->AddItem(&parent);
        EXPECT_EQ(child.SceneOf(), scene);
    }
    EXPECT_EQ(child.parent, nullptr);
    FN2DItem top(5, 5, 0, 0, 0);
    scene->AddItem(&top);
    delete scene;
    EXPECT_EQ(top.scene, nullptr);
}

TEST(ItemTree, ScenesAreListedWhileTheyLive)
{
    const size_t before = FN2DScene::List().size();
    auto* scene = new FN2DScene;
    EXPECT_EQ(FN2DScene::List().size(), before + 1);
    EXPECT_EQ(FN2DScene::List().back(), scene);
    delete scene;
    EXPECT_EQ(FN2DScene::List().size(), before);
}

// ---- Hit testing ----------------------------------------------------------------

struct Hit : ::testing::Test {
    FN2DScene scene;
    FNImage opaque { 10, 10 };
    FNImage holed { 10, 10 };

    void SetUp() override
    {
        paint(opaque, 0xFF112233);
        paint(holed, 0xFF445566);
        holed.row(5)[5] = 0x00445566; // one transparent pixel
    }

    FN2DItemBase* hit(double x, double y)
    {
        auto results = scene.HitTest(x, y);
        return results.empty() ? nullptr : results.front();
    }
};

TEST_F(Hit, TransparentPixelFallsThroughToTheItemBelow)
{
    FN2DItem below(10, 10, 0, 0, 0), above(10, 10, 0, 0, 1);
    below.SetPicture(&opaque);
    above.SetPicture(&holed);
    scene.AddItem(&below);
    scene.AddItem(&above);
    EXPECT_EQ(hit(2.5, 2.5), &above);
    EXPECT_EQ(hit(5.5, 5.5), &below);
    above.solidHit = true;
    EXPECT_EQ(hit(5.5, 5.5), &above);
}

TEST_F(Hit, AlphaZeroIsNeverHit)
{
    FN2DItem item(10, 10, 0, 0, 0);
    item.SetPicture(&opaque);
    item.solidHit = true;
    item.alpha = 0;
    scene.AddItem(&item);
    EXPECT_EQ(hit(3, 3), nullptr);
}

TEST_F(Hit, EqualDepthsLaterAddedIsOnTop)
{
    FN2DItem first(10, 10, 0, 0, 3), second(10, 10, 0, 0, 3);
    first.SetPicture(&opaque);
    second.SetPicture(&opaque);
    scene.AddItem(&first);
    scene.AddItem(&second);
    EXPECT_EQ(hit(1, 1), &second);
}

TEST_F(Hit, ChildrenComeFirstAndClippingAncestorsLimitThem)
{
    FN2DItem parent(10, 10, 0, 0, 0), child(10, 10, 6, 0, 0);
    parent.SetPicture(&opaque);
    child.SetPicture(&opaque);
    scene.AddItem(&parent);
    parent.AddChild(&child);
    EXPECT_EQ(hit(7, 1), &child);
    EXPECT_EQ(hit(12, 1), &child); // beyond the parent, not clipped
    parent.clipChildren = true;
    EXPECT_EQ(hit(12, 1), nullptr);
    EXPECT_EQ(hit(7, 1), &child);
    EXPECT_EQ(hit(9.5, 1), &parent); // past the parent's last pixel x = width - 1
}

TEST_F(Hit, RotatedItemsAreHitInTheirOwnCoordinates)
{
    FN2DItem item(20, 4, 0, 8, 0); // a bar across the middle of a 20 x 20 square
    item.solidHit = true;
    scene.AddItem(&item);
    EXPECT_EQ(hit(2, 10), &item);
    EXPECT_EQ(hit(10, 2), nullptr);
    item.SetRotation(90); // now an upright bar
    EXPECT_EQ(hit(2, 10), nullptr);
    EXPECT_EQ(hit(10, 2), &item);
}

TEST_F(Hit, MarginGrowsTheRectangleAndNegativeSizesCountBackward)
{
    FN2DItem item(10, 10, 20, 20, 0);
    item.solidHit = true;
    scene.AddItem(&item);
    EXPECT_EQ(hit(19, 25), nullptr);
    item.hitMargin = 2;
    EXPECT_EQ(hit(18, 25), &item); // -2 inclusive
    EXPECT_EQ(hit(31.9, 25), &item);
    EXPECT_EQ(hit(32, 25), nullptr); // width + 2 exclusive
    item.hitMargin = 0;
    item.SetRect(20, 20, -10, 10); // reaches from x = 10 to 20
    EXPECT_EQ(hit(15, 25), &item);
    EXPECT_EQ(hit(20, 25), nullptr);
}

TEST_F(Hit, ItemsWithoutPictureTextOrSolidHitAreNotHit)
{
    FN2DItem item(10, 10, 0, 0, 0);
    scene.AddItem(&item);
    EXPECT_EQ(hit(5, 5), nullptr);
    item.visible = false;
    item.solidHit = true;
    EXPECT_EQ(hit(5, 5), nullptr);
}

} // namespace
