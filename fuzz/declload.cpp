// Fuzz target: the declaration loader EK0.DISF.RUF on any "DISM.DAT". Input: the position (4 bytes,
// little-endian), a byte whose low bit is PUS, then the file. A damaged declaration is reported,
// never followed past the file.
#include "declarations/store_form.h"
#include "storeform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    FUZZSTORE::folder();
    FUZZSTORE::put("DISM.DAT", data + 5, size - 5);
    BOD::XN = FUZZSTORE::le32(data);
    BOD::TM = "1         ";
    BOD::LL = 23;
    std::string why;
    if (EK0::DISF_RUF(data[4] & 1, &why)) {
        if (BOD::PR < 0 || BOD::PR > 65535) __builtin_trap();
        (void)BOD::CSU(BOD::DIA, BOD::GV, BOD::BOXES);
    } else if (why.empty()) {
        __builtin_trap();
    }
    return 0;
}
