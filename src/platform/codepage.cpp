// Code-page conversions. The tables of the 8-bit code pages are read from glibc iconv once and then
// checked against the letters that must convert to their true counterparts (accented capitals,
// dialytika); characters a target cannot hold become "?".
#include "platform/codepage.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <unordered_map>

namespace PLAT {

namespace {

constexpr char32_t NONE = 0xFFFFFFFF;

// One 8-bit code page: byte -> code point, and back.
struct Table {
    std::array<char32_t, 256> toU{};
    std::unordered_map<char32_t, uint8_t> fromU;
    void set(uint8_t b, char32_t u) { toU[b] = u; }
    void buildReverse() {
        fromU.clear();
        for (int b = 255; b >= 0; --b)
            if (toU[size_t(b)] != NONE) fromU[toU[size_t(b)]] = uint8_t(b);
    }
};

// Decodes every byte of code page cs through iconv; bytes it does not know stay NONE. The 256 bytes
// go through in one run (a byte iconv refuses is skipped); should the code page turn one byte into
// more than one character, every byte is decoded on its own instead and such bytes stay NONE.
void loadIconv(Table& t, const char* cs) {
    t.toU.fill(NONE);
    iconv_t cd = iconv_open("UTF-32LE", cs);
    if (cd == iconv_t(-1)) return;
    char all[256];
    for (int b = 0; b < 256; ++b) all[b] = char(b);
    unsigned char out[256 * 4];
    bool oneToOne = true;
    for (int b = 0; b < 256 && oneToOne;) {
        char* ip = all + b;
        char* op = reinterpret_cast<char*>(out);
        size_t il = size_t(256 - b), ol = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const size_t r = iconv(cd, &ip, &il, &op, &ol);
        const int used = int(ip - (all + b));
        if (size_t(op - reinterpret_cast<char*>(out)) != size_t(used) * 4) {
            oneToOne = false;
            break;
        }
        for (int k = 0; k < used; ++k) {
            const unsigned char* u = out + 4 * k;
            t.set(uint8_t(b + k), char32_t(u[0] | (u[1] << 8) | (u[2] << 16) | (uint32_t(u[3]) << 24)));
        }
        b += used;
        if (r == size_t(-1)) ++b;  // a byte the code page does not know (or an incomplete one)
    }
    if (!oneToOne) {
        t.toU.fill(NONE);
        for (int b = 0; b < 256; ++b) {
            char* ip = all + b;
            char* op = reinterpret_cast<char*>(out);
            size_t il = 1, ol = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &ip, &il, &op, &ol) != size_t(-1) && ol == sizeof out - 4)
                t.set(uint8_t(b), char32_t(out[0] | (out[1] << 8) | (out[2] << 16) | (uint32_t(out[3]) << 24)));
        }
    }
    iconv_close(cd);
}

// Greek letters every table must hold as themselves (whatever the iconv tables of the system say).
struct Fix {
    uint8_t cp737, iso, win;
    char32_t u;
};
constexpr Fix GREEK_FIX[] = {
    {0xEA, 0xB6, 0xA2, 0x0386},  // Ά
    {0xEB, 0xB8, 0xB8, 0x0388},  // Έ
    {0xEC, 0xB9, 0xB9, 0x0389},  // Ή
    {0xED, 0xBA, 0xBA, 0x038A},  // Ί
    {0xEE, 0xBC, 0xBC, 0x038C},  // Ό
    {0xEF, 0xBE, 0xBE, 0x038E},  // Ύ
    {0xF0, 0xBF, 0xBF, 0x038F},  // Ώ
    {0xF4, 0xDA, 0xDA, 0x03AA},  // Ϊ
    {0xF5, 0xDB, 0xDB, 0x03AB},  // Ϋ
    {0xE1, 0xDC, 0xDC, 0x03AC},  // ά
    {0xE2, 0xDD, 0xDD, 0x03AD},  // έ
    {0xE3, 0xDE, 0xDE, 0x03AE},  // ή
    {0xE5, 0xDF, 0xDF, 0x03AF},  // ί
    {0xE4, 0xFA, 0xFA, 0x03CA},  // ϊ
    {0xE8, 0xFB, 0xFB, 0x03CB},  // ϋ
    {0xE6, 0xFC, 0xFC, 0x03CC},  // ό
    {0xE7, 0xFD, 0xFD, 0x03CD},  // ύ
    {0xE9, 0xFE, 0xFE, 0x03CE},  // ώ
};

