// The scenarios' window system in stage_virtual_tests: the virtual screen,
// with the clock, pointer, buttons and keys set directly.

#include "framework/platform/FNVirtualKey.h"
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "imaging/FNImage.h"
#include "imaging/text/Utf8.h"
#include "tests/framework/stage/shared/StageHarness.h"

namespace V = FNVirtualPlatform;

struct StageHarness::Backend { };

namespace {

// A keyboard reports the left-hand modifier keys.
int physicalKey(int virtualKey)
{
    if (virtualKey == FNKeyControl)
        return FNKeyLeftControl;
    if (virtualKey == FNKeyShift)
        return FNKeyLeftShift;
    return virtualKey;
}

} // namespace

void StageHarness::SetUp()
{
    V::Reset();
    V::SetMilliseconds(10000);
    engine = std::make_unique<FNEngine>();
    ASSERT_TRUE(engine->Platform()) << engine->PlatformFailure();
}

void StageHarness::TearDown()
{
    engine.reset();
}

void StageHarness::MovePointer(int x, int y)
{
    V::SetPointer(x, y);
}

void StageHarness::Click(int count)
{
    for (int i = 0; i < count; ++i) {
        V::SetButtons(FNButtonLeft);
        V::SetButtons(0);
    }
}

void StageHarness::Drag(int fromX, int fromY, int toX, int toY)
{
    V::SetPointer(fromX, fromY);
    V::SetButtons(FNButtonLeft);
    V::SetPointer(toX, toY);
    V::SetButtons(0);
}

void StageHarness::Press()
{
    V::SetButtons(FNButtonLeft);
}

void StageHarness::Release()
{
    V::SetButtons(0);
}

// As a keyboard does: a letter pressed without Control or Alt also types it
// (lower case without Shift).
void StageHarness::Chord(const std::vector<int>& keys)
{
    bool control = false, shift = false;
    for (int key : keys) {
        V::PressKey(physicalKey(key));
        control = control || key == FNKeyControl;
        shift = shift || key == FNKeyShift;
        if (key >= 'A' && key <= 'Z' && !control)
            V::TypeText(std::string(1, static_cast<char>(shift ? key : key - 'A' + 'a')));
    }
    for (int key : keys)
        V::ReleaseKey(physicalKey(key));
}

void StageHarness::Type(const std::string& utf8)
{
    for (size_t at = 0; at < utf8.size(); at = utf8NextBoundary(utf8, at))
        V::TypeText(utf8.substr(at, utf8LetterLength(utf8, at)));
}

void StageHarness::Wheel(int notches)
{
    for (int i = 0; i < (notches < 0 ? -notches : notches); ++i)
        V::Wheel(notches < 0 ? -120 : 120);
}

void StageHarness::Pause(int milliseconds)
{
    V::AdvanceMilliseconds(static_cast<uint32_t>(milliseconds));
}

void StageHarness::RequestClose(const FNStageBase& stage)
{
    V::RequestClose(stage.window);
}

bool StageHarness::StepUntil(const std::function<bool()>& condition)
{
    // Nothing here takes time: a working engine needs a handful of steps.
    for (int step = 0; step < 1000; ++step) {
        if (condition())
            return true;
        engine->Synchronise();
        engine->RunStep(false);
    }
    return condition();
}

void StageHarness::StepAFew()
{
    for (int step = 0; step < 20; ++step) {
        engine->Synchronise();
        engine->RunStep(false);
    }
}

uint32_t StageHarness::Pixel(const FNStageBase& stage, int x, int y)
{
    FNImage shown;
    if (!V::ReadPixels(stage.window, shown) || x >= shown.width || y >= shown.height)
        return 0xFFFFFFFF;
    return shown.row(y)[x] & 0xFFFFFF;
}

void StageHarness::ScreenPosition(const FNStageBase& stage, int& x, int& y)
{
    x = y = 0;
    engine->Platform()->ClientToScreen(stage.window, x, y);
}

long StageHarness::ShapeArea(const FNStageBase& stage)
{
    const V::WindowInfo info = V::Window(stage.window);
    if (info.shape.empty())
        return static_cast<long>(info.width) * info.height;
    long area = 0;
    for (const FNPlatformRect& rect : info.shape)
        area += static_cast<long>(rect.Width()) * rect.Height();
    return area;
}
