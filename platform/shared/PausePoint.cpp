#include "platform/PausePoint.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<PauseHook> g_hook{nullptr};

} // namespace

void SetPauseHook(PauseHook hook) {
    g_hook.store(hook);
}

void PausePoint(std::string_view point) {
    if (const PauseHook hook = g_hook.load())
        hook(point);
}

} // namespace platform
