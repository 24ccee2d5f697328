// A company folder with installed store files and a small synthetic form: four boxes to a row, so
// that tests control every box's type and length and see every byte the store writes.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/store.h"
#include "declarations/store_form.h"
#include "helpers/fixture.h"
#include "platform/fatal.h"

namespace STORETEST {

inline const char* const FILES[] = {"DISM.DAT", "DISD.DAT", "DISI.DAT", "DISN.DAT", "DISH.DAT", "DIPE.DAT"};
inline const char* const SHEET_FILES[] = {"BISM.DAT", "BISD.DAT", "BISI.DAT", "BISN.DAT"};

// Column of a box's slot on its row; the cells between the slots (13..20, 33..40, 53..66)
// belong to no box, so the "%" cells (rate box + 7) and column 65 stay outside every box.
inline int slotCol(int i) { return std::array<int, 4>{1, 21, 41, 67}[size_t((i - 1) % 4)]; }

struct Form {
    std::vector<uint8_t> dia = std::vector<uint8_t>(BOD::SCB_BYTES), gv = std::vector<uint8_t>(BOD::GGV_BYTES);
    std::vector<uint8_t> bis = std::vector<uint8_t>(BOD::SCB_BYTES), gb = std::vector<uint8_t>(BOD::GGV_BYTES);

    static void table(BOD::GGV G, int boxes, int firstRate) {
        for (int i = 1; i <= BOD::BOXES; ++i) {
            int n = i <= boxes ? i : boxes;
            G.at(i, 1) = uint8_t(slotCol(n));
            G.at(i, 2) = uint8_t(1 + (n - 1) / 4);
            G.at(i, 3) = 12;
            G.at(i, 4) = BOD::TY_TEXT;
            G.at(i, 5) = 0;
        }
        for (int i = 0; i < 8; ++i) G.at(firstRate + 5 * i, 3) = 5;
    }
    void install() {
        std::fill(dia.begin(), dia.end(), 0);
        std::fill(bis.begin(), bis.end(), 0);
        for (size_t i = 0; i < dia.size(); i += 2) dia[i] = bis[i] = ' ', dia[i + 1] = bis[i + 1] = 7;
        BOD::DIA = BOD::SCB{dia.data(), BOD::PAGE_ROWS};
        BOD::GV = BOD::GGV{gv.data(), BOD::BOXES};
        BOD::BIS = BOD::SCB{bis.data(), BOD::SHEET_ROWS};
        BOD::GB = BOD::GGV{gb.data(), BOD::BOXES};
        table(BOD::GV, BOD::BOXES, 103);
        table(BOD::GB, BOD::SHEET_BOXES, 53);
        auto type = [](BOD::GGV G, int n, int t, int len) {
            G.at(n, 4) = uint8_t(t);
            G.at(n, 3) = uint8_t(len);
        };
        type(BOD::GV, 1, BOD::TY_NUM, 10);
        type(BOD::GV, 8, BOD::TY_DATE, 6);
        type(BOD::GV, 9, BOD::TY_DATE, 6);
        type(BOD::GV, 16, BOD::TY_ZNUM, 2);
        type(BOD::GV, 20, BOD::TY_ZNUM, 4);
        type(BOD::GV, 21, BOD::TY_NUM, 9);
        type(BOD::GV, 30, BOD::TY_SHOW, 12);
        type(BOD::GV, 31, BOD::TY_SIGNED, 12);
        type(BOD::GB, 1, BOD::TY_ZNUM, 2);
        type(BOD::GB, 3, BOD::TY_ZNUM, 2);
        type(BOD::GB, 11, BOD::TY_DATE, 6);
    }
};

// A new, empty current declaration with number n (BOD::TM) and everything else cleared.
inline void newDeclaration(const std::string& n) {
    for (int i = 1; i <= BOD::BOXES; ++i) BOD::BOS(BOD::DIA, BOD::GV, i, "");
    BOD::AY = BOD::MOT{};
    BOD::TM = STORE::padKey(n, 10);
    BOD::BOS(BOD::DIA, BOD::GV, 1, n);
    BOD::HM.clear();
    BOD::PR = BOD::NO_CUSTOMER;
    BOD::BOO = false;
    BOD::CSM = -1;  // counts as changed
}

inline void setBox(int n, const std::string& s) { BOD::BOS(BOD::DIA, BOD::GV, n, s); }
inline void setDate(const std::string& d) {
    setBox(8, d);
    BOD::HM = d;
}

// Stores the current declaration and asserts it was stored.
inline STORE::Result store() {
    STORE::Result r = EK0::KATD();
    EXPECT_TRUE(r.stored) << r.refusal;
    return r;
}

class DeclStore : public ::testing::Test {
protected:
    void SetUp() override {
        PLAT::setThrowOnExit(true);
        work = std::make_unique<TESTS::TempWorkDir>();
        TESTS::headless();
        std::filesystem::create_directories("CO");
        UMAS::PATH = "CO\\";
        STORE::installFiles("CO/");
        form.install();
        BOD::LL = 23;
    }
    void TearDown() override { work.reset(); }
    std::string file(const std::string& n) const { return TESTS::readFile("CO/" + n); }
    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> m;
        for (const char* f : FILES) m[f] = file(f);
        for (const char* f : SHEET_FILES) m[f] = file(f);
        return m;
    }
    std::unique_ptr<TESTS::TempWorkDir> work;
    Form form;
};

inline std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int x : b) s += char(uint8_t(x));
    return s;
}

}  // namespace STORETEST
