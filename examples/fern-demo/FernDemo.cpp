// fern-demo: a framed window with a few items, some text and a turning
// square (an animation); every event that reaches the window or an item is
// printed as one line. Close the window (its close button, or the window
// manager) to end it.

#include "framework/animation/FNAnimation.h"
#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/window/FNExWindow.h"
#include "imaging/FNImage.h"
#include "imaging/text/FNStringStyle.h"
#include "widgets/window/FNWindowFrameLooks.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kCodeNames[FNEventCodeCount]
    = { "MainStageChanged", "MouseMove", "LeftDown", "LeftUp", "MiddleDown", "MiddleUp", "RightDown", "RightUp",
          "LeftDoubleClick", "MiddleDoubleClick", "RightDoubleClick", "Wheel", "KeyDown", "KeyUp", "StageKeyDown",
          "StageKeyUp", "MouseEnter", "MouseLeave", "FocusIn", "FocusOut", "Moved", "Resized", "CloseRequest",
          "ValueChanged", "ValueUnchanged", "MenuCommand", "SelectionSet", "SelectionChosen", "FilesDropped" };

// Prints the events of one object under its name.
class EventPrinter {
public:
    explicit EventPrinter(std::string name)
        : m_name(std::move(name))
    {
    }

    void On(FNEventState e)
    {
        std::printf("%-8s %2d %-17s screen (%.0f, %.0f) client (%.0f, %.0f) local (%.1f, %.1f) wheel %d key %d "
                    "param %d double %d%s\n",
            m_name.c_str(), e.code, kCodeNames[e.code], e.screenX, e.screenY, e.clientX, e.clientY, e.localX, e.localY,
            e.wheel, e.key, e.param, e.doubleClick, TypedText(e).c_str());
        std::fflush(stdout);
        if (e.code == FNEvent::CloseRequest && m_name == "window")
            FNQuit();
    }

    template <typename Target> FNEventConnector* Listen(Target* target)
    {
        auto* connector = new FNEventConnector(target);
        for (int code = 0; code < FNEventCodeCount; ++code) {
            if (code != FNEvent::MouseMove || m_name == "window")
                connector->Connect(code, &EventPrinter::On, this);
        }
        return connector;
    }

private:
    // The text a key-down event carries (typed or from the input method).
    static std::string TypedText(const FNEventState& e)
    {
        FNEngine* engine = FNEngine::Current();
        if (e.code != FNEvent::KeyDown || !engine || !engine->current.textInput)
            return std::string();
        return " text \"" + std::string(engine->current.text.c_str()) + "\"";
    }

    std::string m_name;
};

// Turns an item once around every run of its animation.
struct Spinner {
    FN2DItem* item;
    bool Step(FNAnimeData data)
    {
        item->SetRotation(360.0 * data.progress);
        return false; // keep going until the duration has passed
    }
};

std::unique_ptr<FNImage> solid(int w, int h, int r, int g, int b)
{
    auto image = std::make_unique<FNImage>(w, h);
    image->fill(r, g, b, 255);
    return image;
}

} // namespace

int main()
{
    std::string failure;
    if (!FNEngine::StartProcessEngine(failure)) {
        std::fprintf(stderr, "fern-demo: %s\n", failure.c_str());
        return 1;
    }
    FNExWindow::SetDefaultLooks(FNWindowFrameLooks());
    FNExWindow window(120, 120, 480, 320, "Fern demo");
    FN2DScene* scene = window.RootScene();

    auto redPicture = solid(120, 80, 220, 60, 60);
    auto bluePicture = solid(90, 90, 60, 90, 220);
    FN2DItem red(120, 80, 30, 40, 1);
    red.SetPicture(redPicture.get());
    FN2DItem blue(90, 90, 110, 80, 2);
    blue.SetPicture(bluePicture.get());
    blue.SetRotation(15);
    FNStringStyle style;
    style.setSize(16);
    style.setColor(20, 20, 20);
    FN2DItem text(400, 30, 30, 220, 3);
    text.SetTextStyle(&style);
    text.SetText("Fern: click, drag, scroll, type — every event is printed");
    scene->AddItem(&red);
    scene->AddItem(&blue);
    scene->AddItem(&text);

    EventPrinter windowPrinter("window"), redPrinter("red"), bluePrinter("blue"), textPrinter("text");
    std::vector<std::unique_ptr<FNEventConnector>> connectors;
    connectors.emplace_back(windowPrinter.Listen(&window));
    connectors.emplace_back(redPrinter.Listen(&red));
    connectors.emplace_back(bluePrinter.Listen(&blue));
    connectors.emplace_back(textPrinter.Listen(&text));

    window.Open(true);
    // The blue square turns once every four seconds, over and over.
    Spinner spinner { &blue };
    FNAnimation spin;
    spin.duration = 4000;
    spin.loop = true;
    spin.SetOnStep(&Spinner::Step, &spinner);
    spin.Start();
    while (FNEngine::Current() && FNEngineStep()) { }
    spin.Stop();
    connectors.clear();
    scene->RemoveItem(&red);
    scene->RemoveItem(&blue);
    scene->RemoveItem(&text);
    return 0;
}
