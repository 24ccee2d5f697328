// The day tables ("TH.DAT", "SH.DAT", "AH.DAT", "DISH.DAT") widened by day slots inserted after
// their last one with every link behind them shifted (to 2019 once, marker "OK2010.DAT"; to 2049
// once, marker "OK2049.DAT"), the declaration and sheet number indexes ("DISI.DAT", "BISI.DAT")
// rebuilt into larger buckets, and the longer customer-chain file "DIPE.DAT" shortened.
//
// The receipts' day table "AH.DAT" has the node of the invoices' chains (APODI::RTIM1); a folder
// without it gets it here, empty, like the invoices' and declarations' tables.
#include <cstring>

#include "declarations/store.h"
#include "invoicing/apodi.h"
#include "platform/codec.h"
#include "platform/fileops.h"
#include "platform/files.h"
#include "upgrades/rebuilds.h"

namespace REBUILDS {

using namespace MECH;

namespace {

static_assert(APODI::DAYHEADS == STORE::DAY_HEADS && APODI::DAYHEADS == 2 * DAYS_2019);

// One day table: its node size and empty day slot, through the owners' records.
struct DayTable {
    const char* stem;
    size_t rec;
    bool createWhenMissing;
    uint16_t next(const uint8_t* p) const { return rec == APODI::RTIM1::SIZE ? APODI::RTIM1::decode(p).NR : STORE::RR1::decode(p).NR; }
    void setNext(uint8_t* p, uint16_t nr) const {
        if (rec == APODI::RTIM1::SIZE) {
            APODI::RTIM1 n = APODI::RTIM1::decode(p);
            n.NR = nr;
            n.encode(p);
        } else {
            STORE::RR1 n = STORE::RR1::decode(p);
            n.NR = nr;
            n.encode(p);
        }
    }
    void empty(uint8_t* p) const {
        if (rec == APODI::RTIM1::SIZE)
            APODI::RTIM1{}.encode(p);
        else
            STORE::RR1{}.encode(p);
    }
    std::string file() const { return std::string(stem) + ".DAT"; }
};
const DayTable TH{"TH", APODI::RTIM1::SIZE, true}, SH{"SH", APODI::RTIM1::SIZE, false},
    AH{"AH", APODI::RTIM1::SIZE, true}, DISH{"DISH", STORE::RR1::SIZE, true};

// A marker: one LONGINT 0, read-only, written whole under its name.
void writeMarker(const std::string& name) {
    std::string tmp = data(name.substr(0, name.find('.')) + ".$$$");
    uint8_t zero[4] = {0, 0, 0, 0};
    PLAT::removeFile(tmp);  // a read-only leftover of a stopped run
    PLAT::writeSynced(tmp, zero, sizeof zero);
    PLAT::makeReadOnly(tmp);
    wrote();
    PLAT::renameFile(tmp, data(name));
    wrote();
}

// Inserts `add` empty day slots after the first `heads` records of the table and shifts every
// non-zero link by `add`. A table already past `heads` slots is left alone: it has at least
// heads + add records and no link into the records heads to heads + add - 1 (in a table of `heads`
// slots the first node appended, record `heads`, is always on a chain).
void widen(const std::string& step, const DayTable& t, int32_t heads, int32_t add, const std::string& year,
           const std::string& ext) {
    const std::string file = t.file(), neu = std::string(t.stem) + year + ".DAT", bak = std::string(t.stem) + ext;
    if (!PLAT::fileExists(data(file))) {
        if (!t.createWhenMissing) return;
        // Never had a document: the table is made empty at the current size.
        std::vector<uint8_t> img(size_t(APODI::DAYHEADS) * t.rec);
        for (int32_t i = 0; i < APODI::DAYHEADS; ++i) t.empty(img.data() + size_t(i) * t.rec);
        writeTable(file, img);
        return;
    }
    const int64_t size = probe(step, file);
    if (size % int64_t(t.rec) != 0)
        fail(step, file, "not a whole number of records of " + std::to_string(t.rec) + " bytes");
    const int64_t n = size / int64_t(t.rec);
    if (n < heads) fail(step, file, "shorter than its " + std::to_string(heads) + " day slots");
    std::vector<uint8_t> old = readTable(step, file, size_t(size));
    auto link = [&](int64_t r) { return int64_t(t.next(old.data() + r * int64_t(t.rec))); };
    bool narrow = n < int64_t(heads) + add;
    for (int64_t r = 0; r < n && !narrow; ++r) narrow = link(r) >= heads && link(r) < int64_t(heads) + add;
    if (!narrow) return;
    // Every link is checked before anything is written.
    for (int64_t r = 0; r < n; ++r) {
        int64_t l = link(r);
        if (l == 0) continue;
        if (l < heads)
            fail(step, file, "record " + std::to_string(r) + ": link " + std::to_string(l) + " into the day slots");
        if (l >= n) fail(step, file, "record " + std::to_string(r) + ": link " + std::to_string(l) + " past the end");
        if (l + add > 65535)
            fail(step, file, "record " + std::to_string(r) + ": link " + std::to_string(l) + " does not fit after the shift");
    }
    checkBackup(step, file, bak);
    std::vector<uint8_t> img(size_t(n + add) * t.rec);
    for (int64_t r = 0; r < n; ++r) {
        uint8_t* p = img.data() + size_t(r < heads ? r : r + add) * t.rec;
        std::memcpy(p, old.data() + r * int64_t(t.rec), t.rec);
        if (link(r) != 0) t.setNext(p, uint16_t(link(r) + add));
    }
    for (int32_t i = 0; i < add; ++i) t.empty(img.data() + size_t(heads + i) * t.rec);
    NewFile out(neu);
    out.put(img.data(), img.size());
    out.finish();
    commit(step, file, neu, bak);
}

// A number index of 9 buckets rebuilt from stride `from` to stride `to`: each bucket's chain
// followed from its head and written in order into the first records of the new bucket.
void rebuildIndex(const std::string& step, const STORE::Layout& L, const std::string& file, int64_t from,
                  int64_t to, const std::string& neu, const std::string& bak, const std::string& freed) {
    const int64_t rec = L.recSize, oldSize = 9 * from * rec;
    if (probe(step, file) != oldSize) return;
    checkBackup(step, file, bak);
    std::vector<uint8_t> old = readTable(step, file, size_t(oldSize));
    std::vector<uint8_t> idx(size_t(9 * to * rec), 0);
    const uint16_t cap = uint16_t(to - 1);
    const int64_t oldRecords = 9 * from;
    for (int64_t d = 0; d < 9; ++d) {
        uint8_t* head = idx.data() + d * to * rec;
        int64_t link = STORE::decodeHead(L, old.data() + d * from * rec).FA;
        int64_t count = 0;
        const std::string where = "bucket " + std::to_string(d) + ": ";
        while (link != 0) {
            if (link >= oldRecords) fail(step, file, where + "link " + std::to_string(link) + " past the end");
            if (link % from == 0) fail(step, file, where + "link " + std::to_string(link) + " to a bucket head");
            if (count == cap) fail(step, file, where + "more entries than a bucket holds, or a chain in a circle");
            STORE::Entry e = STORE::decodeEntry(L, old.data() + link * rec);
            link = e.AL;
            ++count;
            e.AL = link == 0 ? 0 : uint16_t(d * to + count + 1);
            STORE::encodeEntry(L, e, head + count * rec);
        }
        STORE::Head h;
        h.SY = cap;
        h.US = uint16_t(count);
        h.FA = count == 0 ? 0 : uint16_t(d * to + 1);
        STORE::encodeHead(L, h, head);
    }
    NewFile out(neu);
    out.put(idx.data(), idx.size());
    out.finish();
    // The freed slots are emptied before the index changes its name: a stop in between leaves the
    // old index, which the next run rebuilds again.
    writeTable(freed, std::vector<uint8_t>(size_t(STORE::FREED_PER_PARTITION) * 9 * 2, 0));
    commit(step, file, neu, bak);
}

}  // namespace

void REB2010() {
    if (PLAT::fileExists(data("OK2010.DAT"))) return;
    for (const DayTable* t : {&TH, &AH, &DISH}) widen("REB2010", *t, DAYS_2009, DAYS_2019 - DAYS_2009, "2010", ".009");
    writeMarker("OK2010.DAT");
}

void REB2049() {
    if (PLAT::fileExists(data("OK2049.DAT"))) return;
    for (const DayTable* t : {&TH, &SH, &AH, &DISH}) widen("REB2049", *t, DAYS_2019, DAYS_2019, "2049", ".049");
    writeMarker("OK2049.DAT");
}

void REB_DISI_BISI() {
    rebuildIndex("REB_DISI_BISI", STORE::DECL, "DISI.DAT", DISI_OLD1, DISI_OLD2, "NewDISI.DAT", "DISI.BBB", "DISN.DAT");
    rebuildIndex("REB_DISI_BISI", STORE::SHEET, "BISI.DAT", BISI_OLD, STORE::SHEET.stride, "NewBISI.DAT", "BISI.BBB",
                 "BISN.DAT");
}

void REB_DISI_2() {
    rebuildIndex("REB_DISI_2", STORE::DECL, "DISI.DAT", DISI_OLD2, STORE::DECL.stride, "NewDISI.DAT", "DISI.CCC", "DISN.DAT");
}

void REB_DIPE() {
    const std::string step = "REB_DIPE", file = "DIPE.DAT";
    const int64_t rec = int64_t(STORE::RR1::SIZE);
    const int64_t size = probe(step, file), n = size / rec;
    if (n <= DIPE_LONG) return;
    if (size % rec != 0) fail(step, file, "not a whole number of records of 6 bytes");
    static_assert(DIPE_KEEP == STORE::CUST_HEADS);
    std::vector<uint8_t> old = readTable(step, file, size_t(size));
    std::vector<uint8_t> img(old.begin(), old.begin() + DIPE_KEEP * rec);
    img.insert(img.end(), old.begin() + (DIPE_LONG + 1) * rec, old.end());
    // The kept records keep their links; each must point at a node of the shortened file.
    const int64_t m = int64_t(img.size()) / rec;
    for (int64_t r = 0; r < m; ++r) {
        int64_t l = STORE::RR1::decode(img.data() + r * rec).NR;
        if (l == 0) continue;
        if (l < DIPE_KEEP || l >= m)
            fail(step, file,
                 "record " + std::to_string(r < DIPE_KEEP ? r : r + DIPE_LONG + 1 - DIPE_KEEP) + ": link " +
                     std::to_string(l) + (l < DIPE_KEEP ? " into the customer slots" : " past the end of the shortened file"));
    }
    checkBackup(step, file, "DIPE.OLD");
    NewFile out("DIPE.NEW");
    out.put(img.data(), img.size());
    out.finish();
    commit(step, file, "DIPE.NEW", "DIPE.OLD");
}

}  // namespace REBUILDS
