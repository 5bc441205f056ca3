#pragma once

#include "app/history/q_InfoRecord.h"

class FNImage;

// q_HistoryObject: one recorded change inside a history package. Destroying
// an object never frees a picture; only releaseBefore and releaseAfter do,
// and the history manager decides when a picture may go.
class q_HistoryObject {
public:
    enum Kind : int {
        Info = 1, // the editor state record
        PartsImage = 2, // the loaded part
        CutRegion = 3, // the cut-out mark
        BaseImage = 4, // the base canvas
    };

    virtual ~q_HistoryObject() = default;
    virtual void releaseBefore() = 0;
    virtual void releaseAfter() = 0;

    int kind() const { return m_kind; }
    bool holdsPictures() const { return m_kind != Info; }

    q_HistoryObject(const q_HistoryObject&) = delete;
    q_HistoryObject& operator=(const q_HistoryObject&) = delete;

protected:
    explicit q_HistoryObject(int kind)
        : m_kind(kind)
    {
    }

private:
    int m_kind;
};

// A change of one of the three pictures: the picture before the edit and the
// one after it. The object refers to both; which of them it may free is the
// manager's decision, and releaseBefore/releaseAfter delete the one named
// and forget it.
class q_HistoryPictureObject : public q_HistoryObject {
public:
    void releaseBefore() override;
    void releaseAfter() override;

    FNImage* before() const { return m_before; }
    FNImage* after() const { return m_after; }

protected:
    q_HistoryPictureObject(int kind, FNImage* before, FNImage* after);

private:
    FNImage* m_before;
    FNImage* m_after;
};

class q_HistoryPartsImage : public q_HistoryPictureObject {
public:
    q_HistoryPartsImage(FNImage* before, FNImage* after)
        : q_HistoryPictureObject(PartsImage, before, after)
    {
    }
};

class q_HistoryCutRegion : public q_HistoryPictureObject {
public:
    q_HistoryCutRegion(FNImage* before, FNImage* after)
        : q_HistoryPictureObject(CutRegion, before, after)
    {
    }
};

class q_HistoryBaseImage : public q_HistoryPictureObject {
public:
    q_HistoryBaseImage(FNImage* before, FNImage* after)
        : q_HistoryPictureObject(BaseImage, before, after)
    {
    }
};

// The editor state before and after an edit; it holds no picture, so its
// release operations do nothing.
class q_HistoryInfo : public q_HistoryObject {
public:
    q_HistoryInfo(const q_InfoRecord& before, const q_InfoRecord& after)
        : q_HistoryObject(Info)
        , m_before(before)
        , m_after(after)
    {
    }
    void releaseBefore() override { }
    void releaseAfter() override { }

    const q_InfoRecord& before() const { return m_before; }
    const q_InfoRecord& after() const { return m_after; }

private:
    q_InfoRecord m_before;
    q_InfoRecord m_after;
};
