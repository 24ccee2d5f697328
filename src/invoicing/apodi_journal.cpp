// APODI: the journal of the stores and deletions of documents, and the completion of its posting.
#include <algorithm>

#include "customers/arp0.h"
#include "invoicing/apodi.h"
#include "invoicing/tim0.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/fileops.h"
#include "platform/files.h"

namespace APODI {

namespace {

int stopAt = 0;
int steps = 0;

// The head: STATE, STAGE, then the two calls of 30 bytes each: PEL WORD, X and P doubles, the
// totals before the call XR0 and PI0 LONGINTs. The kind's part follows.
constexpr size_t CALL = 30;
constexpr size_t HEADSIZE = JOURNAL::HEAD;
static_assert(HEADSIZE == 2 + 2 * CALL, "the journal's head");

std::string encodeHead(const JOURNAL& j) {
    std::string b(HEADSIZE, '\0');
    uint8_t* p = reinterpret_cast<uint8_t*>(b.data());
    PLAT::putB(p, j.STATE);
    PLAT::putB(p + 1, j.STAGE);
    for (size_t k = 0; k < 2; ++k) {
        uint8_t* c = p + 2 + CALL * k;
        const POSTCALL& x = j.CALLS[k];
        PLAT::putW(c, x.PEL);
        PLAT::putD(c + 2, x.X);
        PLAT::putD(c + 10, x.P);
        PLAT::putL(c + 18, x.XR0);
        PLAT::putL(c + 22, x.PI0);
    }
    return b;
}

void writeHead(const std::string& NAME, const JOURNAL& j) {
    PLAT::File f(UMAS::PATH + NAME, PLAT::File::READWRITE);
    const std::string h = encodeHead(j);
    f.writeAt(0, h.data(), h.size());
}

}  // namespace

std::optional<JOURNAL> JREAD(const std::string& NAME, size_t BODYSIZE) {
    PLAT::File f;
    if (!f.open(UMAS::PATH + NAME, PLAT::File::READ, false)) return std::nullopt;
    if (f.size() < int64_t(HEADSIZE + BODYSIZE)) return std::nullopt;
    std::string b(HEADSIZE + BODYSIZE, '\0');
    f.readAt(0, b.data(), b.size());
    const uint8_t* p = reinterpret_cast<const uint8_t*>(b.data());
    JOURNAL j;
    j.STATE = PLAT::getB(p);
    if (j.STATE == 0) return std::nullopt;
    j.STAGE = std::min<uint8_t>(PLAT::getB(p + 1), 2);
    for (size_t k = 0; k < 2; ++k) {
        const uint8_t* c = p + 2 + CALL * k;
        POSTCALL& x = j.CALLS[k];
        x.PEL = PLAT::getW(c);
        x.X = PLAT::getD(c + 2);
        x.P = PLAT::getD(c + 10);
        x.XR0 = PLAT::getL(c + 18);
        x.PI0 = PLAT::getL(c + 22);
    }
    j.BODY = b.substr(HEADSIZE);
    return j;
}

void JWRITE(const std::string& NAME, const JOURNAL& j) {
    PLAT::File f(UMAS::PATH + NAME, PLAT::File::READWRITE_CREATE);
    const std::string b = encodeHead(j) + j.BODY;
    f.writeAt(0, b.data(), b.size());
    f.sync();
    f.close();
    STEP();
}

void JCLEAR(const std::string& NAME) {
    PLAT::File f(UMAS::PATH + NAME, PLAT::File::READWRITE);
    const uint8_t zero = 0;
    f.writeAt(0, &zero, 1);
    f.close();
    STEP();
}

bool JPOST(const std::string& NAME, JOURNAL& j) {
    bool ok = true;
    for (uint8_t k = 0; k < 2; ++k) {
        POSTCALL& c = j.CALLS[k];
        if (c.PEL == 65000) continue;
        ARP0::RR0 r;
        const bool there = ARP0::readRecord(0, c.PEL, r);
        if (j.STAGE > k + 1) continue;  // made
        if (j.STAGE == k + 1) {
            // Begun: made when a total it changes no longer stands as noted.
            if (!there) continue;
            const bool made = (TIM0::ROUND(c.X) != 0 && r.XR != c.XR0) || (TIM0::ROUND(c.P) != 0 && r.PI != c.PI0);
            if (made) continue;
        } else {
            c.XR0 = there ? r.XR : 0;
            c.PI0 = there ? r.PI : 0;
            j.STAGE = uint8_t(k + 1);
            writeHead(NAME, j);
            STEP();
        }
        ok = MAIN(c.PEL, c.X, c.P) && ok;
        STEP();
    }
    j.STAGE = 2;
    return ok;
}

void STOPAFTERSTEP(int n) {
    stopAt = n;
    steps = 0;
}

void STEP() {
    if (stopAt > 0 && ++steps >= stopAt) PLAT::killSelf();
}

std::string COMPLETEDLINE(const COMPLETED& c) {
    return c.DOC + ": " + PLAT::gr(c.DELETION ? "ΔΙΑΚΟΠΕΙΣΑ ΔΙΑΓΡΑΦΗ ΟΛΟΚΛΗΡΩΘΗΚΕ" : "ΔΙΑΚΟΠΕΙΣΑ ΚΑΤΑΧΩΡΗΣΗ ΟΛΟΚΛΗΡΩΘΗΚΕ") +
           " (" + c.FILE + ")";
}

void TELLCOMPLETED(const COMPLETED& c) {
    if (!c) return;
    const std::string l22 = PLAT::gr(c.DELETION ? " ΔΙΑΚΟΠΕΙΣΑ ΔΙΑΓΡΑΦΗ ΟΛΟΚΛΗΡΩΘΗΚΕ:" : " ΔΙΑΚΟΠΕΙΣΑ ΚΑΤΑΧΩΡΗΣΗ ΟΛΟΚΛΗΡΩΘΗΚΕ:");
    std::string l23 = c.DOC + PLAT::gr(". Πατήστε ESC.");
    if (l23.size() > 36) l23 = c.DOC + ". ESC.";
    MESSAGE42(UMAS::padTo(l22, 36), UMAS::padTo(l23, 36));
}

LINKED ENSURELINK(const std::string& S, uint16_t N, int32_t K) {
    if (HEADS(S) == DAYHEADS && K <= 0) return LINKED::NOKEY;
    const std::vector<uint16_t> on = WALK(S, K);
    if (std::find(on.begin(), on.end(), N) != on.end()) return LINKED::DONE;
    return LINK(S, N, K);
}

}  // namespace APODI
