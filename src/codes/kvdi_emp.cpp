// The goods catalogue: the index "EMP.DAT" (1500 codes, read and written whole) and the details
// "PEMP.DAT" (one record per code, read and written one at a time under "FEMP"). Three levels:
// the codes, the twenty tax lines of a code, and the eight taxes of a line. Whenever the details
// of a code are read its own 48 rates go into UMAS::PTAX.
#include <algorithm>
#include <cmath>

#include "codes/kvdi.h"
#include "codes/kvdi_screen.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace KVDI {

UMAS::FUN GM2 = [] {
    UMAS::FUN f;
    f[1] = PLAT::gr("ESC.Status");
    f[3] = PLAT::gr("Enter.Είδη Φόρων");
    f[4] = PLAT::gr("PgDn.Σχόλια");
    f[5] = PLAT::gr(" , .Μετακίνηση");
    f[8] = PLAT::gr("F5.Διαγραφή");
    return f;
}();

std::string EMP_CODE(const GENCOD::REC_FPA& r) {
    const std::string c = detail::padTo(r.CODE10, 10);
    return c.substr(0, 8) + " " + c.substr(8, 2) + " 0000 0000 " + r.CODE4;
}

double EMP_KVAL(const std::string& KV) {
    std::string s;
    for (char c : KV.substr(0, std::min<size_t>(12, KV.size())))
        if (c != ' ') s += c;
    const double v = UMAS::EVAL(s);
    return v == 0 ? 1e22 : v;
}

void EMP_PUTCLIP(std::array<std::string, 7>& lines, int from, size_t width) {
    for (int i = from; i <= 6 && !SCR::RESTCLIP.empty(); ++i) {
        std::string& R = SCR::RESTCLIP;
        size_t n = 0;
        while (n < R.size() && n < width && R[n] != '\r' && R[n] != '\n') ++n;
        lines[size_t(i)] = R.substr(0, n);
        R.erase(0, n);
        if (!R.empty() && R[0] == '\r') R.erase(0, 1);
        if (!R.empty() && R[0] == '\n') R.erase(0, 1);
    }
}

namespace {

using namespace detail;

const char* const EEM[5] = {"               ", "  ΑΥΤΟΚΙΝΗΤΟ   ", "ΜΗΧ. ή ΦΟΡΤΗΓΟ", "ΠΕΤΡΕΛΑΙΟΕΙΔΗ ", "              "};

struct Catalogue {
    RECEMP& MEE;
    const bool BL;
    uint8_t& KK;
    PLAT::Console& con = PLAT::con();

    bool BO = false;
    std::vector<uint8_t> img = std::vector<uint8_t>(F_EMP.size);
    std::vector<REC> idx;
    int L = 0, CL = 0, SL = 0;
    REK W, last;          // the details of the entry under the bar, as worked on and as read
    bool readable = true;  // its record lies within "PEMP.DAT"

    Catalogue(RECEMP& m, bool bl, uint8_t& kk) : MEE(m), BL(bl), KK(kk) {}

    int entry() const { return SL * 20 + CL * 10 + L + 1; }
    int cellX() const { return 7 + 27 * CL; }
    int cellY() const { return 6 + L; }
    const std::string pemp() const { return UMAS::PATH + "PEMP.DAT"; }

    // ---- Details ----
    void REM() {
        const uint16_t ri = idx[size_t(entry())].RI;
        std::vector<uint8_t> b(REK::SIZE);
        UMAS::LOCK("FEMP");
        PLAT::File f;
        readable = f.open(pemp(), PLAT::File::READ, false) && f.size() >= int64_t(ri + 1) * int64_t(REK::SIZE);
        if (readable) f.readAt(int64_t(ri) * int64_t(REK::SIZE), b.data(), b.size());
        f.close();
        UMAS::UNLOC("FEMP");
        if (!readable) {
            // "The details of this code are missing from PEMP.DAT. Press a key"
            PRNS::REPORT(PLAT::gr("Λείπουν τα στοιχεία του κωδικού από το PEMP.DAT. Πατήστε ένα πλήκτρο"));
            last = W = REK::blank();
            return;
        }
        last = W = REK::decode(b.data());
        for (int n = 1; n <= 48; ++n) {
            RECTAX t = getTax(n);
            t.PS = W.PC[size_t(n)];
            putTax(n, t);
        }
    }
    void KTP() {
        if (!readable) return;
        for (int n = 1; n <= 48; ++n) W.PC[size_t(n)] = getTax(n).PS;
        if (W == last) return;
        const uint16_t ri = idx[size_t(entry())].RI;
        std::vector<uint8_t> b(REK::SIZE);
        UMAS::LOCK("FEMP");
        PLAT::File f(pemp(), PLAT::File::READWRITE);
        f.readAt(int64_t(ri) * int64_t(REK::SIZE), b.data(), b.size());
        W.encode(b.data());
        f.writeAt(int64_t(ri) * int64_t(REK::SIZE), b.data(), b.size());
        f.close();
        UMAS::UNLOC("FEMP");
        last = W;
    }

