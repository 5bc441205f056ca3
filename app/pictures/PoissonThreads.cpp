#include "app/pictures/PoissonThreads.h"

#include <boost/thread/condition_variable.hpp>
#include <boost/thread/mutex.hpp>
#include <boost/thread/thread.hpp>
#include <chrono>
#include <emmintrin.h>
#include <vector>

using namespace poisson;

namespace {

constexpr int kSpinsBeforeYield = 2000;
// How long a thread that has run out of work spins for more before it
// sleeps: the next group of sweeps of a solve usually follows at once.
constexpr auto kSpinBeforeSleep = std::chrono::microseconds(100);

// Spins while `waiting()` holds, for kSpinBeforeSleep at most.
template <typename Waiting> void spinWhile(Waiting waiting)
{
    const auto until = std::chrono::steady_clock::now() + kSpinBeforeSleep;
    for (int spin = 1; waiting(); ++spin) {
        _mm_pause();
        if (spin % 64 == 0 && std::chrono::steady_clock::now() > until)
            return;
    }
}

} // namespace

struct poisson::Team::State {
    boost::mutex lock;
    boost::condition_variable wake, finished;
    std::atomic<unsigned long long> generation { 0 };
    std::atomic<int> running { 0 };
    void (*job)(void*, int) = nullptr;
    void* context = nullptr;
    int count = 0;
    bool stop = false;
    std::vector<std::unique_ptr<boost::thread>> workers; // worker w runs index w + 1
};

Team& poisson::Team::instance()
{
    static Team team;
    return team;
}

poisson::Team::Team()
    : m_state(std::make_unique<State>())
{
}

poisson::Team::~Team()
{
    State& s = *m_state;
    {
        const boost::lock_guard<boost::mutex> guard(s.lock);
        s.stop = true;
    }
    s.wake.notify_all();
    for (auto& worker : s.workers)
        worker->join();
}

void poisson::Team::run(int count, void (*job)(void*, int), void* context)
{
    if (count <= 1) {
        job(context, 0);
        return;
    }
    State& s = *m_state;
    {
        const boost::lock_guard<boost::mutex> guard(s.lock);
        while (static_cast<int>(s.workers.size()) < count - 1) {
            const int index = static_cast<int>(s.workers.size()) + 1;
            const unsigned long long seen = s.generation.load();
            s.workers.push_back(std::make_unique<boost::thread>([this, index, seen] { work(index, seen); }));
        }
        s.job = job, s.context = context, s.count = count;
        s.running.store(count - 1);
        s.generation.fetch_add(1, std::memory_order_release);
    }
    s.wake.notify_all();
    job(context, 0);
    spinWhile([&] { return s.running.load(std::memory_order_acquire) > 0; });
    boost::unique_lock<boost::mutex> guard(s.lock);
    while (s.running.load(std::memory_order_acquire) > 0)
        s.finished.wait(guard);
}

void poisson::Team::work(int index, unsigned long long seen)
{
    State& s = *m_state;
    for (;;) {
        spinWhile([&] { return s.generation.load(std::memory_order_acquire) == seen; });
        void (*job)(void*, int) = nullptr;
        void* context = nullptr;
        {
            boost::unique_lock<boost::mutex> guard(s.lock);
            while (!s.stop && s.generation.load() == seen)
                s.wake.wait(guard);
            if (s.stop)
                return;
            seen = s.generation.load();
            if (index >= s.count)
                continue; // a run with fewer threads
            job = s.job, context = s.context;
        }
        job(context, index);
        if (s.running.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            const boost::lock_guard<boost::mutex> guard(s.lock);
            s.finished.notify_all();
        }
    }
}

std::chrono::nanoseconds poisson::waitAtLeast(const std::atomic<int>& value, int target)
{
    for (int spin = 0; spin < kSpinsBeforeYield; ++spin) {
        if (value.load(std::memory_order_acquire) >= target)
            return {};
        _mm_pause();
    }
    const auto start = std::chrono::steady_clock::now();
    while (value.load(std::memory_order_acquire) < target)
        boost::this_thread::yield();
    return std::chrono::steady_clock::now() - start;
}
