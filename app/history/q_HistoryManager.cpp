#include "app/history/q_HistoryManager.h"

#include "app/history/q_HistoryObject.h"
#include "app/history/q_HistoryPackege.h"
#include "imaging/FNImage.h"

// Which pictures each path frees.
//
// Pictures of one kind form a chain: a package's after picture is the before
// picture of the next package of that kind, and the application's current
// picture is the after picture of the newest applied package of its kind
// (the before picture of the oldest undone one). A package dropped while
// locked breaks the chain: its after picture is current but no package
// holds it, and its before picture is usually still in the chain.
//
//  path              drops                  may still be in use                  frees
//  ----------------  ---------------------  -----------------------------------  ---------------------------------
//  locked push       the pushed package     before: the after picture of the     before, when no package holds it;
//                                           previous package of its kind, or     after is current: kept loose and
//                                           the before of the undone package     freed once an undo or redo has
//                                           that undo just restored              put another picture in its place
//  forward           the undone packages    before of the oldest undone one:     after pictures, and a before that
//  truncation                               the current picture or the new       nothing else holds (one left
//                                           package's before                     behind by a locked push)
//  overflow          the oldest packages    after: the before of the next        before pictures, and an after
//                                           package of its kind or the current   that nothing else holds; a
//                                           picture                              current one is kept loose
//  destructor        every package          the current pictures                 all pictures but the current ones
//  commit, and       loose pictures         current, or in a package again       those the application let go of
//  a locked frame's Unlock
//
// So every path follows one rule: gather every picture of the dropped
// packages and the loose ones; free each that no remaining package (nor the
// package being pushed) refers to and the application does not hold; keep
// those it holds as loose. A picture is freed once, through the first
// dropped object naming it.

q_HistoryManager::q_HistoryManager(const q_HistoryPictureHolder& holder, std::ostream& log)
    : m_holder(holder)
    , m_log(log)
{
}

q_HistoryManager::~q_HistoryManager()
{
    m_capacity = 0;
    commit();
}

void q_HistoryManager::push(q_HistoryPackege* package)
{
    if (!package)
        return;
    if (m_locked) {
        m_log << "ロック中のため履歴は追加せず、無視します。" << std::endl;
        drop({ package }, nullptr);
        return;
    }
    commit(package);
    m_packages.push_back(package);
    commit();
}

void q_HistoryManager::commit()
{
    commit(nullptr);
}

void q_HistoryManager::commit(const q_HistoryPackege* incoming)
{
    std::vector<q_HistoryPackege*> dropped;
    if (m_cursor != -1) {
        const int n = count();
        for (int i = 0; i <= m_cursor; ++i) {
            m_log << "commit()::前方消し:" << n - 1 - i << std::endl;
            dropped.push_back(m_packages[n - 1 - i]);
        }
        m_packages.erase(m_packages.end() - (m_cursor + 1), m_packages.end());
    }
    const int excess = count() - m_capacity;
    for (int j = excess - 1; j >= 0; --j) {
        m_log << "commit()::あふれ消し:" << j << std::endl;
        dropped.push_back(m_packages[j]);
    }
    if (excess > 0)
        m_packages.erase(m_packages.begin(), m_packages.begin() + excess);
    m_log << "q_HistoryManager::commit() 履歴数:" << count() << std::endl;
    m_cursor = -1;
    drop(dropped, incoming);
}

q_HistoryPackege* q_HistoryManager::undo()
{
    const int n = count();
    if (m_cursor + 1 == n) {
        m_log << "すでに最古のデータです" << std::endl;
        return nullptr;
    }
    q_HistoryPackege* package = m_packages[n - m_cursor - 2];
    ++m_cursor;
    return package;
}

q_HistoryPackege* q_HistoryManager::redo()
{
    if (m_cursor == -1) {
        m_log << "最新のデータです" << std::endl;
        return nullptr;
    }
    q_HistoryPackege* package = m_packages[count() - m_cursor - 1];
    --m_cursor;
    return package;
}

// A loose picture leaves the application's hands without going into a
// package only when an undo or redo puts another picture in its place, and
// both run locked; so only the end of a locked frame needs to look at them.
void q_HistoryManager::Unlock()
{
    const bool wasLocked = m_locked;
    m_locked = false;
    if (wasLocked && !m_loose.empty())
        drop({}, nullptr);
}

// ---- Freeing ----------------------------------------------------------------

namespace {

template <typename Visit> void forEachPicture(const q_HistoryPackege& package, Visit visit)
{
    for (int i = 0; i < package.count(); ++i) {
        q_HistoryObject* object = package.object(i);
        if (!object->holdsPictures())
            continue;
        auto* pictures = static_cast<q_HistoryPictureObject*>(object);
        visit(pictures->before());
        visit(pictures->after());
    }
}

bool refersTo(const q_HistoryPackege& package, const FNImage* picture)
{
    bool found = false;
    forEachPicture(package, [picture, &found](const FNImage* held) { found = found || held == picture; });
    return found;
}

// Frees the object's pictures that are in doomed, each through its release
// operation, and takes them out of doomed so that no other object frees them.
void releaseDoomed(q_HistoryObject& object, std::set<FNImage*>& doomed)
{
    if (!object.holdsPictures())
        return;
    auto& pictures = static_cast<q_HistoryPictureObject&>(object);
    if (pictures.before() && doomed.erase(pictures.before()))
        pictures.releaseBefore();
    if (pictures.after() && doomed.erase(pictures.after()))
        pictures.releaseAfter();
}

} // namespace

bool q_HistoryManager::inPackages(const FNImage* picture, const q_HistoryPackege* incoming) const
{
    for (const q_HistoryPackege* package : m_packages)
        if (refersTo(*package, picture))
            return true;
    return incoming && refersTo(*incoming, picture);
}

void q_HistoryManager::drop(const std::vector<q_HistoryPackege*>& dropped, const q_HistoryPackege* incoming)
{
    std::set<FNImage*> unowned;
    unowned.swap(m_loose);
    for (const q_HistoryPackege* package : dropped)
        forEachPicture(*package, [&unowned](FNImage* picture) {
            if (picture)
                unowned.insert(picture);
        });

    std::set<FNImage*> doomed;
    for (FNImage* picture : unowned) {
        if (inPackages(picture, incoming))
            continue; // a package frees it when it is dropped in turn
        if (m_holder.holdsPicture(picture))
            m_loose.insert(picture);
        else
            doomed.insert(picture);
    }

    for (q_HistoryPackege* package : dropped) {
        for (int i = 0; i < package->count(); ++i)
            releaseDoomed(*package->object(i), doomed);
        package->destroyObjects();
        delete package;
    }
    for (FNImage* picture : doomed) // loose pictures: no object names them
        delete picture;
}
