// The code tables in older layouts ("XVR.DAT", "NOM.DAT", "PRE.DAT", "TAX.DAT", "TEL.DAT"),
// converted in place, and the euro rate read from entry 24 of the currency table.
#include <cstdio>
#include <cstring>

#include "common/umas.h"
#include "platform/codec.h"
#include "upgrades/rebuilds.h"

namespace REBUILDS {

using namespace MECH;

namespace {

// The code-table lock, held from the probe to the written table (taken and released by the steps
// alone; the sequence's own lock keeps other workstations' sequences out already).
struct KvdLock {
    KvdLock() { UMAS::LOCK("FKVD"); }
    ~KvdLock() { UMAS::UNLOC("FKVD"); }
};

// A WORD code as its decimal digits, the first `cap` of them when they are more.
std::string codeText(uint16_t v, int cap) {
    std::string s = std::to_string(v);
    if (int(s.size()) > cap) s.resize(size_t(cap));
    return s;
}

// A text field copied into an equal or wider one (length byte and characters; the rest zero).
void copyText(uint8_t* to, int toCap, const uint8_t* from, int fromCap) { PLAT::putS(to, toCap, PLAT::getS(from, fromCap)); }

// ---- The current layouts (offsets within an entry) ----
// RECPOL: KV string[4] @0, CI string[20] @5.
// RECNOM: KV string[4] @0, NO string[20] @5, ST string[3] @26, MO WORD @30, IG string[8] @32, IS string[8] @41.
// RECPRE: KV string[4] @0, EE string[30] @5.
// RECTAX: KV string[3] @0, FO string[14] @4, PS string[7] @19, EI BYTE @27.
// RECTEL: KV WORD @0, TE string[20] @2, CI string[20] @23.
constexpr int NOM_IS = 41;

// One conversion in place: probe, read the old table, convert, write it back.
template <class Convert>
void inPlace(const char* step, const char* file, int64_t oldSize, int64_t newSize, Convert conv) {
    KvdLock lock;
    if (probe(step, file) != oldSize) return;
    std::vector<uint8_t> old = readTable(step, file, size_t(oldSize));
    std::vector<uint8_t> neu(size_t(newSize), 0);
    conv(old.data(), neu.data());
    writeTable(file, neu);
}

// Pascal's Val on a real: blanks and tabs before it, a sign, digits with an optional point and
// decimals, an optional exponent, and nothing after it; anything else gives 0.
double valReal(const std::string& s) {
    size_t i = 0, n = s.size();
    while (i < n && (s[i] == ' ' || s[i] == '\t')) ++i;
    size_t start = i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < n && s[i] == '.') {
        ++i;
        size_t dec = 0;
        while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++dec;
        if (dec == 0) return 0;  // "1." is not a number
    }
    if (digits == 0) return 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        size_t ex = 0;
        while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++ex;
        if (ex == 0) return 0;
    }
    if (i != n) return 0;
    std::string num = s.substr(start, n - start);
    char* end = nullptr;
    double v = std::strtod(num.c_str(), &end);
    return v;
}

// The euro rate from a current currency table.
void setEuro(const uint8_t* table) {
    UMAS::EURO = valReal(PLAT::getS(table + NOM_HEAD + 23 * RECNOM_SIZE + NOM_IS, 8));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%7.3f", UMAS::EURO);
    UMAS::SEURO = std::string(buf).substr(0, 7);
}

}  // namespace

void REB_POL() {
    const char* step = "REB_POL";
    KvdLock lock;
    int64_t size = probe(step, "XVR.DAT");
    if (size == XVR_SIZE || (size != 1932 && size != 3312 && size != 5520)) return;
    std::vector<uint8_t> old = readTable(step, "XVR.DAT", size_t(size));
    std::vector<uint8_t> neu(size_t(XVR_SIZE), 0);
    for (int64_t i = 0; i < size / ORECPOL_SIZE; ++i) {
        const uint8_t* o = old.data() + i * ORECPOL_SIZE;
        uint8_t* r = neu.data() + i * RECPOL_SIZE;
        PLAT::putS(r, 4, codeText(PLAT::getW(o), 4));
        copyText(r + 5, 20, o + 2, 20);
    }
    writeTable("XVR.DAT", neu);
}

void REB_NOM() {
    inPlace("REB_NOM", "NOM.DAT", NOM_OLD1, NOM_OLD2, [](const uint8_t* o, uint8_t* r) {
        std::memcpy(r, o, NOM_HEAD);  // H1, H2
        for (int i = 0; i < 24; ++i) {
            const uint8_t* a = o + NOM_HEAD + i * OORECNOM_SIZE;
            uint8_t* b = r + NOM_HEAD + i * ORECNOM_SIZE;
            PLAT::putS(b, 4, codeText(PLAT::getW(a), 4));  // KV
            copyText(b + 5, 20, a + 2, 20);                   // NO
            copyText(b + 26, 3, a + 23, 3);                   // ST
            PLAT::putW(b + 30, PLAT::getW(a + 27));           // MO
            copyText(b + 32, 7, a + 29, 7);                   // IG
            copyText(b + 40, 7, a + 37, 7);                   // IS
        }
    });
}

