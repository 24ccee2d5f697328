// The electronic-format field tables: one RECPARTIM7 per field of an output record, 220 rows per
// format, kept as "N" or "Q" + the table name + ".dat" in the company folder.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "platform/codec.h"

namespace PARAMS {

// One field of an electronic record; 46 bytes on disk, packed:
//   KV WORD @0, PEDIO string[22] @2, STATUS string[1] @25, MIKOS string[5] @27,
//   TYPOS string[1] @33, TIMES string[10] @35.
struct RECPARTIM7 {
    static constexpr size_t SIZE = 46;
    static constexpr size_t O_KV = 0, O_PEDIO = 2, O_STATUS = 25, O_MIKOS = 27, O_TYPOS = 33, O_TIMES = 35;
    static constexpr int C_PEDIO = 22, C_STATUS = 1, C_MIKOS = 5, C_TYPOS = 1, C_TIMES = 10;

    uint16_t KV = 0;     // field code, 0 = empty row
    std::string PEDIO;   // field name
    std::string STATUS;  // "R"/"r" mandatory; "C", "O", blank also accepted
    std::string MIKOS;   // length rule: "n" or "..n"
    std::string TYPOS;   // value type
    std::string TIMES;   // fixed value (KV 999)

    static RECPARTIM7 decode(const uint8_t* p) {
        RECPARTIM7 r;
        r.KV = PLAT::getW(p + O_KV);
        r.PEDIO = PLAT::getS(p + O_PEDIO, C_PEDIO);
        r.STATUS = PLAT::getS(p + O_STATUS, C_STATUS);
        r.MIKOS = PLAT::getS(p + O_MIKOS, C_MIKOS);
        r.TYPOS = PLAT::getS(p + O_TYPOS, C_TYPOS);
        r.TIMES = PLAT::getS(p + O_TIMES, C_TIMES);
        return r;
    }
    void encode(uint8_t* p) const {
        PLAT::putW(p + O_KV, KV);
        PLAT::putS(p + O_PEDIO, C_PEDIO, PEDIO);
        PLAT::putS(p + O_STATUS, C_STATUS, STATUS);
        PLAT::putS(p + O_MIKOS, C_MIKOS, MIKOS);
        PLAT::putS(p + O_TYPOS, C_TYPOS, TYPOS);
        PLAT::putS(p + O_TIMES, C_TIMES, TIMES);
    }
};
static_assert(RECPARTIM7::O_TIMES + 1 + RECPARTIM7::C_TIMES == RECPARTIM7::SIZE, "RECPARTIM7 is 46 bytes");

constexpr int PARTIM7_ROWS = 220;
constexpr size_t PARTIM7_SIZE = PARTIM7_ROWS * RECPARTIM7::SIZE;  // 10120
static_assert(PARTIM7_SIZE == 10120);
using PARTIM7TABLE = std::array<RECPARTIM7, PARTIM7_ROWS>;

// The seven formats in the order of the format menu.
constexpr int PARTIM7_FORMATS = 7;
extern const char* const PARTIM7_NAMES[PARTIM7_FORMATS];  // "PARDISK", "PARAUTO", ... "PART2L"

// The table file name of format pos without extension, "Q" or "N" by UMAS::HLEK4 ("NPARDISK").
std::string PARTIM7_FILE(int pos);
// Whole-table codec (10120 bytes).
PARTIM7TABLE decodePARTIM7(const uint8_t* p);
void encodePARTIM7(const PARTIM7TABLE& t, uint8_t* p);

}  // namespace PARAMS
