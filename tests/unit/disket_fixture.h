// A company folder with the store and the synthetic form of the store tests, for the segment-file
// runs: field tables written from rows, sheets stored through the store, golden files.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "common/umas.h"
#include "config/params.h"
#include "platform/codepage.h"
#include "submission/disket_run.h"
#include "unit/store_fixture.h"

namespace DISKETTEST {

using PLAT::gr;

// One row of a field table, its texts in UTF-8.
struct Row {
    int row;
    int KV;
    const char* PEDIO = "";
    const char* STATUS = "";
    const char* MIKOS = "";
    const char* TYPOS = "";
    const char* TIMES = "";
};

inline PARAMS::PARTIM7TABLE table(const std::vector<Row>& rows) {
    PARAMS::PARTIM7TABLE t{};
    for (const Row& r : rows) {
        PARAMS::RECPARTIM7& x = t[size_t(r.row - 1)];
        x.KV = uint16_t(r.KV);
        x.PEDIO = gr(r.PEDIO);
        x.STATUS = gr(r.STATUS);
        x.MIKOS = gr(r.MIKOS);
        x.TYPOS = gr(r.TYPOS);
        x.TIMES = gr(r.TIMES);
    }
    return t;
}

// Writes the table as the company's file NAME ("NPARDISK.dat").
inline void writeTable(const std::string& name, const std::vector<Row>& rows) {
    std::string img(PARAMS::PARTIM7_SIZE, '\0');
    PARAMS::encodePARTIM7(table(rows), reinterpret_cast<uint8_t*>(img.data()));
    TESTS::writeFile("CO/" + name, img);
}

inline void expectGolden(const std::string& name, const std::string& bytes) { TESTS::expectGolden("disket/" + name, bytes); }

// Stores item n of the current declaration (number NUM) on its sheet, with the sheet boxes given
// (box, text UTF-8) and the goods record m.
inline void storeItem(const std::string& NUM, int n, const std::vector<std::pair<int, std::string>>& boxes,
                      const BOD::MOT& m = BOD::MOT{}, bool twoPerSheet = false) {
    for (int i = 1; i <= BOD::SHEET_BOXES; ++i) BOD::BOS(BOD::BIS, BOD::GB, i, "");
    const int sheet = twoPerSheet ? n / 2 + 1 : (n - 2) / 3 + 2;
    auto two = [](int v) { return std::string(v < 10 ? "0" : "") + std::to_string(v); };
    BOD::BM = STORE::padKey(NUM + two(sheet) + two(n), 14);
    BOD::BOB = false;
    BOD::AYB = m;
    for (const auto& [b, s] : boxes) BOD::BOS(BOD::BIS, BOD::GB, b, gr(s.c_str()));
    EXPECT_TRUE(EKDO::KATB().stored);
}

class Disket : public STORETEST::DeclStore {
protected:
    void SetUp() override {
        DeclStore::SetUp();
        UMAS::HLEK4 = false;
        STORETEST::newDeclaration("123");
    }
    void box(int n, const std::string& utf8) { STORETEST::setBox(n, gr(utf8.c_str())); }
    // A run of mode EDE over the rows, walked directly (no window).
    DISKET::RUN walk(const std::vector<Row>& rows, const std::string& EXT = "IMP", uint8_t EDE = 0) {
        DISKET::RUN R;
        R.EXT = EXT;
        R.EDE = EDE;
        R.TAB = table(rows);
        R.IST2L = DISKET::ISDECLT2L();
        DISKET::WALK(R);
        return R;
    }
    static std::string errors(const DISKET::RUN& R) {
        std::string s;
        for (const auto& l : R.ERR) s += PLAT::cp737ToUtf8(l) + "\n";
        return s;
    }
};

}  // namespace DISKETTEST
