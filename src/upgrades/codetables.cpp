// The code tables in older layouts ("XVR.DAT", "NOM.DAT", "PRE.DAT", "TAX.DAT", "TEL.DAT"),
// converted when their size is one of a known older layout (the old file kept beside it as a
// backup), and the euro rate read from entry 24 of the currency table.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "codes/kvdi.h"
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

using KVDI::RECNOM;
using KVDI::RECPOL;
using KVDI::RECPRE;
using KVDI::RECTAX;
using KVDI::RECTEL;
constexpr int64_t NOM_SIZE = int64_t(KVDI::F_NOM.size), XVR_SIZE = int64_t(KVDI::F_POL.size),
                  PRE_SIZE = int64_t(KVDI::F_PRE.size), TAX_SIZE = int64_t(KVDI::F_TAX.size),
                  TEL_SIZE = int64_t(KVDI::F_TEL.size);
static_assert(NOM_SIZE == NOM_HEAD + 24 * RECNOM::SIZE && XVR_SIZE == 240 * RECPOL::SIZE &&
              PRE_SIZE == 48 * RECPRE::SIZE && TAX_SIZE == 48 * RECTAX::SIZE && TEL_SIZE == 360 * RECTEL::SIZE);

// Text of an old entry (length byte and capacity).
std::string text(const uint8_t* p, int cap) { return PLAT::getS(p, cap); }

// The converted table written completely beside the old one ("New" + file), the old file given
// its backup name as a second name, then the new one renamed over the data name: the data name
// never disappears and the old layout stays beside it. An existing backup is never replaced.
void writeKeeping(const char* step, const std::string& file, const std::vector<uint8_t>& neu, const std::string& bak) {
    checkBackup(step, file, bak);
    const std::string tmp = "New" + file;
    {
        NewFile out(tmp);
        out.put(neu.data(), neu.size());
        out.finish();
    }
    commit(step, file, tmp, bak);
}

// The backup of a code-table conversion: the table's name with the extension given.
std::string backupOf(const std::string& file, const char* ext) { return file.substr(0, file.find('.')) + ext; }

// One conversion: probe, read the old table, convert, write it keeping the old one as backup
// (extension bakExt). The converted table; nothing when the file has another size.
template <class Convert>
std::vector<uint8_t> inPlace(const char* step, const char* file, int64_t oldSize, int64_t newSize, const char* bakExt,
                             Convert conv) {
    KvdLock lock;
    if (probe(step, file) != oldSize) return {};
    std::vector<uint8_t> old = readTable(step, file, size_t(oldSize));
    std::vector<uint8_t> neu(size_t(newSize), 0);
    conv(old.data(), neu.data());
    writeKeeping(step, file, neu, backupOf(file, bakExt));
    return neu;
}

// The company choice read the tax table before the sequence, from the old file; the converted table
// takes its place, so that no tax is worked out from an old layout read as the current one.
void taxTableInMemory(const std::vector<uint8_t>& table) {
    if (table.size() == UMAS::PTAX.size()) std::memcpy(UMAS::PTAX.data(), table.data(), table.size());
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
    double v = std::strtod(s.substr(start).c_str(), nullptr);
    return std::isfinite(v) ? v : 0;  // "1E999" is no rate
}

// The euro rate from a current currency table.
void setEuro(const uint8_t* table) {
    UMAS::EURO = valReal(RECNOM::decode(table + NOM_HEAD + 23 * RECNOM::SIZE).IS);
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
        RECPOL{codeText(PLAT::getW(o), 4), text(o + 2, 20)}.encode(neu.data() + i * RECPOL::SIZE);
    }
    writeKeeping(step, "XVR.DAT", neu, "XVR.BBB");
}

