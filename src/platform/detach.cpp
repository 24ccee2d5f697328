#include "platform/detach.h"

#include <cerrno>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace PLAT {

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> out;
    std::string w;
    for (char c : line) {
        if (c == ' ' || c == '\t') {
            if (!w.empty()) out.push_back(w);
            w.clear();
        } else {
            w += c;
        }
    }
    if (!w.empty()) out.push_back(w);
    return out;
}

std::string startDetached(const std::vector<std::string>& argv, const std::string& dir, const std::string& logFile) {
    if (argv.empty() || argv[0].empty()) return "no program";
    // The grandchild reports a failed chdir or exec through the pipe; a successful exec closes it.
    int pfd[2];
    if (pipe2(pfd, O_CLOEXEC) != 0) return std::strerror(errno);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        const int e = errno;
        close(pfd[0]);
        close(pfd[1]);
        return std::strerror(e);
    }
    if (child == 0) {
        close(pfd[0]);
        setsid();
        const pid_t grand = fork();
        if (grand != 0) _exit(grand < 0 ? 1 : 0);
        auto fail = [&](int stage) {
            int e = errno;
            int msg[2] = {stage, e};
            (void)!write(pfd[1], msg, sizeof msg);
            _exit(127);
        };
        if (chdir(dir.c_str()) != 0) fail(1);
        int in = open("/dev/null", O_RDONLY);
        int out = open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (in < 0 || out < 0) fail(2);
        dup2(in, 0);
        dup2(out, 1);
        dup2(out, 2);
        if (in > 2) close(in);
        if (out > 2) close(out);
        execvp(args[0], args.data());
        fail(3);
    }
    close(pfd[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int msg[2] = {0, 0};
    ssize_t n;
    do n = read(pfd[0], msg, sizeof msg);
    while (n < 0 && errno == EINTR);
    close(pfd[0]);
    if (n == ssize_t(sizeof msg)) {
        const char* what = msg[0] == 1 ? "folder " : msg[0] == 2 ? "log " : "";
        return std::string(what) + std::strerror(msg[1]);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "fork failed";
    return "";
}

std::string Waited::start(const std::vector<std::string>& argv, const std::string& dir, const std::string& logFile) {
    if (pid > 0) stop();
    if (argv.empty() || argv[0].empty()) return "no program";
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 1, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&fa, 1, 2);
    if (!dir.empty()) posix_spawn_file_actions_addchdir_np(&fa, dir.c_str());
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setpgroup(&attr, 0);
    sigset_t def;
    sigemptyset(&def);
    for (int s : {SIGINT, SIGQUIT, SIGPIPE, SIGTERM}) sigaddset(&def, s);
    posix_spawnattr_setsigdefault(&attr, &def);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t child = -1;
    const int rc = posix_spawnp(&child, args[0], &fa, &attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return std::strerror(rc);
    pid = child;
    return "";
}

bool Waited::ended(int& status) {
    if (pid <= 0) return true;
    int st = 0;
    pid_t r;
    do r = waitpid(pid, &st, WNOHANG);
    while (r < 0 && errno == EINTR);
    if (r == 0) return false;
    pid = -1;
    if (r < 0) status = -1;
    else status = WIFEXITED(st) ? WEXITSTATUS(st) : WIFSIGNALED(st) ? 128 + WTERMSIG(st) : -1;
    return true;
}

void Waited::stop() {
    if (pid <= 0) return;
    kill(-pid, SIGTERM);
    int st = 0;
    while (waitpid(pid, &st, 0) < 0 && errno == EINTR) {
    }
    pid = -1;
}

Waited::~Waited() { stop(); }

}  // namespace PLAT
