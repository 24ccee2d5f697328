// Two workstations started on one demo installation the way `make run` starts them
// (tools/rundemo.sh): one stand-in signing server serves the exchange folder, started by the first
// and stopped only when the first ends. The program itself is played by a script that waits for a
// file, so the test decides when each workstation ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "helpers/fixture.h"
#include "platform/files.h"
#include "platform/oslock.h"

namespace fs = std::filesystem;

namespace {

class RunDemo : public ::testing::Test {
protected:
    void SetUp() override {
        work = std::make_unique<TESTS::TempWorkDir>();
        build = work->file("build");
        demo = build + "/demo";
        fs::create_directories(demo + "/DATABASE/ARXEIO0");
        fs::create_symlink(KORVEX_SIGNSRV, build + "/signsrv");
        fs::create_symlink(KORVEX_JICIS, build + "/jicis");
        // The workstation: says it started, then runs until its end file appears.
        TESTS::writeFile(build + "/korvex",
                         "#!/bin/sh\n: > \"ws$1.started\"\n"
                         "while [ ! -e \"ws$1.end\" ]; do sleep 0.02; done\n");
        fs::permissions(build + "/korvex", fs::perms::owner_all, fs::perm_options::add);
        TESTS::writeFile(demo + "/DATABASE/ARXEIO0/formi_01.txt", "EXCH\\\r\n");
    }
    void TearDown() override {
        for (int id : {1, 2})
            if (ws[id] > 0) {
                TESTS::writeFile(demo + "/ws" + std::to_string(id) + ".end", "");
                waitpid(ws[id], nullptr, 0);
            }
        work.reset();
    }

    void start(int id) {
        pid_t p = fork();
        if (p == 0) {
            execl("/bin/sh", "sh", KORVEX_SOURCE_DIR "/tools/rundemo.sh", build.c_str(), std::to_string(id).c_str(),
                  (char*)nullptr);
            _exit(127);
        }
        ws[id] = p;
        waitFor([&] { return TESTS::exists(demo + "/ws" + std::to_string(id) + ".started"); });
    }
    int end(int id) {
        TESTS::writeFile(demo + "/ws" + std::to_string(id) + ".end", "");
        int st = 0;
        waitpid(ws[id], &st, 0);
        ws[id] = -1;
        return st;
    }
    static void waitFor(const std::function<bool()>& cond) {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!cond()) {
            ASSERT_LT(std::chrono::steady_clock::now(), until) << "timed out";
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    std::string pidFile() const { return demo + "/EXCH/.signsrv/signsrv.pid"; }
    // True while a stand-in holds the exchange folder's lock.
    bool served() const {
        PLAT::File f;
        if (!f.open(pidFile(), PLAT::File::READWRITE, false)) return false;
        bool free = PLAT::tryLockFd(f.handle());
        if (free) PLAT::unlockFd(f.handle());
        return !free;
    }

    std::unique_ptr<TESTS::TempWorkDir> work;
    std::string build, demo;
    pid_t ws[3] = {-1, -1, -1};
};

TEST_F(RunDemo, TheSecondWorkstationUsesTheFirstOnesServerAndLeavesItRunning) {
    start(1);
    waitFor([&] { return TESTS::exists(pidFile()) && !TESTS::readFile(pidFile()).empty(); });
    const std::string first = TESTS::readFile(pidFile());
    ASSERT_TRUE(served());

    start(2);
    waitFor([&] { return TESTS::readFile(demo + "/SIGNSRV.LOG").find("served already") != std::string::npos; });
    EXPECT_EQ(TESTS::readFile(pidFile()), first) << "no second server";
    EXPECT_NE(TESTS::readFile(demo + "/SIGNSRV.LOG").find("(process " + first.substr(0, first.size() - 1) + ")"),
              std::string::npos);

    // The second ends: the first's server goes on and still answers for the folder.
    int st = end(2);
    EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(served());
    EXPECT_EQ(kill(std::stoi(first), 0), 0);

    // The first ends: its server with it, and the folder is free for the next start.
    end(1);
    waitFor([&] { return !served(); });
}

TEST_F(RunDemo, AServerIsStartedAgainOnceTheOneBeforeHasEnded) {
    start(1);
    waitFor([&] { return served(); });
    const std::string first = TESTS::readFile(pidFile());
    end(1);
    waitFor([&] { return !served(); });
    start(2);
    waitFor([&] { return served() && TESTS::readFile(pidFile()) != first; });
}

}  // namespace
