#pragma once

#include "app/history/q_HistoryManager.h"
#include "app/history/q_HistoryObject.h"
#include "app/history/q_HistoryPackege.h"
#include "imaging/FNImage.h"

#include <array>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

// A 1 x 1 picture that counts the live ones and knows the word its pixel
// must hold, so tests see what the history frees and read every picture it
// keeps (a read of a freed one is caught by AddressSanitizer).
class CountedPicture : public FNImage {
public:
    explicit CountedPicture(uint32_t word)
        : FNImage(1, 1)
        , m_word(word)
    {
        row(0)[0] = word;
        ++s_live;
    }
    ~CountedPicture() override { --s_live; }
    static bool intact(const FNImage* picture)
    {
        return picture->row(0)[0] == static_cast<const CountedPicture*>(picture)->m_word;
    }
    static int live() { return s_live; }

private:
    uint32_t m_word;
    inline static int s_live = 0;
};

// The application's side of the history as the editor does it: one current
// picture per kind; a step keeps the current picture as its before picture
// and goes on in a copy, which becomes the after picture; undo and redo lock
// the history and put the recorded picture objects and info records back.
class HistoryTestEditor : public q_HistoryPictureHolder {
public:
    // The editor's package shapes: info only, blur stroke, cut mark, cut,
    // finish part editing; by the picture kinds each records besides info.
    enum Shape { InfoOnly, Stroke, Mark, Cut, Finish };
    static std::vector<int> kindsOf(Shape shape)
    {
        static const std::vector<int> kinds[] = { {}, { 4 }, { 3 }, { 3, 2 }, { 4, 3, 2 } };
        return kinds[shape];
    }
    static constexpr std::array<int, 3> PictureKinds { 4, 3, 2 };

    HistoryTestEditor()
    {
        for (int kind : PictureKinds)
            m_current[kind] = new CountedPicture(m_nextWord++);
    }
    ~HistoryTestEditor()
    {
        history.reset();
        for (int kind : PictureKinds)
            delete m_current[kind];
    }

    FNImage* current(int kind) const { return m_current[kind]; }
    bool holdsPicture(const FNImage* picture) const override
    {
        return picture == m_current[4] || picture == m_current[3] || picture == m_current[2];
    }

    // One whole edit: every touched picture is replaced by a changed copy
    // and the info record changes; returns the pushed package.
    const q_HistoryPackege* edit(Shape shape)
    {
        auto* package = new q_HistoryPackege;
        for (int kind : kindsOf(shape)) {
            FNImage* before = m_current[kind];
            m_current[kind] = new CountedPicture(m_nextWord++);
            package->add(makeObject(kind, before, m_current[kind]));
        }
        const q_InfoRecord before = info;
        info.tool = static_cast<int>(m_nextWord++);
        package->add(new q_HistoryInfo(before, info));
        history->push(package);
        return package;
    }
    // The editor puts a fresh picture of `kind` in place without recording
    // it (a new cut mark), freeing the old one unless the history will.
    void replaceUnrecorded(int kind)
    {
        FNImage* old = m_current[kind];
        m_current[kind] = new CountedPicture(m_nextWord++);
        if (!history->references(old))
            delete old;
    }
    const q_HistoryPackege* undo() { return apply(history->undo(), false); }
    const q_HistoryPackege* redo() { return apply(history->redo(), true); }
    void frame() { history->Unlock(); }

    std::vector<std::string> takeLines()
    {
        std::vector<std::string> lines;
        std::istringstream in(log.str());
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        log.str("");
        return lines;
    }

    std::ostringstream log;
    std::unique_ptr<q_HistoryManager> history = std::make_unique<q_HistoryManager>(*this, log);
    q_InfoRecord info;

private:
    static q_HistoryObject* makeObject(int kind, FNImage* before, FNImage* after)
    {
        if (kind == q_HistoryObject::BaseImage)
            return new q_HistoryBaseImage(before, after);
        if (kind == q_HistoryObject::CutRegion)
            return new q_HistoryCutRegion(before, after);
        return new q_HistoryPartsImage(before, after);
    }
    const q_HistoryPackege* apply(q_HistoryPackege* package, bool forward)
    {
        if (!package)
            return nullptr;
        history->Lock();
        for (int i = 0; i < package->count(); ++i) {
            const q_HistoryObject* object = package->object(i);
            if (object->kind() == q_HistoryObject::Info) {
                auto* record = static_cast<const q_HistoryInfo*>(object);
                info = forward ? record->after() : record->before();
            } else {
                auto* pictures = static_cast<const q_HistoryPictureObject*>(object);
                m_current[object->kind()] = forward ? pictures->after() : pictures->before();
            }
        }
        return package;
    }

    std::array<FNImage*, 5> m_current {};
    uint32_t m_nextWord = 1;
};
