// signsrv: a stand-in for the fiscal signing server, for the demo and the tests.
//
//   signsrv [switches] FOLDER          serves the exchange folder FOLDER
//   signsrv --settings FILE [switches] serves the folder named on line 1 of a signing settings file
//                                      ("formi_01.txt"), resolved as the program resolves it; ends
//                                      at once with code 3 when that line is empty (signing off)
//   signsrv [--settings FILE] [switches] [FOLDER] --workstation COMMAND [ARGS...]
//                                      runs COMMAND, a workstation, with the folder served for as
//                                      long as any workstation started so on it runs (below)
//
// It takes a request only when both its ".rqt" and ".flg" exist, by removing ".rqt"; it writes the
// reply under a temporary name, renames it to ".rpl" and then removes ".flg". Its counters (total,
// daily, Z) and a journal of every signature are kept in the state folder, so a signature fetched
// again by its total counter ("GETSIGNOLD") is the same. A signature is the SHA-1 of the document
// text, the total counter and the device id, in 40 hexadecimal digits.
//
// Switches:
//   --state DIR          counters and journal (default FOLDER/.signsrv); signed texts in DIR/signed
//   --device ID          the device id (default "KVX00000001")
//   --now "DD/MM/YY HH:MM"  a fixed date and time for the signatures (default: the clock)
//   --count N            ends after answering N requests
//   --log FILE           one line per request
//   --keep DIR           copies every request's files to DIR/<id>/ when taking it
// Failures, each for every request:
//   --never-take         never takes a request
//   --no-answer          takes requests and never answers them
//   --code N [--dev B]   answers "ERROR" with server code N and device bits B
//   --wrong-echo         echoes another record id
//   --wrong-command      answers with another first line
//   --bad-number         writes a non-number where the total counter belongs
//   --slow MS            waits MS milliseconds between taking and answering
//   --crash-after-take   ends (code 9) right after taking a request
//
// One stand-in serves a state folder at a time: while it runs it holds an OS lock on the file
// "signsrv.pid" there, which holds its process id. Another one started on that state folder ends
// at once with code 4 (the message names the one that serves it).
//
// With --workstation the stand-in registers the workstation in the state folder, starts a server
// of the workstations there when none serves it, and runs COMMAND, ending with its exit code
// (signals that end a workstation are passed on to it). With signing off COMMAND runs alone. A
// workstation holds an OS lock on its lease file "workstations/<process id>" for as long as it
// runs; the kernel frees the lock however the process ends. A server of the workstations runs in a
// session of its own (a closed terminal does not end it), writes to the log (or nowhere), and ends
// by itself once no lease is held. Leases are taken, and that server decides to end, only under
// the lock of "workstations.lock", so a workstation registering while the server ends starts a
// server of its own. Set-up failures are logged and the workstation runs without a server.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/oslock.h"

namespace fs = std::filesystem;

