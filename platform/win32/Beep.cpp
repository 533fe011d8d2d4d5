#include "platform/Beep.h"

#include <mutex>
#include <windows.h>

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

// The system's default sound, as message boxes give it.
void DefaultBeep() {
    MessageBeep(MB_OK);
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
        DefaultBeep();
}

void SetBeepHandler(std::function<void()> handler) {
    std::lock_guard<std::mutex> lock(HandlerMutex());
    Handler() = std::move(handler);
}

} // namespace platform
