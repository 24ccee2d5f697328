// The duty and tax lines as one table of cases over the main page of the installed form: each case
// types some boxes, sets the tax-kind codes and switches, recomputes as the editor does (SUM, then
// SM2) and compares the boxes that must change.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/ekdo.h"
#include "declarations/taxlines.h"
#include "helpers/fixture.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "shell/install.h"

using namespace BOD;

namespace {

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

class TaxLines : public ::testing::Test {
protected:
    void SetUp() override {
        TESTS::headless();
        TESTS::loadMasks();
        for (auto& p : UMAS::PAREDE) p.TIMI = 0;
    }
    void form(const std::string& kind) {
        ASSERT_TRUE(SETFORM(kind));
        for (int b = 1; b <= BOXES; ++b) BOS(DIA, GV, b, "");
        AY = MOT{};
    }
    void put(const std::map<int, std::string>& boxes) {
        for (const auto& [b, t] : boxes) BOS(DIA, GV, b, t);
    }
    void recompute(const std::string& kind) {
        SUM(DIA, GV, MAIN_FV, MAIN_SJ, AY, kind);
        SM2(DIA, GV, MAIN_FO, MAIN_FV, MAIN_SJ, AY, kind);
    }
    std::string box(int b) const { return trim(SOB(DIA, GV, b)); }
};

// Tax line i: type 96+5i, base 97+5i, rate 98+5i, amount 99+5i.
int base(int i) { return 97 + 5 * i; }
int rate(int i) { return 98 + 5 * i; }
int amount(int i) { return 99 + 5 * i; }

struct Case {
    const char* name;
    const char* kind;
    std::map<int, int> switches;         // general switch -> value
    std::map<int, std::string> boxes;    // typed boxes
    std::map<int, int> codes;            // tax line -> tax-kind code
    std::map<int, std::string> expect;   // box -> trimmed text afterwards
    int passes = 1;                      // recomputations
};

// A coded value row 1 giving the statistical value V: "V/1" with a currency code.
std::map<int, std::string> value(const std::string& v, std::map<int, std::string> more = {}) {
    more[145] = "USD";
    more[146] = v + "/1";
    return more;
}

TEST_F(TaxLines, TableOfCases) {
    const Case cases[] = {
        {"percentage on the value (code 2)", "IMP", {}, value("1234.56", {{rate(1), "10"}}), {{1, 2}},
         {{base(1), "1234.56"}, {amount(1), "123.46"}, {141, "123.46"}, {176, "123.46"}, {100, "1234.56"},
          {179, "1234.56"}, {177, "1358.02"}}},
        {"half cent: amount blank, payable 0.01", "IMP", {}, value("0.50", {{rate(1), "1"}}), {{1, 2}},
         {{base(1), "0.50"}, {amount(1), ""}, {141, "0.01"}}},
        {"exempt twin (code 6) shows but does not pay", "IMP", {}, value("1000", {{rate(1), "5"}}), {{1, 6}},
         {{amount(1), "50.00"}, {141, ""}, {176, "50.00"}}},
        {"code 17 on line 1 does nothing", "IMP", {}, value("100", {{rate(1), "10"}, {amount(1), "7.00"}}),
         {{1, 17}}, {{amount(1), "7.00"}, {base(1), ""}}},
        {"code 17 on line 3 takes line 2 as computed", "IMP", {},
         value("1000", {{rate(2), "10"}, {rate(3), "50"}, {amount(2), "1.00"}}), {{2, 2}, {3, 17}},
         {{amount(2), "100.00"}, {base(3), "100.00"}, {amount(3), "50.00"}, {141, "150.00"}}},
        {"code 7 reads line 5 as it stood before", "IMP", {},
         value("1000", {{rate(2), "10"}, {rate(5), "10"}, {amount(5), "5.00"}}), {{2, 7}, {5, 2}},
         {{base(2), "1005.00"}, {amount(2), "100.50"}, {amount(5), "100.00"}, {141, "100.00"}}},
        {"code 7: a second recomputation changes line 2", "IMP", {},
         value("1000", {{rate(2), "10"}, {rate(5), "10"}, {amount(5), "5.00"}}), {{2, 7}, {5, 2}},
         {{base(2), "1100.00"}, {amount(2), "110.00"}}, 2},
        {"code 19 is an offset", "IMP", {}, value("1000", {{rate(1), "10"}, {amount(2), "25"}}), {{1, 2}, {2, 19}},
         {{amount(2), "-25.00"}, {141, "75.00"}}},
        {"code 19 typed 0 becomes one blank", "IMP", {}, value("1000", {{amount(2), "0"}}), {{2, 19}},
         {{amount(2), ""}}},
        {"two lines of code 1: only the second pays", "IMP", {},
         value("1000", {{rate(1), "10"}, {rate(2), "20"}}), {{1, 1}, {2, 1}},
         {{base(1), "1000.00"}, {amount(1), "100.00"}, {amount(2), "200.00"}, {141, "200.00"}}},
        {"code 13 net mass scaled by switch 10 = 3", "IMP", {{10, 3}}, value("100", {{86, "1500"}, {rate(1), "2.5"}}),
         {{1, 13}}, {{base(1), "1.50"}, {amount(1), "3.75"}, {141, "3.75"}}},
        {"code 13 with switch 10 = 7 keeps the mass", "IMP", {{10, 7}},
         value("100", {{86, "1500"}, {rate(1), "2.5"}}), {{1, 13}}, {{base(1), "1500.00"}, {amount(1), "3750.00"}}},
        {"code 13 quantity with switch 16 = 1 decimals", "IMP", {{10, 3}, {16, 1}},
         value("100", {{86, "1500"}, {rate(1), "2.5"}}), {{1, 13}}, {{base(1), "1.500"}}},
        {"code 15 after the colon", "IMP", {}, value("100", {{89, "LTR:200"}, {rate(1), "0.3"}}), {{1, 15}},
         {{base(1), "200.00"}, {amount(1), "60.00"}}},
        {"code 15 without a colon", "IMP", {}, value("100", {{89, "200"}, {rate(1), "0.3"}}), {{1, 15}},
         {{base(1), "200.00"}, {amount(1), "60.00"}}},
        {"code 15 scaled by switch 11 = 2", "IMP", {{11, 2}}, value("100", {{89, "LTR:200"}, {rate(1), "3"}}),
         {{1, 15}}, {{base(1), "2.00"}, {amount(1), "6.00"}}},
        {"code 23 Plato", "IMP", {}, value("100", {{89, "HLT:10"}, {99, "12"}, {rate(1), "0.5"}}), {{1, 23}},
         {{base(1), "10x12x"}, {amount(1), "60.00"}, {176, "60.00"}}},
        {"code 23 excise reads the degrees from SJ-4", "DFK", {},
         value("100", {{89, "HLT:10"}, {96, "3"}, {99, "12"}, {rate(1), "0.5"}}), {{1, 23}},
         {{base(1), "10x3x"}, {amount(1), "15.00"}}},
        {"code 20 on the value and the quantity taxes before", "IMP", {},
         value("1000", {{89, "LTR:100"}, {rate(1), "1"}, {rate(2), "10"}}), {{1, 15}, {2, 20}},
         {{amount(1), "100.00"}, {base(2), "1100.00"}, {amount(2), "110.00"}, {141, "210.00"}}},
        {"code 22 retail: quantity times packages", "IMP", {},
         value("100", {{90, "4"}, {69, "2.5"}, {rate(1), "10"}}), {{1, 22}},
         {{base(1), "10.00"}, {amount(1), "1.00"}, {141, "1.00"}}},
        {"code 25 on the taxes", "IMP", {}, value("1000", {{rate(1), "10"}, {rate(2), "50"}}), {{1, 2}, {2, 25}},
         {{base(2), "100.00"}, {amount(2), "50.00"}, {141, "150.00"}, {176, "100.00"}}},
        {"code 4 typed amount", "IMP", {}, value("1000", {{amount(1), "12.5"}}), {{1, 4}},
         {{amount(1), "12.50"}, {141, "12.50"}, {176, "12.50"}}},
        {"code 3 counts in the payable total only", "IMP", {}, value("1000", {{amount(1), "30"}}), {{1, 3}},
         {{amount(1), "30"}, {141, "30.00"}, {176, ""}}},
        {"code 27 on SJ-1", "IMP", {}, value("1000", {{99, "200"}, {rate(1), "10"}}), {{1, 27}},
         {{base(1), "200.00"}, {amount(1), "20.00"}, {141, "20.00"}, {176, ""}}},
        {"code 29 after the colon of SJ-10", "IMP", {}, value("100", {{90, "KG:50"}, {rate(1), "2"}}), {{1, 29}},
         {{base(1), "50.00"}, {amount(1), "100.00"}}},
        {"code 1 on the value for VAT", "IMP", {}, value("1000", {{rate(1), "10"}, {rate(2), "24"}}),
         {{1, 2}, {2, 1}}, {{base(2), "1000.00"}, {amount(2), "240.00"}, {141, "340.00"}, {177, "1100.00"}}},
        {"code 1 reads the duties of the call before", "IMP", {}, value("1000", {{rate(1), "10"}, {rate(2), "24"}}),
         {{1, 2}, {2, 1}}, {{base(2), "1100.00"}, {amount(2), "264.00"}, {141, "364.00"}}, 2},
        {"export: no value for VAT, code 1 has no base", "EXP", {}, value("1000", {{rate(1), "24"}}), {{1, 1}},
         {{177, ""}, {178, ""}, {base(1), ""}, {amount(1), ""}, {179, "1000.00"}}},
        {"procedure 07 blanks the value for VAT", "IMP", {}, value("1000", {{84, "0700"}}), {},
         {{177, ""}, {179, "1000.00"}, {100, "1000.00"}}},
        {"an uncoded row counts in the totals, not in the value", "IMP", {},
         value("1000", {{152, "200"}}), {}, {{100, "1000.00"}, {179, "1200.00"}, {177, "1200.00"}, {152, "200.00"}}},
        {"division by the rate", "IMP", {}, {{145, "USD"}, {146, "1000/1.25"}}, {}, {{148, "800.00"}}},
        {"a divisor of 0.01 or less gives nothing", "IMP", {}, {{145, "USD"}, {146, "1000/0.01"}}, {},
         {{148, ""}}},
        {"multiplication", "IMP", {}, {{145, "USD"}, {146, "100*0.9"}}, {}, {{148, "90.00"}}},
        {"multiplication in euro leaves the amount", "IMP", {}, {{145, "EUR"}, {146, "100*0.9"}, {148, "5"}}, {},
         {{148, "5"}, {100, "5.00"}}},
        {"no operator blanks the code and the third box", "IMP", {},
         {{145, "USD"}, {146, "1000"}, {147, "EUR"}, {148, "7"}}, {}, {{145, ""}, {147, ""}, {148, "7.00"}}},
        {"an uncoded amount is rounded to cents", "IMP", {}, {{148, "12.344"}, {152, "0.006"}}, {}, {{148, "12.34"}, {152, "0.01"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form(c.kind);
        for (auto& p : UMAS::PAREDE) p.TIMI = 0;
        for (const auto& [n, v] : c.switches) UMAS::PAREDE[size_t(n)].TIMI = uint8_t(v);
        put(c.boxes);
        for (const auto& [line, code] : c.codes) AY.EIF[size_t(line)] = uint8_t(code);
        for (int p = 0; p < c.passes; ++p) recompute(c.kind);
        for (const auto& [b, t] : c.expect) EXPECT_EQ(box(b), t) << "box " << b;
    }
}

TEST_F(TaxLines, LabelsAndEmptyPage) {
    form("IMP");
    put(value("1000", {{rate(1), "10"}}));
    AY.EIF[1] = 2;
    recompute("IMP");
    EXPECT_EQ(box(174), PLAT::gr("ΔΑΣΜΟΙ κλπ ΕΞΟΔΑ"));
    EXPECT_EQ(box(178), PLAT::gr("ΑΞΙΑ ΓΙΑ Φ.Π.Α."));
    EXPECT_EQ(box(180), PLAT::gr("Σ Υ Ν Ο Λ Ο   EURO"));
    // An empty page computes to an empty page.
    form("IMP");
    recompute("IMP");
    for (int b = 100; b <= 180; ++b) EXPECT_EQ(box(b), "") << b;
}

TEST_F(TaxLines, MyRound) {
    EXPECT_EQ(MYROUND(0.5), 1);
    EXPECT_EQ(MYROUND(12345.6), 12346);
    EXPECT_EQ(MYROUND(2.5), 3);  // the fraction is raised first: an exact half goes up
    EXPECT_EQ(MYROUND(1.49999995), 2);
    EXPECT_EQ(MYROUND(2.49), 2);
    EXPECT_EQ(MYROUND(-1.2), -1);
    // Amounts beyond the 64-bit range (a box read as 1E300) round to 0, never to a wrapped value.
    for (double x : {1e300, -1e300, 9.3e18, std::nan(""), HUGE_VAL}) EXPECT_EQ(MYROUND(x), 0) << x;
    EXPECT_EQ(MYROUND(9.1e18), int64_t(9.1e18));
}

// FOT puts the chosen tax on a line by its kind: percentage, quantity or fixed amount.
TEST_F(TaxLines, PuttingATaxOnALine) {
    form("IMP");
    auto tax = [](int n, const char* kv, const char* fo, const char* ps, uint8_t ei) {
        KVDI::RECTAX t{kv, PLAT::gr(fo), ps, ei};
        t.encode(UMAS::PTAX.data() + size_t(n - 1) * KVDI::RECTAX::SIZE);
    };
    UMAS::PTAX.fill(0);
    tax(1, "A00", "ΔΑΣΜΟΣ", "12", 2);
    tax(2, "B10", "ΦΟΡΟΣ ΚΑΤΑΝΑΛ", "2.5", 13);
    tax(3, "C20", "ΠΑΡΑΒΟΛΟ ΤΕΛΩΝ", "15", 4);
    tax(4, "D30", "ΤΕΛΟΣ", "3", 15);
    put({{base(1), "9"}, {amount(1), "9"}});
    KVDI::V0C = 1;
    FOT(DIA, GV, 101, MAIN_OFS, AY);
    EXPECT_EQ(box(101), "A00");
    EXPECT_EQ(SOB(DIA, GV, rate(1)), "  12.00");
    EXPECT_EQ(box(base(1)), "");
    EXPECT_EQ(box(amount(1)), "");
    EXPECT_EQ(DIA.CCH(GV.ROW(rate(1)), GV.COL(rate(1)) + 7), '%');
    EXPECT_EQ(AY.EIF[1], 2);

    UMAS::PAREDE[12].TIMI = 1;
    KVDI::V0C = 2;
    FOT(DIA, GV, 106, MAIN_OFS, AY);
    EXPECT_EQ(SOB(DIA, GV, rate(2)), "  2.500");
    EXPECT_EQ(AY.EIF[2], 13);
    KVDI::V0C = 4;
    FOT(DIA, GV, 116, MAIN_OFS, AY);
    EXPECT_EQ(SOB(DIA, GV, rate(4)), "      3");

    // A fixed amount: the name runs on from the base box into the rate box.
    KVDI::V0C = 3;
    DIA.CCH(GV.ROW(rate(3)), GV.COL(rate(3)) + 7) = '%';
    FOT(DIA, GV, 111, MAIN_OFS, AY);
    EXPECT_EQ(box(amount(3)), "15.00");
    EXPECT_EQ(box(base(3)), PLAT::gr("ΠΑΡΑΒΟΛΟ Τ"));
    EXPECT_EQ(box(rate(3)), PLAT::gr("ΕΛΩΝ"));
    EXPECT_EQ(DIA.CCH(GV.ROW(rate(3)), GV.COL(rate(3)) + 7), ' ');
    EXPECT_EQ(AY.EIF[3], 4);
}

// The per-code totals of a printing run: the main page's first seven lines, then each sheet adds to
// the slot of its code or takes a free one.
TEST_F(TaxLines, PerCodeTotals) {
    form("IMP");
    put({{142, "    IMP"}, {101, "A00"}, {104, "10"}, {106, "B00"}, {109, "5"}, {136, "Z00"}, {139, "99"}, {141, "114"}});
    double SU = 0;
    EKDO::LAST(true, SU);
    EXPECT_EQ(EKDO::SFO[1], "A00");
    EXPECT_EQ(EKDO::SPO[2], 5);
    EXPECT_EQ(SU, 114);
    for (int b = 1; b <= SHEET_BOXES; ++b) BOS(BIS, GB, b, "");
    BOS(BIS, GB, 51, "B00");
    BOS(BIS, GB, 54, "7");
    BOS(BIS, GB, 56, "C00");
    BOS(BIS, GB, 59, "3");
    BOS(BIS, GB, 91, "10");
    EKDO::LAST(false, SU);
    EXPECT_EQ(EKDO::SPO[2], 12);
    EXPECT_EQ(EKDO::SFO[3], "C00");
    EXPECT_EQ(EKDO::SPO[3], 3);
    EXPECT_EQ(SU, 124);
    // A warehousing declaration groups only the sheets.
    put({{142, "    MET"}});
    SU = 0;
    EKDO::LAST(true, SU);
    EXPECT_EQ(EKDO::SFO[1], "");
}

}  // namespace

// The demo's own currency and tax tables give the amounts worked by hand: an import of 10000 USD.
// The demo quotes a rate as dollars to one euro (1.0850): 10000 / 1.0850 = 9216.5898.. -> 9216.59.
// Duty A00 (a duty on the customs value) at 10%: 92165.9 -> 921.66. VAT B00 24% on the value plus
// the duties: 9216.59 + 921.66 = 10138.25, x 24 = 243318 -> 2433.18. Payable 921.66 + 2433.18.
TEST_F(TaxLines, TheDemoTablesGiveTheAmountsWorkedByHand) {
    TESTS::TempWorkDir work;
    INSTALL::seedCodeTables(work.path(), std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables");
    const std::string nom = TESTS::readFile(work.file("NOM.DAT"));
    const std::string tax = TESTS::readFile(work.file("TAX.DAT"));
    ASSERT_EQ(nom.size(), 1214u);
    ASSERT_EQ(tax.size(), UMAS::PTAX_SIZE);
    // Entry 1 of the currencies: KV[4] NO[20] ST[3] MO IG[8] IS[8].
    const auto* usd = reinterpret_cast<const uint8_t*>(nom.data()) + 14;
    ASSERT_EQ(PLAT::getS(usd + 26, 3), "USD");
    const std::string rateText = PLAT::getS(usd + 41, 8);
    EXPECT_EQ(rateText, "1.0850");
    std::copy(tax.begin(), tax.end(), UMAS::PTAX.begin());

    form("IMP");
    put({{145, "USD"}, {146, UMAS::LEJU("10000", 10) + "/" + rateText}});
    PRD(DIA, GV, 146);
    // The duty on line 1 (entry 1, A00), its rate typed; the VAT on line 2 (entry 3, B00).
    KVDI::V0C = 1;
    FOT(DIA, GV, 101, 101, AY);
    ASSERT_EQ(box(101), "A00");
    BOS(DIA, GV, rate(1), "10");
    KVDI::V0C = 3;
    FOT(DIA, GV, 106, 101, AY);
    ASSERT_EQ(box(106), "B00");
    // The editor recomputes on every box it enters and leaves; the VAT reads the value for VAT of
    // the computation before, so it settles at the second.
    recompute("IMP");
    recompute("IMP");
    EXPECT_EQ(box(148), "9216.59");
    EXPECT_EQ(box(100), "9216.59");
    EXPECT_EQ(box(base(1)), "9216.59");
    EXPECT_EQ(box(amount(1)), "921.66");
    EXPECT_EQ(box(176), "921.66") << "only the duty is a duty";
    EXPECT_EQ(box(177), "10138.25");
    EXPECT_EQ(box(base(2)), "10138.25");
    EXPECT_EQ(box(amount(2)), "2433.18");
    EXPECT_EQ(box(141), "3354.84");
}
