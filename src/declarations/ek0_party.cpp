// The declaration editor's customer boxes: the party's name typed once, completed from the customer
// files (Enter on a changed name, Down to the next customer in name order, Tab for the customer
// picker), and the party's tax number, address and further lines written around it.
#include "common/umas.h"
#include "customers/arp0.h"
#include "customers/pelat.h"
#include "declarations/chep.h"
#include "declarations/ek0_editor.h"
#include "platform/codepage.h"

namespace EK0 {

using namespace BOD;

namespace {

bool blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }
using UMAS::cut;

// The characters a name may hold: blank, "&", "-" to "Z", "a" to "z", the Greek letters of code
// page 737 (128..175), the small omega (224) and the accented letters (folded to capitals).
const SCR::SOC& nameChars() {
    static const SCR::SOC s = [] {
        SCR::SOC r;
        r.set(' ');
        r.set('&');
        for (int c = 45; c <= 90; ++c) r.set(size_t(c));
        for (int c = 'a'; c <= 'z'; ++c) r.set(size_t(c));
        for (int c = 128; c <= 175; ++c) r.set(size_t(c));
        r.set(224);
        r |= SCR::socGreekAccented();
        return r;
    }();
    return s;
}

std::string upper(const std::string& s) { return ARP0::FOLD(s); }

// The name's key stepped on: its 30th character (29th when the 30th is "&") becomes the next one
// of the collation alphabet. A name ending in "&&" has no next key and stays as it is.
std::string stepped(std::string s) {
    s = UMAS::LEJU(s, 30);
    size_t at = 29;
    if (s[29] == '&') {
        if (s[28] == '&') return s;
        at = 28;
    }
    const int32_t r = ARP0::INS(s[at]);
    s[at] = r + 1 < int32_t(ARP0::AB.size()) ? ARP0::AB[size_t(r + 1)] : ' ';
    if (r >= 65) s[at] = ' ';
    return s;
}

// EK0.DISF.PELI.RUF: the party fields from a picked customer record.
void takeRecord(const ARP0::RR0& R) {
    EA = R.EA;
    AF = R.AF;
    TK = R.TK;
    TH[1] = R.TH[0];
    TH[2] = R.TH[1];
    EF = R.EF;
    SX = R.SX;
    ON = cut(R.ON, 30);
    DI = cut(R.DI, 30);
    PO = cut(R.PO, 20);
    EP = cut(R.EP, 20);
}

}  // namespace

// EK0.DISF.PELI.PRIS: the party's boxes around the name box VA.
static void PRIS(int VA, const std::string& EXT) {
    auto put = [](int n, const std::string& s) { BOS(DIA, GV, n, s); };
    put(VA, "");
    put(VA + 1, "");
    put(VA + 2, "");
    if (VA == 22) put(25, "");

    const std::string af = UMAS::CUTLEADSPACES(AF);
    if (UMAS::HLEK4 && EXT != "DFK" && !af.empty() && af[0] >= '0' && af[0] <= '9') put(VA - 1, "GR" + AF);
    else if (!blank(AF)) put(VA - 1, AF);
    else put(VA - 1, SX);

    const std::string di = UMAS::CUTLEADSPACES(DI), po = UMAS::CUTLEADSPACES(PO), ep = UMAS::CUTLEADSPACES(EP), ef = UMAS::CUTLEADSPACES(EF);
    const size_t DL = std::max<size_t>(di.size(), 1), PL = std::max<size_t>(po.size(), 1);
    if (VA == 22) {
        int b = 23;
        if (!blank(ON)) put(b++, ON);
        if (DL + PL < 28) {
            put(b++, di + " - " + po);
        } else {
            put(b++, DI);
            put(b++, PO);
        }
        if (b < 26) put(b, ep.size() < 16 && !ef.empty() ? ep + PLAT::gr("  ΔΟΥ:") + ef : EP);
    } else if (VA == 12) {
        std::string S;
        if (DL + PL < 29) {
            put(13, di + " " + po);
            S = EP;
        } else {
            put(13, DI);
            S = PO;
        }
        if (EXT == "EXP" || (EXT == "MTF" && UMAS::PAREDE[9].TIMI == 0))
            S = PLAT::gr("ΔΟΥ:") + ef + " EME:" + UMAS::CUTLEADSPACES(SX);
        put(14, S);
    } else if (VA == 182) {
        if (!blank(ON)) {
            put(183, ON);
            put(184, DI);
            put(185, PO);
        } else {
            put(183, DI);
            put(184, PO);
            put(185, EP);
        }
    }
    PUSC(DIA, LL);
}

