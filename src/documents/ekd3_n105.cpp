// Form N105 (form 19): 23 fields kept in the cells of mask 81 for the whole run, one record per
// domestic customer in "N105.DAT" under the lock "F105", and its print.
#include "codes/kvdi.h"
#include "config/params.h"
#include "customers/pelat.h"
#include "declarations/chep.h"
#include "documents/ekd3.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace EKD3 {

using namespace BOD;

namespace {

struct NField {
    int col, row, len;
};
constexpr NField GG[24] = {{0, 0, 0},    {23, 2, 30}, {24, 3, 15}, {26, 4, 33}, {31, 5, 27}, {31, 6, 27},
                           {31, 7, 27},  {38, 8, 6},  {28, 9, 30}, {34, 10, 16}, {23, 11, 22}, {26, 12, 4},
                           {23, 13, 6},  {39, 14, 13}, {6, 15, 70}, {6, 16, 70}, {6, 17, 70}, {6, 18, 70},
                           {6, 19, 70},  {6, 20, 70}, {6, 21, 70}, {6, 22, 70}, {24, 23, 20}, {55, 23, 6}};

const char* const MONTHS[13] = {"",        "ΙΑΝΟΥΑΡΙΟ", "ΦΕΒΡΟΥΑΡΙΟ", "ΜΑΡΤΙΟ",   "ΑΠΡΙΛΙΟ",  "ΜΑΙΟ",     "ΙΟΥΝΙΟ",
                                "ΙΟΥΛΙΟ", "ΑΥΓΟΥΣΤΟ",  "ΣΕΠΤΕΜΒΡΙΟ", "ΟΚΤΩΒΡΙΟ", "ΝΟΕΜΒΡΙΟ", "ΔΕΚΕΜΒΡΙΟ"};

UMAS::CONV& form() { return *UMAS::mask(81); }

// Cell (col, row) of the screen in the mask.
uint8_t& cell(int col, int row) {
    UMAS::CONV& m = form();
    return m.ch(col - m.X1(), row - m.Y1());
}

std::string allFields() {
    std::string s;
    for (int n = 1; n <= 23; ++n) s += N105FIELD(n);
    return s;
}

void setAll(const std::string& bytes) {
    size_t at = 0;
    for (int n = 1; n <= 23; ++n) {
        SETN105FIELD(n, at < bytes.size() ? bytes.substr(at, size_t(GG[n].len)) : std::string());
        at += size_t(GG[n].len);
    }
}

const std::string DATFILE = "N105.DAT";

}  // namespace

std::string N105FIELD(int n) {
    std::string s;
    for (int x = 0; x < GG[n].len; ++x) s += char(cell(GG[n].col + x, GG[n].row));
    return s;
}

void SETN105FIELD(int n, const std::string& s) {
    const std::string t = UMAS::padTo(s, size_t(GG[n].len));
    for (int x = 0; x < GG[n].len; ++x) cell(GG[n].col + x, GG[n].row) = uint8_t(t[size_t(x)]);
}

std::string N105MONTH(const std::string& S) {
    int m = 0;
    for (size_t i = 0; i < S.size() && S[i] >= '0' && S[i] <= '9' && m < 100; ++i) m = m * 10 + (S[i] - '0');
    return m >= 1 && m <= 12 ? PLAT::gr(MONTHS[m]) + PLAT::gr("Υ") : std::string();
}

int N105CUSTOMER(const std::string& name) {
    const int keptPR = PR;
    const ARP0::RR0 keptRec = PELAT::DIASRECPEL;
    const std::string kept[] = {EA, AF, ON, DI, PO, TK, TH[1], TH[2], EP, EF, SX};
    EA = UMAS::cut(name, 30);
    CHEP(0, true);
    if (!UMAS::trim(name).empty() && UMAS::trim(EA) == UMAS::trim(name))
        return PR >= 0 && PR <= N105_LAST ? PR : -1;
    // another customer's name: nothing of it stays
    PR = keptPR;
    PELAT::DIASRECPEL = keptRec;
    std::string* f[] = {&EA, &AF, &ON, &DI, &PO, &TK, &TH[1], &TH[2], &EP, &EF, &SX};
    for (size_t i = 0; i < std::size(f); ++i) *f[i] = kept[i];
    return -1;
}

void N105READ(int n) {
    std::string rec;
    UMAS::LOCK("F105");
    PLAT::File f;
    if (f.open(UMAS::PATH + DATFILE, PLAT::File::READ, false)) {
        rec.assign(N105_SIZE, ' ');
        const size_t got = f.readSome(int64_t(n) * int64_t(N105_SIZE), rec.data(), N105_SIZE);
        rec.resize(got);
        f.close();
    }
    UMAS::UNLOC("F105");
    setAll(rec);
}

