#pragma once

// The process-wide build-running flag: set while any affiliate build's worker
// runs. The commands that must not start while a build runs read it; only the
// workers change it, through BuildRunningScope.
bool IsBuildRunning();

// Sets the flag for the lifetime of the scope and clears it when the scope
// ends, also when it ends by an exception. Scopes may overlap (a Run Setup
// beside a build): the flag stays set until the last of them ends.
class BuildRunningScope {
public:
    BuildRunningScope();
    ~BuildRunningScope();
    BuildRunningScope(const BuildRunningScope&) = delete;
    BuildRunningScope& operator=(const BuildRunningScope&) = delete;
};
