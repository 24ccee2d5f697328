// The customer picker.
#include "customers/pelat.h"

#include <algorithm>

#include "common/umas.h"
#include "platform/codepage.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace PELAT {

ARP0::RR0 DIASRECPEL;
ARP0::RR0 MALRECPEL;

namespace {

using UMAS::cut;

// STRAB: a sorts before b (both cut to 20 characters without trailing blanks).
bool sortsBefore(const std::string& a, const std::string& b) {
    const std::string x = UMAS::CUTLEADSPACES(cut(a, 20)), y = UMAS::CUTLEADSPACES(cut(b, 20));
    const size_t n = std::min(x.size(), y.size());
    for (size_t i = 0; i < n; ++i) {
        int d = ARP0::INS(x[i]) - ARP0::INS(y[i]);
        if (d != 0) return d < 0;
    }
    return x.size() < y.size();
}

}  // namespace

std::vector<PER> rows(int MN, int* damaged) {
    std::vector<PER> L;
    const auto all = ARP0::listAll(MN, damaged);
    L.reserve(all.size());
    for (const auto& c : all) L.push_back(PER{c.KV, cut(c.R.EA, 20), cut(c.R.DI, 21), cut(c.R.TH[0], 13), cut(c.R.EP, 17)});
    return L;
}

size_t openingRow(const std::vector<PER>& L, const std::string& ONOMA) {
    for (size_t i = 0; i < L.size(); ++i)
        if (!sortsBefore(L[i].EA, ONOMA)) return i;
    return L.empty() ? 0 : L.size() - 1;
}

void ALPHAPEL(const std::string& ONOMA, int MN, uint16_t& PR, ARP0::RR0* PPEL) {
    SCR::CALLM(2, true);
    int damaged = 0;
    const std::vector<PER> L = rows(MN, &damaged);
    if (damaged > 0) PRNS::REPORT(ARP0::skippedMessage(MN));
    if (L.empty()) {
        if (damaged == 0) {
            SCR::CALLM(37, true);
            ARP0::WAIT(2500);
            SCR::RECALL();
        }
        PR = ARP0::NONE;
        SCR::RECALL();
        return;
    }
    SCR::CALLM(12, true);
    if (MN == 1) SCR::PRINT(3, 1, PLAT::gr("ΠΕΛΑΤΟΛΟΓΙΟ ΕΞΩΤΕΡΙΚΟΥ ╞═════════"));
    ARP0::arrows(8);
    UMAS::FKEY({6, 7, 8, 9}, ARP0::GM1);

    const int pages = int((L.size() - 1) / 20);
    auto BOX = [&](int N) {
        for (int line = 1; line <= 20; ++line) {
            const size_t row = size_t(N) * 20 + size_t(line);
            const int y = line + 2;
            if (row <= L.size()) {
                const PER& r = L[row - 1];
                SCR::PRINT(4, y, UMAS::LEJU(r.EA, 20));
                SCR::PRINT(25, y, UMAS::LEJU(r.DI, 20));
                SCR::PRINT(46, y, UMAS::LEJU(r.EP, 17));
                SCR::PRINT(64, y, UMAS::LEJU(r.TH, 13));
            } else {
                SCR::PRINT(4, y, std::string(20, ' '));
                SCR::PRINT(25, y, std::string(20, ' '));
                SCR::PRINT(46, y, std::string(17, ' '));
                SCR::PRINT(64, y, std::string(13, ' '));
            }
        }
    };
    const size_t open = openingRow(L, ONOMA) + 1;
    int LI = int((open - 1) % 20), CO = 0, SE = int((open - 1) / 20), KK = 0;
    BOX(SE);
    for (;;) {
        KK = 0;
        UMAS::EPIL(0, 14, 3, 0, 3, 1, 75, 19, 0, pages, LI, CO, SE, KK, 0);
        if (KK == 0) {
            const size_t row = size_t(SE) * 20 + size_t(LI) + 1;
            ARP0::RR0 r;
            bool bad = false;
            if (row <= L.size() && ARP0::readSound(MN, L[row - 1].KV, r, bad)) {
                *PPEL = r;
                PR = L[row - 1].KV;
            } else {
                // Damaged since the list was read (another workstation): not taken, and told.
                if (bad) PRNS::REPORT(ARP0::damagedMessage(MN, PLAT::gr("Ο ΠΕΛΑΤΗΣ ΔΕΝ ΒΡΕΘΗΚΕ")));
                *PPEL = ARP0::RR0{};
                PR = ARP0::NONE;
            }
            break;
        }
        if (KK == 3) {
            PR = ARP0::NONE;
            *PPEL = ARP0::RR0{};
            break;
        }
        if (KK == 4 || KK == 5) BOX(SE);
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace PELAT
