// The continuation-sheet editor: entry, the box loop of the main view, movement, the keys,
// storing, deleting and leaving, the new item, box-40 copy, additional value, calculator and paste.
#include <algorithm>
#include <cmath>

#include "common/umas.h"
#include "config/params.h"
#include "declarations/ekdo.h"
#include "declarations/ekdo_cbis.h"
#include "declarations/store_form.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"
#include "platform/files.h"

namespace EKDO {

using namespace BOD;

namespace {

constexpr int LAST_BOX = 128;  // the boxes of the main view
constexpr int TOP_LL = 23, BOTTOM_LL = SHEET_UPPER_ROWS;

// The key legend of the sheet editors (entries as in the declaration editors' legend).
// The sheet editor shows the declaration editor's key legend.
const UMAS::FUN& legend() { return BOD::GM1; }

// Characters a box of the main view accepts, by input type.
SCR::SOC typeChars(int type) {
    if (type == TY_ZNUM) return TYPECHARS(TY_DATE);  // digits, "." and "/" as the date boxes
    return TYPECHARS(type);
}

}  // namespace

// ---- Shared helpers ------------------------------------------------------------------------------

std::string two(int n) { return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10); }

int uvalue(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    long v = 0;
    for (; i < s.size() && s[i] != ' '; ++i) {
        if (s[i] < '0' || s[i] > '9') return 0;
        v = v * 10 + (s[i] - '0');
        if (v > 1000000) return 1000000;
    }
    return int(v);
}

std::string declNumber() {
    std::string s = SOB(DIA, GV, 1);
    PNU(GV, 1, s, true, '0');
    return s;
}

int firstItem(const std::string& EXT, int S) { return EXT == "DFK" ? 2 * S - 2 : 3 * S - 4; }
int lastItem(const std::string& EXT, int S) { return EXT == "DFK" ? 2 * S - 1 : 3 * S - 2; }

void say(const std::string& cp737) {
    SCR::CALLM(58, true);
    SCR::PRINT(4, 23, cp737);
    PLAT::con().readKey();
    SCR::RECALL();
}

// ---- Entry ---------------------------------------------------------------------------------------

void CBIS(const std::string& EXT) {
    if (!BIS.valid() || !GB.valid() || !DIA.valid()) return;
    Cbis e;
    e.EXT = EXT;
    e.run();
}