void N105WRITE(int n) {
    const std::string rec = allFields();
    UMAS::LOCK("F105");
    PLAT::File f(UMAS::PATH + DATFILE, PLAT::File::READWRITE_CREATE);
    const int64_t at = int64_t(n) * int64_t(N105_SIZE);
    const int64_t size = f.size();
    if (size < at) {
        const std::string blanks(size_t(at - size), ' ');
        f.writeAt(size, blanks.data(), blanks.size());
    }
    f.writeAt(at, rec.data(), rec.size());
    f.close();
    UMAS::UNLOC("F105");
}

void PRINTN105() {
    PRNS::Printout o;
    o.open(UMAS::PE_N105);
    auto F = [](int n) { return N105FIELD(n); };
    auto wide = [&](int col, const std::string& s) {
        o.tab(col);
        o.mode(6);
        o.text(s);
        o.mode(7);
    };
    o.mode(1);
    o.mode(27);
    o.at(2, F(1));
    o.lf(1);
    wide(4, F(2));
    o.lf(1);
    wide(2, F(3));
    o.lf(1);
    for (int n = 4; n <= 6; ++n) {
        wide(13, F(n));
        o.lf(1);
    }
    const std::string d = F(7);
    const std::string century = (d[4] == '7' || d[4] == '8' || d[4] == '9') ? "19" : "20";
    o.at(10, d.substr(0, 2) + " " + N105MONTH(d.substr(2, 2)) + " " + century + d.substr(4, 2));
    wide(52, d);
    o.lf(1);
    o.at(8, F(8));
    o.lf(1);
    const int cols[4] = {6, 25, 52, 60};
    for (int n = 9; n <= 12; ++n) {
        o.tab(cols[n - 9]);
        o.mode(2);
        o.text(F(n));
        o.mode(1);
    }
    o.mode(29);
    o.lf(1);
    o.mode(27);
    wide(9, F(13));
    o.lf(3);
    o.mode(2);
    for (int n = 14; n <= 21; ++n) {
        o.at(1, F(n));
        if (n == 21) {
            o.mode(7);
            o.mode(23);
            o.mode(1);
        }
        o.lf(1);
    }
    const std::string e = F(23);
    o.tab(28);
    o.mode(2);
    o.text(F(22) + " " + e.substr(0, 2) + "/" + e.substr(2, 2) + "/");
    o.mode(1);
    o.at(56, e.substr(4, 2));
    o.lf(1);
    o.mode(26);
    o.mode(11);
    o.F.close();
    UMAS::PRINTUSB();
}

void N105(PRL& PA) {
    SCR::CALLM(81, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({2, 10}, GM1);
    const int rec = N105CUSTOMER(UMAS::cut(PA.EP, 30));
    if (rec >= 0) {
        N105READ(rec);
        SCR::CALLM(81, false);
    }
    int n = 1;
    for (;;) {
        const bool text = n >= 14 && n <= 21;
        if (text) SCR::CALLM(20, true);
        int K = 0;
        const std::string s = SCR::GINPUT(GG[n].col, GG[n].row, GG[n].len, N105FIELD(n), "", SCR::socAll(), false, true, K);
        SETN105FIELD(n, s);
        SCR::PRINT(GG[n].col, GG[n].row, N105FIELD(n));
        if (text) SCR::RECALL();
        BOD::K = uint8_t(K);
        if (K == 0) {
            if (n == 23) break;
            ++n;
        } else if (K == 1) {
            if (n > 1) --n;
        } else if (K == 2) {
            if (n < 23) ++n;
        } else if (K == 3) {
            break;
        } else if (K == 6 && text) {
            uint8_t kk = 3;
            KVDI::SFR(KVDI::V0B, true, kk);
            if (kk == 0) {
                UMAS::CONV& m = form();
                for (int i = 1; i <= 8; ++i)
                    for (int x = 0; x < 40; ++x) {
                        const int col = GG[13 + i].col + x - m.X1(), row = GG[13 + i].row - m.Y1();
                        m.ch(col, row) = KVDI::V0B.ME[size_t(i - 1)][size_t(x)].ch;
                        m.at(col, row) = KVDI::V0B.ME[size_t(i - 1)][size_t(x)].at;
                    }
                SCR::CALLM(81, false);
            }
        } else if (K == 10) {
            if (rec >= 0) {
                SCR::CALLM(82, true);
                N105WRITE(rec);
                SCR::RECALL();
            }
        } else if (K == 20) {
            PARAMS::CALC(BOD::CAS);
        }
    }
    SCR::RECALL();
    SCR::RECALL();
    SCR::CALLM(63, true);
    if (PRNS::YES(30, 23)) PRINTN105();
    SCR::RECALL();
}

}  // namespace EKD3
