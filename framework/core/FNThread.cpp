#include "framework/core/FNThread.h"

#include <boost/bind/bind.hpp>
#include <boost/thread/thread.hpp>

#include <chrono>
#include <thread>

struct FNInnerThread {
    std::unique_ptr<boost::thread> thread;
};

FNThread::FNThread()
    : inner(std::make_unique<FNInnerThread>())
{
    FN_SET_CLASS_NAME(FNThread);
}

FNThread::~FNThread()
{
    Join();
}

void FNThread::Start()
{
    if (running)
        return;
    finished = false;
    stopRequested = false;
    // Joins a thread that ended on its own before starting a new one.
    if (inner->thread && inner->thread->joinable())
        inner->thread->join();
    running = true;
    inner->thread = std::make_unique<boost::thread>(boost::bind(&FNThread::Body, this));
}

void FNThread::RequestStop()
{
    if (running)
        stopRequested = true;
}

void FNThread::OnStart() { }

void FNThread::Run()
{
    while (!stopRequested) {
        Step();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void FNThread::OnEnd() { }

void FNThread::Step() { }

void FNThread::Body()
{
    OnStart();
    Run();
    OnEnd();
    stopRequested = true;
    finished = true;
    running = false;
}

void FNThread::Join()
{
    if (!inner->thread)
        return;
    RequestStop();
    if (inner->thread->joinable())
        inner->thread->join();
    inner->thread.reset();
    stopRequested = true;
    finished = true;
    running = false;
}
