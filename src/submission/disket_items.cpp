// The item value, description and reference pieces of the segment file, the DAO and manifest
// fields computed by an operation, the 3122 segment and the description log of a send.
#include <cmath>

#include "common/umas.h"
#include "declarations/bod.h"
#include "platform/codepage.h"
#include "submission/diskvas.h"
#include "submission/disket_ops.h"
#include "submission/disket_writers.h"

namespace DISKET {

using PLAT::gr;
using UMAS::trim;

void GETAXIA(RUN& R) {
    const bool main = R.AREIDOS <= 1;
    double X = UMAS::EVAL(main ? R.box(100) : R.sheetBox(50));
    X += UMAS::EVAL(main ? BOD::AY.DAJ : BOD::AYB.BA);
    // Written with two decimals (right-aligned in 10 on the form; the engine trims it), never cut.
    R.BS = X < 0.01 ? std::string() : FIXED(X, 2);
    // After a procedure 71 the statistical value is optional for the rest of the run.
    if (copy(R.itemBox(84, 34), 1, 2) == "71") R.TAB[size_t(R.I - 1)].STATUS = "C";
}

void WRITEISOTIMIA(RUN& R) {
    std::string V = trim(R.box(56));
    if (V.find('.') != std::string::npos) V = UMAS::CUTLEADCHAR(V, '0');
    if (trim(R.box(54)).find("EU") != std::string::npos) V = "1.00";
    R.BS = V;
}

void EMPOREYMATA(RUN& R) {
    const bool main = R.AREIDOS <= 1;
    const bool skip2 = UMAS::PAREDE[14].TIMI == 1;
    int J = main ? (skip2 ? 74 : 72) : (skip2 ? 24 : 23);
    const int L = main ? 77 : 28;
    auto line = [&](int b) { return trim(main ? R.box(b) : R.sheetBox(b)); };
    std::string V;
    while (V.empty() && J <= L) V = line(J++);
    while (J <= L - 1) V += " " + line(J++);
    if (R.EXT == "MTF") V = UMAS::cut(V, 140);
    R.BS = V;
}

void WRITEARIANAF(RUN& R) {
    std::string V = trim(R.box(34));
    if (R.EDE == ED_DAO) V = gr("ΔΑΟ/") + V;
    V += "/" + copy(R.box(8), 5, 2) + "/" + trim(R.box(20));
    if (R.EDE == ED_TIRSEND || R.EDE == ED_TIR) V += "T";
    R.BS = V;
}

void WRITEANAFDAO(RUN& R) {
    R.BS = trim(UMAS::AFM_EKTEL) + "/" + copy(R.BUF ? R.BUF->line(23) : "", 7, 2) + "/" + std::to_string(DISKVAS::ANAFDAO);
}

void WRITEANAFDIL(RUN& R) {
    R.BS = trim(UMAS::AFM_EKTEL) + "/" + copy(R.BUF ? R.BUF->line(4) : "", 7, 2) + "/" + std::to_string(DISKVAS::ANAFDIL);
}

void WRITETYPOSDAO(RUN& R) {
    const std::string l26 = R.BUF ? R.BUF->line(26) : "";
    if (R.DAOTYPE == 1) {
        R.BS = trim(l26);
        if (R.BS.empty()) R.error(DISKVAS::ERRMESS(53));
    } else {
        R.BS = R.DAOTYPE == 2 ? l26 : "";
    }
}

void HMERDAO(RUN& R) {
    R.BS.clear();
    if (R.DAOTYPE != 2) return;
    const std::string d = R.BUF ? R.BUF->line(23) : "";
    if (d.size() == 8) R.BS = "20" + copy(d, 7, 2);
    else R.error(DISKVAS::ERRMESS(54));
}

void DAONUM(RUN& R) { R.BS = trim(R.itemBox(88, 38)); }

void GETXORISDAO(RUN& R) {
    const std::string N0 = trim(R.box(88));
    const size_t colon = N0.find(':');
    const std::string N = trim(colon == std::string::npos ? copy(N0, 1, 6) : N0.substr(colon + 1, 6));
    R.XORISDAO = N.empty();
    R.BS = R.XORISDAO ? std::string() : R.box(7);
}

namespace {

bool latinOrDigit(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

}  // namespace

void WRITEPLESIO(RUN& R) {
    R.BS = R.EDE == ED_DAO && R.BUF ? trim(R.BUF->line(14)) : std::string();
    if (R.BS.empty()) {
        R.errorRow(DISKVAS::ERRMESS(56));
        return;
    }
    for (char c : R.BS)
        if (!latinOrDigit(c)) {
            R.errorRow(DISKVAS::ERRMESS(55));
            return;
        }
}

void ARKYKLOFORIAS(RUN& R) {
    R.BS = R.BUF ? R.BUF->line(15) : std::string();
    for (char c : R.BS)
        if (!latinOrDigit(c)) {
            R.error(DISKVAS::ERRMESS(104));
            return;
        }
}

void WRITEEIDOSFORTO(RUN& R) {
    const std::string C = copy(trim(R.BUF ? R.BUF->cell(1) : ""), 1, 1);
    const bool digit = !C.empty() && C[0] >= '0' && C[0] <= '9';
    R.EIDOSFORTO = digit ? C[0] - '0' : 0;
    if (!C.empty() && !digit) R.errorRow(DISKVAS::ERRMESS(57));
    static const char* const KIND[] = {"", "", "", "", "", "", "ATA", "T1", "T2", "TIR"};
    R.BS = KIND[R.EIDOSFORTO];
}

void KATASDILO(RUN& R) {
    std::string cell;
    if (R.BUF && R.AASTIX >= 1 && R.AASTIX <= MAXMANIFESTLINES) cell = R.BUF->cell((R.AASTIX - 1) * 12 + 12);
    R.BS = trim(copy(cell, 1, 7));
    if (!R.BS.empty() && !INLIST(R.BS, 94))
        R.error(gr("Στίχος ") + std::to_string(R.AASTIX) + DISKVAS::ERRMESS(14));
}

// ---- Writers ----------------------------------------------------------------------------------

void WRITERS::SEG3122(RUN& R) {
    const std::string W = trim(R.box(144));
    if (!(W.size() == 8 && W[0] >= '0' && W[0] <= '9')) return;
    const std::string line = R.itemBox(77, 28);
    const size_t colon = line.find(':');
    const std::string Rf = UMAS::cut(trim(colon == std::string::npos ? line : line.substr(colon + 1)), 10);
    const std::string Q = trim(R.itemBox(71, 22));
    if (Rf.empty() || Q.empty()) R.error(DISKVAS::ERRMESS(122));
    // Box 77 is free text: it passes through the same conversion as every other field.
    R.lineEnd();
    R.put("3122:1~2~" + std::to_string(R.AREIDOS) + "~1~" + Rf + "~" + Q);
}

void WRITERS::DESCLOG(RUN& R) {
    const bool main = R.AREIDOS <= 1;
    auto line = [&](const std::string& s) { R.LOGT += ISO8859(s) + "\r\n"; };
    if (main && !trim(R.box(4)).empty()) line("0:" + trim(R.box(4)));
    for (int q = 0; q <= 4; ++q) {
        const int b = main ? 145 + 4 * q : 96 + 4 * q;
        auto box = [&](int n) { return main ? R.box(n) : R.sheetBox(n); };
        const std::string G = UMAS::LEJU(box(b), 3) + " " + UMAS::LEJU(box(b + 1), 17) + " " + UMAS::LEJU(box(b + 2), 3) +
                              " " + UMAS::RIJU(box(b + 3), 12);
        if (G.find_first_not_of(' ') != std::string::npos) line(std::to_string(R.AREIDOS) + ":" + G);
    }
}

}  // namespace DISKET
