#pragma once

#include "framework/core/FNGUICoreObject.h"

#include <cstdint>
#include <memory>

class FNAnimation;

// The record passed by value to animation handlers.
struct FNAnimeData {
    FNAnimation* animation = nullptr;
    int count = 0; // steps taken since the last start
    double progress = 0.0; // 0.0 to 1.0
    uint32_t elapsed = 0; // ms since the last start, at most the duration
    int extra = 0; // carried unchanged
};

// FNAnimationAny: one animation handler, a member function taking the record
// by value and returning bool, bound to its object; empty handlers return
// false and do nothing.
class FNAnimationAny {
public:
    class placeholder {
    public:
        virtual ~placeholder() = default;
        virtual placeholder* Clone() const = 0;
        virtual bool Invoke(FNAnimeData data) = 0;
    };
    template <typename T> class memholder final : public placeholder {
    public:
        using Method = bool (T::*)(FNAnimeData);
        memholder(Method method, T* object)
            : m_method(method)
            , m_object(object)
        {
        }
        placeholder* Clone() const override { return new memholder(m_method, m_object); }
        bool Invoke(FNAnimeData data) override { return (m_object->*m_method)(data); }

    private:
        Method m_method;
        T* m_object;
    };
    class nullholder final : public placeholder {
    public:
        placeholder* Clone() const override { return new nullholder; }
        bool Invoke(FNAnimeData) override { return false; }
    };

    FNAnimationAny()
        : m_content(new nullholder)
    {
    }
    template <typename T>
    FNAnimationAny(bool (T::*method)(FNAnimeData), T* object)
        : m_content(new memholder<T>(method, object))
    {
    }
    bool Invoke(const FNAnimeData& data) const { return m_content->Invoke(data); }

private:
    std::unique_ptr<placeholder> m_content;
};

// FNAnimation: a timed activity driven by the engine step. While it runs, the
// step handler is called once per engine step with the elapsed time and the
// progress; when the duration has passed (or the step handler returns true,
// or Stop was called) the finish handler is called once, and a looping
// animation that was not stopped starts over.
//
// Running animations are in a process-wide list in the order they were
// started, guarded by the framework lock. Thread: the application thread.
// Time comes from the platform's millisecond clock.
class FNAnimation : public FNGUICoreObject {
public:
    FNAnimation();
    ~FNAnimation() override;

    FNAnimation(const FNAnimation&) = delete;
    FNAnimation& operator=(const FNAnimation&) = delete;

    // Counts a step and updates the elapsed time and the progress; true when
    // the run is over (finished, or the duration reached).
    virtual bool Advance();

    template <typename T> void SetOnStart(bool (T::*method)(FNAnimeData), T* object)
    {
        onStart = std::make_unique<FNAnimationAny>(method, object);
    }
    template <typename T> void SetOnFinish(bool (T::*method)(FNAnimeData), T* object)
    {
        onFinish = std::make_unique<FNAnimationAny>(method, object);
    }
    template <typename T> void SetOnStep(bool (T::*method)(FNAnimeData), T* object)
    {
        onStep = std::make_unique<FNAnimationAny>(method, object);
    }

    // Ignored while running.
    void Start();
    // Ends the run at the next engine step (with one finish call) and
    // prevents looping.
    void Stop();

    // The engine-step update of every running animation; false when none ran.
    static bool UpdateAll();
    // Animations in the running list, for tests and diagnostics.
    static size_t RunningCount();

    bool running = false;
    bool finished = false;
    bool stopped = false;
    bool loop = false;
    uint32_t startTime = 0;
    uint32_t duration = 1000;
    FNAnimeData data;
    std::unique_ptr<FNAnimationAny> onStart;
    std::unique_ptr<FNAnimationAny> onFinish;
    std::unique_ptr<FNAnimationAny> onStep;

private:
    // Counters to 0, flags cleared, start time now, onStart called.
    void Restart();
    void Leave();
};