void Cbis::run() {
    PLAT::Console& c = PLAT::con();
    saved.assign(&c.cells[0][0], &c.cells[0][0] + 23 * PLAT::SCREEN_W);
    BBM.clear();
    BOB = false;
    XBIS();
    storedData.clear();
    LL = TOP_LL;
    PUSC(BIS, LL);
    SCR::CALLM(5, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({2, 3, 4, 8, 9, 10}, legend());
    leave = false;
    VV = 1;
    BSM = CSU(BIS, GB, SHEET_BOXES);

    while (!leave) pass();

    if (hint) {
        SCR::RECALL();
        hint = false;
    }
    std::copy(saved.begin(), saved.end(), &c.cells[0][0]);
    c.refresh();
    SCR::RECALL();
    SCR::RECALL();
}

std::string Cbis::help(int v) const {
    if (EXT == "DFK") {
        static const std::pair<int, const char*> dfk[] = {
            {37, "Αρ.Πλαισίου / Ειδ. Κωδικός Εμπορεύματος"}, {40, "55 Μονάδες Φόρτωσης"},
            {41, "56 Φορολογητέα Αξία"}, {46, "57 PLATO"}, {47, "58 C.C."},
            {48, "59 Συμψηφισμός Ε.Φ.Κ."}, {49, "60 Συμψηφισμός Φ.Π.Α."}, {62, "ΕΤΕΠΠΑΑ"}};
        for (const auto& [box, text] : dfk)
            if (box == v) return PLAT::gr(text);
    }
    return MES.line(GB.HLP(v));
}

// ---- The box loop --------------------------------------------------------------------------------

void Cbis::pass() {
    PLAT::Console& c = PLAT::con();
    const int YR = GB.ROW(VV) + 23 - LL;
    const int type = GB.TYP(VV);
    ST = typeChars(type);
    SCR::PRINT(74, 24, PLAT::gr("αα ") + UMAS::RIJU(std::to_string(VV), 3));
    SCR::PRINT(3, 24, UMAS::LEJU(help(VV), HELP_TEXT_MAX));
    KEY(VV, 1);
    std::string BO = SOB(BIS, GB, VV);
    if (ISNUMTYPE(type)) PNU(GB, VV, BO, true, ' ');
    const std::string before = BO;
    BO = SCR::GINPUT(GB.COL(VV), YR, GB.LEN(VV), BO, "", ST, false, true, K);
    if (type == TY_DATE && K != 3 && !dateAccepted(BO)) {
        // Not a real day of 1990 to 2049: the bell, the box stays as it was and keeps the cursor.
        c.bell();
        BO = before;
        K = -1;
    }
    if (type == TY_NUM || type == TY_SIGNED) PNU(GB, VV, BO, false, ' ');
    if (type == TY_ZNUM) PNU(GB, VV, BO, false, '0');
    BOS(BIS, GB, VV, BO);
    if (VV == 1 && K != 3) box1Check();
    if (YR >= 1 && YR <= 23)
        for (int i = 0; i < GB.LEN(VV); ++i) {
            const int col = GB.COL(VV) + i;
            c.cells[YR - 1][col - 1] = PLAT::Cell{BIS.CCH(GB.ROW(VV), col), BIS.CAT(GB.ROW(VV), col)};
        }
    c.refresh();
    // The item number is checked before its key is looked up: a number outside the sheet's range
    // never loads or starts an item.
    bool rules = true;
    if (VV == 3 && K != 3) rules = box3Check();
    if (rules) KEY(VV, 2);
    else if (hint) {
        SCR::RECALL();
        hint = false;
    }
    SCR::PRINT(3, 24, UMAS::LEJU(MES.line(0), HELP_TEXT_MAX));
    dispatch();
}

// Box 1: a sheet 2 up to main box 16. Numbers above 255 are beyond a sheet number: the bell.
bool Cbis::box1Check() {
    const int S = uvalue(SOB(BIS, GB, 1));
    const int N = uvalue(SOB(DIA, GV, 16));
    if (S > 255 || N > 255) PLAT::con().bell();
    if (S < 2 || S > N || S > 255) {
        K = 1;
        return false;
    }
    return true;
}

// Box 3: an item of the sheet's range. On failure the cursor comes back to box 3.
bool Cbis::box3Check() {
    const int S = uvalue(SOB(BIS, GB, 1));
    const int J = uvalue(SOB(BIS, GB, 3));
    if (J > 255) PLAT::con().bell();
    if (J > 255 || J < firstItem(EXT, S) || J > lastItem(EXT, S)) {
        K = 1;
        VV = 4;
        return false;
    }
    return true;
}

void Cbis::redraw() { PUSC(BIS, LL); }

void Cbis::follow(int last) {
    const int old = LL;
    if (GB.ROW(VV) <= LL - 23) LL = GB.ROW(VV) + 22;
    else if (GB.ROW(VV) > LL) LL = GB.ROW(VV);
    if (LL > last) LL = last;
    if (LL != old) redraw();
}

void Cbis::next() {
    if (VV < LAST_BOX) {
        int v = VV + 1;
        while (v < LAST_BOX && GB.TYP(v) == TY_SHOW) ++v;
        if (GB.TYP(v) != TY_SHOW) VV = v;
    }
    follow(BOTTOM_LL);
}

void Cbis::prev() {
    if (VV > 1) {
        int v = VV - 1;
        while (v > 1 && GB.TYP(v) == TY_SHOW) --v;
        if (GB.TYP(v) != TY_SHOW) VV = v;
    }
    follow(BOTTOM_LL);
}

void Cbis::scrollUp() {
    if (LL > TOP_LL) {
        --LL;
        while (VV > 1 && (GB.ROW(VV) > LL || GB.TYP(VV) == TY_SHOW)) --VV;
        redraw();
    }
}

void Cbis::scrollDown() {
    if (LL < BOTTOM_LL) {
        ++LL;
        while (VV < LAST_BOX && (GB.ROW(VV) <= LL - 23 || GB.TYP(VV) == TY_SHOW)) ++VV;
        redraw();
    }
}

void Cbis::pageDown() {
    PP[size_t(PP[0])] = VV;
    PP[0] = std::min(PP[0] + 1, 2);
    if (LL < BOTTOM_LL) {
        LL = std::min(LL + 23, BOTTOM_LL);
        for (int J = 1; J <= 2; ++J)
            if (GB.ROW(PP[size_t(J)]) > LL - 23 && GB.ROW(PP[size_t(J)]) <= LL) VV = PP[size_t(J)];
        while (VV < LAST_BOX && (GB.ROW(VV) <= LL - 23 || GB.TYP(VV) == TY_SHOW)) ++VV;
        redraw();
    }
}

void Cbis::pageUp() {
    PP[0] = std::max(PP[0] - 1, 1);
    if (LL > TOP_LL) {
        LL = std::max(LL - 23, TOP_LL);
        for (int J = 1; J <= 2; ++J)
            if (GB.ROW(PP[size_t(J)]) > LL - 23 && GB.ROW(PP[size_t(J)]) <= LL) VV = PP[size_t(J)];
        while (VV > 1 && (GB.ROW(VV) > LL || GB.TYP(VV) == TY_SHOW)) --VV;
        redraw();
    }
}

// A click outside the field: on the picker hint it works as Tab, on a box of the view it moves the
// cursor there.
void Cbis::mouse() {
    PLAT::Console& c = PLAT::con();
    PLAT::Event ev;
    bool got = false;
    for (int tries = 0; tries < 25 && !got; ++tries) {
        if (!c.poll(ev)) {
            c.idle(20);
            continue;
        }
        if (ev.type == PLAT::Event::MOUSE && ev.mouse.action == PLAT::MouseEvent::RELEASE) got = true;
        else if (ev.type != PLAT::Event::MOUSE) {
            c.unread(ev);
            return;
        }
    }
    if (!got) return;
    const int X = ev.mouse.x + 1, Y = ev.mouse.y + 1;
    if (Y == 24 && X >= 62 && X <= 73) {
        if (VV >= 129) BOBI_KEY(VV, 3);
        else KEY(VV, 3);
        redraw();
        return;
    }
    if (Y > 23) return;
    const int row = Y + LL - 23;
    const int from = VV >= 129 ? 129 : 1, to = VV >= 129 ? 164 : LAST_BOX;
    for (int v = from; v <= to; ++v)
        if (GB.ROW(v) == row && GB.TYP(v) != TY_SHOW && X >= GB.COL(v) && X < GB.COL(v) + GB.LEN(v)) {
            VV = v;
            break;
        }
}

void Cbis::dispatch() {
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
    case 9: EKD(EXT, false); break;
    case 10: store(); break;
    case 11:
        DIAB();
        VV = 1;
        LL = TOP_LL;
        redraw();
        break;
    case 13:
        BOBI();
        redraw();
        break;
    case 14: EKBI(0); break;
    case 16: F10(); break;
    case 18:
        if (EXT != "EXP") vehicles();
        break;
    case 19:
        if (EXT == "EXP") EKBI(3);
        break;
    case 20: calculator(); break;
    case 21:
        if (EXT == "EXP") EKBI(2);
        break;
    case 22:
        if (EXT == "EXP") EKBI(1);
        break;
    case 23:
        if (VV >= 23 && VV <= 28) {
            if (EXT == "MTF") EKEXTRA::CONTAINER_NUMS(true);
            else if (EXT == "DFK") EKEXTRA::KRASIA(BIS, GB, 23);
            else EKEXTRA::GIVEVASIS(BIS, GB, 23);
            redraw();
        }
        break;
    case 24:
        if (EXT == "IMP" || EXT == "DFK") vehicles();
        break;
    case 99:
        if (VV == 14 || VV == 15) PUTCLIP(VV, 17);
        else if (VV >= 23 && VV <= 27) PUTCLIP(VV, 29);
        else if (VV >= 42 && VV <= 44) PUTCLIP(VV, 46);
        break;
    case 100: mouse(); break;
    default: break;
    }
}

