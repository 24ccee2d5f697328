// The store checker: every rule of the two stores verified on a company folder, read only.
#include <algorithm>
#include <map>
#include <set>

#include "declarations/store.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace STORE {

namespace {

struct Bytes {
    std::string b;
    bool present = false;
    int64_t size() const { return int64_t(b.size()); }
    const uint8_t* at(int64_t off) const { return reinterpret_cast<const uint8_t*>(b.data()) + off; }
};

Bytes load(const std::string& path) {
    Bytes x;
    PLAT::File f;
    if (!f.open(path, PLAT::File::READ, false)) return x;
    x.present = true;
    x.b.resize(size_t(f.size()));
    x.b.resize(f.readSome(0, x.b.data(), x.b.size()));
    return x;
}

Source sourceOf(const Bytes& x) {
    Source s;
    s.size = x.size();
    s.read = [&x](int64_t off, void* buf, size_t n) {
        if (off < 0 || off + int64_t(n) > x.size()) return false;
        std::memcpy(buf, x.b.data() + off, n);
        return true;
    };
    return s;
}

std::string trimKey(const std::string& k) {
    size_t b = k.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    size_t e = k.find_last_not_of(' ');
    return k.substr(b, e - b + 1);
}

struct Live {
    int32_t pos = 0;
    std::string key;
    std::string data;
    std::string date;
    uint16_t cust = NO_CUSTOMER;
    std::vector<Area> areas;
};

struct Checker {
    Report& rep;
    bool strict;
    void err(const std::string& s) { rep.errors.push_back(s); }
    void warn(const std::string& s) { rep.warnings.push_back(s); }
    // A record file holds every byte that an entry names; one shorter was cut, and the next store
    // would append over what lies past its end. Told once per file.
    std::set<std::string> shortFiles;
    void within(const std::string& file, int64_t size, int64_t from, int64_t to, const std::string& who) {
        if (from >= 0 && to <= size) return;
        if (!shortFiles.insert(file).second) return;
        err(file + ": " + std::to_string(size) + " bytes, shorter than what is named: " + who + " at " + std::to_string(from));
    }

    // The index and its freed slots; the live entries in list order.
    std::vector<Live> index(const Layout& L, const Bytes& I, const Bytes& N) {
        std::vector<Live> live;
        std::string nm = L.I;
        int64_t recs = I.size() / L.recSize;
        if (!I.present || recs < int64_t(9) * L.stride) {
            err(nm + ": missing or shorter than 9 partitions");
            return live;
        }
        std::vector<char> seen(size_t(recs), 0);
        for (int d = 1; d <= 9; ++d) {
            int64_t H = int64_t(d - 1) * L.stride;
            std::string where = nm + " partition " + std::to_string(d);
            Head h = decodeHead(L, I.at(H * L.recSize));
            // The blocks of the partition.
            int64_t bh = H;
            Head b = h;
            for (int steps = 0;; ++steps) {
                if (b.SY < 2 || bh + b.SY >= recs || b.US > b.SY - 1) {
                    err(where + ": block head " + std::to_string(bh) + " damaged");
                    break;
                }
                if (b.US < b.SY - 1) break;
                int32_t link = PLAT::getL(I.at((bh + b.SY) * L.recSize));
                if (link == 0) break;  // full; the next store finds a lender or is refused
                if (link < 0 || link >= recs || link % L.stride != L.lendHalf || steps > 16) {
                    err(where + ": link of block " + std::to_string(bh) + " to " + std::to_string(link) + " damaged");
                    break;
                }
                bh = link;
                b = decodeHead(L, I.at(bh * L.recSize));
            }
            // The list.
            int64_t R = h.FA;
            std::string prev;
            while (R != 0) {
                if (R < 0 || R >= recs) {
                    err(where + ": link to " + std::to_string(R) + " outside the file");
                    break;
                }
                if (seen[size_t(R)]) {
                    err(where + ": record " + std::to_string(R) + " linked twice (a loop or two lists)");
                    break;
                }
                seen[size_t(R)] = 1;
                if (R % L.stride == 0) err(where + ": partition head " + std::to_string(R) + " in the list");
                Entry e = decodeEntry(L, I.at(R * L.recSize));
                std::string key = padKey(e.KL, L.keyLen);
                if (partitionOf(key) != d) err(where + ": key \"" + trimKey(key) + "\" in the wrong partition");
                if (!prev.empty() && compareKeys(prev, key, L.keyLen) > 0)
                    err(where + ": \"" + trimKey(prev) + "\" before \"" + trimKey(key) + "\" out of key order");
                prev = key;
                if (e.RE != NONE) live.push_back(Live{e.RE, key, "", "", NO_CUSTOMER, {}});
                R = e.AL;
            }
        }
        if (!N.present || N.size() < 9 * FREED_PER_PARTITION * 2) {
            err(std::string(L.N) + ": missing or short");
            return live;
        }
        for (int d = 1; d <= 9; ++d) {
            int64_t w = int64_t(d - 1) * FREED_PER_PARTITION;
            uint16_t C = PLAT::getW(N.at(w * 2));
            if (C > FREED_KEPT) {
                err(std::string(L.N) + " partition " + std::to_string(d) + ": " + std::to_string(C) + " freed slots");
                continue;
            }
            for (int i = 1; i <= C; ++i) {
                uint16_t s = PLAT::getW(N.at((w + i) * 2));
                if (s == 0 || s >= recs)
                    err(std::string(L.N) + ": freed slot " + std::to_string(s) + " outside the index");
                else if (seen[s])
                    err(std::string(L.N) + ": freed slot " + std::to_string(s) + " is still linked");
            }
        }
        return live;
    }

