// jicis: a stand-in for the customs authority's client, for the demo and the tests. The program
// starts it in place of `java` (KORVEX_JAVA holds its command line), so it receives the program's
// arguments after its own switches:
//
//   jicis [switches] -jar JIcis.jar -dsmode -f FILE -a ID
//
// It records what it was given in its current folder (or the --record folder): "JICIS-PID.TXT"
// (its process id, written first), "JICIS-CWD.TXT"
// (the folder it was started in), "JICIS-INPUT.TXT" (a copy of FILE, or nothing when FILE cannot
// be read) and, written last, "JICIS-ARGS.TXT" (one argument a line, its own switches left out).
// Each file appears whole under its name.
//
// It also plays the local converter, started the same way in the working folder:
//
//   jicis [switches] -jar SdeFromXML.jar INPUT TARGET
//
// records as above and then writes TARGET (whole, under its name) as a copy of INPUT.
//
// Switches:
//   --record DIR   where to record (default: the current folder)
//   --slow MS      waits MS milliseconds before recording (a slow start)
//   --hang         never ends after recording
//   --exit N       ends with code N (default 0)
//   --no-target    the converter writes no TARGET
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

void writeWhole(const std::string& path, const std::string& bytes) {
    const std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::rename(tmp.c_str(), path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::string record = ".";
    int slow = 0, code = 0;
    bool hang = false, noTarget = false;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--record" && i + 1 < argc) record = argv[++i];
        else if (a == "--slow" && i + 1 < argc) slow = std::atoi(argv[++i]);
        else if (a == "--exit" && i + 1 < argc) code = std::atoi(argv[++i]);
        else if (a == "--hang") hang = true;
        else if (a == "--no-target") noTarget = true;
        else args.push_back(a);
    }
    writeWhole(record + "/JICIS-PID.TXT", std::to_string(getpid()) + "\n");
    if (slow > 0) std::this_thread::sleep_for(std::chrono::milliseconds(slow));
    char cwd[4096];
    writeWhole(record + "/JICIS-CWD.TXT", std::string(getcwd(cwd, sizeof cwd) ? cwd : "?") + "\n");
    std::string input;
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "-f") {
            std::ifstream in(args[i + 1], std::ios::binary);
            std::ostringstream s;
            s << in.rdbuf();
            input = s.str();
        }
    writeWhole(record + "/JICIS-INPUT.TXT", input);
    std::string list;
    for (const auto& a : args) list += a + "\n";
    writeWhole(record + "/JICIS-ARGS.TXT", list);
    // The converter: the argument after the jar is its input, the next one its target.
    for (size_t i = 0; i + 2 < args.size(); ++i)
        if (args[i] == "SdeFromXML.jar" && !noTarget) {
            std::ifstream in(args[i + 1], std::ios::binary);
            if (!in) {
                std::cerr << "jicis: cannot read " << args[i + 1] << std::endl;
                return 2;
            }
            std::ostringstream s;
            s << in.rdbuf();
            writeWhole(args[i + 2], s.str());
        }
    std::cout << "jicis: recorded " << args.size() << " arguments" << std::endl;
    while (hang) std::this_thread::sleep_for(std::chrono::seconds(60));
    return code;
}
