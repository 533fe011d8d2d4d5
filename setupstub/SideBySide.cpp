#include "setupstub/SideBySide.h"

#include <system_error>
#include <thread>

namespace {

// Joins the thread however the scope is left, so that it never outlives the
// work it refers to.
class Joined {
public:
    explicit Joined(std::thread thread) : m_thread(std::move(thread)) {}
    Joined(const Joined&) = delete;
    Joined& operator=(const Joined&) = delete;
    ~Joined() {
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    std::thread m_thread;
};

} // namespace

void RunSideBySide(const std::function<void()>& side, const std::function<void()>& main) {
    std::thread thread;
    try {
        thread = std::thread(side);
    } catch (const std::system_error&) {
        side();
    }
    const Joined joined(std::move(thread));
    main();
}
