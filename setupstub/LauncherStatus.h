#pragma once

// The launcher's exit statuses. When the setup ran, the launcher ends with
// the setup's own status instead; when the launcher was asked to end (Linux:
// SIGINT, SIGTERM, SIGHUP), with 128 + the signal's number.
inline constexpr int kLauncherBare = 0;    // no package behind the image: nothing to do
inline constexpr int kLauncherFailed = 1;  // the package could not be unpacked or the
                                           // setup not started
inline constexpr int kLauncherDamaged = 2; // bytes behind the image that are no affiliate
                                           // package (damaged, truncated or foreign)
