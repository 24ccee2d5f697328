// The boxes of the alternate view derived from the data boxes of the main page.
#include <cstdio>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/ekdo.h"
#include "declarations/store_form.h"
#include "documents/ekbodi.h"
#include "platform/codepage.h"

namespace EKBODI {

using namespace BOD;

namespace {

std::string text(int n) { return SOB(DIA, GV, n); }
std::string trimmed(int n) { return UMAS::trim(SOB(DIA, GV, n)); }
void put(int n, const std::string& s) { BOS(DIA, GV, n, s); }

// A names text with the mass text right-justified after it in W characters in all; a name too long
// for the mass text keeps one blank and then the mass text cut to the box.
std::string withMass(const std::string& A, const std::string& mass, int W) {
    const int room = W - int(A.size());
    if (room <= 0) return A + " " + mass;
    return A + UMAS::RIJU(mass, room);
}

// Cells of box `from` (as many as box `to` is long) onto the row of box `to` from column `col`.
void cellCopy(int from, int to, int col) {
    const int len = GV.LEN(to);
    for (int i = 0; i < len && GV.COL(from) + i <= PAGE_COLS && col + i <= PAGE_COLS; ++i) {
        DIA.CCH(GV.ROW(to), col + i) = DIA.CCH(GV.ROW(from), GV.COL(from) + i);
        DIA.CAT(GV.ROW(to), col + i) = DIA.CAT(GV.ROW(from), GV.COL(from) + i);
    }
}

void cells(int fromRow, int fromCol, int toRow, int toCol, int n) {
    for (int i = 0; i < n && fromCol + i <= PAGE_COLS && toCol + i <= PAGE_COLS; ++i) {
        DIA.CCH(toRow, toCol + i) = DIA.CCH(fromRow, fromCol + i);
        DIA.CAT(toRow, toCol + i) = DIA.CAT(fromRow, fromCol + i);
    }
}

int unsignedValue(const std::string& s) {
    std::string t = UMAS::trim(s);
    if (t.empty()) return 0;
    int v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return 0;
        v = v * 10 + (c - '0');
        if (v > 1000) return v;
    }
    return v;
}

std::string two(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v % 100);
    return b;
}

// Box 88 reduced: R is the text after the first ":" (else after the first "/", else the whole
// text), cut before its second "/" ("N830:A/B/C" gives "A/B").
std::string reduce88(const std::string& t) {
    std::string R = t;
    size_t c = t.find(':');
    if (c != std::string::npos) R = t.substr(c + 1);
    else if ((c = t.find('/')) != std::string::npos) R = t.substr(c + 1);
    const size_t first = R.find('/');
    const size_t second = first == std::string::npos ? first : R.find('/', first + 1);
    return second == std::string::npos ? R : R.substr(0, second);
}

void total280(const std::string& EXT) {
    double SU = 0;
    EKDO::LAST(true, SU);
    const int N = unsignedValue(text(16));
    UMAS::LOCK("FBIS");
    std::string num;
    for (char ch : text(1))
        if (ch != ' ') num += ch;
    for (int i = 2; i <= N && i <= 99; ++i) {
        const int k0 = EXT == "DFK" ? 2 * i - 2 : 3 * i - 4;
        const int k1 = EXT == "DFK" ? 2 * i - 1 : 3 * i - 2;
        for (int k = k0; k <= k1; ++k) {
            BM = UMAS::LEJU(num + two(i) + two(k), 14);
            EKDO::CHOB();
            if (BOB && EKDO::RUFB(LL, false)) EKDO::LAST(false, SU);
        }
    }
    UMAS::UNLOC("FBIS");
    double X = UMAS::EVAL(UMAS::trim(text(141)));
    if (SU > 0.01) X = SU;
    char b[32] = "";
    if (X >= 0.01) std::snprintf(b, sizeof b, "%10.2f", X);
    put(280, b);
}

}  // namespace

void DERIVE(const std::string& EXT) {
    const bool sw13 = UMAS::PAREDE[13].TIMI == 1;
    if (EXT == "EXP") {
        put(220, "");
        put(221, "");
        put(254, text(66) + text(67));
        std::string A = trimmed(68) + " " + trimmed(69);
        put(255, withMass(A, PLAT::gr("ΧΜ: ") + trimmed(82), 35));
        std::string B = sw13 ? trimmed(70) + " " + trimmed(71) : "";
        put(256, withMass(B, PLAT::gr("ΧΚ: ") + trimmed(86), 35));
        for (int j = 0; j <= 5; ++j) cellCopy(72 + j, 257 + j, GV.COL(257));
        put(263, PLAT::gr("ΚΣΟ:") + text(79));
        put(265, PLAT::gr(" Αξίας EUR: ") + text(100));
        if (IFSP(DIA, GV, 268)) put(268, UMAS::CENTE(trimmed(207), GV.LEN(268)));
        if (IFSP(DIA, GV, 269)) put(269, UMAS::CENTE(PLAT::gr("Ο ΕΛΕΓΚΤΗΣ"), GV.LEN(269)));
        put(270, "");
        put(271, "");
        return;
    }
    const bool imd = EXT == "IMP" || EXT == "MET" || EXT == "DFK";
    if (imd) {
        put(215, text(65));
        put(211, UMAS::RIJU(std::to_string(UMAS::TOTALKOLA), 5));
        put(212, UMAS::RIJU(std::to_string(UMAS::TOTALKOLA), 8));
        put(208, reduce88(text(88)));
    }
    std::string A = trimmed(66);
    if (sw13) A += " " + trimmed(70) + " " + trimmed(71);
    put(254, withMass(A, PLAT::gr("ΧΜ: ") + trimmed(82), 39));
    std::string B = trimmed(68) + " " + trimmed(69);
    put(255, withMass(B, PLAT::gr("ΧΚ: ") + trimmed(86), 39));
    for (int j = 0; j <= 5; ++j) cellCopy(72 + j, 256 + j, GV.COL(256));
    if (EXT == "MTF") {
        put(262, PLAT::gr("ΚΣΟ:") + text(79));
        if (IFSP(DIA, GV, 263)) put(263, PLAT::gr("ΑΞΙΑΣ ") + text(49) + " " + text(55));
        return;
    }
    if (!imd) return;
    if (EXT != "DFK") put(220, text(207));
    put(262, PLAT::gr("ΚΩΔ.ΤΑΡΙΚ: ") + text(79));
    for (int j = 0; j <= 4; ++j)
        if (text(145 + 4 * j) != "   ")
            cells(GV.ROW(145 + 4 * j), GV.COL(145 + 4 * j), GV.ROW(263 + j), GV.COL(263 + j), 40);
    put(268, PLAT::gr("ΑΞΙΑΣ EUR"));
    cells(GV.ROW(100), GV.COL(100), GV.ROW(268), 29, 10);
    put(270, UMAS::CENTE(trimmed(207), 42));
    total280(EXT);
}

}  // namespace EKBODI
