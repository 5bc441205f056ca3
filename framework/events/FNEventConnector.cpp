#include "framework/events/FNEventConnector.h"

#include "framework/core/FNInitialise.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

// Connectors by the object they are bound to; equal keys keep the order in
// which the connectors were made.
struct ConnectorRegistry {
    std::multimap<const FNStageBase*, FNEventConnector*> stages;
    std::multimap<const FN2DItemBase*, FNEventConnector*> items;
    std::multimap<FNWidget*, FNEventConnector*> waiting;
    std::set<const FNEventConnector*> live;
    FNEventConnector::WidgetItemLookup widgetItem = nullptr;
    int dispatchDepth = 0;
    std::vector<FNEventSignal*> retired;
};

ConnectorRegistry& registry()
{
    static ConnectorRegistry instance;
    return instance;
}

template <typename Map, typename Key> void eraseBinding(Map& map, Key key, const FNEventConnector* connector)
{
    auto range = map.equal_range(key);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == connector) {
            map.erase(it);
            return;
        }
    }
}

template <typename Map, typename Key> void collect(const Map& map, Key key, std::vector<FNEventConnector*>& out)
{
    auto range = map.equal_range(key);
    for (auto it = range.first; it != range.second; ++it)
        out.push_back(it->second);
}

} // namespace

// ---- FNEventSignal --------------------------------------------------------------------

FNEventSignal::FNEventSignal()
{
    FN_SET_CLASS_NAME(FNEventSignal);
}

void FNEventSignal::Connect(const FNEventAny& handler, int group)
{
    handlers.emplace_back(handler, group);
}

void FNEventSignal::Emit(const FNEventState& event)
{
    // By index: a handler may connect more handlers to this signal.
    for (size_t i = 0; i < handlers.size() && !retired; ++i)
        handlers[i].first.Invoke(event);
}

// ---- FNEventConnector -------------------------------------------------------------------

FNEventConnector::FNEventConnector(FNStageBase* stage)
    : m_stage(stage)
{
    FN_SET_CLASS_NAME(FNEventConnector);
    Register();
}

FNEventConnector::FNEventConnector(FN2DItemBase* item)
    : m_item(item)
{
    FN_SET_CLASS_NAME(FNEventConnector);
    Register();
}

FNEventConnector::FNEventConnector(FNWidget* widget)
    : m_widget(widget)
{
    FN_SET_CLASS_NAME(FNEventConnector);
    Register();
}

void FNEventConnector::Register()
{
    ConnectorRegistry& r = registry();
    r.live.insert(this);
    if (m_stage)
        r.stages.emplace(m_stage, this);
    else if (m_item)
        r.items.emplace(m_item, this);
    else if (m_widget)
        r.waiting.emplace(m_widget, this);
    RebindPlacedWidgets();
}

FNEventConnector::~FNEventConnector()
{
    ConnectorRegistry& r = registry();
    r.live.erase(this);
    if (m_stage)
        eraseBinding(r.stages, m_stage, this);
    else if (m_item)
        eraseBinding(r.items, m_item, this);
    else if (m_widget)
        eraseBinding(r.waiting, m_widget, this);
    for (FNEventSignal*& signal : m_signals) {
        if (!signal)
            continue;
        if (r.dispatchDepth > 0) {
            signal->retired = true;
            r.retired.push_back(signal);
        } else {
            delete signal;
        }
        signal = nullptr;
    }
}

void FNEventConnector::Connect(int code, const FNEventAny& handler)
{
    if (code < 0 || code >= FNEventCodeCount)
        return;
    FNInitialise();
    if (!m_signals[code])
        m_signals[code] = new FNEventSignal;
    m_signals[code]->Connect(handler, 0);
}

FNEventSignal* FNEventConnector::Signal(int code) const
{
    return code >= 0 && code < FNEventCodeCount ? m_signals[code] : nullptr;
}

bool FNEventConnector::Emit(const FNEventState& event)
{
    FNEventSignal* signal = Signal(event.code);
    if (!signal)
        return false;
    signal->Emit(event);
    return true;
}

void FNEventConnector::SetWidgetItemLookup(WidgetItemLookup lookup)
{
    registry().widgetItem = lookup;
}

FN2DItemBase* FNEventConnector::WidgetItem(FNWidget* widget)
{
    WidgetItemLookup lookup = registry().widgetItem;
    return widget && lookup ? lookup(widget) : nullptr;
}

void FNEventConnector::RebindPlacedWidgets()
{
    ConnectorRegistry& r = registry();
    if (!r.widgetItem)
        return;
    for (auto it = r.waiting.begin(); it != r.waiting.end();) {
        FN2DItemBase* item = r.widgetItem(it->first);
        if (!item) {
            ++it;
            continue;
        }
        FNEventConnector* connector = it->second;
        connector->m_item = item;
        connector->m_widget = nullptr;
        r.items.emplace(item, connector);
        it = r.waiting.erase(it);
    }
}

void FNEventConnector::CollectForItem(const FN2DItemBase* item, std::vector<FNEventConnector*>& out)
{
    collect(registry().items, item, out);
}

void FNEventConnector::CollectForStage(const FNStageBase* stage, std::vector<FNEventConnector*>& out)
{
    collect(registry().stages, stage, out);
}

bool FNEventConnector::IsLive(const FNEventConnector* connector)
{
    return registry().live.count(connector) != 0;
}

void FNEventConnector::BeginDispatch()
{
    registry().dispatchDepth++;
}

void FNEventConnector::EndDispatch()
{
    ConnectorRegistry& r = registry();
    if (--r.dispatchDepth > 0)
        return;
    std::vector<FNEventSignal*> retired;
    retired.swap(r.retired);
    for (FNEventSignal* signal : retired)
        delete signal;
}
