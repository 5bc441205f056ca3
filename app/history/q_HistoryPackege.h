#pragma once

#include <vector>

class q_HistoryObject;

// q_HistoryPackege: the objects of one undoable edit, in the order undo and
// redo apply them: base image, cut region, parts image (each only when the
// edit touched it), then the info record last. add() keeps that order
// whatever order the objects come in.
//
// Ownership: the package holds the objects but its destructor frees only its
// own array; the history manager destroys the objects when it drops the
// package. A package is meant to be pushed to the manager.
class q_HistoryPackege {
public:
    q_HistoryPackege() = default;
    q_HistoryPackege(const q_HistoryPackege&) = delete;
    q_HistoryPackege& operator=(const q_HistoryPackege&) = delete;

    // At most one object of each kind.
    void add(q_HistoryObject* object);

    int count() const { return static_cast<int>(m_objects.size()); }
    q_HistoryObject* object(int index) const { return m_objects[index]; }
    // The object of the given kind, or null when the edit did not touch it.
    q_HistoryObject* find(int kind) const;

    void destroyObjects();

private:
    std::vector<q_HistoryObject*> m_objects;
};
