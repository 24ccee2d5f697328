// The declaration editor: entry, the box loop, movement, the keys, storing, deleting and leaving.
#include "declarations/ek0.h"

#include <algorithm>
#include <cmath>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "config/params.h"
#include "declarations/ek0_editor.h"
#include "declarations/ekdo.h"
#include "declarations/store_form.h"
#include "declarations/taxlines.h"
#include "documents/ekbodi.h"
#include "documents/ekextra.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "print/prns.h"

namespace EK0 {

using namespace BOD;

namespace {

constexpr int LAST_BOX = 207;  // the boxes the keys reach

std::string two(int n) { return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10); }

}  // namespace

// ---- Shared helpers ------------------------------------------------------------------------------

void message(const std::string& cp737) {
    SCR::CALLM(58, true);
    // From column 4 after the mark; a longer text starts further left so that it reads whole.
    SCR::PRINT(std::max(1, std::min(4, PLAT::SCREEN_W + 1 - int(cp737.size()))), 23, cp737);
    PLAT::con().readKey();
    SCR::RECALL();
}

int uval(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    if (i == s.size()) return 0;
    long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return 0;
        v = v * 10 + (s[i] - '0');
        if (v > 1000000) return 0;
    }
    return int(v);
}

std::string numberText(const std::string& box1) {
    std::string s = box1;
    PNU(GV, 1, s, true, '0');
    return s;
}

std::string DATEST() {
    PLAT::DateTime d = PLAT::now();
    return two(d.day) + "/" + two(d.month) + "/" + two(d.year % 100) + " " +
           UMAS::WE[size_t(PLAT::weekday(d.year, d.month, d.day))];
}

// ---- Entry and the box loop ----------------------------------------------------------------------

void DISF(const std::string& KD, const std::string& EXT, int YPOD) {
    Disf e;
    e.KD = KD;
    e.EXT = EXT;
    e.YPOD = YPOD;
    e.run();
}

void Disf::run() {
    BTM.clear();
    BOO = false;
    BUNREAD = false;
    PR = NO_CUSTOMER;
    for (std::string* s : {&AY.ON, &AY.ER, &AY.TY, &AY.AP, &AY.AK, &AY.KY, &AY.ET, &AY.DAJ, &AY.BA, &AY.KA}) s->clear();
    AY.KT = "1";
    {
        PRL keep = PL;
        PL.clear();
        PL.EG = keep.EG;
        PL.EF = keep.EF;
    }

    PLAT::Console& c = PLAT::con();
    saved.assign(&c.cells[0][0], &c.cells[0][0] + 23 * PLAT::SCREEN_W);

    if (!SETFORM(EXT)) {
        message(PLAT::gr("ΤΟ ΑΡΧΕΙΟ ΟΘΟΝΩΝ ΔΕΝ ΕΧΕΙ ΤΟ ΕΝΤΥΠΟ ΤΗΣ ΔΙΑΣΑΦΗΣΗΣ"));
        return;
    }
    BOS(DIA, GV, 1, KD);
    BOS(DIA, GV, 15, "01");
    BOS(DIA, GV, 78, "01");
    if (EXT != "DFK") GV.at(59, 4) = TY_TEXT;
    GV.at(60, 4) = TY_TEXT;

    LL = 23;
    VV = 1;
    PUSC(DIA, LL);
    SCR::CALLM(5, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 2, 3, 4, 5, 8, 9}, GM1);
    PP = {1, 1, 1, 1, 1};
    leave = false;
    CSM = CSU(DIA, GV, BOXES);

    while (!leave) pass();

    // Only this workstation's own claim is freed: the number it confirmed.
    UMAS::MHNU(BTM, "NUDI", 10);
    std::copy(saved.begin(), saved.end(), &c.cells[0][0]);
    c.refresh();
    SCR::RECALL();
    SCR::RECALL();
}

