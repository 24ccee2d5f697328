// The declaration editor's box rules and the declaration number: the proposal from "DAR.DAT",
// opening, renumbering, replacing and copying from a template, the continuation records and side
// files that go with a number, and the duty and tax lines' rules.
#include <array>
#include <cmath>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "declarations/ek0.h"
#include "declarations/ek0_editor.h"
#include "declarations/ekdo.h"
#include "declarations/store.h"
#include "declarations/store_form.h"
#include "declarations/taxlines.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "print/prns.h"

namespace EK0 {

using namespace BOD;

namespace {

std::string two(int n) { return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10); }

std::string noBlanks(const std::string& s) {
    std::string r;
    for (char c : s)
        if (c != ' ') r += c;
    return r;
}

bool isKindBox(int V) { return V >= 101 && V <= 136 && (V - 101) % 5 == 0; }
bool isTaxAmountBox(int V) { return V >= 104 && V <= 139 && (V - 104) % 5 == 0; }
bool isExpressionBox(int V) { return V >= 146 && V <= 174 && (V - 146) % 4 == 0; }
bool isValueAmountBox(int V) { return V >= 148 && V <= 176 && (V - 148) % 4 == 0; }

// The date and the customer the form shows. Reading a stored version only to delete it, when a
// declaration takes a new number, puts that version's date and customer into the form; the
// declaration then stored under the new number must carry the form's own.
struct Shown {
    std::string b8 = SOB(DIA, GV, 8), b9 = SOB(DIA, GV, 9), hm = HM;
    int pr = PR;
    std::array<std::string, 11> party{EA, AF, ON, DI, PO, TK, TH[1], TH[2], EP, EF, SX};
    void restore() const {
        BOS(DIA, GV, 8, b8);
        BOS(DIA, GV, 9, b9);
        HM = hm;
        PR = pr;
        std::array<std::string*, 11> to{&EA, &AF, &ON, &DI, &PO, &TK, &TH[1], &TH[2], &EP, &EF, &SX};
        for (size_t i = 0; i < to.size(); ++i) *to[i] = party[i];
    }
};

}  // namespace

// ---- "DAR.DAT" -----------------------------------------------------------------------------------

std::string READNODIAS() {
    auto lines = PLAT::readLines(UMAS::PATH + "DAR.DAT");
    if (!lines) return "1";  // a missing file proposes from 1; the next F4 creates it
    return lines->empty() ? std::string() : (*lines)[0];
}

void SAVENODIAS(const std::string& KD) {
    const std::string n7 = UMAS::REMLCH(KD, ' ').substr(0, 7);
    const double N = std::nearbyint(UMAS::EVAL(n7));
    const std::string line = READNODIAS();
    double L = 0;
    size_t blank = line.find(' ');
    if (blank != std::string::npos && blank + 1 <= 8) L = UMAS::EVAL(line.substr(0, blank + 1));
    if (L <= N && N <= L + 10) {
        std::string next = std::to_string(int64_t(N) + 1);
        PLAT::writeWholeAtomic(UMAS::PATH + "DAR.DAT", UMAS::LEJU(next, 10) + "\r\n");
    }
}

// ---- Box rules -----------------------------------------------------------------------------------

bool Disf::hasHint(int V) const {
    return isKindBox(V) || isExpressionBox(V) || isValueAmountBox(V) || ruleHint(V);
}

void Disf::recompute() {
    SUM(DIA, GV, MAIN_FV, MAIN_SJ, AY, EXT);
    SM2(DIA, GV, MAIN_FO, MAIN_FV, MAIN_SJ, AY, EXT);
}

