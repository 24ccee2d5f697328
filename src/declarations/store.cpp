// The store formats: records, keys, fields, area chains, the index find and the installed files.
#include "declarations/store.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "declarations/store_tx.h"
#include "platform/codec.h"
#include "platform/fatal.h"
#include "platform/files.h"

namespace STORE {

const Layout DECL{"DISM.DAT", "DISD.DAT", "DISI.DAT", "DISN.DAT", 17, 10, 7201, 7200, 3599, 3600, 3598};
const Layout SHEET{"BISM.DAT", "BISD.DAT", "BISI.DAT", "BISN.DAT", 21, 14, 7001, 7000, 3499, 3500, 3498};

int crashAfterWrites = -1;

// ---- Records -----------------------------------------------------------------------------------

RR1 RR1::decode(const uint8_t* p) { return {PLAT::getL(p), PLAT::getW(p + 4)}; }
void RR1::encode(uint8_t* p) const {
    PLAT::putL(p, HR);
    PLAT::putW(p + 4, NR);
}
RD0 RD0::decode(const uint8_t* p) { return {PLAT::getL(p), PLAT::getW(p + 4)}; }
void RD0::encode(uint8_t* p) const {
    PLAT::putL(p, RP);
    PLAT::putW(p + 4, SZ);
}

Head decodeHead(const Layout& L, const uint8_t* p) {
    return {PLAT::getW(p), PLAT::getW(p + 2), PLAT::getW(p + 4), PLAT::getS(p + 6, L.keyLen)};
}
void encodeHead(const Layout& L, const Head& h, uint8_t* p) {
    PLAT::putW(p, h.SY);
    PLAT::putW(p + 2, h.US);
    PLAT::putW(p + 4, h.FA);
    PLAT::putS(p + 6, L.keyLen, h.TI);
}
Entry decodeEntry(const Layout& L, const uint8_t* p) {
    return {PLAT::getL(p), PLAT::getW(p + 4), PLAT::getS(p + 6, L.keyLen)};
}
void encodeEntry(const Layout& L, const Entry& e, uint8_t* p) {
    PLAT::putL(p, e.RE);
    PLAT::putW(p + 4, e.AL);
    PLAT::putS(p + 6, L.keyLen, e.KL);
}

// ---- Keys and dates ----------------------------------------------------------------------------

uint8_t INS(char C) { return C == ' ' ? 0 : uint8_t(uint8_t(C) - 48); }

std::string padKey(const std::string& key, int n) {
    std::string s = key.substr(0, size_t(n));
    s.resize(size_t(n), ' ');
    return s;
}

int partitionOf(const std::string& key) {
    if (key.empty() || key[0] < '1' || key[0] > '9') return 0;
    return key[0] - '0';
}

int compareKeys(const std::string& a, const std::string& b, int n) {
    for (int j = 0; j < n; ++j) {
        char x = size_t(j) < a.size() ? a[size_t(j)] : ' ';
        char y = size_t(j) < b.size() ? b[size_t(j)] : ' ';
        if (INS(x) != INS(y)) return INS(x) < INS(y) ? -1 : 1;
    }
    return 0;
}

std::string numberText(const std::string& s) {
    std::string n;
    for (char c : s)
        if (c != ' ') n += c;
    n.erase(0, std::min(n.find_first_not_of('0'), n.size()));
    return n;
}

bool itemOf(const std::string& box10, const std::string& key, int rest) {
    const std::string n = numberText(box10);
    if (n.empty() || n.find_first_not_of("0123456789") != std::string::npos) return true;
    const std::string k = padKey(key, SHEET.keyLen);
    const size_t len = k.find_last_not_of(' ') + 1;
    return k.compare(0, n.size(), n) == 0 && len > n.size() && (rest <= 0 || len <= n.size() + size_t(rest));
}

std::optional<int32_t> dayKey(const std::string& HM) {
    if (HM.size() != 6) return std::nullopt;
    for (char c : HM)
        if (c < '0' || c > '9') return std::nullopt;
    int dd = (HM[0] - '0') * 10 + (HM[1] - '0');
    int mm = (HM[2] - '0') * 10 + (HM[3] - '0');
    int yy = (HM[4] - '0') * 10 + (HM[5] - '0');
    if (dd < 1 || dd > 31 || mm < 1 || mm > 12) return std::nullopt;
    if (yy < 90) yy += 100;
    int32_t day = (dd - 1) + (mm - 1) * 31 + (yy - 90) * 372;
    if (day < 0 || day >= DAY_HEADS) return std::nullopt;
    return day;
}

// ---- Fields ------------------------------------------------------------------------------------

void putField(std::string& data, const std::string& text, bool numberAllowed) {
    size_t L = text.size();
    while (L > 0 && text[L - 1] == ' ') --L;
    bool number = numberAllowed && L >= 1 && L <= 9 && text[0] != '0';
    for (size_t i = 0; number && i < L; ++i)
        if (text[i] < '0' || text[i] > '9') number = false;
    if (number) {
        uint32_t v = 0;
        for (size_t i = 0; i < L; ++i) v = v * 10 + uint32_t(text[i] - '0');
        int n = v <= 255 ? 1 : v <= 65535 ? 2 : v <= 16777215 ? 3 : 4;
        data += char(100 + n);
        for (int k = 0; k < n; ++k) data += char(uint8_t(v >> (8 * k)));
        return;
    }
    if (L > 99) L = 99;
    data += char(L);
    data.append(text, 0, L);
}

std::string FieldReader::next() {
    if (damaged) return "";
    if (i >= data.size()) {
        damaged = true;
        return "";
    }
    uint8_t B = uint8_t(data[i++]);
    if (B <= 99) {
        if (i + B > data.size()) {
            damaged = true;
            return "";
        }
        std::string s = data.substr(i, B);
        i += B;
        return s;
    }
    if (B > 104) {
        damaged = true;
        return "";
    }
    size_t n = B - 100u;
    if (i + n > data.size()) {
        damaged = true;
        return "";
    }
    uint32_t v = 0;
    for (size_t k = 0; k < n; ++k) v |= uint32_t(uint8_t(data[i + k])) << (8 * k);
    i += n;
    return std::to_string(v);
}

bool FieldReader::skip() {
    if (damaged || i >= data.size()) return !(damaged = true);
    uint8_t B = uint8_t(data[i]);
    size_t n = B <= 99 ? B : B <= 104 ? size_t(B - 100) : data.size();
    if (i + 1 + n > data.size()) return !(damaged = true);
    i += 1 + n;
    return true;
}

bool FieldReader::raw(uint8_t* out, size_t n) {
    if (damaged || i + n > data.size()) {
        damaged = true;
        std::memset(out, 0, n);
        return false;
    }
    std::memcpy(out, data.data() + i, n);
    i += n;
    return true;
}

// ---- Area chains -------------------------------------------------------------------------------

Source fileSource(const std::string& path) {
    auto bytes = std::make_shared<std::string>();
    PLAT::File f;
    if (f.open(path, PLAT::File::READ, false)) {
        bytes->resize(size_t(f.size()));
        bytes->resize(f.readSome(0, bytes->data(), bytes->size()));
    }
    Source s;
    s.size = int64_t(bytes->size());
    s.read = [bytes](int64_t off, void* buf, size_t n) {
        if (off < 0 || off + int64_t(n) > int64_t(bytes->size())) return false;
        std::memcpy(buf, bytes->data() + off, n);
        return true;
    };
    return s;
}

Chain readChain(const Source& src, int32_t pos, bool sheet) {
    Chain c;
    int64_t limit = -1;  // data bytes the first area announces
    for (;;) {
        if (pos < 0 || int64_t(pos) + 4 >= src.size || pos >= POS_LIMIT) {
            c.error = "area position " + std::to_string(pos) + " outside the file";
            return c;
        }
        uint8_t h[4];
        if (!src.read(pos, h, 4)) {
            c.error = "area header unreadable";
            return c;
        }
        Area a{pos, PLAT::getWBE(h), PLAT::getWBE(h + 2)};
        c.areas.push_back(a);
        if (a.SIZ < 5 || a.REM < 5) {
            c.error = "area header too small at " + std::to_string(pos);
            return c;
        }
        if (limit < 0) limit = int64_t(a.REM) - 4;
        bool last = a.REM <= a.SIZ;
        int64_t n;
        if (last) {
            n = int64_t(a.REM) - 4;
            int64_t avail = src.size - pos - 4;
            if (sheet) {
                // A sheet's REM counts the 4 bytes after its data.
                if (n > avail + 4) {
                    c.error = "area beyond the end of the file at " + std::to_string(pos);
                    return c;
                }
                n = std::min(n, avail);
            } else if (int64_t(pos) + a.SIZ > src.size) {
                c.error = "area beyond the end of the file at " + std::to_string(pos);
                return c;
            }
        } else {
            if (a.SIZ < 9 || int64_t(pos) + a.SIZ > src.size) {
                c.error = "bad area at " + std::to_string(pos);
                return c;
            }
            n = int64_t(a.SIZ) - 8;
        }
        if (int64_t(c.data.size()) + n > limit) {
            c.error = "area chain longer than announced at " + std::to_string(pos);
            return c;
        }
        size_t at = c.data.size();
        c.data.resize(at + size_t(n));
        if (n > 0 && !src.read(int64_t(pos) + 4, c.data.data() + at, size_t(n))) {
            c.error = "area data unreadable at " + std::to_string(pos);
            return c;
        }
        if (last) break;
        uint8_t nx[4];
        if (!src.read(int64_t(pos) + a.SIZ - 4, nx, 4)) {
            c.error = "next-area position unreadable at " + std::to_string(pos);
            return c;
        }
        pos = PLAT::getLBE(nx);
    }
    c.ok = true;
    return c;
}

// ---- Index and chains, read only ---------------------------------------------------------------

Found find(const std::string& dir, const Layout& L, const std::string& keyIn) {
    Found r;
    std::string key = padKey(keyIn, L.keyLen);
    int d = partitionOf(key);
    if (d == 0) return r;
    Tx tx(dir);
    int f = tx.open(L.I, false);
    int64_t recs = tx.records(f, L.recSize);
    std::vector<uint8_t> b(size_t(L.recSize));
    int64_t h = int64_t(d - 1) * L.stride;
    int64_t last = -1;
    try {
        tx.read(f, h * L.recSize, b.data(), b.size());
        Head head = decodeHead(L, b.data());
        int64_t R = head.FA;
        for (int64_t steps = 0; R != 0; ++steps) {
            if (R >= recs || steps > recs) {
                r.damaged = true;
                return r;
            }
            tx.read(f, R * L.recSize, b.data(), b.size());
            last = R;
            const char* raw = reinterpret_cast<const char*>(b.data() + 7);
            int32_t RE = PLAT::getL(b.data());
            if (b[6] == L.keyLen && std::memcmp(raw, key.data(), size_t(L.keyLen)) == 0 && RE != NONE) {
                r.found = true;
                r.pos = RE;
                r.slot = int32_t(R);
                break;
            }
            int j = L.keyLen - 1;
            for (int k = 0; k < L.keyLen; ++k)
                if (raw[k] != key[size_t(k)] || INS(raw[k]) != INS(key[size_t(k)])) {
                    j = k;
                    break;
                }
            if (INS(raw[j]) > INS(key[size_t(j)])) break;
            R = PLAT::getW(b.data() + 4);
        }
        if (last >= 0) {
            tx.read(f, last * L.recSize, b.data(), b.size());
            r.lastKey = decodeEntry(L, b.data()).KL;
        }
    } catch (const Damaged&) {
        r.damaged = true;
    }
    return r;
}

Items itemsOf(const std::string& dir, const std::string& number) {
    Items r;
    const Layout& L = SHEET;
    const int d = partitionOf(number);
    if (d == 0 || number.size() + 4 > size_t(L.keyLen) || number.find(' ') != std::string::npos) return r;
    Tx tx(dir);
    int f = tx.open(L.I, false);
    int64_t recs = tx.records(f, L.recSize);
    std::vector<uint8_t> b(size_t(L.recSize));
    try {
        tx.read(f, int64_t(d - 1) * L.stride * L.recSize, b.data(), b.size());
        int64_t R = decodeHead(L, b.data()).FA;
        for (int64_t steps = 0; R != 0; ++steps) {
            if (R >= recs || steps > recs) {
                r.damaged = true;
                break;
            }
            tx.read(f, R * L.recSize, b.data(), b.size());
            const Entry e = decodeEntry(L, b.data());
            const std::string key = padKey(e.KL, L.keyLen);
            bool mine = e.RE != NONE && key.compare(0, number.size(), number) == 0;
            for (size_t i = number.size(); mine && i < size_t(L.keyLen); ++i)
                mine = i < number.size() + 4 ? key[i] >= '0' && key[i] <= '9' : key[i] == ' ';
            if (mine) r.items.emplace_back(key, e.RE);
            R = e.AL;
        }
    } catch (const Damaged&) {
        r.damaged = true;
    }
    return r;
}

ChainWalk walkChain(const Source& src, int32_t head) {
    ChainWalk w;
    w.damaged = !walkNodes(src, 0, head, [&](int32_t hr) {
        if (hr != NONE) w.positions.push_back(hr);
        return true;
    });
    return w;
}

bool walkNodes(const Source& src, int64_t heads, int32_t head, const std::function<bool(int32_t)>& row) {
    const int64_t recs = src.size / 6;
    std::unordered_set<int64_t> seen;
    for (int64_t R = head;;) {
        uint8_t b[6];
        if (R < 0 || R >= recs || (R != head && R < heads) || !seen.insert(R).second || !src.read(R * 6, b, 6))
            return false;
        const RR1 n = RR1::decode(b);
        if (!row(n.HR)) return true;
        if (n.NR == 0) return true;
        R = n.NR;
    }
}

// ---- Installation ------------------------------------------------------------------------------

namespace {

std::string indexImage(const Layout& L) {
    std::string img(size_t(9) * size_t(L.stride) * size_t(L.recSize), '\0');
    for (int d = 0; d < 9; ++d) {
        Head h;
        h.SY = uint16_t(L.block);
        encodeHead(L, h, reinterpret_cast<uint8_t*>(img.data()) + size_t(d) * size_t(L.stride) * size_t(L.recSize));
    }
    return img;
}

std::string chainImage(int heads) {
    std::string img(size_t(heads) * 6, '\0');
    RR1 empty;
    for (int i = 0; i < heads; ++i) empty.encode(reinterpret_cast<uint8_t*>(img.data()) + size_t(i) * 6);
    return img;
}

void installOne(const std::string& dir, const std::string& name, const std::function<std::string()>& image) {
    std::string p = dir + name;
    if (PLAT::fileSize(p) >= 0) return;
    PLAT::writeWholeNew(p, image());
}

}  // namespace

void installFiles(const std::string& dirIn) {
    std::string dir = dirIn;
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
    installOne(dir, "DISM.DAT", [] { return std::string(); });
    installOne(dir, "DISD.DAT", [] { return std::string(2000, '\0'); });
    installOne(dir, "DISI.DAT", [] { return indexImage(DECL); });
    installOne(dir, "DISN.DAT", [] { return std::string(9000, '\0'); });
    installOne(dir, "DISH.DAT", [] { return chainImage(DAY_HEADS); });
    installOne(dir, "DIPE.DAT", [] { return chainImage(CUST_HEADS); });
    installOne(dir, "BISM.DAT", [] { return std::string(); });
    installOne(dir, "BISD.DAT", [] { return std::string(2000, '\0'); });
    installOne(dir, "BISI.DAT", [] { return indexImage(SHEET); });
    installOne(dir, "BISN.DAT", [] { return std::string(9000, '\0'); });
}

}  // namespace STORE
