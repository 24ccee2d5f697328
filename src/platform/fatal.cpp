// Ending the program: cleanup hooks, fatal errors, signals.
#include "platform/fatal.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
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

// Length of the valid UTF-8 sequence of a printable character at s[i], 0 when there is none.
size_t utf8At(const std::string& s, size_t i) {
    auto b = [&](size_t k) { return uint8_t(s[k]); };
    uint8_t c = b(i);
    size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (c >= 0xF5 || n == 0 || i + n > s.size()) return 0;
    for (size_t k = 1; k < n; ++k)
        if ((b(i + k) & 0xC0) != 0x80) return 0;
    uint32_t cp = n == 2 ? (c & 0x1Fu) : n == 3 ? (c & 0x0Fu) : (c & 0x07u);
    for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (b(i + k) & 0x3Fu);
    bool shortest = (n == 2 && cp >= 0x80) || (n == 3 && cp >= 0x800) || (n == 4 && cp >= 0x10000);
    if (!shortest || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF || (cp >= 0x80 && cp < 0xA0)) return 0;
    return n;
}

[[noreturn]] void finish(int code, const std::string& raw) {
    const std::string message = escapeText(raw);
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

std::string escapeText(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        uint8_t c = uint8_t(s[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += char(c);
            ++i;
            continue;
        }
        if (size_t n = c >= 0x80 ? utf8At(s, i) : 0) {
            out.append(s, i, n);
            i += n;
            continue;
        }
        static const char hex[] = "0123456789ABCDEF";
        out += "\\x";
        out += hex[c >> 4];
        out += hex[c & 15];
        ++i;
    }
    return out;
}

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
