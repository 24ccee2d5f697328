// Two workstations rewrite one box-40 grid and one box-44 list over and over while a third reads
// them: every read is the whole file of one writer, never a mix or a short file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "common/umas.h"
#include "documents/ekextra.h"
#include "helpers/fixture.h"
#include "platform/fatal.h"
#include "platform/files.h"

namespace {

using EKEXTRA::TDILOS;
using EKEXTRA::THESI44;

// The grid and list writer w fills every text with its own letter.
TDILOS grid(char w) {
    TDILOS t;
    for (auto& row : t.C)
        for (auto& c : row) c = std::string(20, w);
    return t;
}
THESI44 list(char w) {
    THESI44 t;
    for (int r = 0; r < THESI44::ROWS; ++r) t.CODE[size_t(r)] = std::string(4, w), t.REF[size_t(r)] = std::string(21, w);
    return t;
}

}  // namespace

TEST(SideFilesTwoWorkstations, EachReadIsOneWritersWholeFile) {
    PLAT::setThrowOnExit(true);
    TESTS::TempWorkDir work("/dev/shm");
    UMAS::PATH = "";
    EKEXTRA::WRITEGRID("77.L1", grid('A'));
    EKEXTRA::WRITET44("77.T44", list('A'));
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    std::vector<pid_t> writers;
    for (char w : {'A', 'B'}) {
        const pid_t pid = fork();
        if (pid == 0) {
            PLAT::setThrowOnExit(false);
            const TDILOS g = grid(w);
            const THESI44 l = list(w);
            while (std::chrono::steady_clock::now() < until) {
                EKEXTRA::WRITEGRID("77.L1", g);
                EKEXTRA::WRITET44("77.T44", l);
            }
            _exit(0);
        }
        writers.push_back(pid);
    }
    const TDILOS ga = grid('A'), gb = grid('B');
    const THESI44 la = list('A'), lb = list('B');
    int reads = 0, bad = 0;
    while (std::chrono::steady_clock::now() < until) {
        const auto g = PLAT::readWhole("77.L1");
        const auto l = PLAT::readWhole("77.T44");
        ASSERT_TRUE(g && l);
        bad += g->size() != TDILOS::SIZE || l->size() != THESI44::SIZE;
        TDILOS tg;
        THESI44 tl;
        EKEXTRA::READGRID("77.L1", tg);
        EKEXTRA::READT44("77.T44", tl);
        bad += !(tg == ga || tg == gb) || !(tl == la || tl == lb);
        ++reads;
    }
    for (pid_t p : writers) {
        int st = 0;
        waitpid(p, &st, 0);
        EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    }
    EXPECT_GT(reads, 10);
    EXPECT_EQ(bad, 0);
    // No temporary file is left behind.
    EXPECT_EQ(PLAT::findFiles("*").size(), 2u);
}
