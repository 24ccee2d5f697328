// Ending the program: cleanup hooks, fatal errors, signals.
#include "platform/fatal.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace PLAT {

namespace {

struct Hook {
    int id;
    std::function<void()> fn;
};

std::vector<Hook>& hooks() {
    static std::vector<Hook> h;
    return h;
}
int nextId = 1;
bool throwOnExit = false;
volatile sig_atomic_t inSignal = 0;

[[noreturn]] void finish(int code, const std::string& message) {
    runCleanups();
    if (throwOnExit) throw ProgramExit{code, message};
    if (!message.empty()) {
        std::fputs(message.c_str(), stderr);
        std::fputc('\n', stderr);
        std::fflush(stderr);
    }
    std::exit(code);
}

void onSignal(int sig) {
    if (!inSignal) {
        inSignal = 1;
        runCleanups();
    }
    _exit(128 + sig);
}

}  // namespace

int addCleanup(std::function<void()> fn) {
    int id = nextId++;
    hooks().push_back(Hook{id, std::move(fn)});
    return id;
}

void removeCleanup(int id) {
    auto& h = hooks();
    for (auto it = h.begin(); it != h.end(); ++it)
        if (it->id == id) {
            h.erase(it);
            return;
        }
}

void runCleanups() {
    // Each hook leaves the list before it runs, so it runs once even when it ends the program
    // itself or a signal arrives in the middle.
    auto& h = hooks();
    while (!h.empty()) {
        std::function<void()> fn = std::move(h.back().fn);
        h.pop_back();
        try {
            if (fn) fn();
        } catch (...) {
        }
    }
}

void installSignalHandlers() {
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaddset(&sa.sa_mask, SIGTERM);
    sigaddset(&sa.sa_mask, SIGHUP);
    sigaddset(&sa.sa_mask, SIGINT);
    for (int s : {SIGTERM, SIGHUP, SIGINT}) sigaction(s, &sa, nullptr);
}

void fatal(const std::string& op, const std::string& file) {
    int e = errno;
    fatal(op, file, e ? std::string(std::strerror(e)) : std::string("unexpected end of file"));
}

void fatal(const std::string& op, const std::string& file, const std::string& reason) {
    finish(2, "KORVEX: " + op + ": " + file + ": " + reason);
}

void die(const std::string& msg, int code) { finish(code, msg); }

void quit(int code) { finish(code, std::string()); }

void setThrowOnExit(bool on) { throwOnExit = on; }

}  // namespace PLAT
