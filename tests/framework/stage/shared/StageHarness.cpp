#include "tests/framework/stage/shared/StageHarness.h"
#include "framework/events/FNEventCode.h"
#include "framework/platform/FNVirtualKey.h"

#include <algorithm>

void EventRecorder::On(FNEventState event)
{
    Entry entry { event, std::string(), false };
    if (FNEngine* engine = FNEngine::Current()) {
        if (event.code == FNEvent::KeyDown && engine->current.textInput)
            entry.text = engine->current.text.c_str();
        entry.control = (engine->System().keys[FNKeyControl] & 0x80) != 0;
    }
    entries.push_back(entry);
}

std::vector<int> EventRecorder::Codes(const std::vector<int>& only) const
{
    std::vector<int> codes;
    for (const Entry& entry : entries) {
        if (only.empty() || std::find(only.begin(), only.end(), entry.event.code) != only.end())
            codes.push_back(entry.event.code);
    }
    return codes;
}

std::vector<int> EventRecorder::Keys(int code) const
{
    std::vector<int> keys;
    for (const Entry& entry : entries) {
        if (entry.event.code == code)
            keys.push_back(entry.event.key);
    }
    return keys;
}

size_t EventRecorder::Count(int code) const
{
    return std::count_if(entries.begin(), entries.end(), [code](const Entry& e) { return e.event.code == code; });
}

std::string EventRecorder::Text() const
{
    std::string text;
    for (const Entry& entry : entries)
        text += entry.text;
    return text;
}

bool StageHarness::Focus(FNStageBase& stage, int pointerX, int pointerY)
{
    MovePointer(pointerX, pointerY);
    return StepUntil([&] { return engine->current.hoverStage == &stage && engine->current.focusStage == &stage; });
}