std::string Disf::help(int v) const {
    if (EXT == "DFK") {
        static const std::pair<int, const char*> dfk[] = {
            {28, "10 Αριθμός έγκρισης"},   {62, "ΕΤΕΠΠΑΑ"},
            {87, "Αρ.Πλαισίου / Ειδ. Κωδικός Εμπορεύματος"},
            {90, "55 Μονάδες Φόρολόγησης"}, {91, "56 Φορολογητέα Αξία"},
            {96, "57 PLATO"},              {97, "58 C.C."},
            {98, "59 Συμψηφισμός Ε.Φ.Κ."},  {99, "60 Συμψηφισμός Φ.Π.Α."}};
        for (const auto& [box, text] : dfk)
            if (box == v) return PLAT::gr(text);
    }
    std::string line = MES.line(GV.HLP(v));
    // Box 12 looks the customer up only in some kinds; elsewhere its Tab opens the canned texts,
    // and the help line says so.
    if (v == 12 && !customerBox(v)) {
        const std::string customers = PLAT::gr("Tab: κατάλογος πελατών");
        if (const size_t at = line.find(customers); at != std::string::npos)
            line.replace(at, customers.size(), PLAT::gr("Tab: έτοιμα κείμενα"));
    }
    return line;
}

bool Disf::customerBox(int v) const {
    return v == 22 || (v == 12 && (EXT == "EXP" || EXT == "MTF")) || (v == 182 && EXT == "MTF") ||
           (v == 12 && EXT == "DFK" && UMAS::PAREDE[2].TIMI == 1);
}

void Disf::pass() {
    PLAT::Console& c = PLAT::con();
    YR = GV.ROW(VV) + 23 - LL;
    ST = TYPECHARS(GV.TYP(VV));
    SCR::PRINT(74, 24, PLAT::gr("αα ") + UMAS::RIJU(std::to_string(VV), 3));
    SCR::PRINT(3, 24, UMAS::LEJU(help(VV), HELP_TEXT_MAX));
    KEY(VV, 1);
    const int type = GV.TYP(VV);
    std::string BO = SOB(DIA, GV, VV);
    if (ISNUMTYPE(type)) PNU(GV, VV, BO, true, ' ');

    if (customerBox(VV)) {
        EA = BO;
        PELI(VV);
        BO = EA;
    } else {
        const std::string before = BO;
        BO = SCR::GINPUT(GV.COL(VV), YR, GV.LEN(VV), BO, "", ST, false, true, K);
        if (type == TY_DATE && K != 3 && !dateAccepted(BO)) {
            // Not a real day of 1990 to 2049: the bell, the box stays as it was and keeps the cursor.
            c.bell();
            BO = before;
            K = -1;
        }
    }
    if (type == TY_NUM || type == TY_SIGNED) PNU(GV, VV, BO, false, ' ');
    if (type == TY_ZNUM) PNU(GV, VV, BO, false, '0');
    BOS(DIA, GV, VV, BO);
    if (YR >= 1 && YR <= 23)
        for (int i = 0; i < GV.LEN(VV); ++i) {
            const int col = GV.COL(VV) + i;
            c.cells[YR - 1][col - 1] = PLAT::Cell{DIA.CCH(GV.ROW(VV), col), DIA.CAT(GV.ROW(VV), col)};
        }
    c.refresh();

    bool rules = true;
    if (K != 3) rules = countChecks();
    if (rules) KEY(VV, 2);
    SCR::PRINT(3, 24, UMAS::LEJU(MES.line(0), HELP_TEXT_MAX));
    dispatch();
}

// Box 16 counts the forms, box 18 the items; an out-of-range count sends the cursor back.
bool Disf::countChecks() {
    if (VV == 16) {
        int n = uval(SOB(DIA, GV, 16));
        if (n < 1 || n > (EXT == "DFK" ? 50 : 33)) {
            VV = 17;
            K = 1;
        }
    } else if (VV == 18) {
        int n = uval(SOB(DIA, GV, 16));
        int m = uval(SOB(DIA, GV, 18));
        bool ok = true;
        if (n == 1) ok = m == 1;
        else if (n > 1) ok = EXT == "DFK" ? (m >= 2 * n - 2 && m <= 2 * n - 1) : (m >= 3 * n - 4 && m <= 3 * n - 2);
        if (!ok) {
            VV = 19;
            K = 1;
            return false;
        }
    }
    return true;
}

void Disf::redraw() { PUSC(DIA, LL); }

void Disf::follow() {
    if (GV.ROW(VV) <= LL - 23) {
        LL = GV.ROW(VV) + 22;
        redraw();
    } else if (GV.ROW(VV) > LL) {
        LL = GV.ROW(VV);
        redraw();
    }
}

void Disf::next() {
    if (VV < LAST_BOX) {
        int v = VV + 1;
        while (v < LAST_BOX && GV.TYP(v) == TY_SHOW) ++v;
        if (GV.TYP(v) != TY_SHOW) VV = v;
    }
    follow();
}

