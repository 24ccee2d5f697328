// The fee form: its entry screen (kind of work and amount, kept in the cells of mask 79) and the
// print of the declaration's parties, office, date, goods and amount on the pre-printed form.
#include "codes/kvdi.h"
#include "config/params.h"
#include "declarations/taxlines.h"
#include "documents/ekd2.h"
#include "documents/ekd3.h"
#include "platform/codepage.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace EKD3 {

using namespace BOD;

namespace {

void titles() {
    SCR::PRINT(30, 6, PLAT::gr("    ΕΙΔΟΣ  ΕΡΓΑΣΙΑΣ    "));
    SCR::PRINT(16, 17, PLAT::gr("  ΠΟΣΟ ΔΕΤΕ :"));
}

}  // namespace

UMAS::CONV* PDET() {
    auto key = [](int field, int mode) {
        if (field > 2) return;
        if (mode == 1) SCR::CALLM(20, true);
        if (mode == 2) SCR::RECALL();
        if (mode != 3) return;
        uint8_t kk = 3;
        if (field == 1) {
            KVDI::EMP(KVDI::V0A, true, kk);
            if (kk != 0) return;
            for (int j = 1; j <= 5; ++j) EKD2::PUTGOODSLINE(j, KVDI::V0A.RI[size_t(j)]);
        } else {
            KVDI::SFR(KVDI::V0B, true, kk);
            if (kk != 0) return;
            for (int r = 0; r < 7; ++r) EKD2::PUTGOODSCELLS(2 + r, KVDI::V0B.ME[size_t(r)].data(), 40);
        }
        SCR::CALLM(EKD2::TEXTBOX_MASK, false);
        titles();
    };
    EKD2::EDITTEXTBOX(key, titles);
    return UMAS::mask(EKD2::TEXTBOX_MASK);
}

std::string LETTERSPACE(const std::string& S, int L) {
    std::string s = S;
    for (int j = 2; j <= 2 * L - 1; j += 2) s.insert(std::min(size_t(j - 1), s.size()), " ");
    return s;
}

void EKDE(SCB P, GGV G) {
    PDET();
    SCR::CALLM(63, true);
    if (!PRNS::YES(30, 23)) {
        SCR::RECALL();
        return;
    }
    const int copies = PRNS::COP();
    const std::string b142 = SOB(P, G, 142);
    const bool exportSide =
        b142.find("EXP") != std::string::npos || b142.find("MTF") != std::string::npos;
    const std::string AMOUNT = EKD2::GOODSLINE(11);
    std::string WORDS;
    if (UMAS::EVAL(AMOUNT) != 0) PARAMS::OLOG(AMOUNT, 0, 0, WORDS);
    const std::string taxNo = UMAS::REMLCH(UMAS::REMLCH(SOB(P, G, exportSide ? 11 : 21), ' '), ':');
    const bool machine = ELE(P, G, 16, bts({2, 3, 4, 5, 6, 7, 8, 9, 10})) && b142.substr(0, 3) == PLAT::gr("ΜΗΧ");
    const std::string goods = SOB(P, G, machine ? 73 : 72).substr(0, 28);

    for (int c = 0; c < copies; ++c) {
        PRNS::Printout o;
        o.open(UMAS::PE_PIDE);
        auto at = [&](int col, const std::string& s) {
            o.tab(col);
            o.text(s);
        };
        // a text in 12 characters per inch, then back to 10
        auto narrow = [&](int col, const std::string& s) {
            o.tab(col);
            o.mode(2);
            o.text(s);
            o.mode(1);
        };
        o.mode(1);
        at(51, SOB(P, G, 6));
        o.lf(1);
        o.tab(21);
        o.mode(4);
        o.text(LETTERSPACE(taxNo, G.LEN(21)));
        o.mode(5);
        o.mode(29);
        o.lf(1);
        o.mode(23);
        o.lf(1);
        at(68, LETTERSPACE(SOB(P, G, 7), G.LEN(7)));
        o.lf(1);
        narrow(3, SOB(P, G, exportSide ? 12 : 22));
        o.lf(1);
        narrow(3, SOB(P, G, exportSide ? 13 : 23));
        at(64, LETTERSPACE(SOB(P, G, 8), G.LEN(8)));
        o.lf(1);
        narrow(3, SOB(P, G, exportSide ? 14 : 24));
        o.lf(1);
        narrow(3, exportSide ? std::string() : SOB(P, G, 25));
        o.lf(4);
        o.mode(26);
        o.lf(2);
        narrow(20, SOB(P, G, 35));
        o.lf(1);
        narrow(20, SOB(P, G, 34));
        at(63, PLAT::gr("Δ.Ε.Τ.Ε."));
        o.lf(3);
        o.mode(23);
        o.lf(1);
        at(18, SOB(P, G, 4));
        o.lf(1);
        at(30, "/" + SOB(P, G, 8));
        o.lf(1);
        o.mode(26);
        o.lf(1);
        o.tab(19);
        o.mode(3);
        o.text(goods);
        o.mode(1);
        o.lf(1);
        narrow(16, SOB(P, G, 79));
        o.lf(1);
        o.mode(29);
        o.lf(1);
        o.mode(26);
        at(20, SOB(P, G, 100));
        o.lf(1);
        o.mode(26);
        o.lf(7);
        o.tab(64);
        o.mode(6);
        o.mode(4);
        o.text(AMOUNT);
        o.mode(5);
        o.mode(7);
        o.lf(2);
        at(20, PLAT::gr("Δ.Ε.Τ.Ε."));
        o.tab(40);
        o.mode(3);
        o.text(WORDS.substr(0, std::min<size_t>(50, WORDS.size())));
        o.mode(1);
        o.lf(1);
        o.tab(40);
        o.mode(3);
        o.text(WORDS.size() > 50 ? WORDS.substr(50, 50) : std::string());
        o.mode(1);
        o.lf(1);
        for (int k = 1; k <= 10; ++k) {
            narrow(2, EKD2::GOODSLINE(k));
            if (k == 2) at(63, AMOUNT);
            o.lf(1);
        }
        o.mode(26);
        o.mode(11);
        o.F.close();
        UMAS::PRINTUSB();
    }
    SCR::RECALL();
}

}  // namespace EKD3
