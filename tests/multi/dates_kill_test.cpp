// The day tables of a company last written before 2010 widened to 2019 and to 2049, the process killed after each write step and
// then started normally: the folder ends as one uninterrupted run leaves it and every chain walks to
// the same documents as before.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/codec.h"
#include "shell/korvex.h"
#include "upgrades/old_layouts.h"
#include "upgrades/rebuilds.h"

namespace {

using namespace OLD;

// The days with chains, the documents on them before any widening, and the days they fall on after.
struct Chain {
    int day;
    std::vector<int32_t> docs;
};
const std::vector<Chain> TH_CHAINS{{5, {12, 13, 14}}, {7439, {20, 21}}, {0, {1}}}, DISH_CHAINS{{3000, {2000, 3000, 4000}}};

class DateUpgradeInterrupted : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        work.reset();
        work = std::make_unique<TESTS::TempWorkDir>("/dev/shm");
        install(TESTS::companies(1));
        UMAS::PATH = "DATABASE\\ARXEIO0\\";
        std::filesystem::remove(dir() + "/OK2010.DAT");
        std::filesystem::remove(dir() + "/OK2049.DAT");
        DayTable th(7440, 4), ah(7440, 4), dish(7440, 6);
        th.node(5, 12, 7440);
        th.node(7440, 13, 7441);
        th.node(7441, 14, 0);
        th.node(7439, 20, 7442);
        th.node(7442, 21, 0);
        th.node(0, 1, 0);
        dish.node(3000, 2000, 7440);
        dish.node(7440, 3000, 7441);
        dish.node(7441, 4000, 0);
        for (auto& [name, bytes] : std::map<std::string, std::string>{{"TH.DAT", th.bytes()}, {"AH.DAT", ah.bytes()},
                                                                      {"DISH.DAT", dish.bytes()}})
            TESTS::writeFile(dir() + "/" + name, bytes);
        old = snapshot(dir());
        KORVEX::afterChoice();
        converted = snapshot(dir());
        restore(old, dir());
    }
    std::string dir() const { return company(0); }
    // The documents of the chain of `head` in the table's image.
    static std::vector<int32_t> walk(const std::string& b, size_t rec, int head) {
        std::vector<int32_t> docs;
        for (int64_t r = head, steps = 0; steps < 70000 && (r + 1) * int64_t(rec) <= int64_t(b.size()); ++steps) {
            const uint8_t* p = reinterpret_cast<const uint8_t*>(b.data()) + r * int64_t(rec);
            int32_t hr = rec == 4 ? PLAT::getW(p) : PLAT::getL(p);
            if (hr != (rec == 4 ? 65000 : 40000000)) docs.push_back(hr);
            r = PLAT::getW(p + rec - 2);
            if (r == 0) break;
        }
        return docs;
    }
    void expectConverted(const std::string& what) {
        auto now = snapshot(dir());
        for (const auto& [name, bytes] : converted) EXPECT_TRUE(now[name] == bytes) << what << ": " << name;
        for (const auto& [name, bytes] : now) EXPECT_TRUE(converted.count(name)) << what << ": extra " << name;
        for (const Chain& c : TH_CHAINS) EXPECT_EQ(walk(now["TH.DAT"], 4, c.day), c.docs) << what << ": day " << c.day;
        for (const Chain& c : DISH_CHAINS) EXPECT_EQ(walk(now["DISH.DAT"], 6, c.day), c.docs) << what << ": day " << c.day;
        EXPECT_EQ(now["TH.DAT"].size(), 22323u * 4) << what;
    }
    std::map<std::string, std::string> old, converted;
};

int runChild(int stopAfter) {
    return TESTS::runInChild([&] {
        // The steps before them have nothing to do in this folder.
        REBUILDS::stopAfterWrite(stopAfter);
        REBUILDS::REB2010();
        REBUILDS::REB2049();
        return 0;
    });
}

TEST_F(DateUpgradeInterrupted, AKillAtEveryWriteStepIsFinishedByTheNextStart) {
    // The chains as the fixture lays them, before anything runs.
    for (const Chain& c : TH_CHAINS) ASSERT_EQ(walk(old["TH.DAT"], 4, c.day), c.docs);
    for (const Chain& c : DISH_CHAINS) ASSERT_EQ(walk(old["DISH.DAT"], 6, c.day), c.docs);
    for (const Chain& c : TH_CHAINS) ASSERT_EQ(walk(converted["TH.DAT"], 4, c.day), c.docs);
    for (const Chain& c : DISH_CHAINS) ASSERT_EQ(walk(converted["DISH.DAT"], 6, c.day), c.docs);
    int n = 1;
    for (;; ++n) {
        restore(old, dir());
        int status = runChild(n);
        if (WIFEXITED(status)) {
            ASSERT_EQ(WEXITSTATUS(status), 0) << "write " << n;
            break;
        }
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "write " << n;
        // A marker is there only when every table is done.
        auto mid = snapshot(dir());
        for (auto [marker, heads] : {std::pair{"OK2010.DAT", 11160u}, {"OK2049.DAT", 22320u}})
            if (mid.count(marker)) {
                for (auto [table, rec] : {std::pair{"TH.DAT", 4u}, {"AH.DAT", 4u}, {"DISH.DAT", 6u}}) {
                    EXPECT_GE(mid[table].size() / rec, heads) << "write " << n << ": " << marker << " before " << table;
                }
            }
        KORVEX::afterChoice();
        expectConverted("killed after write " + std::to_string(n));
        if (HasFailure()) break;
    }
    EXPECT_EQ(n, 23);  // three tables (new file, second name, rename) and a marker (two) per widening
}

}  // namespace