void Disf::prev() {
    if (VV > 1) {
        int v = VV - 1;
        while (v > 1 && GV.TYP(v) == TY_SHOW) --v;
        if (GV.TYP(v) != TY_SHOW) VV = v;
    }
    follow();
}

void Disf::scrollUp() {
    if (LL > 23) {
        --LL;
        int v = VV;
        while (v > 1 && (GV.ROW(v) > LL || GV.TYP(v) == TY_SHOW)) --v;
        VV = v;
    }
    redraw();
}

void Disf::scrollDown() {
    if (LL < FRONTLINES - 23) {
        ++LL;
        int v = VV;
        while (v < LAST_BOX && (GV.ROW(v) <= LL - 23 || GV.TYP(v) == TY_SHOW)) ++v;
        VV = v;
    }
    redraw();
}

void Disf::pageUp() {
    PP[0] = std::max(PP[0] - 1, 1);
    if (LL > 23) {
        LL = std::max(LL - 23, 23);
        for (int I = 1; I <= 4; ++I)
            if (GV.ROW(PP[size_t(I)]) >= LL - 22 && GV.ROW(PP[size_t(I)]) <= LL) VV = PP[size_t(I)];
        while (VV > 1 && (GV.ROW(VV) > LL || GV.TYP(VV) == TY_SHOW)) --VV;
    }
    redraw();
}

void Disf::pageDown() {
    PP[size_t(PP[0])] = VV;
    PP[0] = std::min(PP[0] + 1, 4);
    if (LL < FRONTLINES - 23) {
        LL = std::min(LL + 23, FRONTLINES - 23);
        for (int I = 1; I <= 4; ++I)
            if (GV.ROW(PP[size_t(I)]) >= LL - 22 && GV.ROW(PP[size_t(I)]) <= LL) VV = PP[size_t(I)];
        while (VV < LAST_BOX && (GV.ROW(VV) <= LL - 23 || GV.TYP(VV) == TY_SHOW)) ++VV;
    }
    redraw();
}

// A click outside the field: its release places the cursor, or works as Tab on the hint.
void Disf::mouse() {
    PLAT::Console& c = PLAT::con();
    PLAT::Event ev;
    bool got = false;
    for (int tries = 0; tries < 25 && !got; ++tries) {
        if (!c.poll(ev)) {
            c.idle(20);
            continue;
        }
        if (ev.type == PLAT::Event::MOUSE && ev.mouse.action == PLAT::MouseEvent::RELEASE) {
            got = true;
        } else if (ev.type == PLAT::Event::MOUSE && ev.mouse.action != PLAT::MouseEvent::RELEASE) {
            continue;
        } else {
            c.unread(ev);
            return;
        }
    }
    if (!got) return;
    const int X = ev.mouse.x, Y = ev.mouse.y;
    if (X >= 62 && X <= 74 && Y >= 22 && Y <= 23) {
        KEY(VV, 3);
        redraw();
        return;
    }
    if (Y > 22) return;
    const int row = Y + 1 + LL - 23;
    for (int v = 1; v <= LAST_BOX; ++v) {
        if (GV.ROW(v) != row || GV.TYP(v) == TY_SHOW) continue;
        if (X + 1 >= GV.COL(v) && X + 1 <= GV.COL(v) + GV.LEN(v) - 1) {
            VV = v;
            break;
        }
    }
    redraw();
}

