#include "framework/platform/FNThreadMessageQueue.h"

#include <sys/eventfd.h>
#include <unistd.h>

FNThreadMessageQueue::FNThreadMessageQueue()
    : m_descriptor(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK | EFD_SEMAPHORE))
{
}

FNThreadMessageQueue::~FNThreadMessageQueue()
{
    if (m_descriptor >= 0)
        close(m_descriptor);
}

void FNThreadMessageQueue::Post(int message, uintptr_t param)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_messages.push_back({ message, param });
    // A semaphore eventfd: one count per waiting message, so the descriptor
    // stays readable exactly while the list is not empty.
    if (m_descriptor >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t written = write(m_descriptor, &one, sizeof one);
    }
}

bool FNThreadMessageQueue::Take(FNThreadMessage& message)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_messages.empty())
        return false;
    message = m_messages.front();
    m_messages.pop_front();
    if (m_descriptor >= 0) {
        uint64_t count = 0;
        [[maybe_unused]] ssize_t taken = read(m_descriptor, &count, sizeof count);
    }
    return true;
}

bool FNThreadMessageQueue::Empty() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_messages.empty();
}
