// SPDX-License-Identifier: MIT
#include "core/platform/TaskPool.h"

#include <algorithm>
#include <new>
#include <system_error>

namespace dirscribe {

unsigned TaskPool::CoresUpTo(unsigned limit) {
    return std::clamp(std::thread::hardware_concurrency(), 1U, std::max(limit, 1U));
}

TaskPool::TaskPool(unsigned threads) {
    // A helper the system cannot start (no memory for its stack or its state) only means
    // fewer helpers; the ones started are joined as usual.
    try {
        for (unsigned i = 1; i < threads; ++i)
            m_helpers.emplace_back([this] { HelperLoop(); });
    } catch (const std::system_error&) {
    } catch (const std::bad_alloc&) {
    }
}

TaskPool::~TaskPool() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread& helper : m_helpers)
        helper.join();
}

bool TaskPool::TryPost(Group& group, std::function<void()> task) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_idle <= static_cast<int>(m_queue.size()))
            return false;
        m_queue.push_back({&group, std::move(task)});
        ++group.m_pending;
    }
    m_changed.notify_all();
    return true;
}

void TaskPool::RunFront(std::unique_lock<std::mutex>& lock) {
    Item item = std::move(m_queue.front());
    m_queue.pop_front();
    --m_idle;
    lock.unlock();
    item.task();
    lock.lock();
    ++m_idle;
    --item.group->m_pending;
    m_changed.notify_all();
}

void TaskPool::Wait(Group& group) {
    std::unique_lock lock(m_mutex);
    ++m_idle;
    while (group.m_pending > 0) {
        if (!m_queue.empty())
            RunFront(lock);
        else
            m_changed.wait(lock);
    }
    --m_idle;
}

void TaskPool::HelperLoop() {
    std::unique_lock lock(m_mutex);
    ++m_idle;
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty())
            return;
        RunFront(lock);
    }
}

} // namespace dirscribe