void Disf::KEY(int V, int STA) {
    if (STA == 1 && hasHint(V) && !hint) {
        SCR::CALLM(20, true);
        hint = true;
    }
    if (STA == 2 && hint) {
        SCR::RECALL();
        hint = false;
    }
    if (V == 1) {
        if (STA == 2) box1();
        return;
    }
    if (V == 8) {
        if (STA == 2) {
            if (!UMAS::DATEOK(SOB(DIA, GV, 8))) {
                VV = 8;
                K = 0;
            }
            HM = SOB(DIA, GV, 8).substr(0, 6);
        }
        const std::string d = SOB(DIA, GV, 8);
        BOS(DIA, GV, 9, d);
        if (!d.empty() && d[0] != ' ')
            BOS(DIA, GV, 207, UMAS::LOGOTYPO[7] + " " + d.substr(0, 2) + "/" + d.substr(2, 2) + "/" + d.substr(4, 2));
        return;
    }
    if (isKindBox(V)) {
        const int line = (V - 101) / 5 + 1;
        if (STA == 2 && SOB(DIA, GV, V) == "   ") {
            for (int b = V; b <= V + 4; ++b) BOS(DIA, GV, b, "");
            DIA.CCH(GV.ROW(V + 2), GV.COL(V + 2) + 7) = ' ';
            AY.EIF[size_t(line)] = 0;
            redraw();
        }
        if (STA == 3) {
            KVDI::V0C = uint16_t(std::lround(std::max(0.0, UMAS::EVAL(SOB(DIA, GV, V)))));
            uint8_t kk = 1;
            KVDI::TAX(KVDI::V0C, SOB(DIA, GV, V), true, kk);
            K = kk;
            const int forms = uval(SOB(DIA, GV, 16));
            if (kk == 0 && KVDI::V0C >= 1 && KVDI::V0C <= 48 && (EXT != "EXP" || (forms >= 2 && forms <= 30)))
                FOT(DIA, GV, V, MAIN_OFS, AY);
        }
        recompute();
        if (V == 101) redraw();
        return;
    }
    if (isTaxAmountBox(V)) {
        recompute();
        redraw();
        return;
    }
    if (isExpressionBox(V)) {
        if (STA == 3) {
            uint8_t kk = 0;
            KVDI::NOM(KVDI::V01, true, SOB(DIA, GV, 8), kk);
            K = kk;
            if (kk == 0) {
                const int row = GV.ROW(V), col = GV.COL(V);
                DIA.CCH(row, col + 10) = '/';
                BOS(DIA, GV, V - 1, KVDI::V01.ST);
                DIA.CCH(row, 65) = ' ';
                BOS(DIA, GV, V + 1, "EUR");
                std::string is = UMAS::EVAL(KVDI::V01.IS) == 0 ? std::string(7, ' ') : UMAS::LEJU(KVDI::V01.IS, 7);
                for (int i = 0; i < 7 && col + 11 + i <= PAGE_COLS; ++i) DIA.CCH(row, col + 11 + i) = uint8_t(is[size_t(i)]);
            }
        }
        PRD(DIA, GV, V);
        recompute();
        if (STA == 2 && UMAS::EVAL(SOB(DIA, GV, V + 2)) < 0.005 && SOB(DIA, GV, V - 1) != "   ") {
            SCR::CALLM(58, true);
            SCR::PRINT(4, 23, PLAT::gr("   ΠΡΟΣΟΧΗ! ΜΗΔΕΝΙΚΗ ΑΞΙΑ ...  "));
            PLAT::con().gotoXY(34, 23);
            PLAT::con().showCursor(true);
            PLAT::con().readKey();
            SCR::CURSOR(false);
            SCR::RECALL();
        }
        if (V == 146) redraw();
        return;
    }
    if (isValueAmountBox(V)) {
        if (STA == 3) {
            uint8_t kk = 0;
            KVDI::KAY(KVDI::V00, true, SOB(DIA, GV, 8), kk);
            K = kk;
            if (kk == 0) {
                const std::string b89 = SOB(DIA, GV, 89);
                size_t colon = b89.find(':');
                const double q = UMAS::EVAL(colon == std::string::npos ? b89 : b89.substr(colon + 1));
                const std::string Q = FMT(q, 9, q != std::trunc(q) ? 3 : 0);
                BOS(DIA, GV, V - 2, Q + "*" + KVDI::V00.IS);
                BOS(DIA, GV, 224, "EURO " + KVDI::V00.IS);
                DIA.CCH(GV.ROW(V - 2), 65) = ' ';
                BOS(DIA, GV, V - 1, "EUR");
                BOS(DIA, GV, V - 3, KVDI::V00.NO);
                if (UMAS::PAREDE[15].TIMI == 1 && V < 168) {
                    BOS(DIA, GV, V + 2, PLAT::gr("ΡΑΕΕ ") + UMAS::REMLCH(Q, ' ') + "*" + FMT(UMAS::RAEE, 0, 6));
                    BOS(DIA, GV, V + 3, " = ");
                    BOS(DIA, GV, V + 4, FMT(UMAS::RAEE * q, 0, 2));
                }
            }
        }
        recompute();
        redraw();
        return;
    }
    RULES(V, STA);
}

// ---- Box 1: the declaration number ---------------------------------------------------------------

