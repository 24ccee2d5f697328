#include "helpers/fixture.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "common/umas.h"
#include "config/params.h"
#include "declarations/bod.h"
#include "declarations/store_form.h"
#include "platform/codec.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "screen/scr.h"
#include "shell/start.h"

namespace fs = std::filesystem;

namespace TESTS {

TempWorkDir::TempWorkDir(const std::string& base) {
    std::string t = (fs::is_directory(base) ? base : std::string("/tmp")) + "/korvex-test-XXXXXX";
    std::vector<char> tmpl(t.begin(), t.end());
    tmpl.push_back('\0');
    char* d = mkdtemp(tmpl.data());
    if (!d) throw std::runtime_error("mkdtemp");
    dir = d;
    oldCwd = fs::current_path().string();
    fs::current_path(dir);
}

TempWorkDir::~TempWorkDir() {
    std::error_code ec;
    fs::current_path(oldCwd, ec);
    fs::remove_all(dir, ec);
}

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    // A regular file in one read of its size; anything else (a pipe, a device) as a stream.
    std::error_code ec;
    if (fs::is_regular_file(path, ec)) {
        std::string b(size_t(fs::file_size(path, ec)), '\0');
        if (!ec && f.read(b.data(), std::streamsize(b.size())) && f.peek() == std::char_traits<char>::eof()) return b;
        f.clear();
        f.seekg(0);
    }
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
}

bool exists(const std::string& path) { return fs::exists(path); }

std::map<std::string, std::string> folderFiles(const std::string& dir, bool dataOnly) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.is_regular_file()) files[e.path().filename().string()] = readFile(e.path().string());
    if (dataOnly)
        for (const char* claims : {"NUDI.DAT", "NUTI.DAT", "NUAP.DAT"}) files.erase(claims);
    return files;
}

void expectGolden(const std::string& name, const std::string& bytes) {
    const std::string path = std::string(KORVEX_SOURCE_DIR) + "/tests/golden/" + name;
    if (std::getenv("KORVEX_UPDATE_GOLDEN")) {
        fs::create_directories(fs::path(path).parent_path());
        writeFile(path, bytes);
        return;
    }
    const std::string want = readFile(path);
    ASSERT_FALSE(want.empty()) << path;
    EXPECT_EQ(bytes, want) << name;
}

PLAT::HeadlessConsole& headless() {
    auto c = std::make_unique<PLAT::HeadlessConsole>();
    PLAT::HeadlessConsole& ref = *c;
    PLAT::setConsole(std::move(c));
    UMAS::CRP = &ref.cells;
    SCR::STACK.clear();
    return ref;
}

void loadMasks() {
    static std::vector<UMAS::CONV> cache;
    if (cache.empty()) START::RMASK(cache, KORVEX_MSK);
    UMAS::MPR = cache;  // a fresh writable copy for each test
}

void Installation::SetUp() {
    PLAT::setThrowOnExit(true);
    work = std::make_unique<TempWorkDir>();
    con = &headless();
    loadMasks();
}

void Installation::TearDown() {
    UMAS::releaseAllLocks();
    work.reset();
}

void Installation::install(const std::vector<INSTALL::Company>& cs) {
    INSTALL::makeInstallation(work->path(), "DATABASE", cs, "");
    UMAS::PATH = PARAMS::GETDATABASEPATH() + "ARXEIO0\\";
}

std::vector<INSTALL::Company> companies(int n) {
    std::vector<INSTALL::Company> v;
    for (int i = 1; i <= n; ++i)
        v.push_back(INSTALL::Company{"COMPANY " + std::to_string(i), "", "", "", "AFM: 1000000" + std::to_string(i % 10) + "0 DOY",
                                     "", "TOWN " + std::to_string(i), "", ""});
    return v;
}

size_t runWithWaits(PLAT::HeadlessConsole& con, const std::vector<std::string>& waits,
                    std::vector<std::string>& screens, const std::function<void()>& body) {
    screens.clear();
    size_t i = 0;
    con.onIdle = [&] {
        if (i >= waits.size()) return;
        screens.push_back(con.dump());
        con.keys(waits[i++]);
    };
    body();
    con.onIdle = nullptr;
    return i;
}

bool storeSheetItem(const std::string& number, int sheet, int item) {
    auto two = [](int v) { return UMAS::LZ(std::to_string(v), 2); };
    BOD::BM = UMAS::padTo(number + two(sheet) + two(item), 14);
    BOD::BOB = false;
    BOD::AYB = BOD::MOT{};
    UMAS::LOCK("FBIS");
    const bool stored = EKDO::KATB().stored;
    UMAS::UNLOC("FBIS");
    return stored;
}

void linkFirstEntryPastTheEnd(const std::string& index, int recSize) {
    PLAT::File ix(index, PLAT::File::READWRITE);
    uint8_t w[2];
    ix.readAt(4, w, 2);
    const int64_t first = PLAT::getW(w);
    PLAT::putW(w, 65000);
    ix.writeAt(first * recSize + 4, w, 2);
}

int runInChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        int code = 0;
        try {
            code = body();
        } catch (...) {
            code = 3;
        }
        _exit(code);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

pid_t startSigningServer(const std::vector<std::string>& args, const std::string& state) {
    pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (auto a : args) argv.push_back(strdup(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    const std::string named = std::to_string(pid) + "\n";
    for (int i = 0; i < 1000 && pid > 0; ++i) {
        std::ifstream f(state + "/signsrv.pid");
        std::stringstream s;
        s << f.rdbuf();
        if (s.str() == named) break;
        siginfo_t ended{};
        if (waitid(P_PID, id_t(pid), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid == pid) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return pid;
}

}  // namespace TESTS
