// The export and print counter "HDD.DAT": one addition per call, never a failed caller, no wrap.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "helpers/fixture.h"
#include "platform/fatal.h"
#include "submission/disket_counter.h"

using TESTS::readFile;
using TESTS::writeFile;

namespace {

class DisketCounter : public ::testing::Test {
protected:
    void SetUp() override {
        PLAT::setThrowOnExit(true);
        work = std::make_unique<TESTS::TempWorkDir>();
        writeFile("DATABASE.TXT", "DB\\\r\n");
        mkdir("DB", 0777);
        mkdir("DB/ARXEIO0", 0777);
    }
    void TearDown() override { work.reset(); }
    static std::string le(unsigned n) { return std::string{char(n & 0xFF), char(n >> 8)}; }
    std::unique_ptr<TESTS::TempWorkDir> work;
};

TEST_F(DisketCounter, AddsOneAcrossTheByteBoundaryAndKindsDoNotMatter) {
    struct Case {
        unsigned before;
        const char* ext;
        unsigned after;
    };
    for (const Case& c : {Case{41, "IMP", 42}, Case{255, "EXP", 256}, Case{0, "DFK", 1}, Case{65534, "MTF", 65535}}) {
        writeFile("DB/ARXEIO0/HDD.DAT", le(c.before));
        EXPECT_EQ(DISKET::INCDIAS(c.ext), DISKET::Count::ADVANCED) << c.before;
        EXPECT_EQ(readFile("DB/ARXEIO0/HDD.DAT"), le(c.after)) << c.before;
        EXPECT_EQ(DISKET::readCount(), c.after);
        EXPECT_TRUE(DISKET::message(DISKET::Count::ADVANCED).empty());
    }
}

TEST_F(DisketCounter, ExtraBytesAfterTheNumberStay) {
    writeFile("DB/ARXEIO0/HDD.DAT", le(7) + "xy");
    EXPECT_EQ(DISKET::INCDIAS("IMP"), DISKET::Count::ADVANCED);
    EXPECT_EQ(readFile("DB/ARXEIO0/HDD.DAT"), le(8) + "xy");
}

TEST_F(DisketCounter, AMissingOrShortFileIsToldAndNeverCreatedOrChanged) {
    EXPECT_EQ(DISKET::INCDIAS("IMP"), DISKET::Count::MISSING);
    EXPECT_FALSE(TESTS::exists("DB/ARXEIO0/HDD.DAT"));
    EXPECT_FALSE(DISKET::readCount().has_value());
    EXPECT_FALSE(DISKET::message(DISKET::Count::MISSING).empty());

    writeFile("DB/ARXEIO0/HDD.DAT", "\x05");
    EXPECT_EQ(DISKET::INCDIAS("IMP"), DISKET::Count::DAMAGED);
    EXPECT_EQ(readFile("DB/ARXEIO0/HDD.DAT"), "\x05");
    EXPECT_FALSE(DISKET::message(DISKET::Count::DAMAGED).empty());
}

TEST_F(DisketCounter, TheLastValueStaysInsteadOfWrapping) {
    writeFile("DB/ARXEIO0/HDD.DAT", le(65535));
    EXPECT_EQ(DISKET::INCDIAS("EXP"), DISKET::Count::FULL);
    EXPECT_EQ(readFile("DB/ARXEIO0/HDD.DAT"), le(65535));
    EXPECT_FALSE(DISKET::message(DISKET::Count::FULL).empty());
}

TEST_F(DisketCounter, WithoutDatabaseFileTheCounterIsMissing) {
    unlink("DATABASE.TXT");
    EXPECT_EQ(DISKET::INCDIAS("IMP"), DISKET::Count::MISSING);
}

// Two workstations adding at the same moment: every addition counts.
TEST_F(DisketCounter, TwoProcessesLoseNoCount) {
    writeFile("DB/ARXEIO0/HDD.DAT", le(100));
    constexpr int N = 300;
    pid_t kids[2];
    for (pid_t& k : kids) {
        k = fork();
        if (k == 0) {
            PLAT::setThrowOnExit(false);
            int bad = 0;
            for (int i = 0; i < N; ++i)
                if (DISKET::INCDIAS("IMP") != DISKET::Count::ADVANCED) ++bad;
            _exit(bad ? 1 : 0);
        }
    }
    for (pid_t k : kids) {
        int st = 0;
        waitpid(k, &st, 0);
        EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    }
    EXPECT_EQ(DISKET::readCount(), 100 + 2 * N);
}

}  // namespace
