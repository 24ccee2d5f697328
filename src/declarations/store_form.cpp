// The store operations on the form of the current declaration and of its current sheet item.
#include "declarations/store_form.h"

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/taxlines.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace {

using UMAS::cut;

// The text of a box as the store packs it.
std::string packedBox(BOD::SCB P, BOD::GGV G, int i) {
    std::string s = BOD::SOB(P, G, i);
    int t = G.TYP(i);
    if (t == BOD::TY_NUM) BOD::PNU(G, i, s, true, ' ');
    if (t == BOD::TY_ZNUM) BOD::PNU(G, i, s, true, '0');
    return s;
}
bool numberAllowed(BOD::GGV G, int i) { return G.TYP(i) != BOD::TY_DATE && G.TYP(i) != BOD::TY_SHOW; }

// A decoded field formatted for its box as the loaders write it.
std::string loadedBox(BOD::GGV G, int i, std::string s) {
    int t = G.TYP(i);
    if (t == BOD::TY_NUM) BOD::PNU(G, i, s, false, ' ');
    if (t == BOD::TY_ZNUM) BOD::PNU(G, i, s, false, '0');
    return s;
}

// Reads the store file's bytes through one open file.
STORE::Source openSource(PLAT::File& f) {
    STORE::Source s;
    s.size = f.size();
    s.read = [&f, size = s.size](int64_t off, void* buf, size_t n) {
        if (off < 0 || off + int64_t(n) > size) return false;
        return f.readSome(off, buf, n) == n;
    };
    return s;
}

// Value of a text read as a signed decimal number: leading blanks skipped, any other character
// makes it 0.
long signedValue(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
    if (i >= s.size()) return 0;
    long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return 0;
        v = v * 10 + (s[i] - '0');
        if (v > 1000000000L) return 0;
    }
    return neg ? -v : v;
}

void percentMarks(BOD::SCB P, BOD::GGV G, int firstRateBox, const BOD::MOT& m) {
    for (int i = 1; i <= 8; ++i) {
        int b = firstRateBox + 5 * (i - 1);
        int col = G.COL(b) + 7;
        if (col >= 1 && col <= BOD::PAGE_COLS && G.ROW(b) >= 1 && G.ROW(b) <= P.rows)
            P.CCH(G.ROW(b), col) = BOD::PERCENTKIND(m.EIF[size_t(i)]) ? '%' : ' ';
    }
}

}  // namespace

