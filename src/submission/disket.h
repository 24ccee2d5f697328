// DISKET: the segment-file runs. A run turns the open declaration (or the DAO document, or the
// cargo manifest of the declaration) into one segment file for the customs authority's client:
// it loads a field table of 220 rows, walks it with the row engine, writes "ERROR.TXT" and at the
// end either shows the error list or moves the counters and, for the send modes, starts the client.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace DISKET {

// The DAO document's texts (LINES[1..35]) or the cargo manifest's header texts (LINES[1..26]) and
// cells (CELLS[1..720], twelve for each of its 60 lines), handed to the run by its caller.
struct PBUF {
    std::vector<std::string> LINES;  // [0] unused
    std::vector<std::string> CELLS;  // [0] unused
    // Text n, empty outside the buffer.
    std::string line(int n) const { return n >= 1 && size_t(n) < LINES.size() ? LINES[size_t(n)] : std::string(); }
    std::string cell(int n) const { return n >= 1 && size_t(n) < CELLS.size() ? CELLS[size_t(n)] : std::string(); }
};

// Run modes (EDE).
enum : uint8_t {
    ED_FILE = 0,      // declaration file
    ED_AUTO = 1,      // excise declaration for vehicles, file
    ED_DAO = 2,       // DAO document
    ED_DILO = 3,      // cargo manifest
    ED_TIRSEND = 4,   // transit (T1/TIR) send
    ED_SEND = 5,      // declaration send
    ED_AUTOSEND = 7,  // excise declaration for vehicles, send
    ED_TIR = 8,       // TIR file
};

// One submission run over the open declaration. BUF: the DAO buffer (mode 2), the manifest buffer
// (mode 3), nullptr otherwise. TESTENV: the send addresses the authority's test environment.
void MAKE_DISK(const std::string& EXT, uint8_t EDE, const PBUF* BUF, bool TESTENV);

// Code page 737 to ISO 8859-7, as every segment file is written.
std::string ISO8859(const std::string& S);

// The customs client of a send: the working folder's file FNAME handed to it with the identifier
// ID (box 34). The client program is the command line of the environment variable KORVEX_JAVA
// (split at blanks; "java" when unset) followed by "-jar JIcis.jar -dsmode -f <file> -a <ID>",
// started detached in the client folder ("C:\trial_jicis" for the test environment, else
// "C:\jicis"), its output appended to "JICIS.LOG" of the working folder. "" when it was started,
// else why not (code page 737).
std::string STARTCLIENT(const std::string& FNAME, const std::string& ID, bool TESTENV);
// The command line of the Java runtime: KORVEX_JAVA split at blanks, "java" when unset.
std::vector<std::string> JAVA();
// The argument vector STARTCLIENT starts.
std::vector<std::string> CLIENTARGS(const std::string& FNAME, const std::string& ID);

}  // namespace DISKET
