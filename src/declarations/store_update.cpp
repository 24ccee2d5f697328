// Storing and deleting declarations and continuation sheets: free areas, index slots, key-ordered
// lists with block lending, freed-slot stacks, per-day and per-customer chains. Each update is
// planned whole (store_tx.h) and refused before any write when it cannot complete.
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "declarations/store.h"
#include "declarations/store_tx.h"
#include "platform/codec.h"
#include "platform/codepage.h"

namespace STORE {

namespace {

using PLAT::gr;

// A refusal: nothing of the update is written.
struct Refused {
    std::string msg;
};

std::string baseName(const std::string& path) {
    size_t s = path.find_last_of("/\\");
    return s == std::string::npos ? path : path.substr(s + 1);
}

std::string normDir(const std::string& d) {
    if (d.empty() || d.back() == '/' || d.back() == '\\') return d;
    return d + "/";
}

// ---- The index of one store within an update --------------------------------------------------
struct Index {
    Tx& tx;
    const Layout& L;
    int I = -1, N = -1;
    int64_t recs = 0;

    Index(Tx& t, const Layout& l) : tx(t), L(l) {
        I = tx.open(L.I, true);
        N = tx.open(L.N, true);
        recs = tx.records(I, L.recSize);
    }
    // The whole index file in memory, read once and kept up with the planned writes: the walks
    // over every list read it without a lookup per record.
    std::string* img = nullptr;
    const uint8_t* image() {
        static thread_local std::string buf;
        if (!img) {
            tx.image(I, buf);
            img = &buf;
        }
        return reinterpret_cast<const uint8_t*>(img->data());
    }
    void writeI(int64_t off, const void* p, size_t n) {
        tx.write(I, off, p, n);
        if (img) {
            if (off + int64_t(n) > int64_t(img->size())) img->resize(size_t(off) + n, '\0');
            std::memcpy(img->data() + off, p, n);
        }
    }
    // One index record (17 or 21 bytes).
    struct RecBuf {
        std::array<uint8_t, 24> b{};
        size_t n = 0;
        uint8_t* data() { return b.data(); }
        const uint8_t* data() const { return b.data(); }
        size_t size() const { return n; }
    };
    RecBuf rec(int64_t r) {
        if (r < 0 || r >= recs) tx.damaged(I, "record " + std::to_string(r) + " outside the file");
        RecBuf b;
        b.n = size_t(L.recSize);
        if (img)
            std::memcpy(b.data(), img->data() + r * L.recSize, b.n);
        else
            tx.read(I, r * L.recSize, b.data(), b.n);
        return b;
    }
    // The key of the entry at r equals key (length and characters).
    static bool sameKey(const Layout& L, const RecBuf& b, const std::string& key) {
        return b.b[6] == L.keyLen && std::memcmp(b.data() + 7, key.data(), size_t(L.keyLen)) == 0;
    }
    Head head(int64_t r) { return decodeHead(L, rec(r).data()); }
    Entry entry(int64_t r) { return decodeEntry(L, rec(r).data()); }
    void putHead(int64_t r, const Head& h) {
        auto b = rec(r);
        encodeHead(L, h, b.data());
        writeI(r * L.recSize, b.data(), b.size());
    }
    void putEntry(int64_t r, const Entry& e) {
        std::vector<uint8_t> b(size_t(L.recSize));
        encodeEntry(L, e, b.data());
        writeI(r * L.recSize, b.data(), b.size());
    }
    // The link field at offset 4 (FA of a head, AL of an entry).
    uint16_t link(int64_t r) { return PLAT::getW(rec(r).data() + 4); }
    void setLink(int64_t r, uint16_t v) {
        rec(r);  // inside the file
        uint8_t b[2];
        PLAT::putW(b, v);
        writeI(r * L.recSize + 4, b, 2);
    }
    // "DISN"/"BISN" words.
    uint16_t word(int64_t w) {
        uint8_t b[2];
        tx.read(N, w * 2, b, 2);
        return PLAT::getW(b);
    }
    void putWord(int64_t w, uint16_t v) {
        if (w * 2 + 2 > tx.size(N)) tx.damaged(N, "word outside the file");
        uint8_t b[2];
        PLAT::putW(b, v);
        tx.write(N, w * 2, b, 2);
    }
    int64_t partitionHead(int d) const { return int64_t(d - 1) * L.stride; }
    // Key order of two entries' keys (string[keyLen] at offset 6), as compareKeys: blanks past a
    // key's length.
    int keyOrder(const uint8_t* a, const uint8_t* b) const {
        for (int j = 0; j < L.keyLen; ++j) {
            const char x = j < a[6] ? char(a[7 + j]) : ' ', y = j < b[6] ? char(b[7 + j]) : ' ';
            if (INS(x) != INS(y)) return INS(x) < INS(y) ? -1 : 1;
        }
        return 0;
    }

