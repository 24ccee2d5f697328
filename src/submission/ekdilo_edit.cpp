// The cargo manifest's editor: the front and the ten item pages, its keys, the two pick lists and
// the print.
#include <algorithm>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "config/params.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"
#include "submission/diskxml.h"
#include "submission/ekdilo.h"

namespace EKDILO {

namespace {

// A window of the program: a frame (single or double line) in attribute 14 with the title in its
// top edge, blank inside in attribute 3.
UMAS::CONV window(int x1, int y1, int x2, int y2, bool twoLines, const std::string& title) {
    UMAS::CONV w = UMAS::CONV::make(x1, y1, x2, y2);
    const std::string c = PLAT::gr(twoLines ? "╔═╗║╚╝" : "┌─┐│└┘");
    const int W = w.W(), H = w.H();
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const bool top = y == 0, bottom = y == H - 1, left = x == 0, right = x == W - 1;
            char ch = ' ';
            if (top || bottom) ch = left ? c[top ? 0 : 4] : right ? c[top ? 2 : 5] : c[1];
            else if (left || right) ch = c[3];
            w.ch(x, y) = uint8_t(ch);
            w.at(x, y) = top || bottom || left || right ? 0x0E : 0x03;
        }
    const int at = std::max(1, (W - int(title.size())) / 2);
    for (size_t i = 0; i < title.size() && at + int(i) < W - 1; ++i) w.ch(at + int(i), 0) = uint8_t(title[i]);
    return w;
}

// The menu driver over a pick list until Enter (true) or Esc.
bool pick(int XA, int XO, int LE, int ML, int MC, int& LI, int& CO) {
    int SE = 0;
    for (;;) {
        int KK = 0;
        UMAS::EPIL(0, 3, XA, XO, 6, 1, LE, ML, MC, 0, LI, CO, SE, KK, 0);
        if (KK == 0) return true;
        if (KK == 3) return false;
    }
}

// Saves the screen of a rectangle as it stands (nothing changes on screen).
void keep(int x1, int y1, int x2, int y2) {
    UMAS::CONV c = UMAS::CONV::make(x1, y1, x2, y2);
    const PLAT::Console& con = PLAT::con();
    for (int y = 0; y < c.H(); ++y)
        for (int x = 0; x < c.W(); ++x) {
            c.ch(x, y) = con.cells[y1 - 1 + y][x1 - 1 + x].ch;
            c.at(x, y) = con.cells[y1 - 1 + y][x1 - 1 + x].at;
        }
    SCR::CALLM(&c, true);
}

struct Editor {
    DILOBUF b;
    LAYDOC::Layout L{};
    std::vector<int> order;
    int page = 0;  // 0 the front, 1..10 the item pages
    int field = 1;

    LAYDOC::Field place(int f) const { return page == 0 ? FRONTFIELD(f) : CELLFIELD(f); }

    void BOX() {
        if (page == 0) {
            for (int k = 1; k <= FRONT; ++k) {
                const LAYDOC::Field f = FRONTFIELD(k);
                SCR::PRINT(f.x, f.y, UMAS::padTo(b.get(k), size_t(f.len)));
            }
            return;
        }
        SCR::PRINT(27, 24, UMAS::RIJU(std::to_string(page), 2));
        for (int k = FIRSTCELL; k <= LASTCELL; ++k) {
            const LAYDOC::Field f = CELLFIELD(k);
            SCR::PRINT(f.x, f.y, UMAS::cut(b.get(INDEXOF(page, k)), size_t(f.len)));
        }
    }

    void show(int newPage) {
        page = newPage;
        SCR::CALLM(page == 0 ? 114 : 115, false);
        field = page == 0 ? 1 : FIRSTCELL;
        BOX();
    }

    // The cell j (1..12) of the current field's line, as a record index.
    int cellOfLine(int j) const { return INDEXOF(page, field - (field - FIRSTCELL) % 12 + j - 1); }
    void put(int index, int f, const std::string& s) {
        b.set(index, s);
        const LAYDOC::Field p = place(f);
        SCR::PRINT(p.x, p.y, UMAS::padTo(b.get(index), size_t(p.len)));
    }

    void SELECTYPOXREOS() {
        UMAS::CONV w = window(39, 5, 56, 12, false, PLAT::gr("ΥΠΟΧΡΕΟΣ"));
        SCR::CALLM(&w, true);
        for (size_t i = 0; i < YPOXREOI.size(); ++i) SCR::PRINT(41, 6 + int(i), YPOXREOI[i]);
        int LI = 0, CO = 0;
        if (pick(41, 0, 14, 5, 0, LI, CO)) put(5, 5, YPOXREOI[size_t(LI)]);
        SCR::RECALL();
    }

