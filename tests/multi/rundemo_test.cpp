// Workstations started on one demo installation the way `make run` starts them
// (tools/rundemo.sh): the stand-in signing server serves the exchange folder for as long as any of
// them runs, whichever ended first, and ends after the last. A workstation is played by a script
// that waits for a file, so the test decides when it ends; one test runs the real program as the
// second workstation and prints a signed invoice there after the first has ended.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "e2e/demo_e2e.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "platform/files.h"
#include "platform/oslock.h"
#include "shell/install.h"

namespace fs = std::filesystem;

namespace {

class RunDemo : public ::testing::Test {
protected:
    void SetUp() override {
        work = std::make_unique<TESTS::TempWorkDir>();
        build = work->file("build");
        demo = build + "/demo";
        fs::create_directories(build);
        fs::create_symlink(KORVEX_SIGNSRV, build + "/signsrv");
        fs::create_symlink(KORVEX_JICIS, build + "/jicis");
        // The workstation: says it started, then runs until its end file appears.
        TESTS::writeFile(build + "/korvex",
                         "#!/bin/sh\n: > \"ws$1.started\"\n"
                         "while [ ! -e \"ws$1.end\" ]; do sleep 0.02; done\n"
                         "rm -f \"ws$1.started\" \"ws$1.end\"\n");
        fs::permissions(build + "/korvex", fs::perms::owner_all, fs::perm_options::add);
    }
    void TearDown() override {
        for (int id : {1, 2})
            if (ws[id] > 0) end(id);
        if (!state.empty()) waitFor([&] { return !served(); });
        work.reset();
    }

    // A demo whose first company signs through the exchange folder EXCH.
    void smallDemo() {
        fs::create_directories(demo + "/DATABASE/ARXEIO0");
        TESTS::writeFile(demo + "/DATABASE/ARXEIO0/formi_01.txt", "EXCH\\\r\n");
        state = demo + "/EXCH/.signsrv";
    }

