#pragma once

#include "framework/core/FNGUICoreObject.h"

#include <atomic>
#include <memory>

// The running thread of an FNThread; held through a pointer so that this
// header does not pull Boost.Thread into every file that names an engine.
struct FNInnerThread;

// FNThread: an operating-system thread (Boost.Thread) running this object's
// Run() between OnStart() and OnEnd(). The base Run() calls Step() and sleeps
// 1 ms until a stop is requested.
//
// Threads: Start, RequestStop and Join are called by the owner's thread;
// OnStart, Run, Step and OnEnd run on the new thread. The three flags are
// read by both threads and are atomic.
//
// Lifetime: the thread object is released by Join (the destructor joins), not
// by the thread itself: a thread cannot join itself, and an owner that only
// waited for `finished` could destroy members the body still touches on its
// way out.
class FNThread : public FNGUICoreObject {
public:
    FNThread();
    ~FNThread() override;

    FNThread(const FNThread&) = delete;
    FNThread& operator=(const FNThread&) = delete;

    // Starts the thread unless it is running.
    virtual void Start();
    // Asks a running thread to stop; the body sees `stopRequested`.
    virtual void RequestStop();
    virtual void OnStart();
    virtual void Run();
    virtual void OnEnd();
    virtual void Step();

    // Requests a stop, waits for the thread to end and releases it.
    void Join();

    std::unique_ptr<FNInnerThread> inner;
    std::atomic<bool> running { false };
    std::atomic<bool> finished { false };
    std::atomic<bool> stopRequested { false };

private:
    void Body();
};
