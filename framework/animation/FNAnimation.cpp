#include "framework/animation/FNAnimation.h"

#include "framework/core/FNFrameworkLock.h"
#include "framework/platform/FNPlatform.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<FNAnimation*>& runningList()
{
    static std::vector<FNAnimation*> list;
    return list;
}

bool inList(FNAnimation* animation)
{
    const auto& list = runningList();
    return std::find(list.begin(), list.end(), animation) != list.end();
}

} // namespace

FNAnimation::FNAnimation()
    : onStart(std::make_unique<FNAnimationAny>())
    , onFinish(std::make_unique<FNAnimationAny>())
    , onStep(std::make_unique<FNAnimationAny>())
{
    FN_SET_CLASS_NAME(FNAnimation);
    data.animation = this;
}

FNAnimation::~FNAnimation()
{
    Leave();
}

void FNAnimation::Leave()
{
    FNFrameworkLockGuard guard;
    auto& list = runningList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

bool FNAnimation::Advance()
{
    data.count += 1;
    data.elapsed = FNPlatformMilliseconds() - startTime;
    data.progress = duration ? static_cast<double>(data.elapsed) / duration : 1.0;
    if (data.elapsed > duration) {
        data.elapsed = duration;
        data.progress = 1.0;
    }
    return finished || data.elapsed >= duration;
}

void FNAnimation::Restart()
{
    data.progress = 0.0;
    data.count = 0;
    data.elapsed = 0;
    finished = false;
    stopped = false;
    startTime = FNPlatformMilliseconds();
    onStart->Invoke(data);
}

void FNAnimation::Start()
{
    if (running)
        return;
    {
        FNFrameworkLockGuard guard;
        if (!inList(this))
            runningList().push_back(this);
    }
    running = true;
    Restart();
}

void FNAnimation::Stop()
{
    if (!running)
        return;
    finished = true;
    stopped = true;
    loop = false;
}

// One update per engine step:
//   1. every running animation, in starting order: Advance; a finished run
//      gets onFinish, an unfinished one onStep (true from it finishes the run
//      and calls onFinish);
//   2. every finished animation restarts when it loops and was not stopped,
//      else it leaves the list.
// Handlers may start, stop or delete animations: the pass works on a copy of
// the list and skips those that have left it meanwhile.
bool FNAnimation::UpdateAll()
{
    std::vector<FNAnimation*> pass;
    {
        FNFrameworkLockGuard guard;
        pass = runningList();
    }
    for (FNAnimation* animation : pass) {
        if (!inList(animation) || !animation->running)
            continue;
        if (animation->Advance())
            animation->finished = true;
        if (animation->finished) {
            animation->onFinish->Invoke(animation->data);
        } else if (animation->onStep->Invoke(animation->data) && inList(animation)) {
            animation->finished = true;
            animation->onFinish->Invoke(animation->data);
        }
    }
    for (FNAnimation* animation : pass) {
        if (!inList(animation) || !animation->finished)
            continue;
        if (!animation->stopped && animation->loop) {
            animation->Restart();
            continue;
        }
        animation->data.progress = 0.0;
        animation->data.count = 0;
        animation->data.elapsed = 0;
        animation->running = animation->finished = animation->stopped = false;
        animation->Leave();
    }
    return !pass.empty();
}

size_t FNAnimation::RunningCount()
{
    FNFrameworkLockGuard guard;
    return runningList().size();
}
