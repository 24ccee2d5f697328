// The side files of a declaration: their names and the codecs and readers of their records.
#include <algorithm>
#include <vector>

#include "common/umas.h"
#include "documents/ekextra.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace EKEXTRA {

// ---- Names ------------------------------------------------------------------------------------

std::string DECLNUM() { return UMAS::trim(BOD::SOB(BOD::DIA, BOD::GV, 1)); }

std::string SHEETSUFFIX(const std::string& box3) { return UMAS::REMLCH(UMAS::REMLCH(box3, ' '), '0'); }

std::string SHEETSUFFIX(bool sheet) { return sheet ? SHEETSUFFIX(BOD::SOB(BOD::BIS, BOD::GB, 3)) : "1"; }

std::string SIDENAME(const std::string& number, const std::string& ext) { return UMAS::PATH + number + ext; }

std::string ITEMNAME(const std::string& number, const std::string& ext, const std::string& suffix) {
    return UMAS::PATH + number + ext + suffix;
}

std::string CONTAINERSHEET(bool sheet) { return sheet ? BOD::SOB(BOD::BIS, BOD::GB, 3) : "01"; }

std::string CONTAINERNAME(const std::string& number, const std::string& sheet) {
    return UMAS::PATH + number + "." + sheet;
}

std::string OLDCONTAINERNAME(const std::string& number, const std::string& sheet) {
    if (number.size() <= 8) return "";
    return UMAS::PATH + number.substr(0, 8) + "." + sheet;
}

std::string SIDEFILE(const std::string& ext) { return SIDENAME(DECLNUM(), ext); }

std::string ITEMFILE(const std::string& ext, bool sheet) { return ITEMNAME(DECLNUM(), ext, SHEETSUFFIX(sheet)); }

std::string CONTAINERFILE(bool sheet) { return CONTAINERNAME(DECLNUM(), CONTAINERSHEET(sheet)); }

// ---- Codecs -----------------------------------------------------------------------------------
namespace {

// A file image laid over a table of `size` bytes: the bytes the image has, zeros after them.
struct Image {
    std::vector<uint8_t> b;
    size_t avail;  // bytes the image really covers
    Image(const std::string& bytes, size_t size) : b(size, 0), avail(std::min(bytes.size(), size)) {
        std::copy_n(reinterpret_cast<const uint8_t*>(bytes.data()), avail, b.begin());
    }
    // string[cap] at off: the length byte cut to the capacity and to the characters the image has.
    std::string S(size_t off, int cap) const {
        if (off >= avail) return "";
        size_t n = std::min<size_t>(b[off], size_t(cap));
        n = std::min(n, avail - off - 1);
        return std::string(reinterpret_cast<const char*>(b.data() + off + 1), n);
    }
};

std::string bytesOf(const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); }

}  // namespace

std::string TDILOS::encode() const {
    std::vector<uint8_t> b(SIZE, 0);
    for (int r = 0; r < ROWS; ++r)
        for (int c = 0; c < COLS; ++c) PLAT::putS(b.data() + size_t(r * COLS + c) * (CAP + 1), CAP, C[size_t(r)][size_t(c)]);
    return bytesOf(b);
}

TDILOS TDILOS::decode(const std::string& bytes) {
    const Image im(bytes, SIZE);
    TDILOS t;
    for (int r = 0; r < ROWS; ++r)
        for (int c = 0; c < COLS; ++c) t.C[size_t(r)][size_t(c)] = im.S(size_t(r * COLS + c) * (CAP + 1), CAP);
    return t;
}

std::string THESI44::encode() const {
    std::vector<uint8_t> b(SIZE, 0);
    for (int r = 0; r < ROWS; ++r) {
        PLAT::putS(b.data() + size_t(r) * 44, CAP, CODE[size_t(r)]);
        PLAT::putS(b.data() + size_t(r) * 44 + 22, CAP, REF[size_t(r)]);
    }
    return bytesOf(b);
}

THESI44 THESI44::decode(const std::string& bytes) {
    THESI44 t;
    if (bytes.size() == OLD_SIZE) {
        const Image im(bytes, OLD_SIZE);
        for (int r = 0; r < ROWS; ++r) {
            t.CODE[size_t(r)] = im.S(size_t(r) * 38, OLD_CAP);
            t.REF[size_t(r)] = im.S(size_t(r) * 38 + 19, OLD_CAP);
        }
        return t;
    }
    const Image im(bytes, SIZE);
    for (int r = 0; r < ROWS; ++r) {
        t.CODE[size_t(r)] = im.S(size_t(r) * 44, CAP);
        t.REF[size_t(r)] = im.S(size_t(r) * 44 + 22, CAP);
    }
    return t;
}

std::string ST_TIR::encode() const {
    std::vector<uint8_t> b(SIZE, 0);
    for (int i = 0; i < 4; ++i) PLAT::putS(b.data() + size_t(i) * (CAP + 1), CAP, T[size_t(i)]);
    return bytesOf(b);
}

ST_TIR ST_TIR::decode(const std::string& bytes) {
    ST_TIR t;
    const bool old = bytes.size() <= OLD_SIZE;
    const Image im(bytes, old ? OLD_SIZE : SIZE);
    const int cap = old ? OLD_CAP : CAP;
    for (int i = 0; i < 4; ++i) t.T[size_t(i)] = im.S(size_t(i) * size_t(cap + 1), cap);
    return t;
}

