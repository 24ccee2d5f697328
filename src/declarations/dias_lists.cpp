// The lists of the per-kind declarations menu: the declarations of one customer in a date range
// (DIAP) and the declarations of a date range by day (DIAH), their readers over the day and
// customer chains of the store, their sorts and their printouts on form 72.
#include <algorithm>

#include "customers/arp0.h"
#include "customers/pelat.h"
#include "declarations/dias.h"
#include "declarations/ek0.h"
#include "declarations/store.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/exchfiles.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace DIAS {

void (*OPENDISF)(const std::string& number, const std::string& EXT, int slot) = EK0::DISF;

namespace lists {

using UMAS::padTo;
using UMAS::cut;
std::string two(int n) { return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10); }

void today() {
    const PLAT::DateTime t = PLAT::now();
    E = uint16_t(t.year);
    M = uint16_t(t.month);
    H = uint16_t(t.day);
    D = uint16_t(PLAT::weekday(t.year, t.month, t.day));
    H1 = two(H) + two(M) + two(E % 100);
    H2 = H1;
    B4 = std::to_string(E);
}

// The weekday name of a row's date DDMMYY; a day above 28 is first clamped to its month and
// written back. Two blanks for a date that is not one.
std::string weekdayOf(std::string& hm) {
    if (hm.size() < 6 || hm.substr(0, 6).find_first_not_of("0123456789") != std::string::npos) return "  ";
    uint16_t d = uint16_t(std::stoi(hm.substr(0, 2))), m = uint16_t(std::stoi(hm.substr(2, 2)));
    const int yy = std::stoi(hm.substr(4, 2));
    uint16_t y = uint16_t((yy >= 90 ? 1900 : 2000) + yy);
    if (d < 1 || d > 31 || m < 1 || m > 12) return "  ";
    if (d > 28) {
        ELM(y, m, d);
        hm.replace(0, 2, two(d));
    }
    if (!PLAT::validDate(y, m, d)) return "  ";
    return UMAS::WE[size_t(PLAT::weekday(y, m, d))];
}

// DDMMYY as DD/MM/YY.
std::string slashed(const std::string& hm) {
    const std::string h = padTo(hm, 6);
    return h.substr(0, 2) + "/" + h.substr(2, 2) + "/" + h.substr(4, 2);
}

// Walks a chain of "DISH.DAT" or "DIPE.DAT" (open as f, recs records of 6 bytes) from its head;
// calls row with the position of every node whose HR is below 40000000 until it returns false.
// False when a link leaves the file, leads into the heads (records below `heads`, another key's
// chain) or the chain loops (a node met again is not listed again).
bool walk(const PLAT::File& f, int64_t recs, int64_t heads, int64_t head, const std::function<bool(int32_t)>& row) {
    STORE::Source src;
    src.size = recs * int64_t(STORE::RR1::SIZE);
    src.read = [&f](int64_t off, void* buf, size_t n) {
        f.readAt(off, buf, n);
        return true;
    };
    return STORE::walkNodes(src, heads, int32_t(head), [&](int32_t hr) { return hr >= STORE::NONE || row(hr); });
}

// Opens "DISM.DAT" for the list reader and the chain file; runs fn; closes both. Under "FDIA".
void underStore(const char* chainFile, const std::function<void(const PLAT::File&, int64_t)>& fn) {
    UMAS::LOCK("FDIA");
    ALLGOOD = true;
    FT.open(UMAS::PATH + "DISM.DAT", PLAT::File::READ);
    MFSIZE = FT.size();
    PLAT::File chains(UMAS::PATH + chainFile, PLAT::File::READ);
    fn(chains, chains.size() / int64_t(STORE::RR1::SIZE));
    chains.close();
    FT.close();
    UMAS::UNLOC("FDIA");
}