    void overlaps(std::vector<std::tuple<int64_t, int64_t, std::string>> ext, const std::string& file) {
        std::sort(ext.begin(), ext.end());
        for (size_t i = 1; i < ext.size(); ++i) {
            auto& [p0, e0, w0] = ext[i - 1];
            auto& [p1, e1, w1] = ext[i];
            if (p1 < e0) err(file + ": " + w0 + " and " + w1 + " share bytes at " + std::to_string(p1));
        }
    }

    // A chain file: entries must name live declarations keyed as the chain; each counted.
    void chains(const std::string& nm, const Bytes& F, int heads, const std::map<int32_t, Live*>& byPos,
                const std::function<std::optional<int32_t>(const Live&)>& keyOf, std::map<int32_t, int>& member) {
        int64_t recs = F.size() / 6;
        if (!F.present || recs < heads) {
            err(nm + ": missing or shorter than " + std::to_string(heads) + " heads");
            return;
        }
        std::vector<char> seen(size_t(recs), 0);
        for (int64_t k = 0; k < heads; ++k) {
            int64_t R = k;
            for (;;) {
                RR1 n = RR1::decode(F.at(R * 6));
                if (n.HR != NONE) {
                    auto it = byPos.find(n.HR);
                    if (it == byPos.end()) {
                        err(nm + ": chain " + std::to_string(k) + " names position " + std::to_string(n.HR) +
                            ", no stored declaration");
                    } else {
                        auto want = keyOf(*it->second);
                        if (!want || *want != k)
                            err(nm + ": declaration " + trimKey(it->second->key) + " in chain " + std::to_string(k));
                        member[n.HR]++;
                    }
                }
                if (n.NR == 0) break;
                if (n.NR < heads || n.NR >= recs) {
                    err(nm + ": chain " + std::to_string(k) + " links to " + std::to_string(n.NR));
                    break;
                }
                if (seen[n.NR]) {
                    err(nm + ": node " + std::to_string(n.NR) + " reached twice");
                    break;
                }
                seen[n.NR] = 1;
                R = n.NR;
            }
        }
    }
};

std::string fromHex(const std::string& h) {
    std::string out;
    for (size_t i = 0; i + 1 < h.size(); i += 2) out += char(std::stoi(h.substr(i, 2), nullptr, 16));
    return out;
}

}  // namespace