void Cbis::vehicles() {
    EKEXTRA::AYT(BIS, GB, 23, int(std::lround(UMAS::EVAL(SOB(BIS, GB, 3)))), SOB(BIS, GB, 29), EXT, AYB);
    redraw();
}

// ---- Store, delete, leave ------------------------------------------------------------------------

void Cbis::store() {
    // An item is stored only under a complete key: a declaration number and the item confirmed in
    // box 3. A stored item that did not change is not written again.
    if (BM.empty() || BM[0] == ' ' || BM[0] == '0' || BM != BBM) {
        PLAT::con().bell();
        return;
    }
    if (BOB && KATB_DATA() == storedData) {
        BSM = CSU(BIS, GB, SHEET_BOXES);
        return;
    }
    SCR::PRINT(2, 24, PLAT::gr("ΚΑΤΑΧΩΡΗΣΗ ..."));
    PLAT::con().refresh();
    UMAS::LOCK("FBIS");
    STORE::Result r = KATB();
    UMAS::UNLOC("FBIS");
    SCR::PRINT(2, 24, std::string(14, ' '));
    if (!r.refusal.empty()) {
        say(r.refusal);
        return;
    }
    storedData = KATB_DATA();
    for (const std::string& n : r.notices) say(n);
}

void Cbis::DIAB() {
    if (!BOB) return;
    SCR::CALLM(64, true);
    if (PRNS::YES(47, 23)) {
        UMAS::LOCK("FBIS");
        STORE::Result r = DELB();
        UMAS::UNLOC("FBIS");
        if (!r.refusal.empty()) {
            SCR::RECALL();
            say(r.refusal);
            return;
        }
        XBIS();
        BOB = false;
        storedData.clear();
        BSM = CSU(BIS, GB, SHEET_BOXES);  // the fresh item has nothing to lose
    }
    SCR::RECALL();
}

