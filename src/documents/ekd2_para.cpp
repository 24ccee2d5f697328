// The party block editor, the goods text box of the certificates and the digit words.
#include <array>

#include "codes/kvdi.h"
#include "config/params.h"
#include "documents/ekd2.h"
#include "platform/codepage.h"
#include "screen/scr.h"

namespace EKD2 {

using namespace BOD;

// ---- Party block ------------------------------------------------------------------------------------

namespace {

// The 22 fields in editing order: screen row (at column 27) and width (the field's capacity).
struct ParaField {
    std::string PRL::*f;
    int row, width;
};
const std::array<ParaField, 23> LE = {{
    {nullptr, 0, 0},
    {&PRL::EP, 2, 44}, {&PRL::ON, 3, 20}, {&PRL::OP, 4, 20}, {&PRL::OD, 5, 30}, {&PRL::AR, 6, 7},
    {&PRL::SY, 7, 30}, {&PRL::PO, 8, 30}, {&PRL::TA, 9, 10}, {&PRL::A0, 10, 15}, {&PRL::A1, 11, 10},
    {&PRL::B0, 12, 10}, {&PRL::B1, 13, 15}, {&PRL::B2, 14, 20}, {&PRL::B3, 15, 15}, {&PRL::B4, 16, 46},
    {&PRL::B5, 17, 30}, {&PRL::AB, 18, 30}, {&PRL::A2, 19, 40}, {&PRL::A3, 20, 40}, {&PRL::A4, 21, 40},
    {&PRL::A5, 22, 40}, {&PRL::A6, 23, 40},
}};
constexpr int PARA_COL = 27;

bool blank(const std::string& s) { return UMAS::trim(s).empty(); }

}  // namespace

void PARA(PRL& PA, bool EDIT) {
    SCR::CALLM(61, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1}, GM1);
    if (blank(PA.B5)) PA.B5 = UMAS::cut(SOB(DIA, GV, 100) + PLAT::gr(" ΕΥΡΩ"), 30);
    if (blank(PA.B0)) {
        const std::string d = UMAS::padTo(SOB(DIA, GV, 8), 6);
        PA.B0 = d.substr(0, 2) + "-" + d.substr(2, 2) + "-" + d.substr(4, 2);
    }
    if (blank(PA.B1)) PA.B1 = PLAT::gr("ΑΝΟΙΚΤΟ-ΚΛΕΙΣΤΟ");
    auto show = [&](int i) { SCR::PRINT(PARA_COL, LE[size_t(i)].row, UMAS::padTo(PA.*LE[size_t(i)].f, size_t(LE[size_t(i)].width))); };
    for (int i = 1; i <= 22; ++i) show(i);

