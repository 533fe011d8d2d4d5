/* Loads velklink.dll the way a vendor's product does and prints what its one
 * export answers: "<result> <size> <link>". Arguments: the program UUID, the
 * buffer size in bytes, and "null" to pass no buffer. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

typedef int32_t (*LinkFunction)(const char*, char*, uint32_t*);

int main(int argc, char** argv) {
    if (argc < 3)
        return 10;
    HMODULE library = LoadLibraryA("velklink.dll");
    if (!library)
        return 11;
    LinkFunction get = (LinkFunction)(void*)GetProcAddress(library, "velkGetAffiliatePurchaseLink");
    if (!get)
        return 12;
    uint32_t size = (uint32_t)strtoul(argv[2], NULL, 10);
    char buffer[4096];
    memset(buffer, '#', sizeof buffer);
    buffer[sizeof buffer - 1] = '\0';
    int noBuffer = argc > 3 && strcmp(argv[3], "null") == 0;
    int32_t result = get(argv[1], noBuffer ? NULL : buffer, &size);
    printf("%d %u %s\n", (int)result, (unsigned)size, result == 0 && !noBuffer ? buffer : "-");
    return 0;
}
