// The goods details of the older record ("PEMP.DAT" before the 48 taxes) widened, the goods index
// "EMP.DAT" and the details of 500 slots grown to 1500, and a details file longer than 1500 records
// cut to its first 1500.
#include <cstring>

#include "codes/kvdi.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "upgrades/rebuilds.h"

namespace REBUILDS {

using namespace MECH;

namespace {

using KVDI::REC;
using KVDI::REK;
constexpr int64_t REK_SIZE = int64_t(REK::SIZE), REC_SIZE = int64_t(REC::SIZE), SLOTS = int64_t(KVDI::PEMP_N);
static_assert(KVDI::F_EMP.size == size_t(SLOTS * REC_SIZE) && PEMP_BOUND == EMP_OLD_SLOTS * REK_SIZE &&
              ORECPEMP_SIZE * REK_SIZE > PEMP_BOUND);

// ORECPEMP, 883 bytes: the first 739 bytes as in REK (24 taxes), then SX six strings[23] at 739.
REK widen(const uint8_t* o) {
    uint8_t buf[REK::SIZE] = {};
    std::memcpy(buf, o, 739);
    REK r = REK::decode(buf);
    for (int i = 25; i <= 48; ++i) r.PC[size_t(i)] = std::string(7, ' ');
    for (int i = 1; i <= 6; ++i) r.SX[size_t(i)] = PLAT::getS(o + 739 + (i - 1) * 24, 23);
    return r;
}
static_assert(739 + 6 * 24 == ORECPEMP_SIZE);

std::vector<uint8_t> blankRecords(int64_t n) {
    std::vector<uint8_t> rec(REK::SIZE, 0);
    REK::blank().encode(rec.data());
    std::vector<uint8_t> out;
    out.reserve(size_t(n * REK_SIZE));
    for (int64_t i = 0; i < n; ++i) out.insert(out.end(), rec.begin(), rec.end());
    return out;
}

// A cut of an older run stopped midway: "TEMP.DAT" holds the whole details and "PEMP.DAT" is
// missing or short. The details are made again from "TEMP.DAT" before anything reads their size.
void finishOldCut() {
    const int64_t temp = PLAT::fileSize(data("TEMP.DAT"));
    if (temp <= SLOTS * REK_SIZE || temp % REK_SIZE != 0) return;
    const int64_t pemp = PLAT::fileSize(data("PEMP.DAT"));
    if (pemp >= SLOTS * REK_SIZE) return;
    writeTable("PEMP.DAT", readTable("REB_PEMP", "TEMP.DAT", size_t(SLOTS * REK_SIZE)));
    PLAT::removeFile(data("TEMP.DAT"));
    wrote();
}

}  // namespace

void REB_PEMP() {
    const std::string step = "REB_PEMP", file = "PEMP.DAT";
    finishOldCut();
    const int64_t size = probe(step, file);
    if (size >= PEMP_BOUND || size == 0) return;
    // Below the bound no size is a multiple of both record sizes: a file of whole current records
    // (a short one) is left as it is, one of neither size stops the run before anything is written.
    if (size % REK_SIZE == 0) return;
    if (size % ORECPEMP_SIZE != 0) fail(step, file, "not a whole number of records of 883 bytes");
    checkBackup(step, file, "PEMP.OLD");
    std::vector<uint8_t> old = readTable(step, file, size_t(size));
    NewFile out("PEMP.NEW");
    uint8_t rec[REK::SIZE];
    for (int64_t r = 0; r < size / ORECPEMP_SIZE; ++r) {
        widen(old.data() + r * ORECPEMP_SIZE).encode(rec);
        out.put(rec, sizeof rec);
    }
    out.finish();
    commit(step, file, "PEMP.NEW", "PEMP.OLD");
}

void REB_EMPOR() {
    const std::string step = "REB_EMPOR";
    if (probe(step, "EMP.DAT") / REC_SIZE == EMP_OLD_SLOTS) {
        // The details first: a stop between the two leaves the index of 500 slots, and the next run
        // appends again to details that the cut below brings back to 1500 records.
        const int64_t pemp = probe(step, "PEMP.DAT");
        std::vector<uint8_t> details = readTable(step, "PEMP.DAT", size_t(pemp));
        std::vector<uint8_t> more = blankRecords(SLOTS - EMP_OLD_SLOTS);
        details.resize(size_t(pemp / REK_SIZE * REK_SIZE));
        details.insert(details.end(), more.begin(), more.end());
        writeTable("PEMP.DAT", details);
        std::vector<uint8_t> index = readTable(step, "EMP.DAT", size_t(EMP_OLD_SLOTS * REC_SIZE));
        index.resize(size_t(SLOTS * REC_SIZE));
        for (int64_t n = 1; n <= SLOTS - EMP_OLD_SLOTS; ++n)
            REC{std::string(26, ' '), uint16_t(EMP_OLD_SLOTS - 1 + n)}.encode(index.data() +
                                                                              (EMP_OLD_SLOTS - 1 + n) * REC_SIZE);
        writeTable("EMP.DAT", index);
    }
    const int64_t pemp = probe(step, "PEMP.DAT");
    if (pemp / REK_SIZE > SLOTS) writeTable("PEMP.DAT", readTable(step, "PEMP.DAT", size_t(SLOTS * REK_SIZE)));
}

}  // namespace REBUILDS