void Disf::dispatch() {
    switch (K) {
    case 0:
    case 2: next(); break;
    case 1: prev(); break;
    case 3: leaveAsk(); break;
    case 4: pageUp(); break;
    case 5: pageDown(); break;
    case 6:
        KEY(VV, 3);
        redraw();
        break;
    case 7: scrollUp(); break;
    case 8: scrollDown(); break;
    case 9:
        SUMKOLLA();
        EKDO::EKD(EXT, true);
        break;
    case 10: store(); break;
    case 11:
        DIAG(YPOD != 0 && UMAS::EVAL(KD) == UMAS::EVAL(TM));
        VV = 1;
        LL = 23;
        redraw();
        break;
    case 12: {
        int n = uval(SOB(DIA, GV, 18));
        if (n >= 2 && n <= 99) EKDO::CBIS(EXT);
        break;
    }
    case 13:
        SUMKOLLA();
        EKBODI::BODI(YPOD, EXT);
        redraw();  // the view may have filled the kind into box 142
        break;
    case 14: EKTY(EXT, false); break;
    case 16: F10(); break;
    case 17:
    case 18:
    case 19:
    case 21:
    case 22:
    case 25:
    case 29:
    case 30:
    case 31:
    case 32:
    case 33: SUBMIT(K, EXT, [this] { SUMKOLLA(); }); break;
    case 20: calculator(); break;
    case 23:
        if (VV >= 72 && VV <= 77) {
            if (EXT == "MTF") EKEXTRA::CONTAINER_NUMS(false);
            else if (EXT == "DFK") EKEXTRA::KRASIA(DIA, GV, 72);
            else EKEXTRA::GIVEVASIS(DIA, GV, 72);
        }
        break;
    case 24:
        if (EXT == "IMP" || EXT == "EXP" || EXT == "DFK") EKEXTRA::AYT(DIA, GV, 72, 1, SOB(DIA, GV, 79), EXT, AY);
        break;
    case 99: {
        static const std::pair<std::pair<int, int>, int> table[] = {
            {{12, 13}, 15}, {{22, 24}, 26}, {{27, 27}, 29},  {{35, 37}, 39},  {{62, 62}, 64},
            {{72, 76}, 78}, {{92, 94}, 96}, {{182, 185}, 187}, {{222, 228}, 230}};
        for (const auto& [range, last] : table)
            if (VV >= range.first && VV <= range.second) PUTCLIP(last);
        break;
    }
    case 100: mouse(); break;
    default: break;
    }
}

// ---- Store, leave, delete ------------------------------------------------------------------------

void Disf::store() {
    // A form whose number was never confirmed (box 1) has no claim and no place in the store.
    if (BTM.find_first_not_of(' ') == std::string::npos) return;
    UMAS::LOCK("FDIA");
    SCR::PRINT(2, 24, PLAT::gr("ΚΑΤΑΧΩΡΗΣΗ ..."));
    PLAT::con().refresh();
    STORE::Result r = KATD();
    UMAS::UNLOC("FDIA");
    SCR::PRINT(2, 24, std::string(14, ' '));
    if (!r.refusal.empty()) {
        message(r.refusal);
        return;
    }
    for (const std::string& n : r.notices) message(n);
    if (YPOD != 0 && UMAS::EVAL(KD) == UMAS::EVAL(TM))
        KATY(EXT, YPOD, KD);
    else
        SAVENODIAS(TM);
}

void Disf::leaveAsk() {
    if (ALLA(DIA, GV, BOXES, CSM)) {
        SCR::CALLM(65, true);
        bool yes = PRNS::YES(55, 12);
        SCR::RECALL();
        if (!yes) return;
    }
    leave = true;
}

void Disf::DIAG(bool YP) {
    if (!BOO) return;
    SCR::CALLM(YP ? 75 : 57, true);
    if (PRNS::YES(36, 23)) {
        UMAS::LOCK("FDIA");
        STORE::Result r = BOD::DELD();
        if (r.refusal.empty()) {
            // The declaration goes with its goods items and side files: a later declaration of the
            // same number must not inherit them.
            DALLB(false, true, TM);
            deleteSideFiles(TM);
        }
        UMAS::UNLOC("FDIA");
        if (!r.refusal.empty()) {
            SCR::RECALL();
            message(r.refusal);
            return;
        }
        CLLS();
        BOO = false;
        if (YP) {
            TM.clear();
            KATY(EXT, YPOD, KD);
            UMAS::ELDI(BTM, "", "NUDI", 10);
            BTM.clear();
        }
        // The form left after a deletion holds nothing to lose.
        CSM = CSU(DIA, GV, BOXES);
    }
    SCR::RECALL();
}

// ---- New form ------------------------------------------------------------------------------------

