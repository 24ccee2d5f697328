// The field tables of the older layout, the Q tables, the series files made when missing, and the
// goods files of the older layouts: small fixtures compared byte for byte after one company choice.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "shell/korvex.h"
#include "upgrades/old_layouts.h"
#include "upgrades/rebuilds.h"

namespace {

using namespace OLD;
using PLAT::gr;

class SettingsUpgrades : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        UMAS::PATH = "DATABASE\\ARXEIO0\\";
    }
    std::string dir() const { return company(0); }
    std::string read(const std::string& name) const { return TESTS::readFile(dir() + "/" + name); }
    void write(const std::string& name, const std::string& bytes) const { TESTS::writeFile(dir() + "/" + name, bytes); }
    bool has(const std::string& name) const { return TESTS::exists(dir() + "/" + name); }
    void remove(const std::string& name) const { std::filesystem::remove(dir() + "/" + name); }
    std::string failing(const std::function<void()>& fn) {
        try {
            fn();
        } catch (const PLAT::ProgramExit& e) {
            EXPECT_EQ(e.code, 2);
            return e.message;
        }
        ADD_FAILURE() << "the run did not stop";
        return "";
    }
};

// ---- Field tables -------------------------------------------------------------------------------

TEST_F(SettingsUpgrades, FieldTablesOfTheOlderLayoutAreConvertedInPlace) {
    std::map<std::string, std::string> want;
    int k = 0;
    for (const char* stem : {"PARDISK", "PARAUTO", "PARDEFK", "PARDAO", "PART1", "PARSDE"}) {
        std::string old, neu;
        for (int i = 0; i < 220; ++i) {
            std::string typos = i == 0 ? "N10" : i == 1 ? "" : i % 2 ? "AN" : "D";
            std::string name = gr("ΠΕΔΙΟ ") + std::to_string(k * 1000 + i);
            std::string status = i % 3 ? "R" : "";
            std::string times = i % 5 ? "" : "VALUE" + std::to_string(i);
            uint16_t kv = i < 200 ? uint16_t(i + 1) : 0;
            old += ORECPARTIM7(kv, name, status, typos, times);
            neu += RECPARTIM7(kv, name, status, "", typos.substr(0, 1), times);
        }
        ASSERT_EQ(old.size(), 10780u);
        write(std::string(stem) + ".DAT", old);
        want[stem] = neu;
        ++k;
    }
    // The first entry: N10 becomes N, no length rule.
    EXPECT_EQ(want["PARDISK"].substr(27, 8), S(5, "") + S(1, "N"));
    KORVEX::afterChoice();
    for (const auto& [stem, bytes] : want) EXPECT_EQ(read(stem + ".DAT"), bytes) << stem;
    KORVEX::afterChoice();  // converted once
    for (const auto& [stem, bytes] : want) EXPECT_EQ(read(stem + ".DAT"), bytes) << stem;
}

TEST_F(SettingsUpgrades, PardefkBecomesParautoOnlyWhenThereAndTablesOfOtherSizesStay) {
    write("PARDEFK.DAT", std::string(10120, 'd'));
    write("PARDISK.DAT", std::string(500, 'p'));
    KORVEX::afterChoice();
    EXPECT_EQ(read("PARAUTO.DAT"), std::string(10120, 'd'));
    EXPECT_FALSE(has("PARDEFK.DAT"));
    EXPECT_EQ(read("PARDISK.DAT"), std::string(500, 'p'));
    // Neither there: nothing made, no stop.
    remove("PARAUTO.DAT");
    KORVEX::afterChoice();
    EXPECT_FALSE(has("PARAUTO.DAT") || has("PARDEFK.DAT"));
}

