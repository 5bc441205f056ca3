#include "app/q_App.h"
#include "framework/engine/FNEngine.h"
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "framework/window/FNExWindow.h"

#include <gtest/gtest.h>

#include <memory>

namespace V = FNVirtualPlatform;

namespace {

class AppLifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        V::Reset();
        engine = std::make_unique<FNEngine>();
        ASSERT_TRUE(engine->Platform()) << engine->PlatformFailure();
    }
    void TearDown() override { engine.reset(); }

    std::unique_ptr<FNEngine> engine;
};

TEST_F(AppLifecycle, InitialiseOpensTheMainWindowOnce)
{
    q_App app;
    EXPECT_FALSE(app.ready);
    EXPECT_TRUE(app.text.empty());
    app.Initialise();
    ASSERT_TRUE(app.ready);
    FNExWindow* window = app.MainWindow();
    ASSERT_NE(window, nullptr);
    // 800 x 600 of client at (50, 50), moved down by the menu bar's 18
    // pixels between the title bar and the client.
    EXPECT_EQ(window->ClientRect(), (FNRect { 50, 68, 850, 668 }));
    ASSERT_TRUE(window->windowCreated);
    V::WindowInfo frame = V::Window(window->Frame()->window);
    EXPECT_EQ(frame.title, "Tesserine");
    EXPECT_TRUE(frame.visible);
    app.Initialise();
    EXPECT_EQ(app.MainWindow(), window) << "a second call builds nothing";
    EXPECT_EQ(V::Windows().size(), 2u);
}

TEST_F(AppLifecycle, ClosingTheMainWindowEndsTheLoop)
{
    auto app = std::make_unique<q_App>();
    app->Initialise();
    FNWindowId frame = app->MainWindow()->Frame()->window;
    int passes = 0;
    bool closed = false;
    // The program's loop, with the user closing the window on the third pass.
    while (FNEngine::Current() && FNEngineStep() && app->Frame()) {
        engine->Synchronise();
        if (++passes == 3) {
            V::RequestClose(frame);
            closed = true;
        }
        ASSERT_LT(passes, 1000) << "the close request did not end the loop";
    }
    EXPECT_TRUE(closed);
    EXPECT_LE(passes, 5);
    app.reset();
    EXPECT_TRUE(V::Windows().empty()) << "a window outlived the closed program";
}

} // namespace
