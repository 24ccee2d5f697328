// The manifest and D.A.O. reference counters between workstations: a counter is written back only
// under the lock of the reference counters, so a workstation ending its run while another holds the
// lock waits for it, and the counter then never goes back.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "submission/diskvas.h"

TEST(ReferenceCountersTwoWorkstations, AWriteBackWaitsForTheCountersLock) {
    PLAT::setThrowOnExit(true);
    TESTS::TempWorkDir work;
    PLAT::makeDirs("DATA");
    UMAS::PATH = "DATA\\";
    struct Case {
        const char* file;
        void (*put)();
        int32_t* counter;
    };
    for (const Case& c : {Case{"DILANAF.DAT", DISKVAS::PUTANAFDIL, &DISKVAS::ANAFDIL},
                          Case{"DAOANAF.DAT", DISKVAS::PUTANAFDAO, &DISKVAS::ANAFDAO}}) {
        SCOPED_TRACE(c.file);
        TESTS::writeFile(work.file(std::string("DATA/") + c.file), "41");
        int ready[2], go[2];
        ASSERT_EQ(pipe(ready), 0);
        ASSERT_EQ(pipe(go), 0);
        const pid_t other = fork();
        if (other == 0) {
            // The other workstation, in the middle of its own write-back: it holds the lock, and
            // when let go it moves the counter to 43 and releases the lock.
            PLAT::setThrowOnExit(false);
            UMAS::LOCK("FANAF");
            (void)!write(ready[1], "r", 1);
            char ch;
            (void)!read(go[0], &ch, 1);
            PLAT::writeWholeAtomic(UMAS::PATH + c.file, "43");
            UMAS::UNLOC("FANAF");
            _exit(0);
        }
        char ch;
        ASSERT_EQ(read(ready[0], &ch, 1), 1);
        // This workstation ends a run with reference 42 meanwhile: it waits for the lock.
        *c.counter = 42;
        std::thread mine(c.put);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_EQ(TESTS::readFile(work.file(std::string("DATA/") + c.file)), "41") << "written under the other's lock";
        (void)!write(go[1], "g", 1);
        mine.join();
        int st = 0;
        waitpid(other, &st, 0);
        EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
        EXPECT_EQ(TESTS::readFile(work.file(std::string("DATA/") + c.file)), "43") << "the counter went back";
        for (int fd : {ready[0], ready[1], go[0], go[1]}) close(fd);
    }
    UMAS::releaseAllLocks();
}
