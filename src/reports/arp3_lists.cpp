// The lists of all customers: the balances (YPOP) and the catalogue with its CSV export (PRPE),
// twenty rows to a screen page.
#include "common/umas.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "print/prns.h"
#include "reports/arp2.h"
#include "reports/arp3.h"

namespace ARP3 {

using ARP2::NUM;
using UMAS::padTo;
using UMAS::RIJU;

// ---- Balances ----------------------------------------------------------------------------------------

BALANCES YPOPCOLLECT() {
    BALANCES B;
    UMAS::LOCK("FPEL");
    int damaged = 0;
    const std::vector<ARP0::Listed> all = ARP0::listAll(0, &damaged);
    UMAS::UNLOC("FPEL");
    if (damaged > 0) PRNS::REPORT(ARP0::skippedMessage(0));
    for (const ARP0::Listed& c : all) {
        if (B.C() >= YPOP_ROWS) break;
        B.rows.push_back(PERB{padTo(c.R.EA, 30), c.R.XR, c.R.PI});
        B.S1 += c.R.XR;
        B.S2 += c.R.PI;
    }
    return B;
}

std::string YPOPAMOUNT(double drachmas, int W) {
    if (UMAS::TIMEUR == 0) return NUM(UMAS::EURO != 0 ? drachmas / UMAS::EURO : drachmas, W, 2);
    if (UMAS::TIMEUR == 1) return NUM(drachmas, W, 0);
    return "";
}

void YPOPPRINT(const BALANCES& B) {
    ARP2::PRINTOUT p;
    const std::string rule = "+================================+===========+===========+===========+";
    auto amount = [](double x) {
        return UMAS::TIMEUR == 0 ? YPOPAMOUNT(x, 10) : NUM(x, 10, 0);
    };
    const int pages = ARP2::PAGES(B.C());
    for (int page = 1; page <= pages; ++page) {
        if (page > 1) p.F.put(12);
        p.tab(27);
        p.text(PLAT::gr("ΥΠΟΛΟΙΠΑ ΠΕΛΑΤΩΝ"));
        p.tab(62);
        p.line(PLAT::gr("σελ. ") + std::to_string(page));
        p.mode(5);
        p.line(rule);
        p.line(PLAT::gr("|        Ε Π Ω Ν Υ Μ Ι Α         |  ΧΡΕΩΣΗ   |  ΠΙΣΤΩΣΗ  | ΥΠΟΛΟΙΠΟ  |"));
        p.line(rule);
        for (int i = 45 * (page - 1) + 1; i <= std::min(45 * page, B.C()); ++i) {
            const PERB& r = B.rows[size_t(i - 1)];
            p.line("| " + padTo(r.EA, 30) + " |" + amount(r.XR) + " |" + amount(r.PI) + " |" +
                   amount(double(r.XR) - double(r.PI)) + " |");
        }
        p.line(rule);
        if (page == pages) {
            p.text(PLAT::gr("|   ΠΕΛΑΤΕΣ : "));
            p.mode(4);
            p.text(RIJU(std::to_string(B.C()), 4));
            p.mode(5);
            p.tab(25);
            p.text(PLAT::gr("ΣΥΝΟΛΑ: |"));
            for (double x : {double(B.S1), double(B.S2), double(B.S1 - B.S2)}) {
                p.mode(4);
                p.text(amount(x));
                p.mode(5);
                p.text(" |");
            }
            p.line();
            p.line(rule);
            p.mode(11);
        }
    }
    p.finish();
}

namespace {

// The keys of the lists of twenty rows; PRINT prints, Esc ends the list.
void browse(int C, const std::function<void(int)>& BOX, const std::function<void()>& PRINT) {
    int II = 0;
    BOX(II);
    for (;;) {
        PLAT::KeyEvent k;
        const ARP2::LK what = ARP2::LISTKEY(II, C, 20, k);
        if (what == ARP2::LK::ESC) return;
        if (what == ARP2::LK::MOVED) BOX(II);
        if (what == ARP2::LK::PRINT && ARP2::ASKPRINT()) PRINT();
    }
}

void noCustomer() {
    SCR::CALLM(37, true);
    ARP0::WAIT(2500);
    SCR::RECALL();
}

}  // namespace

void YPOP() {
    SCR::CALLM(2, true);
    const BALANCES B = YPOPCOLLECT();
    if (B.C() == 0) {
        noCustomer();
    } else {
        ARP2::LEGEND();
        for (int x : {45, 56, 67}) SCR::PRINT(x, 23, std::string(9, ' '));
        SCR::PRINT(45, 23, YPOPAMOUNT(double(B.S1), 9));
        SCR::PRINT(56, 23, YPOPAMOUNT(double(B.S2), 9));
        SCR::PRINT(67, 23, YPOPAMOUNT(double(B.S1 - B.S2), 9));
        browse(
            B.C(),
            [&](int II) {
                for (int i = 1; i <= 20; ++i) {
                    const int y = i + 2;
                    if (II + i > B.C()) {
                        SCR::PRINT(5, y, std::string(32, ' '));
                        for (int x : {45, 56, 67}) SCR::PRINT(x, y, std::string(9, ' '));
                        UMAS::ATR(5, y, 71, 14);
                        continue;
                    }
                    const PERB& r = B.rows[size_t(II + i - 1)];
                    double xr = r.XR, pi = r.PI;
                    if (r.XR > 50000000 && r.PI > 50000000) {  // shown reduced, kept as read
                        xr -= 50000000;
                        pi -= 50000000;
                    }
                    SCR::PRINT(5, y, padTo(r.EA, 30));
                    SCR::PRINT(45, y, YPOPAMOUNT(xr, 9));
                    SCR::PRINT(56, y, YPOPAMOUNT(pi, 9));
                    SCR::PRINT(67, y, YPOPAMOUNT(xr - pi, 9));
                }
            },
            [&] { YPOPPRINT(B); });
    }
    SCR::RECALL();
    SCR::RECALL();
}

// ---- Catalogue ---------------------------------------------------------------------------------------

std::string ISO8859(const std::string& S) { return PLAT::cp737ToIso88597(S); }

std::string CSVLINE(const ARP0::RR0& R) {
    auto f = [](const std::string& s, int w) { return UMAS::LEJU(ISO8859(s), w); };
    return f(R.EA, 30) + ";" + f(R.ON, 40) + ";" + f(R.DI, 40) + ";" + f(R.TK, 6) + ";" + f(R.PO, 40) + ";" +
           f(R.EP, 30) + ";" + UMAS::LEJU(UMAS::REMLCH(ISO8859(R.AF), ' '), 10) + ";" + f(R.EF, 30) + ";" +
           f(R.TH[0], 13);
}

std::vector<PERC> PRPECOLLECT(uint8_t MN, std::string& exportName) {
    const int set = MN == 10 ? 0 : 1;
    exportName = MN == 10 ? "Custs.csv" : "Cust_Ex.csv";
    std::vector<PERC> rows;
    std::string out;
    int damaged = 0;
    const std::vector<ARP0::Listed> all = ARP0::listAll(set, &damaged);
    if (damaged > 0) PRNS::REPORT(ARP0::skippedMessage(set));
    for (const ARP0::Listed& c : all) {
        if (int(rows.size()) >= PRPE_ROWS) break;
        rows.push_back(PERC{UMAS::cut(c.R.EA, 20), UMAS::cut(c.R.DI, 20), UMAS::cut(c.R.TH[0], 13), UMAS::cut(c.R.EP, 17)});
        out += CSVLINE(c.R) + "\r\n";
    }
    PLAT::writeWholeAtomic(exportName, out);
    return rows;
}

void PRPEPRINT(const std::vector<PERC>& rows, uint8_t MN) {
    ARP2::PRINTOUT p;
    const std::string rule = "+=====================+=====================+==================+==============+";
    const int C = int(rows.size());
    const int pages = ARP2::PAGES(C);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1) p.F.put(12);
        p.tab(MN == 10 ? 31 : 25);
        p.text(PLAT::gr(MN == 10 ? "ΚΑΤΑΛΟΓΟΣ ΠΕΛΑΤΩΝ" : "ΚΑΤΑΛΟΓΟΣ ΠΕΛΑΤΩΝ ΕΞΩΤΕΡΙΚΟΥ"));
        p.tab(71);
        p.line(PLAT::gr("σελ. ") + std::to_string(page));
        p.mode(5);
        p.line(rule);
        p.line(PLAT::gr("|   Ε Π Ω Ν Υ Μ Ι Α   |      ΔΙΕΥΘΥΝΣΗ      |     ΕΠΑΓΓΕΛΜΑ    |   ΤΗΛΕΦΩΝΟ   |"));
        p.line(rule);
        for (int i = 45 * (page - 1) + 1; i <= std::min(45 * page, C); ++i) {
            const PERC& r = rows[size_t(i - 1)];
            p.line("| " + padTo(r.EA, 20) + "| " + padTo(r.DI, 20) + "| " + padTo(r.EP, 17) + "| " + padTo(r.TH, 13) + "|");
        }
        p.line(rule);
        if (page == pages) p.mode(11);
    }
    p.finish();
}

void PRPE(uint8_t MN) {
    if (MN != 10) SCR::PRINT(6, 1, PLAT::gr("ΠΕΛΑΤΟΛΟΓΙΟ ΕΞΩΤΕΡΙΚΟΥ ╞═════════"));
    SCR::CALLM(2, true);
    std::string name;
    const std::vector<PERC> rows = PRPECOLLECT(MN, name);
    if (rows.empty()) {
        noCustomer();
    } else {
        ARP2::LEGEND();
        const int C = int(rows.size());
        browse(
            C,
            [&](int II) {
                for (int i = 1; i <= 20; ++i) {
                    const int y = i + 2;
                    const bool has = II + i <= C;
                    const PERC empty;
                    const PERC& r = has ? rows[size_t(II + i - 1)] : empty;
                    SCR::PRINT(4, y, padTo(r.EA, 20));
                    SCR::PRINT(25, y, padTo(r.DI, 20));
                    SCR::PRINT(46, y, padTo(r.EP, 17));
                    SCR::PRINT(64, y, padTo(r.TH, 13));
                }
            },
            [&] { PRPEPRINT(rows, MN); });
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace ARP3
