// Numbering series of invoices and credit notes: twelve RECSEIRES per series file ("SEIRES.DAT",
// "PSEIRES.DAT", "ISEIRES.DAT"), slot 1 being the documents without a series.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "platform/codec.h"

namespace PARAMS {

// One series slot; 14 bytes on disk, packed:
//   SEIRA string[2] @0, AA LONGINT @3, PORTA @7, MIKSEL @8, KATAK @9, ORIZ @10, EMUL @11,
//   POLAP @12, FORMIX @13 (BYTEs).
struct RECSEIRES {
    static constexpr size_t SIZE = 14;
    static constexpr size_t O_SEIRA = 0, O_AA = 3, O_PORTA = 7, O_MIKSEL = 8, O_KATAK = 9, O_ORIZ = 10,
                            O_EMUL = 11, O_POLAP = 12, O_FORMIX = 13;
    static constexpr int C_SEIRA = 2;

    std::string SEIRA;   // one or two Greek capitals; empty in slot 1 and unused slots
    int32_t AA = 0;      // next number to issue
    uint8_t PORTA = 0;   // 1 LPT1, 2 LPT2, 3 LPT3, 4 COM1, 5 COM2, 6 USB
    uint8_t MIKSEL = 0;  // page length in lines
    uint8_t KATAK = 0;   // vertical offset
    uint8_t ORIZ = 0;    // horizontal offset
    uint8_t EMUL = 0;    // printer emulation 1..8 (series numbering)
    uint8_t POLAP = 0;   // copies
    uint8_t FORMIX = 0;  // 1: every printed copy is signed

    static RECSEIRES decode(const uint8_t* p) {
        RECSEIRES r;
        r.SEIRA = PLAT::getS(p + O_SEIRA, C_SEIRA);
        r.AA = PLAT::getL(p + O_AA);
        r.PORTA = p[O_PORTA];
        r.MIKSEL = p[O_MIKSEL];
        r.KATAK = p[O_KATAK];
        r.ORIZ = p[O_ORIZ];
        r.EMUL = p[O_EMUL];
        r.POLAP = p[O_POLAP];
        r.FORMIX = p[O_FORMIX];
        return r;
    }
    void encode(uint8_t* p) const {
        PLAT::putS(p + O_SEIRA, C_SEIRA, SEIRA);
        PLAT::putL(p + O_AA, AA);
        p[O_PORTA] = PORTA;
        p[O_MIKSEL] = MIKSEL;
        p[O_KATAK] = KATAK;
        p[O_ORIZ] = ORIZ;
        p[O_EMUL] = EMUL;
        p[O_POLAP] = POLAP;
        p[O_FORMIX] = FORMIX;
    }
};
static_assert(RECSEIRES::O_FORMIX + 1 == RECSEIRES::SIZE, "RECSEIRES is 14 bytes");

constexpr int SEIRES_SLOTS = 12;
constexpr size_t SEIRES_SIZE = SEIRES_SLOTS * RECSEIRES::SIZE;  // 168, PARAMSEIRBUF
static_assert(SEIRES_SIZE == 168);
using SEIRESTABLE = std::array<RECSEIRES, SEIRES_SLOTS>;  // [0] is slot 1

SEIRESTABLE decodeSEIRES(const uint8_t* p);
void encodeSEIRES(const SEIRESTABLE& t, uint8_t* p);

// The series file name without extension: MN 0 "SEIRES", 1 "PSEIRES", 2 "ISEIRES".
std::string SEIRES_FILE(int MN);

// File-name suffix of a series code: the code trimmed of blanks, each Greek capital (CP737 0x80..0x97,
// Α..Ω) less 63 (A..X). Empty when the trimmed code is empty or holds anything but Greek capitals.
std::string SEIRES_SUFFIX(const std::string& code);

// The per-series number indexes (F7 of the series editor): for every slot 2..12 with a code,
// "TI_" (MN 0) or "SI_" (MN 1) + suffix + ".DAT" when missing; for MN 1 also the credit-note files
// "SD.DAT", "SH.DAT", "SPE.DAT", "SM.DAT" and "SI.DAT" when "SI.DAT" is missing. Files in UMAS::PATH.
void SEIRES_CREATEFILES(int MN, const SEIRESTABLE& t);

}  // namespace PARAMS
