#pragma once

#include "app/AppPrompts.h"
#include "platform/HostPath.h"

#include <string>

// What became of a folder that a person chose or typed in a folder chooser.
enum class FolderCheckResult {
    Accepted,   // the folder exists (perhaps made just now): the chooser returns it
    Invalid,    // not a well-formed folder path; "is invalid" was shown
    Declined,   // missing, and the person did not want it made
    NotCreated, // missing, and making it failed; "can not be created" was shown
};

// The check every folder chooser of the desktop program runs before it
// returns a folder; on anything but Accepted the chooser stays open. In
// order: the form of the path in style (model/FolderPathForm); an existing
// folder passes; a missing one is offered for creation and, on Yes, made
// folder by folder from the root downwards. Messages and the question go
// through prompts.
FolderCheckResult CheckChosenFolder(const std::string& path, IAppPrompts& prompts,
                                    platform::PathStyle style);

// The same with the path style of the system the program runs on.
FolderCheckResult CheckChosenFolder(const std::string& path, IAppPrompts& prompts);
