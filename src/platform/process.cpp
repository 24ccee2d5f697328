// Child processes (posix_spawn of /bin/sh, waited for) and the printer-port outputs.
#include "platform/process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "platform/fatal.h"
#include "platform/files.h"

extern char** environ;

namespace PLAT {

namespace {

constexpr const char* SHELL = "/bin/sh";

// Spawns /bin/sh with args; stdinFd (or /dev/null when -1) as input; output to logFile, or
// inherited when logFile is empty. Waits for the child. With interactive set the child owns the
// terminal meanwhile: Ctrl-C and Ctrl-\ are its business, and this program ignores them until the
// child has ended (the child gets the default handling back).
RunResult spawnWait(const std::vector<std::string>& args, int stdinFd, const std::string& logFile,
                    bool interactive = false) {
    RunResult r;
    struct sigaction ign {}, oldInt {}, oldQuit {};
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    if (interactive) {
        ign.sa_handler = SIG_IGN;
        sigemptyset(&ign.sa_mask);
        sigaction(SIGINT, &ign, &oldInt);
        sigaction(SIGQUIT, &ign, &oldQuit);
        sigset_t def;
        sigemptyset(&def);
        sigaddset(&def, SIGINT);
        sigaddset(&def, SIGQUIT);
        posix_spawnattr_setsigdefault(&attr, &def);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);
    }
    struct Restore {
        bool on;
        struct sigaction *i, *q;
        posix_spawnattr_t* a;
        ~Restore() {
            posix_spawnattr_destroy(a);
            if (!on) return;
            sigaction(SIGINT, i, nullptr);
            sigaction(SIGQUIT, q, nullptr);
        }
    } restore{interactive, &oldInt, &oldQuit, &attr};
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    std::string log;
    if (stdinFd >= 0)
        posix_spawn_file_actions_adddup2(&fa, stdinFd, 0);
    else if (!logFile.empty())
        posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    if (!logFile.empty()) {
        log = resolve(logFile);
        posix_spawn_file_actions_addopen(&fa, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0666);
        posix_spawn_file_actions_adddup2(&fa, 1, 2);
    }
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    int rc = posix_spawn(&pid, SHELL, &fa, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) return r;  // not started
    r.started = true;
    int st = 0;
    for (;;) {
        if (waitpid(pid, &st, 0) >= 0) break;
        if (errno != EINTR) fatal("wait for", args.size() > 1 ? args[1] : SHELL);
    }
    if (WIFEXITED(st))
        r.status = WEXITSTATUS(st);
    else if (WIFSIGNALED(st))
        r.status = 128 + WTERMSIG(st);
    return r;
}

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return "";
    size_t b = s.find_last_not_of(" \t\r\n");
    return s.substr(a, b - a + 1);
}

void writeAll(int fd, const char* p, size_t n, const std::string& name) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            fatal("write", name);
        }
        p += w;
        n -= size_t(w);
    }
}

// Opens a path for writing: a regular file is emptied (O_TRUNC) or written on at its end
// (O_APPEND); a device takes the bytes either way. Fatal on failure.
int openOut(const std::string& path, int how = O_TRUNC) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | how | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) fatal("open", path);
    return fd;
}

// Opens the file that stands for a printer port: every printout is added at its end, so that the
// copies of one print and the prints of a day all stay in it.
int openPortFile(const std::string& path) { return openOut(path, O_APPEND); }

// The file of a port without a line in "PORTS.TXT", under the port's own spelling whatever the case
// it was named in, so that "lpt1" and "LPT1" write the same file.
std::string defaultPortFile(const std::string& portName) {
    for (const char* p : {"LPT1", "LPT2", "LPT3", "com1", "com2", "PRN"})
        if (strcasecmp(p, portName.c_str()) == 0) return std::string("drives\\ports\\") + p;
    return "drives\\ports\\" + portName;
}

// The folder part of a DOS-style name is created when missing.
void makeParent(const std::string& dosPath) {
    std::string s = dosPath;
    for (auto& c : s)
        if (c == '\\') c = '/';
    size_t k = s.rfind('/');
    if (k == std::string::npos || k == 0) return;
    makeDirs(s.substr(0, k));
}

}  // namespace

RunResult runScript(const std::string& script, const std::string& logFile) {
    if (!fileExists(script) || isDirectory(script)) return RunResult{};
    return spawnWait({"sh", resolve(script)}, -1, logFile);
}

