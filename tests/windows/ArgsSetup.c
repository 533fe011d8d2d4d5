/* A stand-in for a vendor's Windows setup: writes the command line it was
 * given and each argument as the C runtime split it, one per line between
 * brackets, then each argument of the wide command line as UTF-8 between
 * braces, to the file named by VELKORA_TEST_ARGS_FILE, copies its own file to
 * VELKORA_TEST_SELF_COPY when that is set (the launcher removes its folder
 * afterwards), and exits with 3. */
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
    int wideCount = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &wideCount);
    for (int i = 1; wide && i < wideCount; ++i) {
        char text[4096];
        if (WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text, sizeof text, NULL, NULL) > 0)
            fprintf(f, "{%s}\n", text);
    }
    fclose(f);
    const char* copy = getenv("VELKORA_TEST_SELF_COPY");
    char self[MAX_PATH];
    if (copy && GetModuleFileNameA(NULL, self, MAX_PATH) > 0 && !CopyFileA(self, copy, FALSE))
        return 8;
    return 3;
}
