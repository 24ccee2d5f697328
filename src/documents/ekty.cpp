// The declaration print: the main page of the open declaration on the pre-printed form (print-form
// id 1) in one pass down the page, driven by the constant layout of its kind, with the per-box
// rewrites of the paper form (country text, date slashes, rate signs, underlining, endorsement).
#include <string>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/ek0.h"
#include "declarations/taxlines.h"
#include "documents/gm0.h"
#include "platform/codepage.h"
#include "print/prns.h"
#include "screen/scr.h"
#include "submission/disket_counter.h"

namespace EK0 {

namespace {

using namespace BOD;
using GM0::EKTYPV;

// A DDMMYY date as DD/MM/YY; an empty text or one that starts with a blank stays as it is.
std::string slashed(const std::string& t) {
    if (t.empty() || t[0] == ' ') return t;
    std::string s = t;
    s.insert(std::min<size_t>(2, s.size()), "/");
    s.insert(std::min<size_t>(5, s.size()), "/");
    return s;
}

bool isRateBox(int b) { return b >= 103 && b <= 138 && (b - 103) % 5 == 0; }

// The endorsement lines of an export or transit print (mask 42): the first, then the second; Up on
// the second goes back to the first.
void endorsement() {
    SCR::CALLM(42, true);
    SCR::PRINT(3, 23, UMAS::padTo(UMAS::KALOS2, 32));
    for (;;) {
        int k = 0;
        UMAS::KALOS1 = UMAS::cut(SCR::GINPUT(3, 22, 32, UMAS::KALOS1, "", SCR::socAll(), false, true, k), 32);
        UMAS::KALOS2 = UMAS::cut(SCR::GINPUT(3, 23, 32, UMAS::KALOS2, "", SCR::socAll(), false, true, k), 32);
        if (k != 1) break;
    }
    SCR::RECALL();
}

struct MainPagePrint {
    const std::string& EXT;
    PRNS::Printout o;
    const int sw3 = UMAS::PAREDE[3].TIMI, sw4 = UMAS::PAREDE[4].TIMI, sw6 = UMAS::PAREDE[6].TIMI,
              sw19 = UMAS::PAREDE[19].TIMI;
    const bool EXP = EXT == "EXP", MTF = EXT == "MTF", IMP = EXT == "IMP", DFK = EXT == "DFK";
    const double DAJ = UMAS::EVAL(AY.DAJ);

    explicit MainPagePrint(const std::string& ext) : EXT(ext) {}

    void row(const EKTYPV& r) {
        const int B = r.box;
        if (EXP && sw19 == 1 && (B == 9 || B == 10)) {
            o.tab(1);
            o.mode(2);
            o.text(B == 9 ? BOD::ON : BOD::EP);
            o.mode(1);
        }
        const std::string T = EKTYTEXT(EXT, B);
        const bool underline = ((IMP || DFK) && (B == 164 || B == 176)) || (DFK && B == 182 && !UMAS::trim(T).empty());
        if (underline) o.mode(12);
        if (B == 207) {
            if (sw3 == 2 || (sw3 == 1 && EXP)) {
                o.tab(5);
                o.text(PLAT::gr("ΚΑΛΩΣ "));
            } else if (sw3 == 1 && MTF) {
                o.tab(5);
                o.text(PLAT::gr("Α2 ΘΕΩΡΕΙΤΑΙ ΙΚΑΝΟΠΟΙΗΤΙΚΟ"));
            }
        }
        o.tab(r.col);
        o.mode(r.pitch);
        o.text(UMAS::CUTLEADSPACES(T));
        o.mode(1);
        const bool extra = B == 100 && DAJ >= 0.01;
        if (extra && !DFK) {
            o.mode(29);
            o.lf(1);
            o.tab(r.col);
            o.mode(12);
            o.text("+ " + UMAS::RIJU(AY.DAJ, 10));
            o.mode(13);
            o.lf(1);
            o.tab(r.col);
            o.text(FMT(UMAS::EVAL(SOB(DIA, GV, 100)) + DAJ, 10, 2));
            o.lf(1);
            o.mode(26);
        }
        if (extra) {
            o.mode(22);
            o.lf(1);
            o.mode(26);
        } else {
            o.lf(r.lf);
        }
        if (B == 96 && !DFK) {
            o.mode(22);
            o.lf(1);
            o.mode(26);
        }
        if ((IMP || DFK) && (B == 164 || B == 176 || B == 182)) o.mode(13);
        if (B == 207 && sw4 == 1 && (EXP || MTF)) {
            o.tab(12);
            o.text(UMAS::KALOS1);
            o.lf(1);
            o.tab(10);
            o.text(UMAS::KALOS2);
        }
    }