    void SELECTFORT() {
        UMAS::CONV w = window(27, 4, 52, 12, true, PLAT::gr("ΦΟΡ/ΚΕΣ & ΣΥΝ.ΕΝΤΥΠΑ"));
        SCR::CALLM(&w, true);
        static const char* const SHOWN[10] = {"   T   ", "   N   ", "   T1  ", "   C   ", "TRANSIT",
                                              "  T2   ", "  T2F  ", "  TD   ", "  T2M  ", "       "};
        for (int i = 0; i < 10; ++i) SCR::PRINT(i < 5 ? 31 : 41, 6 + i % 5, SHOWN[i]);
        int LI = 0, CO = 0;
        if (pick(31, 10, 7, 4, 1, LI, CO)) put(cellOfLine(12), field, FORTOSEIS[size_t(5 * CO + LI)]);
        SCR::RECALL();
    }

    void documents() {
        uint8_t kk = 0;
        KVDI::PRE(KVDI::V09, true, kk);
        if (kk != 0) return;
        put(cellOfLine(1), field, UMAS::cut(KVDI::V09.KV[1], 21));
        put(cellOfLine(2), field + 1, UMAS::cut(KVDI::V09.EE[1], 21));
    }

    void packages() {
        uint8_t kk = 0;
        KVDI::SYS(KVDI::V0E, true, kk);
        if (kk == 0) put(cellOfLine(6), field, UMAS::cut(KVDI::V0E.TR, 2));
    }

    void tab() {
        if (page == 0) {
            if (field == 1) {
                READFROMEDE(b);
                BOX();
            } else if (field == 5) {
                SELECTYPOXREOS();
            }
            return;
        }
        switch ((field - FIRSTCELL) % 12 + 1) {
        case 1: documents(); break;
        case 6: packages(); break;
        case 12: SELECTFORT(); break;
        default: break;
        }
    }

    void PRIN() {
        if (LAYDOC::BLANKFORM(L, 1, FRONT + 12, "ParDILL")) return;
        SCR::CALLM(63, true);
        if (PRNS::YES(30, 23)) {
            PRNS::Printout o;
            o.open(UMAS::PE_DILO);
            o.mode(1);
            PRINTBODY(o, L, order, b);
            o.F.close();
            // handed off like every print: a spool file must not stay behind holding the spool
            // lock, which would stop every other workstation's next print
            UMAS::PRINTUSB();
        }
        SCR::RECALL();
    }

    bool hinted() const {
        if (page == 0) return field == 5;
        const int j = (field - FIRSTCELL) % 12 + 1;
        return j == 1 || j == 5 || j == 6 || j == 12;
    }

    void xml(bool handwritten, bool request) {
        const DISKET::PBUF p = TOPBUF(b);
        DISKXML::MAKE_XML("IMP", &p, false, true, true, handwritten, request);
    }

    void run() {
        for (;;) {
            const bool hint = hinted();
            if (hint) {
                keep(62, 23, 75, 24);
                SCR::CALLM(20, true);
                UMAS::ATR(63, 23, 13, 0x4F);
                UMAS::ATR(63, 24, 13, 0x4F);
            }
            if (page > 0) SCR::PRINT(49, 24, UMAS::RIJU(std::to_string(LINEOF(page, field)), 3));
            const LAYDOC::Field f = place(field);
            const int index = INDEXOF(page, field);
            int K = 0;
            b.set(index, SCR::GINPUT(f.x, f.y, f.len, b.get(index), "", SCR::socAll(), false, true, K));
            BOD::K = uint8_t(K);
            if (hint) {
                SCR::RECALL();
                SCR::RECALL();
            }
            const int first = page == 0 ? 1 : FIRSTCELL, last = page == 0 ? FRONT : LASTCELL;
            switch (K) {
            case 0:
            case 2:
                if (field < last) ++field;
                break;
            case 1:
                if (field > first) --field;
                break;
            case 3: return;
            case 4:
                if (page > 0) show(page - 1);
                break;
            case 5:
                if (page < PAGES) show(page + 1);
                break;
            case 6: tab(); break;
            case 10: {
                const std::string fn = FILENAME();
                if (fn.empty()) PRNS::REPORT(PLAT::gr("Ο αριθμός της διασάφησης δεν είναι όνομα αρχείου: δεν καταχωρήθηκε"));
                else STORE(fn, b);
                break;
            }
            case 14: PRIN(); break;
            case 17: {
                const DISKET::PBUF p = TOPBUF(b);
                DISKET::MAKE_DISK("IMP", DISKET::ED_DILO, &p, false);
                break;
            }
            case 20: PARAMS::CALC(BOD::CAS); break;
            case 29: xml(false, false); break;
            case 31: xml(true, false); break;
            case 33: xml(false, true); break;
            default: break;
            }
        }
    }
};

}  // namespace

void DILO(BOD::SCB, BOD::GGV, BOD::PRL&) {
    auto e = std::make_unique<Editor>();
    SCR::CALLM(114, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 2, 4, 5, 6}, LAYDOC::GMLOCAL);
    e->L = LAYDOC::READLAYOUT("ParDILL");
    e->order = LAYDOC::SORTVARS(e->L, FRONT);
    READFROMEDE(e->b);
    const std::string fn = FILENAME();
    if (!fn.empty()) READFILE(fn, e->b);
    e->BOX();
    e->run();
    BOD::K = 3;
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace EKDILO
