// The code tables are loaded and stored under "FKVD": another workstation holding it makes the
// load and the store wait, and the lock is free again afterwards.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/fatal.h"
#include "shell/install.h"

using Clock = std::chrono::steady_clock;

namespace {

class CodeTableLock : public ::testing::Test {
protected:
    void SetUp() override {
        PLAT::setThrowOnExit(true);
        work = std::make_unique<TESTS::TempWorkDir>();
        INSTALL::makeCompanyFolder(work->file("CO"));
        UMAS::PATH = "CO\\";
        ASSERT_EQ(pipe(ready), 0);
    }
    void TearDown() override {
        close(ready[0]);
        close(ready[1]);
        UMAS::releaseAllLocks();
        work.reset();
    }
    // Another workstation takes "FKVD" and keeps it for 300 ms.
    pid_t holder() {
        pid_t pid = fork();
        if (pid == 0) {
            PLAT::setThrowOnExit(false);
            UMAS::LOCK("FKVD");
            (void)!write(ready[1], "r", 1);
            usleep(300000);
            UMAS::UNLOC("FKVD");
            _exit(0);
        }
        char c;
        EXPECT_EQ(read(ready[0], &c, 1), 1);
        return pid;
    }
    std::unique_ptr<TESTS::TempWorkDir> work;
    int ready[2] = {-1, -1};
};

TEST_F(CodeTableLock, LoadAndStoreWaitForTheHolderAndFreeTheLock) {
    std::vector<uint8_t> img(KVDI::F_APO.size);
    bool BO = true;

    pid_t p = holder();
    auto t0 = Clock::now();
    KVDI::RUF("APO", img.data(), img.size(), BO);
    EXPECT_GE(Clock::now() - t0, std::chrono::milliseconds(200));
    EXPECT_FALSE(BO);
    waitpid(p, nullptr, 0);
    EXPECT_EQ(TESTS::readFile(work->file("CO/FKVD.DAT")), std::string(1, '\0'));

    img[0] = 1;
    img[1] = 'A';
    BO = true;
    p = holder();
    t0 = Clock::now();
    KVDI::KAT("APO", img.data(), img.size(), BO);
    EXPECT_GE(Clock::now() - t0, std::chrono::milliseconds(200));
    EXPECT_FALSE(BO);
    waitpid(p, nullptr, 0);
    EXPECT_EQ(TESTS::readFile(work->file("CO/FKVD.DAT")), std::string(1, '\0'));
    EXPECT_EQ(TESTS::readFile(work->file("CO/APO.DAT")).substr(0, 2), "\1A");
}

}  // namespace
