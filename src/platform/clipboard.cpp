// Reading the system clipboard through wl-paste or xclip, run as a child process without a shell.
#include "platform/clipboard.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace PLAT {

namespace {

std::function<std::optional<std::string>()>& testReader() {
    static std::function<std::optional<std::string>()> r;
    return r;
}

constexpr size_t MAX_BYTES = 64 * 1024;  // far more than a field paste can use
constexpr int TIMEOUT_MS = 2000;

bool envSet(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
}

enum class Run { OK, NO_TOOL, FAILED };

// Runs argv with standard input and error on /dev/null and collects its standard output.
Run runTool(const std::vector<const char*>& argv, std::string& out) {
    int pipefd[2];
    if (pipe2(pipefd, O_CLOEXEC) != 0) return Run::FAILED;

    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&fa, pipefd[1], 1);

    pid_t pid = 0;
    std::vector<char*> args;
    for (const char* a : argv) args.push_back(const_cast<char*>(a));
    args.push_back(nullptr);
    int rc = posix_spawnp(&pid, args[0], &fa, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    close(pipefd[1]);
    if (rc != 0) {
        close(pipefd[0]);
        return Run::NO_TOOL;
    }

    bool killed = false;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TIMEOUT_MS);
    char buf[4096];
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(pid, SIGKILL);
            killed = true;
            break;
        }
        pollfd p{pipefd[0], POLLIN, 0};
        int pr = poll(&p, 1, int(left.count()));
        if (pr < 0 && errno == EINTR) continue;
        if (pr <= 0) continue;
        ssize_t n = read(pipefd[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        out.append(buf, size_t(n));
        if (out.size() >= MAX_BYTES) {
            out.resize(MAX_BYTES);
            kill(pid, SIGKILL);
            killed = true;
            break;
        }
    }
    close(pipefd[0]);

    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (killed) return out.empty() ? Run::FAILED : Run::OK;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) return Run::NO_TOOL;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return Run::FAILED;
    return Run::OK;
}

}  // namespace

void setClipboardReader(std::function<std::optional<std::string>()> reader) { testReader() = std::move(reader); }

std::optional<std::string> readClipboard() {
    if (testReader()) return testReader()();

    std::string out;
    Run r = Run::NO_TOOL;
    if (envSet("WAYLAND_DISPLAY")) r = runTool({"wl-paste", "--no-newline"}, out);
    // Without wl-paste an X server of the session (XWayland included) is asked through xclip.
    if (r == Run::NO_TOOL && envSet("DISPLAY")) {
        out.clear();
        r = runTool({"xclip", "-o", "-selection", "clipboard"}, out);
    }
    if (r != Run::OK || out.empty()) return std::nullopt;
    return out;
}

}  // namespace PLAT
