/* Starts a program in this helper's console and presses Ctrl+C there once its
 * window is up, as a user at that console would:
 *   console_ctrl_c.exe <window class> <program> [arguments]
 * The console's Ctrl+C reaches every process attached to it
 * (GenerateConsoleCtrlEvent with group 0); this helper keeps running through
 * it. Prints "window up", then "sent", and ends with the program's exit
 * status; 2 when the window never opened, 3 when the program still runs 10 s
 * after Ctrl+C (it is then killed). The helper starts its own console, so the
 * program meets the same console however the helper itself was started.
 *   console_ctrl_c.exe - <program> [arguments]
 * only waits (60 s at most) for the program to end, then prints what it wrote
 * on the console, line by line, and ends with its exit status. */
#include <windows.h>
#include <stdio.h>
#include <wchar.h>

static BOOL WINAPI keep_running(DWORD event) { (void)event; return TRUE; }

int wmain(int argc, wchar_t **argv) {
    if (argc < 3) {
        fputs("usage: console_ctrl_c.exe <window class> <program> [arguments]\n", stderr);
        return 64;
    }
    /* The command line from the program on, as it was given. */
    wchar_t *line = GetCommandLineW();
    int skip = 3; /* this helper's name and the class: quoted or not, no spaces in either */
    for (int field = 0; field < skip - 1; ++field) {
        while (*line == L' ') ++line;
        if (*line == L'"') { ++line; while (*line && *line != L'"') ++line; if (*line) ++line; }
        else while (*line && *line != L' ') ++line;
    }
    while (*line == L' ') ++line;

    FreeConsole();
    if (!AllocConsole()) { fprintf(stderr, "no console: %lu\n", GetLastError()); return 65; }
    /* Only the program is to stop. A handler rather than SetConsoleCtrlHandler(NULL, TRUE),
     * whose "ignore Ctrl+C" the program would inherit. */
    SetConsoleCtrlHandler(keep_running, TRUE);

    STARTUPINFOW start = {0};
    start.cb = sizeof start;
    PROCESS_INFORMATION process;
    /* Windows gives a windowed (GUI-subsystem) program no console, even one
     * that a console program starts; Wine hands it the parent's. Started
     * detached, it has none under Wine too, and must attach this one itself,
     * as it must on Windows. */
    if (!CreateProcessW(NULL, line, NULL, NULL, FALSE, DETACHED_PROCESS, NULL, NULL, &start, &process)) {
        fprintf(stderr, "cannot start %ls: %lu\n", line, GetLastError());
        return 66;
    }
    DWORD status = 0;
    if (wcscmp(argv[1], L"-") == 0) {
        if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
            printf("still running after 60 s\n");
            TerminateProcess(process.hProcess, 1);
            return 3;
        }
        GetExitCodeProcess(process.hProcess, &status);
        HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
        CONSOLE_SCREEN_BUFFER_INFO info;
        if (screen == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(screen, &info)) {
            printf("cannot read the console: %lu\n", GetLastError());
            return 68;
        }
        wchar_t row[1024];
        const SHORT width = info.dwSize.X < 1024 ? info.dwSize.X : 1024;
        for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
            DWORD got = 0;
            COORD at = {0, y};
            ReadConsoleOutputCharacterW(screen, row, width, at, &got);
            while (got > 0 && row[got - 1] == L' ') --got;
            printf("%.*ls\n", (int)got, row);
        }
        return (int)status;
    }
    HWND window = NULL;
    for (int wait = 0; wait < 600 && !window; ++wait) {
        if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) break;
        window = FindWindowW(argv[1], NULL);
    }
    if (!window) {
        GetExitCodeProcess(process.hProcess, &status);
        printf("no window; the program %s (status 0x%lX)\n",
               status == STILL_ACTIVE ? "still runs" : "ended", status);
        TerminateProcess(process.hProcess, 1);
        return 2;
    }
    printf("window up\n");
    Sleep(3000); /* into the frame loop */
    if (!GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) {
        printf("GenerateConsoleCtrlEvent failed: %lu\n", GetLastError());
        TerminateProcess(process.hProcess, 1);
        return 67;
    }
    printf("sent\n");
    fflush(stdout);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        printf("still running 10 s after Ctrl+C\n");
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
        return 3;
    }
    GetExitCodeProcess(process.hProcess, &status);
    printf("status 0x%lX\n", status);
    return (int)status;
}