void Disf::PELI(int VA) {
    const int sw9 = UMAS::PAREDE[9].TIMI;
    const bool mtf = EXT == "MTF", exp = EXT == "EXP";
    // The customer set of each way of looking up (0 domestic, 1 foreign, -1 none) and whether the
    // domestic lookup sets the declaration's customer.
    int enterSet = 0, downSet = 0, tabSet = 0;
    bool setsPR = true;
    if (mtf && VA == 12) {
        enterSet = sw9 == 0 ? 0 : -1;
        downSet = sw9 == 0 ? 0 : 1;
        tabSet = sw9 == 1 ? 1 : 0;
        setsPR = sw9 == 0;
    } else if (mtf && VA == 22) {
        enterSet = sw9 == 1 ? 0 : -1;
        downSet = sw9 == 1 ? 0 : 1;
        tabSet = sw9 == 0 ? 1 : 0;
        setsPR = sw9 == 1;
    } else if (mtf && VA == 182) {
        enterSet = downSet = tabSet = sw9 == 1 ? 1 : 0;
        setsPR = false;
    } else if (exp && VA == 22) {
        enterSet = -1;
        downSet = tabSet = 1;
        setsPR = false;
    }
    auto lookUp = [&](int set) {
        const std::string damage = CHEP(set, set == 0 && setsPR);
        PRIS(VA, EXT);
        if (!damage.empty()) message(damage);
    };

    const std::string entered = EA;
    for (;;) {
        const std::string old = EA;
        std::string name = SCR::GINPUT(GV.COL(VA), YR, GV.LEN(VA), EA, "", nameChars(), false, true, K);
        name = upper(name);
        const std::string t = UMAS::CUTLEADSPACES(name);
        if (K == 3 && !t.empty() && (t[0] == '&' || t[0] == '-' || t[0] == '.' || t[0] == '/')) {
            // Esc on a refused name gives the box back its name.
            EA = entered;
            return;
        }
        if (!t.empty() && (t[0] == '&' || t[0] == '-' || t[0] == '.' || t[0] == '/')) {
            PLAT::con().bell();
            EA = name;
            continue;
        }
        EA = UMAS::LEJU(cut(name, 30), 30);
        BLE = (EA == UMAS::LEJU(old, 30) && !blank(EA)) || (mtf && VA == 12 && sw9 == 1);
        if (K == 0) {
            if (BLE || (exp && VA == 22)) return;
            if (enterSet >= 0) lookUp(enterSet);
        } else if (K == 2) {
            if (BLE) EA = stepped(EA);
            lookUp(downSet);
        } else if (K == 6) {
            uint16_t chosen = ARP0::NONE;
            ARP0::RR0 rec;
            PELAT::ALPHAPEL(EA, tabSet, chosen, &rec);
            if (chosen != ARP0::NONE) {
                // The domestic picker names the declaration's customer; the foreign one does not.
                if (tabSet == 0) PR = chosen;
                PELAT::DIASRECPEL = rec;
                takeRecord(rec);
                PRIS(VA, EXT);
                if (hint) SCR::CALLM(20, false);
            }
        } else {
            return;
        }
    }
}

}  // namespace EK0
