#include "app/ProgramUuidEdit.h"

bool ApplyProgramUuid(std::string& uuid, const std::string& text) {
    if (text == uuid)
        return false;
    uuid = text;
    return true;
}