namespace EK0 {

uint8_t INS(char C) { return STORE::INS(C); }

STORE::Found CHO() {
    BOD::BOO = false;
    STORE::Found f = STORE::find(UMAS::PATH, STORE::DECL, BOD::TM);
    if (!f.lastKey.empty()) BOD::OO = f.lastKey;
    if (f.found) {
        BOD::BOO = true;
        BOD::XN = f.pos;
    }
    return f;
}

std::string KATD_DATA() {
    std::string data;
    for (int i = 1; i <= STORE::MAIN_BOXES; ++i)
        STORE::putField(data, packedBox(BOD::DIA, BOD::GV, i), numberAllowed(BOD::GV, i));
    STORE::putField(data, std::to_string(BOD::PR), true);
    for (std::string* s : BOD::MOTTEXTS(BOD::AY)) STORE::putField(data, *s, true);
    for (int i = 1; i <= 8; ++i) data += char(BOD::AY.EIF[size_t(i)]);
    for (std::string* s : BOD::MOTTAIL(BOD::AY)) STORE::putField(data, *s, true);
    return data;
}

bool DISF_RUF(bool PUS, std::string* damage) {
    PLAT::File f(UMAS::PATH + STORE::DECL.M, PLAT::File::READ);
    STORE::Chain c = STORE::readChain(openSource(f), BOD::XN, false);
    f.close();
    auto fail = [&](const std::string& why) {
        if (damage) *damage = why;
        return false;
    };
    if (!c.ok) return fail(c.error);
    STORE::FieldReader fr(c.data);
    std::vector<std::string> boxes(STORE::MAIN_BOXES + 1);
    for (int i = 1; i <= STORE::MAIN_BOXES; ++i) boxes[size_t(i)] = fr.next();
    std::string cust = fr.next();
    BOD::MOT ay = BOD::AY;
    if (PUS) {
        auto texts = BOD::MOTTEXTS(ay);
        for (size_t k = 0; k < texts.size(); ++k) *texts[k] = cut(fr.next(), size_t(BOD::MOT_TEXT_CAPS[k]));
        fr.raw(&ay.EIF[1], 8);
        auto tail = BOD::MOTTAIL(ay);
        for (size_t k = 0; k < tail.size(); ++k) *tail[k] = cut(fr.next(), size_t(BOD::MOT_TAIL_CAPS[k]));
    }
    if (fr.bad()) return fail("field data damaged");
    // Box 1 holds the number: a record that holds another one is that declaration's, reached
    // under this number through a damaged index, and is never shown as this one.
    if (STORE::numberText(boxes[1]) != STORE::numberText(BOD::TM)) return fail("box 1 holds another number");
    if (cust.empty() || cust.size() > 5 || cust.find_first_not_of("0123456789") != std::string::npos ||
        std::stol(cust) > 65535)
        return fail("customer number damaged");

    for (int i = 1; i <= STORE::MAIN_BOXES; ++i)
        if (PUS || i == 8 || i == 9) BOD::BOS(BOD::DIA, BOD::GV, i, loadedBox(BOD::GV, i, boxes[size_t(i)]));
    BOD::PR = BOD::BPR = int(std::stol(cust));
    for (int b : {147, 151, 155, 159})
        if (signedValue(BOD::SOB(BOD::DIA, BOD::GV, b)) > 1 && BOD::GV.ROW(b) >= 1 && BOD::GV.ROW(b) <= BOD::DIA.rows)
            BOD::DIA.CCH(BOD::GV.ROW(b), 65) = '/';
    if (PUS) {
        BOD::AY = ay;
        percentMarks(BOD::DIA, BOD::GV, 103, BOD::AY);
    }
    if (BOD::PR < BOD::NO_CUSTOMER) {
        PLAT::File mf;
        uint8_t r[302];
        if (mf.open(UMAS::PATH + "MF.DAT", PLAT::File::READ, false) &&
            mf.readSome(int64_t(BOD::PR) * 302, r, sizeof r) == sizeof r) {
            BOD::EA = PLAT::getS(r + 0, 30);
            BOD::AF = PLAT::getS(r + 31, 10);
            BOD::ON = cut(PLAT::getS(r + 42, 40), 30);
            BOD::DI = cut(PLAT::getS(r + 83, 40), 30);
            BOD::PO = cut(PLAT::getS(r + 124, 40), 20);
            BOD::TK = PLAT::getS(r + 165, 6);
            BOD::TH[1] = PLAT::getS(r + 172, 13);
            BOD::TH[2] = PLAT::getS(r + 186, 13);
            BOD::EP = cut(PLAT::getS(r + 200, 30), 20);
            BOD::SX = PLAT::getS(r + 231, 30);
            BOD::EF = PLAT::getS(r + 271, 30);
        }
    }
    if (PUS) BOD::PUSC(BOD::DIA, BOD::LL);
    BOD::OO = BOD::TM;
    BOD::HM = BOD::SOB(BOD::DIA, BOD::GV, 8).substr(0, 6);
    BOD::BHM = BOD::HM;
    BOD::BUNREAD = false;
    return true;
}

STORE::Result KATD() {
    if (!BOD::ALLA(BOD::DIA, BOD::GV, STORE::MAIN_BOXES, BOD::CSM)) return {};
    STORE::Request r;
    r.key = BOD::TM;
    r.data = KATD_DATA();
    r.date = BOD::HM;
    r.cust = uint16_t(BOD::PR);
    if (BOD::BOO) r.old = STORE::Old{BOD::XN, BOD::OO, BOD::BHM, uint16_t(BOD::BPR), BOD::BUNREAD};
    STORE::Result res = STORE::storeDecl(UMAS::PATH, r);
    if (res.stored) {
        BOD::BOO = true;
        BOD::BHM = BOD::HM;
        BOD::OO = BOD::TM;
        BOD::CSM = BOD::CSU(BOD::DIA, BOD::GV, STORE::MAIN_BOXES);
        BOD::BPR = BOD::PR;
        BOD::XN = res.pos;
        BOD::BUNREAD = false;
    }
    return res;
}

}  // namespace EK0

