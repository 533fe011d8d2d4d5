#pragma once

#include "selfkit/SelfKit.h"
#include "selfkit/SelfKitView.h"

// The icon of the message shown for status.
MessageKind MessageKindOf(SelfKitStatus status);

// Start-up of the dialog: extracts the own entries; on failure shows
// "File corrupted, please download it again!" as a warning and returns false
// (the program then ends).
bool StartSelfKit(CSelfKit& kit, ISelfKitView& view);

// What pressing Build does: the refusals, the "Building" dialog through the
// eight steps (Cancel stops between them), then the outcome's message and,
// after a success, the offer to run the new setup. Returns how it ended.
SelfKitStatus RunBuildRoad(CSelfKit& kit, const CCustomBuildRequest& request, ISelfKitView& view);

// What the About box's link does: opens address, and when that fails shows
// the warning starting "Unable to open hyperlink:". True when it opened.
bool FollowAboutLink(const std::string& address, ISelfKitView& view);