TEST_F(SettingsUpgrades, QTablesAreCopiedFromTheirNTwinsWhenMissing) {
    std::string n(10120, '\0');
    for (size_t i = 0; i < n.size(); ++i) n[i] = char(i * 7);
    write("NPARDEFK.dat", n);
    remove("QPARDEFK.dat");
    write("QPARAUTO.dat", "kept");
    remove("QPARDILO.dat");
    remove("NPARDILO.dat");
    KORVEX::afterChoice();
    EXPECT_EQ(read("QPARDEFK.DAT"), n);
    EXPECT_EQ(read("QPARAUTO.dat"), "kept");
    EXPECT_FALSE(has("QPARDILO.DAT"));
    // An empty N table cannot be copied: the run stops at its step.
    remove("QPARSDE.dat");
    write("NPARSDE.dat", "");
    std::string msg = failing([] { KORVEX::afterChoice(); });
    EXPECT_NE(msg.find("REBQPAR PARSDE"), std::string::npos) << msg;
    EXPECT_FALSE(has("QPARSDE.DAT"));
}

// ---- Series files -------------------------------------------------------------------------------

TEST_F(SettingsUpgrades, MissingSeriesFilesAreMadeWithTheirFirstSlot) {
    struct Case {
        const char* what;
        std::vector<const char*> missing;
        const char* tar;     // nullptr: no "TAR.DAT"
        const char* pare61;  // nullptr: no "ETC\pare.61"
        int32_t aa;
        Series print;        // the print values of slot 1
    } cases[] = {
        {"TAR 000125, no print settings", {"SEIRES.DAT", "PSEIRES.DAT", "ISEIRES.DAT"}, "000125", nullptr, 125,
         {"", 0, 0, 66, 0, 0, 0, 1, 0}},
        {"with print settings", {"SEIRES.DAT"}, "000125", "\x48\x03\x02\x01\x04", 125, {"", 0, 1, 72, 2, 3, 4, 1, 0}},
        {"without TAR", {"SEIRES.DAT"}, nullptr, nullptr, 1, {"", 0, 0, 66, 0, 0, 0, 1, 0}},
        {"TAR not a number", {"SEIRES.DAT"}, "AB12", nullptr, 0, {"", 0, 0, 66, 0, 0, 0, 1, 0}},
        {"only the credit notes'", {"PSEIRES.DAT"}, "000125", nullptr, 1, {"", 0, 0, 66, 0, 0, 0, 1, 0}},
    };
    for (const Case& c : cases) {
        auto before = snapshot(dir());
        for (const char* m : c.missing) remove(m);
        remove("TAR.DAT");
        if (c.tar) write("TAR.DAT", S(6, c.tar));
        std::filesystem::remove(work->file("ETC/pare.61"));
        if (c.pare61) TESTS::writeFile(work->file("ETC/pare.61"), c.pare61);
        KORVEX::afterChoice();
        for (const char* m : {"SEIRES.DAT", "PSEIRES.DAT", "ISEIRES.DAT"}) {
            bool made = std::find(c.missing.begin(), c.missing.end(), std::string(m)) != c.missing.end();
            if (!made) {
                EXPECT_EQ(read(m), before[m]) << c.what << ": " << m;
                continue;
            }
            Series first = c.print;
            first.aa = std::string(m) == "SEIRES.DAT" ? c.aa : 1;
            EXPECT_EQ(read(m), pad(RECSEIRES(first), 168)) << c.what << ": " << m;
        }
        EXPECT_EQ(TESTS::exists(work->file("ETC/pare.61")), c.pare61 != nullptr) << "never created";
    }
}

TEST_F(SettingsUpgrades, AShortTarStopsTheRunWhenTheInvoiceSeriesIsMissing) {
    remove("SEIRES.DAT");
    write("TAR.DAT", "\x06" "12");
    std::string msg = failing([] { KORVEX::afterChoice(); });
    EXPECT_NE(msg.find("CREATESEIRES"), std::string::npos) << msg;
    EXPECT_NE(msg.find("TAR.DAT"), std::string::npos) << msg;
    EXPECT_FALSE(has("SEIRES.DAT"));
}

// ---- Goods --------------------------------------------------------------------------------------

