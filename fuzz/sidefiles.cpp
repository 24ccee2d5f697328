// Fuzz target: the readers of a declaration's side files (grid, box 44, TIR, containers, transport
// document, tax bases, wines, vehicles, vehicle import lines). Input: a selector byte (which file), then
// the file image. No reader goes past its table and no text comes out longer than its capacity.
#include <cstddef>
#include <cstdint>
#include <string>

#include "documents/ekextra.h"
#include "platform/files.h"

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

template <class Arr>
void caps(const Arr& a, size_t cap) {
    for (const std::string& s : a) check(s.size() <= cap);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    using namespace EKEXTRA;
    switch (data[0] % 9) {
        case 0: {
            const TDILOS t = TDILOS::decode(bytes);
            for (const auto& row : t.C) caps(row, TDILOS::CAP);
            check(TDILOS::decode(t.encode()) == t);
            break;
        }
        case 1: {
            const THESI44 t = THESI44::decode(bytes);
            caps(t.CODE, THESI44::CAP);
            caps(t.REF, THESI44::CAP);
            check(t.encode().size() == THESI44::SIZE && THESI44::decode(t.encode()) == t);
            break;
        }
        case 2: {
            const ST_TIR t = ST_TIR::decode(bytes);
            caps(t.T, ST_TIR::CAP);
            check(ST_TIR::decode(t.encode()) == t);
            break;
        }
        case 3: {
            const CONTBUF t = CONTBUF::decode(bytes);
            caps(t.E, CONTBUF::CAP);
            check(CONTBUF::decode(t.encode()) == t);
            break;
        }
        case 4: {
            const EGRDOC t = EGRDOC::decode(bytes);
            check(t.EGGRCODE.size() <= 4 && t.EGGRNAME.size() <= 18);
            break;
        }
        case 5: {
            const VASTABLE t = VASTABLE::decode(bytes);
            for (const TVAS& l : t.L) check(l.VASCODE.size() <= 15 && l.VASPER.size() <= 25 && l.VASPOSOT.size() <= 11);
            check(VASTABLE::decode(t.encode()) == t);
            break;
        }
        case 6: {
            const KRASTABLE t = KRASTABLE::decode(bytes);
            for (const TKRAS& l : t.L) check(l.KRASCODE.size() <= 10 && l.KRASPOSOT.size() <= 11);
            check(KRASTABLE::decode(t.encode()) == t);
            break;
        }
        case 7: {
            const PINAYT t = PINAYT::decode(bytes);
            for (const BOD::MOT& m : t.V) check(m.ON.size() <= 30 && m.AP.size() <= 25 && m.KT.size() <= 10);
            check(PINAYT::decode(t.encode()) == t);
            break;
        }
        case 8: {  // a vehicle import file, line by line
            for (const std::string& line : PLAT::splitLines(bytes)) {
                std::string AP, AK;
                IMPORTLINE(line, AP, AK);
                check(AP.size() <= 25 && AK.size() <= 20);
            }
            break;
        }
    }
    return 0;
}
