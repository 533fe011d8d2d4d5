#include "package/BuildRunningFlag.h"

#include <atomic>

namespace {
std::atomic<int> g_runningBuilds{0};
}

bool IsBuildRunning() {
    return g_runningBuilds.load() > 0;
}

BuildRunningScope::BuildRunningScope() {
    ++g_runningBuilds;
}

BuildRunningScope::~BuildRunningScope() {
    --g_runningBuilds;
}
