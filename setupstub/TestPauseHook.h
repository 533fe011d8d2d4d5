#pragma once

// Only in the launcher's test build: makes the pause points named in the
// environment variable VELKORA_PAUSE_AT (a comma-separated list) hold the
// launcher. At the k-th pass (from 1) of a listed point the launcher creates
// the file "<point>-<k>.reached" in the folder VELKORA_PAUSE_DIR and waits
// until "<point>-<k>.go" appears there (at most a minute).
void InstallTestPauseHook();
