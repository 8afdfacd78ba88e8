// For show.exe built as a windowed (GUI-subsystem) program, which a
// double-click starts without a console beside it. Its messages still reach whoever asked for
// them: a standard stream already redirected (to a file, a pipe or NUL) is
// kept as it is, and the others go to the console of the program that started
// the show (cmd, PowerShell), when there is one. Attached to that console, the
// show gets its Ctrl+C as a console program does (see signals.h). Without
// either, as after a double-click, the messages go nowhere.
// A console program already holds its console, and this does nothing there.
// Elsewhere than on Windows this file is empty.
#ifdef _WIN32

#include <windows.h>

#include <cstdio>

namespace {

// A handle that leads somewhere without a console: a file, a pipe or a
// character device such as NUL. A GUI program started from a console without
// redirection holds no standard handles, or the parent's console handles,
// which mean nothing in this process.
bool redirected(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
    const DWORD type = GetFileType(handle);
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE || type == FILE_TYPE_CHAR;
}

void useParentConsole() {
    const bool in = redirected(STD_INPUT_HANDLE);
    const bool out = redirected(STD_OUTPUT_HANDLE);
    const bool err = redirected(STD_ERROR_HANDLE);
    if (out && err) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;  // none: a double-click
    // C++'s streams write through C's (they are synchronised with stdio), so
    // re-opening C's streams serves std::cout and std::cerr too.
    if (!in) std::freopen("CONIN$", "r", stdin);
    if (!out) std::freopen("CONOUT$", "w", stdout);
    if (!err) std::freopen("CONOUT$", "w", stderr);
}

// Before every other static initialiser of the program: the sound engine,
// opened during static initialisation, may already have something to say.
// (show.exe links every object of src/runtime, so this one is always in.)
struct ParentConsole {
    ParentConsole() { useParentConsole(); }
};
__attribute__((init_priority(101))) ParentConsole parentConsole;

}  // namespace

#endif
