// Ending the program: normal exit and fatal errors. Cleanup hooks (terminal restore, held locks)
// run on every path. In tests both throw instead of exiting.
#pragma once
#include <functional>
#include <string>

namespace PLAT {

// An unexpected input/output error: restore everything, print one line naming the operation and
// the file (with the OS error text), exit with code 2.
[[noreturn]] void fatal(const std::string& op, const std::string& file);
// The same with the reason given instead of the OS error text (a short read, a bad size).
[[noreturn]] void fatal(const std::string& op, const std::string& file, const std::string& reason);
// A run that cannot start or must stop with a message: restore, print msg, exit with code.
[[noreturn]] void die(const std::string& msg, int code = 1);
// Ends the program with the given exit code after the cleanup hooks.
[[noreturn]] void quit(int code);

// Every message printed on the way out passes through this: control bytes and bytes that are not
// part of a printable UTF-8 character (a file name or content read from a damaged file) become
// "\xNN"; a backslash stays as it is.
std::string escapeText(const std::string& s);

// Cleanup hooks run once, last registered first, on quit, fatal, die and on SIGTERM/SIGHUP/SIGINT.
int addCleanup(std::function<void()> fn);
void removeCleanup(int id);
void runCleanups();
void installSignalHandlers();

// Test mode: quit/fatal/die throw these instead of exiting.
struct ProgramExit { int code; std::string message; };
void setThrowOnExit(bool on);

}  // namespace PLAT