std::string CONTBUF::encode() const {
    std::vector<uint8_t> b(SIZE, 0);
    for (int i = 0; i < ENTRIES; ++i) PLAT::putS(b.data() + size_t(i) * (CAP + 1), CAP, E[size_t(i)]);
    return bytesOf(b);
}

CONTBUF CONTBUF::decode(const std::string& bytes) {
    const Image im(bytes, SIZE);
    CONTBUF t;
    for (int i = 0; i < ENTRIES; ++i) t.E[size_t(i)] = im.S(size_t(i) * (CAP + 1), CAP);
    return t;
}

std::string KRASBUF::encode() const {
    std::vector<uint8_t> b(SIZE, 0);
    for (int i = 0; i < LINES; ++i) {
        PLAT::putS(b.data() + size_t(i) * RECORD, CODE_CAP, L[size_t(i)].KRASCODE);
        PLAT::putS(b.data() + size_t(i) * RECORD + CODE_CAP + 1, POSOT_CAP, L[size_t(i)].KRASPOSOT);
    }
    return bytesOf(b);
}

KRASBUF KRASBUF::decode(const std::string& bytes) {
    const Image im(bytes, SIZE);
    KRASBUF t;
    for (int i = 0; i < LINES; ++i) {
        t.L[size_t(i)].KRASCODE = im.S(size_t(i) * RECORD, CODE_CAP);
        t.L[size_t(i)].KRASPOSOT = im.S(size_t(i) * RECORD + CODE_CAP + 1, POSOT_CAP);
    }
    return t;
}

std::string EGRDOC::encode() const {
    return UMAS::cut(EGGRCODE, CODE_CAP) + "\r\n" + UMAS::cut(EGGRNAME, NAME_CAP) + "\r\n";
}

EGRDOC EGRDOC::decode(const std::string& bytes) {
    const std::vector<std::string> lines = PLAT::splitLines(bytes);
    EGRDOC d;
    if (lines.size() > 0) d.EGGRCODE = UMAS::cut(lines[0], CODE_CAP);
    if (lines.size() > 1) d.EGGRNAME = UMAS::cut(lines[1], NAME_CAP);
    return d;
}

// ---- Readers and writers ---------------------------------------------------------------------
namespace {

template <class T>
bool readInto(const std::string& name, T& t) {
    const auto whole = PLAT::readWhole(name);
    t = T::decode(whole ? *whole : std::string());
    return whole.has_value();
}

}  // namespace

bool READGRID(const std::string& name, TDILOS& t) { return readInto(name, t); }
void WRITEGRID(const std::string& name, const TDILOS& t) { PLAT::writeWholeAtomic(name, t.encode()); }

bool READT44(const std::string& name, THESI44& t, bool* oldLayout) {
    const auto whole = PLAT::readWhole(name);
    t = THESI44::decode(whole ? *whole : std::string());
    if (oldLayout) *oldLayout = whole && whole->size() == THESI44::OLD_SIZE;
    return whole.has_value();
}
void WRITET44(const std::string& name, const THESI44& t) { PLAT::writeWholeAtomic(name, t.encode()); }

bool READTIT(const std::string& name, ST_TIR& t) { return readInto(name, t); }
void WRITETIT(const std::string& name, const ST_TIR& t) { PLAT::writeWholeAtomic(name, t.encode()); }

bool READCONT(const std::string& name, CONTBUF& t) { return readInto(name, t); }
void WRITECONT(const std::string& name, const CONTBUF& t) { PLAT::writeWholeAtomic(name, t.encode()); }

bool READEGR(const std::string& name, EGRDOC& t) { return readInto(name, t); }
void WRITEEGR(const std::string& name, const EGRDOC& t) { PLAT::writeWholeAtomic(name, t.encode()); }

bool READKRAS(const std::string& name, KRASBUF& t) { return readInto(name, t); }
void WRITEKRAS(const std::string& name, const KRASBUF& t) { PLAT::writeWholeAtomic(name, t.encode()); }

bool READEGGIISI(std::string& number) {
    const auto lines = PLAT::readLines(EGGIISI);
    number = lines && !lines->empty() ? UMAS::cut((*lines)[0], EGGIISI_CAP) : std::string();
    return lines.has_value();
}

void WRITEEGGIISI(const std::string& number) { PLAT::writeWholeAtomic(EGGIISI, number + "\r\n"); }

// ---- ISO 6346 ---------------------------------------------------------------------------------

int ISO6346VALUE(char c) {
    if (c < 'A' || c > 'Z') return -1;
    int v = 10 + (c - 'A');
    if (c >= 'B') ++v;  // 11 is skipped
    if (c >= 'L') ++v;  // 22
    if (c >= 'V') ++v;  // 33
    return v;
}

char CONTAINER_DIGIT(const std::string& S) {
    if (S.size() < 10) return '?';
    long sum = 0;
    for (int i = 0; i < 10; ++i) {
        const char c = S[size_t(i)];
        int v;
        if (i < 4) {
            v = ISO6346VALUE(c);
            if (v < 0) return '?';
        } else {
            if (c < '0' || c > '9') return '?';
            v = c - '0';
        }
        sum += long(v) << i;
    }
    const int r = int(sum % 11);
    return r == 10 ? '0' : char('0' + r);
}

}  // namespace EKEXTRA