namespace {

// ---- SHA-1 -------------------------------------------------------------------------------------
std::string sha1Hex(const std::string& msg) {
    uint32_t h[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    std::string m = msg;
    uint64_t bits = uint64_t(msg.size()) * 8;
    m += char(0x80);
    while (m.size() % 64 != 56) m += char(0);
    for (int i = 7; i >= 0; --i) m += char((bits >> (8 * i)) & 0xFF);
    auto rol = [](uint32_t x, int n) { return (x << n) | (x >> (32 - n)); };
    for (size_t off = 0; off < m.size(); off += 64) {
        uint32_t w[80];
        for (int i = 0; i < 16; ++i)
            w[i] = (uint32_t(uint8_t(m[off + 4 * i])) << 24) | (uint32_t(uint8_t(m[off + 4 * i + 1])) << 16) |
                   (uint32_t(uint8_t(m[off + 4 * i + 2])) << 8) | uint32_t(uint8_t(m[off + 4 * i + 3]));
        for (int i = 16; i < 80; ++i) w[i] = rol(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
        for (int i = 0; i < 80; ++i) {
            uint32_t f, k;
            if (i < 20) f = (b & c) | (~b & d), k = 0x5A827999;
            else if (i < 40) f = b ^ c ^ d, k = 0x6ED9EBA1;
            else if (i < 60) f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
            else f = b ^ c ^ d, k = 0xCA62C1D6;
            uint32_t t = rol(a, 5) + f + e + k + w[i];
            e = d, d = c, c = rol(b, 30), b = a, a = t;
        }
        h[0] += a, h[1] += b, h[2] += c, h[3] += d, h[4] += e;
    }
    char out[41];
    for (int i = 0; i < 5; ++i) std::snprintf(out + 8 * i, 9, "%08X", h[i]);
    return std::string(out, 40);
}

// ---- Files -------------------------------------------------------------------------------------
std::optional<std::string> readFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    if (!f) return std::nullopt;
    std::ostringstream ss;
    ss << f.rdbuf();
    if (f.bad()) return std::nullopt;
    return ss.str();
}

// Written under a temporary name, flushed and renamed.
bool writeAtomic(const fs::path& p, const std::string& bytes, const std::string& tmpSuffix = ".tmp") {
    fs::path tmp = p;
    tmp += tmpSuffix;
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return false;
    bool ok = ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size()) && fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tmp.c_str(), p.c_str()) == 0;
    if (!ok) ::unlink(tmp.c_str());
    return ok;
}

std::vector<std::string> splitLines(const std::string& s) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < s.size()) {
        size_t j = s.find('\n', i);
        size_t e = j == std::string::npos ? s.size() : j;
        std::string l = s.substr(i, e - i);
        if (!l.empty() && l.back() == '\r') l.pop_back();
        out.push_back(l);
        if (j == std::string::npos) break;
        i = j + 1;
    }
    return out;
}

