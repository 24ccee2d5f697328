// Fuzz target: an XML template as the run reads it (lines of any length, without ">", only "%",
// huge or negative codes, no last line end), processed as a header, an item block of a declaration
// with three items and a manifest trailer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "storeform.h"
#include "submission/diskxml_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FUZZSTORE::folder();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = DISKXML::TEMPLATELINES(bytes);
    DISKET::PBUF buf;
    buf.LINES.assign(27, std::string(78, '9'));
    buf.CELLS.assign(721, "V");
    for (int part = 0; part < 3; ++part) {
        DISKXML::RUN R;
        R.EXT = part == 1 ? "MTF" : "IMP";
        R.BUF = part == 2 ? &buf : nullptr;
        R.DILOTIKO = part == 2;
        R.N = 1;
        DISKXML::PROCESS(R, lines, part == 0 ? DISKXML::PART::HEADER
                                   : part == 1 ? DISKXML::PART::ITEM
                                               : DISKXML::PART::DILOTRAILER);
        // Every line written ends in CR LF; nothing is written for nothing read.
        if (!R.OUT.empty() && R.OUT.compare(R.OUT.size() - 2, 2, "\r\n") != 0) __builtin_trap();
        if (lines.empty() && !R.OUT.empty()) __builtin_trap();
        if (R.CERR != int(R.ERR.size())) __builtin_trap();
    }
    return 0;
}
