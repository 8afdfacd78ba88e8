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

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
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

// Points C's stream (and C++'s, which writes through it) at the console
// device: "CONIN$" or "CONOUT$". In a windowed program the streams start with
// no file descriptor, and Wine's msvcrt (the C runtime this build uses) will
// not freopen such a stream. So the console is opened here, given the
// stream's own descriptor (0, 1 or 2) and the stream pointed at that
// descriptor, which serves whichever msvcrt runs the show. The newer runtime
// (UCRT) hides the stream's fields; there freopen is the way.
void reopen(FILE* stream, int descriptor, const char* device, DWORD which) {
#ifdef _UCRT
    std::freopen(device, descriptor == 0 ? "r" : "w", stream);
    (void)which;
#else
    HANDLE console = CreateFileA(device, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE) return;
    const int opened = _open_osfhandle(reinterpret_cast<std::intptr_t>(console),
                                       _O_TEXT | (descriptor == 0 ? _O_RDONLY : _O_WRONLY));
    if (opened < 0) {
        CloseHandle(console);
        return;
    }
    if (opened != descriptor) {
        const bool moved = _dup2(opened, descriptor) == 0;
        _close(opened);
        if (!moved) return;
    }
    stream->_file = descriptor;
    SetStdHandle(which, reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)));
#endif
}

void useParentConsole() {
    const bool in = redirected(STD_INPUT_HANDLE);
    const bool out = redirected(STD_OUTPUT_HANDLE);
    const bool err = redirected(STD_ERROR_HANDLE);
    if (out && err) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;  // none: a double-click
    // C++'s streams write through C's (they are synchronised with stdio), so
    // re-opening C's streams serves std::cout and std::cerr too.
    if (!in) reopen(stdin, 0, "CONIN$", STD_INPUT_HANDLE);
    if (!out) reopen(stdout, 1, "CONOUT$", STD_OUTPUT_HANDLE);
    if (!err) reopen(stderr, 2, "CONOUT$", STD_ERROR_HANDLE);
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
