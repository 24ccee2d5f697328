// Child processes and printer ports: the installation's shell scripts, the text viewer, and the
// outputs of the printer ports "LPT1", "LPT2", "LPT3", "com1", "com2" and "PRN" as mapped by
// "PORTS.TXT" in the working folder.
#pragma once
#include <memory>
#include <string>
#include <vector>

namespace PLAT {

// How a child process ended.
struct RunResult {
    bool started = false;  // false: the script or program could not be started at all
    int status = -1;       // its exit code; 128 + the signal number when a signal ended it
    bool ok() const { return started && status == 0; }
};

// Runs the installation's shell script `script` (a name in the working folder, matched without
// regard to case) with /bin/sh and no arguments, in the working folder, and waits for it. Its input
// is empty; its output and error output are appended to the file logFile of the working folder.
// A missing script is not started.
RunResult runScript(const std::string& script, const std::string& logFile);
// The same with the arguments args after the script's name.
RunResult runScript(const std::string& script, const std::string& logFile, const std::vector<std::string>& args);

// Runs `/bin/sh -c command` in the working folder with `input` as its standard input and waits for
// it; output appended to logFile as above.
RunResult runCommand(const std::string& command, const std::string& input, const std::string& logFile);

// The text viewer: the command line in the environment variable KORVEX_VIEWER, else `less`, with
// the file as its last argument. It runs in the terminal (standard input and output inherited) and
// is waited for; the caller leaves and restores the screen around it. A viewer that is not found
// counts as not started.
RunResult runViewer(const std::string& file);

// The log of the scripts and port commands, in the working folder.
inline constexpr const char* PRINT_LOG = "PRNLOG.TXT";

// One output opened for writing: a file or device, or a command that receives all the bytes when
// the output is closed. A file of the program is emptied first; a file that stands for a printer
// port keeps what it holds and each printout is added at its end. Failures to open or write are
// fatal.
class PortOut {
public:
    ~PortOut();
    PortOut(const PortOut&) = delete;
    PortOut& operator=(const PortOut&) = delete;

    // A printer port by name ("LPT1", "com2", "PRN"...; matched without regard to case) as
    // "PORTS.TXT" maps it: a line "<port> <path>" opens that file or device, "<port> |<command>"
    // hands the bytes to the command; a port without a line writes to drives/ports/<port>. A file
    // (mapped or the default one) is appended to; a device is written as it is.
    static std::unique_ptr<PortOut> port(const std::string& portName);
    // A file of the program (DOS-style name, resolved as PLAT::resolve does); the folder that holds
    // it is created when missing.
    static std::unique_ptr<PortOut> file(const std::string& dosPath);

    void write(const char* p, size_t n);
    // Closes the output. For a command port the command runs now with the bytes; when it cannot be
    // run or fails, the bytes are added to drives/ports/<port>, `why` tells what happened (Greek, in
    // UTF-8) and the result is false.
    bool close(std::string& why);
    bool isOpen() const { return open; }
    // What the output is: the resolved path, or "|" and the command.
    const std::string& target() const { return where; }

private:
    PortOut() = default;
    int fd = -1;
    bool open = false;
    bool isCommand = false;
    std::string portName;  // for a command port
    std::string command;
    std::string held;  // the bytes of a command port
    std::string where;
};

// The target that "PORTS.TXT" gives a port: a path, "|" + command, or "" when it has no line.
std::string portMapping(const std::string& portName);

}  // namespace PLAT
