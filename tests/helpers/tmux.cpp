#include "helpers/tmux.h"

#include <glob.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <fstream>
#include <sstream>
#include <thread>

namespace TESTS {

namespace {

// Polls COND every 50 ms until it holds; false after timeoutMs.
bool pollUntil(const std::function<bool()>& cond, int timeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        if (cond()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

std::string quote(const std::string& s) {
    std::string r = "'";
    for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

std::string run(const std::string& cmd) {
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return out;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
    pclose(p);
    return out;
}

}  // namespace

bool haveTmux() { return system("command -v tmux >/dev/null 2>&1") == 0; }

std::string fixedClockEnv(const std::string& when) {
    glob_t found{};
    std::string lib;
    for (const char* pattern : {"/usr/lib/*/faketime/libfaketime.so.1", "/usr/lib/faketime/libfaketime.so.1",
                                "/usr/local/lib/faketime/libfaketime.so.1"}) {
        if (glob(pattern, 0, nullptr, &found) == 0 && found.gl_pathc > 0) lib = found.gl_pathv[0];
        globfree(&found);
        if (!lib.empty()) break;
    }
    if (lib.empty()) return "";
    return "ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=" + lib + " FAKETIME=" + quote("@" + when) + " ";
}

Tmux::Tmux(const std::string& d, const std::string& cmd) : dir(d) {
    session = "korvex-test-" + std::to_string(getpid()) + "-" + std::to_string(rand());
    std::string inner = "cd " + quote(dir) + " && " + cmd + "; echo $? > .exitcode; sleep 30";
    run("tmux -L " + session + " -f /dev/null new-session -d -s " + session + " -x 80 -y 25 " +
        quote("TERM=xterm-256color sh -c " + quote(inner)));
}

Tmux::~Tmux() { run("tmux -L " + session + " kill-server 2>/dev/null"); }

void Tmux::keys(const std::string& k) { run("tmux -L " + session + " send-keys -t " + session + " " + k); }

void Tmux::text(const std::string& literal) {
    run("tmux -L " + session + " send-keys -t " + session + " -l " + quote(literal));
}

std::string Tmux::screen() const { return run("tmux -L " + session + " capture-pane -p -t " + session); }

std::string Tmux::format(const std::string& fmt) const {
    std::string r = run("tmux -L " + session + " display -p -t " + session + " " + quote(fmt));
    while (!r.empty() && (r.back() == '\n' || r.back() == '\r')) r.pop_back();
    return r;
}

bool Tmux::waitFor(const std::string& needle, int timeoutMs) const {
    return pollUntil([&] { return screen().find(needle) != std::string::npos; }, timeoutMs);
}

bool Tmux::waitGone(const std::string& needle, int timeoutMs) const {
    return pollUntil([&] { return screen().find(needle) == std::string::npos; }, timeoutMs);
}

std::string Tmux::line(int y) const {
    std::istringstream in(screen());
    std::string l;
    for (int i = 0; i < y; ++i)
        if (!std::getline(in, l)) return std::string();
    return l;
}

bool Tmux::waitForLine(int y, const std::string& needle, int timeoutMs) const {
    return pollUntil([&] { return line(y).find(needle) != std::string::npos; }, timeoutMs);
}

int Tmux::waitExit(int timeoutMs) const {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        std::ifstream f(dir + "/.exitcode");
        int code;
        if (f >> code) return code;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
}

}  // namespace TESTS
