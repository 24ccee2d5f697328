// The certificate of origin and the movement certificate A.TR.1: the parties from the declaration's
// boxes, the goods from the goods text box, one copy each on its own pre-printed form.
#include "documents/ekd2.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace EKD2 {

using namespace BOD;

namespace {

// The print question (mask 63); false when the clerk declines (the mask is then removed).
bool confirm() {
    SCR::CALLM(63, true);
    if (PRNS::YES(30, 23)) return true;
    SCR::RECALL();
    return false;
}

// Ends a printout: form feed, close, hand-off, and the print question's mask removed.
void finish(PRNS::Printout& o) {
    o.mode(11);
    o.F.close();
    UMAS::PRINTUSB();
    SCR::RECALL();
}

}  // namespace

void PIKA(SCB P, GGV G) {
    PEEM();
    if (!confirm()) return;
    PRNS::Printout o;
    o.open(UMAS::PE_PIKA);
    o.mode(1);
    auto line = [&](int col, const std::string& s, int feeds) {
        o.tab(col);
        o.text(s);
        o.lf(feeds);
    };
    line(2, SOB(P, G, 12), 1);
    line(2, SOB(P, G, 13), 1);
    line(2, SOB(P, G, 14), 4);
    line(2, SOB(P, G, 22), 2);
    line(2, SOB(P, G, 23), 2);
    line(2, SOB(P, G, 24), 2);
    o.tab(2);
    o.text(SOB(P, G, 25));
    line(40, SOB(P, G, 42), 15);
    for (int k = 1; k <= 10; ++k) {
        o.tab(2);
        o.text(GOODSLINE(k));
        if (k == 5) {
            o.tab(56);
            o.text("G.W.: " + UMAS::trim(SOB(P, G, 82)));
        }
        o.lf(1);
    }
    o.lf(13);
    const PLAT::DateTime d = PLAT::now();
    const std::string place = UMAS::LOGOTYPO[8];
    o.tab(3);
    o.text(place + " " + std::to_string(d.day) + "/" + std::to_string(d.month) + "/" + std::to_string(d.year));
    line(42, place + " CHAMBER", 1);
    line(42, "OF COMMERCE AND INDUSTRY", 7);
    finish(o);
}

std::string ATR1OFFICE(const std::string& box6) {
    std::string c = box6.substr(0, 2);
    if (!c.empty()) {
        if (c[0] == PLAT::gr("Σ")[0]) c[0] = 'S';
        else if (c[0] == PLAT::gr("Δ")[0]) c[0] = 'D';
    }
    if (box6.find(PLAT::gr("ΘΕΣ")) != std::string::npos) c += " THESSALONIKI ";
    return c;
}

void ATR1(SCB P, GGV G) {
    PEEM();
    if (!confirm()) return;
    PRNS::Printout o;
    o.open(UMAS::PE_ATR1);
    o.mode(1);
    auto line = [&](int col, const std::string& s, int feeds) {
        o.tab(col);
        o.text(s);
        o.lf(feeds);
    };
    // a text in a pitch, then back to 10 characters per inch
    auto in = [&](int col, int pitch, const std::string& s) {
        o.tab(col);
        o.mode(pitch);
        o.text(s);
        o.mode(1);
    };
    line(10, SOB(P, G, 12), 1);
    line(10, SOB(P, G, 13), 1);
    line(10, SOB(P, G, 14), 4);
    line(10, SOB(P, G, 22), 2);
    line(10, SOB(P, G, 23), 2);
    line(10, SOB(P, G, 24), 2);
    line(10, SOB(P, G, 25), 1);
    o.tab(44);
    o.text("GREECE");
    line(61, "TURKEY", 15);
    for (int k = 1; k <= 10; ++k) {
        in(21, 2, GOODSLINE(k));
        if (k == 3) in(69, 2, SOB(P, G, 82));
        o.lf(1);
    }
    o.lf(3);
    in(17, 1, SOB(P, G, 2));
    o.lf(1);
    const std::string signed11 = UMAS::LOGOTYPO[8] + " " + GOODSLINE(11);
    in(17, 2, ATR1OFFICE(SOB(P, G, 6)));
    in(28, 2, SOB(P, G, 7));
    in(56, 3, signed11);
    o.lf(4);
    in(14, 3, signed11);
    finish(o);
}

}  // namespace EKD2