void Disf::CLLS() {
    for (int b = 103; b <= 138; b += 5) DIA.CCH(GV.ROW(b), GV.COL(b) + 7) = ' ';
    for (int b : {147, 151, 155, 159, 163}) DIA.CCH(GV.ROW(b), 65) = ' ';
    AY = MOT{};
    AYB = MOT{};
    UMAS::RECPROS = {};
    for (int b = 2; b <= BOXES; ++b) BOS(DIA, GV, b, "");
    BOS(DIA, GV, 15, "01");
    BOS(DIA, GV, 78, "01");
    BOS(DIA, GV, 34, UMAS::AFM_EKTEL);
    for (int i = 1; i <= 4; ++i) BOS(DIA, GV, 34 + i, UMAS::LOGOTYPO[size_t(i)]);
    UMAS::EXTRA_OXIMATA = {};
    UMAS::EGG_IMP_NUM = {};
    UMAS::EGG_IMP_POSO = {};
    UMAS::T1_METAF_ASF = {};
    const std::string d = DATEST();
    const std::string ddmmyy = d.substr(0, 2) + d.substr(3, 2) + d.substr(6, 2);
    BOS(DIA, GV, 8, ddmmyy);
    BOS(DIA, GV, 9, ddmmyy);
    HM = ddmmyy;  // the day chain follows the date the form shows
    BOS(DIA, GV, 207, UMAS::LOGOTYPO[7] + " " + d.substr(0, 8));
    if (EXT != "DFK") BOS(DIA, GV, 62, PLAT::gr("ΤΙΜΟΛ.ΑΡ.:"));
    BOS(DIA, GV, 68, UMAS::PAREDE[1].TIMI == 1 ? std::string("PC") : PLAT::gr("ΚΟΛΛΑ:"));
    BOS(DIA, GV, 70, PLAT::gr("       ΧΙΛ/ΜΑ:"));
    BOS(DIA, GV, 142, "    " + EXT);
    if (EXT == "IMP") BOS(DIA, GV, 221, PLAT::gr("     Ο ΔΙΑΧ/ΣΤΗΣ"));
    if (EXT == "IMP" || EXT == "DFK") {
        BOS(DIA, GV, 268, PLAT::gr("           Σ Υ Ν Ο Λ Ο"));
        BOS(DIA, GV, 269, PLAT::gr("           ΧΡΕΩΣΗ ΘΕΣΗ 47"));
        BOS(DIA, GV, 270, std::string(11, ' ') + UMAS::LOGOTYPO[7]);
        BOS(DIA, GV, 271, PLAT::gr("             Ο ΕΛΕΓΚΤΗΣ"));
    }
    if (EXT == "EXP") BOS(DIA, GV, 271, PLAT::gr("               Ο ΕΛΕΓΚΤΗΣ"));
}

// ---- Totals --------------------------------------------------------------------------------------

void Disf::SUMKOLLA() {
    using UMAS::TOTALKOLA, UMAS::TOTALAXIA, UMAS::TOTALXM, UMAS::TOTALXK;
    TOTALKOLA = 0;
    TOTALAXIA = TOTALXM = TOTALXK = 0;
    PARAMS::PERIGRAFES = {};
    int lines = 0;
    auto firstLine = [&](SCB P, GGV G, int from, int to) {
        for (int b = from; b <= to; ++b)
            if (!IFSP(P, G, b)) return UMAS::CUTLEADSPACES(SOB(P, G, b)).substr(0, 40);
        return std::string();
    };
    TOTALKOLA += int32_t(std::lround(UMAS::EVAL(SOB(DIA, GV, 69))));
    TOTALXM += UMAS::EVAL(SOB(DIA, GV, 82));
    TOTALXK += UMAS::EVAL(SOB(DIA, GV, 86));
    TOTALAXIA += UMAS::EVAL(SOB(DIA, GV, 100));
    PARAMS::PERIGRAFES[size_t(++lines)] = firstLine(DIA, GV, 72, 76);
    const int n = std::min(uval(SOB(DIA, GV, 16)), 99);
    const std::string num = numberText(SOB(DIA, GV, 1));
    UMAS::LOCK("FBIS");
    for (int s = 2; s <= n; ++s) {
        const int from = EXT == "DFK" ? 2 * s - 2 : 3 * s - 4, to = EXT == "DFK" ? 2 * s - 1 : 3 * s - 2;
        for (int j = from; j <= to && j <= 99; ++j) {
            BM = UMAS::LEJU(num + two(s) + two(j), 14);
            EKDO::CHOB();
            if (!BOB || !EKDO::RUFB(LL, false)) continue;
            TOTALKOLA += int32_t(std::lround(UMAS::EVAL(SOB(BIS, GB, 20))));
            TOTALXM += UMAS::EVAL(SOB(BIS, GB, 32));
            TOTALXK += UMAS::EVAL(SOB(BIS, GB, 36));
            TOTALAXIA += UMAS::EVAL(SOB(BIS, GB, 50));
            if (lines < 20) PARAMS::PERIGRAFES[size_t(++lines)] = firstLine(BIS, GB, 23, 27);
        }
    }
    UMAS::UNLOC("FBIS");
}

