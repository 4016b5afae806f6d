// SPDX-License-Identifier: MIT
// A signal reaches the whole process, so the names it must remove are kept process-wide, in
// fixed slots a signal handler can read without locking or allocating.
#include "core/platform/InterruptCleanup.h"

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace dirscribe {

namespace {

constexpr std::array kSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

struct Slot {
    std::atomic<bool> taken{false};
    std::atomic<bool> held{false};
    int folder = AT_FDCWD;
    std::array<char, PATH_MAX> path{};
};

std::array<Slot, 8> g_slots;

extern "C" void RemoveHeldFiles(int signal) {
    for (Slot& slot : g_slots)
        if (slot.held.load(std::memory_order_acquire))
            ::unlinkat(slot.folder, slot.path.data(), 0);
    // The signal is blocked while its handler runs: raised again with the default action,
    // it ends the process as soon as the handler returns.
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    ::sigaction(signal, &action, nullptr);
    ::raise(signal);
}

void CatchSignalsLeftAtDefault() {
    for (const int signal : kSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
            continue;
        struct sigaction action {};
        action.sa_handler = RemoveHeldFiles;
        sigemptyset(&action.sa_mask);
        for (const int other : kSignals)
            sigaddset(&action.sa_mask, other);
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace

InterruptCleanup::InterruptCleanup(const std::string& path) : InterruptCleanup(AT_FDCWD, path) {}

InterruptCleanup::InterruptCleanup(int folder, const std::string& name) {
    static std::once_flag installed;
    std::call_once(installed, CatchSignalsLeftAtDefault);
    if (name.size() >= PATH_MAX)
        return;
    for (int i = 0; i < static_cast<int>(g_slots.size()); ++i) {
        Slot& slot = g_slots[static_cast<std::size_t>(i)];
        if (slot.taken.exchange(true, std::memory_order_acquire))
            continue;
        slot.folder = folder;
        std::memcpy(slot.path.data(), name.c_str(), name.size() + 1);
        slot.held.store(true, std::memory_order_release);
        m_slot = i;
        return;
    }
}

InterruptCleanup::~InterruptCleanup() {
    if (m_slot < 0)
        return;
    Slot& slot = g_slots[static_cast<std::size_t>(m_slot)];
    slot.held.store(false, std::memory_order_release);
    slot.taken.store(false, std::memory_order_release);
}

} // namespace dirscribe