    if (!EDIT) {
        PLAT::con().readKey();
    } else {
        int i = 1, dir = 1;
        for (;;) {
            if (i == 14 || i == 15) {  // shown, never edited: passed over the way the clerk goes
                i += dir;
                continue;
            }
            const ParaField& f = LE[size_t(i)];
            const bool picker = i >= 18;
            if (picker) SCR::CALLM(20, true);
            int K = 0;
            const std::string s = SCR::GINPUT(PARA_COL, f.row, f.width, PA.*f.f, "", SCR::socAll(), false, true, K);
            if (picker) SCR::RECALL();
            PA.*f.f = UMAS::cut(s, size_t(f.width));
            if (K == 0 || K == 2) {
                if (i == 22) break;
                ++i;
                dir = 1;
            } else if (K == 1) {
                if (i > 1) {
                    --i;
                    dir = -1;
                }
            } else if (K == 3) {
                break;
            } else if (K == 6 && picker) {
                uint8_t kk = 3;
                KVDI::SFR(KVDI::V0B, true, kk);
                if (kk == 0) {
                    std::string* lines[] = {&PA.A2, &PA.A3, &PA.A4, &PA.A5, &PA.A6};
                    for (int r = 0; r < 5; ++r) {
                        std::string t;
                        for (int c = 0; c < 40; ++c) t += char(KVDI::V0B.ME[size_t(r)][size_t(c)].ch);
                        *lines[r] = t;
                        show(18 + r);
                    }
                }
            } else if (K == 20) {
                PARAMS::CALC(CAS);
            }
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

// ---- Goods text box ----------------------------------------------------------------------------------

TextLine TEXTBOX_LINE(int k) { return k == 11 ? TextLine{29, 17, 10} : TextLine{16, 6 + k, 50}; }

namespace {

// The character and attribute bytes of screen column x, row y in mask 79 (nullptr outside it).
uint8_t* boxCell(int x, int y) {
    UMAS::CONV* m = UMAS::mask(TEXTBOX_MASK);
    if (!m || x < m->X1() || x > m->X2() || y < m->Y1() || y > m->Y2()) return nullptr;
    return &m->ch(x - m->X1(), y - m->Y1());
}

}  // namespace

std::string GOODSLINE(int k) {
    const TextLine l = TEXTBOX_LINE(k);
    std::string s;
    for (int x = 0; x < l.width; ++x) {
        const uint8_t* c = boxCell(l.col + x, l.row);
        s += c ? char(c[0]) : ' ';
    }
    return s;
}

void PUTGOODSLINE(int k, const std::string& s) {
    const TextLine l = TEXTBOX_LINE(k);
    for (int x = 0; x < l.width && x < int(s.size()); ++x)
        if (uint8_t* c = boxCell(l.col + x, l.row)) c[0] = uint8_t(s[size_t(x)]);
}

void PUTGOODSCELLS(int k, const UMAS::FRMSCR* cells, int n) {
    const TextLine l = TEXTBOX_LINE(k);
    for (int x = 0; x < l.width && x < n; ++x)
        if (uint8_t* c = boxCell(l.col + x, l.row)) {
            c[0] = cells[x].ch;
            c[1] = cells[x].at;
        }
}

void EDITTEXTBOX(const std::function<void(int, int)>& KEY, const std::function<void()>& SHOWN) {
    SCR::CALLM(TEXTBOX_MASK, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({10}, GM1);
    if (SHOWN) SHOWN();
    int i = 1;
    for (;;) {
        KEY(i, 1);
        const TextLine l = TEXTBOX_LINE(i);
        int K = 0;
        const std::string s = SCR::GINPUT(l.col, l.row, l.width, GOODSLINE(i), "", SCR::socAll(), false, true, K);
        const std::string padded = UMAS::padTo(s, size_t(l.width));
        PUTGOODSLINE(i, padded);
        SCR::PRINT(l.col, l.row, padded);
        KEY(i, 2);
        if (K == 0) {
            if (i == TEXTBOX_LINES) break;
            ++i;
        } else if (K == 2) {
            if (i < TEXTBOX_LINES) ++i;
        } else if (K == 1) {
            if (i > 1) --i;
        } else if (K == 3) {
            break;
        } else if (K == 6) {
            KEY(i, 3);
        } else if (K == 20) {
            PARAMS::CALC(CAS);
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

UMAS::CONV* PEEM() {
    auto key = [](int line, int mode) {
        if (line > 2) return;
        if (mode == 1) SCR::CALLM(20, true);
        if (mode == 2) SCR::RECALL();
        if (mode != 3) return;
        uint8_t kk = 3;
        if (line == 1) {
            KVDI::EMP(KVDI::V0A, true, kk);
            if (kk != 0) return;
            for (int j = 1; j <= 6; ++j) PUTGOODSLINE(j, KVDI::V0A.RI[size_t(j)]);
        } else {
            KVDI::SFR(KVDI::V0B, true, kk);
            if (kk != 0) return;
            for (int r = 0; r < 8; ++r) PUTGOODSCELLS(2 + r, KVDI::V0B.ME[size_t(r)].data(), 40);
        }
        SCR::CALLM(TEXTBOX_MASK, false);
    };
    EDITTEXTBOX(key, nullptr);
    return UMAS::mask(TEXTBOX_MASK);
}

std::string DIGI(char C) {
    static const char* const words[] = {"ΜΗΔΕΝ", "ΕΝΑ", "ΔΥΟ", "ΤΡΙΑ", "ΤΕΣΣΕΡΑ", "ΠΕΝΤΕ", "ΕΞΙ", "ΕΠΤΑ", "ΟΚΤΩ", "ΕΝΝΕΑ"};
    if (C < '0' || C > '9') return "";
    return PLAT::gr(words[C - '0']);
}

}  // namespace EKD2