bool isNumber(const std::string& s) {
    size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
    if (b == std::string::npos) return false;
    size_t i = b;
    if (s[i] == '-' || s[i] == '+') ++i;
    if (i > e) return false;
    for (; i <= e; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return e - b < 10;
}

bool validDate(const std::string& d) {
    if (d.size() != 8 || d[2] != '/' || d[5] != '/') return false;
    for (int i : {0, 1, 3, 4, 6, 7})
        if (d[size_t(i)] < '0' || d[size_t(i)] > '9') return false;
    int day = std::stoi(d.substr(0, 2)), mon = std::stoi(d.substr(3, 2));
    return day >= 1 && day <= 31 && mon >= 1 && mon <= 12;
}

void logLine(const fs::path& log, const std::string& s) {
    if (log.empty()) return;
    std::ofstream f(log, std::ios::app);
    f << s << "\n";
}

// ---- Workstations ------------------------------------------------------------------------------
fs::path leaseFolder(const fs::path& state) { return state / "workstations"; }

// The registration lock of a state folder, held while the object lives.
class Registration {
public:
    explicit Registration(const fs::path& state) {
        fs::create_directories(leaseFolder(state));
        const fs::path f = state / "workstations.lock";
        fd = open(f.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) throw std::runtime_error("cannot open " + f.string() + ": " + std::strerror(errno));
        PLAT::lockFd(fd);
    }
    ~Registration() {
        if (fd < 0) return;
        PLAT::unlockFd(fd);
        close(fd);
    }
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;
    // In a forked child: its copy of the descriptor closed, the lock left to the parent.
    void forget() {
        close(fd);
        fd = -1;
    }

private:
    int fd;
};

// Under the registration lock: true when a workstation holds its lease. The leases of the ones
// that ended are removed.
bool workstationRuns(const fs::path& state) {
    bool any = false;
    std::error_code ec;
    for (fs::directory_iterator it(leaseFolder(state), ec), end; !ec && it != end; it.increment(ec)) {
        const int fd = open(it->path().c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) continue;
        if (PLAT::tryLockFd(fd)) {
            std::error_code gone;
            fs::remove(it->path(), gone);
            PLAT::unlockFd(fd);
        } else {
            any = true;
        }
        close(fd);
    }
    return any;
}

// Under the registration lock: this process's lease, held through the returned descriptor.
int takeLease(const fs::path& state, const std::string& what) {
    const fs::path f = leaseFolder(state) / std::to_string(getpid());
    const int fd = open(f.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) throw std::runtime_error("cannot open " + f.string() + ": " + std::strerror(errno));
    if (!PLAT::tryLockFd(fd)) {
        close(fd);
        throw std::runtime_error(f.string() + " is held by another process");
    }
    if (ftruncate(fd, 0) != 0 || pwrite(fd, what.data(), what.size(), 0) != ssize_t(what.size())) {
        const int e = errno;
        close(fd);
        throw std::runtime_error("cannot write " + f.string() + ": " + std::strerror(e));
    }
    return fd;
}

// The workstation COMMAND run as a child; its exit code (128 + the signal that ended it). The
// signals that end a workstation are passed on to it, and it is waited for.
volatile pid_t workstation = -1;

void passOn(int sig) {
    if (workstation > 0) kill(workstation, sig);
}

int runWorkstation(const std::vector<char*>& command) {
    sigset_t ending, before;
    sigemptyset(&ending);
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) sigaddset(&ending, sig);
    sigprocmask(SIG_BLOCK, &ending, &before);
    const pid_t child = fork();
    if (child == 0) {
        sigprocmask(SIG_SETMASK, &before, nullptr);
        execvp(command[0], command.data());
        std::cerr << "signsrv: cannot start " << command[0] << ": " << std::strerror(errno) << "\n";
        _exit(127);
    }
    if (child < 0) {
        std::cerr << "signsrv: cannot start " << command[0] << ": " << std::strerror(errno) << "\n";
        return 127;
    }
    workstation = child;
    struct sigaction sa {};
    sa.sa_handler = passOn;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) sigaction(sig, &sa, nullptr);
    sigprocmask(SIG_SETMASK, &before, nullptr);
    int st = 0;
    while (waitpid(child, &st, 0) < 0)
        if (errno != EINTR) return 1;
    return WIFEXITED(st) ? WEXITSTATUS(st) : WIFSIGNALED(st) ? 128 + WTERMSIG(st) : 1;
}

// ---- The server --------------------------------------------------------------------------------
struct Options {
    fs::path folder, state, keep, log;
    std::string device = "KVX00000001";
    std::string now;  // "DD/MM/YY HH:MM"
    long count = -1;
    bool neverTake = false, noAnswer = false, wrongEcho = false, wrongCommand = false, badNumber = false,
         crashAfterTake = false;
    long code = 0, dev = 0, slowMs = 0;
    int workstationsLock = -1;  // a server of the workstations: the lock of "signsrv.pid"
};

struct Counters {
    long total = 0, day = 0, z = 0, seq = 0;
    std::string lastDate;
};

struct Signature {
    long total = 0, day = 0, z = 0;
    std::string date, time, sig, device;
};

class Server {
public:
    explicit Server(Options o) : opt(std::move(o)) {
        fs::create_directories(opt.state / "signed");
        load();
    }

    void run() {
        long answered = 0;
        for (long round = 1;; ++round) {
            if (opt.workstationsLock >= 0 && round % 10 == 0 && !workstationsLeft()) return;
            std::vector<std::string> ids;
            if (DIR* d = opendir(opt.folder.c_str())) {
                while (dirent* e = readdir(d)) {
                    std::string n = e->d_name;
                    if (n.size() > 4 && n.compare(n.size() - 4, 4, ".rqt") == 0) ids.push_back(n.substr(0, n.size() - 4));
                }
                closedir(d);
            }
            std::sort(ids.begin(), ids.end());
            for (const auto& id : ids) {
                if (opt.neverTake) continue;
                if (!fs::exists(opt.folder / (id + ".flg"))) continue;
                if (handle(id)) ++answered;
                if (opt.count >= 0 && answered >= opt.count) return;
            }
            usleep(20 * 1000);
        }
    }

private:
    Options opt;
    Counters c;
    std::map<long, Signature> journal;

