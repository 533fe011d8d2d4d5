#include "platform/Beep.h"

#include <mutex>
#include <unistd.h>

namespace platform {
namespace {

std::mutex& HandlerMutex()
{
    static std::mutex m;
    return m;
}

std::function<void()>& Handler()
{
    static std::function<void()> handler;
    return handler;
}

void TerminalBell()
{
    if (::isatty(STDERR_FILENO)) {
        const char bell = '\a';
        [[maybe_unused]] ssize_t n = ::write(STDERR_FILENO, &bell, 1);
    }
}

} // namespace

void Beep()
{
    std::function<void()> handler;
    {
        std::lock_guard<std::mutex> lock(HandlerMutex());
        handler = Handler();
    }
    if (handler)
        handler();
    else
        TerminalBell();
}

void SetBeepHandler(std::function<void()> handler)
{
    std::lock_guard<std::mutex> lock(HandlerMutex());
    Handler() = std::move(handler);
}

} // namespace platform
