#include "submission/disket_counter.h"

#include "config/params.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/oslock.h"

namespace DISKET {

std::string counterPath() { return PARAMS::GETDATABASEPATH() + "ARXEIO0\\HDD.DAT"; }

Count INCDIAS(const std::string& /*EXT*/) {
    PLAT::File f;
    if (!f.open(counterPath(), PLAT::File::READWRITE, false)) return Count::MISSING;
    PLAT::lockFd(f.handle());
    Count result;
    uint8_t b[2];
    if (f.readSome(0, b, 2) < 2) {
        result = Count::DAMAGED;
    } else {
        const unsigned n = b[0] | (b[1] << 8);
        if (n >= 0xFFFF) {
            result = Count::FULL;
        } else {
            const unsigned m = n + 1;
            b[0] = uint8_t(m & 0xFF);
            b[1] = uint8_t(m >> 8);
            f.writeAt(0, b, 2);
            result = Count::ADVANCED;
        }
    }
    PLAT::unlockFd(f.handle());
    f.close();
    return result;
}

std::optional<uint16_t> readCount() {
    PLAT::File f;
    if (!f.open(counterPath(), PLAT::File::READ, false)) return std::nullopt;
    uint8_t b[2];
    if (f.readSome(0, b, 2) < 2) return std::nullopt;
    return uint16_t(b[0] | (b[1] << 8));
}

std::string message(Count c) {
    switch (c) {
        case Count::ADVANCED: return "";
        case Count::MISSING: return PLAT::gr("Δεν υπάρχει το HDD.DAT: ο μετρητής δεν προχώρησε");
        case Count::DAMAGED: return PLAT::gr("Το HDD.DAT είναι κατεστραμμένο: ο μετρητής δεν προχώρησε");
        case Count::FULL: return PLAT::gr("Ο μετρητής του HDD.DAT έφτασε το 65535 και δεν προχωρά");
    }
    return "";
}

}  // namespace DISKET
