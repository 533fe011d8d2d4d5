#include "setupstub/TestPauseHook.h"

#include "platform/PausePoint.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace {

bool Listed(std::string_view point) {
    const char* list = std::getenv("VELKORA_PAUSE_AT");
    if (list == nullptr)
        return false;
    const std::string wanted = "," + std::string(list) + ",";
    return wanted.find("," + std::string(point) + ",") != std::string::npos;
}

void HoldAt(std::string_view point) {
    const char* dir = std::getenv("VELKORA_PAUSE_DIR");
    if (dir == nullptr || !Listed(point))
        return;
    static std::mutex mutex;
    static std::map<std::string, int> passes;
    int pass = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        pass = ++passes[std::string(point)];
    }
    const std::filesystem::path base =
        std::filesystem::path(dir) / (std::string(point) + "-" + std::to_string(pass));
    std::ofstream(base.string() + ".reached").put('\n');
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    std::error_code ignored;
    while (!std::filesystem::exists(base.string() + ".go", ignored) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

} // namespace

void InstallTestPauseHook() {
    platform::SetPauseHook(HoldAt);
}
