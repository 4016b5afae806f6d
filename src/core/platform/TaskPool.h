// SPDX-License-Identifier: MIT
// Spare cores for a recursive walk, without a thread per task.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace dirscribe {

// A task is handed over only when a thread is idle, so the queue never grows beyond the
// idle threads and callers otherwise do the work themselves. A thread that waits for its
// group runs queued tasks meanwhile, so nested waits cannot deadlock.
class TaskPool {
public:
    // Tasks posted together and waited for together.
    class Group {
        friend class TaskPool;
        int m_pending = 0; // guarded by the pool's mutex
    };

    // threads counts the caller: a pool of 1 has no helper and never takes a task.
    explicit TaskPool(unsigned threads);
    ~TaskPool();
    TaskPool(const TaskPool&) = delete;
    TaskPool& operator=(const TaskPool&) = delete;

    // The machine's cores, counting at least 1 and at most limit: a pool size.
    static unsigned CoresUpTo(unsigned limit);

    // Queues task when a thread is free to run it; false, and nothing queued, otherwise.
    // The task must not throw.
    bool TryPost(Group& group, std::function<void()> task);
    // Returns once every task posted in group has finished.
    void Wait(Group& group);

private:
    struct Item {
        Group* group;
        std::function<void()> task;
    };
    void HelperLoop();
    // Runs the front item with the lock released; the lock is held again on return.
    void RunFront(std::unique_lock<std::mutex>& lock);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Item> m_queue;
    int m_idle = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_helpers;
};

} // namespace dirscribe