void REB_NOM_2() {
    const char* step = "REB_NOM_2";
    KvdLock lock;
    int64_t size = probe(step, "NOM.DAT");
    if (size == NOM_SIZE) {
        setEuro(readTable(step, "NOM.DAT", size_t(NOM_SIZE)).data());
        return;
    }
    if (size != NOM_OLD2) return;
    std::vector<uint8_t> o = readTable(step, "NOM.DAT", size_t(NOM_OLD2));
    std::vector<uint8_t> r(size_t(NOM_SIZE), 0);
    std::memcpy(r.data(), o.data(), NOM_HEAD);
    for (int i = 0; i < 24; ++i) {
        const uint8_t* a = o.data() + NOM_HEAD + i * ORECNOM_SIZE;
        uint8_t* b = r.data() + NOM_HEAD + i * RECNOM_SIZE;
        copyText(b, 4, a, 4);                    // KV
        copyText(b + 5, 20, a + 5, 20);          // NO
        copyText(b + 26, 3, a + 26, 3);          // ST
        PLAT::putW(b + 30, PLAT::getW(a + 30));  // MO
        copyText(b + 32, 8, a + 32, 7);          // IG
        copyText(b + NOM_IS, 8, a + 40, 7);      // IS
    }
    setEuro(r.data());
    writeTable("NOM.DAT", r);
}

void REB_PRE() {
    inPlace("REB_PRE", "PRE.DAT", PRE_OLD1, PRE_SIZE, [](const uint8_t* o, uint8_t* r) {
        for (int i = 0; i < 48; ++i) {
            uint8_t* b = r + i * RECPRE_SIZE;
            PLAT::putS(b, 4, "");
            copyText(b + 5, 30, o + i * ORECPRE1_SIZE, 30);
        }
    });
}

void REB_PRE2() {
    inPlace("REB_PRE2", "PRE.DAT", PRE_OLD2, PRE_SIZE, [](const uint8_t* o, uint8_t* r) {
        for (int i = 0; i < 48; ++i) {
            const uint8_t* a = o + i * ORECPRE2_SIZE;
            uint8_t* b = r + i * RECPRE_SIZE;
            copyText(b, 4, a, 3);
            copyText(b + 5, 30, a + 4, 30);
        }
    });
}

void REB_TAX() {
    inPlace("REB_TAX", "TAX.DAT", TAX_OLD1, TAX_SIZE,
            [](const uint8_t* o, uint8_t* r) { std::memcpy(r, o, size_t(TAX_OLD1)); });
}

void REB_TAX2() {
    inPlace("REB_TAX2", "TAX.DAT", TAX_OLD2, TAX_SIZE, [](const uint8_t* o, uint8_t* r) {
        for (int i = 0; i < 48; ++i) {
            const uint8_t* a = o + i * ORECTAX_SIZE;
            uint8_t* b = r + i * RECTAX_SIZE;
            uint16_t kv = PLAT::getW(a);
            PLAT::putS(b, 3, kv == 0 ? std::string() : codeText(kv, 3));
            copyText(b + 4, 14, a + 2, 14);  // FO
            copyText(b + 19, 7, a + 17, 7);  // PS
            b[27] = a[25];                   // EI
        }
    });
}

void REB_TEL() {
    const char* step = "REB_TEL";
    KvdLock lock;
    int64_t size = probe(step, "TEL.DAT");
    if (size == TEL_SIZE) return;
    // Every other size is an old table of at most 360 entries. A longer file is no table of either
    // layout: cutting it to 8280 bytes would lose what lies behind, so the run stops instead.
    if (size > TEL_OLD) fail(step, "TEL.DAT", "size " + std::to_string(size) + " fits no layout of the customs offices");
    std::vector<uint8_t> old = readTable(step, "TEL.DAT", size_t(TEL_OLD));
    std::vector<uint8_t> neu(size_t(TEL_SIZE), 0);
    for (int i = 0; i < 360; ++i) {
        const uint8_t* a = old.data() + i * ORECTEL_SIZE;
        uint8_t* b = neu.data() + i * RECTEL_SIZE;
        PLAT::putW(b, PLAT::getW(a));
        copyText(b + 2, 20, a + 2, 20);
        PLAT::putS(b + 23, 20, "");
    }
    writeTable("TEL.DAT", neu);
}

}  // namespace REBUILDS
