/* Measures one start of a windowed program: starts it, waits for its first visible top-level
   window, closes that window and waits for the program's end. Prints one line:
   "START_MS PEAK_KIB EXIT_CODE", the time from starting the program to its window being
   visible, and the program's peak working set.
     window_start PROGRAM.exe */
#include <windows.h>
#include <psapi.h>
#include <stdio.h>

struct Search {
    DWORD pid;
    HWND found;
};

static BOOL CALLBACK FindVisible(HWND hwnd, LPARAM param) {
    struct Search* search = (struct Search*)param;
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->pid && IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

int main(int argc, char** argv) {
    STARTUPINFOA startup;
    PROCESS_INFORMATION info;
    LARGE_INTEGER frequency, start, shown;
    struct Search search = {0, NULL};
    PROCESS_MEMORY_COUNTERS memory;
    DWORD exit_code = 0;
    int polls;

    if (argc != 2) {
        fprintf(stderr, "usage: window_start PROGRAM.exe\n");
        return 2;
    }
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    ZeroMemory(&memory, sizeof memory);
    memory.cb = sizeof memory;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(argv[1], NULL, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) {
        fprintf(stderr, "cannot start %s\n", argv[1]);
        return 2;
    }
    search.pid = info.dwProcessId;
    for (polls = 0; polls < 30000 && !search.found; ++polls) {
        EnumWindows(FindVisible, (LPARAM)&search);
        if (!search.found) {
            Sleep(1);
        }
    }
    QueryPerformanceCounter(&shown);
    if (!search.found) {
        fprintf(stderr, "no window from %s\n", argv[1]);
        TerminateProcess(info.hProcess, 1);
        return 2;
    }
    GetProcessMemoryInfo(info.hProcess, &memory, sizeof memory);
    PostMessageA(search.found, WM_CLOSE, 0, 0);
    WaitForSingleObject(info.hProcess, 30000);
    GetExitCodeProcess(info.hProcess, &exit_code);
    printf("%.1f %lu %lu\n", (shown.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart,
           (unsigned long)(memory.PeakWorkingSetSize / 1024), (unsigned long)exit_code);
    return 0;
}
