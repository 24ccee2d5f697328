// Test fixtures: a temporary working folder with an installation, and the headless console with
// the masks of the built mask file.
#pragma once
#include <gtest/gtest.h>
#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/console.h"
#include "shell/install.h"

namespace TESTS {

// A fresh temporary folder that becomes the current directory for the test's lifetime (under base:
// "/tmp", or a memory file system such as "/dev/shm" for tests that write much and flush often).
class TempWorkDir {
public:
    explicit TempWorkDir(const std::string& base = "/tmp");
    ~TempWorkDir();
    const std::string& path() const { return dir; }
    std::string file(const std::string& rel) const { return dir + "/" + rel; }

private:
    std::string dir, oldCwd;
};

// Reads a whole file (Linux path); empty when missing.
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
bool exists(const std::string& path);
// The files of a folder (not its subfolders), by name, with their bytes; with dataOnly, without the
// in-use claims of the numbers open at the workstations ("NUDI.DAT", "NUTI.DAT", "NUAP.DAT").
std::map<std::string, std::string> folderFiles(const std::string& dir, bool dataOnly = false);

// Compares bytes with the golden file tests/golden/<name>; with KORVEX_UPDATE_GOLDEN set it writes
// the file instead.
void expectGolden(const std::string& name, const std::string& bytes);

// Installs the headless console, loads the masks, resets the screen stack and the shared state.
PLAT::HeadlessConsole& headless();
void loadMasks();

// A working folder with the demo's two companies (or the given ones), masks loaded, headless
// console installed, program exits turned into exceptions, UMAS::PATH at company 0.
class Installation : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void install(const std::vector<INSTALL::Company>& companies);
    std::string company(int i) const { return work->file("DATABASE/ARXEIO" + std::to_string(i)); }
    std::unique_ptr<TempWorkDir> work;
    PLAT::HeadlessConsole* con = nullptr;
};

// A company list of n companies named "COMPANY 1" ... (for list tests).
std::vector<INSTALL::Company> companies(int n);

// Runs body, giving the program the keys of one entry of waits (code page 737) each time it waits
// with nothing queued, and keeping the screen of each such wait in screens. Returns how many
// entries were used.
size_t runWithWaits(PLAT::HeadlessConsole& con, const std::vector<std::string>& waits,
                    std::vector<std::string>& screens, const std::function<void()>& body);

// Stores the sheet page BOD::BIS as item `item` on sheet `sheet` of declaration `number` (a new
// item with an empty goods record), under the lock "FBIS"; false when the store refused it.
bool storeSheetItem(const std::string& number, int sheet, int item);

// Damages the index file INDEX (of records of RECSIZE bytes: the declarations' or the sheets'):
// the first entry of partition 1 links past the end of the file.
void linkFirstEntryPastTheEnd(const std::string& index, int recSize);

// Starts the signing stand-in with ARGS (the program first) and waits until it serves: until the
// "signsrv.pid" of its state folder STATE names it, or it has ended, or ten seconds have passed.
// A request sent before the server has started would otherwise count its start (slow on a busy
// machine) against the exchange's limits. Returns its process id.
pid_t startSigningServer(const std::vector<std::string>& args, const std::string& state);

// Runs BODY in a forked child process that ends with BODY's result (3 when it threw), and waits
// for it: the child's wait status (a child stopped by a signal shows WIFSIGNALED).
int runInChild(const std::function<int()>& body);

}  // namespace TESTS