    // ---- Drawing ----
    void BOX() {
        for (int co = 0; co < 2; ++co)
            for (int li = 0; li < 10; ++li)
                SCR::PRINT(7 + 27 * co, 6 + li, padTo(idx[size_t(SL * 20 + co * 10 + li + 1)].KV, 26));
        SCR::PRINT(57, 16, two(SL + 1));
    }
    void BXP() {
        SCR::PRINT(28, 17, padTo(PLAT::gr(EEM[std::min<int>(W.EE, 4)]), 15));
        for (int i = 1; i <= 6; ++i) SCR::PRINT(8, 17 + i, padTo(W.RI[size_t(i)], 40));
    }
    void BXX() {
        for (int line = 1; line <= 20; ++line)
            SCR::PRINT(53 + 7 * ((line - 1) / 10), 6 + (line - 1) % 10, padTo(W.TR[size_t(line)], 6));
        for (int i = 1; i <= 6; ++i) SCR::PRINT(54, 17 + i, padTo(W.SX[size_t(i)], 23));
    }
    void BPP(int line) {
        for (int slot = 1; slot <= 8; ++slot) {
            const int n = W.KF[size_t(line)][size_t(slot)];
            std::string code = "   ", rate(8, ' ');
            if (n >= 1 && n <= 48) {
                RECTAX t = getTax(n);
                if (!blankOrEmpty(t.KV)) code = padTo(t.KV, 3);
                rate = padTo(rateText8(t), 8);
            }
            SCR::PRINT(67, 7 + slot, code);
            SCR::PRINT(71, 7 + slot, rate);
        }
    }

    // Every entry owns its details record. The entries after the first `whole` were not in
    // "EMP.DAT" (a missing or short index) and read as details number 0, and an entry of a damaged
    // index may name the record of an entry before it: each of these gets a details number that no
    // other entry uses, the lowest first, so that two codes never share one record.
    void ownDetails(size_t whole) {
        std::vector<bool> used(PEMP_N, false);
        std::vector<size_t> without;
        for (size_t n = 1; n <= PEMP_N; ++n) {
            const uint16_t ri = idx[n].RI;
            if (n > whole || (ri < PEMP_N && used[ri]))
                without.push_back(n);
            else if (ri < PEMP_N)
                used[ri] = true;
        }
        size_t next = 0;
        for (size_t n : without) {
            while (used[next]) ++next;  // never runs out: the others use fewer numbers than remain
            idx[n].RI = uint16_t(next++);
        }
    }

    // ---- Sorting ----
    void SORT() {
        std::stable_sort(idx.begin() + 1, idx.end(),
                         [](const REC& a, const REC& b) { return EMP_KVAL(a.KV) < EMP_KVAL(b.KV); });
    }

    // ---- Lines of text (descriptions, comments) ----
    // Edits lines from..6 of T at column x, rows 17+i, width w. Returns the exit code that ended
    // it: 0 after the last line, 1 Up out of line 1, 3 Esc.
    int editLines(std::array<std::string, 7>& T, int x, size_t w, int from) {
        int i = from;
        for (;;) {
            if (T[size_t(i)].empty()) T[size_t(i)] = std::string(w, ' ');
            int K = 0;
            T[size_t(i)] = SCR::GINPUT(x, 17 + i, int(w), T[size_t(i)], "", SCR::socAll(), false, true, K);
            if (K == 99) {
                EMP_PUTCLIP(T, i + 1, w);
                for (int j = i + 1; j <= 6; ++j) SCR::PRINT(x, 17 + j, padTo(T[size_t(j)], w));
                continue;
            }
            if (K == 0 || K == 2) {
                if (i == 6) return 0;
                ++i;
            } else if (K == 1) {
                if (i == 1) return 1;
                --i;
            } else if (K == 3) {
                return 3;
            }
        }
    }

