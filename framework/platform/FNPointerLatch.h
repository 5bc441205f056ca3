#pragma once

#include "framework/platform/FNPointerState.h"

#include <deque>
#include <mutex>

// FNPointerLatch: the button changes a window system reported between two
// input samples, kept so that sampling sees every one of them in order.
// The engine samples the pointer once per step; a press and its release
// that both fall between two samples (a touchpad tap, a click sent by a
// remote desktop or a test tool) would otherwise never be seen at all.
//
//   Press(at)      a button went down at `at` (position, our window there,
//                  the buttons down after it): one sample shows it down
//   Release(at)    a button went up at `at`: when the pointer had moved
//                  since the last sample (or queued change), a sample with
//                  the button still down at the release's position comes
//                  first, so a drag ends where the pointer ended; then a
//                  sample shows it up
//   Sample(live)   the oldest change not yet sampled; with none waiting,
//                  the live position and window with the latched buttons.
//                  A latched button the live state shows up (its release
//                  was never reported: a grab elsewhere, a destroyed
//                  window) is released there. Live buttons never press:
//                  a press counts from its own report only, so a press the
//                  window system has not reported yet is not seen twice.
//
// Threads: Press and Release on the thread that reads the window system's
// events, Sample on the sampling thread; one mutex guards the list.
class FNPointerLatch {
public:
    void Press(const FNPointerState& at);
    void Release(const FNPointerState& at);
    FNPointerState Sample(const FNPointerState& live);
    // The buttons held after every reported change.
    int Held() const;
    // Whether reported changes wait for a sample.
    bool Waiting() const;
    // Forgets everything: nothing held, nothing waiting.
    void Clear();

private:
    // The position the sampler will see last before a new entry.
    const FNPointerState& Latest() const;
    void ReleaseLocked(const FNPointerState& at);

    mutable std::mutex m_lock;
    std::deque<FNPointerState> m_waiting;
    FNPointerState m_lastSampled;
    int m_held = 0;
};
