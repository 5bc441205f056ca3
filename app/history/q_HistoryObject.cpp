#include "app/history/q_HistoryObject.h"

#include "imaging/FNImage.h"

q_HistoryPictureObject::q_HistoryPictureObject(int kind, FNImage* before, FNImage* after)
    : q_HistoryObject(kind)
    , m_before(before)
    , m_after(after)
{
}

void q_HistoryPictureObject::releaseBefore()
{
    delete m_before;
    m_before = nullptr;
}

void q_HistoryPictureObject::releaseAfter()
{
    delete m_after;
    m_after = nullptr;
}