REC1 blankP() { return REC1{std::string(6, ' '), std::string(10, ' '), std::string(50, ' ')}; }
REC blankH() {
    REC r;
    r.EA = std::string(20, ' ');
    r.HM = std::string(6, ' ');
    r.KD = std::string(10, ' ');
    r.EM = std::string(30, ' ');
    r.TEL = std::string(20, ' ');
    return r;
}

void open(const std::string& KD, const std::string& EXT, int slot) {
    if (OPENDISF) OPENDISF(UMAS::CUTLEADSPACES(UMAS::REMLCH(KD, ' ')), EXT, slot);
}

// Asks for the printout (mask 63, answer at column 30 of row 23).
bool askPrint() {
    SCR::CALLM(63, true);
    const bool yes = PRNS::YES(30, 23);
    if (!yes) SCR::RECALL();
    return yes;
}

}  // namespace lists

using namespace lists;

std::string KINDNAME(const std::string& EXT) {
    if (EXT == "IMP") return PLAT::gr("ΕΙΣΑΓΩΓΗΣ");
    if (EXT == "DFK") return PLAT::gr("Ε.Φ.Κ.");
    if (EXT == "EXP") return PLAT::gr("ΕΞΑΓΩΓΗΣ");
    if (EXT == "MET") return PLAT::gr("ΑΠΟΤΑΜΙΕΥΣΗΣ");
    if (EXT == "MTF") return PLAT::gr("ΜΕΤΑΦΟΡΤΩΣΗΣ");
    return "";
}

// ---- Readers and sorts ----------------------------------------------------------------------------

void SORTP(std::vector<REC1>& P, int CC) {
    for (int i = 1; i <= CC - 1; ++i)
        for (int j = i + 1; j <= CC; ++j)
            if (UMAS::HMVAL(P[size_t(i - 1)].HM) > UMAS::HMVAL(P[size_t(j - 1)].HM))
                std::swap(P[size_t(i - 1)], P[size_t(j - 1)]);
}

void READP(std::vector<REC1>& P, int& CC, int PR, int32_t Z0, int32_t Z1, const std::string& EA,
           const std::string& EXT) {
    P.assign(ROWS_P, blankP());
    CC = 0;
    ALLGOOD = true;
    // no customer, or one without a head in the customer chains: nothing to read
    if (PR < 0 || PR >= STORE::CUST_HEADS) return;
    underStore("DIPE.DAT", [&](const PLAT::File& f, int64_t recs) {
        if (PR >= recs) {
            // the file ends before the customer's head: cut short, its declarations unreadable
            ALLGOOD = false;
            return;
        }
        const bool sound = walk(f, recs, STORE::CUST_HEADS, PR, [&](int32_t hr) {
            XND = hr;
            ++CC;
            RUFD(P, Z0, Z1, EA, EXT, false, CC);
            return CC < ROWS_P;
        });
        if (!sound) ALLGOOD = false;
    });
    for (size_t i = size_t(CC); i < P.size(); ++i) P[i] = blankP();
    if (CC > 1) SORTP(P, CC);
}

void READH(std::vector<REC>& P, int& CC, int32_t Z0, int32_t Z1, const std::string& EXT, bool TEXTOUT,
           const std::function<bool(const REC&)>& keep, bool search) {
    const REC empty = search ? REC{} : blankH();
    P.assign(ROWS_H, empty);
    CC = 0;
    underStore("DISH.DAT", [&](const PLAT::File& f, int64_t recs) {
        const int64_t heads = std::min<int64_t>(recs, STORE::DAY_HEADS);
        // a file that ends before the heads of the range: cut short, those days unreadable
        if (Z0 <= Z1 && std::min<int64_t>(Z1, STORE::DAY_HEADS - 1) >= heads) ALLGOOD = false;
        for (int64_t J = std::max<int64_t>(Z0, 0); J <= Z1 && J < heads && CC < ROWS_H; ++J) {
            const bool sound = walk(f, recs, STORE::DAY_HEADS, J, [&](int32_t hr) {
                XND = hr;
                const int row = ++CC;
                RUFD(P, 0, 0, "", EXT, TEXTOUT, CC);
                if (CC == row && keep && !keep(P[size_t(row - 1)])) {
                    P[size_t(row - 1)] = empty;
                    --CC;
                }
                return CC < ROWS_H;
            });
            if (!sound) ALLGOOD = false;
        }
    });
    for (size_t i = size_t(CC); i < P.size(); ++i) P[i] = empty;
}

