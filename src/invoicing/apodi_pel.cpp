// APODI: what invoicing reads and writes of the customer files: the lookup by name and the posting
// of the customers' totals.
#include <cmath>

#include "customers/arp0.h"
#include "invoicing/apodi.h"
#include "invoicing/tim0.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "screen/scr.h"

namespace APODI {

namespace {

// The lookup's own copy of the collation alphabet.
const std::string& AB() {
    static const std::string ab = ARP0::AB;
    return ab;
}

constexpr int32_t BUCKET = 5001;
constexpr int32_t LAST_WALKED = 49;  // the buckets of names beginning with a digit are not walked

ARP0::RR2 readHeader(const PLAT::File& f, int64_t pos) {
    uint8_t b[8];
    f.readAt(pos * 8, b, 8);
    return ARP0::RR2::decode(b);
}
ARP0::RR3 readEntry(const PLAT::File& f, int64_t pos) {
    uint8_t b[8];
    f.readAt(pos * 8, b, 8);
    return ARP0::RR3::decode(b);
}

// Customer n; false beyond the file, and for a damaged record (counted in damaged), which is
// never taken.
bool readCustomer(const PLAT::File& mf, int64_t records, int32_t n, ARP0::RR0& r, int& damaged) {
    if (n < 0 || n >= records) return false;
    uint8_t b[ARP0::RR0::SIZE];
    mf.readAt(int64_t(n) * int64_t(ARP0::RR0::SIZE), b, sizeof b);
    if (ARP0::RR0::decodeSound(b, r)) return true;
    ++damaged;
    return false;
}

std::string name30(const std::string& s) {
    std::string r = s.substr(0, std::min<size_t>(s.size(), 30));
    r.resize(30, ' ');
    return r;
}

// Positive when the stored name sorts after the typed one, 0 when equal by rank in all 30
// positions, negative when it sorts before.
int compare(const std::string& stored, const std::string& typed) {
    for (size_t i = 0; i < 30; ++i) {
        int a = INS(uint8_t(stored[i])), b = INS(uint8_t(typed[i]));
        if (a != b) return a - b;
    }
    return 0;
}

void take(int32_t re, const ARP0::RR0& r, bool replaceName) {
    PR = uint16_t(re);
    if (replaceName) EA = name30(r.EA);
    DI = r.DI;
    ON = r.ON;
    PO = r.PO.substr(0, std::min<size_t>(r.PO.size(), 20));
    EG = r.EP;
    TH1 = r.TH[0];
    AF = r.AF;
    EF = r.EF;
}

}  // namespace

void TAKE(uint16_t re, const ARP0::RR0& r) { take(re, r, true); }

int32_t INS(uint8_t C) {
    size_t p = AB().find(char(C));
    return p == std::string::npos ? 65 : int32_t(p);
}

void CHEP() {
    UMAS::LOCK("FPEL");
    if (ARP0::createdCount(0) == ARP0::deletedCount(0)) {
        UMAS::UNLOC("FPEL");
        const int before = SCR::STACKPOINTER();
        SCR::CALLM(37, true);
        const bool shown = SCR::STACKPOINTER() != before;
        PLAT::con().refresh();
        PLAT::sleepMs(2000);
        if (shown) SCR::RECALL();
        PR = 65000;
        return;
    }
    PLAT::File ix(ARP0::fileName(0, "IF"), PLAT::File::READ);
    PLAT::File mf(ARP0::fileName(0, "MF"), PLAT::File::READ);
    const int64_t indexRecs = ix.size() / 8;
    const int64_t records = mf.size() / int64_t(ARP0::RR0::SIZE);
    const std::string typed = name30(EA);
    // The typed name's bucket; names whose first character has no bucket start from the last one.
    int64_t bucket = 0;
    if (!EA.empty() && EA[0] != ' ') bucket = INS(uint8_t(EA[0])) - 1;
    if (bucket > 59) bucket = 59;

    bool found = false;
    int damaged = 0;
    ARP0::RR0 r;
    for (int64_t b = bucket; b <= LAST_WALKED && !found; ++b) {
        const int64_t head = b * BUCKET;
        if (head >= indexRecs) break;
        int64_t p = readHeader(ix, head).FA;
        int64_t steps = 0;
        while (p > 0 && p < indexRecs && ++steps <= indexRecs) {
            const ARP0::RR3 e = readEntry(ix, p);
            if (readCustomer(mf, records, e.RE, r, damaged)) {
                const std::string stored = name30(r.EA);
                if (stored == typed) {
                    take(e.RE, r, false);
                    found = true;
                    break;
                }
                if (compare(stored, typed) > 0) {
                    take(e.RE, r, true);
                    found = true;
                    break;
                }
            }
            p = e.AL;
        }
    }
    if (!found) {
        // Every name reached sorts before the typed one: the last name of the nearest non-empty
        // bucket at or before the typed name's bucket.
        int64_t last = -1;
        for (int64_t b = bucket; b >= 0 && last < 0; --b) {
            const int64_t head = b * BUCKET;
            if (head >= indexRecs) continue;
            int64_t p = readHeader(ix, head).FA;
            int64_t steps = 0;
            while (p > 0 && p < indexRecs && ++steps <= indexRecs) {
                const ARP0::RR3 e = readEntry(ix, p);
                if (e.RE >= 0 && e.RE < records) last = e.RE;
                if (e.AL <= 0) break;
                p = e.AL;
            }
        }
        if (last >= 0 && readCustomer(mf, records, int32_t(last), r, damaged)) {
            take(int32_t(last), r, true);
            found = true;
        }
    }
    ix.close();
    mf.close();
    UMAS::UNLOC("FPEL");
    if (!found) PR = 65000;
    if (damaged > 0)
        NOTICE42(" ΑΡΧΕΙΟ MF.DAT ΚΑΤΕΣΤΡΑΜΜΕΝΟ.", found ? "Πελάτες παραλείφθηκαν. Πατήστε ESC." : "Ο ΠΕΛΑΤΗΣ ΔΕΝ ΒΡΕΘΗΚΕ. Πατήστε ESC.");
}

bool MAIN(int32_t PEL, double X, double P) {
    ARP0::RR0 r;
    if (PEL < 0 || PEL >= 65000 || !ARP0::readRecord(0, uint16_t(PEL), r)) return false;
    bool ok = true;
    if (r.XR < 2000000000 && r.PI < 2000000000) {
        const double nx = double(r.XR) + TIM0::ROUND(X), np = double(r.PI) + TIM0::ROUND(P);
        if (nx < -2147483648.0 || nx > 2147483647.0 || np < -2147483648.0 || np > 2147483647.0)
            ok = false;
        else {
            r.XR = int32_t(nx);
            r.PI = int32_t(np);
        }
    }
    ARP0::writeRecord(0, uint16_t(PEL), r);
    return ok;
}

}  // namespace APODI