void Disf::box1() {
    if (K == 6) {
        if (!PLAT::fileExists(UMAS::PATH + "DAR.DAT")) {
            // An expected condition: said on row 24 until a key, and the proposal starts from 1.
            SCR::PRINT(3, 24, UMAS::LEJU(PLAT::gr("ΔΕΝ ΥΠΑΡΧΕΙ ΤΟ ΑΡΧΕΙΟ DAR.DAT - ΠΡΟΤΑΣΗ ΑΠΟ ΤΟ 1. ΠΑΤΗΣΤΕ ΕΝΑ ΠΛΗΚΤΡΟ"),
                                         HELP_TEXT_MAX));
            PLAT::con().refresh();
            PLAT::con().readKey();
        }
        BOS(DIA, GV, 1, READNODIAS());
        redraw();
    }
    TM = UMAS::LEJU(numberText(SOB(DIA, GV, 1)), 10);
    if (UMAS::EVAL(TM) == 0 && K != 3) {
        VV = 1;
        K = 1;
    }
    if (K == 1 || K == 3) return;
    if (K != 0 && K != 2) {
        // Only Enter and Down confirm a number. Any other key on a number that is not the one
        // confirmed does nothing: storing, deleting or printing would act on a number this
        // workstation has not claimed, under the stored declaration of another.
        if (TM != BTM) K = 1;
        return;
    }
    if (TM == BTM) return;
    if (UMAS::ELDI(BTM, TM, "NUDI", 10)) {
        BOS(DIA, GV, 1, BTM);
        TM = BTM;
        VV = 1;
        K = 1;
        redraw();
        return;
    }
    bool resetChange = true;
    // The store's answer, shown once the lock is free: a refusal leaves the form counted as changed
    // (leaving asks), a notice tells what the store could not do beside storing it.
    auto report = [&](const STORE::Result& r) {
        if (!r.refusal.empty()) message(r.refusal);
        for (const std::string& n : r.notices) message(n);
        resetChange = r.stored;
    };
    if (BOO) {
        SCR::CALLM(YPOD != 0 ? 76 : 59, true);
        if (PRNS::YES(38, 23)) {
            PLAT::con().gotoXY(1, 1);
            UMAS::LOCK("FDIA");
            CHO();
            if (BOO) {
                UMAS::UNLOC("FDIA");
                SCR::CALLM(60, true);
                SCR::PRINT(42, 22, PLAT::gr("Η ΔΙΑΣΑΦΗΣΗ ") + UMAS::CUTLEADSPACES(TM) + PLAT::gr(" ΥΠΑΡΧΕΙ ΗΔΗ."));
                SCR::PRINT(42, 23, PLAT::gr("ΑΝΤΙΚΑΤΑΣΤΑΣΗ ΤΗΣ (Ν/Ο) ?"));
                if (PRNS::YES(78, 23)) {
                    UMAS::LOCK("FDIA");
                    OTM = TM;
                    const Shown shown;
                    // The declaration that had the new number goes, with its continuation records.
                    readToDelete();
                    DELD();
                    DALLB(false, true, OTM);
                    if (YPOD == 0) {
                        TM = BTM;
                        CHO();
                        if (BOO) {
                            readToDelete();
                            DELD();
                            DALLB(true, true, OTM);
                        }
                    }
                    shown.restore();
                    TM = OTM;
                    BOO = false;
                    CSM = -1;  // always written: the stored copy under the old number is gone
                    const STORE::Result r = KATD();
                    UMAS::UNLOC("FDIA");
                    report(r);
                } else {
                    UMAS::ELDI(TM, BTM, "NUDI", 10);
                    TM = BTM;
                    BOS(DIA, GV, 1, TM);
                    VV = 1;
                    K = 1;
                    BOO = true;  // the form still holds the declaration stored under the old number
                    CHO();
                    resetChange = false;
                }
                SCR::RECALL();
            } else {
                OTM = TM;
                STORE::Result r;
                if (YPOD == 0) {
                    const Shown shown;
                    TM = BTM;
                    CHO();
                    if (BOO) {
                        readToDelete();
                        DELD();
                        DALLB(true, true, OTM);
                        renameSideFiles(BTM, OTM);
                    }
                    shown.restore();
                    TM = OTM;
                    BOO = false;
                    CSM = -1;
                    r = KATD();
                } else {
                    TM = OTM;
                    BOO = false;
                    CSM = -1;
                    r = KATD();
                    FCOPY(BTM, OTM);
                    TM = BTM;
                    DALLB(true, false, OTM);
                    TM = OTM;
                }
                UMAS::UNLOC("FDIA");
                report(r);
            }
        } else {
            UMAS::LOCK("FDIA");
            const std::string notice = FERE();
            UMAS::UNLOC("FDIA");
            if (!notice.empty()) message(notice);
        }
        SCR::RECALL();
        redraw();
    } else {
        UMAS::LOCK("FDIA");
        const std::string notice = FERE();
        UMAS::UNLOC("FDIA");
        if (!notice.empty()) message(notice);
    }
    BTM = TM;
    if (resetChange) CSM = CSU(DIA, GV, BOXES);
}

