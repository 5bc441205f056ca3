#pragma once

#include "app/history/q_HistoryManager.h"
#include "app/history/q_HistoryObject.h"
#include "app/history/q_HistoryPackege.h"
#include "imaging/FNImage.h"

#include <array>
#include <cstdint>
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
    {
        paint(word);
        ++s_live;
    }
    ~CountedPicture() override { --s_live; }
    void paint(uint32_t word)
    {
        row(0)[0] = word;
        m_word = word;
    }
    bool intact() const { return row(0)[0] == m_word; }
    static int live() { return s_live; }

private:
    uint32_t m_word;
    inline static int s_live = 0;
};

inline bool intact(const FNImage* picture)
{
    return static_cast<const CountedPicture*>(picture)->intact();
}

// The application's side of the history as the editor does it: one current
// picture per kind; a step keeps the current picture as its before picture
// and goes on in a copy, which becomes the after picture; undo and redo lock
// the history and put the recorded picture objects and info records back.
class HistoryTestEditor : public q_HistoryPictureHolder {
public:
    // The editor's package shapes, by the kinds they record besides info.
    enum Shape { InfoOnly, Stroke, Mark, Cut, Finish };

    HistoryTestEditor()
    {
        for (int kind : PictureKinds)
            m_current[kind] = new CountedPicture(m_nextWord++);
        history = std::make_unique<q_HistoryManager>(*this, log);
    }
    ~HistoryTestEditor()
    {
        destroyHistory();
        for (int kind : PictureKinds)
            delete m_current[kind];
    }
    void destroyHistory() { history.reset(); }

    FNImage* current(int kind) const { return m_current[kind]; }

    // One whole edit: opens the steps, changes every copy and the info
    // record, closes the steps and pushes the package, which it returns
    // (dropped at once while locked).
    const q_HistoryPackege* edit(Shape shape)
    {
        const q_InfoRecord before = info;
        std::array<FNImage*, 5> stepBefore {};
        for (int kind : kindsOf(shape)) {
            stepBefore[kind] = m_current[kind];
            auto* copy = new CountedPicture(0);
            copy->copyFrom(m_current[kind]);
            copy->paint(m_nextWord++);
            m_current[kind] = copy;
        }
        info.tool = static_cast<int>(m_nextWord++);
        auto* package = new q_HistoryPackege;
        for (int kind : kindsOf(shape))
            package->add(makeObject(kind, stepBefore[kind], m_current[kind]));
        package->add(new q_HistoryInfo(before, info));
        history->push(package);
        return package;
    }
    const q_HistoryPackege* undo() { return apply(history->undo(), false); }
    const q_HistoryPackege* redo() { return apply(history->redo(), true); }
    void frame() { history->Unlock(); }

    // The log lines written since the last call.
    std::vector<std::string> takeLines()
    {
        std::vector<std::string> lines;
        std::istringstream in(log.str());
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        log.str("");
        return lines;
    }

    bool holdsPicture(const FNImage* picture) const override
    {
        for (int kind : PictureKinds)
            if (m_current[kind] == picture)
                return true;
        return false;
    }

    static constexpr std::array<int, 3> PictureKinds { q_HistoryObject::BaseImage, q_HistoryObject::CutRegion,
        q_HistoryObject::PartsImage };

    static std::vector<int> kindsOf(Shape shape)
    {
        switch (shape) {
        case Stroke:
            return { q_HistoryObject::BaseImage };
        case Mark:
            return { q_HistoryObject::CutRegion };
        case Cut:
            return { q_HistoryObject::CutRegion, q_HistoryObject::PartsImage };
        case Finish:
            return { q_HistoryObject::BaseImage, q_HistoryObject::CutRegion, q_HistoryObject::PartsImage };
        case InfoOnly:
            break;
        }
        return {};
    }

    std::ostringstream log;
    std::unique_ptr<q_HistoryManager> history;
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
