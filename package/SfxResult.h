#pragma once

// Result codes of the package container, shared by every builder and reader.
// Callers turn them into log lines, message boxes or silence; the container
// itself never shows anything. Code 1003 is not used.
enum SfxResult : int {
    SFX_ERR_OPEN = 1000, // the package (or an extracted information file) cannot be opened or read
    SFX_ERR_MARKER =
        1001,      // not a package: no marker at the end, or a trailer that does not fit the file
    SFX_OK = 1002, // success
    SFX_ERR_EMPTY = 1004,    // no entries: nothing to write, or the trailer's count is 0
    SFX_ERR_CREATE = 1005,   // the output file cannot be created or written
    SFX_ERR_SOURCE = 1006,   // a source cannot be read: an entry's file when building, the own file
                             // when extracting
    SFX_ERR_TEMPLATE = 1007, // no template image with the requested id is linked into the program
};

// The code's name ("SFX_ERR_MARKER"), for diagnostics; "SFX_UNKNOWN" for other values.
const char* SfxResultName(int code);
