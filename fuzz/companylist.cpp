// Fuzz target: the company list "KORVEX.INI" as the company choice reads it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/params.h"
#include "platform/files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    PARAMS::CompanyList cl = PARAMS::parseCompanyList(PLAT::splitLines(bytes));
    if (cl.n < 1 || cl.n > 16) return 0;  // refused at start
    size_t total = 0;
    for (int c = 0; c < cl.n; ++c) {
        if (!cl.present(c)) continue;
        for (int j = 1; j <= 9; ++j) {
            std::string v = cl.value(c, j);
            if (v.size() > 40) __builtin_trap();
            total += v.size();
        }
    }
    return total == size_t(-1);
}
