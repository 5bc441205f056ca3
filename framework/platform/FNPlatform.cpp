#include "framework/platform/FNPlatform.h"

#include <poll.h>

#include <chrono>
#include <thread>

bool FNPlatformConnection::Wait(int timeoutMs)
{
    if (HasPending() || timeoutMs == 0)
        return HasPending();
    pollfd descriptors[2] = {
        { m_messages.Descriptor(), POLLIN, 0 },
        { EventDescriptor(), POLLIN, 0 },
    };
    if (descriptors[0].fd < 0 || descriptors[1].fd < 0) {
        // Without a descriptor to wait on, a short sleep keeps the loop's pace.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return HasPending();
    }
    poll(descriptors, 2, timeoutMs < 0 ? -1 : timeoutMs);
    return HasPending();
}

bool FNPlatformConnection::SamplePointer(FNPointerState& state)
{
    FNPointerState live;
    if (!QueryPointer(live))
        return false;
    live.time = FNPlatformMilliseconds();
    state = m_pointer.Sample(live);
    return true;
}
