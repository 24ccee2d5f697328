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
        UMAS::releaseAllClaims();
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
    // The workstations stay until this pipe closes. (A second token on the go pipe could be taken
    // by a quick workstation before a slow one took its start token, leaving that one waiting.)
    int stay[2];
    ASSERT_EQ(pipe(stay), 0);
    for (int w = 0; w < WS; ++w)
        spawn([this, w, stay] {
            close(stay[1]);
            waitGo();
            std::string btm;
            for (int k = 0; k < CLAIMS; ++k) {
                std::string tm = std::to_string(w * 1000 + k);
                if (UMAS::ELDI(btm, tm, "NUDI", 10)) return 10;  // never busy: every number differs
                btm = tm;
            }
            signalReady();
            char c;  // a claim lasts while its workstation lives: stay until the file is read
            (void)!read(stay[0], &c, 1);
            return 0;
        });
    close(stay[0]);
    letGo(WS);
    for (int w = 0; w < WS; ++w) waitReady();
    std::string img = readFile("CO/NUDI.DAT");
    close(stay[1]);
    for (pid_t p : std::vector<pid_t>(pids)) {
        int st = wait(p);
        ASSERT_TRUE(WIFEXITED(st));
        EXPECT_EQ(WEXITSTATUS(st), 0);
    }
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

namespace {

std::vector<std::string> slotsOf(const std::string& img, int ss) {
    std::vector<std::string> v;
    for (int k = 0; k < 4; ++k) {
        const size_t at = size_t(k * (ss + 1));
        v.push_back(at < img.size() ? img.substr(at + 1, std::min<size_t>(uint8_t(img[at]), size_t(ss))) : "");
    }
    return v;
}

using SV = std::vector<std::string>;

// Esc for the busy screens a workstation may meet.
void headlessWithEsc(int n) {
    auto h = std::make_unique<PLAT::HeadlessConsole>();
    for (int i = 0; i < n; ++i) h->ch(27);
    PLAT::setConsole(std::move(h));
}

}  // namespace

// A workstation killed while it has a declaration open leaves its number in the file; nobody holds
// it any more, so the next claim takes it over. A live claim is still refused.
TEST_F(MultiLocks, AClaimOfAKilledWorkstationIsTakenOver) {
    writeFile("CO/NUDI.DAT", std::string(44, '\0'));
    pid_t child = spawn([this] {
        if (UMAS::ELDI("", "101", "NUDI", 10)) return 10;
        signalReady();
        for (;;) pause();
        return 0;
    });
    waitReady();
    headlessWithEsc(1);
    EXPECT_TRUE(UMAS::ELDI("", "101", "NUDI", 10)) << "a live claim is refused";
    kill(child, SIGKILL);
    wait(child);
    EXPECT_EQ(slotsOf(readFile("CO/NUDI.DAT"), 10), (SV{"", "101", "", ""})) << "the number stays, as after a crash";
    EXPECT_FALSE(UMAS::ELDI("", "101", "NUDI", 10)) << "granted";
    EXPECT_EQ(slotsOf(readFile("CO/NUDI.DAT"), 10), (SV{"", "101", "", ""}));
    // Now this workstation is the live holder: another one is refused.
    pid_t other = spawn([] {
        headlessWithEsc(1);
        return UMAS::ELDI("", "101", "NUDI", 10) ? 1 : 0;
    });
    int st = wait(other);
    ASSERT_TRUE(WIFEXITED(st));
    EXPECT_EQ(WEXITSTATUS(st), 1) << "busy";
    UMAS::MHNU("101", "NUDI", 10);
    EXPECT_EQ(readFile("CO/NUDI.DAT"), std::string(44, '\0'));
}