// ---- F10, Alt-C, paste ---------------------------------------------------------------------------

void Disf::F10() {
    const int v = VV;
    if (v >= 72 && v <= 77) {
        if (EXT == "MTF") EKEXTRA::SYSKEYASIES(DIA, GV, 72, AY);
        else if (EXT != "DFK") EKEXTRA::CONTAINER_NUMS(false);
    }
    if (v == 68) EKEXTRA::SYSKEYASIES(DIA, GV, 72, AY);
    if (v == 34) BOS(DIA, GV, 34, SOB(DIA, GV, EXT == "EXP" || EXT == "MTF" ? 11 : 21));
    if (v == 146 || v == 150 || v == 154 || v == 158) {
        BOS(DIA, GV, v - 1, "MT:");
        BOS(DIA, GV, v, FMT(UMAS::EVAL(SOB(DIA, GV, 86)) / 1000.0, 9, 3) + "*");
        BOS(DIA, GV, v + 1, " = ");
    }
    if (v == 148 || v == 152 || v == 156 || v == 160 || v == 164) {
        const std::string ex = SOB(DIA, GV, v - 2);
        size_t P = ex.find('*');
        if (P != std::string::npos && P < 18) {
            double a = UMAS::EVAL(ex.substr(0, P));
            double b = UMAS::EVAL(ex.substr(P + 1, 18 - (P + 1)));
            BOS(DIA, GV, v + 2, std::to_string(std::llround(a * b)));
        }
    }
    if (v == 100) NEASTATAXIA();
    if (v == 79) EKEXTRA::GIVEPROSTHETA();
    if (v >= 101 && v <= 140 && EXT == "DFK") {
        BOS(DIA, GV, 182, PLAT::gr("ΧΡΕΩΣΗ ΑΚΕΡΑΙΟΥ Ε.Φ.Κ."));
        for (int r = 1; r <= 4; ++r) {
            std::string s;
            for (int b = 106 + 5 * r; b <= 109 + 5 * r; ++b) {
                s += SOB(DIA, GV, b);
                if (b == 108 + 5 * r) {
                    uint8_t ei = AY.EIF[size_t(r + 2)];
                    s += (ei == 1 || ei == 2 || ei == 6) ? "%" : " ";
                }
                s += " ";
            }
            BOS(DIA, GV, 182 + r, s);
        }
        BOS(DIA, GV, 193, PLAT::gr("ΣΥΝΟΛΟ"));
        BOS(DIA, GV, 195, SOB(DIA, GV, 141));
    }
    redraw();
}

void Disf::NEASTATAXIA() {
    SCR::CALLM(63, true);
    SCR::PRINT(3, 23, PLAT::gr("ΠΡΟΣΘΕΤΑ ΣΤ.ΑΞΙΑ:          "));
    int k = 0;
    AY.DAJ = UMAS::CUTLEADSPACES(SCR::GINPUT(21, 23, 10, AY.DAJ, "", SCR::soc("0123456789."), false, true, k));
    SCR::RECALL();
}

void Disf::calculator() {
    PARAMS::CALC(CAS);
    std::string t = UMAS::CUTLEADSPACES(SOB(DIA, GV, VV));
    t = t + " " + CAS;
    BOS(DIA, GV, VV, t.substr(0, size_t(GV.LEN(VV))));
    redraw();
}

void Disf::PUTCLIP(int LAST) {
    bool refused = false;
    for (int b = VV + 1; b <= LAST - 1 && !SCR::RESTCLIP.empty(); ++b) {
        std::string& R = SCR::RESTCLIP;
        size_t P = R.find('\r');
        size_t len = size_t(GV.LEN(b));
        if (P == std::string::npos || P > len) P = len;
        // Each box takes only the characters of its type, as typing does.
        BOS(DIA, GV, b, SCR::PASTEABLE(R.substr(0, P), TYPECHARS(GV.TYP(b)), refused));
        R.erase(0, std::min(P, R.size()));
        if (!R.empty() && R[0] == '\r') R.erase(0, 1);
        if (!R.empty() && R[0] == '\n') R.erase(0, 1);
    }
    if (refused && !SCR::PASTEBELL) PLAT::con().bell();
    redraw();
}

}  // namespace EK0
