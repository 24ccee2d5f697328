// The list reader DIAS.RUFD: one stored declaration into a row of a list; and the warning about
// damaged declarations.
#include <algorithm>
#include <cstring>

#include "common/umas.h"
#include "declarations/dias.h"
#include "declarations/store.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace DIAS {

PLAT::File FT;
int64_t MFSIZE = 0;
int32_t XND = 0;
bool ALLGOOD = true;

namespace {

using UMAS::cut;
using UMAS::padTo;

// The box holding the customer's name for the kind: 12 or 22, 0 for none.
int partyBox(const std::string& EXT) {
    if (EXT == "EXP") return 12;
    if (EXT == "MTF") return UMAS::PAREDE[9].TIMI == 0 ? 12 : UMAS::PAREDE[9].TIMI == 1 ? 22 : 0;
    if (EXT == "IMP" || EXT == "DFK" || EXT == "MET") return 22;
    return 0;
}

bool blank20(const std::string& s) {
    std::string p = padTo(s, 20);
    return p.find_first_not_of(' ') == std::string::npos;
}

template <class Row>
void readInto(std::vector<Row>& P, int A, int32_t Z1, int32_t Z2, const std::string& EAP, const std::string& EXT,
              bool TEXTOUT, int& CC) {
    auto drop = [&] { --CC; };
    if (CC < 1 || size_t(CC) > P.size()) return drop();
    if (XND < 0 || int64_t(XND) >= MFSIZE - 4) {
        ALLGOOD = false;
        return drop();
    }
    // The first area is usually the whole declaration: it is read in one piece.
    static std::vector<uint8_t> block;
    static int64_t blockAt = -1;
    blockAt = -1;
    STORE::Source src;
    src.size = MFSIZE;
    src.read = [](int64_t off, void* buf, size_t n) {
        if (off < 0 || off + int64_t(n) > MFSIZE) return false;
        if (blockAt < 0 || off < blockAt || off + int64_t(n) > blockAt + int64_t(block.size())) {
            size_t want = std::max<size_t>(n, 4096);
            block.resize(want);
            block.resize(FT.readSome(off, block.data(), want));
            blockAt = off;
            if (block.size() < n) return false;
        }
        std::memcpy(buf, block.data() + (off - blockAt), n);
        return true;
    };
    STORE::Chain c = STORE::readChain(src, XND, false);
    bool keep = false;
    bool ok = c.ok;
    if (ok) {
        Row& row = P[size_t(CC - 1)];
        if constexpr (std::is_same_v<Row, REC>)
            ok = RUFS(c.data, A, &row, nullptr, Z1, Z2, EAP, EXT, TEXTOUT, keep);
        else
            ok = RUFS(c.data, A, nullptr, &row, Z1, Z2, EAP, EXT, TEXTOUT, keep);
    }
    if (!ok) ALLGOOD = false;
    if (!ok || !keep) drop();
}

}  // namespace