// Two workstations race for a number whose holder was killed: exactly one gets it.
TEST_F(MultiLocks, TwoWorkstationsRacingForAStaleClaimOneWins) {
    for (int round = 0; round < 8; ++round) {
        writeFile("CO/NUDI.DAT", std::string(44, '\0'));
        pid_t dead = spawn([this] {
            if (UMAS::ELDI("", "55", "NUDI", 10)) return 10;
            signalReady();
            for (;;) pause();
            return 0;
        });
        waitReady();
        kill(dead, SIGKILL);
        wait(dead);
        int results[2], release[2];
        ASSERT_EQ(pipe(results), 0);
        ASSERT_EQ(pipe(release), 0);
        for (int w = 0; w < 2; ++w)
            spawn([this, &results, &release] {
                headlessWithEsc(1);
                waitGo();
                const char r = UMAS::ELDI("", "55", "NUDI", 10) ? 'b' : 'g';
                (void)!write(results[1], &r, 1);
                char c;
                (void)!read(release[0], &c, 1);  // hold the claim until both have tried
                return 0;
            });
        letGo(2);
        std::string got;
        for (int w = 0; w < 2; ++w) {
            char c = 0;
            ASSERT_EQ(read(results[0], &c, 1), 1);
            got += c;
        }
        (void)!write(release[1], "rr", 2);
        for (pid_t p : std::vector<pid_t>(pids)) wait(p);
        for (int fd : {results[0], results[1], release[0], release[1]}) close(fd);
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, "bg") << "round " << round << ": exactly one granted";
    }
}

// Every way out of a workstation frees its claims in "NUDI", "NUTI" and "NUAP": a fatal error,
// the termination signals and the hang-up of its terminal.
TEST_F(MultiLocks, EveryExitPathFreesTheClaims) {
    const std::string nudi(44, '\0'), nuti(28, '\0'), nuap(24, '\0');
    auto claimAll = [] {
        return !UMAS::ELDI("", "101", "NUDI", 10) && !UMAS::ELDI("", "5", "NUTI", 6) &&
               !UMAS::ELDI("", "7", "NUAP", 5);
    };
    writeFile("CO/NUDI.DAT", nudi);
    writeFile("CO/NUTI.DAT", nuti);
    writeFile("CO/NUAP.DAT", nuap);
    pid_t a = spawn([&] {
        if (!claimAll()) return 10;
        PLAT::File f("CO\\DISM.DAT", PLAT::File::READ);  // missing: fatal, exit 2
        return 0;
    });
    int st = wait(a);
    ASSERT_TRUE(WIFEXITED(st));
    EXPECT_EQ(WEXITSTATUS(st), 2);
    EXPECT_EQ(readFile("CO/NUDI.DAT"), nudi);
    EXPECT_EQ(readFile("CO/NUTI.DAT"), nuti);
    EXPECT_EQ(readFile("CO/NUAP.DAT"), nuap);

    for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
        pid_t b = spawn([&] {
            PLAT::installSignalHandlers();
            if (!claimAll()) return 10;
            signalReady();
            for (;;) pause();
            return 0;
        });
        waitReady();
        EXPECT_EQ(slotsOf(readFile("CO/NUDI.DAT"), 10), (SV{"", "101", "", ""}));
        EXPECT_EQ(slotsOf(readFile("CO/NUAP.DAT"), 5), (SV{"", "7", "", ""}));
        kill(b, sig);
        st = wait(b);
        ASSERT_TRUE(WIFEXITED(st));
        EXPECT_EQ(WEXITSTATUS(st), 128 + sig);
        EXPECT_EQ(readFile("CO/NUDI.DAT"), nudi) << "signal " << sig;
        EXPECT_EQ(readFile("CO/NUTI.DAT"), nuti) << "signal " << sig;
        EXPECT_EQ(readFile("CO/NUAP.DAT"), nuap) << "signal " << sig;
    }
}

// A forked child (a started program) neither frees nor keeps its parent's claims.
TEST_F(MultiLocks, AForkedChildDoesNotFreeItsParentsClaim) {
    writeFile("CO/NUDI.DAT", std::string(44, '\0'));
    ASSERT_FALSE(UMAS::ELDI("", "9", "NUDI", 10));
    pid_t child = spawn([]() -> int {
        UMAS::MHNU("9", "NUDI", 10);
        PLAT::quit(0);
    });
    int st = wait(child);
    EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    EXPECT_EQ(slotsOf(readFile("CO/NUDI.DAT"), 10), (SV{"", "9", "", ""}));
    pid_t other = spawn([] {
        headlessWithEsc(1);
        return UMAS::ELDI("", "9", "NUDI", 10) ? 1 : 0;
    });
    st = wait(other);
    EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 1) << "still held by the parent";
    UMAS::releaseAllClaims();
    EXPECT_EQ(readFile("CO/NUDI.DAT"), std::string(44, '\0'));
}
