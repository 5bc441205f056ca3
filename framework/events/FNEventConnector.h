#pragma once

#include "framework/core/FNGUICoreObject.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventState.h"

#include <memory>
#include <utility>
#include <vector>

class FNStageBase;
class FN2DItemBase;
class FNWidget;

// FNEventAny: one event handler, a member function taking the record by value
// bound to its object, behind a type-erased holder.
class FNEventAny {
public:
    class placeholder {
    public:
        virtual ~placeholder() = default;
        virtual placeholder* Clone() const = 0;
        virtual void Invoke(FNEventState event) = 0;
    };

    template <typename T> class memholder final : public placeholder {
    public:
        using Method = void (T::*)(FNEventState);
        memholder(Method method, T* object)
            : m_method(method)
            , m_object(object)
        {
        }
        placeholder* Clone() const override { return new memholder(m_method, m_object); }
        void Invoke(FNEventState event) override { (m_object->*m_method)(event); }

    private:
        Method m_method;
        T* m_object;
    };

    FNEventAny() = default;
    template <typename T>
    FNEventAny(void (T::*method)(FNEventState), T* object)
        : m_content(new memholder<T>(method, object))
    {
    }
    FNEventAny(const FNEventAny& other)
        : m_content(other.m_content ? other.m_content->Clone() : nullptr)
    {
    }
    FNEventAny& operator=(const FNEventAny& other)
    {
        m_content.reset(other.m_content ? other.m_content->Clone() : nullptr);
        return *this;
    }
    FNEventAny(FNEventAny&&) = default;
    FNEventAny& operator=(FNEventAny&&) = default;

    void Invoke(const FNEventState& event) const
    {
        if (m_content)
            m_content->Invoke(event);
    }

private:
    std::unique_ptr<placeholder> m_content;
};

// FNEventSignal: the handlers of one event code of one connector, called in
// the order they were connected, each with its own copy of the record.
class FNEventSignal : public FNGUICoreObject {
public:
    FNEventSignal();
    void Connect(const FNEventAny& handler, int group = 0);
    // Stops early once the signal is retired (its connector was destroyed by
    // one of the handlers).
    void Emit(const FNEventState& event);

    std::vector<std::pair<FNEventAny, int>> handlers;
    bool retired = false;
};

// FNEventConnector: binds handlers, one signal per event code, to one stage,
// item or widget. Several connectors may be bound to the same object;
// dispatch reaches them in the order they were made. Destroying a connector
// unbinds it and destroys its signals and handlers; handlers are never
// disconnected one by one.
//
// A connector bound to a widget waits until the widget has been placed (it
// shows an item), then is bound to that item; the widget layer tells the
// framework where a widget's item is through SetWidgetItemLookup, and
// dispatch looks at the waiting connectors at the start of every pass.
//
// Thread: the application thread only.
class FNEventConnector : public FNGUICoreObject {
public:
    explicit FNEventConnector(FNStageBase* stage);
    explicit FNEventConnector(FN2DItemBase* item);
    explicit FNEventConnector(FNWidget* widget);
    ~FNEventConnector() override;

    FNEventConnector(const FNEventConnector&) = delete;
    FNEventConnector& operator=(const FNEventConnector&) = delete;

    template <typename T> void Connect(int code, void (T::*method)(FNEventState), T* object)
    {
        Connect(code, FNEventAny(method, object));
    }
    void Connect(int code, const FNEventAny& handler);
    // The signal of a code, or null when nothing was connected for it.
    FNEventSignal* Signal(int code) const;
    // Emits the code's signal; false when there is none.
    bool Emit(const FNEventState& event);

    // What the connector is bound to now (a widget's connector: null until
    // the widget is placed, then the widget's item).
    FNStageBase* BoundStage() const { return m_stage; }
    FN2DItemBase* BoundItem() const { return m_item; }
    FNWidget* BoundWidget() const { return m_widget; }

    // ---- Connector lookup, for dispatch ----
    // The widget's item when the widget is placed, else null.
    using WidgetItemLookup = FN2DItemBase* (*)(FNWidget*);
    static void SetWidgetItemLookup(WidgetItemLookup lookup);
    static FN2DItemBase* WidgetItem(FNWidget* widget);
    // Binds waiting widget connectors whose widget has been placed.
    static void RebindPlacedWidgets();
    static void CollectForItem(const FN2DItemBase* item, std::vector<FNEventConnector*>& out);
    static void CollectForStage(const FNStageBase* stage, std::vector<FNEventConnector*>& out);
    // False once the connector has been destroyed.
    static bool IsLive(const FNEventConnector* connector);
    // Signals of connectors destroyed while events are dispatched are kept
    // until the pass ends, since one of their handlers may still be running.
    static void BeginDispatch();
    static void EndDispatch();

private:
    void Register();

    FNStageBase* m_stage = nullptr;
    FN2DItemBase* m_item = nullptr;
    FNWidget* m_widget = nullptr;
    FNEventSignal* m_signals[FNEventCodeCount] = {};
};
