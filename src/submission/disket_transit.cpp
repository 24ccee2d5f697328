// The transport segments of the segment file: the packages of every goods item with their total
// against box 19, the guarantee, the guarantee numbers of an import, the container numbers of every
// item and the carrier of a transit declaration.
#include <string>

#include "common/umas.h"
#include "declarations/bod.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "submission/disket_ops.h"
#include "submission/disket_run.h"
#include "submission/disket_writers.h"
#include "submission/diskvas.h"

namespace DISKET {

using PLAT::gr;
using UMAS::trim;

namespace {

std::string num(int n) { return std::to_string(n); }

// The row's code less 1000 in four digits.
std::string less1000(uint16_t KV) { return UMAS::LZ(num(KV > 1000 ? KV - 1000 : KV), 4); }

}  // namespace

// ---- Packages ----------------------------------------------------------------------------------

void WRITERS::TRANSITPACKAGES(RUN& R) {
    const bool transit = R.EXT == "MTF" || R.EDE == ED_TIRSEND || R.EDE == ED_TIR;
    const std::string head = transit ? less1000(R.KV()) : UMAS::LZ(num(R.KV()), 4);
    int EMPOR = 1, CSYS = 0;
    // Each line adds a whole number of at most 1e15; a sum over any number of lines stays exact
    // far beyond what a 32-bit total could hold.
    double TOTSYS = 0;
    std::string SHM2;

    auto writeThis = [&](const std::string& kind, const std::string& SS, const std::string& SHM) {
        if (kind.empty()) return;
        const bool bulk = INLIST(kind, 103);
        if (!bulk && SS.empty()) return;
        ++CSYS;
        R.lineEnd();
        std::string S = head + ":1~2~" + num(EMPOR) + "~" + num(CSYS) + "~";
        S += trim(SHM).empty() && trim(SHM2).empty() ? "-" : SHM + " " + SHM2;
        S += "~EL~" + kind;
        if (kind == "NE" || kind == "NG" || kind == "NS" || kind == "NF") S += "~~" + SS;
        else if (!bulk) S += "~" + SS;
        R.put(S);
        TOTSYS += bulk ? 1 : ROUNDED(UMAS::EVAL(SS));
    };

    const BOD::MOT& A = BOD::AY;
    const std::string kinds[3] = {trim(A.ON), trim(A.AP), trim(A.ET)};
    const std::string counts[3] = {trim(A.TY), trim(A.KY), trim(A.KA)};
    const std::string marks[3] = {trim(A.ER), trim(A.AK), trim(A.BA)};
    if (!kinds[0].empty() || !kinds[1].empty() || !kinds[2].empty()) {
        for (int k = 0; k < 3; ++k) writeThis(kinds[k], counts[k], marks[k]);
    } else {
        const std::string kind = trim(R.box(68));
        SHM2 = trim(R.box(71));
        if (kind.empty()) R.error(gr("Είδος ") + num(EMPOR) + DISKVAS::ERRMESS(85));
        else writeThis(kind, trim(R.box(69)), trim(R.box(70)));
    }
    SHM2.clear();
    for (int it = 2; it <= std::min(R.SYNEIDH, MAXITEMS); ++it) {
        EMPOR = it;
        CSYS = 0;
        for (int k = 1; k <= 3; ++k) {
            const RECOSYS& L = R.SYSBUF[size_t(it)][size_t(k)];
            writeThis(trim(L.CODE), trim(L.POSOT), trim(L.NAME));
        }
    }
    if (ROUNDED(UMAS::EVAL(R.box(19))) != TOTSYS) R.error(DISKVAS::ERRMESS(72));
}

// ---- Guarantee ---------------------------------------------------------------------------------

void WRITERS::GUARANTEE(RUN& R) {
    const std::string G = trim(R.box(203));
    const size_t at = G.find("GRN:");
    if (G.empty() || at == std::string::npos) {
        R.error(DISKVAS::ERRMESS(70));
        return;
    }
    const std::string ref = UMAS::cut(G.substr(at + 4), 24);
    std::string access = "5826";
    if (const auto lines = PLAT::readLines(UMAS::PATH + "EGGNUM.TXT"))
        access = lines->empty() ? std::string() : UMAS::cut((*lines)[0], 4);
    R.lineEnd();
    R.put("0032:1~2~1~1~" + ref + "~~" + access);
}

void WRITERS::GUARANTEENUMS(RUN& R) {
    for (int k = 1; k <= 5; ++k) {
        const std::string& N = UMAS::EGG_IMP_NUM[size_t(k)];
        const std::string& P = UMAS::EGG_IMP_POSO[size_t(k)];
        if (N.empty() || !(UMAS::EVAL(P) > 0)) continue;
        R.lineEnd();
        R.put(UMAS::LZ(num(R.KV()), 4) + ":1~2~" + num(R.item()) + "~" + num(k) + "~" + N + "~" + P);
    }
}

// ---- Containers --------------------------------------------------------------------------------

void WRITERS::CONTAINERS(RUN& R) {
    const std::string head = R.EXT == "MTF" ? less1000(R.KV()) : UMAS::LZ(num(R.KV()), 4);
    const std::string number = EKEXTRA::DECLNUM();
    int TOTAL = 0;
    for (int it = 1; it <= std::min(R.SYNEIDH, MAXITEMS); ++it) {
        // The file of the item is named by the whole declaration number; an older installation's
        // name (the number cut to 8) is read when only that one exists.
        const std::string sheet = UMAS::LZ(num(it), 2);
        std::string file = EKEXTRA::CONTAINERNAME(number, sheet);
        const std::string old = EKEXTRA::OLDCONTAINERNAME(number, sheet);
        if (!UMAS::FILEEXIST(file) && !old.empty() && UMAS::FILEEXIST(old)) file = old;
        EKEXTRA::CONTBUF B;
        EKEXTRA::READCONT(file, B);
        int n = 0;
        for (const std::string& e : B.E) {
            const std::string c = trim(e);
            if (c.empty()) continue;
            ++n;
            ++TOTAL;
            R.lineEnd();
            R.put(head + ":1~2~" + num(it) + "~" + num(n) + "~" + c);
        }
    }
    if (TOTAL > 0) return;
    const std::string T = UMAS::cut(trim(R.box(66)), 11);
    if (T.empty()) {
        R.errorRow(DISKVAS::ERRMESS(83));
        return;
    }
    R.lineEnd();
    R.put(head + ":1~2~1~1~" + T);
}

// ---- Carrier -----------------------------------------------------------------------------------

void WRITERS::CARRIER(RUN& R) {
    const auto& T = UMAS::T1_METAF_ASF;
    if (T[1].empty()) return;
    R.lineEnd();
    R.put("0080:1~2~" + num(R.item()) + "~1~" + T[1] + "~" + T[2] + "~" + T[3] + "~" + T[4]);
}

}  // namespace DISKET