void Disf::readToDelete() {
    // A damaged one is deleted all the same, as unread.
    if (!DISF_RUF(false)) unread();
}

void Disf::unread() {
    BUNREAD = true;
    BHM.clear();
    BPR = NO_CUSTOMER;
}

std::string Disf::FERE() {
    const STORE::Found f = CHO();
    if (BOO) {
        std::string damage;
        if (!DISF_RUF(true, &damage)) {
            // A damaged declaration is not opened: a new form comes up under its number. It still
            // counts as stored, with its date and customer unknown, so that F4 replaces it and F5
            // deletes it (its areas never reused, its entries looked for in every chain); else it
            // would stay in the index beside the new one and in its day's list for good.
            unread();
            CLLS();
            redraw();
            // The screen names what is damaged and where; the store checker gives the detail.
            return PLAT::gr("Η ΔΙΑΣΑΦΗΣΗ ΕΙΝΑΙ ΚΑΤΕΣΤΡΑΜΜΕΝΗ ΣΤΟ ΑΡΧΕΙΟ ") + STORE::DECL.M +
                   PLAT::gr(" (έλεγχος: dstchk)");
        }
        return "";
    }
    CLLS();
    redraw();
    // A list broken off at a bad link may hide the number: the new form is no proof that it is free.
    if (f.damaged)
        return PLAT::gr("ΤΟ ΑΡΧΕΙΟ ") + STORE::DECL.I + PLAT::gr(" ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - Η ΔΙΑΣΑΦΗΣΗ ΔΕΝ ΒΡΕΘΗΚΕ (έλεγχος: dstchk)");
    return "";
}

void Disf::DALLB(bool KX1, bool KX2, const std::string& NTM) {
    const std::string S5 = numberText(TM), S6 = numberText(NTM);
    UMAS::LOCK("FBIS");
    // Every item stored under the number, whatever box 16 of the form says: the items of sheets
    // past it (forms lowered since they were stored, or a replaced declaration that had more
    // forms) go with their number, and a later declaration of the number never inherits them.
    for (const auto& [key, pos] : STORE::itemsOf(UMAS::PATH, S5).items) {
        BM = key;
        BOB = true;
        XNB = pos;
        OOB = key;
        // a damaged item is deleted with its number, never copied
        const bool loaded = EKDO::RUFB(LL, false);
        if (KX2) EKDO::DELB();
        if (KX1 && loaded) {
            BM = UMAS::LEJU(S6 + key.substr(S5.size(), 4), 14);
            BOB = false;
            EKDO::XBOB(EXT);
            BOS(BIS, GB, 10, SOB(DIA, GV, 1));
            STORE::Result r = EKDO::KATB();
            if (!r.refusal.empty()) message(r.refusal);
        }
    }
    UMAS::UNLOC("FBIS");
}

void Disf::renameSideFiles(const std::string& from, const std::string& to) {
    const std::string a = UMAS::PATH + noBlanks(from), b = UMAS::PATH + noBlanks(to);
    std::vector<std::string> exts = {".eur", ".dil", ".T44", ".cma", ".cmb", ".byg", ".in1", ".in2"};
    for (int s = 1; s <= 99; ++s) {
        exts.push_back("." + two(s));
        exts.push_back(".O" + std::to_string(s));
        exts.push_back(".L" + std::to_string(s));
        exts.push_back(".K" + std::to_string(s));
    }
    for (const std::string& e : exts) {
        if (!PLAT::fileExists(a + e)) continue;
        if (PLAT::fileExists(b + e)) PLAT::removeFile(b + e);
        PLAT::renameExisting(a + e, b + e);
    }
}

void Disf::FCOPY(const std::string& SOUR, const std::string& DEST) {
    const std::string src = UMAS::CUTLEADSPACES(SOUR), dst = UMAS::CUTLEADSPACES(DEST);
    if (src.empty() || dst.empty()) return;
    for (const std::string& name : PLAT::findFiles(UMAS::PATH + src + ".*")) {
        size_t dot = name.find('.');
        if (dot == std::string::npos) continue;
        auto bytes = PLAT::readWhole(UMAS::PATH + name);
        if (!bytes) continue;
        PLAT::writeWholeAtomic(UMAS::PATH + dst + name.substr(dot, 4), *bytes);
    }
}

void Disf::deleteSideFiles(const std::string& number) {
    const std::string n = noBlanks(number);
    if (n.empty()) return;
    for (const std::string& name : PLAT::findFiles(UMAS::PATH + n + ".*")) PLAT::removeFile(UMAS::PATH + name);
}

}  // namespace EK0
