// SPDX-License-Identifier: MIT
#include "core/platform/TaskPool.h"

#include <atomic>
#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace dirscribe {
namespace {

// A recursive fan-out like a folder walk: every node posts its children when a thread is
// free and runs them itself otherwise, then waits for them.
void Visit(TaskPool& pool, int depth, std::vector<std::atomic<int>>& visits, int node) {
    visits[static_cast<std::size_t>(node)]++;
    if (depth == 0)
        return;
    TaskPool::Group group;
    for (int child = 0; child < 3; ++child) {
        const int id = node * 3 + 1 + child;
        if (!pool.TryPost(group, [&, depth, id] { Visit(pool, depth - 1, visits, id); }))
            Visit(pool, depth - 1, visits, id);
    }
    pool.Wait(group);
}

TEST(TaskPool, NestedPostsAndWaitsRunEveryTaskExactlyOnce) {
    for (unsigned threads : {1u, 2u, 4u}) {
        TaskPool pool(threads);
        std::vector<std::atomic<int>> visits(1 + 3 + 9 + 27 + 81 + 243 + 729);
        Visit(pool, 6, visits, 0);
        for (const auto& v : visits)
            ASSERT_EQ(v.load(), 1) << threads << " threads";
    }
    TaskPool single(1);
    TaskPool::Group group;
    EXPECT_FALSE(single.TryPost(group, [] {})) << "no helper, nothing is ever queued";
    single.Wait(group);
}

} // namespace
} // namespace dirscribe