RunResult runScript(const std::string& script, const std::string& logFile, const std::vector<std::string>& args) {
    if (!fileExists(script) || isDirectory(script)) return RunResult{};
    std::vector<std::string> argv = {"sh", resolve(script)};
    argv.insert(argv.end(), args.begin(), args.end());
    return spawnWait(argv, -1, logFile);
}

RunResult runCommand(const std::string& command, const std::string& input, const std::string& logFile) {
    // The input goes through an unlinked temporary file: the command may read all of it, some of it
    // or nothing without anyone waiting on a pipe.
    const char* tmpdir = std::getenv("TMPDIR");
    std::string tmpl = std::string(tmpdir && *tmpdir ? tmpdir : "/tmp") + "/korvex-port-XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) fatal("create", tmpl);
    unlink(name.data());
    writeAll(fd, input.data(), input.size(), name.data());
    if (lseek(fd, 0, SEEK_SET) != 0) {
        ::close(fd);
        fatal("seek", name.data());
    }
    RunResult r = spawnWait({"sh", "-c", command}, fd, logFile);
    ::close(fd);
    return r;
}

RunResult runViewer(const std::string& file) {
    const char* v = std::getenv("KORVEX_VIEWER");
    std::string viewer = v && *v ? v : "less";
    RunResult r = spawnWait({"sh", "-c", viewer + " \"$1\"", "sh", resolve(file)}, -1, "", true);
    if (r.started && (r.status == 126 || r.status == 127)) r.started = false;  // not found / not runnable
    return r;
}

std::string portMapping(const std::string& portName) {
    auto lines = readLines("PORTS.TXT");
    if (!lines) return "";
    for (const auto& raw : *lines) {
        std::string l = trim(raw);
        if (l.empty() || l[0] == '#') continue;
        size_t sp = l.find_first_of(" \t");
        std::string name = l.substr(0, sp);
        if (strcasecmp(name.c_str(), portName.c_str()) != 0) continue;
        return sp == std::string::npos ? "" : trim(l.substr(sp));
    }
    return "";
}

PortOut::~PortOut() {
    if (fd >= 0) ::close(fd);
}

std::unique_ptr<PortOut> PortOut::port(const std::string& portName) {
    std::string map = portMapping(portName);
    if (!map.empty() && map[0] == '|') {
        std::unique_ptr<PortOut> o(new PortOut);
        o->isCommand = true;
        o->portName = portName;
        o->command = trim(map.substr(1));
        o->where = "|" + o->command;
        o->open = true;
        return o;
    }
    std::unique_ptr<PortOut> o(new PortOut);
    if (map.empty()) {
        const std::string dflt = defaultPortFile(portName);
        makeParent(dflt);
        o->where = resolve(dflt);
    } else {
        if (map[0] != '/') makeParent(map);
        o->where = map[0] == '/' ? map : resolve(map);
    }
    o->fd = openPortFile(o->where);
    o->open = true;
    return o;
}

std::unique_ptr<PortOut> PortOut::file(const std::string& dosPath) {
    makeParent(dosPath);
    std::unique_ptr<PortOut> o(new PortOut);
    o->where = resolve(dosPath);
    o->fd = openOut(o->where);
    o->open = true;
    return o;
}

void PortOut::write(const char* p, size_t n) {
    if (!open) fatal("write", where.empty() ? std::string("closed printer output") : where);
    if (isCommand) {
        held.append(p, n);
        return;
    }
    writeAll(fd, p, n, where);
}

bool PortOut::close(std::string& why) {
    why.clear();
    if (!open) return true;
    open = false;
    if (!isCommand) {
        int rc = ::close(fd);
        fd = -1;
        if (rc != 0 && errno != EINTR) fatal("close", where);
        return true;
    }
    RunResult r = runCommand(command, held, PRINT_LOG);
    if (r.ok()) {
        held.clear();
        return true;
    }
    // The printout must not vanish: keep it where an unmapped port would have written it.
    std::string keep = defaultPortFile(portName);
    makeParent(keep);
    std::string path = resolve(keep);
    int kfd = openPortFile(path);
    writeAll(kfd, held.data(), held.size(), path);
    ::close(kfd);
    held.clear();
    // shown to the clerk (UTF-8): "exit n" / "did not start"
    why = r.started ? "έξοδος " + std::to_string(r.status) : "δεν ξεκίνησε";
    return false;
}

}  // namespace PLAT
