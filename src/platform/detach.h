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

// The words of a command line split at blanks and tabs (no quoting).
std::vector<std::string> splitWords(const std::string& line);

}  // namespace PLAT