void NAMESORT(std::vector<REC>& P, int CC) {
    for (int i = 1; i <= CC - 1; ++i)
        for (int j = i + 1; j <= CC; ++j)
            if (P[size_t(i - 1)].EA.compare(P[size_t(j - 1)].EA) > 0) std::swap(P[size_t(i - 1)], P[size_t(j - 1)]);
}

// ---- Printouts --------------------------------------------------------------------------------

namespace {

int pagesOf(int CC) { return CC / 45 + 1 - (CC % 45 == 0 ? 1 : 0); }

}  // namespace

void EKKP_P(const std::vector<REC1>& P, int CC, const std::string& EXT, const std::string& EA) {
    PRNS::PRNM PM = nullptr;
    PRNS::TABM TM = nullptr;
    PRNS::PFILE F;
    PRNS::SET_PE(UMAS::PE_LIST, PM, TM, F);
    PM(F, 1);
    PM(F, 4);
    PRNS::LOGO(F);
    PM(F, 5);
    F.writeln();
    const std::string rule = "+=====+============+============+==========================================+";
    for (int page = 1; page <= pagesOf(CC); ++page) {
        PM(F, 4);
        F.writeln(PLAT::gr("    ΚΑΤΑΣΤΑΣΗ ΔΙΑΣΑΦΗΣΕΩΝ ") + KINDNAME(EXT) + PLAT::gr(" ΑΠΟ ") + slashed(H1) +
                  PLAT::gr(" ΕΩΣ ") + slashed(H2) + PLAT::gr("          σελ. ") + std::to_string(page));
        TM(F, 24);
        F.write(PLAT::gr("ΠΕΛΑΤΗΣ: ") + EA);
        PM(F, 5);
        F.writeln();
        F.writeln(rule);
        F.writeln(PLAT::gr("| Α/Α | ΗΜΕΡΟΜΗΝΙΑ | ΑΡΙΘ.Δ/ΣΗΣ |             ΠΕΡΙΓΡΑΦΗ ΕΙΔΟΥΣ             |"));
        F.writeln(rule);
        for (int i = 45 * (page - 1) + 1; i <= std::min(45 * page, CC); ++i) {
            const REC1& r = P[size_t(i - 1)];
            F.writeln("|" + UMAS::RIJU(std::to_string(i), 4) + " |  " + slashed(r.HM) + "  | " +
                      UMAS::RIJU(UMAS::CUTLEADSPACES(r.KD), 10) + " | " + UMAS::LEJU(r.EM, 40) + " |");
        }
        F.writeln(rule);
        PM(F, 11);
    }
    F.close();
    UMAS::PRINTUSB();
}

