// Named locks and in-use slots between processes: the test forks the workstations itself.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>

#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "platform/oslock.h"

namespace fs = std::filesystem;
using TESTS::readFile;
using TESTS::writeFile;
using Clock = std::chrono::steady_clock;

namespace {

class MultiLocks : public ::testing::Test {
protected:
    void SetUp() override {
        PLAT::setThrowOnExit(true);
        work = std::make_unique<TESTS::TempWorkDir>();
        fs::create_directories("CO");
        UMAS::PATH = "CO\\";
        ASSERT_EQ(pipe(ready), 0);  // children report "I hold it" here
        ASSERT_EQ(pipe(go), 0);     // and wait here until the parent lets them start
    }
    void TearDown() override {
        for (pid_t p : pids) {
            kill(p, SIGKILL);
            waitpid(p, nullptr, 0);
        }
        for (int fd : {ready[0], ready[1], go[0], go[1]}) close(fd);
        UMAS::releaseAllLocks();
        work.reset();
    }

    // A workstation: body runs in a child process with real exits; its result is the exit code.
    pid_t spawn(const std::function<int()>& body) {
        pid_t pid = fork();
        if (pid == 0) {
            PLAT::setThrowOnExit(false);
            int rc = 3;
            try {
                rc = body();
            } catch (...) {
                rc = 4;
            }
            _exit(rc);
        }
        pids.push_back(pid);
        return pid;
    }
    int wait(pid_t pid) {
        int st = 0;
        waitpid(pid, &st, 0);
        pids.erase(std::remove(pids.begin(), pids.end(), pid), pids.end());
        return st;
    }
    void signalReady() { (void)!write(ready[1], "r", 1); }
    void waitReady() {
        char c;
        ASSERT_EQ(read(ready[0], &c, 1), 1);
    }
    void waitGo() {
        char c;
        (void)!read(go[0], &c, 1);
    }
    void letGo(int n) {
        for (int i = 0; i < n; ++i) (void)!write(go[1], "g", 1);
    }
    static bool osFree(const char* f) {
        PLAT::File o(f, PLAT::File::READWRITE);
        bool ok = PLAT::tryLockFd(o.handle());
        if (ok) PLAT::unlockFd(o.handle());
        return ok;
    }

    std::unique_ptr<TESTS::TempWorkDir> work;
    std::vector<pid_t> pids;
    int ready[2] = {-1, -1}, go[2] = {-1, -1};
};

const std::string ZERO(1, '\0'), ONE(1, '\1');

}  // namespace

TEST_F(MultiLocks, FourWorkstationsCountExactlyUnderOneLock) {
    constexpr int WS = 4, LOOPS = 40;
    writeFile("CO/COUNT", "0");
    auto t0 = Clock::now();
    for (int w = 0; w < WS; ++w)
        spawn([this] {
            waitGo();
            for (int i = 0; i < LOOPS; ++i) {
                UMAS::LOCK("FCNT");
                // Nobody else may be inside: the marker is created exclusively.
                int m = open("CO/INSIDE", O_CREAT | O_EXCL | O_WRONLY, 0644);
                if (m < 0) return 10;
                close(m);
                int n = std::stoi(readFile("CO/COUNT"));
                if (i % 8 == 0) usleep(2000);  // hold it a while now and then, so others queue up
                writeFile("CO/COUNT", std::to_string(n + 1));
                unlink("CO/INSIDE");
                UMAS::UNLOC("FCNT");
            }
            return 0;
        });
    letGo(WS);
    for (pid_t p : std::vector<pid_t>(pids)) {
        int st = wait(p);
        ASSERT_TRUE(WIFEXITED(st));
        EXPECT_EQ(WEXITSTATUS(st), 0) << "10: two workstations inside at once";
    }
    EXPECT_EQ(readFile("CO/COUNT"), std::to_string(WS * LOOPS));
    EXPECT_EQ(readFile("CO/FCNT.DAT"), ZERO);
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(4));
}

TEST_F(MultiLocks, AWorkstationWaitsForALiveHolderAndCannotReleaseItsLock) {
    pid_t child = spawn([this] {
        UMAS::LOCK("FDIA");
        signalReady();
        usleep(300000);
        UMAS::UNLOC("FDIA");
        return 0;
    });
    waitReady();
    auto t0 = Clock::now();
    UMAS::UNLOC("FDIA");  // not ours: no effect
    EXPECT_EQ(readFile("CO/FDIA.DAT"), ONE);
    EXPECT_FALSE(osFree("CO/FDIA.DAT"));
    UMAS::LOCK("FDIA");
    auto waited = Clock::now() - t0;
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_LT(waited, std::chrono::milliseconds(1500));
    EXPECT_EQ(readFile("CO/FDIA.DAT"), ONE);
    int st = wait(child);
    EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    UMAS::UNLOC("FDIA");
    EXPECT_EQ(readFile("CO/FDIA.DAT"), ZERO);
}

