#include "private_display.h"

#include <csignal>
#include <cstdlib>
#include <string>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

pid_t serverPid = 0;

void stopServer() {
    if (serverPid > 0) {
        kill(serverPid, SIGTERM);
        waitpid(serverPid, nullptr, 0);
        serverPid = 0;
    }
}

}  // namespace

std::string startPrivateXvfb() {
    static std::string display;
    if (!display.empty()) return display;

    int fds[2];
    if (pipe(fds) != 0) return "";
    pid_t pid = fork();
    if (pid < 0) return "";
    if (pid == 0) {
        // The script becomes the server and writes the display's number on
        // its standard output.
        close(fds[0]);
        dup2(fds[1], STDOUT_FILENO);
        close(fds[1]);
        // Through bash by its full name: the PATH may hold only Xvfb.
        execl("/bin/bash", "bash", SHOW_PRIVATE_DISPLAY, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return "";
    }
    serverPid = pid;
    std::atexit(stopServer);
    display = ":" + number;
    setenv("DISPLAY", display.c_str(), 1);
    setenv("MESA_GL_VERSION_OVERRIDE", "4.6", 1);
    setenv("MESA_GLSL_VERSION_OVERRIDE", "460", 1);
    return display;
}
