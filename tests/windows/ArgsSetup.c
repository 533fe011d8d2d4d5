/* A stand-in for a vendor's Windows setup: writes the command line it was
 * given and each argument as the C runtime split it, one per line between
 * brackets, to the file named by VELKORA_TEST_ARGS_FILE, and exits with 3. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv) {
    const char* out = getenv("VELKORA_TEST_ARGS_FILE");
    FILE* f = out ? fopen(out, "wb") : NULL;
    if (!f)
        return 9;
    fprintf(f, "line=%s\n", GetCommandLineA());
    for (int i = 1; i < argc; ++i)
        fprintf(f, "[%s]\n", argv[i]);
    fclose(f);
    return 3;
}