    pid_t launch(int id) {
        pid_t p = fork();
        if (p == 0) {
            execl("/bin/sh", "sh", KORVEX_SOURCE_DIR "/tools/rundemo.sh", build.c_str(), std::to_string(id).c_str(),
                  (char*)nullptr);
            _exit(127);
        }
        return p;
    }
    void start(int id) {
        ws[id] = launch(id);
        waitFor([&] { return TESTS::exists(demo + "/ws" + std::to_string(id) + ".started"); });
    }
    void askEnd(int id) { TESTS::writeFile(demo + "/ws" + std::to_string(id) + ".end", ""); }
    int end(int id) {
        askEnd(id);
        return reap(id);
    }
    int reap(int id) {
        int st = 0;
        waitpid(ws[id], &st, 0);
        ws[id] = -1;
        return st;
    }
    static void waitFor(const std::function<bool()>& cond, int seconds = 10) {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!cond()) {
            ASSERT_LT(std::chrono::steady_clock::now(), until) << "timed out";
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    std::string pidFile() const { return state + "/signsrv.pid"; }
    // The lease of the workstation whose rundemo.sh is process P: removed by the server's first
    // look at the leases after that workstation ended.
    std::string lease(pid_t p) const { return state + "/workstations/" + std::to_string(p); }
    // True while a stand-in holds the exchange folder's lock.
    bool served() const {
        PLAT::File f;
        if (!f.open(pidFile(), PLAT::File::READWRITE, false)) return false;
        bool free = PLAT::tryLockFd(f.handle());
        if (free) PLAT::unlockFd(f.handle());
        return !free;
    }
    std::string serverPid() const {
        std::string s = TESTS::readFile(pidFile());
        while (!s.empty() && s.back() == '\n') s.pop_back();
        return s;
    }
    // True while process P runs (an ended one waiting to be reaped does not count).
    static bool alive(const std::string& p) {
        const std::string st = TESTS::readFile("/proc/" + p + "/stat");
        const size_t at = st.rfind(')');
        return at != std::string::npos && at + 2 < st.size() && st[at + 2] != 'Z';
    }
    std::string log() const { return TESTS::readFile(demo + "/SIGNSRV.LOG"); }

    std::unique_ptr<TESTS::TempWorkDir> work;
    std::string build, demo, state;
    pid_t ws[3] = {-1, -1, -1};
};

TEST_F(RunDemo, TheServerOutlivesTheWorkstationThatStartedItAndEndsAfterTheLast) {
    smallDemo();
    start(1);
    waitFor([&] { return served() && !serverPid().empty(); });
    const std::string first = serverPid();

    start(2);
    waitFor([&] { return log().find("serves") != std::string::npos && log().find(": the server") != std::string::npos; });
    EXPECT_NE(log().find(": the server (process " + first + ") serves"), std::string::npos) << log();
    EXPECT_EQ(serverPid(), first) << "no second server";

    // The first ends (with its workstation's exit code); the server has looked at the leases since
    // and goes on for the second.
    const pid_t one = ws[1];
    int st = end(1);
    EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    waitFor([&] { return !TESTS::exists(lease(one)); });
    EXPECT_TRUE(served());
    EXPECT_EQ(serverPid(), first);
    EXPECT_TRUE(alive(first));

    // The last ends: so does the server, and the folder is free for the next start.
    end(2);
    waitFor([&] { return !served() && !alive(first); });
    EXPECT_NE(log().find("no workstation runs"), std::string::npos) << log();
    EXPECT_TRUE(fs::is_empty(state + "/workstations"));
    start(1);
    waitFor([&] { return served() && serverPid() != first; });
}

// A workstation that starts while the last one ends is served all the same. The test holds the
// registration lock until both the server's look at the leases and the new workstation's
// registration wait for it, then lets them race: either the server sees the new lease and goes
// on, or it ends first and the new workstation starts a server of its own.
TEST_F(RunDemo, AWorkstationStartingWhileTheLastEndsIsServed) {
    smallDemo();
    start(1);
    waitFor([&] { return served(); });
    const std::string lockFile = state + "/workstations.lock";
    // The processes waiting for the registration lock, as the kernel lists them.
    auto waiting = [&] {
        struct stat st {};
        if (stat(lockFile.c_str(), &st) != 0) return 0;
        const std::string ino = ":" + std::to_string(st.st_ino) + " ";
        std::istringstream locks(TESTS::readFile("/proc/locks"));
        int n = 0;
        for (std::string l; std::getline(locks, l);)
            if (l.find("->") != std::string::npos && l.find(ino) != std::string::npos) ++n;
        return n;
    };
    int last = 1;
    for (int round = 0; round < 4; ++round) {
        const int next = 3 - last;
        const pid_t ending = ws[last];
        {
            PLAT::File reg;
            ASSERT_TRUE(reg.open(lockFile, PLAT::File::READWRITE, false));
            PLAT::lockFd(reg.handle());
            end(last);
            ws[next] = launch(next);
            if (TESTS::exists("/proc/locks")) waitFor([&] { return waiting() >= 2; });
        }
        waitFor([&] { return TESTS::exists(demo + "/ws" + std::to_string(next) + ".started"); });
        waitFor([&] { return !TESTS::exists(lease(ending)); });
        // A server that has just taken the folder names itself a moment later.
        waitFor([&] { return !served() || !serverPid().empty(); });
        ASSERT_TRUE(served()) << "round " << round << "\n" << log();
        ASSERT_TRUE(alive(serverPid())) << "round " << round;
        last = next;
    }
}

// Workstation 1 starts the server and ends; workstation 2, the real program, then prints an
// invoice of the demo's signing series: it is signed, and the server ends with workstation 2.
TEST_F(RunDemo, TheSecondWorkstationPrintsSignedAfterTheFirstEnded) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    ASSERT_EQ(std::system((std::string(KORVEX_BINARY_DIR) + "/mkdemo " + KORVEX_SOURCE_DIR + "/data/demo " + KORVEX_MSK +
                           " " + demo + " >/dev/null")
                              .c_str()),
              0);
    state = demo + "/drives/c/EAFDSS/.signsrv";
    TESTS::writeFile(build + "/korvex",
                     "#!/bin/sh\nif [ \"$1\" = 2 ]; then\n"
                     "  " + TESTS::fixedClockEnv("2026-12-10 09:05:00") + "exec " KORVEX_BIN " \"$@\"\n"
                     "fi\n: > \"ws$1.started\"\n"
                     "while [ ! -e \"ws$1.end\" ]; do sleep 0.02; done\n");
    start(1);
    waitFor([&] { return served() && !serverPid().empty(); });
    const std::string server = serverPid();

    TESTS::Tmux t(demo, "sh " KORVEX_SOURCE_DIR "/tools/rundemo.sh " + build + " 2");
    ASSERT_TRUE(t.waitFor("4.30", 20000)) << t.screen();  // workstation 2 runs
    const pid_t one = ws[1];
    end(1);
    waitFor([&] { return !TESTS::exists(lease(one)); });
    ASSERT_TRUE(served());

    ASSERT_TRUE(DEMOE2E::openInvoiceEditor(t)) << t.screen();
    ASSERT_TRUE(DEMOE2E::newInvoiceForAlexiou(t)) << t.screen();
    t.text("100");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("124.00")) << t.screen();
    t.keys("S-F1");
    ASSERT_TRUE(t.waitFor("ΣΤΟΙΧΕΙΑ ΤΙΜΟΛΟΓΙΟΥ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("(Ν/Ο)")) << t.screen();
    t.text("N");
    ASSERT_TRUE(t.waitFor("2....", 20000)) << t.screen();  // signed and printed
    const std::string printed = TESTS::readFile(demo + "/drives/ports/LPT1");
    EXPECT_NE(printed.find("KVX00000001"), std::string::npos) << "the device's mark on the printout";
    EXPECT_TRUE(TESTS::exists(state + "/signed/1.txt")) << log();

    ASSERT_EQ(DEMOE2E::endFromInvoiceEditor(t), 0) << t.screen();
    waitFor([&] { return !served() && !alive(server); });
}

}  // namespace
