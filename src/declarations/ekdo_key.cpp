// The box rules of the continuation-sheet editor: the key and load of box 3, the date, the
// pickers opened with Tab and the boxes they fill, and the recomputation of the item's tax lines.
#include <cmath>
#include <cstdlib>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "declarations/ekdo.h"
#include "declarations/ekdo_cbis.h"
#include "declarations/store_form.h"
#include "declarations/taxlines.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"

namespace EKDO {

using namespace BOD;

namespace {

bool isTypeBox(int V) { return V >= 51 && V <= 86 && (V - 51) % 5 == 0; }
bool isTaxAmountBox(int V) { return V >= 54 && V <= 89 && (V - 54) % 5 == 0; }
bool isExpressionBox(int V) { return V >= 93 && V <= 121 && (V - 93) % 4 == 0; }
bool isValueAmountBox(int V) { return V >= 95 && V <= 123 && (V - 95) % 4 == 0; }

bool blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

// The number a text starts with (after blanks): digits with at most one point, 0 when none.
double leadingNumber(const std::string& s) {
    size_t i = s.find_first_not_of(' ');
    if (i == std::string::npos) return 0;
    size_t j = i;
    bool point = false;
    while (j < s.size() && ((s[j] >= '0' && s[j] <= '9') || (s[j] == '.' && !point))) {
        if (s[j] == '.') point = true;
        ++j;
    }
    return j == i ? 0 : std::strtod(s.substr(i, j - i).c_str(), nullptr);
}

}  // namespace

bool Cbis::hasHint(int V) const {
    return (V >= 4 && V <= 7) || V == 34 || V == 9 || V == 19 || V == 21 || (V >= 23 && V <= 30) || V == 38 ||
           V == 39 || (V >= 42 && V <= 45) || isTypeBox(V) || isExpressionBox(V) || isValueAmountBox(V) || V == 128;
}

void Cbis::recompute() {
    SUM(BIS, GB, SHEET_FV, SHEET_SJ, AYB, EXT);
    SM2(BIS, GB, SHEET_FO, SHEET_FV, SHEET_SJ, AYB, EXT);
}

void Cbis::KEY(int V, int STA) {
    if (STA == 1 && hasHint(V) && !hint) {
        SCR::CALLM(20, true);
        hint = true;
    }
    if (STA == 2 && hint) {
        SCR::RECALL();
        hint = false;
    }
    uint8_t kk = 3;
    if (V == 3) {
        if (STA == 2) keyAndLoad();
        return;
    }
    if (V == 11) {
        dateRule(STA);
        return;
    }
    if (isTypeBox(V)) {
        const int I = (V - 51) / 5 + 1;
        if (STA == 2 && SOB(BIS, GB, V) == "   ") {
            for (int b = V; b <= V + 4; ++b) BOS(BIS, GB, b, "");
            if (GB.COL(V + 2) + 7 <= PAGE_COLS) BIS.CCH(GB.ROW(V + 2), GB.COL(V + 2) + 7) = ' ';
            AYB.EIF[size_t(I)] = 0;
            redraw();
        }
        if (STA == 3) {
            KVDI::V0C = uint16_t(std::lround(std::max(0.0, std::min(65535.0, UMAS::EVAL(SOB(BIS, GB, V))))));
            kk = 1;
            KVDI::TAX(KVDI::V0C, SOB(BIS, GB, V), true, kk);
            if (kk == 0 && KVDI::V0C >= 1 && KVDI::V0C <= 48) FOT(BIS, GB, V, SHEET_OFS, AYB);
        }
        recompute();
        if (V == 51) redraw();
        return;
    }
    if (isTaxAmountBox(V)) {
        recompute();
        redraw();
        return;
    }
    if (isExpressionBox(V)) {
        if (STA == 3) {
            KVDI::NOM(KVDI::V01, true, SOB(BIS, GB, 11), kk);
            if (kk == 0) {
                const int row = GB.ROW(V), col = GB.COL(V);
                auto cell = [&](int c, uint8_t ch) {
                    if (c >= 1 && c <= PAGE_COLS) BIS.CCH(row, c) = ch;
                };
                cell(col + 10, '/');
                BOS(BIS, GB, V - 1, KVDI::V01.ST);
                cell(65, ' ');
                BOS(BIS, GB, V + 1, "EUR");
                const std::string R = UMAS::EVAL(KVDI::V01.IS) == 0 ? std::string(7, ' ') : KVDI::V01.IS;
                for (int i = 0; i < 8; ++i) cell(col + 11 + i, i < int(R.size()) ? uint8_t(R[size_t(i)]) : ' ');
            }
        }
        PRD(BIS, GB, V);
        recompute();
        if (V == 93) redraw();
        return;
    }
    if (isValueAmountBox(V)) {
        if (STA == 3) {
            KVDI::KAY(KVDI::V00, true, SOB(BIS, GB, 11), kk);
            if (kk == 0) {
                const std::string b39 = SOB(BIS, GB, 39);
                const size_t colon = b39.find(':');
                const double Q = leadingNumber(colon == std::string::npos ? b39 : b39.substr(colon + 1));
                const std::string q = FMT(Q, 9, Q != std::floor(Q) ? 3 : 0);
                BOS(BIS, GB, V - 2, q + "*" + KVDI::V00.IS);
                BIS.CCH(GB.ROW(V - 2), 65) = ' ';
                BOS(BIS, GB, V - 1, "   ");
                BOS(BIS, GB, V - 3, KVDI::V00.NO);
                if (UMAS::PAREDE[15].TIMI == 1 && V < 115) {
                    BOS(BIS, GB, V + 2, PLAT::gr("ΡΑΕΕ ") + UMAS::REMLCH(q, ' ') + "*" + FMT(UMAS::RAEE, 0, 6));
                    BOS(BIS, GB, V + 3, " = ");
                    BOS(BIS, GB, V + 4, FMT(UMAS::RAEE * Q, 0, 2));
                }
            }
        }
        recompute();
        redraw();
        return;
    }
    if (STA != 3) return;
    if ((V >= 4 && V <= 7) || V == 34) {
        KVDI::PER(KVDI::V07, true, kk);
        if (kk != 0) return;
        const KVDI::RECPER& r = KVDI::V07;
        if (EXT != "DFK") BOS(BIS, GB, 6, r.PE);
        BOS(BIS, GB, 7, r.KV == 0 ? std::string(2, ' ') : UMAS::RIJU(std::to_string(r.KV), 2));
        if (EXT != "DFK") {
            BOS(BIS, GB, 4, r.DI);
            BIS.CCH(GB.ROW(5), GB.COL(5)) = r.DI.size() >= 4 ? uint8_t(r.DI[3]) : ' ';
        }
        BOS(BIS, GB, 34, r.KA == 0 ? std::string(7, ' ') : std::to_string(r.KA));
    } else if (V == 9 || V == 128) {
        if (V == 9) KVDI::V04.KV = uint16_t(std::lround(std::max(0.0, std::min(65535.0, UMAS::EVAL(SOB(BIS, GB, 9))))));
        KVDI::TEL(KVDI::V04, true, kk);
        if (kk != 0) return;
        if (V == 128) {
            BOS(BIS, GB, 128, KVDI::V04.TE);
            return;
        }
        BOS(BIS, GB, 8, KVDI::V04.TE);
        BOS(BIS, GB, 9, KVDI::V04.KV == 0 ? std::string(4, ' ') : UMAS::RIJU(std::to_string(KVDI::V04.KV), 4));
    } else if (V == 19 || V == 21) {
        KVDI::SYS(KVDI::V0E, true, kk);
        if (kk == 0) BOS(BIS, GB, V, UMAS::PAREDE[1].TIMI == 1 ? KVDI::V0E.TR : KVDI::V0E.PA);
    } else if (V >= 23 && V <= 29) {
        goodsPick();
    } else if (V == 30) {
        KVDI::V02.KV = SOB(BIS, GB, 30).substr(0, 4);
        KVDI::POL(KVDI::V02, true, kk);
        if (kk == 0) BOS(BIS, GB, 30, KVDI::V02.KV);
    } else if (V == 38) {
        if (EXT == "MTF") return;
        std::string text = SOB(BIS, GB, 38);
        DILOTIKO(2, text);
        BOS(BIS, GB, 38, text);
    } else if (V == 39) {
        KVDI::MON(KVDI::V0D, true, kk);
        if (kk == 0) BOS(BIS, GB, 39, KVDI::MON_CODE(KVDI::V0D.KV));
    } else if (V >= 42 && V <= 45) {
        documentsPick(V);
    }
}

// Box 3 left: the item's key is formed; a new key loads the stored item or starts a new one.
void Cbis::keyAndLoad() {
    BM = UMAS::LEJU(declNumber() + SOB(BIS, GB, 1) + SOB(BIS, GB, 3), 14).substr(0, 14);
    if (BM[0] == ' ' || BM[0] == '0') {
        VV = 1;
        K = 1;
        return;
    }
    if (K == 0 || K == 2) {
        if (BM != BBM) {
            UMAS::LOCK("FBIS");
            const bool brokenIndex = CHOB().damaged;
            std::string damage;
            bool loaded = false;
            // A damaged item comes up as a new one but still counts as stored (BOB, XNB): F4
            // stores the new one in its place and F5 deletes it, so no second entry of the key is
            // left in the index beside it.
            if (BOB) loaded = RUFB(LL, true, &damage);
            if (loaded) {
                storedData = KATB_DATA();
            } else {
                XBIS();
                storedData.clear();
                LL = 23;
                redraw();
            }
            UMAS::UNLOC("FBIS");
            if (!damage.empty())
                say(PLAT::gr("ΤΟ ΕΙΔΟΣ ΕΙΝΑΙ ΚΑΤΕΣΤΡΑΜΜΕΝΟ ΣΤΟ BISM.DAT: ") + damage.substr(0, 24));
            else if (brokenIndex && !BOB)
                // a list broken off at a bad link may hide the item: the new one is no proof
                say(PLAT::gr("ΤΟ ΑΡΧΕΙΟ BISI.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - ΤΟ ΕΙΔΟΣ ΔΕΝ ΒΡΕΘΗΚΕ"));
        }
        BBM = BM;
        BSM = CSU(BIS, GB, SHEET_BOXES);
    } else if (K != 1 && K != 3) {
        VV = 2;
        K = 0;
    }
}

void Cbis::dateRule(int STA) {
    const std::string S = SOB(BIS, GB, 11);
    // Esc gives the box back as it was: it is never held for a check.
    if (STA == 2 && K != 3 && !S.empty() && S[0] != ' ' && !UMAS::DATEOK(S)) {
        VV = 10;
        K = 0;
    }
    BOS(BIS, GB, 12, S);
    std::string d = S;
    if (!blank(S)) {
        d.insert(std::min<size_t>(2, d.size()), "/");
        d.insert(std::min<size_t>(5, d.size()), "/");
        d = UMAS::CUTLEADSPACES(d);
    } else {
        d.clear();
    }
    BOS(BIS, GB, 145, UMAS::CENTE(UMAS::LOGOTYPO[7] + " " + d, GB.LEN(145)));
}

void Cbis::goodsPick() {
    uint8_t kk = 3;
    KVDI::V0A.KV = SOB(BIS, GB, 29);
    KVDI::EMP(KVDI::V0A, true, kk);
    if (kk != 0) return;
    const KVDI::RECEMP& g = KVDI::V0A;
    const std::string prefix = g.EE <= 3 ? BOD::EEM[g.EE] : std::string(3, ' ');
    BOS(BIS, GB, 165, prefix + SOB(BIS, GB, 165).substr(3));
    if (g.EE == 0) {
        for (int i = 1; i <= 6; ++i) BOS(BIS, GB, 22 + i, g.RI[size_t(i)]);
    } else if (g.EE == 1 || g.EE == 2) {
        BOS(BIS, GB, 23, g.RI[1]);
        BOS(BIS, GB, 24, g.RI[2]);
        EKEXTRA::AYT(BIS, GB, 23, int(std::lround(UMAS::EVAL(SOB(BIS, GB, 3)))), SOB(BIS, GB, 29), EXT, AYB);
    }
    BOS(BIS, GB, 29, g.KV);
    for (int J = 1; J <= 8; ++J)
        if (g.TC[size_t(J)] != 0) {
            KVDI::V0C = g.TC[size_t(J)];
            FOT(BIS, GB, 46 + 5 * J, SHEET_OFS, AYB);
        }
    SM2(BIS, GB, SHEET_FO, SHEET_FV, SHEET_SJ, AYB, EXT);
}

void Cbis::documentsPick(int V) {
    uint8_t kk = 3;
    KVDI::PRE(KVDI::V09, true, kk);
    if (kk != 0) return;
    const KVDI::RECPREB& d = KVDI::V09;
    auto part = [&](int j) -> std::string {
        const std::string& ee = d.EE[size_t(j)];
        if (ee.empty()) return "";
        return (d.KV[size_t(j)] != "   " ? d.KV[size_t(j)] + ":" : std::string(4, ' ')) + ee;
    };
    for (int J = 1; J <= 4; ++J) {
        std::string s = part(J);
        if (!d.EE[size_t(J + 4)].empty()) s += "  " + part(J + 4);
        const int b = V + J - 1;
        if (b <= SHEET_BOXES) BOS(BIS, GB, b, s);
    }
}

}  // namespace EKDO