void Cbis::leaveAsk() {
    if (ALLA(BIS, GB, SHEET_BOXES, BSM)) {
        SCR::CALLM(65, true);
        const bool yes = PRNS::YES(55, 12);
        SCR::RECALL();
        if (!yes) return;
    }
    leave = true;
}

// ---- New item ------------------------------------------------------------------------------------

void Cbis::XBIS() {
    AYB = MOT{};
    for (int b = 53; b <= 88; b += 5)
        if (GB.COL(b) + 7 <= PAGE_COLS) BIS.CCH(GB.ROW(b), GB.COL(b) + 7) = ' ';
    for (int b = 93; b <= 121; b += 4) BIS.CCH(GB.ROW(b), 65) = ' ';
    BOS(BIS, GB, 2, "");
    for (int b = 4; b <= SHEET_BOXES; ++b) BOS(BIS, GB, b, "");
    PP = {1, 1, 1};

    auto main = [](int n) { return SOB(DIA, GV, n); };
    for (auto [item, from] : {std::pair{2, 16}, {4, 2}, {6, 4}, {7, 5}, {8, 6}, {9, 7}, {10, 1}, {11, 8}, {12, 9},
                              {30, 80}, {34, 84}, {35, 85}, {38, 88}})
        BOS(BIS, GB, item, main(from));
    const bool party1 = EXT == "EXP" || EXT == "MTF";
    for (int i = 0; i < 4; ++i) BOS(BIS, GB, 13 + i, main((party1 ? 11 : 21) + i));
    if (party1) BOS(BIS, GB, 128, UMAS::CUTLEADSPACES(main(187)) + " " + main(188));
    BOS(BIS, GB, 19, UMAS::PAREDE[1].TIMI == 1 ? std::string("PC") : PLAT::gr("ΚΟΛΛΑ:"));
    BOS(BIS, GB, 21, PLAT::gr("ΧΙΛ/ΜΑ:"));
    if (EXT != "EXP") {
        BOS(BIS, GB, 43, UMAS::CENTE(PLAT::gr("ΟΠΩΣ ΣΤΟ 1ο ΦΥΛΛΟ"), GB.LEN(43)));
        BOS(BIS, GB, 144, UMAS::CENTE(PLAT::gr("ΧΡΕΩΣΗ ΘΕΣΗ 47"), GB.LEN(144)));
    }
    BOS(BIS, GB, 145, UMAS::CENTE(UMAS::LOGOTYPO[7] + " ", GB.LEN(145)));
    BOS(BIS, GB, 146, UMAS::CENTE(PLAT::gr("Ο ΕΛΕΓΚΤΗΣ"), GB.LEN(146)));
}

