#include <windows.h>

// A library of ours keeps no per-thread state: the system need not call it
// for every thread the host program starts and ends.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(instance);
    return TRUE;
}