TEST_F(SettingsUpgrades, AnOldGoodsPairIsWidenedAndGrownTo1500Slots) {
    std::string emp, pemp, wantEmp, wantPemp;
    for (int i = 0; i < 500; ++i) {
        std::string code = i % 7 ? "CODE" + std::to_string(i) : "";
        emp += REC(code, uint16_t(i));
        Goods g = goods(i);
        pemp += ORECPEMP(g);
        for (int k = 24; k < 48; ++k) g.pc[k] = std::string(7, ' ');
        wantPemp += REK(g);
    }
    wantEmp = emp;
    for (int n = 1; n <= 1000; ++n) {
        wantEmp += REC(std::string(26, ' '), uint16_t(499 + n));
        wantPemp += REK(blankGoods());
    }
    ASSERT_EQ(pemp.size(), 500u * 883);
    write("EMP.DAT", emp);
    write("PEMP.DAT", pemp);
    KORVEX::afterChoice();
    EXPECT_TRUE(read("EMP.DAT") == wantEmp);
    EXPECT_TRUE(read("PEMP.DAT") == wantPemp);
    EXPECT_TRUE(read("PEMP.OLD") == pemp);
    EXPECT_FALSE(has("PEMP.NEW") || has("TEMP.DAT"));
    // A converted record: the comments at 931, tax 24 kept, 25 blank.
    Goods g = goods(3);
    EXPECT_EQ(read("PEMP.DAT").substr(3 * 1075 + 931, 24), S(23, g.sx[0]));
    EXPECT_EQ(read("PEMP.DAT").substr(3 * 1075 + 547 + 23 * 8, 16), S(7, g.pc[23]) + S(7, "       "));
    KORVEX::afterChoice();
    EXPECT_TRUE(read("EMP.DAT") == wantEmp);
    EXPECT_TRUE(read("PEMP.DAT") == wantPemp);
}

TEST_F(SettingsUpgrades, LongGoodsDetailsAreCutTo1500) {
    std::string emp = read("EMP.DAT"), pemp;
    for (int i = 0; i < 1600; ++i) pemp += REK(goods(i));
    write("PEMP.DAT", pemp);
    KORVEX::afterChoice();
    EXPECT_TRUE(read("PEMP.DAT") == pemp.substr(0, 1500 * 1075));
    EXPECT_TRUE(read("EMP.DAT") == emp);
    EXPECT_FALSE(has("TEMP.DAT") || has("PEMP.OLD"));
    // Exactly 1500: unchanged.
    KORVEX::afterChoice();
    EXPECT_TRUE(read("PEMP.DAT") == pemp.substr(0, 1500 * 1075));
}

TEST_F(SettingsUpgrades, ACutStoppedByAnOlderRunIsFinishedFromTemp) {
    std::string whole;
    for (int i = 0; i < 1550; ++i) whole += REK(goods(i));
    write("TEMP.DAT", whole);
    write("PEMP.DAT", whole.substr(0, 20 * 1075));
    KORVEX::afterChoice();
    EXPECT_TRUE(read("PEMP.DAT") == whole.substr(0, 1500 * 1075));
    EXPECT_FALSE(has("TEMP.DAT") || has("PEMP.OLD"));
}

TEST_F(SettingsUpgrades, OldGoodsDetailsOfAPartRecordStopBeforeAnyWriteAndShortCurrentOnesStay) {
    std::string pemp = ORECPEMP(goods(1)) + "xyz";
    write("PEMP.DAT", pemp);
    std::string msg = failing([] { KORVEX::afterChoice(); });
    EXPECT_NE(msg.find("REB_PEMP"), std::string::npos) << msg;
    EXPECT_EQ(read("PEMP.DAT"), pemp);
    EXPECT_FALSE(has("PEMP.NEW") || has("PEMP.OLD"));
    // Ten records of the current size: current, below the bound all the same.
    std::string shortCurrent;
    for (int i = 0; i < 10; ++i) shortCurrent += REK(goods(i));
    write("PEMP.DAT", shortCurrent);
    KORVEX::afterChoice();
    EXPECT_EQ(read("PEMP.DAT"), shortCurrent);
    EXPECT_FALSE(has("PEMP.NEW") || has("PEMP.OLD"));
}

}  // namespace