// ---- F10 and its helpers -------------------------------------------------------------------------

void Cbis::F10() {
    const int v = VV;
    if (v >= 23 && v <= 28) {
        if (EXT == "MTF") EKEXTRA::SYSKEYASIES(BIS, GB, 23, AYB);
        else if (EXT != "DFK") EKEXTRA::CONTAINER_NUMS(true);
    }
    if (v == 19) EKEXTRA::SYSKEYASIES(BIS, GB, 23, AYB);
    if (v == 50) NEASTATAXIA();
    if (v == 38) COPY40();
    if (v >= 42 && v <= 45)
        for (int J = 0; J <= 3; ++J) {
            std::string s;
            for (int b = 96 + 4 * J; b <= 99 + 4 * J; ++b) s += SOB(BIS, GB, b) + " ";
            BOS(BIS, GB, 42 + J, s);
        }
    redraw();
}

void Cbis::COPY40() {
    const std::string N = UMAS::REMLCH(UMAS::CUTLEADSPACES(SOB(DIA, GV, 1)), ' ');
    const std::string from = UMAS::PATH + N + ".L1";
    // box 1 is the clerk's text: a name that is no readable file (a folder, a pipe) counts as
    // missing and leaves the item's own list as it is
    std::optional<std::string> read;
    if (!N.empty() && UMAS::FILEEXIST(from)) read = PLAT::readNamed(from);
    if (read) {
        std::string table = std::move(*read);
        if (table.size() > TDILOS_SIZE) {
            say(PLAT::gr("ΤΟ ") + N + PLAT::gr(".L1 ΞΕΠΕΡΝΑ ΤΑ 7560 BYTES: ΑΝΤΙΓΡΑΦΟΝΤΑΙ ΤΑ ΠΡΩΤΑ 7560"));
            table.resize(TDILOS_SIZE);
        }
        table.resize(TDILOS_SIZE, '\0');
        const std::string item = UMAS::REMLCH(UMAS::REMLCH(UMAS::CUTLEADSPACES(SOB(BIS, GB, 3)), ' '), '0');
        PLAT::writeWholeAtomic(UMAS::PATH + N + ".L" + item, table);
    }
    BOS(BIS, GB, 38, SOB(DIA, GV, 88));
}

void Cbis::NEASTATAXIA() {
    SCR::CALLM(63, true);
    SCR::PRINT(3, 23, PLAT::gr("ΠΡΟΣΘΕΤΑ ΣΤ.ΑΞΙΑ:          "));
    int k = 0;
    AYB.BA = SCR::GINPUT(21, 23, 10, AYB.BA, "", SCR::soc("0123456789."), false, true, k).substr(0, 10);
    SCR::RECALL();
}

void Cbis::calculator() {
    PARAMS::CALC(CAS);
    if (CAS.empty()) return;
    const std::string t = UMAS::CUTLEADSPACES(SOB(BIS, GB, VV));
    BOS(BIS, GB, VV, t + " " + CAS);
    redraw();
}

// The rest of a paste that did not fit box V goes line by line into the boxes after it, up to but not
// including LIMIT. A line ends at a carriage return or a line feed, or at the box's length.
void Cbis::PUTCLIP(int V, int LIMIT) {
    std::string& R = SCR::RESTCLIP;
    bool refused = false;
    for (int B = V + 1; B < LIMIT && !R.empty(); ++B) {
        const size_t len = size_t(GB.LEN(B));
        size_t P = R.find_first_of("\r\n");
        if (P == std::string::npos || P > len) P = len;
        // Each box takes only the characters of its type, as typing does.
        BOS(BIS, GB, B, SCR::PASTEABLE(R.substr(0, P), typeChars(GB.TYP(B)), refused));
        R.erase(0, std::min(P, R.size()));
        if (!R.empty() && R[0] == '\r') R.erase(0, 1);
        if (!R.empty() && R[0] == '\n') R.erase(0, 1);
    }
    if (refused && !SCR::PASTEBELL) PLAT::con().bell();
    if (V >= 129) LL = SHEET_ROWS;
    redraw();
}

}  // namespace EKDO