// The glyphs of the control bytes 1..31 and 127 as the PC screen shows them.
constexpr char32_t GLYPHS[32] = {
    0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9,
    0x2642, 0x2640, 0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7,
    0x25AC, 0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC};
constexpr char32_t GLYPH_127 = 0x2302;

// Each code page is read from iconv the first time it is needed: the program starts on code page
// 737 alone; the others are loaded by the first export or import that uses them.
enum Page { CP737, ISO, WIN };

Table loadPage(Page p) {
    Table t;
    loadIconv(t, p == CP737 ? "CP737" : p == ISO ? "ISO-8859-7" : "CP1253");
    for (int b = 0; b < 128; ++b) t.set(uint8_t(b), char32_t(b));  // the ASCII half is the same everywhere
    for (const Fix& f : GREEK_FIX) t.set(p == CP737 ? f.cp737 : p == ISO ? f.iso : f.win, f.u);
    t.buildReverse();
    return t;
}

const Table& cp737() {
    static const Table t = loadPage(CP737);
    return t;
}
const Table& iso() {
    static const Table t = loadPage(ISO);
    return t;
}
const Table& win() {
    static const Table t = loadPage(WIN);
    return t;
}

// Control glyphs back to their bytes.
const std::unordered_map<char32_t, uint8_t>& glyphBack() {
    static const auto m = [] {
        std::unordered_map<char32_t, uint8_t> g;
        for (int b = 1; b < 32; ++b) g[GLYPHS[b]] = uint8_t(b);
        g[GLYPH_127] = 127;
        return g;
    }();
    return m;
}

std::string recode(const std::string& s, const Table& from, const Table& to) {
    std::string out;
    out.reserve(s.size());
    for (unsigned char c : s) {
        char32_t u = from.toU[c];
        auto it = u == NONE ? to.fromU.end() : to.fromU.find(u);
        out += it == to.fromU.end() ? '?' : char(it->second);
    }
    return out;
}

// Next code point of UTF-8 text; an invalid sequence gives NONE and skips one byte.
char32_t nextUtf8(const std::string& s, size_t& i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        ++i;
        return c;
    }
    int n = c >= 0xF0 && c < 0xF5 ? 3 : c >= 0xE0 ? (c < 0xF0 ? 2 : -1) : c >= 0xC2 ? 1 : -1;
    if (n < 0 || i + size_t(n) >= s.size()) {
        ++i;
        return NONE;
    }
    char32_t u = c & (0x3F >> n);
    for (int k = 1; k <= n; ++k) {
        unsigned char d = static_cast<unsigned char>(s[i + size_t(k)]);
        if ((d & 0xC0) != 0x80) {
            ++i;
            return NONE;
        }
        u = (u << 6) | (d & 0x3F);
    }
    static const char32_t minOf[4] = {0, 0x80, 0x800, 0x10000};
    if (u < minOf[n] || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) {
        ++i;
        return NONE;
    }
    i += size_t(n) + 1;
    return u;
}

}  // namespace

std::string utf8(char32_t cp) {
    std::string o;
    if (cp < 0x80) {
        o += char(cp);
    } else if (cp < 0x800) {
        o += char(0xC0 | (cp >> 6));
        o += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        o += char(0xE0 | (cp >> 12));
        o += char(0x80 | ((cp >> 6) & 0x3F));
        o += char(0x80 | (cp & 0x3F));
    } else if (cp <= 0x10FFFF) {
        o += char(0xF0 | (cp >> 18));
        o += char(0x80 | ((cp >> 12) & 0x3F));
        o += char(0x80 | ((cp >> 6) & 0x3F));
        o += char(0x80 | (cp & 0x3F));
    } else {
        o += '?';
    }
    return o;
}

