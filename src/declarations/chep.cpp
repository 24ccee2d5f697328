// The customer lookup of a declaration: a walk of the alphabetical name index of a customer set.
#include "declarations/chep.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "common/umas.h"
#include "customers/arp0.h"
#include "customers/pelat.h"
#include "declarations/bod.h"
#include "platform/codepage.h"
#include "platform/files.h"

namespace BOD {

namespace {

using ARP0::RR0;
using ARP0::RR2;
using ARP0::RR3;

// Reads a file in blocks of whole records, each block once: a walk of a long name chain reads the
// same index and customer blocks again and again.
class Blocks {
public:
    Blocks(const PLAT::File& f, size_t recSize, size_t perBlock) : f_(f), rec_(recSize), per_(perBlock) {}
    // Record N (N within the file) into BUF.
    void read(int64_t n, uint8_t* buf) {
        const int64_t b = n / int64_t(per_);
        auto it = cache_.find(b);
        if (it == cache_.end()) {
            std::vector<uint8_t> bytes(rec_ * per_);
            bytes.resize(f_.readSome(b * int64_t(rec_ * per_), bytes.data(), bytes.size()));
            it = cache_.emplace(b, std::move(bytes)).first;
        }
        const size_t at = size_t(n % int64_t(per_)) * rec_;
        const std::vector<uint8_t>& bytes = it->second;
        std::fill(buf, buf + rec_, uint8_t(0));
        if (at < bytes.size()) std::copy_n(bytes.data() + at, std::min(rec_, bytes.size() - at), buf);
    }

private:
    const PLAT::File& f_;
    size_t rec_, per_;
    std::unordered_map<int64_t, std::vector<uint8_t>> cache_;
};

struct Walk {
    PLAT::File idx, rec;
    int64_t idxRecs = 0, recs = 0;
    Blocks idxBlocks{idx, ARP0::INDEX_REC, 512};
    Blocks recBlocks{rec, RR0::SIZE, 64};

    bool valid(int32_t pos) const { return pos > 0 && pos < idxRecs; }
    RR2 header(int32_t b) {
        uint8_t buf[ARP0::INDEX_REC];
        const int64_t pos = int64_t(b) * ARP0::BUCKET_RECS;
        if (pos >= idxRecs) return {};
        idxBlocks.read(pos, buf);
        return RR2::decode(buf);
    }
    RR3 entry(int32_t pos) {
        uint8_t buf[ARP0::INDEX_REC];
        idxBlocks.read(pos, buf);
        return RR3::decode(buf);
    }
    int damaged = 0;  // damaged records met
    // Customer n; false for a number outside the record file or a damaged record (counted).
    bool customer(int32_t n, RR0& R) {
        if (n < 0 || n >= recs || n >= ARP0::NONE) return false;
        uint8_t buf[RR0::SIZE];
        recBlocks.read(n, buf);
        if (RR0::decodeSound(buf, R)) return true;
        ++damaged;
        return false;
    }
};

using UMAS::cut;

// BOD.CHEP.RUF: the customer fields of the declaration from record R.
void takeFields(const RR0& R) {
    EA = cut(R.EA, 30);
    AF = cut(R.AF, 10);
    ON = cut(R.ON, 30);
    DI = cut(R.DI, 30);
    PO = cut(R.PO, 20);
    TK = cut(R.TK, 6);
    TH[1] = cut(R.TH[0], 13);
    TH[2] = cut(R.TH[1], 13);
    EP = cut(R.EP, 20);
    EF = cut(R.EF, 30);
    SX = cut(R.SX, 30);
}

}  // namespace

std::string CHEP(int MN, bool GETPEL) {
    const int set = MN == 0 ? 0 : 1;
    UMAS::LOCK("FPEL");
    Walk w;
    w.idx.open(ARP0::fileName(set, "IF"), PLAT::File::READ);
    w.rec.open(ARP0::fileName(set, "MF"), PLAT::File::READ);
    w.idxRecs = w.idx.size() / ARP0::INDEX_REC;
    w.recs = w.rec.size() / int64_t(RR0::SIZE);

    const std::string name = EA;
    int32_t start = (name.empty() || name[0] == ' ') ? 0 : ARP0::INS(name[0]) - 1;
    if (start < 0) start = 0;

    bool found = false;
    int32_t chosen = 0;
    RR0 R;
    // Every walk is bounded by the index's size: a damaged link never loops.
    for (int32_t b = start; b < ARP0::BUCKETS && !found; ++b) {
        int32_t pos = w.header(b).FA;
        for (int64_t steps = 0; w.valid(pos) && steps < w.idxRecs && !found; ++steps) {
            const RR3 e = w.entry(pos);
            RR0 c;
            if (w.customer(e.RE, c) && ARP0::compareNames(c.EA, name) >= 0) {
                found = true;
                chosen = e.RE;
                R = c;
            }
            pos = e.AL;
        }
    }
    if (!found) {
        for (int32_t b = std::min(start, ARP0::BUCKETS - 1); b >= 0 && !found; --b) {
            int32_t pos = w.header(b).FA;
            if (pos == 0) continue;
            int32_t last = 0;
            for (int64_t steps = 0; w.valid(pos) && steps < w.idxRecs; ++steps) {
                last = pos;
                pos = w.entry(pos).AL;
            }
            if (last == 0) continue;
            const RR3 e = w.entry(last);
            if (w.customer(e.RE, R)) {
                found = true;
                chosen = e.RE;
            }
        }
    }
    w.idx.close();
    w.rec.close();
    if (found) {
        if (GETPEL) PR = chosen;
        PELAT::DIASRECPEL = R;
        takeFields(R);
    }
    UMAS::UNLOC("FPEL");
    if (w.damaged == 0) return "";
    return ARP0::damagedMessage(set, PLAT::gr(found ? "ΑΛΛΟΙΩΜΕΝΟΙ ΠΕΛΑΤΕΣ ΠΑΡΑΛΕΙΦΘΗΚΑΝ" : "Ο ΠΕΛΑΤΗΣ ΔΕΝ ΒΡΕΘΗΚΕ"));
}

}  // namespace BOD