    // What a store of a key of partition d is about to read or change, checked before anything is
    // planned: both files at their installed sizes, the partition's head, every entry of its list
    // (a slot, a key of the partition in order, a position inside the record file of mSize bytes)
    // and its freed slots.
    void verify(int d, int M) {
        const int64_t mSize = tx.size(M);
        if (tx.size(I) % L.recSize != 0 || recs < 9 * int64_t(L.stride)) tx.damaged(I, "size");
        if (tx.size(N) % 2 != 0 || tx.size(N) < 9 * FREED_PER_PARTITION * 2) tx.damaged(N, "size");
        const std::string where = " of partition " + std::to_string(d);
        Head h = head(partitionHead(d));
        if ((h.SY != L.block && h.SY != L.lendKeep) || h.US > h.SY - 1) tx.damaged(I, "head" + where);
        const uint8_t* b = image();
        const uint8_t* prev = nullptr;
        int64_t R = h.FA;
        for (int64_t steps = 0; R != 0; ++steps) {
            if (R < 0 || R >= recs || R % L.stride == 0 || steps > recs) tx.damaged(I, "list" + where);
            const uint8_t* e = b + R * L.recSize;
            if (e[6] == 0 || e[6] > L.keyLen || e[7] != uint8_t('0' + d)) tx.damaged(I, "key in the list" + where);
            const int32_t RE = PLAT::getL(e);
            // A position past the end of the record file: that file was cut (it only grows).
            if (RE != NONE && (RE < 0 || int64_t(RE) + 4 > mSize)) tx.damaged(M, "shorter than a position" + where);
            if (prev && keyOrder(prev, e) > 0) tx.damaged(I, "order" + where);
            prev = e;
            R = PLAT::getW(e + 4);
        }
        int64_t w = int64_t(d - 1) * FREED_PER_PARTITION;
        uint16_t C = word(w);
        if (C > FREED_KEPT) tx.damaged(N, "freed-slot count" + where);
        for (int64_t i = 1; i <= C; ++i) {
            uint16_t s = word(w + i);
            if (s == 0 || s >= recs || s % L.stride == 0) tx.damaged(N, "freed slot" + where);
        }
    }

    // A head that owns a block lying inside the file: a partition's own head keeps its whole
    // block or the half it kept after lending; a lent half starts in the middle of a partition.
    void checkHead(int64_t H, const Head& h) {
        bool own = H % L.stride == 0;
        bool sizeOk = own ? (h.SY == L.block || h.SY == L.lendKeep) : (H % L.stride == L.lendHalf && h.SY == L.lendHalf);
        if (!sizeOk || H + h.SY >= recs || h.US > h.SY - 1)
            tx.damaged(I, "block head " + std::to_string(H) + " damaged");
    }

    // Lends half of the first partition that can spare it to the full block at H; the link record
    // of that block then names the new head. False when no partition can lend.
    bool lend(int64_t H, const Head& full) {
        for (int i = 0; i < 8; ++i) {
            int64_t h0 = int64_t(i) * L.stride;
            Head lender = head(h0);
            if (lender.SY != L.block || lender.US > L.lendMaxUsed) continue;
            int64_t nh = h0 + L.lendHalf;
            Head fresh;
            fresh.SY = uint16_t(L.lendHalf);
            putHead(nh, fresh);
            lender.SY = uint16_t(L.lendKeep);
            putHead(h0, lender);
            auto b = rec(H + full.SY);
            PLAT::putL(b.data(), int32_t(nh));
            writeI((H + full.SY) * L.recSize, b.data(), b.size());
            return true;
        }
        return false;
    }

    // Is slot R linked into the list of partition d?
    bool linked(int d, int64_t R) {
        int64_t r = link(partitionHead(d));
        for (int64_t steps = 0; r != 0; ++steps) {
            if (r == R) return true;
            if (r >= recs || steps > recs) tx.damaged(I, "list of partition " + std::to_string(d) + " damaged");
            r = link(r);
        }
        return false;
    }

