// Workstations side by side: two print 500 CMR notes each, every note with the counter's current
// number, while the counter is watched: it never goes back and ends one above the highest number
// printed. Two others store the N105 forms of two customers over and over: both records intact.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "common/umas.h"
#include "documents/ekd3.h"
#include "helpers/fixture.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "print/prns.h"

namespace {

int counter() {
    const auto lines = PLAT::readLines(UMAS::PATH + "AA_CMR.TXT");
    return lines && !lines->empty() ? std::atoi(lines->front().c_str()) : 0;
}

// The highest number one workstation printed, written by the child for the parent.
int highestOf(const std::string& ws) {
    const auto s = PLAT::readWhole("high" + ws);
    return s ? std::atoi(s->c_str()) : -1;
}

}  // namespace

TEST(CmrTwoWorkstations, TheCounterNeverGoesBack) {
    PLAT::setThrowOnExit(true);
    TESTS::TempWorkDir work("/dev/shm");
    PLAT::makeDirs("DATA");
    UMAS::PATH = "DATA\\";
    TESTS::writeFile(work.file("PORTS.TXT"), "LPT1 ws1.out\r\nLPT2 ws2.out\r\n");
    PLAT::makeDirs("ETC");
    std::vector<pid_t> kids;
    std::vector<int> status;
    for (const char* ws : {"1", "2"}) {
        const pid_t pid = fork();
        if (pid == 0) {
            PLAT::setThrowOnExit(false);
            UMAS::USER_ID = ws;
            PRNS::writeParEkt(UMAS::PE_CMRA, PRNS::PAR_EKT{66, 0, 0, uint8_t(ws[0] - '0'), 1});
            int high = 0;
            EKD3::Record r(EKD3::CMRR::SIZE);
            for (int i = 0; i < 500; ++i) {
                const std::string aa = EKD3::GETAA();
                r.set(EKD3::CMRR::MET[4], aa);
                EKD3::PRINTCMRA(r);
                high = std::max(high, std::atoi(aa.c_str()));
            }
            PLAT::writeWholeAtomic(std::string("high") + ws, std::to_string(high));
            _exit(0);
        }
        kids.push_back(pid);
    }
    int last = 0, backwards = 0, reads = 0;
    for (;;) {
        int st = 0;
        bool running = false;
        for (pid_t p : kids) {
            const pid_t r = waitpid(p, &st, WNOHANG);
            if (r == 0) running = true;
            if (r == p) status.push_back(st);
        }
        const int now = counter();
        backwards += now < last;
        last = std::max(last, now);
        ++reads;
        if (!running) break;
    }
    ASSERT_EQ(status.size(), 2u);
    for (int st : status) EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0) << st;
    EXPECT_EQ(backwards, 0);
    EXPECT_GT(reads, 10);
    const int high = std::max(highestOf("1"), highestOf("2"));
    EXPECT_GE(high, 500) << "the numbers rose";
    EXPECT_EQ(counter(), high + 1);
    EXPECT_NE(TESTS::readFile(work.file("ws2.out")).find(std::to_string(highestOf("2"))), std::string::npos);
}

TEST(N105TwoWorkstations, BothCustomersRecordsIntact) {
    PLAT::setThrowOnExit(true);
    TESTS::TempWorkDir work("/dev/shm");
    PLAT::makeDirs("DATA");
    UMAS::PATH = "DATA\\";
    std::vector<pid_t> kids;
    const std::pair<int, char> forms[] = {{3, 'C'}, {900, 'D'}};
    for (const auto& [rec, letter] : forms) {
        const pid_t pid = fork();
        if (pid == 0) {
            PLAT::setThrowOnExit(false);
            UMAS::MPR.resize(UMAS::MASKS + 1);
            UMAS::MPR[81] = UMAS::CONV::make(1, 1, 80, 24);
            for (int i = 0; i < 300; ++i) {
                for (int n = 1; n <= 23; ++n) EKD3::SETN105FIELD(n, std::string(70, char(letter + (i % 2) * 20)));
                EKD3::N105WRITE(rec);
                EKD3::N105READ(rec == 3 ? 900 : 3);  // reads the other's record meanwhile
            }
            for (int n = 1; n <= 23; ++n) EKD3::SETN105FIELD(n, std::string(70, letter));
            EKD3::N105WRITE(rec);
            _exit(0);
        }
        kids.push_back(pid);
    }
    for (pid_t p : kids) {
        int st = 0;
        waitpid(p, &st, 0);
        EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    }
    const std::string file = TESTS::readFile(work.file("DATA/N105.DAT"));
    ASSERT_EQ(file.size(), 901 * EKD3::N105_SIZE);
    EXPECT_EQ(file.substr(3 * EKD3::N105_SIZE, EKD3::N105_SIZE), std::string(EKD3::N105_SIZE, 'C'));
    EXPECT_EQ(file.substr(900 * EKD3::N105_SIZE, EKD3::N105_SIZE), std::string(EKD3::N105_SIZE, 'D'));
    EXPECT_EQ(file.substr(0, 3 * EKD3::N105_SIZE), std::string(3 * EKD3::N105_SIZE, ' '));
    EXPECT_EQ(file.substr(4 * EKD3::N105_SIZE, 896 * EKD3::N105_SIZE), std::string(896 * EKD3::N105_SIZE, ' '));
}
