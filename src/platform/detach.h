// Programs started in the background: a detached child that the program never waits for.
#pragma once
#include <string>
#include <vector>

namespace PLAT {

// Starts argv[0] (searched in PATH) with the arguments argv[1..] in the folder dir (a Linux path),
// detached from the program (a session of its own; standard input empty; output and error output
// appended to logFile, a Linux path). Returns at once: "" when the program was started, else why
// not (an error text of the system, in UTF-8).
std::string startDetached(const std::vector<std::string>& argv, const std::string& dir, const std::string& logFile);

// A program started in the background that the caller waits for by polling, and may stop.
class Waited {
public:
    Waited() = default;
    Waited(const Waited&) = delete;
    Waited& operator=(const Waited&) = delete;
    ~Waited();  // a program still running is stopped
    // Starts argv[0] (searched in PATH) with argv[1..] in the folder dir (a Linux path) in a process
    // group of its own; standard input empty, output and error output appended to logFile (a Linux
    // path). "" when it was started, else why not (an error text of the system, in UTF-8).
    std::string start(const std::vector<std::string>& argv, const std::string& dir, const std::string& logFile);
    // True once the program has ended; status is then its exit code (128 + the signal number when a
    // signal ended it). Never blocks.
    bool ended(int& status);
    // Ends the program and everything it started in its group, and waits for it.
    void stop();
    bool running() const { return pid > 0; }

private:
    int pid = -1;
};

// The words of a command line split at blanks and tabs (no quoting).
std::vector<std::string> splitWords(const std::string& line);

}  // namespace PLAT