    // Step 5 of a store: a slot for a key of partition d; allocated tells whether it came from a
    // block (and not from the freed slots).
    int64_t slot(int d, bool& allocated, int64_t& blockHead) {
        int64_t w = int64_t(d - 1) * FREED_PER_PARTITION;
        uint16_t C = word(w);
        if (C > FREED_PER_PARTITION - 1) tx.damaged(N, "freed-slot count damaged");
        if (C > 0) {
            uint16_t s = word(w + C);
            if (s == 0 || s >= recs || s % L.stride == 0 || linked(d, s))
                tx.damaged(N, "freed slot " + std::to_string(s) + " damaged");
            putWord(w, uint16_t(C - 1));
            allocated = false;
            return s;
        }
        int64_t H = partitionHead(d);
        Head h = head(H);
        checkHead(H, h);
        for (int steps = 0; h.US == h.SY - 1; ++steps) {
            int64_t next = PLAT::getL(rec(H + h.SY).data());
            if (next == 0) {
                if (!lend(H, h))
                    throw Refused{gr("ΔΕΝ ΥΠΑΡΧΕΙ ΧΩΡΟΣ ΣΤΟ ΕΥΡΕΤΗΡΙΟ ΓΙΑ ΑΡΙΘΜΟΥΣ ΑΠΟ ") + char('0' + d) +
                                  gr(" - ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ")};
                next = PLAT::getL(rec(H + h.SY).data());
            }
            if (next <= 0 || next >= recs || next % L.stride != L.lendHalf || steps > 64)
                tx.damaged(I, "block link damaged");
            H = next;
            h = head(H);
            checkHead(H, h);
        }
        h.US = uint16_t(h.US + 1);
        putHead(H, h);
        allocated = true;
        blockHead = H;
        return H + h.US;
    }

    // EK0.ALF / EKDO.ALFB: the record whose link field must name the new entry, and that link's
    // present value (BOD.BAL). lastKey receives the last key read.
    int64_t place(int d, const std::string& key, uint16_t& BAL, std::string& lastKey) {
        int64_t P = partitionHead(d);
        int64_t R = link(P);
        int64_t lastRead = -1;
        for (int64_t steps = 0; R != 0; ++steps) {
            if (R >= recs || steps > recs) tx.damaged(I, "list of partition " + std::to_string(d) + " damaged");
            RecBuf e = rec(R);
            lastRead = R;
            if (sameKey(L, e, key)) break;
            const char* raw = reinterpret_cast<const char*>(e.data() + 7);
            int j = L.keyLen - 1;
            for (int k = 0; k < L.keyLen; ++k)
                if (INS(raw[k]) != INS(key[size_t(k)])) {
                    j = k;
                    break;
                }
            if (INS(raw[j]) < INS(key[size_t(j)])) {
                P = R;
                uint16_t AL = PLAT::getW(e.data() + 4);
                if (AL == 0) break;
                R = AL;
            } else {
                break;
            }
        }
        if (lastRead >= 0) lastKey = entry(lastRead).KL;
        BAL = link(P);
        return P;
    }

    // Steps 5 to 7 of a store: slot, entry (written before the link that names it), lending.
    void insert(const std::string& key, int32_t pos) {
        int d = partitionOf(key);
        bool allocated = false;
        int64_t H = 0;
        int64_t s = slot(d, allocated, H);
        uint16_t BAL = 0;
        std::string last;
        int64_t P = place(d, key, BAL, last);
        putEntry(s, Entry{pos, BAL, key});
        setLink(P, uint16_t(s));
        if (allocated) {
            Head h = head(H);
            if (h.US == h.SY - 1) lend(H, h);
        }
    }