void REB_NOM() {
    inPlace("REB_NOM", "NOM.DAT", NOM_OLD1, NOM_OLD2, ".BBB", [](const uint8_t* o, uint8_t* r) {
        std::memcpy(r, o, NOM_HEAD);  // H1, H2
        for (int i = 0; i < 24; ++i) {
            // The intermediate layout is the current one with rates of 7 characters.
            const uint8_t* a = o + NOM_HEAD + i * OORECNOM_SIZE;
            uint8_t* b = r + NOM_HEAD + i * ORECNOM_SIZE;
            PLAT::putS(b, 4, codeText(PLAT::getW(a), 4));  // KV
            PLAT::putS(b + 5, 20, text(a + 2, 20));         // NO
            PLAT::putS(b + 26, 3, text(a + 23, 3));         // ST
            PLAT::putW(b + 30, PLAT::getW(a + 27));         // MO
            PLAT::putS(b + 32, 7, text(a + 29, 7));         // IG
            PLAT::putS(b + 40, 7, text(a + 37, 7));         // IS
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
        RECNOM{text(a, 4), text(a + 5, 20), text(a + 26, 3), PLAT::getW(a + 30), text(a + 32, 7), text(a + 40, 7)}.encode(
            r.data() + NOM_HEAD + i * RECNOM::SIZE);
    }
    setEuro(r.data());
    writeKeeping(step, "NOM.DAT", r, "NOM.CCC");
}

void REB_PRE() {
    inPlace("REB_PRE", "PRE.DAT", PRE_OLD1, PRE_SIZE, ".BBB", [](const uint8_t* o, uint8_t* r) {
        for (int i = 0; i < 48; ++i) RECPRE{"", text(o + i * ORECPRE1_SIZE, 30)}.encode(r + i * RECPRE::SIZE);
    });
}

void REB_PRE2() {
    inPlace("REB_PRE2", "PRE.DAT", PRE_OLD2, PRE_SIZE, ".CCC", [](const uint8_t* o, uint8_t* r) {
        for (int i = 0; i < 48; ++i) {
            const uint8_t* a = o + i * ORECPRE2_SIZE;
            RECPRE{text(a, 3), text(a + 4, 30)}.encode(r + i * RECPRE::SIZE);
        }
    });
}

void REB_TAX() {
    // The 24 entries are already in the current layout.
    taxTableInMemory(inPlace("REB_TAX", "TAX.DAT", TAX_OLD1, TAX_SIZE, ".BBB",
                             [](const uint8_t* o, uint8_t* r) { std::memcpy(r, o, size_t(TAX_OLD1)); }));
}

void REB_TAX2() {
    taxTableInMemory(inPlace("REB_TAX2", "TAX.DAT", TAX_OLD2, TAX_SIZE, ".CCC", [](const uint8_t* o, uint8_t* r) {
        for (int i = 0; i < 48; ++i) {
            const uint8_t* a = o + i * ORECTAX_SIZE;
            uint16_t kv = PLAT::getW(a);
            RECTAX{kv == 0 ? std::string() : codeText(kv, 3), text(a + 2, 14), text(a + 17, 7), a[25]}.encode(
                r + i * RECTAX::SIZE);
        }
    }));
}

void REB_TEL() {
    const char* step = "REB_TEL";
    KvdLock lock;
    int64_t size = probe(step, "TEL.DAT");
    // An old table is a whole number of entries, at most 360 of them. A file of any other size
    // (one cut short, or longer than either layout) is no table to convert: it is left as it is,
    // and the company choice tells the clerk (KVDI::CHECKSIZES).
    if (size == TEL_SIZE || size <= 0 || size > TEL_OLD || size % ORECTEL_SIZE != 0) return;
    std::vector<uint8_t> old = readTable(step, "TEL.DAT", size_t(TEL_OLD));
    std::vector<uint8_t> neu(size_t(TEL_SIZE), 0);
    for (int i = 0; i < 360; ++i) {
        const uint8_t* a = old.data() + i * ORECTEL_SIZE;
        RECTEL{PLAT::getW(a), text(a + 2, 20), ""}.encode(neu.data() + i * RECTEL::SIZE);
    }
    writeKeeping(step, "TEL.DAT", neu, "TEL.BBB");
}

}  // namespace REBUILDS
