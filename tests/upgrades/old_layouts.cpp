#include "upgrades/old_layouts.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/codepage.h"

namespace fs = std::filesystem;

namespace OLD {

std::string S(int cap, const std::string& text) {
    std::string t = text.substr(0, size_t(cap));
    std::string out(1, char(t.size()));
    out += t;
    out.append(size_t(cap) - t.size(), '\0');
    return out;
}
std::string W(uint16_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; }
std::string L(int32_t v) {
    uint32_t u = uint32_t(v);
    return std::string{char(u & 0xFF), char((u >> 8) & 0xFF), char((u >> 16) & 0xFF), char(u >> 24)};
}
std::string B(uint8_t v) { return std::string(1, char(v)); }
std::string pad(std::string s, size_t n) {
    if (s.size() < n) s.append(n - s.size(), '\0');
    return s;
}

std::string ORECPOL(const Pol& p) { return W(p.kv) + S(20, p.ci); }
std::string RECPOL(const std::string& kv, const std::string& ci) { return S(4, kv) + S(20, ci); }

std::string OORECNOM(uint16_t kv, const Nom& n) { return W(kv) + S(20, n.no) + S(3, n.st) + W(n.mo) + S(7, n.ig) + S(7, n.is); }
std::string ORECNOM(const Nom& n) { return S(4, n.kv) + S(20, n.no) + S(3, n.st) + W(n.mo) + S(7, n.ig) + S(7, n.is); }
std::string RECNOM(const Nom& n) { return S(4, n.kv) + S(20, n.no) + S(3, n.st) + W(n.mo) + S(8, n.ig) + S(8, n.is); }
std::string nomHead(const std::string& h1, const std::string& h2) { return S(6, h1) + S(6, h2); }

std::string ORECPRE1(const std::string& ee) { return S(30, ee); }
std::string ORECPRE2(const std::string& kv, const std::string& ee) { return S(3, kv) + S(30, ee); }
std::string RECPRE(const std::string& kv, const std::string& ee) { return S(4, kv) + S(30, ee); }

std::string ORECTAX(uint16_t kv, const Tax& t) { return W(kv) + S(14, t.fo) + S(7, t.ps) + B(t.ei); }
std::string RECTAX(const std::string& kv, const Tax& t) { return S(3, kv) + S(14, t.fo) + S(7, t.ps) + B(t.ei); }

std::string ORECTEL(uint16_t kv, const std::string& te) { return W(kv) + S(20, te); }
std::string RECTEL(uint16_t kv, const std::string& te, const std::string& ci) { return W(kv) + S(20, te) + S(20, ci); }

std::string ORECPEL(const Customer& c) {
    return S(30, c.ea) + S(10, c.af) + S(30, c.on) + S(30, c.di) + S(20, c.po) + S(6, c.tk) + S(13, c.th1) +
           S(13, c.th2) + S(20, c.ep) + S(30, c.sx) + B(c.dk) + L(c.xr) + L(c.pi) + S(30, c.ef);
}
std::string RR0(const Customer& c) {
    return S(30, c.ea) + S(10, c.af) + S(40, c.on) + S(40, c.di) + S(40, c.po) + S(6, c.tk) + S(13, c.th1) +
           S(13, c.th2) + S(30, c.ep) + S(30, c.sx) + B(c.dk) + L(c.xr) + L(c.pi) + S(30, c.ef);
}

Customer sample(int n) {
    auto fill = [n](const char* base, int len) {
        std::string s = PLAT::utf8ToCp737(base) + std::to_string(n);
        while (int(s.size()) < len) s += char('A' + (s.size() + size_t(n)) % 26);
        return s.substr(0, size_t(len));
    };
    Customer c;
    c.ea = fill("ΠΕΛΑΤΗΣ ", 30);
    c.af = std::to_string(100000000 + n).substr(0, 9);
    c.on = fill("ΔΕΥΤΕΡΗ ", 20 + n % 11);
    c.di = fill("ΟΔΟΣ ", 30);
    c.po = fill("ΠΟΛΗ ", 5 + n % 16);
    c.tk = "18535";
    c.th1 = "210-4100000";
    c.th2 = n % 2 ? "" : "6944-000000";
    c.ep = fill("ΕΠΑΓΓΕΛΜΑ ", 20);
    c.sx = fill("GR", 17);
    c.dk = uint8_t(n % 3);
    c.xr = 1000 * n + 7;
    c.pi = -n;
    c.ef = fill("ΔΟΥ ", 12 + n % 19);
    return c;
}

OldIndex::OldIndex() : img(20200, '\0') {}
void OldIndex::head(int bucket, uint16_t first) { img.replace(size_t(bucket) * 101 * 4 + 2, 2, W(first)); }
void OldIndex::entry(uint16_t pos, uint16_t customer, uint16_t next) {
    img.replace(size_t(pos) * 4, 4, B(uint8_t(customer & 0xFF)) + B(uint8_t(customer >> 8)) + W(next));
}
void OldIndex::chain(int bucket, const std::vector<uint16_t>& customers) {
    uint16_t first = uint16_t(bucket * 101 + 1);
    head(bucket, customers.empty() ? 0 : first);
    for (size_t i = 0; i < customers.size(); ++i)
        entry(uint16_t(first + i), customers[i], i + 1 < customers.size() ? uint16_t(first + i + 1) : 0);
}

std::string newIndex(int buckets, const std::map<int, std::vector<int32_t>>& chains) {
    std::string out;
    for (int b = 0; b < buckets; ++b) {
        std::string bucket(5001 * 8, '\0');
        auto it = chains.find(b);
        int32_t headPos = b * 5001;
        int n = it == chains.end() ? 0 : int(it->second.size());
        bucket.replace(0, 8, W(5000) + W(uint16_t(n)) + L(n ? headPos + 1 : 0));
        for (int i = 0; i < n; ++i)
            bucket.replace(size_t(i + 1) * 8, 8, L(it->second[size_t(i)]) + L(i + 1 < n ? headPos + i + 2 : 0));
        out += bucket;
    }
    return out;
}

std::string ORECPARTIM7(uint16_t kv, const std::string& pedio, const std::string& status, const std::string& typos,
                        const std::string& times) {
    return W(kv) + S(22, pedio) + S(1, status) + S(10, typos) + S(10, times);
}
std::string RECPARTIM7(uint16_t kv, const std::string& pedio, const std::string& status, const std::string& mikos,
                       const std::string& typos, const std::string& times) {
    return W(kv) + S(22, pedio) + S(1, status) + S(5, mikos) + S(1, typos) + S(10, times);
}
std::string RECSEIRES(const Series& s) {
    return S(2, s.seira) + L(s.aa) + B(s.porta) + B(s.miksel) + B(s.katak) + B(s.oriz) + B(s.emul) + B(s.polap) +
           B(s.formix);
}

Goods goods(int n) {
    Goods g;
    for (int i = 0; i < 6; ++i) g.ri[i] = PLAT::utf8ToCp737("ΕΙΔΟΣ ") + std::to_string(n) + "/" + std::to_string(i) + std::string(size_t(n % 9), 'x');
    for (int i = 0; i < 20; ++i) g.tr[i] = std::to_string(1000 + n + i);
    for (int i = 0; i < 48; ++i) g.pc[i] = i % 3 ? std::to_string(i) + "." + std::to_string(n % 10) : "";
    for (int i = 0; i < 6; ++i) g.sx[i] = "SX" + std::to_string(n * 10 + i);
    g.ee = uint8_t(n % 4);
    for (int i = 0; i < 20; ++i)
        for (int j = 0; j < 8; ++j) g.kf[i][j] = uint8_t((n + i * 8 + j) % 49);
    return g;
}
Goods blankGoods() {
    Goods g;
    for (auto& t : g.ri) t = std::string(40, ' ');
    for (auto& t : g.tr) t = std::string(6, ' ');
    for (auto& t : g.pc) t = std::string(7, ' ');
    for (auto& t : g.sx) t = std::string(23, ' ');
    return g;
}
namespace {
std::string goodsHead(const Goods& g, int taxes) {
    std::string s;
    for (const auto& t : g.ri) s += S(40, t);
    s += B(g.ee);
    for (const auto& t : g.tr) s += S(6, t);
    for (const auto& row : g.kf)
        for (uint8_t b : row) s += B(b);
    for (int i = 0; i < taxes; ++i) s += S(7, g.pc[i]);
    for (const auto& t : g.sx) s += S(23, t);
    return s;
}
}  // namespace
std::string ORECPEMP(const Goods& g) { return goodsHead(g, 24); }
std::string REK(const Goods& g) { return goodsHead(g, 48); }
std::string REC(const std::string& kv, uint16_t ri) { return S(26, kv) + W(ri); }

DayTable::DayTable(int records, size_t r) : rec(r) {
    for (int i = 0; i < records; ++i) img += empty();
}
std::string DayTable::empty() const { return rec == 4 ? W(65000) + W(0) : L(40000000) + W(0); }
void DayTable::node(int r, int32_t hr, uint16_t nr) {
    while (int(img.size() / rec) <= r) img += empty();
    img.replace(size_t(r) * rec, rec, (rec == 4 ? W(uint16_t(hr)) : L(hr)) + W(nr));
}
DayTable DayTable::widened(int at, int n) const {
    DayTable t(0, rec);
    for (int r = 0; r < records(); ++r) {
        if (r == at)
            for (int i = 0; i < n; ++i) t.img += empty();
        std::string x = img.substr(size_t(r) * rec, rec);
        uint16_t nr = uint16_t(uint8_t(x[rec - 2]) | (uint8_t(x[rec - 1]) << 8));
        if (nr != 0) x.replace(rec - 2, 2, W(uint16_t(nr + n)));
        t.img += x;
    }
    if (records() == at)
        for (int i = 0; i < n; ++i) t.img += empty();
    return t;
}

NumberIndex::NumberIndex(int s, int r, int k) : img(size_t(9 * s * r), '\0'), stride(s), rec(r), keyLen(k) {
    for (int d = 0; d < 9; ++d) head(d, uint16_t(s - 1), 0, 0);
}
void NumberIndex::head(int bucket, uint16_t sy, uint16_t us, uint16_t fa) {
    img.replace(size_t(bucket * stride * rec), 6, W(sy) + W(us) + W(fa));
}
void NumberIndex::entry(int pos, int32_t re, uint16_t al, const std::string& kl) {
    img.replace(size_t(pos * rec), size_t(rec), L(re) + W(al) + S(keyLen, kl));
}
NumberIndex NumberIndex::rebuilt(int stride, int rec, int keyLen,
                                 const std::map<int, std::vector<std::pair<int32_t, std::string>>>& chains) {
    NumberIndex x(stride, rec, keyLen);
    for (const auto& [d, chain] : chains) {
        int first = d * stride + 1, n = int(chain.size());
        x.head(d, uint16_t(stride - 1), uint16_t(n), uint16_t(n ? first : 0));
        for (int i = 0; i < n; ++i)
            x.entry(first + i, chain[size_t(i)].first, uint16_t(i + 1 < n ? first + i + 1 : 0), chain[size_t(i)].second);
    }
    return x;
}

bool sameBytes(const std::string& path, const std::string& bytes) {
    std::error_code ec;
    if (fs::file_size(path, ec) != bytes.size() || ec) return false;
    std::ifstream f(path, std::ios::binary);
    static char buf[65536];
    for (size_t off = 0; off < bytes.size();) {
        size_t n = std::min(sizeof buf, bytes.size() - off);
        if (!f.read(buf, std::streamsize(n)) || std::memcmp(buf, bytes.data() + off, n) != 0) return false;
        off += n;
    }
    return true;
}

std::vector<std::string> fileNames(const std::string& dir) {
    std::vector<std::string> v;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.is_regular_file()) v.push_back(e.path().filename().string());
    return v;
}

std::map<std::string, std::string> snapshot(const std::string& dir) {
    std::map<std::string, std::string> m;
    for (const auto& e : fs::directory_iterator(dir)) {
        if (!e.is_regular_file()) continue;
        std::string bytes(size_t(e.file_size()), '\0');
        std::ifstream f(e.path(), std::ios::binary);
        f.read(bytes.data(), std::streamsize(bytes.size()));
        m[e.path().filename().string()] = std::move(bytes);
    }
    return m;
}

void restore(const std::map<std::string, std::string>& files, const std::string& to) {
    fs::create_directories(to);
    for (const auto& e : fs::directory_iterator(to))
        if (e.is_regular_file() && !files.count(e.path().filename().string())) fs::remove(e.path());
    for (const auto& [name, bytes] : files) {
        fs::path p = fs::path(to) / name;
        std::error_code ec;
        if (fs::is_regular_file(p, ec) && fs::hard_link_count(p, ec) == 1 && sameBytes(p.string(), bytes)) continue;
        fs::remove(p);  // a fresh file: no second name shared with a backup
        std::ofstream f(p, std::ios::binary | std::ios::trunc);
        f.write(bytes.data(), std::streamsize(bytes.size()));
    }
}

}  // namespace OLD