char32_t cp737ToUnicode(uint8_t c, bool glyphs) {
    if (glyphs) {
        if (c < 32) return GLYPHS[c];
        if (c == 127) return GLYPH_127;
    }
    char32_t u = cp737().toU[c];
    return u == NONE ? char32_t('?') : u;
}

std::string cp737ToUtf8(const std::string& s) {
    std::string out;
    out.reserve(s.size() * 2);
    for (unsigned char c : s) {
        // Line structure survives: tab, line feed, form feed and carriage return stay themselves.
        bool keep = c == '\t' || c == '\n' || c == '\f' || c == '\r';
        out += utf8(cp737ToUnicode(c, !keep));
    }
    return out;
}

std::string utf8ToCp737(const std::string& s) {
    const Table& t = cp737();
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        char32_t u = nextUtf8(s, i);
        auto it = t.fromU.find(u);
        if (u != NONE && it != t.fromU.end()) {
            out += char(it->second);
            continue;
        }
        // ΐ and ΰ, which the code page lacks, keep their letter and diaeresis (ϊ, ϋ).
        if (u == 0x390 || u == 0x3B0) {
            out += char(u == 0x390 ? 0xE4 : 0xE8);
            continue;
        }
        auto g = glyphBack().find(u);
        out += g != glyphBack().end() ? char(g->second) : '?';
    }
    return out;
}

std::string cp737ToIso88597(const std::string& s) { return recode(s, cp737(), iso()); }
std::string iso88597ToCp737(const std::string& s) { return recode(s, iso(), cp737()); }
std::string cp737ToCp1253(const std::string& s) { return recode(s, cp737(), win()); }
std::string cp1253ToCp737(const std::string& s) { return recode(s, win(), cp737()); }

std::string cp737Upper(const std::string& s) {
    std::string out = s;
    for (char& ch : out) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 'a' && c <= 'z')
            c = uint8_t(c - 32);
        else if (c >= 0x98 && c <= 0xA9)  // α .. σ
            c = uint8_t(c - 0x18);
        else if (c == 0xAA)  // ς
            c = 0x91;
        else if (c >= 0xAB && c <= 0xAF)  // τ .. ψ
            c = uint8_t(c - 0x19);
        else if (c == 0xE0)  // ω
            c = 0x97;
        else {
            // Accented and diaeresis letters of both cases become plain capitals.
            switch (c) {
                case 0xE1: c = 0x80; break;  // ά -> Α
                case 0xE2: c = 0x84; break;  // έ -> Ε
                case 0xE3: c = 0x86; break;  // ή -> Η
                case 0xE4: c = 0x88; break;  // ϊ -> Ι
                case 0xE5: c = 0x88; break;  // ί -> Ι
                case 0xE6: c = 0x8E; break;  // ό -> Ο
                case 0xE7: c = 0x93; break;  // ύ -> Υ
                case 0xE8: c = 0x93; break;  // ϋ -> Υ
                case 0xE9: c = 0x97; break;  // ώ -> Ω
                case 0xEA: c = 0x80; break;  // Ά -> Α
                case 0xEB: c = 0x84; break;  // Έ -> Ε
                case 0xEC: c = 0x86; break;  // Ή -> Η
                case 0xED: c = 0x88; break;  // Ί -> Ι
                case 0xEE: c = 0x8E; break;  // Ό -> Ο
                case 0xEF: c = 0x93; break;  // Ύ -> Υ
                case 0xF0: c = 0x97; break;  // Ώ -> Ω
                case 0xF4: c = 0x88; break;  // Ϊ -> Ι
                case 0xF5: c = 0x93; break;  // Ϋ -> Υ
                default: break;
            }
        }
        ch = char(c);
    }
    return out;
}

}  // namespace PLAT
