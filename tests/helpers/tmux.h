// Runs the real program in a detached tmux session of 80x25 and reads its screen.
#pragma once
#include <string>

namespace TESTS {

class Tmux {
public:
    // Starts `cmd` in folder dir; the exit code is written to dir/.exitcode when it ends.
    Tmux(const std::string& dir, const std::string& cmd);
    ~Tmux();
    void keys(const std::string& tmuxKeys);   // tmux key names, e.g. "Down", "Enter", "Escape"
    void text(const std::string& literal);    // literal characters
    std::string screen() const;               // the pane as UTF-8 lines
    // A tmux format expanded for the pane, e.g. "#{alternate_on}" (without the final line end).
    std::string format(const std::string& fmt) const;
    // Waits until the screen contains needle; false after timeoutMs.
    bool waitFor(const std::string& needle, int timeoutMs = 5000) const;
    // Waits until the screen no longer contains needle (a notice taken away); false after timeoutMs.
    bool waitGone(const std::string& needle, int timeoutMs = 5000) const;
    // Row y (1-based) of the pane; empty below its last row.
    std::string line(int y) const;
    // Waits until row y of the pane contains needle; false after timeoutMs.
    bool waitForLine(int y, const std::string& needle, int timeoutMs = 5000) const;
    // Waits for the program to end; its exit code, or -1 after timeoutMs.
    int waitExit(int timeoutMs = 5000) const;

private:
    std::string session, dir;
};

bool haveTmux();

// The clock library preloaded straight, so the program starts at WHEN ("2026-12-10 09:05:00") and
// its clock runs on from there: an environment prefix for a shell command, empty when the library
// is not installed. The faketime wrapper is not used, since it keeps a named semaphore per process
// id that a killed session leaves behind for the next process of that id to trip over.
std::string fixedClockEnv(const std::string& when);
inline bool haveFixedClock() { return !fixedClockEnv("2026-12-10 09:05:00").empty(); }

}  // namespace TESTS
