// The declaration editor's box rules of the main page: the code pickers and what a picked row
// writes, the text blocks, the derived boxes (party copies of a transit, transport copies, the
// currency conversion into the statistical value), the totals of box 19 and the reference number
// of box 20. The number (box 1), the date (box 8) and the duty and tax lines have their rules with
// the number's.
#include <array>
#include <cmath>

#include "codes/gencod.h"
#include "codes/kvdi.h"
#include "common/umas.h"
#include "declarations/ek0_editor.h"
#include "declarations/ekdo.h"
#include "declarations/taxlines.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"
#include "platform/files.h"

namespace EK0 {

using namespace BOD;

namespace {

bool blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

// A code box's first four characters as the pickers look them up: four blanks open on nothing.
std::string code4(const std::string& s) {
    const std::string t = UMAS::CUTLEADSPACES(s.substr(0, 4));
    return t.empty() ? std::string(4, ' ') : t;
}

// Pascal's Str(N:W).
std::string str(long n, int w) { return UMAS::RIJU(std::to_string(n), w); }

// An office code as box 7 holds it: four characters with "0" first below 1000, empty for 0.
std::string officeCode(uint16_t KV) {
    if (KV == 0) return "";
    std::string s = str(KV, 4);
    if (KV < 1000) s[0] = '0';
    return s;
}

// A transport mode as boxes 59 and 60 hold it: two characters, the first only in a transit.
std::string modeCode(uint8_t KV, const std::string& EXT) {
    const std::string s = str(KV, 2);
    return EXT == "MTF" ? s.substr(0, 1) : s;
}

bool oddTransitOffice(int V) { return (V >= 191 && V <= 201 && V % 2 == 1) || V == 205; }
bool evenTransitCountry(int V) { return (V >= 192 && V <= 202 && V % 2 == 0) || V == 206; }

}  // namespace

bool Disf::ruleHint(int V) const {
    if (V >= 2 && V <= 7) return true;
    if (V >= 12 && V <= 14) return EXT != "EXP" && EXT != "MTF";
    switch (V) {
    case 19: case 20: case 34: case 35: case 39: case 40: case 42: case 43: case 44: case 46: case 47:
    case 49: case 50: case 52: case 53: case 54: case 56: case 59: case 60: case 61: case 64: case 65:
    case 66: case 68: case 70: case 71: case 79: case 80: case 84: case 85: case 88: case 89: case 187:
    case 188: case 203: case 205: case 206:
        return true;
    default: break;
    }
    return (V >= 72 && V <= 77) || (V >= 92 && V <= 95) || (V >= 182 && V <= 186) || (V >= 191 && V <= 202);
}

void Disf::RULES(int V, int STA) {
    auto box = [](int n) { return SOB(DIA, GV, n); };
    auto put = [](int n, const std::string& s) { BOS(DIA, GV, n, s); };
    uint8_t kk = 0;
    // Opens a picker; true when the clerk chose a row with Enter.
    auto picked = [&](auto&& open) {
        kk = 0;
        open();
        K = kk;
        return kk == 0;
    };

    // ---- Derived boxes on entering, leaving and Tab ---------------------------------------------
    if (V >= 21 && V <= 24) {
        if (EXT == "MTF" && UMAS::PAREDE[8].TIMI > 0) {
            bool changed = false;
            for (int b = 21; b <= 24; ++b)
                if (IFSP(DIA, GV, b) && !IFSP(DIA, GV, b - 10)) {
                    put(b, box(b - 10));
                    changed = true;
                }
            if (changed) redraw();
        }
        return;
    }
    if ((V == 52 || V == 59) && STA != 3) {
        if ((EXT == "IMP" || EXT == "MTF") && IFSP(DIA, GV, 52) && !(IFSP(DIA, GV, 46) && IFSP(DIA, GV, 60))) {
            put(52, box(46));
            put(59, box(60));
            redraw();
        }
        return;
    }
    if (V == 53 && STA != 3) {
        if (IFSP(DIA, GV, 53) && EXT != "EXP" && !IFSP(DIA, GV, 47)) {
            put(53, box(47));
            redraw();
        }
        return;
    }

    if (V == 54 || V == 56) {
        if (STA == 3 && picked([&] {
                KVDI::V01.KV = code4(box(54));
                KVDI::NOM(KVDI::V01, true, box(8), kk);
            })) {
            std::string b142 = box(142);
            if (b142.size() < 11) b142.resize(11, ' ');
            b142.replace(8, 3, UMAS::LEJU(KVDI::V01.ST, 3));
            put(142, b142);
            put(54, KVDI::V01.ST);
            put(56, UMAS::EVAL(KVDI::V01.IS) == 0 ? std::string(7, ' ') : KVDI::V01.IS.substr(0, 7));
        }
        if (EXT != "MTF") {
            const double A = UMAS::EVAL(box(55)), R = UMAS::EVAL(box(56));
            double X = 0;
            if (R > 0.01) {
                const double q = A / R;
                X = std::trunc(q) + std::nearbyint((q - std::trunc(q)) * 1000.0) / 1000.0;
            }
            if (X > 0.1) {
                const std::string t = FMT(X, 10, 2);
                if (t != box(100)) {
                    put(100, t);
                    if (STA != 3) redraw();
                }
            }
        }
        return;
    }

    if (STA != 3) return;

    // ---- Tab: the pickers and the other Tab rules -----------------------------------------------
    // Countries.
    auto country = [&](int codeBox, int nameBox, bool writeName) {
        if (picked([&] {
                KVDI::V02.KV = code4(box(codeBox));
                if (nameBox) KVDI::V02.CI = box(nameBox);
                KVDI::POL(KVDI::V02, true, kk);
            })) {
            put(codeBox, KVDI::V02.KV);
            if (nameBox && writeName) put(nameBox, KVDI::V02.CI);
        }
    };
    if (V == 39 || V == 40) return country(40, 39, true);
    if (V == 43 || V == 44) return country(44, 43, true);
    if (V == 42 || V == 80) return country(80, 42, EXT != "DFK");
    if (V == 47 || V == 53) return country(V, 0, false);
    if (evenTransitCountry(V)) {
        if (picked([&] { KVDI::POL(KVDI::V02, true, kk); })) put(V, KVDI::V02.CI);
        return;
    }

    // Customs offices.
    if (V == 6 || V == 7) {
        if (!picked([&] {
                KVDI::V04.TE = box(6);
                KVDI::V04.KV = uint16_t(std::clamp(std::nearbyint(UMAS::EVAL(box(7))), 0.0, 65535.0));
                KVDI::TEL(KVDI::V04, true, kk);
            }))
            return;
        const std::string TE = KVDI::V04.TE, code = officeCode(KVDI::V04.KV);
        put(6, TE);
        put(7, code);
        static const std::pair<const char*, const char*> towns[] = {
            {"ΜΟΥΔ", "ΜΟΥΔΑΝΙΑ"}, {"ΣΤΑΥΡ", "ΣΤΑΥΡΟΣ"}, {"ΚΑΤΕΡ", "ΚΑΤΕΡΙΝΗ"}, {"ΚΙΛΚ", "ΚΙΛΚΙΣ"}, {"ΣΕΡΡ", "ΣΕΡΡΕΣ"}};
        UMAS::LOGOTYPO[7] = UMAS::DEFAULT_POLI;
        for (const auto& [part, town] : towns)
            if (TE.find(PLAT::gr(part)) != std::string::npos) {
                UMAS::LOGOTYPO[7] = PLAT::gr(town);
                break;
            }
        if (EXT == "MTF" || EXT == "EXP") {
            std::string c = UMAS::LEJU(code, 4);
            if (c[0] == ' ') c[0] = '0';
            put(187, TE);
            put(188, "GR00" + c);
        }
        return;
    }
    if (V == 187 || V == 188) {
        if (picked([&] { KVDI::TEL(KVDI::V04, true, kk); })) {
            const std::string code = officeCode(KVDI::V04.KV);
            put(187, KVDI::V04.TE);
            put(188, (EXT == "MTF" || EXT == "EXP") && !code.empty() ? "GR00" + code : code);
        }
        return;
    }
    if (V == 64) {
        if (picked([&] { KVDI::TEL(KVDI::V04, true, kk); }))
            put(64, KVDI::V04.KV == 0 ? UMAS::CUTLEADSPACES(KVDI::V04.TE) + " " + KVDI::V04.CI
                                      : "GR00" + officeCode(KVDI::V04.KV) + " " + KVDI::V04.TE);
        return;
    }
    if (oddTransitOffice(V)) {
        if (picked([&] { KVDI::TEL(KVDI::V04, true, kk); })) {
            put(V, KVDI::V04.KV == 0 ? KVDI::V04.TE : "GR00" + officeCode(KVDI::V04.KV));
            put(V + 1, KVDI::V04.CI);
        }
        return;
    }

    // Places, transport, presets, delivery terms, units, packages.
    if (V == 61 || V == 65) {
        if (picked([&] { KVDI::APO(KVDI::V05, true, kk); })) put(V, KVDI::V05.AP);
        return;
    }
    if (V == 46 || V == 60 || V == 52 || V == 59) {
        if (picked([&] { KVDI::TRM(KVDI::V06, true, kk); })) {
            const bool first = V == 46 || V == 60;
            put(first ? 60 : 59, modeCode(KVDI::V06.KV, EXT));
            put(first ? 46 : 52, KVDI::V06.TR);
        }
        return;
    }
    if ((V >= 2 && V <= 5) || V == 84) {
        if (picked([&] { KVDI::PER(KVDI::V07, true, kk); })) {
            const KVDI::RECPER& p = KVDI::V07;
            if (EXT != "DFK") {
                put(4, p.PE);
                put(2, p.DI);
            }
            put(5, p.KV == 0 ? std::string("  ") : str(p.KV, 2));
            put(3, p.DI.size() > 5 ? p.DI.substr(5, 2) : std::string());
            put(84, p.KA == 0 ? std::string() : std::to_string(p.KA));
        }
        return;
    }
    if (V == 49 || V == 50) {
        if (picked([&] { KVDI::TRP(KVDI::V08, true, kk); })) {
            put(49, KVDI::V08.TR);
            put(50, KVDI::V08.PA);
        }
        return;
    }
    if (V == 89) {
        if (picked([&] { KVDI::MON(KVDI::V0D, true, kk); })) put(89, KVDI::MON_CODE(KVDI::V0D.KV));
        return;
    }
    if (V == 68 || V == 70) {
        if (picked([&] { KVDI::SYS(KVDI::V0E, true, kk); }))
            put(V, UMAS::PAREDE[1].TIMI == 1 ? KVDI::V0E.TR : KVDI::V0E.PA);
        return;
    }
    if (V == 85) {
        GENCOD::GENCODE("METRA", PLAT::gr("ΚΑΤΗΓΟΡΙΑ ΜΕΤΡΟΥ"));
        if (!GENCOD::GENREC_CODE.SCODE.empty()) put(85, GENCOD::GENREC_CODE.SCODE);
        return;
    }

    // Goods.
    if (V == 72 || (V >= 74 && V <= 77) || V == 79) {
        const std::string before79 = box(79);
        if (!picked([&] {
                KVDI::V0A.KV = UMAS::CUTLEADSPACES(before79);
                KVDI::EMP(KVDI::V0A, true, kk);
            }))
            return;
        const KVDI::RECEMP& g = KVDI::V0A;
        const int EE = g.EE <= 3 ? g.EE : 0;
        const std::string b142 = box(142);
        put(142, BOD::EEM[size_t(EE)] + (b142.size() > 3 ? b142.substr(3) : std::string()));
        const int lines = EE == 1 ? 2 : EE == 2 ? 3 : 6;
        for (int i = 1; i <= lines; ++i) put(71 + i, g.RI[size_t(i)]);
        if (EE == 1 || EE == 2) EKEXTRA::AYT(DIA, GV, 72, 1, before79, EXT, AY);
        put(79, g.KV);
        if (EXT == "IMP" || EXT == "DFK" || EXT == "MTF") {
            for (int j = 1; j <= 8; ++j)
                if (g.TC[size_t(j)] != 0) {
                    KVDI::V0C = g.TC[size_t(j)];
                    FOT(DIA, GV, 96 + 5 * j, MAIN_OFS, AY);
                }
            SM2(DIA, GV, MAIN_FO, MAIN_FV, MAIN_SJ, AY, EXT);
        }
        return;
    }
    if (V == 73) {
        const std::string b142 = box(142);
        if (b142.find(PLAT::gr("ΑΥΤ")) != std::string::npos || b142.find(PLAT::gr("ΜΗΧ")) != std::string::npos) {
            KVDI::V0A.EE = 1;
            EKEXTRA::AYT(DIA, GV, 72, 1, box(79), EXT, AY);
        }
        return;
    }

    // Attached documents.
    if (V >= 92 && V <= 95) {
        if (UMAS::PAREDE[13].TIMI == 0) {
            EKEXTRA::DIAM44();
            return;
        }
        if (!picked([&] { KVDI::PRE(KVDI::V09, true, kk); })) return;
        const KVDI::RECPREB& d = KVDI::V09;
        auto part = [&](int j) -> std::string {
            if (blank(d.EE[size_t(j)])) return "";
            // A blank code (three blanks as typed, four as the table pads it) leaves four blanks.
            return (blank(d.KV[size_t(j)]) ? std::string(4, ' ') : UMAS::CUTLEADSPACES(d.KV[size_t(j)]) + ":") +
                   UMAS::CUTLEADSPACES(d.EE[size_t(j)]);
        };
        for (int i = 1; i <= 4; ++i) {
            const std::string line = blank(d.EE[size_t(i + 4)]) ? part(i) : part(i) + "  " + part(i + 4);
            if (V + i - 1 <= BOXES) put(V + i - 1, line);
        }
        return;
    }

    // Text blocks: rows of the chosen block, cell by cell, at the start of the boxes.
    auto textBlock = [&](int first, int rows, int cells) {
        if (!picked([&] { KVDI::SFR(KVDI::V0B, true, kk); })) return;
        for (int r = 0; r < rows; ++r) {
            const int b = first + r;
            for (int c = 0; c < cells && GV.COL(b) + c <= PAGE_COLS; ++c) {
                const UMAS::FRMSCR& cell = KVDI::V0B.ME[size_t(r)][size_t(c)];
                // Cells a pick leaves unfilled (beyond the table's 40) become blanks, never
                // control bytes in a stored box.
                if (cell.ch == 0) {
                    DIA.CCH(GV.ROW(b), GV.COL(b) + c) = ' ';
                    continue;
                }
                DIA.CCH(GV.ROW(b), GV.COL(b) + c) = cell.ch;
                DIA.CAT(GV.ROW(b), GV.COL(b) + c) = cell.at;
            }
        }
    };
    if (V >= 12 && V <= 14) {
        if (EXT != "EXP" && EXT != "MTF") textBlock(12, 3, 40);
        return;
    }
    if (V == 35) return textBlock(35, 4, 40);
    if (V >= 182 && V <= 186) return textBlock(182, 5, 50);
    if (V == 203) return textBlock(203, 1, 40);

    // The other Tab rules.
    if (V == 19) {
        SUMKOLLA();
        put(19, std::to_string(UMAS::TOTALKOLA));
        return;
    }
    if (V == 20) {
        std::string S;
        if (READANAF(S)) put(20, S);
        return;
    }
    if (V == 34) return put(34, UMAS::AFM_EKTEL);
    if (V == 66) return EKEXTRA::CONTAINER_NUMS(false);
    if (V == 88) {
        std::string S = box(88);
        EKDO::DILOTIKO(1, S);
        put(88, S);
        return;
    }
}

// The next reference number: the first line of "ANAF.DAT" rounded, plus 1. A missing or unreadable
// file is told on row 24 and gives nothing.
bool Disf::READANAF(std::string& S) {
    const auto lines = PLAT::readLines(UMAS::PATH + "ANAF.DAT");
    std::string line = lines && !lines->empty() ? (*lines)[0] : std::string();
    const size_t from = line.find_first_not_of(' ');
    const bool number = from != std::string::npos && ((line[from] >= '0' && line[from] <= '9') ||
                                                      (line[from] == '-' && from + 1 < line.size() &&
                                                       line[from + 1] >= '0' && line[from + 1] <= '9'));
    // A number too large for a reference is as unreadable as no number.
    const double value = number ? UMAS::EVAL(line) : 0;
    if (!number || !(std::fabs(value) < 1e15)) {
        PLAT::Console& c = PLAT::con();
        std::vector<PLAT::Cell> row(&c.cells[23][0], &c.cells[23][0] + PLAT::SCREEN_W);
        SCR::PRINT(2, 24, UMAS::LEJU(PLAT::gr(lines ? "ΤΟ ΑΡΧΕΙΟ ANAF.DAT ΔΕΝ ΕΧΕΙ ΑΡΙΘΜΟ ΑΝΑΦΟΡΑΣ ..."
                                                    : "ΔΕΝ ΒΡΕΘΗΚΕ ΤΟ ΑΡΧΕΙΟ ANAF.DAT ..."),
                                     58));
        c.refresh();
        c.readKey();
        std::copy(row.begin(), row.end(), &c.cells[23][0]);
        c.refresh();
        return false;
    }
    S = std::to_string(int64_t(std::nearbyint(value)) + 1);
    return true;
}

}  // namespace EK0