    fs::path stateFile() const { return opt.state / "counters.txt"; }
    fs::path journalFile() const { return opt.state / "journal.txt"; }

    void load() {
        if (auto s = readFile(stateFile())) {
            auto l = splitLines(*s);
            if (l.size() >= 5) {
                c.total = std::stol(l[0]);
                c.day = std::stol(l[1]);
                c.z = std::stol(l[2]);
                c.seq = std::stol(l[3]);
                c.lastDate = l[4];
            }
        }
        if (auto s = readFile(journalFile()))
            for (const auto& line : splitLines(*s)) {
                std::vector<std::string> f;
                std::stringstream ss(line);
                for (std::string x; std::getline(ss, x, '\t');) f.push_back(x);
                if (f.size() < 7) continue;
                Signature g{std::stol(f[0]), std::stol(f[1]), std::stol(f[2]), f[3], f[4], f[5], f[6]};
                journal[g.total] = g;
            }
    }

    bool saveCounters() {
        return writeAtomic(stateFile(), std::to_string(c.total) + "\n" + std::to_string(c.day) + "\n" +
                                            std::to_string(c.z) + "\n" + std::to_string(c.seq) + "\n" + c.lastDate +
                                            "\n");
    }

    bool appendJournal(const Signature& g, const std::string& id) {
        std::string line = std::to_string(g.total) + "\t" + std::to_string(g.day) + "\t" + std::to_string(g.z) + "\t" +
                           g.date + "\t" + g.time + "\t" + g.sig + "\t" + g.device + "\t" + id + "\n";
        int fd = ::open(journalFile().c_str(), O_WRONLY | O_CREAT | O_APPEND, 0666);
        if (fd < 0) return false;
        bool ok = ::write(fd, line.data(), line.size()) == ssize_t(line.size()) && fsync(fd) == 0;
        return (::close(fd) == 0) && ok;
    }

    void log(const std::string& s) { logLine(opt.log, s); }

    // True while a workstation runs. Otherwise the folder is given free before the registration
    // lock, so that a workstation registering next starts a server of its own.
    bool workstationsLeft() {
        const Registration reg(opt.state);
        if (workstationRuns(opt.state)) return true;
        log("no workstation runs: the server ends");
        PLAT::unlockFd(opt.workstationsLock);
        close(opt.workstationsLock);
        opt.workstationsLock = -1;
        return false;
    }

