// The customer files in the older record size, widened ("MF.DAT", "XMF.DAT"), and the customer name
// indexes of the oldest layout rebuilt and of 50 buckets extended ("IF.DAT", "XIF.DAT"), with the
// freed-slot files "PN.DAT" and "XPN.DAT" emptied.
#include <cstring>

#include "customers/arp0.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "upgrades/rebuilds.h"

namespace REBUILDS {

using namespace MECH;

namespace {

constexpr int64_t RR0_SIZE = int64_t(ARP0::RR0::SIZE), IDX_REC = ARP0::INDEX_REC, IDX_BUCKET = ARP0::BUCKET_RECS;
static_assert(IDX_SIZE50 == 50 * IDX_BUCKET * IDX_REC && ARP0::INDEX_SIZE == 60 * IDX_BUCKET * IDX_REC);
static_assert(PN_AFTER60 == ARP0::PN_RECS);

// String fields of a customer record: offset and capacity, in the old and the current layout (the
// current offsets only to tell whether a file reads as current; the record is built by its codec).
struct TextField {
    int oldAt, oldCap, at, cap;
};
constexpr TextField RR0_TEXTS[] = {
    {0, 30, 0, 30},     // EA name
    {31, 10, 31, 10},   // AF tax number
    {42, 30, 42, 40},   // ON second name line
    {73, 30, 83, 40},   // DI address
    {104, 20, 124, 40}, // PO town
    {125, 6, 165, 6},   // TK postcode
    {132, 13, 172, 13}, // TH[1]
    {146, 13, 186, 13}, // TH[2]
    {160, 20, 200, 30}, // EP profession
    {181, 30, 231, 30}, // SX remark
    {221, 30, 271, 30}, // EF tax office
};
constexpr int OLD_DK = 212, OLD_XR = 213, OLD_PI = 217;

// Every string length of every record within its capacity, in the old or in the current layout.
bool readsAs(const std::vector<uint8_t>& file, int64_t recSize, bool old) {
    for (int64_t r = 0; r + recSize <= int64_t(file.size()); r += recSize)
        for (const TextField& t : RR0_TEXTS)
            if (file[size_t(r + (old ? t.oldAt : t.at))] > (old ? t.oldCap : t.cap)) return false;
    return true;
}

// The old record's fields, each text copied unchanged into its equal or wider new field.
ARP0::RR0 widen(const uint8_t* o) {
    auto t = [o](int i) { return PLAT::getS(o + RR0_TEXTS[i].oldAt, RR0_TEXTS[i].oldCap); };
    ARP0::RR0 r;
    r.EA = t(0);
    r.AF = t(1);
    r.ON = t(2);
    r.DI = t(3);
    r.PO = t(4);
    r.TK = t(5);
    r.TH = {t(6), t(7)};
    r.EP = t(8);
    r.SX = t(9);
    r.EF = t(10);
    r.DK = o[OLD_DK];
    r.XR = PLAT::getL(o + OLD_XR);
    r.PI = PLAT::getL(o + OLD_PI);
    return r;
}

// An empty bucket of the current index: head {5000, 0, 0} and 5000 zero entries.
void emptyBucket(uint8_t* b) {
    std::memset(b, 0, size_t(IDX_BUCKET * IDX_REC));
    ARP0::RR2{ARP0::FULL_SY, 0, 0}.encode(b);
}

void emptyFreedSlots(int64_t records) {
    std::vector<uint8_t> zeros(size_t(records * 4), 0);
    writeTable("PN.DAT", zeros);
    writeTable("XPN.DAT", zeros);
}

}  // namespace

void REB_PELAT(const std::string& FN) {
    const std::string step = "REB_PELAT " + FN, file = FN + ".DAT", neu = "New" + FN + ".DAT", bak = FN + ".BBB";
    int64_t size = probe(step, file);
    if (size % ORECPEL_SIZE != 0) return;
    if (size == 0) return;
    // Converted only when its records read as old ones only: a size both layouts fit is current
    // otherwise, and a current file cut short at a multiple of the old size (damage) is left as it
    // is for the start-up check to tell, not rewritten into garbage.
    const std::vector<uint8_t> old = readTable(step, file, size_t(size));
    if (!readsAs(old, ORECPEL_SIZE, true) || readsAs(old, RR0_SIZE, false)) return;
    checkBackup(step, file, bak);
    NewFile out(neu);
    uint8_t rec[ARP0::RR0::SIZE];
    for (int64_t r = 0; r < size / ORECPEL_SIZE; ++r) {
        widen(old.data() + r * ORECPEL_SIZE).encode(rec);
        out.put(rec, sizeof rec);
    }
    out.finish();
    commit(step, file, neu, bak);
}

void REIDEX_PELAT(const std::string& FN) {
    const std::string step = "REIDEX_PELAT " + FN, file = FN + ".DAT", neu = "New" + FN + ".DAT", bak = FN + ".BBB";
    if (probe(step, file) != OIDX_SIZE) return;
    checkBackup(step, file, bak);
    std::vector<uint8_t> old = readTable(step, file, size_t(OIDX_SIZE));
    std::vector<uint8_t> idx(static_cast<size_t>(IDX_SIZE50), 0);
    const int64_t oldRecords = OIDX_SIZE / OIDX_REC;
    for (int64_t b = 0; b < 50; ++b) {
        uint8_t* head = idx.data() + b * IDX_BUCKET * IDX_REC;
        emptyBucket(head);
        uint16_t link = PLAT::getW(old.data() + b * OIDX_BUCKET * OIDX_REC + 2);
        int64_t count = 0;
        while (link != 0) {
            if (link >= oldRecords)
                fail(step, file, "bucket " + std::to_string(b) + ": link " + std::to_string(link) + " past the end");
            // A bucket takes 4999 entries; a longer chain can only be one that runs in a circle.
            if (count == ARP0::FULL_SY - 1) fail(step, file, "bucket " + std::to_string(b) + ": the chain runs in a circle");
            const uint8_t* e = old.data() + int64_t(link) * OIDX_REC;
            link = PLAT::getW(e + 2);
            ++count;
            ARP0::RR3{int32_t(e[1]) * 256 + e[0], link == 0 ? 0 : int32_t(b * IDX_BUCKET + count + 1)}.encode(
                head + count * IDX_REC);
        }
        ARP0::RR2{ARP0::FULL_SY, uint16_t(count), count == 0 ? 0 : int32_t(b * IDX_BUCKET + 1)}.encode(head);
    }
    NewFile out(neu);
    out.put(idx.data(), idx.size());
    out.finish();
    // The freed slots are emptied before the index changes its name: a stop in between leaves the old
    // index, which the next run converts again.
    emptyFreedSlots(PN_AFTER50);
    commit(step, file, neu, bak);
}

void REIDEX_PEL2(const std::string& FN) {
    const std::string step = "REIDEX_PEL2 " + FN, file = FN + ".DAT", neu = "New" + FN + ".DAT", bak = FN + ".CCC";
    if (probe(step, file) != IDX_SIZE50) return;
    checkBackup(step, file, bak);
    std::vector<uint8_t> idx = readTable(step, file, size_t(ARP0::INDEX_SIZE));
    for (int64_t b = 50; b < 60; ++b) emptyBucket(idx.data() + b * IDX_BUCKET * IDX_REC);
    NewFile out(neu);
    out.put(idx.data(), idx.size());
    out.finish();
    emptyFreedSlots(PN_AFTER60);
    commit(step, file, neu, bak);
}

}  // namespace REBUILDS
