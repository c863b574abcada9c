#include "cli/Interrupt.h"

#include <atomic>

namespace halcyra::cli {

namespace {

std::atomic<int> g_armed{0};
std::atomic<bool> g_requested{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

} // namespace

CGracefulInterrupt::CGracefulInterrupt()
{
    g_requested = false;
    ++g_armed;
}

CGracefulInterrupt::~CGracefulInterrupt() { --g_armed; }

bool CGracefulInterrupt::Requested() const { return g_requested; }

bool TakeInterrupt() noexcept { return g_armed.load() > 0 && !g_requested.exchange(true); }

} // namespace halcyra::cli