    // ---- The taxes of a line (maintenance) ----
    // Returns 4 to go back to the line's code, 0 when the comments ended (stored, to the codes).
    int taxesOfLine(int line) {
        int li = 0, co = 0, se = 0;
        for (;;) {
            SCR::CALLM(2, true);
            UMAS::FKEY({1, 3, 4, 5, 8}, GM2);
            int K = 0;
            UMAS::EPIL(0, 14, 67, 0, 8, 1, 12, 7, 0, 0, li, co, se, K, 0);
            SCR::RECALL();
            uint8_t& slot = W.KF[size_t(line)][size_t(li + 1)];
            if (K == 0) {
                uint16_t chosen = 0;
                uint8_t k = 0;
                const std::string preset = slot >= 1 && slot <= 48 ? getTax(slot).KV : std::string();
                TAX(chosen, preset, true, k, true);
                if (k == 0 && chosen >= 1 && chosen <= 48) {
                    slot = uint8_t(chosen);
                    RECTAX t = getTax(chosen);
                    t.PS = cutRate(t.PS);
                    putTax(chosen, t);
                }
                BPP(line);
            } else if (K == 11) {
                slot = 0;
                BPP(line);
            } else if (K == 3 || K == 4) {
                return 4;
            } else if (K == 5) {
                const int k = editLines(W.SX, 54, 23, 1);
                if (k == 1) continue;  // Up from the first comment: back to the taxes
                KTP();
                return 0;
            }
        }
    }

    // ---- The tax lines (level 2) ----
    // Returns true when the picker handed a line back.
    bool taxLines() {
        SCR::CALLM(40, true);
        BXX();
        int li = 0, co = 0, se = 0;
        BPP(1);
        bool handed = false;
        for (bool more = true; more;) {
            SCR::CALLM(2, true);
            UMAS::FKEY(BL ? std::vector<int>{6, 9, 10} : std::vector<int>{5, 8, 9, 10}, GM1);
            int K = 0;
            UMAS::EPIL(0, 14, 53, 7, 6, 1, 6, 9, 1, 0, li, co, se, K, 0);
            SCR::RECALL();
            const int line = co * 10 + li + 1;
            switch (K) {
            case 1:
            case 2: BPP(line); break;
            case 0:
            case 5:
                if (BL) {
                    MEE.EE = W.EE;
                    for (int i = 1; i <= 6; ++i) MEE.RI[size_t(i)] = W.RI[size_t(i)];
                    for (int s = 1; s <= 8; ++s) MEE.TC[size_t(s)] = W.KF[size_t(line)][size_t(s)];
                    KK = 0;
                    handed = true;
                    more = false;
                } else {
                    more = editLineCode(line, li, co);
                }
                break;
            case 3:
                if (!BL) KTP();
                more = false;
                break;
            default: break;
            }
        }
        SCR::RECALL();
        return handed;
    }

    // The code of tax line `line`; false when the details were stored and the codes screen is next.
    bool editLineCode(int line, int li, int co) {
        SCR::CALLM(2, true);
        UMAS::FKEY({10}, GM1);
        std::string& tr = W.TR[size_t(line)];
        bool back = true;
        for (;;) {
            if (tr.empty()) tr = std::string(6, ' ');
            int K = 0;
            tr = SCR::GINPUT(53 + 7 * co, 6 + li, 6, tr, "", SCR::socAll(), false, true, K);
            if (K == 0) {
                BPP(line);
                if (taxesOfLine(line) == 4) continue;
                back = false;
                break;
            }
            if (K == 1 || K == 2) break;
            if (K == 3) {
                KTP();
                back = false;
                break;
            }
        }
        SCR::RECALL();
        return back;
    }