    // BOD.DEL / EKDO.DEBL: unlinks the entry at pos from the partition of key. False when the list
    // is damaged before the entry is met (then nothing is changed).
    bool unlink(const std::string& key, int32_t pos, std::string* unlinked = nullptr) {
        int d = partitionOf(key);
        if (d == 0) return true;
        int64_t P = partitionHead(d);
        int64_t R = link(P);
        for (int64_t steps = 0; R != 0; ++steps) {
            if (R >= recs || steps > recs) return false;
            RecBuf b = rec(R);
            Entry e{PLAT::getL(b.data()), PLAT::getW(b.data() + 4), {}};
            if (e.RE == pos) {
                if (unlinked) *unlinked = decodeEntry(L, b.data()).KL;
                setLink(P, e.AL);
                int64_t w = int64_t(d - 1) * FREED_PER_PARTITION;
                uint16_t C = word(w);
                if (C >= FREED_KEPT) return true;
                putWord(w + C + 1, uint16_t(R));
                putWord(w, uint16_t(C + 1));
                return true;
            }
            P = R;
            R = e.AL;
        }
        return true;
    }
};

// ---- Chains of "DISH.DAT" and "DIPE.DAT" -------------------------------------------------------
enum class ChainOutcome { LINKED, FULL, DAMAGED };

// A chain walked by an insertion is checked as it goes: a link outside the node area, a loop or a
// node naming a position outside the record file (mSize bytes) refuses the whole update.
ChainOutcome chainInsert(Tx& tx, int f, int64_t K, int32_t pos, int heads, int64_t mSize) {
    int64_t recs = tx.records(f, 6);
    // A file without its whole head area (an older layout not yet widened) is never written:
    // a key past its heads would land on another chain's node.
    if (recs < heads || K >= heads) return ChainOutcome::DAMAGED;
    if (tx.size(f) % 6 != 0) tx.damaged(f, "size");
    int64_t R = K;
    uint8_t b[6];
    for (int64_t steps = 0;; ++steps) {
        if (R < 0 || R >= recs || steps > recs || (R != K && R < heads)) tx.damaged(f, "chain " + std::to_string(K));
        tx.read(f, R * 6, b, 6);
        RR1 n = RR1::decode(b);
        if (n.HR != NONE && (n.HR < 0 || n.HR >= mSize)) tx.damaged(f, "chain " + std::to_string(K));
        if (n.HR == NONE) {
            n.HR = pos;
            n.encode(b);
            tx.write(f, R * 6, b, 6);
            return ChainOutcome::LINKED;
        }
        if (n.NR == 0) {
            if (recs > 65535) return ChainOutcome::FULL;
            uint8_t nb[6];
            RR1{pos, 0}.encode(nb);
            tx.write(f, recs * 6, nb, 6);
            n.NR = uint16_t(recs);
            n.encode(b);
            tx.write(f, R * 6, b, 6);
            return ChainOutcome::LINKED;
        }
        R = n.NR;
    }
}

void chainRemove(Tx& tx, int f, int64_t K, int32_t pos) {
    int64_t recs = tx.records(f, 6);
    int64_t R = K;
    uint8_t b[6];
    for (int64_t steps = 0;; ++steps) {
        if (R < 0 || R >= recs || steps > recs) return;
        tx.read(f, R * 6, b, 6);
        RR1 n = RR1::decode(b);
        if (n.HR == pos) {
            n.HR = NONE;
            n.encode(b);
            tx.write(f, R * 6, b, 6);
            return;
        }
        if (n.NR == 0) return;
        R = n.NR;
    }
}

// Empties every node of a chain file that names pos (a declaration whose key is not known).
void chainScrub(Tx& tx, int f, int32_t pos) {
    const int64_t recs = tx.records(f, 6);
    uint8_t b[6];
    for (int64_t R = 0; R < recs; ++R) {
        tx.read(f, R * 6, b, 6);
        RR1 n = RR1::decode(b);
        if (n.HR != pos) continue;
        n.HR = NONE;
        n.encode(b);
        tx.write(f, R * 6, b, 6);
    }
}

Source txSource(Tx& tx, int f) {
    Source s;
    s.size = tx.size(f);
    s.read = [&tx, f](int64_t off, void* buf, size_t n) {
        if (!tx.inside(f, off, n)) return false;
        tx.read(f, off, buf, n);
        return true;
    };
    return s;
}

void clearFreeIn(Tx& tx, int D, int words) {
    tx.write(D, 0, std::string(size_t(words) * 2, '\0'));
    tx.truncate(D, int64_t(words) * 2);
}

// What the live entries of every partition of an index name, read from one image of the file (a
// list broken off at a bad link is read up to the break; a store into that partition refuses it
// in Index::verify).
struct Named {
    int32_t far = -1;        // the furthest position an entry names
    int64_t farRec = 0;      // its record
    bool beyond = false;     // an entry names a position whose area header lies past the end of
    int32_t beyondPos = 0;   // the record file: the first such position and its record
    int64_t beyondRec = 0;
    bool inside = false;     // an entry names a position within one of the areas asked about
    int at = 0;              // entries that name the position asked about
};
Named scanNamed(Index& ix, int64_t mSize, const std::vector<Area>& areas = {}, int32_t pos = -1) {
    Named n;
    const Layout& L = ix.L;
    const uint8_t* b = ix.image();
    const int64_t recs = int64_t(ix.img->size()) / L.recSize;
    for (int d = 1; d <= 9; ++d) {
        const int64_t H = int64_t(d - 1) * L.stride;
        if (H >= recs) break;
        int64_t R = PLAT::getW(b + H * L.recSize + 4);
        for (int64_t steps = 0; R != 0 && R < recs && steps <= recs; ++steps) {
            const uint8_t* e = b + R * L.recSize;
            const int32_t RE = PLAT::getL(e);
            if (RE != NONE) {
                if ((RE < 0 || int64_t(RE) + 4 > mSize) && !n.beyond) n.beyond = true, n.beyondPos = RE, n.beyondRec = R;
                if (RE > n.far) n.far = RE, n.farRec = R;
                if (RE == pos) ++n.at;
                for (const Area& a : areas)
                    if (RE >= a.pos && RE < int64_t(a.pos) + std::min(a.SIZ, a.REM)) n.inside = true;
            }
            R = PLAT::getW(e + 4);
        }
    }
    return n;
}

// The record file holds every byte that the index names. It only grows, so one shorter than what
// a live entry names (the entry of any number, not only of the partition stored into) was cut,
// and an area taken at its end would lie on that declaration or sheet: the update is refused,
// naming the record file. Every live entry's position is checked against the size, and the areas
// of the furthest one to their ends (a first area of any other entry that ran past the end would
// share bytes with that one). The later areas of other chains are not followed here, which would
// mean reading the whole record file at each store; the store checker follows every chain.
void verifyNamed(Tx& tx, const Layout& L, const Named& n, int M, bool sheet) {
    const int64_t mSize = tx.size(M);
    const std::string of = " of " + std::string(L.I);
    if (n.beyond)
        tx.damaged(M, "shorter than position " + std::to_string(n.beyondPos) + " named by record " +
                          std::to_string(n.beyondRec) + of);
    // The areas of the furthest entry, to the end of each.
    for (int64_t pos = n.far, steps = 0; pos >= 0 && steps < 8192; ++steps) {
        const std::string what = "shorter than an area of record " + std::to_string(n.farRec) + of;
        uint8_t h[4];
        if (pos + 4 > mSize) tx.damaged(M, what);
        tx.read(M, pos, h, 4);
        const uint16_t SIZ = PLAT::getWBE(h), REM = PLAT::getWBE(h + 2);
        if (SIZ < 5 || REM < 5) return;  // a damaged header: the loader tells it
        const bool last = REM <= SIZ;
        // A sheet's REM counts 4 bytes after its data that it does not occupy.
        if (pos + (last && sheet ? REM - 4 : SIZ) > mSize) tx.damaged(M, what);
        if (last || SIZ < 9) return;
        uint8_t nx[4];
        tx.read(M, pos + SIZ - 4, nx, 4);
        pos = PLAT::getLBE(nx);
    }
}

// BOD.DELD planned in tx: the removals first, then the areas go onto the free stack (or every
// free area is forgotten when the chain is damaged).
// Returns what the index names, when it was read to see that no other entry names the areas
// freed.
std::optional<Named> planDeleteDecl(Tx& tx, Index& ix, const Old& old) {
    int M = tx.open(DECL.M, true);
    int D = tx.open(DECL.D, true);
    Chain c = readChain(txSource(tx, M), old.pos, false);
    // The chains first: a declaration that is still indexed and missing from a list can be found
    // and stored again; a list entry must never name one that is gone.
    if (old.unread) {
        // The nodes naming its position, unless another entry names it too: they are then that
        // declaration's as much.
        if (scanNamed(ix, tx.size(M), {}, old.pos).at <= 1) {
            chainScrub(tx, tx.open("DISH.DAT", true), old.pos);
            chainScrub(tx, tx.open("DIPE.DAT", true), old.pos);
        }
    } else {
        if (auto day = dayKey(old.date)) chainRemove(tx, tx.open("DISH.DAT", true), *day, old.pos);
        if (old.cust < NO_CUSTOMER && old.cust < CUST_HEADS)
            chainRemove(tx, tx.open("DIPE.DAT", true), old.cust, old.pos);
    }
    std::string number;
    if (!ix.unlink(old.key, old.pos, &number))
        throw Refused{gr("ΤΟ ΑΡΧΕΙΟ ") + baseName(tx.name(ix.I)) + gr(" ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - ΔΕΝ ΔΙΑΓΡΑΦΗΚΕ")};
    if (!c.ok) {
        clearFreeIn(tx, D, 1000);
        return std::nullopt;
    }
    // A version that could not be read may have a chain that runs into another declaration's
    // bytes: its areas are left unused rather than offered to the next store.
    if (old.unread) return std::nullopt;
    // Nor are areas freed that hold another number, or that another entry still names: they are
    // that declaration's (the index was damaged), not this one's.
    FieldReader fr(c.data);
    if (number.empty() || numberText(fr.next()) != numberText(number)) return std::nullopt;
    Named named = scanNamed(ix, tx.size(M), c.areas);
    if (named.inside) return named;
    uint8_t b[6];
    tx.read(D, 0, b, 6);
    RD0 top = RD0::decode(b);
    int32_t N = top.RP;
    if (N < 0 || int64_t(N) * 6 + 6 > std::max<int64_t>(tx.size(D), 6)) {
        clearFreeIn(tx, D, 1000);
        tx.read(D, 0, b, 6);
        top = RD0::decode(b);
        N = 0;
    }
    for (const Area& a : c.areas) {
        uint16_t Z = std::min(a.SIZ, a.REM);
        if (Z <= 8) continue;
        ++N;
        RD0{a.pos, Z}.encode(b);
        tx.write(D, int64_t(N) * 6, b, 6);
        top.RP = N;
        top.encode(b);
        tx.write(D, 0, b, 6);
    }
    return named;
}

// The free stack a store is about to take from: its count within the file and every area it
// holds inside the record file of mSize bytes.
void verifyFree(Tx& tx, int D, int64_t mSize) {
    uint8_t b[6];
    if (tx.size(D) < 6) tx.damaged(D, "record 0 missing");
    tx.read(D, 0, b, 6);
    int32_t N = RD0::decode(b).RP;
    if (N < 0 || int64_t(N) * 6 + 6 > tx.size(D)) tx.damaged(D, "count beyond the file");
    for (int32_t n = 1; n <= N; ++n) {
        tx.read(D, int64_t(n) * 6, b, 6);
        RD0 a = RD0::decode(b);
        if (a.RP < 0 || a.SZ <= 8 || int64_t(a.RP) + a.SZ > mSize) tx.damaged(D, "area " + std::to_string(n));
    }
}

// EK0.KATD.AREA: the next area for R data bytes still to write.
struct Taken {
    int64_t pos, size, rem;
};
Taken takeArea(Tx& tx, int M, int D, int64_t R, int64_t mEnd) {
    int64_t need = R + 4;
    uint8_t b[6];
    if (tx.size(D) < 6) tx.damaged(D, "record 0 missing");
    tx.read(D, 0, b, 6);
    RD0 top = RD0::decode(b);
    if (top.RP > 0) {
        int64_t N = top.RP;
        bool ok = N * 6 + 6 <= tx.size(D);
        RD0 a;
        if (ok) {
            tx.read(D, N * 6, b, 6);
            a = RD0::decode(b);
            ok = a.RP >= 0 && a.SZ > 8 && int64_t(a.RP) + a.SZ <= tx.size(M);
        }
        if (!ok) {
            // A damaged free stack is forgotten, never followed.
            clearFreeIn(tx, D, 1000);
        } else {
            int64_t Q = a.RP, Z = a.SZ;
            if (Z < need) need += 4;
            if (Z <= need + 8) {
                top.RP = int32_t(N - 1);
                top.encode(b);
                tx.write(D, 0, b, 6);
                return {Q, Z, need};
            }
            RD0{int32_t(Q + need), uint16_t(Z - need)}.encode(b);
            tx.write(D, N * 6, b, 6);
            return {Q, need, need};
        }
    }
    return {std::max(tx.size(M), mEnd), need, need};
}

std::string damagedMsg(const Damaged& d, const char* what) {
    return gr("ΤΟ ΑΡΧΕΙΟ ") + baseName(d.file) + gr(" ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - ") + gr(what);
}

const char* const TOO_BIG = "ΤΟ ΑΡΧΕΙΟ ΕΦΤΑΣΕ ΤΟ ΜΕΓΙΣΤΟ ΜΕΓΕΘΟΣ - ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ";

// Runs one update of the folder as a transaction: the body plans its writes (and may set the
// result's position and notices); they are committed only when planning ends without a refusal or
// damage, which become the result's message with nothing written.
template <class Body>
Result transact(const std::string& dir, const char* notDone, Body body) {
    Result res;
    Tx tx(dir);
    try {
        body(tx, res);
        tx.commit();
        res.stored = true;
    } catch (const Refused& e) {
        res.refusal = e.msg;
        res.pos = 0;
    } catch (const Damaged& d) {
        res.refusal = damagedMsg(d, notDone);
        res.pos = 0;
    }
    return res;
}

// The notice of a document stored but not linked into a chain file.
void chainNotice(Result& res, ChainOutcome o, const char* file, const char* unseen) {
    if (o == ChainOutcome::FULL)
        res.notices.push_back(gr("ΤΟ ΑΡΧΕΙΟ ") + file + gr(" ΕΙΝΑΙ ΓΕΜΑΤΟ - ") + gr(unseen));
    else if (o == ChainOutcome::DAMAGED)
        res.notices.push_back(gr("ΤΟ ΑΡΧΕΙΟ ") + file + gr(" ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - ") + gr(unseen));
}

}  // namespace

Result storeDecl(const std::string& dirIn, const Request& r) {
    std::string dir = normDir(dirIn);
    std::string key = padKey(r.key, DECL.keyLen);
    if (partitionOf(key) == 0) {
        Result bad;
        bad.refusal = gr("ΛΑΘΟΣ ΑΡΙΘΜΟΣ ΔΙΑΣΑΦΗΣΗΣ");
        return bad;
    }
    return transact(dir, "ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ", [&](Tx& tx, Result& res) {
        int M = tx.open(DECL.M, true);
        int D = tx.open(DECL.D, true);
        Index ix(tx, DECL);
        const int64_t mSize = tx.size(M);
        ix.verify(partitionOf(key), M);
        if (r.old && partitionOf(r.old->key) != 0 && partitionOf(r.old->key) != partitionOf(key))
            ix.verify(partitionOf(r.old->key), M);
        verifyFree(tx, D, mSize);
        std::optional<Named> named;
        if (r.old) named = planDeleteDecl(tx, ix, *r.old);
        if (!named) named = scanNamed(ix, mSize);
        verifyNamed(tx, DECL, *named, M, false);

        // The areas: the free stack is changed first; the areas are written last one first, so
        // that every next-area position names an area already written.
        const std::string& data = r.data;
        if (data.size() + 8 > 65535) throw Refused{gr("Η ΔΙΑΣΑΦΗΣΗ ΕΙΝΑΙ ΠΟΛΥ ΜΕΓΑΛΗ - ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ")};
        struct Img {
            int64_t pos;
            std::string bytes;
        };
        std::vector<Img> imgs;
        int64_t R = int64_t(data.size());
        size_t done = 0;
        int64_t mEnd = tx.size(M);
        for (int guard = 0;; ++guard) {
            if (guard > 65535) tx.damaged(D, "free areas loop");
            Taken t = takeArea(tx, M, D, R, mEnd);
            if (t.pos + t.size > POS_LIMIT) throw Refused{gr(TOO_BIG)};
            mEnd = std::max(mEnd, t.pos + t.size);
            std::string a(size_t(t.size), '\0');
            PLAT::putWBE(reinterpret_cast<uint8_t*>(a.data()), uint16_t(t.size));
            PLAT::putWBE(reinterpret_cast<uint8_t*>(a.data()) + 2, uint16_t(t.rem));
            if (!imgs.empty()) PLAT::putLBE(reinterpret_cast<uint8_t*>(imgs.back().bytes.data()) + imgs.back().bytes.size() - 4, int32_t(t.pos));
            if (t.size >= t.rem) {
                std::memcpy(a.data() + 4, data.data() + done, size_t(R));
                imgs.push_back({t.pos, std::move(a)});
                break;
            }
            int64_t n = t.size - 8;
            std::memcpy(a.data() + 4, data.data() + done, size_t(n));
            done += size_t(n);
            R -= n;
            imgs.push_back({t.pos, std::move(a)});
        }
        for (auto it = imgs.rbegin(); it != imgs.rend(); ++it) tx.write(M, it->pos, it->bytes);
        int32_t XN = int32_t(imgs.front().pos);

        ix.insert(key, XN);

        if (auto day = dayKey(r.date))
            chainNotice(res, chainInsert(tx, tx.open("DISH.DAT", true), *day, XN, DAY_HEADS, tx.size(M)), "DISH.DAT",
                        "Η ΔΙΑΣΑΦΗΣΗ ΔΕΝ ΘΑ ΦΑΙΝΕΤΑΙ ΑΝΑ ΗΜΕΡΟΜΗΝΙΑ");
        else if (r.date.find_first_not_of(' ') != std::string::npos)
            // A date that is no day of 1990 to 2049 (an older file's): stored, but in no day's list.
            res.notices.push_back(gr("ΗΜΕΡΟΜΗΝΙΑ ") + r.date + gr(": Η ΔΙΑΣΑΦΗΣΗ ΔΕΝ ΘΑ ΦΑΙΝΕΤΑΙ ΑΝΑ ΗΜΕΡΟΜΗΝΙΑ"));
        if (r.cust < NO_CUSTOMER) {
            if (r.cust >= CUST_HEADS)
                res.notices.push_back(gr("ΠΕΛΑΤΗΣ ΜΕ ΑΡΙΘΜΟ ") + std::to_string(r.cust) +
                                      gr(": Η ΔΙΑΣΑΦΗΣΗ ΔΕΝ ΘΑ ΦΑΙΝΕΤΑΙ ΑΝΑ ΠΕΛΑΤΗ"));
            else
                chainNotice(res, chainInsert(tx, tx.open("DIPE.DAT", true), r.cust, XN, CUST_HEADS, tx.size(M)), "DIPE.DAT",
                            "Η ΔΙΑΣΑΦΗΣΗ ΔΕΝ ΘΑ ΦΑΙΝΕΤΑΙ ΑΝΑ ΠΕΛΑΤΗ");
        }
        res.pos = XN;
    });
}

Result storeSheet(const std::string& dirIn, const Request& r) {
    std::string dir = normDir(dirIn);
    std::string key = padKey(r.key, SHEET.keyLen);
    if (partitionOf(key) == 0) {
        Result bad;
        bad.refusal = gr("ΛΑΘΟΣ ΚΛΕΙΔΙ ΦΥΛΛΟΥ");
        return bad;
    }
    return transact(dir, "ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ", [&](Tx& tx, Result& res) {
        int M = tx.open(SHEET.M, true);
        tx.open(SHEET.D, false);
        Index ix(tx, SHEET);
        ix.verify(partitionOf(key), M);
        if (r.old && partitionOf(r.old->key) != 0 && partitionOf(r.old->key) != partitionOf(key))
            ix.verify(partitionOf(r.old->key), M);
        if (r.old && !ix.unlink(r.old->key, r.old->pos))
            throw Refused{gr("ΤΟ ΑΡΧΕΙΟ BISI.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ")};
        verifyNamed(tx, SHEET, scanNamed(ix, tx.size(M)), M, true);
        int64_t G = int64_t(r.data.size()) + 8;
        if (G > 65535) throw Refused{gr("ΤΟ ΦΥΛΛΟ ΕΙΝΑΙ ΠΟΛΥ ΜΕΓΑΛΟ - ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ")};
        int64_t XNB = tx.size(M);
        if (XNB + G > POS_LIMIT) throw Refused{gr(TOO_BIG)};
        std::string a(4, '\0');
        PLAT::putWBE(reinterpret_cast<uint8_t*>(a.data()), uint16_t(G));
        PLAT::putWBE(reinterpret_cast<uint8_t*>(a.data()) + 2, uint16_t(G));
        a += r.data;
        tx.write(M, XNB, a);
        ix.insert(key, int32_t(XNB));
        res.pos = int32_t(XNB);
    });
}

Result deleteDecl(const std::string& dirIn, const Old& old) {
    return transact(normDir(dirIn), "ΔΕΝ ΔΙΑΓΡΑΦΗΚΕ", [&](Tx& tx, Result&) {
        Index ix(tx, DECL);
        planDeleteDecl(tx, ix, old);
    });
}

Result deleteSheet(const std::string& dirIn, const Old& old) {
    return transact(normDir(dirIn), "ΔΕΝ ΔΙΑΓΡΑΦΗΚΕ", [&](Tx& tx, Result&) {
        Index ix(tx, SHEET);
        if (!ix.unlink(old.key, old.pos)) throw Refused{gr("ΤΟ ΑΡΧΕΙΟ BISI.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - ΔΕΝ ΔΙΑΓΡΑΦΗΚΕ")};
    });
}

void clearFree(const std::string& dirIn, int words) {
    Tx tx(normDir(dirIn));
    int D = tx.open(DECL.D, true);
    clearFreeIn(tx, D, words);
    tx.commit();
}

}  // namespace STORE