    void run() {
        o.open(UMAS::PE_DIAS);
        o.mode(1);
        if (sw6 > 0) o.mode(8);
        if (DFK) {
            o.mode(22);
            o.lf(1);
            o.mode(26);
            o.lf(2);
            for (const EKTYPV& r : GMDEFK::PVDEFK) row(r);
        } else {
            for (const EKTYPV& r : GM0::PV) row(r);
        }
        if (sw6 > 0) o.mode(9);
        o.mode(66);
        o.mode(11);
        o.F.close();
    }
};

}  // namespace

std::string EKTYTEXT(const std::string& EXT, int B) {
    const int sw5 = UMAS::PAREDE[5].TIMI;
    const bool EXP = EXT == "EXP", MTF = EXT == "MTF", IMP = EXT == "IMP";
    std::string T = SOB(DIA, GV, B);
    if (((B == 11 && EXP) || (B == 21 && !EXP && !MTF)) && !UMAS::HLEK4 && sw5 != 1) {
        if (sw5 == 0) T += " GR";
        if (sw5 == 2) T = "GR " + T;
    }
    if (B == 34 && sw5 != 1) {
        if (sw5 == 0) T += " GR";
        if (sw5 >= 2 && sw5 <= 4) T = "GR " + T;
    }
    if (B == 35 && sw5 != 1) {
        const std::string C = SOB(DIA, GV, 34), D = SOB(DIA, GV, EXP ? 11 : 21);
        const std::string marker = D.find(C) != std::string::npos ? "[1]" : "[2]";
        T = UMAS::CENTE(UMAS::trim(T), 27);
        if (sw5 == 0) T += marker;
        if (sw5 == 2 || sw5 == 3) T = marker + T;
    }
    if (B == 8 || B == 9) T = slashed(T);
    if (isRateBox(B)) {
        const int i = (B - 100) / 5 + 1;
        T += PERCENTKIND(AY.EIF[size_t(i)]) ? "%" : " ";
    }
    if (IMP && B == 96) T = "    " + T + "     " + SOB(DIA, GV, 97);
    if (MTF && B == 8) T = SOB(DIA, GV, 5);
    if (MTF && B == 5) T.clear();
    if (EXP && (B == 10 || B == 190)) T = slashed(T);
    return T;
}

void EKTY(const std::string& EXT, bool /*T2L*/) {
    if (UMAS::PAREDE[4].TIMI == 1 && (EXT == "EXP" || EXT == "MTF")) endorsement();

    // "ΕΚΤΥΠΩΣΗ (Ν/Ο) ?" ("ΕΚΤΥΠΩΣΗ Δ.Ε.Φ.Κ. (Ν/Ο) ?" for the excise kind); the transit names its T1.
    if (!PRNS::ASKPRINT(EXT == "DFK"   ? PLAT::gr("ΕΚΤΥΠΩΣΗ Δ.Ε.Φ.Κ. ")
                        : EXT == "MTF" ? PLAT::gr(" ΓΙΝΕΙ ΕΚΤΥΠΩΣΗ  Τ1  ")
                                       : PLAT::gr("ΕΚΤΥΠΩΣΗ ")))
        return;
    MainPagePrint p(EXT);
    p.run();
    UMAS::PRINTUSB();
    // The count never costs the printout: a counter that cannot advance is only told.
    const DISKET::Count c = DISKET::INCDIAS(EXT);
    SCR::RECALL();
    if (c != DISKET::Count::ADVANCED) PRNS::REPORT(DISKET::message(c));
}

}  // namespace EK0
