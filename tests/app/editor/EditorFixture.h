#pragma once

// The editor on the virtual window system: the whole q_App with its window,
// panel and canvas, driven by pointer and keys as a user would. What the
// commands ask the user (file names, the canvas size, confirmations) is
// answered from queues the test fills.

#include "app/canvas/q_Canvas.h"
#include "app/q_App.h"
#include "framework/scene/FN2DItem.h"
#include "framework/window/FNExWindow.h"
#include "imaging/FNImage.h"
#include "tests/app/TestPictures.h"
#include "tests/widgets/controls/WidgetFixture.h"
#include "widgets/base/FNWidget.h"

#include <unistd.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

class ScriptedApp : public q_App {
public:
    std::deque<std::string> files; // answers of the file dialogs; none left: cancelled
    std::deque<std::pair<int, int>> sizes; // answers of the new-canvas dialog
    std::deque<bool> confirmations; // answers of OK/Cancel questions
    std::vector<std::string> told; // "caption: message" of every message shown
    int fileDialogs = 0, sizeDialogs = 0;
    std::vector<bool> dialogsSaving; // per file dialog: a save dialog

protected:
    bool ChooseFile(bool saving, FNString& path) override
    {
        ++fileDialogs;
        dialogsSaving.push_back(saving);
        if (files.empty())
            return false;
        path = files.front();
        files.pop_front();
        return true;
    }
    bool ChooseCanvasSize(int& width, int& height) override
    {
        ++sizeDialogs;
        if (sizes.empty())
            return false;
        std::tie(width, height) = sizes.front();
        sizes.pop_front();
        return true;
    }
    void Tell(const FNString& caption, const FNString& message) override
    {
        told.push_back(caption.str() + ": " + message.str());
    }
    bool Confirm(const FNString& caption, const FNString& message) override
    {
        told.push_back(caption.str() + ": " + message.str());
        bool answer = !confirmations.empty() && confirmations.front();
        if (!confirmations.empty())
            confirmations.pop_front();
        return answer;
    }
};

class EditorTest : public VirtualScreenTest {
protected:
    void SetUp() override
    {
        VirtualScreenTest::SetUp();
        V::SetWorkArea(FNPlatformRect { 0, 0, 1600, 1200 });
        app = std::make_unique<ScriptedApp>();
        app->SetLog(log);
        app->Initialise();
        Frame(3);
        folder = std::filesystem::temp_directory_path()
            / ("tesserine-editor-" + std::to_string(::getpid()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        app.reset();
        std::filesystem::remove_all(folder);
        VirtualScreenTest::TearDown();
    }

    // Main-loop passes: an engine step, then the application's frame.
    void Frame(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            Step();
            app->Frame();
        }
    }

    // Screen position of a point of an item (its local coordinates).
    std::pair<int, int> ScreenOf(const FN2DItemBase& item, double localX, double localY) const
    {
        const FNRect& client = app->MainWindow()->ClientRect();
        double x, y;
        item.WorldMatrix().apply(item.WorldX() + localX, item.WorldY() + localY, x, y);
        return { client.left + static_cast<int>(x), client.top + static_cast<int>(y) };
    }
    std::pair<int, int> CentreOf(const FNWidget& widget) const
    {
        return ScreenOf(*widget.Item(), widget.Width() / 2.0, widget.Height() / 2.0);
    }
    void Click(const FNString& panelText)
    {
        FNWidget* widget = app->PanelWidget(panelText);
        ASSERT_NE(widget, nullptr) << panelText.str();
        const auto [x, y] = CentreOf(*widget);
        ClickScreen(x, y);
        app->Frame();
    }
    // A press at one screen point, moves through the others, a release at
    // the last.
    void Drag(const std::vector<std::pair<int, int>>& points)
    {
        V::AdvanceMilliseconds(1000);
        V::SetPointer(points.front().first, points.front().second);
        Frame();
        V::SetButtons(FNButtonLeft);
        Frame(2);
        for (size_t i = 1; i < points.size(); ++i) {
            V::SetPointer(points[i].first, points[i].second);
            Frame();
        }
        V::SetButtons(0);
        Frame(2);
    }
    // A drag in the part's own pixels (over the cut overlay).
    void DragOnPart(const std::vector<std::pair<int, int>>& partPoints)
    {
        std::vector<std::pair<int, int>> screen;
        for (const auto& [x, y] : partPoints)
            screen.push_back(ScreenOf(*app->PartItem(), x + 0.5, y + 0.5));
        Drag(screen);
    }

    // A picture file in the test's folder.
    std::string WritePicture(const std::string& name, const FNImage& picture)
    {
        const std::string path = (folder / name).string();
        FNImage copy;
        copy.copyFrom(&picture);
        EXPECT_TRUE(copy.save(path)) << path;
        return path;
    }
    // A part picture: an opaque square of one colour on a transparent ring
    // of `margin` pixels.
    std::string WritePart(int size, int margin, uint32_t colour, const std::string& name = "part.png")
    {
        FNImage part(size, size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const bool inside = x >= margin && y >= margin && x < size - margin && y < size - margin;
                part.row(y)[x] = inside ? colour : (colour & 0x00FFFFFFu);
            }
        return WritePicture(name, part);
    }
    void LoadPart(const std::string& path)
    {
        app->files.push_back(path);
        Click("パーツ読み込み");
    }

    std::ostringstream log;
    std::unique_ptr<ScriptedApp> app;
    std::filesystem::path folder;
};
