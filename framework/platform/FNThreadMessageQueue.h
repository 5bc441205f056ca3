#pragma once

#include <cstdint>
#include <deque>
#include <mutex>

// One message for an engine thread: a code (the engine's message numbers)
// and a parameter, usually a stage pointer.
struct FNThreadMessage {
    int message = 0;
    uintptr_t param = 0;
};

// FNThreadMessageQueue: first-in first-out messages from any thread to one
// engine thread, with a descriptor that is readable while messages wait, so
// the engine thread can wait for messages and window-system events in one
// poll. Post and Take may run on different threads; the mutex guards the
// list and the descriptor's count.
class FNThreadMessageQueue {
public:
    FNThreadMessageQueue();
    ~FNThreadMessageQueue();
    FNThreadMessageQueue(const FNThreadMessageQueue&) = delete;
    FNThreadMessageQueue& operator=(const FNThreadMessageQueue&) = delete;

    void Post(int message, uintptr_t param);
    bool Take(FNThreadMessage& message);
    bool Empty() const;
    // Readable while at least one message waits; -1 if none could be made
    // (then waiting falls back to short sleeps).
    int Descriptor() const { return m_descriptor; }

private:
    mutable std::mutex m_lock;
    std::deque<FNThreadMessage> m_messages;
    int m_descriptor = -1;
};