void EKKP_H(const std::vector<REC>& P, int CC, const std::string& EXT) {
    PRNS::PRNM PM = nullptr;
    PRNS::TABM TM = nullptr;
    PRNS::PFILE F;
    PRNS::SET_PE(UMAS::PE_LIST, PM, TM, F);
    PM(F, 1);
    PM(F, 4);
    PRNS::LOGO(F);
    PM(F, 5);
    F.writeln();
    const std::string rule = "+=====+============+==========+================+================================+";
    for (int page = 1; page <= pagesOf(CC); ++page) {
        PM(F, 4);
        F.writeln(PLAT::gr("              ΚΑΤΑΣΤΑΣΗ ΔΙΑΣΑΦΗΣΕΩΝ ") + KINDNAME(EXT));
        F.write(PLAT::gr("                 ΑΠΟ ") + slashed(H1) + PLAT::gr(" ΕΩΣ ") + slashed(H2) +
                PLAT::gr("                   σελ. ") + std::to_string(page));
        PM(F, 5);
        PM(F, 2);
        F.writeln();
        F.writeln(rule);
        F.writeln(PLAT::gr("| Α/Α | ΗΜΕΡΟΜΗΝΙΑ | ΑΡ.Δ/ΣΗΣ |    ΤΕΛΩΝΕΙΟ    |        ΠΕΡΙΓΡΑΦΗ ΕΙΔΟΥΣ        |"));
        F.writeln(rule);
        for (int i = 45 * (page - 1) + 1; i <= std::min(45 * page, CC); ++i) {
            const REC& r = P[size_t(i - 1)];
            F.writeln("|" + UMAS::RIJU(std::to_string(i), 4) + " |  " + slashed(r.HM) + "  |" +
                      UMAS::RIJU(UMAS::CUTLEADSPACES(r.KD), 9) + " | " + UMAS::LEJU(r.TEL, 14) + " | " + UMAS::LEJU(r.EM, 30) +
                      " |");
        }
        F.writeln(rule);
        PM(F, 1);
        PM(F, 11);
    }
    F.close();
    UMAS::PRINTUSB();
}

// ---- Declarations by customer -------------------------------------------------------------------

namespace {

// The alphabet of the name field's Down step.
const std::string& stepAlphabet() {
    static const std::string AB = PLAT::gr(" ΑAΒBVΓGΔDΕEΖZΗΘΙIΚKCQΛLΜMΝNΞXΟOΠPΡRΣSΤTΥYΦFΧHΨΩJUW/-.&");
    return AB;
}

// Blank, "&", "-", ".", "/", the Latin letters and the Greek letters of both cases (accented ones
// are folded to plain capitals with the rest).
SCR::SOC nameChars() {
    SCR::SOC s = SCR::soc(" &-./") | SCR::socRange('A', 'Z') | SCR::socRange('a', 'z') | SCR::socRange(128, 175) |
                 SCR::socGreekAccented();
    s.set(224);
    return s;
}

bool badFirst(const std::string& s) { return !s.empty() && std::string("&-./").find(s[0]) != std::string::npos; }

}  // namespace

namespace lists {

// The customer at or after name in the name order of the domestic index (buckets 0 to 49), else
// the last customer before it. False, with PR 65000, when there is none.
bool CHPL(const std::string& name, int& PR, ARP0::RR0& rec) {
    PR = ARP0::NONE;
    if (ARP0::EMPTY(0)) {
        SCR::CALLM(37, true);
        ARP0::WAIT(2000);
        SCR::RECALL();
        return false;
    }
    int damaged = 0;
    const std::vector<ARP0::Listed> all = ARP0::listAll(0, &damaged);
    if (damaged > 0) PRNS::REPORT(ARP0::skippedMessage(0));
    const ARP0::Listed* taken = nullptr;
    const ARP0::Listed* last = nullptr;
    for (const auto& c : all) {
        const int32_t b = ARP0::bucketOf(c.R.EA);
        if (b < 0 || b >= 50) continue;
        if (ARP0::compareNames(c.R.EA, name) >= 0) {
            taken = &c;
            break;
        }
        last = &c;
    }
    if (!taken) taken = last;
    if (!taken) return false;
    PR = taken->KV;
    rec = taken->R;
    return true;
}

}  // namespace lists