bool RUFS(const std::string& data, int A, REC* r, REC1* r1, int32_t Z1, int32_t Z2, const std::string& EAP,
          const std::string& EXT, bool TEXTOUT, bool& keep) {
    keep = false;
    // The whole record is checked before any of it is used.
    {
        STORE::FieldReader check(data);
        for (int i = 1; i <= STORE::LIST_BOXES; ++i)
            if (!check.skip()) return false;
    }
    STORE::FieldReader fr(data);
    REC scratch;
    REC1 scratch1;
    REC& a = r ? *r : scratch;
    REC1& b = r1 ? *r1 : scratch1;
    const int party = partyBox(EXT);
    const size_t emLen = A == 1 ? 30 : 50;
    std::string& EM = A == 1 ? a.EM : b.EM;
    std::string dumpName, dump;
    auto dropA2 = [&] {
        b.KD = std::string(10, ' ');
        b.HM = std::string(6, ' ');
    };
    auto partyRule = [&](const std::string& s) {
        if (A == 1) {
            a.EA = cut(s, 20);
            return true;
        }
        if (padTo(s, 7) != padTo(EAP, 7)) {
            dropA2();
            return false;
        }
        return true;
    };
    static const std::vector<bool> used = [] {
        std::vector<bool> u(STORE::LIST_BOXES + 1, false);
        for (int b : {1, 6, 7, 8, 12, 22, 19, 54, 55, 62, 71, 72, 73, 74, 79, 84, 142}) u[size_t(b)] = true;
        return u;
    }();
    std::string s;
    for (int i = 1; i <= STORE::LIST_BOXES; ++i) {
        if (!TEXTOUT && !used[size_t(i)]) {
            fr.skip();
            continue;
        }
        s = fr.next();
        switch (i) {
            case 1:
                if (A == 1) a.KD = cut(s, 10); else b.KD = cut(s, 10);
                if (TEXTOUT) {
                    std::string digits;
                    for (char ch : s)
                        if (ch >= '0' && ch <= '9') digits += ch;
                    if (!digits.empty()) dumpName = "C:\\DIAM\\" + digits + ".DIA";
                }
                break;
            case 6: if (A == 1) a.TEL = cut(s, 20); break;
            case 7: if (A == 1) a.KTEL = cut(s, 4); break;
            case 8:
                if (A == 1) {
                    a.HM = cut(s, 6);
                } else {
                    int32_t z = UMAS::HMVAL(s);
                    if (z < Z1 || z > Z2) {
                        b.KD = std::string(10, ' ');
                        return true;
                    }
                    b.HM = cut(s, 6);
                }
                break;
            case 12:
            case 22:
                if (A == 1) (i == 12 ? a.APOST : a.PARAL) = cut(UMAS::REMLCH(s, ' '), 20);
                if (party == i && !partyRule(s)) return true;
                break;
            case 19: if (A == 1) a.TEM = cut(s, 7); break;
            case 54: if (A == 1) a.AXIA = cut(s, 12); break;
            case 55: if (A == 1) a.AXIA = cut(a.AXIA + " " + s, 12); break;
            case 62:
                if (A == 1) {
                    size_t c = s.find(':');
                    a.ARTIM = cut(c == std::string::npos ? s : s.substr(c + 1), 10);
                }
                break;
            case 71: if (A == 1) a.XM = cut(s, 8); break;
            case 72: EM = cut(s, emLen); break;
            case 73:
            case 74:
                if (blank20(EM)) EM = cut(s, emLen);
                break;
            case 79: if (A == 1) a.KL = cut(s, 26); break;
            case 84: if (A == 1) a.KATH = cut(s, 4); break;
            case 142:
                if (s.find(EXT) == std::string::npos && !TEXTOUT) {
                    if (A == 1) {
                        a = REC{};
                    } else {
                        dropA2();
                        b.EM.clear();
                    }
                    return true;
                }
                break;
            default: break;
        }
        if (TEXTOUT) dump += s + "\r\n";
    }
    if (TEXTOUT && !dumpName.empty()) {
        PLAT::makeDirs("C:\\DIAM\\");
        PLAT::writeWholeAtomic(dumpName, dump);
    }
    keep = true;
    return true;
}

void RUFD(std::vector<REC>& P, int32_t Z1, int32_t Z2, const std::string& EAP, const std::string& EXT, bool TEXTOUT,
          int& CC) {
    readInto(P, 1, Z1, Z2, EAP, EXT, TEXTOUT, CC);
}

void RUFD(std::vector<REC1>& P, int32_t Z1, int32_t Z2, const std::string& EAP, const std::string& EXT, bool TEXTOUT,
          int& CC) {
    readInto(P, 2, Z1, Z2, EAP, EXT, TEXTOUT, CC);
}

void ERRORFILE() {
    const int before = SCR::STACKPOINTER();
    SCR::CALLM(86, true);
    const bool shown = SCR::STACKPOINTER() != before;
    SCR::PRINT(15, 11, PLAT::gr("    ΠΡΟΣΟΧΗ !!   ΥΠΑΡΧΟΥΝ ΚΑΙ ΑΛΛΕΣ ΔΙΑΣΑΦΗΣΕΙΣ     "));
    SCR::PRINT(15, 12, PLAT::gr("  ΣΤΟ ΧΡΟΝΙΚΟ ΔΙΑΣΤΗΜΑ ΑΥΤΟ ΑΛΛΑ ΕΧΟΥΝ ΑΛΛΟΙΩΘΕΙ.   "));
    // Under "FDIA": a store of another workstation may have taken a free area and be about to
    // write the stack back.
    UMAS::LOCK("FDIA");
    STORE::clearFree(UMAS::PATH, 2000);
    UMAS::UNLOC("FDIA");
    PLAT::Console& c = PLAT::con();
    while (c.readKey().ch != 27) continue;
    if (shown) SCR::RECALL();
}

}  // namespace DIAS
