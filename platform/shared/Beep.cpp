#include "platform/Beep.h"
#include "platform/shared/SystemBeep.h"

#include <mutex>

namespace platform {
namespace {

std::mutex& HandlerMutex() {
    static std::mutex m;
    return m;
}

std::function<void()>& Handler() {
    static std::function<void()> handler;
    return handler;
}

} // namespace

void Beep() {
    std::function<void()> handler;
    {
        std::lock_guard<std::mutex> lock(HandlerMutex());
        handler = Handler();
    }
    if (handler)
        handler();
    else
        SystemBeep();
}

void SetBeepHandler(std::function<void()> handler) {
    std::lock_guard<std::mutex> lock(HandlerMutex());
    Handler() = std::move(handler);
}

} // namespace platform