    // ---- Editing an entry (maintenance) ----
    void editEntry() {
        SCR::CALLM(2, true);
        UMAS::FKEY({10}, GM1);
        std::string& kv = idx[size_t(entry())].KV;
        int step = 1;
        bool toLines = false;
        while (step != 0) {
            if (step == 1) {
                if (kv.empty()) kv = std::string(21, ' ');
                int K = 0;
                kv = SCR::GINPUT(cellX(), cellY(), 26, kv, "", SCR::soc("0123456789 "), false, true, K);
                if (K == 0) step = 2;
                else if (K == 1 || K == 2 || K == 3) step = 0;
            } else if (step == 2) {
                con.gotoXY(28, 17);
                SCR::CURSOR(true);
                PLAT::KeyEvent k = con.readKey();
                using namespace PLAT;
                if (k.extended() && k.scan == SC::LEFT) {
                    W.EE = W.EE == 0 || W.EE > 2 ? 2 : uint8_t(W.EE - 1);
                    BXP();
                } else if (k.extended() && k.scan == SC::RIGHT) {
                    W.EE = W.EE >= 2 ? 0 : uint8_t(W.EE + 1);
                    BXP();
                } else if (k.extended() && k.scan == SC::UP) {
                    KTP();
                    step = 1;
                } else if ((k.extended() && k.scan == SC::DOWN) || k.ch == 13) {
                    step = 3;
                } else if (k.ch == 27) {
                    KTP();
                    step = 0;
                }
            } else {
                const int k = editLines(W.RI, 8, 40, 1);
                if (k == 1) {
                    step = 2;
                } else if (k == 3) {
                    KTP();
                    step = 0;
                } else {
                    toLines = true;
                    step = 0;
                }
            }
        }
        SCR::RECALL();
        if (toLines) taxLines();
    }

    void run() {
        detail::arrows();
        if (GM1[9].size() >= 7) {
            GM1[9][0] = char(26);
            GM1[9][2] = char(27);
            GM1[9][4] = char(24);
            GM1[9][6] = char(25);
        }
        if (GM2[5].size() >= 3) {
            GM2[5][0] = char(24);
            GM2[5][2] = char(25);
        }
        SCR::CALLM(28, true);
        SCR::CALLM(2, true);
        UMAS::FKEY(BL ? std::vector<int>{3, 6, 9} : std::vector<int>{1, 2, 3, 8, 9}, GM1);
        bool taxBO = false;
        RUF(F_TAX.name, UMAS::PTAX.data(), UMAS::PTAX.size(), taxBO);
        const size_t got = RUF(F_EMP.name, img.data(), img.size(), BO);
        idx = decodeRecords<REC>(img, 0, PEMP_N);
        ownDetails(got / REC::SIZE);

        // Opening on the caller's code.
        const std::string want = UMAS::CUTLEADSPACES(MEE.KV.substr(0, std::min<size_t>(8, MEE.KV.size())));
        if (UMAS::EVAL(want) > 0)
            for (size_t n = 1; n <= PEMP_N; ++n)
                if (idx[n].KV.compare(0, want.size(), want) == 0) {
                    SL = int(n - 1) / 20;
                    CL = int((n - 1) % 20) / 10;
                    L = int(n - 1) % 10;
                    break;
                }
        REM();
        BOX();
        BXP();
        for (;;) {
            int K = 0;
            UMAS::EPIL(0, 14, 7, 27, 6, 1, 26, 9, 1, 74, L, CL, SL, K, 0);
            if (K == 1 || K == 2) {
                REM();
                BXP();
            } else if (K == 4 || K == 5) {
                BOX();
                REM();
                BXP();
            } else if (K == 3) {
                if (BL) KK = 3;
                break;
            } else if (K == 7 && !BL) {
                SORT();
                encodeRecords(idx, img, 0);
                KAT(F_EMP.name, img.data(), img.size(), BO);
                BOX();
                REM();
                BXP();
            } else if (K == 30) {
                GENCOD::FPACODE(1);
                if (GENCOD::GENREC_FPA.CODE10.empty()) continue;
                const std::string code = EMP_CODE(GENCOD::GENREC_FPA);
                if (BL) {
                    MEE.KV = code;
                    for (int i = 1; i <= 6; ++i) MEE.RI[size_t(i)] = GENCOD::GENREC_FPA.PERIG[size_t(i)];
                    KK = 0;
                    break;
                }
                BO = true;
                idx[size_t(entry())].KV = code;
                for (int i = 1; i <= 6; ++i) W.RI[size_t(i)] = GENCOD::GENREC_FPA.PERIG[size_t(i)];
                KTP();
                BOX();
                BXP();
                editEntry();
                BOX();
                BXP();
            } else if (K == 0) {
                if (BL) {
                    MEE.KV = idx[size_t(entry())].KV;
                    if (taxLines()) break;
                } else {
                    BO = true;
                    editEntry();
                    BOX();
                    BXP();
                }
            }
        }
        SCR::RECALL();
        SCR::RECALL();
    }
};

}  // namespace

void EMP(RECEMP& MEE, bool BL, uint8_t& KK) { Catalogue(MEE, BL, KK).run(); }

}  // namespace KVDI