    void nowText(std::string& date, std::string& time) {
        if (opt.now.size() >= 14) {
            date = opt.now.substr(0, 8);
            time = opt.now.substr(9, 5);
            return;
        }
        std::time_t t = std::time(nullptr);
        std::tm tm{};
        localtime_r(&t, &tm);
        char d[32], h[32];
        std::snprintf(d, sizeof d, "%02d/%02d/%02d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year % 100);
        std::snprintf(h, sizeof h, "%02d:%02d", tm.tm_hour, tm.tm_min);
        date = d;
        time = h;
    }

    // Takes request id and answers it; false when it was not answered.
    bool handle(const std::string& id) {
        const fs::path rqt = opt.folder / (id + ".rqt");
        auto text = readFile(rqt);
        if (!opt.keep.empty()) {
            fs::create_directories(opt.keep / id);
            for (const char* ext : {".txt", ".pqt", ".rqt", ".flg"}) {
                std::error_code ec;
                fs::copy_file(opt.folder / (id + ext), opt.keep / id / (id + ext), fs::copy_options::overwrite_existing, ec);
            }
        }
        std::error_code ec;
        if (!fs::remove(rqt, ec)) return false;  // taken meanwhile by someone else
        log("take " + id);
        if (opt.crashAfterTake) _exit(9);
        if (opt.noAnswer) return false;
        if (opt.slowMs > 0) usleep(useconds_t(opt.slowMs) * 1000);

        std::vector<std::string> req = text ? splitLines(*text) : std::vector<std::string>{};
        auto line = [&](size_t n) { return n <= req.size() ? req[n - 1] : std::string(); };
        const std::string cmd = line(1);
        std::vector<std::string> reply = {cmd, line(2), line(3), line(4)};
        ++c.seq;
        long code = 0;
        Signature g;
        if (opt.code != 0) {
            code = opt.code;
        } else if (!text) {
            code = 1;
        } else if (cmd != "GETSIGN" && cmd != "GETSIGNOLD") {
            code = 4;
        } else if (!isNumber(line(2)) || !isNumber(line(3)) || !isNumber(line(4))) {
            code = 2;
        } else if (cmd == "GETSIGN") {
            code = sign(id, req, g);
        } else {
            if (!isNumber(line(5))) {
                code = 2;
            } else {
                auto it = journal.find(std::stol(line(5)));
                if (it == journal.end())
                    code = 11;
                else
                    g = it->second;
            }
        }
        if (opt.wrongEcho) reply[3] = std::to_string(std::atol(line(4).c_str()) + 1);
        if (opt.wrongCommand) reply[0] = cmd == "GETSIGN" ? "GETSIGNOLD" : "GETSIGN";
        reply.push_back(code == 0 ? "OK" : "ERROR");
        reply.push_back(std::to_string(c.seq));
        reply.push_back(std::to_string(code));
        reply.push_back(std::to_string(code == 0 ? 0 : opt.dev));
        if (code == 0) {
            reply.push_back(g.device);
            reply.push_back(g.date);
            reply.push_back(g.time);
            reply.push_back(std::to_string(g.day));
            reply.push_back(opt.badNumber ? std::to_string(g.total) + "A" : std::to_string(g.total));
            reply.push_back(std::to_string(g.z));
            reply.push_back(g.sig);
        }
        saveCounters();
        std::string bytes;
        for (const auto& l : reply) bytes += l + "\r\n";
        if (!writeAtomic(opt.folder / (id + ".rpl"), bytes, ".tmp")) {
            log("cannot write the reply of " + id);
            return false;
        }
        fs::remove(opt.folder / (id + ".flg"), ec);
        log("answer " + id + " " + cmd + " code " + std::to_string(code) + (code == 0 ? " total " + std::to_string(g.total) : ""));
        return true;
    }

    long sign(const std::string& id, const std::vector<std::string>& req, Signature& g) {
        if (req.size() < 9 || !isNumber(req[8])) return 2;
        if (!validDate(req[5])) return 13;
        const fs::path doc = opt.folder / req[4];
        if (req[4].find('/') != std::string::npos || !fs::exists(doc)) return 6;
        auto text = readFile(doc);
        if (!text) return 7;
        std::string date, time;
        nowText(date, time);
        if (date != c.lastDate) {
            if (!c.lastDate.empty()) ++c.z;  // the day's closure
            c.day = 0;
            c.lastDate = date;
        }
        ++c.total;
        ++c.day;
        g.total = c.total;
        g.day = c.day;
        g.z = c.z;
        g.date = date;
        g.time = time;
        g.device = opt.device;
        g.sig = sha1Hex(*text + "\n" + std::to_string(g.total) + "\n" + g.device);
        if (!writeAtomic(opt.state / "signed" / (std::to_string(g.total) + ".txt"), *text)) return 8;
        if (!saveCounters() || !appendJournal(g, id)) return 10;
        journal[g.total] = g;
        std::error_code ec;
        fs::remove(doc, ec);
        return 0;
    }
};

// Takes the lock of the state folder's "signsrv.pid" for as long as this process (or a child it
// forks) holds the descriptor. -1 when another stand-in holds it; HOLDER then names that one ("" or
// " (process N)").
int claimState(const fs::path& state, std::string& holder) {
    fs::create_directories(state);
    const fs::path f = state / "signsrv.pid";
    int fd = open(f.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) throw std::runtime_error("cannot open " + f.string() + ": " + std::strerror(errno));
    if (!PLAT::tryLockFd(fd)) {
        char buf[32] = {};
        ssize_t n = pread(fd, buf, sizeof buf - 1, 0);
        std::string pid(buf, size_t(std::max<ssize_t>(n, 0)));
        while (!pid.empty() && (pid.back() == '\n' || pid.back() == '\r')) pid.pop_back();
        holder = pid.empty() ? std::string() : " (process " + pid + ")";
        close(fd);
        return -1;
    }
    // The id of a stand-in that ended is cleared at once: until the new one writes its own, the
    // file names nobody rather than a process that is gone.
    if (ftruncate(fd, 0) != 0) {
        const int e = errno;
        close(fd);
        throw std::runtime_error("cannot write " + f.string() + ": " + std::strerror(e));
    }
    return fd;
}

void writePid(int fd, pid_t who) {
    const std::string pid = std::to_string(who) + "\n";
    if (ftruncate(fd, 0) != 0 || pwrite(fd, pid.data(), pid.size(), 0) != ssize_t(pid.size()))
        throw std::runtime_error(std::string("cannot write signsrv.pid: ") + std::strerror(errno));
}

// Line 1 of a settings file resolved as the program resolves it; "" when empty or missing.
std::string settingsFolder(const std::string& file) {
    auto lines = PLAT::readLines(file);
    if (!lines || lines->empty()) return "";
    std::string f = (*lines)[0];
    while (!f.empty() && (f.back() == ' ' || f.back() == '\\' || f.back() == '/')) f.pop_back();
    if (f.empty()) return "";
    return PLAT::resolve(f);
}

// Forks the server of the workstations, which takes over LOCK: true in the server's process, false
// in the caller's, which keeps no copy of LOCK. The server runs in a session of its own, outside
// the workstation's terminal, and as no child of the workstation's process.
bool forkServer(int lock, int lease, Registration& reg, Options& o) {
    const pid_t mid = fork();
    if (mid < 0) {
        close(lock);
        throw std::runtime_error(std::string("cannot start the server: ") + std::strerror(errno));
    }
    if (mid == 0) {
        setsid();
        const pid_t srv = fork();
        if (srv != 0) _exit(srv < 0 ? 1 : 0);
        close(lease);  // the lease stays the workstation's
        reg.forget();
        int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
        int out = open("/dev/null", O_WRONLY | O_CLOEXEC);
        int err = o.log.empty() ? -1 : open(o.log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (in >= 0) dup2(in, STDIN_FILENO);
        if (out >= 0) dup2(out, STDOUT_FILENO);
        dup2(err >= 0 ? err : out, STDERR_FILENO);
        for (int fd : {in, out, err})
            if (fd > STDERR_FILENO) close(fd);
        o.workstationsLock = lock;
        return true;
    }
    close(lock);
    int st = 0;
    while (waitpid(mid, &st, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(st) || WEXITSTATUS(st) != 0) throw std::runtime_error("cannot start the server");
    return false;
}

// Serves with the lock of the state folder taken.
int serve(int lock, const Options& o) {
    signal(SIGPIPE, SIG_IGN);
    try {
        writePid(lock, getpid());
        Server(o).run();
    } catch (const std::exception& e) {
        std::cerr << "signsrv: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

// The folder served: the settings file's when one is named ("" when signing is off there).
fs::path servedFolder(const Options& o, const std::string& settings) {
    return settings.empty() ? o.folder : fs::path(settingsFolder(settings));
}

int asWorkstation(Options o, const std::string& settings, std::vector<char*> command) {
    command.push_back(nullptr);
    bool server = false;
    int lock = -1;
    try {
        o.folder = servedFolder(o, settings);
        if (o.folder.empty()) return runWorkstation(command);  // signing is off
        fs::create_directories(o.folder);
        if (o.state.empty()) o.state = o.folder / ".signsrv";
        const std::string me = "workstation " + std::to_string(getpid());
        Registration reg(o.state);
        const int lease = takeLease(o.state, std::string(command[0]) + "\n");
        std::string holder;
        lock = claimState(o.state, holder);
        if (lock < 0) {
            logLine(o.log, me + ": the server" + holder + " serves " + o.folder.string());
        } else {
            server = forkServer(lock, lease, reg, o);
            if (!server) logLine(o.log, me + ": started the server of " + o.folder.string());
        }
    } catch (const std::exception& e) {
        const std::string why = std::string("signsrv: ") + e.what() + "; the workstation runs without the server";
        logLine(o.log, why);
        std::cerr << why << "\n";
    }
    if (server) {
        logLine(o.log, "serves " + o.folder.string() + " (process " + std::to_string(getpid()) +
                           ") while a workstation runs");
        return serve(lock, o);
    }
    return runWorkstation(command);
}

int usage() {
    std::cerr << "usage: signsrv [switches] FOLDER | signsrv --settings FILE [switches] | "
                 "signsrv [--settings FILE] [switches] [FOLDER] --workstation COMMAND [ARGS...]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    std::string settings;
    std::vector<char*> workstation;
    bool asWs = false;
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        for (size_t i = 0; i < args.size(); ++i) {
            const std::string& a = args[i];
            auto next = [&]() -> std::string {
                if (i + 1 >= args.size()) throw std::runtime_error("missing value after " + a);
                return args[++i];
            };
            if (a == "--workstation") {
                asWs = true;
                workstation.assign(argv + i + 2, argv + argc);
                break;
            }
            if (a == "--settings") settings = next();
            else if (a == "--state") o.state = next();
            else if (a == "--device") o.device = next();
            else if (a == "--now") o.now = next();
            else if (a == "--count") o.count = std::stol(next());
            else if (a == "--log") o.log = next();
            else if (a == "--keep") o.keep = next();
            else if (a == "--never-take") o.neverTake = true;
            else if (a == "--no-answer") o.noAnswer = true;
            else if (a == "--code") o.code = std::stol(next());
            else if (a == "--dev") o.dev = std::stol(next());
            else if (a == "--wrong-echo") o.wrongEcho = true;
            else if (a == "--wrong-command") o.wrongCommand = true;
            else if (a == "--bad-number") o.badNumber = true;
            else if (a == "--slow") o.slowMs = std::stol(next());
            else if (a == "--crash-after-take") o.crashAfterTake = true;
            else if (!a.empty() && a[0] == '-') return usage();
            else o.folder = a;
        }
        if (asWs) return workstation.empty() ? usage() : asWorkstation(o, settings, workstation);
        if (!settings.empty()) {
            o.folder = servedFolder(o, settings);
            if (o.folder.empty()) {
                std::cerr << "signsrv: signing is off (no folder in " << settings << ")\n";
                return 3;
            }
        }
        if (o.folder.empty()) return usage();
        fs::create_directories(o.folder);
        if (o.state.empty()) o.state = o.folder / ".signsrv";
        std::string holder;
        const int lock = claimState(o.state, holder);  // held, through its open file, until the server ends
        if (lock < 0) {
            std::cerr << "signsrv: " << o.state.string() << " is served already" << holder << "\n";
            return 4;
        }
        return serve(lock, o);
    } catch (const std::exception& e) {
        std::cerr << "signsrv: " << e.what() << "\n";
        return 1;
    }
}
