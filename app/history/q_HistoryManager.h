#pragma once

#include <deque>
#include <iostream>
#include <set>
#include <vector>

class FNImage;
class q_HistoryPackege;

// What the history needs to know of the application: whether it still uses a
// picture. The answer must be true for the current base canvas, loaded part
// and cut region, and for the before pictures of a step it has opened and not
// yet closed; answering true for more only delays a picture's freeing.
class q_HistoryPictureHolder {
public:
    virtual bool holdsPicture(const FNImage* picture) const = 0;

protected:
    ~q_HistoryPictureHolder() = default;
};

// q_HistoryManager: the undo history, at most 30 packages, oldest first.
// The cursor is -1 when nothing is undone, otherwise the number of undone
// packages minus 1. While locked (set by the application while undo or redo
// restores its state, cleared once per frame) pushed packages are dropped.
//
// Ownership: the manager owns the pushed packages and their objects, and
// every picture that they refer to and the application no longer holds. It
// frees a picture only when no package and not the application refers to it
// (see the table in the .cpp), so a picture is never freed twice or while it
// can still be restored or shown. The holder must outlive the manager and
// still answer for the application's pictures when the manager is destroyed.
//
// Diagnostics: one line per event on the log stream, each flushed.
// Thread: the application thread only.
class q_HistoryManager {
public:
    explicit q_HistoryManager(const q_HistoryPictureHolder& holder, std::ostream& log = std::cout);
    ~q_HistoryManager();

    q_HistoryManager(const q_HistoryManager&) = delete;
    q_HistoryManager& operator=(const q_HistoryManager&) = delete;

    // Records a finished edit and takes the package; while locked the
    // package is dropped instead and the edit can no longer be undone.
    void push(q_HistoryPackege* package);
    // Drops the undone packages and those beyond the capacity.
    void commit();
    // The package to apply (its before side for undo, after side for redo),
    // or null with a log line when there is none.
    q_HistoryPackege* undo();
    q_HistoryPackege* redo();

    int cursor() const { return m_cursor; }
    int count() const { return static_cast<int>(m_packages.size()); }
    bool canUndo() const { return m_cursor != count() - 1; }
    bool canRedo() const { return m_cursor != -1; }

    void Lock() { m_locked = true; }
    // The per-frame unlock; after a locked frame, pictures that undo or redo
    // took out of the application's hands are freed here too.
    void Unlock();
    bool IsLocked() const { return m_locked; }

    // Whether the history will free the picture: a package still refers to
    // it, or its package is gone but the application held it then, so the
    // history frees it once the application lets go. The editor frees a
    // picture it drops only when neither is so.
    bool references(const FNImage* picture) const
    {
        return inPackages(picture, nullptr) || m_loose.count(const_cast<FNImage*>(picture)) != 0;
    }

private:
    void commit(const q_HistoryPackege* incoming);
    void drop(const std::vector<q_HistoryPackege*>& dropped, const q_HistoryPackege* incoming);
    bool inPackages(const FNImage* picture, const q_HistoryPackege* incoming) const;

    const q_HistoryPictureHolder& m_holder;
    std::ostream& m_log;
    std::deque<q_HistoryPackege*> m_packages;
    // Pictures no package holds any more but the application still did when
    // their package was dropped: freed once it lets go of them.
    std::set<FNImage*> m_loose;
    int m_cursor = -1;
    int m_capacity = 30;
    bool m_locked = false;
};
