// The invoice and document parameter records: invoice item headings ("PARTIM1"), expenses-statement
// reasons ("PARTIM2"), the declaration-to-invoice map ("PARTIM3") and the document field maps
// (RECPARTIM3), and the print layouts of the invoice ("PARTIM4") and the documents (RECPARTIM4).
// Every record is packed, little-endian, read and written through the codecs below.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/codec.h"

namespace PARAMS {

// One invoice item heading or one reason of the expenses statement: PER string[40].
struct RECPARTIM1 {
    static constexpr size_t SIZE = 41;
    std::string PER;
    static RECPARTIM1 decode(const uint8_t* p) { return {PLAT::getS(p, 40)}; }
    void encode(uint8_t* p) const { PLAT::putS(p, 40, PER); }
};
using RECPARTIM2 = RECPARTIM1;

// A declaration box feeding one invoice or document field: KV WORD (0 = none), CI string[20].
struct RECPARTIM3 {
    static constexpr size_t SIZE = 23;
    uint16_t KV = 0;
    std::string CI;
    static RECPARTIM3 decode(const uint8_t* p) { return {PLAT::getW(p), PLAT::getS(p + 2, 20)}; }
    void encode(uint8_t* p) const {
        PLAT::putW(p, KV);
        PLAT::putS(p + 2, 20, CI);
    }
    bool operator==(const RECPARTIM3&) const = default;
};

// One item of a pre-printed form: caption, modes before (SA1, SA2), column, line, modes after
// (ST2, ST1). COL = 0 or ROW = 0: not printed.
struct RECPARTIM4 {
    static constexpr size_t SIZE = 37;
    std::string PER;  // string[30]
    uint8_t SA1 = 0, SA2 = 0, COL = 0, ROW = 0, ST2 = 0, ST1 = 0;
    static RECPARTIM4 decode(const uint8_t* p) {
        RECPARTIM4 r;
        r.PER = PLAT::getS(p, 30);
        r.SA1 = p[31];
        r.SA2 = p[32];
        r.COL = p[33];
        r.ROW = p[34];
        r.ST2 = p[35];
        r.ST1 = p[36];
        return r;
    }
    void encode(uint8_t* p) const {
        PLAT::putS(p, 30, PER);
        p[31] = SA1;
        p[32] = SA2;
        p[33] = COL;
        p[34] = ROW;
        p[35] = ST2;
        p[36] = ST1;
    }
    bool operator==(const RECPARTIM4&) const = default;
};

// Record counts and file sizes.
constexpr size_t PARTIM1_N = 18, PARTIM1_SIZE = 738;   // "PARTIM1"
constexpr size_t PARTIM2_N = 11, PARTIM2_SIZE = 451;   // "PARTIM2" (fills DEP[1..11])
constexpr size_t DEP_N = 14;                           // DEP in memory; 12..14 not from the file
constexpr size_t PARTIM3_N = 22, PARTIM3_SIZE = 506;   // "PARTIM3"
constexpr size_t MAXPVTIM = 144, PARTIM4_SIZE = 5328;  // "PARTIM4"
constexpr size_t PARD2_N = 33, PARD2_SIZE = 759;       // document field maps
constexpr size_t PARDOC_N = 120, PARDOC_SIZE = 4440;   // document print layouts
static_assert(PARTIM1_N * RECPARTIM1::SIZE == PARTIM1_SIZE);
static_assert(PARTIM2_N * RECPARTIM2::SIZE == PARTIM2_SIZE);
static_assert(PARTIM3_N * RECPARTIM3::SIZE == PARTIM3_SIZE);
static_assert(MAXPVTIM * RECPARTIM4::SIZE == PARTIM4_SIZE);
static_assert(PARD2_N * RECPARTIM3::SIZE == PARD2_SIZE);
static_assert(PARDOC_N * RECPARTIM4::SIZE == PARDOC_SIZE);

// Tables in memory, 1-based as everywhere in the program (entry 0 unused).
using TPARTIM1 = std::array<std::string, PARTIM1_N + 1>;  // string[40]
using TDEP = std::array<std::string, DEP_N + 1>;          // string[40]
using TPARTIM3 = std::array<RECPARTIM3, PARTIM3_N + 1>;

// Codecs of whole tables. decode reads records 1..n from the file image (which must hold at
// least n records); encode writes exactly n records.
template <class R, class T>
void decodeTable(const uint8_t* p, size_t n, T& t) {
    for (size_t i = 1; i <= n; ++i) t[i] = R::decode(p + (i - 1) * R::SIZE);
}
template <class R, class T>
void encodeTable(const T& t, size_t n, uint8_t* p) {
    for (size_t i = 1; i <= n; ++i) t[i].encode(p + (i - 1) * R::SIZE);
}
// Strings tables (PARTIM1, DEP) through RECPARTIM1.
inline void decodePARTIM1(const uint8_t* p, TPARTIM1& t) {
    for (size_t i = 1; i <= PARTIM1_N; ++i) t[i] = RECPARTIM1::decode(p + (i - 1) * RECPARTIM1::SIZE).PER;
}
inline void encodePARTIM1(const TPARTIM1& t, uint8_t* p) {
    for (size_t i = 1; i <= PARTIM1_N; ++i) RECPARTIM1{t[i]}.encode(p + (i - 1) * RECPARTIM1::SIZE);
}
// The file "PARTIM2" holds DEP[1..11]; entries 12..14 are never read or written here.
inline void decodeDEP(const uint8_t* p, TDEP& t) {
    for (size_t i = 1; i <= PARTIM2_N; ++i) t[i] = RECPARTIM2::decode(p + (i - 1) * RECPARTIM2::SIZE).PER;
}
inline void encodeDEP(const TDEP& t, uint8_t* p) {
    for (size_t i = 1; i <= PARTIM2_N; ++i) RECPARTIM2{t[i]}.encode(p + (i - 1) * RECPARTIM2::SIZE);
}
inline void decodePARTIM3(const uint8_t* p, TPARTIM3& t) { decodeTable<RECPARTIM3>(p, PARTIM3_N, t); }
inline void encodePARTIM3(const TPARTIM3& t, uint8_t* p) { encodeTable<RECPARTIM3>(t, PARTIM3_N, p); }

}  // namespace PARAMS
