// Fuzz target: the readers of the fixed-layout documents. The first byte chooses: 0 a ".cma", 1 a
// ".cmb", 2 a ".byg", 3 a ".T5" (each read into its record, every screen field within its
// capacity, the record size kept), 4 a ".tir" and 5 an ".ait" values file, 6 "N105.DAT" (the next
// byte picks the record; fields keep their lengths, a write keeps every other record), 7 the
// serial counter and 8 a line-offset file (the counter never goes back, the offset stays 0..255).
#include <cmath>

#include "documents/ekd3.h"
#include "documents/ekd4.h"
#include "storeform.h"

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

void record(const std::string& ext, size_t size, const std::vector<EKD3::EdField>& table, const std::string& bytes) {
    PLAT::writeWholeAtomic(EKD3::SIDEFILE(ext), bytes);
    EKD3::Record r(size);
    check(EKD3::READSIDE(EKD3::SIDEFILE(ext), r));
    check(r.b.size() == size);
    for (const EKD3::EdField& e : table) {
        const std::string s = r.get(e.f);
        check(s.size() <= size_t(e.f.cap));
        r.set(e.f, s + s);
        check(r.get(e.f) == (s + s).substr(0, size_t(e.f.cap)));
    }
    check(r.b.size() == size);
}

void values(int n, const std::string& bytes) {
    LAYDOC::Values v(n, 55);
    LAYDOC::DECODE(bytes, v);
    for (int i = 1; i <= n; ++i) check(v.f[size_t(i)].size() <= 55);
    check(LAYDOC::ENCODE(v).size() == size_t(n) * 56);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    FUZZSTORE::folder();
    if (UMAS::MPR.size() <= 81) UMAS::MPR.resize(UMAS::MASKS + 1);
    if (!UMAS::mask(81)) UMAS::MPR[81] = UMAS::CONV::make(1, 1, 80, 24);
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 9) {
    case 0: record(".cma", EKD3::CMRR::SIZE, EKD3::CMRATABLE(), rest); break;
    case 1: record(".cmb", EKD3::CMRBR::SIZE, EKD3::CMRBTABLE(), rest); break;
    case 2: record(".byg", EKD3::BEYGR::SIZE, EKD3::BEYGTABLE(), rest); break;
    case 3: record(".T5", EKD3::T5R::SIZE, EKD3::T5TABLE(), rest); break;
    case 4: values(43, rest); break;
    case 5: values(29, rest); break;
    case 6: {
        if (rest.empty()) break;
        const int n = uint8_t(rest[0]) % 8;
        const std::string file = rest.substr(1);
        PLAT::writeWholeAtomic(UMAS::PATH + "N105.DAT", file);
        EKD3::N105READ(n);
        for (int f = 1; f <= 23; ++f) check(!EKD3::N105FIELD(f).empty());
        EKD3::N105WRITE(n);
        const auto after = PLAT::readWhole(UMAS::PATH + "N105.DAT");
        check(after && after->size() >= size_t(n + 1) * EKD3::N105_SIZE);
        const size_t at = size_t(n) * EKD3::N105_SIZE;
        check(after->substr(0, std::min(at, file.size())) == file.substr(0, std::min(at, file.size())));
        if (file.size() > at + EKD3::N105_SIZE) check(after->substr(at + EKD3::N105_SIZE) == file.substr(at + EKD3::N105_SIZE));
        break;
    }
    case 7: {
        PLAT::writeWholeAtomic(UMAS::PATH + "AA_CMR.TXT", rest);
        const std::string now = EKD3::GETAA();
        const double before = UMAS::EVAL(now);
        EKD3::INCAA(now);
        const std::string next = EKD3::GETAA();
        check(std::nearbyint(UMAS::EVAL(next)) >= std::nearbyint(before) || !(before < 9e18));
        break;
    }
    case 8: {
        PLAT::writeWholeAtomic(FUZZSTORE::folder() + "/CMR1.TXT", rest);
        const int n = EKD3::LINEOFFSET(FUZZSTORE::folder() + "/CMR1.TXT");
        check(n >= 0 && n <= 255);
        break;
    }
    }
    return 0;
}
