// The field tables of the electronic formats in their older layout converted in place, "PARAUTO.DAT"
// made from "PARDEFK.DAT", the Q tables copied from their N twins, and the numbering series files
// created when missing with their prepared first slot.
#include <cmath>

#include "common/umas.h"
#include "config/params.h"
#include "platform/codec.h"
#include "platform/fatal.h"
#include "platform/fileops.h"
#include "platform/files.h"
#include "print/prns.h"
#include "upgrades/rebuilds.h"

namespace REBUILDS {

using namespace MECH;

namespace {

using PARAMS::RECPARTIM7;
static_assert(int64_t(PARAMS::PARTIM7_SIZE) == PARAMS::PARTIM7_ROWS * int64_t(RECPARTIM7::SIZE));

// ORECPARTIM7, 49 bytes: KV WORD @0, PEDIO string[22] @2, STATUS string[1] @25, TYPOS string[10] @27,
// TIMES string[10] @38.
RECPARTIM7 fromOld(const uint8_t* o) {
    RECPARTIM7 r;
    r.KV = PLAT::getW(o);
    r.PEDIO = PLAT::getS(o + 2, 22);
    r.STATUS = PLAT::getS(o + 25, 1);
    r.TYPOS = PLAT::getS(o + 27, 10).substr(0, 1);
    r.TIMES = PLAT::getS(o + 38, 10);
    return r;  // MIKOS empty
}
static_assert(38 + 11 == ORECPARTIM7_SIZE);

// The print settings of the invoice form kept without a workstation id, "ETC\pare.61" in the
// working folder: page length 66 and the rest 0 when the file is missing. Never created here.
PRNS::PAR_EKT invoiceFormSettings() {
    const std::string name = "ETC\\pare.61";
    auto bytes = PLAT::readWhole(name);
    if (!bytes) return PRNS::PAR_EKT{};
    if (bytes->size() < PRNS::PAR_EKT::SIZE) PLAT::fatal("CREATESEIRES", PLAT::resolve(name), "shorter than 5 bytes");
    return PRNS::PAR_EKT::decode(*bytes);
}

// The next number of the invoice series from the older numbering "TAR.DAT": its first 7-byte record
// as a text of digits. 1 when the file is missing.
int32_t tarNumber() {
    const std::string file = "TAR.DAT";
    if (!PLAT::fileExists(data(file))) return 1;
    probe("CREATESEIRES", file);
    std::vector<uint8_t> rec(size_t(TAR_REC), 0);
    PLAT::File f(data(file), PLAT::File::READ);
    if (f.readSome(0, rec.data(), rec.size()) < rec.size()) fail("CREATESEIRES", file, "shorter than 7 bytes");
    double v = std::nearbyint(UMAS::EVAL(PLAT::getS(rec.data(), 6)));
    return v < 0 || v > 2147483647.0 ? 0 : int32_t(v);
}

}  // namespace

void REB_PARDISK() {
    for (const char* stem : {"PARDISK", "PARAUTO", "PARDEFK", "PARDAO", "PART1", "PARSDE"}) {
        const std::string file = std::string(stem) + ".DAT";
        // Folders installed in the current layouts never had these tables.
        if (!PLAT::fileExists(data(file))) continue;
        if (probe("REB_PARDISK", file) != PARTIM7_OLD) continue;
        std::vector<uint8_t> old = readTable("REB_PARDISK", file, size_t(PARTIM7_OLD));
        std::vector<uint8_t> neu(PARAMS::PARTIM7_SIZE, 0);
        for (int i = 0; i < PARAMS::PARTIM7_ROWS; ++i)
            fromOld(old.data() + i * ORECPARTIM7_SIZE).encode(neu.data() + size_t(i) * RECPARTIM7::SIZE);
        writeTable(file, neu);
    }
}

void REB_PARAUTO() {
    if (PLAT::fileExists(data("PARAUTO.DAT")) || !PLAT::fileExists(data("PARDEFK.DAT"))) return;
    PLAT::renameFile(data("PARDEFK.DAT"), data("PARAUTO.DAT"));
    wrote();
}

void REBQPAR(const std::string& FN) {
    const std::string step = "REBQPAR " + FN, q = "Q" + FN + ".DAT", n = "N" + FN + ".DAT";
    if (PLAT::fileExists(data(q)) || !PLAT::fileExists(data(n))) return;
    const int64_t size = PLAT::fileSize(data(n));
    if (size <= 0 || size > 65535) fail(step, n, "a field table of " + std::to_string(size) + " bytes");
    writeTable(q, readTable(step, n, size_t(size)));
}

void CREATESEIRES() {
    const PRNS::PAR_EKT print = invoiceFormSettings();
    for (int MN = 0; MN < 3; ++MN) {
        const std::string file = PARAMS::SEIRES_FILE(MN) + ".DAT";
        if (PLAT::fileExists(data(file))) continue;
        PARAMS::SEIRESTABLE t{};
        PARAMS::RECSEIRES& r = t[0];
        r.AA = MN == 0 ? tarNumber() : 1;
        r.PORTA = print.PORT;
        r.MIKSEL = print.PGLE;
        r.KATAK = print.VTAB;
        r.ORIZ = print.HTAB;
        r.EMUL = print.EMUL;
        r.POLAP = 1;
        r.FORMIX = 0;
        std::vector<uint8_t> img(PARAMS::SEIRES_SIZE, 0);
        PARAMS::encodeSEIRES(t, img.data());
        UMAS::LOCK("FPAR");
        // The series editor of another workstation may have made it meanwhile.
        if (!PLAT::fileExists(data(file))) writeTable(file, img);
        UMAS::UNLOC("FPAR");
    }
}

}  // namespace REBUILDS
