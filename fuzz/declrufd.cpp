// Fuzz target: the list reader DIAS.RUFD on any "DISM.DAT", in both row kinds. Input: the position
// (4 bytes, little-endian), a byte selecting the row kind (low bit) and the kind code (next bits),
// then the file. A damaged declaration clears DIAS.ALLGOOD and gives no row.
#include "declarations/dias.h"
#include "storeform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    FUZZSTORE::folder();
    FUZZSTORE::put("DISM.DAT", data + 5, size - 5);
    static const char* const KINDS[] = {"IMP", "EXP", "MTF", "MET", "DFK", "", "IMP", "EXP"};
    const std::string ext = KINDS[(data[4] >> 1) & 7];
    UMAS::PAREDE[9].TIMI = uint8_t((data[4] >> 4) & 1);
    DIAS::FT.open(UMAS::PATH + "DISM.DAT", PLAT::File::READ);
    DIAS::MFSIZE = DIAS::FT.size();
    DIAS::XND = FUZZSTORE::le32(data);
    DIAS::ALLGOOD = true;
    int CC = 1;
    if (data[4] & 1) {
        std::vector<DIAS::REC> rows(1);
        DIAS::RUFD(rows, 0, 0, "", ext, false, CC);
        if (CC == 1 && (rows[0].KD.size() > 10 || rows[0].EM.size() > 30 || rows[0].AXIA.size() > 12)) __builtin_trap();
    } else {
        std::vector<DIAS::REC1> rows(1);
        DIAS::RUFD(rows, 0, 22319, "ABCDEFG", ext, false, CC);
        if (CC == 1 && (rows[0].KD.size() > 10 || rows[0].EM.size() > 50 || rows[0].HM.size() > 6)) __builtin_trap();
    }
    if (CC != 0 && CC != 1) __builtin_trap();
    if (!DIAS::ALLGOOD && CC != 0) __builtin_trap();
    DIAS::FT.close();
    return 0;
}
