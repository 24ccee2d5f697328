// Two workstations: a list read while another workstation stores under "FDIA" waits for the store
// to end and then sees it whole.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>

#include "../screen/dias_lists_fixture.h"
#include "platform/fatal.h"

using namespace LISTTEST;
using Clock = std::chrono::steady_clock;

namespace {

// Another workstation holding "FDIA" for 300 ms: a child process that takes the lock, runs TAKEN,
// lets the test go on, waits, and runs BEFOREFREE, whose result is its exit code (4 when either
// throws, 5 when it cannot tell the test). Returns once the child holds the lock; -1 when it did not.
pid_t otherHoldingFDIA(const std::function<void()>& taken, const std::function<int()>& beforeFree) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        PLAT::setThrowOnExit(false);
        int rc = 0;
        try {
            UMAS::LOCK("FDIA");
            taken();
            char c = 1;
            if (write(ready[1], &c, 1) != 1) _exit(5);
            usleep(300000);
            rc = beforeFree();
            UMAS::UNLOC("FDIA");
        } catch (...) {
            rc = 4;
        }
        _exit(rc);
    }
    char c = 0;
    const bool holds = pid > 0 && read(ready[0], &c, 1) == 1;
    close(ready[0]);
    close(ready[1]);
    return holds ? pid : -1;
}

// The child's exit status once it has ended.
int endOf(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

}  // namespace

TEST_F(Lists, AListWaitsForAStoreOfAnotherWorkstation) {
    const pid_t pid = otherHoldingFDIA([] {}, [] {
        Decl d{"7001", date(2, 3, 2025), "IMP", BOD::NO_CUSTOMER, "LATE ONE", "", "0123", "LATE"};
        storeDecl(d);
        return 0;
    });
    ASSERT_GT(pid, 0);
    const auto t0 = Clock::now();
    std::vector<DIAS::REC> P;
    int CC = 0;
    DIAS::READH(P, CC, UMAS::HMVAL("010325"), UMAS::HMVAL("310325"), "IMP", false);
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
    const int status = endOf(pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_GE(waited, 250) << "the list waited for the lock";
    EXPECT_EQ(CC, 23) << "and read the store as the other workstation left it";
    EXPECT_TRUE(DIAS::ALLGOOD);
    EXPECT_EQ(P[2].KD, "7001") << "2 March, after the one stored before it";
}

// The warning about damaged declarations forgets the free areas only when no other workstation is
// storing: a store holding "FDIA" may have taken one of them and is about to write the stack back.
TEST_F(Lists, TheDamageWarningForgetsTheFreeAreasOnlyBetweenStores) {
    const std::string disd = dir() + "DISD.DAT";
    std::string stack(2000, '\0');
    stack[0] = 1;  // one free area, as a store in progress plans it
    stack[6] = 100;
    stack[10] = 50;
    const pid_t pid = otherHoldingFDIA([&] { TESTS::writeFile(disd, stack); }, [&] {
        // the store in progress still finds the stack it is working on
        return TESTS::readFile(disd) != stack ? 3 : 0;
    });
    ASSERT_GT(pid, 0);
    con->ch(27);
    DIAS::ERRORFILE();
    const int status = endOf(pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the stack was cleared under the other workstation's store";
    EXPECT_EQ(TESTS::readFile(disd), std::string(4000, '\0')) << "cleared once the store was done";
}
