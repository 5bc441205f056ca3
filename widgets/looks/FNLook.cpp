#include "widgets/looks/FNLook.h"

#include <mutex>

namespace {

std::mutex& lookMutex()
{
    static std::mutex mutex;
    return mutex;
}

thread_local int t_lookDepth = 0;

} // namespace

FNLookLock::FNLookLock()
{
    if (t_lookDepth++ == 0)
        lookMutex().lock();
}

FNLookLock::~FNLookLock()
{
    if (--t_lookDepth == 0)
        lookMutex().unlock();
}

int FNLookLock::Depth()
{
    return t_lookDepth;
}

void FNLook::Set(const FNLookInfo& info, FNLookFunc callback)
{
    m_callback = std::move(callback);
    m_info = info;
}

void FNLook::Draw(FNImage* target, int width, int height) const
{
    if (!m_callback)
        return;
    FNLookLock lock;
    m_callback(target, width, height, m_info);
}