void DIAP(const std::string& EXT) {
    today();
    std::string EA, AF, DI, PO, TH, EP;
    int PR = ARP0::NONE;
    SCR::CALLM(17, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 4, 6, 7}, GM1);
    std::vector<REC1> P(ROWS_P, blankP());
    int CC = 0;
    const SCR::SOC SAB = nameChars();

    auto BOX = [&](int p) {
        SCR::PRINT(74, 19, UMAS::RIJU(std::to_string(p + 1), 2));
        for (int line = 0; line < 12; ++line) {
            const int i = 12 * p + line + 1;
            REC1& r = P[size_t(i - 1)];
            const int y = 7 + line;
            SCR::PRINT(2, y, UMAS::RIJU(std::to_string(i), 3));
            const std::string wd = weekdayOf(r.HM);
            SCR::PRINT(6, y, padTo(r.HM, 6));
            SCR::PRINT(13, y, wd);
            SCR::PRINT(17, y, padTo(r.KD, 10));
            SCR::PRINT(29, y, padTo(r.EM, 49));
        }
    };
    auto BX0 = [&] {
        SCR::PRINT(16, 2, padTo(EA, 30));
        SCR::PRINT(16, 3, padTo(DI, 30));
        SCR::PRINT(16, 4, padTo(PO, 20));
        SCR::PRINT(59, 2, padTo(EP, 18));
        SCR::PRINT(59, 3, padTo(AF, 10));
        SCR::PRINT(59, 4, padTo(TH, 13));
    };
    auto take = [&](int pr, const ARP0::RR0& r) {
        PR = pr;
        EA = padTo(cut(r.EA, 30), 30);
        AF = cut(r.AF, 10);
        DI = cut(r.DI, 30);
        PO = cut(r.PO, 20);
        TH = cut(r.TH[0], 13);
        EP = cut(r.EP, 20);
        BX0();
    };
    auto lookup = [&](const std::string& name) {
        ARP0::RR0 r;
        int pr = ARP0::NONE;
        if (CHPL(name, pr, r)) take(pr, r);
        else PR = ARP0::NONE;
    };
    // The date range, the reading and the browsing; false when the screen closes.
    auto list = [&]() -> bool {
        for (;;) {
            int KK = 0;
            HMER(H1, H2, 21, 5, 56, 5, KK, true);
            if (KK == 1) return true;
            if (KK == 3) return false;
            P.assign(ROWS_P, blankP());
            BOX(0);
            READP(P, CC, PR, UMAS::HMVAL(H1), UMAS::HMVAL(H2), EA, EXT);
            BOX(0);
            if (!ALLGOOD) ERRORFILE();
            int LI = 0, CO = 0, SE = 0;
            for (;;) {
                int K = 0;
                UMAS::EPIL(0, 14, 1, 0, 7, 1, 80, 11, 0, 15, LI, CO, SE, K, 0);
                if (K == 0) {
                    open(P[size_t(12 * SE + LI)].KD, EXT, 0);
                    BOX(SE);
                } else if (K == 3) {
                    return true;
                } else if (K == 4 || K == 5) {
                    BOX(SE);
                } else if (K == 14) {
                    if (askPrint()) {
                        EKKP_P(P, CC, EXT, EA);
                        SCR::RECALL();
                    }
                }
            }
        }
    };

    BOX(0);
    for (;;) {
        const std::string before = EA;
        int K = 0;
        std::string T = SCR::GINPUT(16, 2, 30, EA, "", SAB, false, true, K);
        T = ARP0::FOLD(T);
        if (badFirst(T)) {
            PLAT::con().bell();
            EA = T;
            continue;
        }
        T = padTo(T, 30);
        EA = T;
        const bool unchanged = T == before && T.find_first_not_of(' ') != std::string::npos;
        if (K == 3) break;
        if (K == 0) {
            if (unchanged) {
                if (!list()) break;
            } else {
                lookup(T);
            }
        } else if (K == 2) {
            std::string N = T;
            if (unchanged) {
                const std::string& AB = stepAlphabet();
                int at = 29;
                size_t rank = AB.find(N[size_t(at)]);
                if (rank == std::string::npos || rank + 1 >= AB.size()) {
                    at = 28;
                    rank = AB.find(N[size_t(at)]);
                }
                if (rank != std::string::npos && rank + 1 < AB.size()) N[size_t(at)] = AB[rank + 1];
            }
            lookup(N);
        } else if (K == 6) {
            uint16_t pr = ARP0::NONE;
            ARP0::RR0 r;
            PELAT::ALPHAPEL(T, 0, pr, &r);
            if (pr != ARP0::NONE) {
                take(pr, r);
                if (!list()) break;
            }
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

// ---- Declarations by date -------------------------------------------------------------------------

void DIAH(const std::string& EXT) {
    today();
    SCR::CALLM(18, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 4, 6, 7, 10}, GM1);
    std::vector<REC> P(ROWS_H, blankH());
    int CC = 0;

    auto BOX = [&](int p) {
        SCR::PRINT(73, 19, UMAS::RIJU(std::to_string(p + 1), 2));
        for (int line = 0; line < 14; ++line) {
            const int i = 14 * p + line + 1;
            REC& r = P[size_t(i - 1)];
            const int y = 5 + line;
            SCR::PRINT(2, y, UMAS::RIJU(std::to_string(i), 3));
            SCR::PRINT(6, y, padTo(r.EA, 20));
            SCR::PRINT(27, y, std::string(9, ' '));
            if (!UMAS::CUTLEADSPACES(r.HM).empty()) {
                const std::string wd = weekdayOf(r.HM);
                SCR::PRINT(27, y, padTo(r.HM, 6));
                SCR::PRINT(34, y, wd);
            }
            SCR::PRINT(39, y, padTo(r.KD, 10));
            SCR::PRINT(50, y, padTo(r.EM, 30));
        }
    };
    auto read = [&](bool TEXTOUT) {
        P.assign(ROWS_H, blankH());
        BOX(0);
        READH(P, CC, UMAS::HMVAL(H1), UMAS::HMVAL(H2), EXT, TEXTOUT);
        BOX(0);
        if (!ALLGOOD) ERRORFILE();
    };
    // The dump prompt and the probe of drive C; true when the dump is to be made (mask 58 stays).
    auto INITDRIVE = [&]() -> bool {
        SCR::CALLM(58, true);
        SCR::PRINT(3, 23, PLAT::gr("ΝΑ ΜΕΤΑΦΕΡΘΟΥΝ ΣΤΗ ΔΙΣΚΕΤΑ (Ν/Ο); "));
        if (!PRNS::YES(36, 23)) {
            SCR::RECALL();
            return false;
        }
        for (;;) {
            SCR::PRINT(3, 23, PLAT::gr("      Εγγραφή στη δισκέτα ...     "));
            if (PLAT::tryWriteWhole("C:\\TEST.TXT", "")) {
                PLAT::tryRemove("C:\\TEST.TXT");
                return true;
            }
            PLAT::con().bell();
            SCR::PRINT(3, 23, PLAT::gr(" ΠΑΡΑΚΑΛΩ ΒΑΛΤΕ ΔΙΣΚΕΤΑ ΣΤΟ DRIVE  "));
            if (PLAT::con().readKey().ch == 27) {  // Esc gives up
                SCR::RECALL();
                return false;
            }
        }
    };

    BOX(0);
    for (;;) {
        int KK = 0;
        HMER(H1, H2, 18, 2, 18, 3, KK, true);
        if (KK == 3) break;
        if (KK == 1) continue;
        read(false);
        int LI = 0, CO = 0, SE = 0;
        for (;;) {
            int K = 0;
            UMAS::EPIL(0, 14, 1, 0, 5, 1, 80, 13, 0, 17, LI, CO, SE, K, 0);
            if (K == 0) {
                open(P[size_t(14 * SE + LI)].KD, EXT, 0);
                BOX(SE);
            } else if (K == 3) {
                break;
            } else if (K == 4 || K == 5) {
                BOX(SE);
            } else if (K == 10) {
                NAMESORT(P, CC);
                BOX(SE);
            } else if (K == 14) {
                if (askPrint()) {
                    EKKP_H(P, CC, EXT);
                    SCR::RECALL();
                }
            } else if (K == 16) {
                if (INITDRIVE()) {
                    read(true);
                    SCR::RECALL();
                    BOX(SE);
                }
            }
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace DIAS
