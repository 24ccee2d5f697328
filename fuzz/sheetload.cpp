// Fuzz target: the continuation-sheet loader EKDO.RUFB on any "BISM.DAT". Input: the position
// (4 bytes, little-endian), a byte whose low bit is SHOW, then the file.
#include "declarations/store_form.h"
#include "storeform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    FUZZSTORE::folder();
    FUZZSTORE::put("BISM.DAT", data + 5, size - 5);
    BOD::XNB = FUZZSTORE::le32(data);
    BOD::BM = "10202         ";
    std::string why;
    if (EKDO::RUFB(23, data[4] & 1, &why)) {
        if (BOD::AYB.KT.size() > 1) __builtin_trap();
        (void)BOD::CSU(BOD::BIS, BOD::GB, BOD::SHEET_BOXES);
    } else if (why.empty()) {
        __builtin_trap();
    }
    return 0;
}
