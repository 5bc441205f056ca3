#include "app/history/q_HistoryPackege.h"

#include "app/history/q_HistoryObject.h"

#include <algorithm>
#include <cassert>

// The kinds are numbered so that the application order (base 4, cut 3,
// parts 2, info 1) is the descending one.
void q_HistoryPackege::add(q_HistoryObject* object)
{
    assert(!find(object->kind()) && "a package holds one object of each kind");
    const auto place = std::find_if(m_objects.begin(), m_objects.end(),
        [object](const q_HistoryObject* held) { return held->kind() < object->kind(); });
    m_objects.insert(place, object);
}

q_HistoryObject* q_HistoryPackege::find(int kind) const
{
    for (q_HistoryObject* object : m_objects)
        if (object->kind() == kind)
            return object;
    return nullptr;
}

void q_HistoryPackege::destroyObjects()
{
    for (q_HistoryObject* object : m_objects)
        delete object;
    m_objects.clear();
}