TEST_F(MultiLocks, AHolderKilledOutrightDoesNotBlockOthers) {
    pid_t child = spawn([this] {
        UMAS::LOCK("FTIM");
        signalReady();
        for (;;) pause();
        return 0;
    });
    waitReady();
    EXPECT_EQ(readFile("CO/FTIM.DAT"), ONE);
    kill(child, SIGKILL);
    wait(child);
    EXPECT_EQ(readFile("CO/FTIM.DAT"), ONE) << "the byte stays, as after a crash";
    auto t0 = Clock::now();
    UMAS::LOCK("FTIM");
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(500));
    UMAS::UNLOC("FTIM");
    EXPECT_EQ(readFile("CO/FTIM.DAT"), ZERO);
}

TEST_F(MultiLocks, FatalErrorsAndSignalsReleaseHeldLocks) {
    pid_t a = spawn([] {
        UMAS::LOCK("FPEL");
        UMAS::LOCK("FTIM");
        PLAT::File f("CO\\MISSING.DAT", PLAT::File::READ);  // fatal: exit 2
        return 0;
    });
    int st = wait(a);
    ASSERT_TRUE(WIFEXITED(st));
    EXPECT_EQ(WEXITSTATUS(st), 2);
    EXPECT_EQ(readFile("CO/FPEL.DAT"), ZERO);
    EXPECT_EQ(readFile("CO/FTIM.DAT"), ZERO);

    pid_t b = spawn([this] {
        PLAT::installSignalHandlers();
        UMAS::LOCK("FAPO");
        signalReady();
        for (;;) pause();
        return 0;
    });
    waitReady();
    EXPECT_EQ(readFile("CO/FAPO.DAT"), ONE);
    kill(b, SIGTERM);
    st = wait(b);
    ASSERT_TRUE(WIFEXITED(st));
    EXPECT_EQ(WEXITSTATUS(st), 128 + SIGTERM);
    EXPECT_EQ(readFile("CO/FAPO.DAT"), ZERO);
}

TEST_F(MultiLocks, AForkedChildDoesNotReleaseItsParentsLock) {
    UMAS::LOCK("FPAR");
    pid_t child = spawn([]() -> int {
        UMAS::releaseAllLocks();
        PLAT::quit(0);
    });
    int st = wait(child);
    EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    EXPECT_EQ(readFile("CO/FPAR.DAT"), ONE);
    EXPECT_FALSE(osFree("CO/FPAR.DAT"));
    UMAS::UNLOC("FPAR");
    EXPECT_EQ(readFile("CO/FPAR.DAT"), ZERO);
}

TEST_F(MultiLocks, ConcurrentSlotClaimsLoseNoUpdate) {
    constexpr int WS = 4, CLAIMS = 30;
    writeFile("CO/NUDI.DAT", std::string(44, '\0'));
    for (int w = 0; w < WS; ++w)
        spawn([this, w] {
            waitGo();
            std::string btm;
            for (int k = 0; k < CLAIMS; ++k) {
                std::string tm = std::to_string(w * 1000 + k);
                if (UMAS::ELDI(btm, tm, "NUDI", 10)) return 10;  // never busy: every number differs
                btm = tm;
            }
            return 0;
        });
    letGo(WS);
    for (pid_t p : std::vector<pid_t>(pids)) {
        int st = wait(p);
        ASSERT_TRUE(WIFEXITED(st));
        EXPECT_EQ(WEXITSTATUS(st), 0);
    }
    std::string img = readFile("CO/NUDI.DAT");
    ASSERT_EQ(img.size(), 44u);
    std::vector<std::string> got;
    for (int k = 0; k < 4; ++k) got.push_back(img.substr(size_t(k * 11 + 1), size_t(uint8_t(img[size_t(k * 11)]))));
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::string>{"1029", "2029", "29", "3029"})) << "each workstation's last claim";
}

// Four workstations claim the same declaration number over and over: a claim either gets the
// number or meets the busy screen (left with Esc), and never do two hold it at once.
TEST_F(MultiLocks, FourWorkstationsClaimingOneNumberNeverHoldItTogether) {
    constexpr int WS = 4, LOOPS = 40;
    writeFile("CO/NUDI.DAT", std::string(44, '\0'));
    for (int w = 0; w < WS; ++w)
        spawn([this] {
            auto h = std::make_unique<PLAT::HeadlessConsole>();
            for (int i = 0; i < LOOPS; ++i) h->ch(27);  // one Esc for every busy screen there can be
            PLAT::setConsole(std::move(h));
            waitGo();
            for (int i = 0; i < LOOPS; ++i) {
                if (UMAS::ELDI("", "77", "NUDI", 10)) continue;  // busy: another workstation has it
                int m = open("CO/INSIDE", O_CREAT | O_EXCL | O_WRONLY, 0644);
                if (m < 0) return 10;
                close(m);
                int f = open("CO/HELD", O_CREAT | O_APPEND | O_WRONLY, 0644);
                (void)!write(f, "h", 1);
                close(f);
                usleep(300);
                unlink("CO/INSIDE");
                UMAS::MHNU("77", "NUDI", 10);
            }
            return 0;
        });
    letGo(WS);
    for (pid_t p : std::vector<pid_t>(pids)) {
        int st = wait(p);
        ASSERT_TRUE(WIFEXITED(st));
        EXPECT_EQ(WEXITSTATUS(st), 0) << "10: two workstations held the number at once";
    }
    EXPECT_FALSE(readFile("CO/HELD").empty());
    EXPECT_EQ(readFile("CO/NUDI.DAT"), std::string(44, '\0')) << "every claim was freed";
}
