// The customer files, the collation of names and the alphabetical name index.
#include "customers/arp0.h"

#include <cstring>
#include <algorithm>
#include <set>
#include <unordered_map>

#include "platform/codec.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"

namespace ARP0 {

// ---- Records ------------------------------------------------------------------------------------

namespace {

// The texts of a customer record: offset and capacity.
struct Text {
    int at, cap;
};
constexpr Text RR0_TEXTS[] = {{0, 30},   {31, 10},  {42, 40},  {83, 40},  {124, 40}, {165, 6},
                              {172, 13}, {186, 13}, {200, 30}, {231, 30}, {271, 30}};

}  // namespace

RR0 RR0::decode(const uint8_t* p) {
    RR0 r;
    r.EA = PLAT::getS(p + 0, 30);
    r.AF = PLAT::getS(p + 31, 10);
    r.ON = PLAT::getS(p + 42, 40);
    r.DI = PLAT::getS(p + 83, 40);
    r.PO = PLAT::getS(p + 124, 40);
    r.TK = PLAT::getS(p + 165, 6);
    r.TH[0] = PLAT::getS(p + 172, 13);
    r.TH[1] = PLAT::getS(p + 186, 13);
    r.EP = PLAT::getS(p + 200, 30);
    r.SX = PLAT::getS(p + 231, 30);
    r.DK = p[262];
    r.XR = PLAT::getL(p + 263);
    r.PI = PLAT::getL(p + 267);
    r.EF = PLAT::getS(p + 271, 30);
    return r;
}

bool RR0::damaged(const uint8_t* p) {
    for (const Text& t : RR0_TEXTS)
        if (p[t.at] > t.cap || PLAT::hasControl(p + t.at, t.cap)) return true;
    return false;
}

bool RR0::decodeSound(const uint8_t* p, RR0& r) {
    if (damaged(p)) return false;
    r = decode(p);
    return true;
}

void RR0::encode(uint8_t* p) const {
    PLAT::putS(p + 0, 30, EA);
    PLAT::putS(p + 31, 10, AF);
    PLAT::putS(p + 42, 40, ON);
    PLAT::putS(p + 83, 40, DI);
    PLAT::putS(p + 124, 40, PO);
    PLAT::putS(p + 165, 6, TK);
    PLAT::putS(p + 172, 13, TH[0]);
    PLAT::putS(p + 186, 13, TH[1]);
    PLAT::putS(p + 200, 30, EP);
    PLAT::putS(p + 231, 30, SX);
    p[262] = DK;
    PLAT::putL(p + 263, XR);
    PLAT::putL(p + 267, PI);
    PLAT::putS(p + 271, 30, EF);
}
static_assert(271 + 31 == RR0::SIZE);

RR2 RR2::decode(const uint8_t* p) { return {PLAT::getW(p), PLAT::getW(p + 2), PLAT::getL(p + 4)}; }
void RR2::encode(uint8_t* p) const {
    PLAT::putW(p, SY);
    PLAT::putW(p + 2, US);
    PLAT::putL(p + 4, FA);
}
RR3 RR3::decode(const uint8_t* p) { return {PLAT::getL(p), PLAT::getL(p + 4)}; }
void RR3::encode(uint8_t* p) const {
    PLAT::putL(p, RE);
    PLAT::putL(p + 4, AL);
}

// ---- Collation ----------------------------------------------------------------------------------

const std::string AB = PLAT::gr(" ΑAΒBVΓGΔDΕEΖZΗΘΙIΚKCQΛLΜMΝNΞXΟOΠPΡRΣSΤTΥYΦFΧHΨΩJUW0123456789/-.&");
const std::string SPS(30, ' ');

namespace {

struct RankTable {
    uint8_t r[256];
    RankTable() {
        for (auto& x : r) x = 65;
        for (size_t i = AB.size(); i-- > 0;) r[uint8_t(AB[i])] = uint8_t(i);
    }
};
const RankTable& ranks() {
    static const RankTable t;
    return t;
}

}  // namespace

int32_t INS(char C) { return ranks().r[uint8_t(C)]; }

const SCR::SOC& SAB() {
    static const SCR::SOC s = [] {
        SCR::SOC x = SCR::soc(" &-./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        x |= SCR::socRange(128, 175) | SCR::socGreekAccented();
        x.set(224);
        return x;
    }();
    return s;
}

UMAS::FUN GM1 = [] {
    UMAS::FUN f{};
    const char* t[10] = {"ESC.Menu",          "F1.Καταχώρηση",     "F5.Διαγραφή",      "Shift-F1.Εκτύπωση",
                         " , ,1-13.Επιλογή",  "Enter.Επικύρωση ", "Esc.Επιστροφή",    " , .Μετακίνηση ",
                         "PgUp-PgDn.Αλλαγή σελίδας", " "};
    for (int i = 0; i < 10; ++i) f[size_t(i + 1)] = PLAT::gr(t[i]);
    return f;
}();

void arrows(int n) {
    std::string& s = GM1[size_t(n)];
    if (s.size() >= 3) {
        s[0] = 24;
        s[2] = 25;
    }
}

std::string FOLD(const std::string& S) { return PLAT::cp737Upper(S); }

std::string KEY(const std::string& S) {
    std::string r = FOLD(S.substr(0, std::min<size_t>(S.size(), NAME_LEN)));
    r.resize(NAME_LEN, ' ');
    return r;
}

int compareNames(const std::string& a, const std::string& b, int n) {
    const RankTable& t = ranks();
    for (int i = 0; i < n; ++i) {
        uint8_t ca = size_t(i) < a.size() ? uint8_t(a[size_t(i)]) : uint8_t(' ');
        uint8_t cb = size_t(i) < b.size() ? uint8_t(b[size_t(i)]) : uint8_t(' ');
        int d = int(t.r[ca]) - int(t.r[cb]);
        if (d != 0) return d;
    }
    return 0;
}

int32_t bucketOf(const std::string& name) {
    if (name.empty()) return 0;
    int32_t r = INS(name[0]);
    if (r == 0) return 0;
    if (r > BUCKETS) return -1;
    return r - 1;
}

// ---- Files of a set -----------------------------------------------------------------------------

std::string fileName(int MN, const char* base) { return UMAS::PATH + (MN == 1 ? "X" : "") + base + ".DAT"; }

namespace {

uint16_t readWord0(const std::string& fn) {
    PLAT::File f(fn, PLAT::File::READ);
    uint8_t b[2] = {0, 0};
    if (f.readSome(0, b, 2) < 2) return 0;
    return PLAT::getW(b);
}

}  // namespace

uint16_t createdCount(int MN) { return readWord0(fileName(MN, "HF")); }
uint16_t deletedCount(int MN) { return readWord0(fileName(MN, "PD")); }
bool EMPTY(int MN) { return createdCount(MN) == deletedCount(MN); }

int32_t recordCount(int MN) {
    PLAT::File f(fileName(MN, "MF"), PLAT::File::READ);
    return int32_t(f.size() / int64_t(RR0::SIZE));
}

bool readRecord(int MN, uint16_t n, RR0& R) {
    PLAT::File f(fileName(MN, "MF"), PLAT::File::READ);
    if (int64_t(n) >= f.size() / int64_t(RR0::SIZE)) return false;
    uint8_t b[RR0::SIZE];
    f.readAt(int64_t(n) * int64_t(RR0::SIZE), b, RR0::SIZE);
    R = RR0::decode(b);
    return true;
}

bool readSound(int MN, uint16_t n, RR0& R, bool& damaged) {
    damaged = false;
    PLAT::File f(fileName(MN, "MF"), PLAT::File::READ);
    if (int64_t(n) >= f.size() / int64_t(RR0::SIZE)) return false;
    uint8_t b[RR0::SIZE];
    f.readAt(int64_t(n) * int64_t(RR0::SIZE), b, RR0::SIZE);
    damaged = !RR0::decodeSound(b, R);
    return !damaged;
}

std::string damagedMessage(int MN, const std::string& what) {
    return PLAT::gr("ΤΟ ΑΡΧΕΙΟ ") + (MN == 1 ? "X" : "") + PLAT::gr("MF.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - ") + what;
}

std::string skippedMessage(int MN) { return damagedMessage(MN, PLAT::gr("ΑΛΛΟΙΩΜΕΝΟΙ ΠΕΛΑΤΕΣ ΠΑΡΑΛΕΙΦΘΗΚΑΝ")); }

void writeRecord(int MN, uint16_t n, const RR0& R) {
    PLAT::File f(fileName(MN, "MF"), PLAT::File::READWRITE);
    uint8_t b[RR0::SIZE];
    R.encode(b);
    f.writeAt(int64_t(n) * int64_t(RR0::SIZE), b, RR0::SIZE);
}

std::vector<uint16_t> deletedNumbers(int MN) {
    std::vector<uint16_t> v;
    PLAT::File f(fileName(MN, "PD"), PLAT::File::READ);
    uint16_t d = deletedCount(MN);
    int64_t have = f.size() / 2;
    for (int64_t i = 1; i <= d && i < have; ++i) {
        uint8_t b[2];
        f.readAt(i * 2, b, 2);
        v.push_back(PLAT::getW(b));
    }
    return v;
}

// ---- Shared working state -----------------------------------------------------------------------

std::string EA = SPS;
RR0 R0;
RR2 HE;
RR3 DA, NE;
int32_t RN = 0;
uint16_t XN = 0, HH = NONE;
int32_t BAL = 0, BRN = 0;
uint16_t BSY = 0, BUS = 0;
std::string OO;
bool BOO = false, BRF = false, BLO = false;
PLAT::File F0, F1;
uint16_t E = 0, M = 0, H = 0, D = 0;
int16_t EUROYEAR = 0;

namespace {
void waitShowing(int ms) {
    PLAT::con().refresh();
    PLAT::sleepMs(ms);
}
}  // namespace
void (*WAIT)(int ms) = waitShowing;

// ---- Index access -------------------------------------------------------------------------------

namespace {

// The index file and the record file of one operation, with bounds on every position. Index
// records are read in blocks of 512 (a chain mostly lies in the first slots of its bucket) and
// names once per operation; writes go to the file and to the blocks read.
struct Set {
    static constexpr int32_t BLOCK = 512;
    PLAT::File& idx;
    PLAT::File& rec;
    int32_t nIdx;  // records in the index file
    int32_t nRec;  // customer records
    mutable std::unordered_map<int32_t, std::vector<uint8_t>> blocks;
    mutable std::unordered_map<int32_t, std::string> names;

    Set(PLAT::File& i, PLAT::File& r)
        : idx(i), rec(r), nIdx(int32_t(std::min<int64_t>(i.size() / INDEX_REC, INDEX_RECS))),
          nRec(int32_t(r.size() / int64_t(RR0::SIZE))) {}

    bool valid(int32_t pos) const { return pos >= 0 && pos < nIdx; }
    // An entry position: inside the file and not a bucket header.
    bool entryPos(int32_t pos) const { return pos > 0 && pos < nIdx && pos % BUCKET_RECS != 0; }

    const uint8_t* at(int32_t pos) const {
        const int32_t k = pos / BLOCK;
        auto it = blocks.find(k);
        if (it == blocks.end()) {
            const int32_t first = k * BLOCK, n = std::min(BLOCK, nIdx - first);
            std::vector<uint8_t> b(size_t(n) * INDEX_REC);
            idx.readAt(int64_t(first) * INDEX_REC, b.data(), b.size());
            it = blocks.emplace(k, std::move(b)).first;
        }
        return it->second.data() + size_t(pos % BLOCK) * INDEX_REC;
    }
    RR2 header(int32_t pos) const { return RR2::decode(at(pos)); }
    RR3 entry(int32_t pos) const { return RR3::decode(at(pos)); }
    void write(int32_t pos, size_t off, const uint8_t* b, size_t n) {
        idx.writeAt(int64_t(pos) * INDEX_REC + int64_t(off), b, n);
        auto it = blocks.find(pos / BLOCK);
        if (it != blocks.end()) std::memcpy(it->second.data() + size_t(pos % BLOCK) * INDEX_REC + off, b, n);
    }
    void putHeader(int32_t pos, const RR2& h) {
        uint8_t b[8];
        h.encode(b);
        write(pos, 0, b, 8);
    }
    void putEntry(int32_t pos, const RR3& e) {
        uint8_t b[8];
        e.encode(b);
        write(pos, 0, b, 8);
    }
    // The next-link of a node (an entry's AL, a header's FA: the same four bytes).
    void putLink(int32_t pos, int32_t to) {
        uint8_t b[4];
        PLAT::putL(b, to);
        write(pos, 4, b, 4);
    }
    // The name of customer re, padded to 30; blanks for a number beyond the record file.
    const std::string& name(int32_t re) const {
        if (re < 0 || re >= nRec) return SPS;
        auto it = names.find(re);
        if (it != names.end()) return it->second;
        uint8_t b[31];
        rec.readAt(int64_t(re) * int64_t(RR0::SIZE), b, 31);
        std::string s = PLAT::getS(b, 30);
        s.resize(NAME_LEN, ' ');
        return names.emplace(re, std::move(s)).first->second;
    }
};

// Walks the chain of key's bucket for the exact name. Entries equal to it in the first 29
// positions are walked past, so chains ordered by 29 positions are searched right too.
bool findIn(const Set& s, const std::string& key, int32_t& pos, RR3& e) {
    int32_t b = bucketOf(key);
    if (b < 0) return false;
    const int32_t h = b * BUCKET_RECS;
    if (!s.valid(h)) return false;
    int32_t p = s.header(h).FA;
    for (int32_t steps = 0; steps < INDEX_RECS && s.entryPos(p); ++steps) {
        e = s.entry(p);
        const std::string& nm = s.name(e.RE);
        if (nm == key) {
            pos = p;
            return true;
        }
        if (compareNames(nm, key, NAME_LEN - 1) > 0) return false;
        p = e.AL;
    }
    return false;
}

// The node after which key belongs in its chain (the bucket header when it goes first) and the
// node that must follow it. All 30 positions are compared: key goes before the first name that is
// not lower.
void placeIn(const Set& s, const std::string& key, int32_t& prev, int32_t& follower) {
    int32_t b = std::max<int32_t>(bucketOf(key), 0);
    prev = b * BUCKET_RECS;
    follower = 0;
    int32_t p = s.header(prev).FA;
    for (int32_t steps = 0; steps < INDEX_RECS && s.entryPos(p); ++steps) {
        RR3 e = s.entry(p);
        if (compareNames(s.name(e.RE), key) >= 0) {
            follower = p;
            return;
        }
        prev = p;
        p = e.AL;
    }
}

// A continuation header as a split writes it: half a donor bucket, inside the file.
bool continuation(const Set& s, int32_t pos) {
    if (pos <= 0 || pos % BUCKET_RECS != HALF || !s.valid(pos + HALF)) return false;
    return s.header(pos).SY == HALF;
}

// The bucket of key's chain that takes the next slot: its header position, or -1 when the chain
// cannot take another entry (a full bucket without a sound link, a damaged header).
int32_t takingBucket(const Set& s, int32_t b, RR2& hd) {
    int32_t h = b * BUCKET_RECS;
    for (int hops = 0; hops <= BUCKETS * 2; ++hops) {
        if (!s.valid(h)) return -1;
        hd = s.header(h);
        if (hd.SY < 2 || hd.SY > FULL_SY || !s.valid(h + hd.SY) || hd.US > hd.SY - 1) return -1;
        if (hd.US < hd.SY - 1) return h;
        RR3 link = s.entry(h + hd.SY);
        if (!continuation(s, link.RE)) return -1;
        h = link.RE;
    }
    return -1;
}

// The bucket at header h (capacity SY) has just become full: half of the first bucket (0 to 58)
// never split that has room for the lent half and its own link record continues it. Nothing is
// written when there is no such bucket; the chain then refuses its next store.
void split(Set& s, int32_t h, uint16_t SY) {
    for (int32_t b = 0; b < BUCKETS - 1; ++b) {
        const int32_t d = b * BUCKET_RECS;
        if (!s.valid(d + BUCKET_RECS - 1)) return;
        RR2 donor = s.header(d);
        if (donor.SY != FULL_SY || donor.US >= HALF - 2) continue;
        const int32_t FA = donor.FA;
        donor.SY = HALF - 1;
        s.putHeader(d, donor);
        s.putHeader(d + HALF, RR2{HALF, 0, FA});
        s.putEntry(h + SY, RR3{d + HALF, 0});
        return;
    }
}

// Inserts the entry of customer xn named key (its chain already checked by takingBucket).
void insert(Set& s, const std::string& key, uint16_t xn, int32_t h, RR2 hd) {
    hd.US = uint16_t(hd.US + 1);
    s.putHeader(h, hd);
    const int32_t slot = h + hd.US;
    BRN = h;
    BSY = hd.SY;
    BUS = hd.US;
    int32_t prev = 0, follower = 0;
    placeIn(s, key, prev, follower);
    BAL = follower;
    s.putEntry(slot, RR3{xn, follower});  // the entry first, then the link that points at it
    s.putLink(prev, slot);
    if (hd.US == hd.SY - 1) split(s, h, hd.SY);
}

}  // namespace

bool CHO(int MN) {
    BOO = false;
    PLAT::File idx(fileName(MN, "IF"), PLAT::File::READ);
    PLAT::File rec(fileName(MN, "MF"), PLAT::File::READ);
    Set s(idx, rec);
    int32_t pos = 0;
    RR3 e;
    if (findIn(s, EA, pos, e)) {
        DA = e;
        RN = pos;
        XN = uint16_t(e.RE);
        uint8_t b[RR0::SIZE];
        rec.readAt(int64_t(e.RE) * int64_t(RR0::SIZE), b, RR0::SIZE);
        R0 = RR0::decode(b);
        BOO = true;
    }
    return BOO;
}

void ALF(int32_t slot) {
    Set s(F0, F1);
    int32_t prev = 0, follower = 0;
    placeIn(s, EA, prev, follower);
    BAL = follower;
    s.putLink(prev, slot);
}

void HOP() {
    Set s(F0, F1);
    DA = RR3{};
    int32_t b = bucketOf(EA);
    if (b < 0) b = BUCKETS - 1;
    for (; b >= 0; --b) {
        int32_t p = s.valid(b * BUCKET_RECS) ? s.header(b * BUCKET_RECS).FA : 0;
        if (!s.entryPos(p)) continue;
        for (int32_t steps = 0; steps < INDEX_RECS && s.entryPos(p); ++steps) {
            DA = s.entry(p);
            RN = p;
            p = DA.AL;
        }
        return;
    }
}

std::vector<Disagreement> CHECKFILES(int MN) {
    std::vector<Disagreement> r;
    auto tell = [&](const char* base, const std::string& text, bool blocks = true) {
        const std::string f = std::string(MN == 1 ? "X" : "") + base + ".DAT";
        r.push_back({f, f + ": " + text, blocks});
    };
    auto size = [&](const char* base) {
        const std::string fn = fileName(MN, base);
        return PLAT::fileExists(fn) ? PLAT::fileSize(fn) : int64_t(-1);
    };
    const int64_t mf = size("MF"), hf = size("HF"), pd = size("PD"), idx = size("IF"), pn = size("PN");
    if (mf >= 0 && mf % int64_t(RR0::SIZE) != 0)
        tell("MF", std::to_string(mf) + PLAT::gr(" bytes, όχι πολλαπλάσιο του 302"));
    // More records than counted is what a store stopped between its record and its count leaves
    // (no index entry names the extra record): told, but no reason to refuse the next store.
    if (mf >= 0 && hf >= 0 && mf / int64_t(RR0::SIZE) != createdCount(MN))
        tell("MF", std::to_string(mf / int64_t(RR0::SIZE)) + PLAT::gr(" πελάτες, το ") + (MN == 1 ? "X" : "") +
                       PLAT::gr("HF.DAT μετρά ") + std::to_string(createdCount(MN)),
             mf / int64_t(RR0::SIZE) < createdCount(MN));
    if (pd >= 0 && (deletedCount(MN) > createdCount(MN) || (int64_t(deletedCount(MN)) + 1) * 2 > std::max<int64_t>(pd, 2)))
        tell("PD", std::to_string(deletedCount(MN)) + PLAT::gr(" διαγραμμένοι, εκτός ορίων"));
    if (pn >= 0 && pn != int64_t(PN_RECS) * 4)
        tell("PN", std::to_string(pn) + PLAT::gr(" bytes αντί ") + std::to_string(PN_RECS * 4));
    if (idx >= 0 && idx != INDEX_SIZE)
        tell("IF", std::to_string(idx) + PLAT::gr(" bytes αντί ") + std::to_string(INDEX_SIZE));
    if (idx >= 0) {
        // The bucket headers: capacity, count and first entry within range.
        PLAT::File f(fileName(MN, "IF"), PLAT::File::READ);
        const int32_t n = int32_t(std::min<int64_t>(idx / INDEX_REC, INDEX_RECS));
        for (int32_t b = 0; b < BUCKETS && b * BUCKET_RECS < n; ++b) {
            uint8_t h[INDEX_REC];
            f.readAt(int64_t(b) * BUCKET_RECS * INDEX_REC, h, INDEX_REC);
            const RR2 hd = RR2::decode(h);
            const bool firstOk = hd.FA == 0 || (hd.FA > 0 && hd.FA < n && hd.FA % BUCKET_RECS != 0);
            if (hd.SY < 2 || hd.SY > FULL_SY || hd.US > hd.SY - 1 || !firstOk) {
                tell("IF", PLAT::gr("η κεφαλή ") + std::to_string(b + 1) + PLAT::gr(" είναι εκτός ορίων"));
                break;
            }
        }
    }
    return r;
}

std::vector<Disagreement> CHECKRECORDS(int MN) {
    std::vector<Disagreement> r;
    const std::string fn = fileName(MN, "MF");
    if (!PLAT::fileExists(fn)) return r;
    PLAT::File f(fn, PLAT::File::READ);
    const int64_t n = f.size() / int64_t(RR0::SIZE);
    constexpr int64_t CHUNK = 1024;  // records per read (about 300 KB)
    std::vector<uint8_t> buf(size_t(CHUNK) * RR0::SIZE);
    int64_t count = 0, first = -1;
    for (int64_t at = 0; at < n; at += CHUNK) {
        const int64_t cnt = std::min(CHUNK, n - at);
        f.readAt(at * int64_t(RR0::SIZE), buf.data(), size_t(cnt) * RR0::SIZE);
        for (int64_t i = 0; i < cnt; ++i)
            if (RR0::damaged(buf.data() + size_t(i) * RR0::SIZE)) {
                if (first < 0) first = at + i;
                ++count;
            }
    }
    if (count > 0) {
        const std::string file = std::string(MN == 1 ? "X" : "") + "MF.DAT";
        r.push_back({file,
                     file + ": " + std::to_string(count) + PLAT::gr(" αλλοιωμένοι πελάτες, πρώτος ο ") + std::to_string(first),
                     false});
    }
    return r;
}

std::string storedMessage(Stored st) {
    switch (st) {
    case Stored::DAMAGED: return PLAT::gr("ΤΟ ΑΡΧΕΙΟ ") + DAMAGEDFILE + PLAT::gr(" ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ");
    case Stored::NO_BUCKET: return PLAT::gr("ΤΟ ΟΝΟΜΑ ΠΡΕΠΕΙ ΝΑ ΑΡΧΙΖΕΙ ΑΠΟ ΓΡΑΜΜΑ Η ΨΗΦΙΟ");
    case Stored::INDEX_FULL: return PLAT::gr("ΓΕΜΙΣΕ ΤΟ ΕΥΡΕΤΗΡΙΟ ΓΙΑ ΑΥΤΟ ΤΟ ΓΡΑΜΜΑ - ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ");
    case Stored::FILE_FULL: return PLAT::gr("ΓΕΜΙΣΕ ΤΟ ΑΡΧΕΙΟ ΠΕΛΑΤΩΝ - ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ");
    default: return "";
    }
}

namespace {

bool sameDetails(const RR0& a, const RR0& b) {
    return a.AF == b.AF && a.ON == b.ON && a.DI == b.DI && a.PO == b.PO && a.TK == b.TK && a.TH == b.TH &&
           a.EP == b.EP && a.SX == b.SX && a.EF == b.EF;
}

Stored storeLocked(int MN, const RR0& C) {
    const std::string key = KEY(C.EA);
    PLAT::File idx(fileName(MN, "IF"), PLAT::File::READWRITE);
    PLAT::File rec(fileName(MN, "MF"), PLAT::File::READWRITE);
    Set s(idx, rec);
    RR0 R = C;
    R.EA = key;
    int32_t pos = 0;
    RR3 e;
    uint8_t b[RR0::SIZE];
    if (findIn(s, key, pos, e)) {
        // A stored customer: its totals are the file's, read under the lock just before the write.
        const uint16_t n = uint16_t(e.RE);
        rec.readAt(int64_t(n) * int64_t(RR0::SIZE), b, RR0::SIZE);
        const RR0 cur = RR0::decode(b);
        R.XR = cur.XR;
        R.PI = cur.PI;
        XN = HH = n;
        DA = e;
        RN = pos;
        if (sameDetails(R, cur) && R.DK == cur.DK && KEY(cur.EA) == key) {
            R0 = cur;
            return Stored::UNCHANGED;
        }
        R.encode(b);
        rec.writeAt(int64_t(n) * int64_t(RR0::SIZE), b, RR0::SIZE);
        R0 = R;
        return Stored::WRITTEN;
    }
    const int32_t bucket = bucketOf(key);
    if (bucket < 0) return Stored::NO_BUCKET;
    if (s.nRec >= MAX_RECORDS) return Stored::FILE_FULL;
    RR2 hd;
    const int32_t h = takingBucket(s, bucket, hd);
    if (h < 0) return Stored::INDEX_FULL;

    const uint16_t n = uint16_t(s.nRec);
    R.XR = 0;
    R.PI = 0;
    R.encode(b);
    rec.writeAt(int64_t(n) * int64_t(RR0::SIZE), b, RR0::SIZE);
    s.nRec = n + 1;
    {
        PLAT::File hf(fileName(MN, "HF"), PLAT::File::READWRITE);
        uint8_t w[2] = {0, 0};
        hf.readSome(0, w, 2);
        PLAT::putW(w, uint16_t(PLAT::getW(w) + 1));
        hf.writeAt(0, w, 2);
    }
    XN = HH = n;
    insert(s, key, n, h, hd);
    R0 = R;
    return Stored::WRITTEN;
}

}  // namespace

Stored insertEntry(PLAT::File& idx, PLAT::File& rec, uint16_t n) {
    Set s(idx, rec);
    const std::string key = s.name(n);
    const int32_t bucket = bucketOf(key);
    if (n >= s.nRec || bucket < 0) return Stored::NO_BUCKET;
    RR2 hd;
    const int32_t h = takingBucket(s, bucket, hd);
    if (h < 0) return Stored::INDEX_FULL;
    insert(s, key, n, h, hd);
    return Stored::WRITTEN;
}

std::string DAMAGEDFILE;

Stored STORE(int MN, const RR0& C) {
    UMAS::LOCK("FPEL");
    // Nothing is written into files that disagree with each other.
    for (const Disagreement& d : CHECKFILES(MN))
        if (d.blocksStore) {
            UMAS::UNLOC("FPEL");
            DAMAGEDFILE = d.file;
            return Stored::DAMAGED;
        }
    Stored st = storeLocked(MN, C);
    UMAS::UNLOC("FPEL");
    if (st == Stored::WRITTEN || st == Stored::UNCHANGED) {
        EA = R0.EA;
        EA.resize(NAME_LEN, ' ');
        BOO = true;
    }
    return st;
}

bool DEL(int MN, uint16_t HH_, const std::string& EA_) {
    const std::string key = KEY(EA_);
    PLAT::File idx(fileName(MN, "IF"), PLAT::File::READWRITE);
    PLAT::File rec(fileName(MN, "MF"), PLAT::File::READ);
    Set s(idx, rec);
    const int32_t b = bucketOf(key);
    if (b < 0) return false;
    int32_t prev = b * BUCKET_RECS;
    if (!s.valid(prev)) return false;
    int32_t p = s.header(prev).FA;
    for (int32_t steps = 0; steps < INDEX_RECS && s.entryPos(p); ++steps) {
        RR3 e = s.entry(p);
        if (e.RE == HH_) {
            s.putLink(prev, e.AL);
            PLAT::File pn(fileName(MN, "PN"), PLAT::File::READWRITE);
            const int64_t g = int64_t(b) * PN_GROUP;
            if (pn.size() >= (g + PN_GROUP) * 4) {
                uint8_t w[4];
                pn.readAt(g * 4, w, 4);
                int32_t count = PLAT::getL(w);
                if (count >= 0 && count < PN_MAX) {
                    ++count;
                    PLAT::putL(w, p);
                    pn.writeAt((g + count) * 4, w, 4);
                    PLAT::putL(w, count);
                    pn.writeAt(g * 4, w, 4);
                }
            }
            return true;
        }
        prev = p;
        p = e.AL;
    }
    return false;
}

void addDeleted(int MN, uint16_t n) {
    PLAT::File f(fileName(MN, "PD"), PLAT::File::READWRITE);
    uint8_t w[2] = {0, 0};
    f.readSome(0, w, 2);
    const uint16_t count = uint16_t(PLAT::getW(w) + 1);
    uint8_t v[2];
    PLAT::putW(v, n);
    f.writeAt(int64_t(count) * 2, v, 2);
    PLAT::putW(w, count);
    f.writeAt(0, w, 2);
}

bool DELETE(int MN, uint16_t n, const std::string& name) {
    UMAS::LOCK("FPEL");
    const bool found = DEL(MN, n, name);
    if (found) addDeleted(MN, n);
    UMAS::UNLOC("FPEL");
    return found;
}

namespace {

// From the entry at p of a chain on, the first whose record lies in the record file; its position,
// 0 when none. With from (the position of the entry the walk comes from, named `after`): a link
// back to that entry or to a name that sorts before `after` in the first 29 positions (a loop)
// ends the chain there; an equal name goes on (customers stored twice under one name, and older
// chains, which order names equal in 29 positions as they were stored).
int32_t firstShown(const Set& s, int32_t p, int32_t from, const std::string& after, RR3& entry) {
    for (int32_t steps = 0; steps < INDEX_RECS && s.entryPos(p); ++steps) {
        const RR3 e = s.entry(p);
        if (e.RE >= 0 && e.RE < s.nRec) {
            if (from > 0 && (p == from || compareNames(s.name(e.RE), after, NAME_LEN - 1) < 0)) return 0;
            entry = e;
            return p;
        }
        p = e.AL;
    }
    return 0;
}

}  // namespace

int32_t firstOfChainsFrom(int MN, int32_t b, RR3& entry) {
    PLAT::File idx(fileName(MN, "IF"), PLAT::File::READ);
    PLAT::File rec(fileName(MN, "MF"), PLAT::File::READ);
    Set s(idx, rec);
    for (b = std::max<int32_t>(b, 0); b < BUCKETS; ++b) {
        if (!s.valid(b * BUCKET_RECS)) break;
        const int32_t p = firstShown(s, s.header(b * BUCKET_RECS).FA, 0, SPS, entry);
        if (p > 0) return p;
    }
    return 0;
}

int32_t nextInChain(int MN, int32_t pos, uint16_t n, RR3& entry) {
    PLAT::File idx(fileName(MN, "IF"), PLAT::File::READ);
    PLAT::File rec(fileName(MN, "MF"), PLAT::File::READ);
    Set s(idx, rec);
    if (!s.entryPos(pos)) return -1;
    const RR3 cur = s.entry(pos);
    if (cur.RE != n) return -1;
    return firstShown(s, cur.AL, pos, s.name(cur.RE), entry);
}

std::vector<Listed> listAll(int MN, int* damaged) {
    PLAT::File idx(fileName(MN, "IF"), PLAT::File::READ);
    PLAT::File rec(fileName(MN, "MF"), PLAT::File::READ);
    Set s(idx, rec);
    // The record numbers in bucket and chain order, then the records read in file order.
    // A chain that comes back to a position already walked (a loop, or a link into another chain)
    // ends there, so every entry is listed once and the later buckets are still reached.
    std::vector<uint16_t> order;
    std::vector<bool> walked(size_t(s.nIdx), false);
    for (int32_t b = 0; b < BUCKETS && s.valid(b * BUCKET_RECS); ++b) {
        int32_t p = s.header(b * BUCKET_RECS).FA;
        while (s.entryPos(p) && !walked[size_t(p)]) {
            walked[size_t(p)] = true;
            RR3 e = s.entry(p);
            if (e.RE >= 0 && e.RE < s.nRec) order.push_back(uint16_t(e.RE));
            p = e.AL;
        }
    }
    std::vector<uint32_t> byRecord(order.size());
    for (uint32_t i = 0; i < byRecord.size(); ++i) byRecord[i] = i;
    std::sort(byRecord.begin(), byRecord.end(), [&](uint32_t a, uint32_t b) { return order[a] < order[b]; });
    std::vector<Listed> out(order.size());
    std::vector<bool> sound(order.size(), true);
    constexpr int32_t CHUNK = 216;  // records per read (about 64 KB)
    std::vector<uint8_t> buf(size_t(CHUNK) * RR0::SIZE);
    int32_t loaded = -1;
    for (uint32_t i : byRecord) {
        const int32_t n = order[i];
        if (loaded < 0 || n < loaded || n >= loaded + CHUNK) {
            loaded = n;
            const int32_t cnt = std::min(CHUNK, s.nRec - n);
            rec.readAt(int64_t(n) * int64_t(RR0::SIZE), buf.data(), size_t(cnt) * RR0::SIZE);
        }
        out[i].KV = uint16_t(n);
        sound[i] = RR0::decodeSound(buf.data() + size_t(n - loaded) * RR0::SIZE, out[i].R);
    }
    // The damaged ones are left out, the others keep their order.
    size_t kept = 0;
    for (size_t i = 0; i < out.size(); ++i)
        if (sound[i]) {
            if (kept != i) out[kept] = std::move(out[i]);
            ++kept;
        }
    if (damaged) *damaged = int(out.size() - kept);
    out.resize(kept);
    return out;
}

std::vector<std::string> checkIndex(int MN) {
    std::vector<std::string> bad;
    PLAT::File idx(fileName(MN, "IF"), PLAT::File::READ);
    PLAT::File rec(fileName(MN, "MF"), PLAT::File::READ);
    Set s(idx, rec);
    if (s.nIdx != INDEX_RECS) bad.push_back("index size " + std::to_string(idx.size()));
    std::set<int32_t> seenRec;
    for (int32_t b = 0; b < BUCKETS && s.valid(b * BUCKET_RECS); ++b) {
        const std::string where = "bucket " + std::to_string(b) + ": ";
        RR2 hd = s.header(b * BUCKET_RECS);
        if (hd.SY < 2 || hd.SY > FULL_SY || hd.US > hd.SY - 1) bad.push_back(where + "header " + std::to_string(hd.SY) + "/" + std::to_string(hd.US));
        std::set<int32_t> visited;
        std::string prevName;
        int32_t p = hd.FA;
        while (p != 0) {
            if (!s.entryPos(p)) {
                bad.push_back(where + "link to " + std::to_string(p));
                break;
            }
            if (!visited.insert(p).second) {
                bad.push_back(where + "cycle at " + std::to_string(p));
                break;
            }
            RR3 e = s.entry(p);
            if (e.RE < 0 || e.RE >= s.nRec) {
                bad.push_back(where + "record " + std::to_string(e.RE) + " beyond the file");
            } else {
                if (!seenRec.insert(e.RE).second) bad.push_back(where + "record " + std::to_string(e.RE) + " linked twice");
                std::string nm = s.name(e.RE);
                if (bucketOf(nm) != b) bad.push_back(where + "record " + std::to_string(e.RE) + " in the wrong bucket");
                if (!prevName.empty() && compareNames(prevName, nm) > 0)
                    bad.push_back(where + "order broken at record " + std::to_string(e.RE));
                prevName = nm;
            }
            p = e.AL;
        }
    }
    return bad;
}

}  // namespace ARP0
