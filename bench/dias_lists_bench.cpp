// The declaration lists over a store of 60000 declarations of the five kinds: the list by date of
// one year and a search over the same year.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench.h"
#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/dias.h"
#include "declarations/store.h"
#include "declarations/store_form.h"
#include "platform/console.h"

namespace {

using Clock = std::chrono::steady_clock;
double ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

std::vector<uint8_t> dia(BOD::SCB_BYTES), gv(BOD::GGV_BYTES);

// Four boxes to a row, 24 cells of free text each except the number and the date.
void form() {
    BOD::DIA = BOD::SCB{dia.data(), BOD::PAGE_ROWS};
    BOD::GV = BOD::GGV{gv.data(), BOD::BOXES};
    for (size_t i = 0; i < dia.size(); i += 2) dia[i] = ' ', dia[i + 1] = 7;
    for (int i = 1; i <= BOD::BOXES; ++i) {
        BOD::GV.at(i, 1) = uint8_t(1 + ((i - 1) % 3) * 26);
        BOD::GV.at(i, 2) = uint8_t(1 + (i - 1) / 3);
        BOD::GV.at(i, 3) = 24;
        BOD::GV.at(i, 4) = BOD::TY_TEXT;
    }
    BOD::GV.at(1, 4) = BOD::TY_NUM;
    BOD::GV.at(8, 4) = BOD::TY_DATE;
    BOD::GV.at(8, 3) = 6;
}

std::string dateOfDay(int z) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d%02d%02d", 1 + z % 372 % 31, 1 + z % 372 / 31, (90 + z / 372) % 100);
    return b;
}

const char* const KINDS[] = {"IMP", "EXP", "MTF", "MET", "DFK"};

void listsBench() {
    PLAT::setConsole(std::make_unique<PLAT::HeadlessConsole>());
    char tmpl[] = "/tmp/korvex-lists-bench-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    UMAS::PATH = dir + "/";
    STORE::installFiles(UMAS::PATH);
    form();
    std::mt19937 rnd(11);
    // 60000 declarations, 5000 of them in 2024 (a fifth of each kind), the rest over 1990 to 2049
    constexpr int N = 60000;
    const int y2024 = *STORE::dayKey("010124");
    auto t0 = Clock::now();
    for (int i = N - 1; i >= 0; --i) {
        const bool thisYear = i % 12 == 0;
        int z = thisYear ? y2024 + (i / 12) % 366 : (i * 7) % STORE::DAY_HEADS;
        if (!thisYear && z >= y2024 && z < y2024 + 372) z += 372;
        const std::string n = std::to_string(1 + i % 9) + std::to_string(10000 + i / 9);
        for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "");
        BOD::BOS(BOD::DIA, BOD::GV, 1, n);
        BOD::BOS(BOD::DIA, BOD::GV, 8, dateOfDay(z));
        BOD::BOS(BOD::DIA, BOD::GV, 7, i % 50 == 0 ? "0123" : "0456");
        BOD::BOS(BOD::DIA, BOD::GV, 12, "SENDER " + std::to_string(rnd() % 1000));
        BOD::BOS(BOD::DIA, BOD::GV, 22, "RECEIVER " + std::to_string(rnd() % 1000));
        BOD::BOS(BOD::DIA, BOD::GV, 72, "GOODS OF DECLARATION " + n);
        for (int k = 0; k < 25; ++k)
            BOD::BOS(BOD::DIA, BOD::GV, 80 + int(rnd() % 200), std::string(1 + rnd() % 20, char('A' + rnd() % 26)));
        BOD::BOS(BOD::DIA, BOD::GV, 142, std::string("AAA ") + KINDS[(i / 12) % 5] + " EUR");
        BOD::TM = STORE::padKey(n, 10);
        BOD::HM = dateOfDay(z);
        BOD::PR = 65000;
        BOD::BOO = false;
        BOD::CSM = -1;
        if (!EK0::KATD().stored) {
            std::printf("store refused at %d\n", i);
            return;
        }
    }
    std::printf("lists: store 60000 declarations:      %8.0f ms\n", ms(t0, Clock::now()));

    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const int32_t from = UMAS::HMVAL("010124"), to = UMAS::HMVAL("311224");
    std::vector<double> byDate, search;
    std::vector<DIAS::REC> P;
    int CC = 0, found = 0;
    for (int rep = 0; rep < 7; ++rep) {
        auto a = Clock::now();
        DIAS::READH(P, CC, from, to, "IMP", false);
        auto b = Clock::now();
        DIAS::READH(P, found, from, to, "IMP", false,
                    [](const DIAS::REC& r) { return DIAS::FILTEROK(r, "SENDER 1", "", "123"); }, true);
        auto c = Clock::now();
        byDate.push_back(ms(a, b));
        search.push_back(ms(b, c));
    }
    std::printf("lists: one year by date (%d rows):    median %6.1f ms (aim: under 50)\n", CC, median(byDate));
    std::printf("lists: search over one year (%d rows): median %6.1f ms (aim: under 50)\n", found, median(search));
    std::filesystem::remove_all(dir);
}

BENCH::Register reg("lists", listsBench);

}  // namespace
