#pragma once

#include <string>

// Apply of the Program UUID dialog: text replaces uuid when it differs byte
// for byte (the caller then marks the project modified). Its form is not
// checked: a vendor may paste the UUID an older build used.
bool ApplyProgramUuid(std::string& uuid, const std::string& text);
