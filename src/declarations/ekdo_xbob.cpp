// The item summary of a continuation-sheet item and the per-code tax totals of a printing run.

#include <algorithm>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/ekdo.h"
#include "platform/codepage.h"

namespace EKDO {

std::array<std::string, 8> SFO;
std::array<double, 8> SPO{};

namespace {

using UMAS::trim;

// Copies n cells (characters and attributes) of row r from column c to row r2 at column c2 of the
// same page, staying inside the 80 columns.
void copyCells(BOD::SCB P, int r, int c, int r2, int c2, int n) {
    for (int i = 0; i < n && c + i <= BOD::PAGE_COLS && c2 + i <= BOD::PAGE_COLS; ++i) {
        P.CCH(r2, c2 + i) = P.CCH(r, c + i);
        P.CAT(r2, c2 + i) = P.CAT(r, c + i);
    }
}

}  // namespace

void XBOB(const std::string& EXT) {
    using namespace BOD;
    const SCB P = BIS;
    const GGV G = GB;
    auto line = [&](const std::string& A, const std::string& B) {
        int room = 40 - int(A.size());
        return A + (room > 0 ? UMAS::RIJU(B, room) : "");
    };
    std::string A = trim(SOB(P, G, 19)) + " " + trim(SOB(P, G, 20));
    BOS(P, G, 129, line(A, PLAT::gr("ΧΜ: ") + trim(SOB(P, G, 32))));
    A = UMAS::PAREDE[13].TIMI == 1 ? trim(SOB(P, G, 21)) + " " + trim(SOB(P, G, 22)) : "";
    BOS(P, G, 130, line(A, PLAT::gr("ΧΚ: ") + trim(SOB(P, G, 36))));
    // The description lines with their colours; a line box longer than its description box is
    // blanked beyond it (the page cells after a description box are the form's own labels).
    for (int J = 0; J <= 5; ++J) {
        const int n = std::min(G.LEN(23 + J), G.LEN(131 + J));
        BOS(P, G, 131 + J, "");
        copyCells(P, G.ROW(23 + J), G.COL(23 + J), G.ROW(131 + J), G.COL(131), n);
    }
    BOS(P, G, 137, PLAT::gr("ΚΩΔ.TARIC: ") + SOB(P, G, 29));
    for (int J = 0; J <= 3; ++J) {
        if (!IFSP(P, G, 138 + J)) continue;
        const int code = 96 + 4 * J;
        if (SOB(P, G, code) != "   ")
            copyCells(P, G.ROW(code), G.COL(code), G.ROW(138 + J), G.COL(138 + J), 40);
        else
            BOS(P, G, 138 + J, std::string(40, ' '));
    }
    if (EXT == "MTF")
        BOS(P, G, 142, "");
    else
        BOS(P, G, 142,
            UMAS::RIJU(PLAT::gr(EXT == "EXP" ? "ΑΞΙΑΣ FOB:  EUR " : "ΑΞΙΑΣ CIF:  EUR ") + SOB(P, G, 50), 37));
}

void LAST(bool CL, double& SU) {
    using namespace BOD;
    const std::string box142 = SOB(DIA, GV, 142);
    const std::string K = box142.size() >= 7 ? box142.substr(4, 3) : "";
    if (CL) {
        for (int I = 1; I <= 7; ++I) {
            if (K == "MET") {
                SFO[size_t(I)].clear();
                SPO[size_t(I)] = 0;
            } else {
                SFO[size_t(I)] = SOB(DIA, GV, 101 + 5 * (I - 1)).substr(0, 3);
                SPO[size_t(I)] = UMAS::EVAL(SOB(DIA, GV, 104 + 5 * (I - 1)));
            }
        }
        SU += UMAS::EVAL(SOB(DIA, GV, 141));
        return;
    }
    for (int I = 1; I <= 7; ++I) {
        const std::string t = SOB(BIS, GB, 51 + 5 * (I - 1)).substr(0, 3);
        const double a = UMAS::EVAL(SOB(BIS, GB, 54 + 5 * (I - 1)));
        bool matched = false;
        for (int J = 1; J <= 7; ++J)
            if (SFO[size_t(J)] == t) {
                SPO[size_t(J)] += a;
                matched = true;
            }
        if (matched) continue;
        for (int J = 1; J <= 7; ++J)
            if (SFO[size_t(J)].empty() || SFO[size_t(J)] == "   ") {
                SFO[size_t(J)] = t;
                SPO[size_t(J)] = a;
                break;
            }
    }
    SU += UMAS::EVAL(SOB(BIS, GB, 91));
}

}  // namespace EKDO
