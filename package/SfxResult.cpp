#include "package/SfxResult.h"

const char* SfxResultName(int code) {
    switch (code) {
    case SFX_ERR_OPEN:
        return "SFX_ERR_OPEN";
    case SFX_ERR_MARKER:
        return "SFX_ERR_MARKER";
    case SFX_OK:
        return "SFX_OK";
    case SFX_ERR_EMPTY:
        return "SFX_ERR_EMPTY";
    case SFX_ERR_CREATE:
        return "SFX_ERR_CREATE";
    case SFX_ERR_SOURCE:
        return "SFX_ERR_SOURCE";
    case SFX_ERR_TEMPLATE:
        return "SFX_ERR_TEMPLATE";
    default:
        return "SFX_UNKNOWN";
    }
}