namespace BOD {

uint8_t INS(char C) { return STORE::INS(C); }

STORE::Result DELD() { return STORE::deleteDecl(UMAS::PATH, STORE::Old{XN, OO, BHM, uint16_t(BPR), BUNREAD}); }

void CLEARDISD() { STORE::clearFree(UMAS::PATH, 1000); }

}  // namespace BOD

namespace EKDO {

uint8_t INS(char C) { return STORE::INS(C); }

STORE::Found CHOB() {
    BOD::BOB = false;
    STORE::Found f = STORE::find(UMAS::PATH, STORE::SHEET, BOD::BM);
    if (!f.lastKey.empty()) BOD::OOB = f.lastKey;
    if (f.found) {
        BOD::BOB = true;
        BOD::XNB = f.pos;
    }
    return f;
}

std::string KATB_DATA() {
    std::string data;
    for (int i = 1; i <= STORE::SHEET_BOXES; ++i)
        STORE::putField(data, packedBox(BOD::BIS, BOD::GB, i), numberAllowed(BOD::GB, i));
    for (std::string* s : BOD::MOTTEXTS(BOD::AYB)) STORE::putField(data, *s, true);
    for (int i = 1; i <= 8; ++i) data += char(BOD::AYB.EIF[size_t(i)]);
    return data;
}

int FSZB() { return int(KATB_DATA().size()) + 8; }

bool RUFB(int LL, bool SHOW, std::string* damage) {
    PLAT::File f(UMAS::PATH + STORE::SHEET.M, PLAT::File::READ);
    STORE::Chain c = STORE::readChain(openSource(f), BOD::XNB, true);
    f.close();
    auto fail = [&](const std::string& why) {
        if (damage) *damage = why;
        return false;
    };
    if (!c.ok) return fail(c.error);
    STORE::FieldReader fr(c.data);
    std::vector<std::string> boxes(STORE::SHEET_BOXES + 1);
    for (int i = 1; i <= STORE::SHEET_BOXES; ++i) boxes[size_t(i)] = fr.next();
    BOD::MOT ayb = BOD::AYB;
    auto texts = BOD::MOTTEXTS(ayb);
    for (size_t k = 0; k + 1 < texts.size(); ++k) *texts[k] = cut(fr.next(), size_t(BOD::MOT_TEXT_CAPS[k]));
    *texts[9] = cut(fr.next(), 1);
    fr.raw(&ayb.EIF[1], 8);
    if (fr.bad()) return fail("field data damaged");
    if (!STORE::itemOf(boxes[10], BOD::BM, BOD::GB.LEN(1) + BOD::GB.LEN(3)))
        return fail("box 10 holds another declaration");

    for (int i = 1; i <= STORE::SHEET_BOXES; ++i) BOD::BOS(BOD::BIS, BOD::GB, i, loadedBox(BOD::GB, i, boxes[size_t(i)]));
    BOD::AYB = ayb;
    percentMarks(BOD::BIS, BOD::GB, 53, BOD::AYB);
    for (auto [main, sheet] : {std::pair{16, 2}, {6, 8}, {7, 9}, {8, 11}, {9, 12}})
        BOD::BOS(BOD::BIS, BOD::GB, sheet, BOD::SOB(BOD::DIA, BOD::GV, main));
    if (SHOW) {
        int ll = LL;
        BOD::PUSC(BOD::BIS, ll);
    }
    BOD::OOB = BOD::BM;
    return true;
}

STORE::Result KATB() {
    STORE::Request r;
    r.key = BOD::BM;
    r.data = KATB_DATA();
    if (BOD::BOB) r.old = STORE::Old{BOD::XNB, BOD::OOB, "", STORE::NO_CUSTOMER};
    STORE::Result res = STORE::storeSheet(UMAS::PATH, r);
    if (res.stored) {
        BOD::BOB = true;
        BOD::XNB = res.pos;
        BOD::OOB = STORE::padKey(BOD::BM, STORE::SHEET.keyLen);
        BOD::BSM = BOD::CSU(BOD::BIS, BOD::GB, STORE::SHEET_BOXES);
    }
    return res;
}

STORE::Result DELB() { return STORE::deleteSheet(UMAS::PATH, STORE::Old{BOD::XNB, BOD::OOB, "", STORE::NO_CUSTOMER}); }

}  // namespace EKDO