Report check(const std::string& dirIn, const CheckOptions& o) {
    Report rep;
    Checker c{rep, o.strict, {}};
    std::string dir = dirIn;
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';

    // ---- Declarations ----
    Bytes M = load(dir + DECL.M), D = load(dir + DECL.D), I = load(dir + DECL.I), N = load(dir + DECL.N);
    Bytes H = load(dir + "DISH.DAT"), P = load(dir + "DIPE.DAT");
    if (!M.present) c.err("DISM.DAT: missing");
    std::vector<Live> live = c.index(DECL, I, N);
    std::map<int32_t, Live*> byPos;
    std::map<std::string, Live*> byKey;
    std::vector<std::tuple<int64_t, int64_t, std::string>> ext;
    Source ms = sourceOf(M);
    for (Live& l : live) {
        std::string who = "declaration " + trimKey(l.key);
        c.within("DISM.DAT", M.size(), l.pos, int64_t(l.pos) + 4, who);
        if (byPos.count(l.pos)) {
            c.err(who + ": position " + std::to_string(l.pos) + " also indexed under " + trimKey(byPos[l.pos]->key));
            continue;
        }
        if (byKey.count(l.key)) c.err(who + ": number indexed twice");
        Chain ch = readChain(ms, l.pos, false);
        if (!ch.ok) {
            if (!ch.areas.empty()) {
                const Area& a = ch.areas.back();
                c.within("DISM.DAT", M.size(), a.pos, int64_t(a.pos) + a.SIZ, who);
            }
            c.err(who + ": " + ch.error);
            continue;
        }
        FieldReader fr(ch.data);
        std::string box1 = fr.next();
        for (int i = 2; i <= MAIN_BOXES; ++i) {
            std::string s = fr.next();
            if (i == 8) l.date = s;
        }
        std::string cust = fr.next();
        for (int i = 0; i < 10; ++i) fr.next();
        uint8_t eif[8];
        fr.raw(eif, 8);
        for (int i = 0; i < 7; ++i) fr.next();
        if (fr.bad() || cust.empty() || cust.size() > 5 || cust.find_first_not_of("0123456789") != std::string::npos) {
            c.err(who + ": field data damaged");
            continue;
        }
        if (fr.pos() != ch.data.size()) c.err(who + ": data longer than its fields");
        l.cust = uint16_t(std::min(65535L, std::stol(cust)));
        if (numberText(box1) != numberText(l.key)) c.err(who + ": box 1 holds \"" + box1 + "\"");
        l.data = ch.data;
        l.areas = ch.areas;
        for (const Area& a : ch.areas) ext.emplace_back(a.pos, int64_t(a.pos) + a.SIZ, who);
        byPos[l.pos] = &l;
        byKey[l.key] = &l;
        rep.declarations++;
    }
    if (!D.present || D.size() < 6) {
        c.err("DISD.DAT: missing or empty");
    } else {
        int32_t n = RD0::decode(D.at(0)).RP;
        if (n < 0 || int64_t(n) * 6 + 6 > D.size()) {
            c.err("DISD.DAT: " + std::to_string(n) + " free areas do not fit the file");
        } else {
            for (int32_t i = 1; i <= n; ++i) {
                RD0 f = RD0::decode(D.at(int64_t(i) * 6));
                if (f.RP >= 0 && f.SZ > 8) c.within("DISM.DAT", M.size(), f.RP, int64_t(f.RP) + f.SZ, "free area " + std::to_string(i));
                if (f.RP < 0 || f.SZ <= 8 || int64_t(f.RP) + f.SZ > M.size())
                    c.err("DISD.DAT: free area " + std::to_string(i) + " (" + std::to_string(f.RP) + ", " +
                          std::to_string(f.SZ) + ") damaged");
                else
                    ext.emplace_back(f.RP, int64_t(f.RP) + f.SZ, "free area " + std::to_string(i));
            }
            rep.freeAreas = size_t(n);
        }
    }
    c.overlaps(ext, "DISM.DAT");

    std::map<int32_t, int> inDay, inCust;
    c.chains("DISH.DAT", H, DAY_HEADS, byPos, [](const Live& l) { return dayKey(l.date); }, inDay);
    c.chains("DIPE.DAT", P, CUST_HEADS, byPos,
             [](const Live& l) -> std::optional<int32_t> {
                 if (l.cust >= CUST_HEADS) return std::nullopt;
                 return l.cust;
             },
             inCust);
    for (auto& [pos, l] : byPos) {
        std::string who = "declaration " + trimKey(l->key);
        auto report = [&](const std::string& s) { o.strict ? c.err(s) : c.warn(s); };
        if (dayKey(l->date)) {
            if (inDay[pos] == 0) report(who + ": not in its day chain");
            if (inDay[pos] > 1) c.err(who + ": in its day chain " + std::to_string(inDay[pos]) + " times");
        }
        if (l->cust < CUST_HEADS) {
            if (inCust[pos] == 0) report(who + ": not in its customer chain");
            if (inCust[pos] > 1) c.err(who + ": in its customer chain " + std::to_string(inCust[pos]) + " times");
        }
    }

    // ---- Continuation sheets ----
    Bytes BM = load(dir + SHEET.M), BI = load(dir + SHEET.I), BN = load(dir + SHEET.N);
    std::map<std::string, std::string> sheetData;
    if (BI.present || BM.present) {
        if (!BM.present) c.err("BISM.DAT: missing");
        std::vector<Live> items = c.index(SHEET, BI, BN);
        Source bs = sourceOf(BM);
        std::set<int32_t> seenPos;
        for (Live& l : items) {
            std::string who = "sheet item " + trimKey(l.key);
            c.within("BISM.DAT", BM.size(), l.pos, int64_t(l.pos) + 4, who);
            if (!seenPos.insert(l.pos).second) c.err(who + ": position " + std::to_string(l.pos) + " indexed twice");
            if (sheetData.count(l.key)) c.err(who + ": key indexed twice");
            Chain ch = readChain(bs, l.pos, true);
            if (!ch.ok) {
                if (!ch.areas.empty()) {
                    // A sheet's REM counts 4 bytes after its data that it does not occupy.
                    const Area& a = ch.areas.back();
                    const int64_t end = a.REM <= a.SIZ ? int64_t(a.REM) - 4 : a.SIZ;
                    c.within("BISM.DAT", BM.size(), a.pos, a.pos + end, who);
                }
                c.err(who + ": " + ch.error);
                continue;
            }
            FieldReader fr(ch.data);
            std::string box10;
            for (int i = 1; i <= SHEET_BOXES + 10; ++i) {
                std::string f = fr.next();
                if (i == 10) box10 = f;
            }
            uint8_t eif[8];
            fr.raw(eif, 8);
            if (fr.bad()) {
                c.err(who + ": field data damaged");
                continue;
            }
            if (!itemOf(box10, l.key, 4)) c.err(who + ": box 10 holds declaration \"" + box10 + "\"");
            sheetData[l.key] = ch.data.substr(0, fr.pos());
            rep.sheets++;
        }
    }

    // ---- Expectations ----
    if (!o.expectFile.empty()) {
        auto lines = PLAT::readLines(o.expectFile);
        if (!lines) c.err(o.expectFile + ": missing");
        for (const std::string& ln : lines.value_or(std::vector<std::string>{})) {
            if (ln.size() < 3) continue;
            size_t tab = ln.find('\t');
            if (tab == std::string::npos) continue;
            bool sheet = ln[0] == 'B';
            std::string key = padKey(ln.substr(2, tab - 2), sheet ? SHEET.keyLen : DECL.keyLen);
            std::string want = ln.substr(tab + 1);
            std::string who = (sheet ? "sheet item " : "declaration ") + trimKey(key);
            const std::string* have = nullptr;
            if (sheet) {
                auto it = sheetData.find(key);
                if (it != sheetData.end()) have = &it->second;
            } else {
                auto it = byKey.find(key);
                if (it != byKey.end()) have = &it->second->data;
            }
            if (want == "-") {
                if (have) c.err(who + ": stored, expected deleted");
            } else if (!have) {
                c.err(who + ": not found");
            } else if (*have != fromHex(want)) {
                c.err(who + ": loads back different from what was last stored");
            }
        }
    }
    return rep;
}

}  // namespace STORE
