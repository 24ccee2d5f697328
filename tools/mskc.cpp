// mskc: builds the mask file "KORVEX.MSK" from its text sources and turns a mask file back into
// sources.
//
//   mskc compile <srcdir> <out.MSK>      every *.msk.txt of srcdir, one mask per file
//   mskc decompile <in.MSK> <outdir>     writes NNN.msk.txt into outdir (created when missing)
//   mskc check <in.MSK>                  the checks of the start-up and of the declaration form
//
// The mask file holds masks 1..135 in number order, each X1 Y1 X2 Y2 (WORDs, little-endian) and
// then 2 x W x H bytes of cells (character, attribute) row by row. A number without a source gets
// a placeholder: one blank cell at (1,1) with attribute 07 (10 bytes).
//
// Source format (one mask per file; '#' starts a comment on directive lines):
//
//   mask 88               number, 1..135; each number at most once
//   rect 1 1 80 24        X1 Y1 X2 Y2, 1-based inclusive; a screen mask lies within 80 x 25
//   data                  optional: a data mask (not shown as a screen); Y2 may go up to 255
//   default 1F            attribute (hex) of every cell; 07 when absent
//   key a 4F              a letter or digit of the colors layer and its attribute
//   fill 17 7 62 14 1F    attribute of a rectangle, absolute screen coordinates inside rect
//   text                  optional: exactly H lines starting with '|', the cells after '|' in
//   |╔═══ ...             UTF-8 (code page 737 characters only; ↑ ↓ → are the characters 24, 25,
//   end                   26); a shorter line is padded with blanks; cells without text are blank
//   colors                optional: up to H lines starting with '|', one key per cell; '.' and
//   |aaaa....             ' ' keep the attribute; a shorter line, and a missing one, keep the rest
//   end
//   raw 1445              optional, repeatable: bytes that override the cell area from a byte
//   00 1F 2A ...          offset (decimal, or hex with 0x); offset 0 is the character of the first
//   end                   cell, 1 its attribute, 2 the second cell's character, and so on; the
//                         lines hold hex bytes (pairs, blanks between them optional)
//
//   field ·               a page image of the declaration form: cells drawn with this character
//                         in the text are box cells; they compile to blanks
//   boxes 3               a box table for the page image of mask 3: one line per box, numbered
//   1 8 2 10 1 1 role     from 1 without gaps: box, column, row, length, input type, help number,
//   end                   then free text (the box's role); packed 5 bytes a box from offset 0.
//                         Checked against the image: every box lies on field cells only, no
//                         two boxes share a cell, and every field cell belongs to a box
//   help                  help lines: "n text" (n 0..84; text in UTF-8, at most 71 characters);
//   1 Αριθμός ...         packed as string[74] at offset 75 x n; lines starting '#' are comments
//   end
//
// After compiling, the form masks (page images, box tables, help lines) are checked together as
// the declaration form (BOD::CHECKFORM); any problem fails the compile.
//
// The layers apply in this order: default, fills, colors, text, raw sections.
// The decompiler writes sources that compile to the identical bytes: the text and colors layers
// where the cells can be written so, raw sections for every byte they cannot express (character
// 0, attributes beyond the 62 keys), and a single raw section for masks that hold binary data.

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "declarations/bod.h"
#include "shell/start.h"
#include "platform/codepage.h"

namespace fs = std::filesystem;

namespace {

constexpr int MASKS = 135;
constexpr int MAX_DATA_ROWS = 255;
const std::string KEYS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string& file, int line, const std::string& msg) {
    throw Error(file + ":" + std::to_string(line) + ": " + msg);
}

// ---- Code page 737 <-> Unicode ------------------------------------------------------------------

struct CodePage {
    std::map<char32_t, uint8_t> toByte;
    char32_t toUni[256]{};
    CodePage() {
        for (int b = 1; b < 256; ++b) {
            char32_t u = PLAT::cp737ToUnicode(uint8_t(b), true);
            toUni[b] = u;
            toByte.emplace(u, uint8_t(b));  // the first byte of a code point wins
        }
        // The arrows of the key legends, whatever glyphs the table gives the control bytes.
        toByte[U'↑'] = 24;
        toByte[U'↓'] = 25;
        toByte[U'→'] = 26;
        toByte[U' '] = 32;
    }
    // The text form of byte b, or false when b cannot be written as text.
    bool printable(uint8_t b, char32_t& u) const {
        if (b == 0) return false;
        u = toUni[b];
        if (u < 0x20 || u == 0x7F || u == 0x85 || u == 0x2028 || u == 0x2029 || (u >= 0xD800 && u < 0xE000))
            return false;
        auto it = toByte.find(u);
        return it != toByte.end() && it->second == b;
    }
};

const CodePage& cp() {
    static CodePage c;
    return c;
}

// Decodes UTF-8; false on a malformed sequence.
bool decodeUtf8(const std::string& s, std::vector<char32_t>& out) {
    out.clear();
    for (size_t i = 0; i < s.size();) {
        uint8_t c = uint8_t(s[i]);
        int n;
        char32_t u;
        if (c < 0x80) { n = 0; u = c; }
        else if ((c & 0xE0) == 0xC0) { n = 1; u = c & 0x1F; }
        else if ((c & 0xF0) == 0xE0) { n = 2; u = c & 0x0F; }
        else if ((c & 0xF8) == 0xF0) { n = 3; u = c & 0x07; }
        else return false;
        if (i + size_t(n) >= s.size() && n > 0) return false;
        for (int k = 1; k <= n; ++k) {
            uint8_t d = uint8_t(s[i + size_t(k)]);
            if ((d & 0xC0) != 0x80) return false;
            u = (u << 6) | (d & 0x3F);
        }
        out.push_back(u);
        i += size_t(n) + 1;
    }
    return true;
}

std::string hex2(unsigned v) {
    char b[3];
    std::snprintf(b, sizeof b, "%02X", v & 0xFF);
    return b;
}

// ---- Parsing a source ---------------------------------------------------------------------------

struct Mask {
    int x1 = 1, y1 = 1, x2 = 1, y2 = 1;
    std::vector<uint8_t> cells;  // 2 x W x H
    int w() const { return x2 - x1 + 1; }
    int h() const { return y2 - y1 + 1; }
    std::vector<uint8_t> image() const {
        std::vector<uint8_t> r(8);
        int c[4] = {x1, y1, x2, y2};
        for (int i = 0; i < 4; ++i) {
            r[size_t(2 * i)] = uint8_t(c[i]);
            r[size_t(2 * i + 1)] = uint8_t(c[i] >> 8);
        }
        r.insert(r.end(), cells.begin(), cells.end());
        return r;
    }
};

Mask placeholder() {
    Mask m;
    m.cells = {' ', 0x07};
    return m;
}

std::vector<std::string> tokens(const std::string& s) {
    std::istringstream is(s);
    std::vector<std::string> t;
    std::string w;
    while (is >> w) t.push_back(w);
    return t;
}

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return "";
    size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

bool parseInt(const std::string& s, long& v) {
    if (s.empty()) return false;
    try {
        size_t pos = 0;
        if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) v = std::stol(s.substr(2), &pos, 16), pos += 2;
        else v = std::stol(s, &pos, 10);
        return pos == s.size() && v >= 0;
    } catch (...) {
        return false;
    }
}

bool parseAttr(const std::string& s0, uint8_t& a) {
    std::string s = s0;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s = s.substr(2);
    if (s.empty() || s.size() > 2) return false;
    unsigned v = 0;
    for (char c : s) {
        if (!std::isxdigit(uint8_t(c))) return false;
        v = v * 16 + unsigned(std::isdigit(uint8_t(c)) ? c - '0' : (std::toupper(c) - 'A' + 10));
    }
    a = uint8_t(v);
    return true;
}

struct Box {
    int n, col, row, len, type, help, line;
};

struct Source {
    std::string file;
    int number = 0;
    Mask mask;
    bool hasField = false;
    std::vector<uint8_t> field;  // W x H flags: a box cell of the page image
    int boxesOf = 0;             // a box table: the mask number of its page image
    std::vector<Box> boxes;
    bool hasHelp = false;        // help lines
};

Source parseSource(const std::string& file, const std::string& content) {
    Source src;
    src.file = file;
    bool haveRect = false, data = false, haveText = false, haveColors = false, haveDefault = false;
    int rectLine = 0;
    uint8_t def = 0x07;
    std::map<char, uint8_t> keys;
    struct Fill { int x1, y1, x2, y2; uint8_t a; };
    std::vector<Fill> fills;
    std::vector<std::vector<char32_t>> text;
    std::vector<std::string> colors;
    struct Raw { long off; std::vector<uint8_t> bytes; int line; };
    std::vector<Raw> raws;

    enum { TOP, TEXT, COLORS, RAW, BOXES, HELP } state = TOP;
    char32_t fieldMark = 0;
    struct Help { int n; std::string text; int line; };
    std::vector<Help> helps;
    bool haveHelp = false;
    int blockLine = 0;

    std::vector<std::string> lines;
    {
        std::string l;
        std::istringstream is(content);
        while (std::getline(is, l)) {
            if (!l.empty() && l.back() == '\r') l.pop_back();
            lines.push_back(l);
        }
    }
    if (content.size() >= 3 && lines[0].compare(0, 3, "\xEF\xBB\xBF") == 0) lines[0].erase(0, 3);

    auto H = [&] { return src.mask.y2 - src.mask.y1 + 1; };
    auto W = [&] { return src.mask.x2 - src.mask.x1 + 1; };

    for (size_t i = 0; i < lines.size(); ++i) {
        const int ln = int(i) + 1;
        const std::string& line = lines[i];
        if (state == TEXT || state == COLORS) {
            if (!line.empty() && line[0] == '|') {
                std::string body = line.substr(1);
                if (state == TEXT) {
                    std::vector<char32_t> u;
                    if (!decodeUtf8(body, u)) fail(file, ln, "text is not valid UTF-8");
                    if (int(u.size()) > W())
                        fail(file, ln, "text line of " + std::to_string(u.size()) + " cells; the mask is " +
                                           std::to_string(W()) + " wide");
                    for (char32_t c : u) {
                        if (!cp().toByte.count(c)) {
                            char b[16];
                            std::snprintf(b, sizeof b, "U+%04X", unsigned(c));
                            std::string shown;
                            if (c >= 0x20) shown = " '" + PLAT::utf8(c) + "'";
                            fail(file, ln, std::string("character ") + b + shown + " is not in code page 737");
                        }
                    }
                    if (int(text.size()) >= H()) fail(file, ln, "more text lines than the mask's " + std::to_string(H()) + " rows");
                    text.push_back(u);
                } else {
                    if (int(body.size()) > W())
                        fail(file, ln, "colors line of " + std::to_string(body.size()) + " cells; the mask is " +
                                           std::to_string(W()) + " wide");
                    for (char c : body)
                        if (c != '.' && c != ' ' && !keys.count(c))
                            fail(file, ln, std::string("colors: no key '") + c + "' declared");
                    if (int(colors.size()) >= H()) fail(file, ln, "more colors lines than the mask's " + std::to_string(H()) + " rows");
                    colors.push_back(body);
                }
                continue;
            }
            std::string t = trim(line);
            if (t.empty() || t[0] == '#') continue;
            if (t != "end") fail(file, ln, "expected a line starting with '|' or 'end'");
            size_t n = state == TEXT ? text.size() : colors.size();
            if (state == TEXT && int(n) != H())
                fail(file, ln, "text block of " + std::to_string(n) +
                                   " lines; the mask has " + std::to_string(H()) + " rows (block at line " +
                                   std::to_string(blockLine) + ")");
            state = TOP;
            continue;
        }
        if (state == HELP) {
            std::string t = trim(line);
            if (t.empty() || t[0] == '#') continue;
            if (t == "end") { state = TOP; continue; }
            size_t sp = t.find(' ');
            long n;
            if (!parseInt(t.substr(0, sp), n) || n < 0 || n >= BOD::HELP_LINES)
                fail(file, ln, "help: a line starts with its number 0.." + std::to_string(BOD::HELP_LINES - 1));
            for (const Help& h : helps)
                if (h.n == n) fail(file, ln, "help line " + std::to_string(n) + " given twice");
            std::string text = sp == std::string::npos ? "" : t.substr(sp + 1);
            std::vector<char32_t> u;
            if (!decodeUtf8(text, u)) fail(file, ln, "text is not valid UTF-8");
            std::string bytes;
            for (char32_t c : u) {
                auto it = cp().toByte.find(c);
                if (it == cp().toByte.end()) fail(file, ln, "a character of the help text is not in code page 737");
                bytes += char(it->second);
            }
            if (int(bytes.size()) > BOD::HELP_TEXT_MAX)
                fail(file, ln, "help line of " + std::to_string(bytes.size()) + " characters; at most " +
                                   std::to_string(BOD::HELP_TEXT_MAX) + " fit on the help row");
            helps.push_back({int(n), bytes, ln});
            continue;
        }
        std::string t = line;
        if (size_t h = t.find('#'); h != std::string::npos) t.erase(h);
        auto tk = tokens(t);
        if (state == BOXES) {
            if (tk.size() == 1 && tk[0] == "end") { state = TOP; continue; }
            if (tk.empty()) continue;
            if (tk.size() < 6) fail(file, ln, "a box line gives box, column, row, length, type and help");
            long v[6];
            for (int k = 0; k < 6; ++k)
                if (!parseInt(tk[size_t(k)], v[k]) || v[k] > (k == 0 ? 100000 : 255)) fail(file, ln, "'" + tk[size_t(k)] + "' is not a number 0..255");
            const long expect = long(src.boxes.size()) + 1;
            if (v[0] != expect) fail(file, ln, "box " + tk[0] + " where box " + std::to_string(expect) + " comes next");
            if (v[0] > BOD::BOXES) fail(file, ln, "more than " + std::to_string(BOD::BOXES) + " boxes");
            if (v[1] < 1 || v[3] < 1 || v[1] + v[3] - 1 > 80) fail(file, ln, "box " + tk[0] + " does not lie within columns 1..80");
            if (v[2] < 1) fail(file, ln, "box " + tk[0] + ": row 0");
            if (v[4] >= BOD::INPUT_TYPES) fail(file, ln, "box " + tk[0] + ": input type " + tk[4] + " is not 0..7");
            if (v[5] >= BOD::HELP_LINES) fail(file, ln, "box " + tk[0] + ": help " + tk[5] + " is not 0..84");
            src.boxes.push_back({int(v[0]), int(v[1]), int(v[2]), int(v[3]), int(v[4]), int(v[5]), ln});
            continue;
        }
        if (state == RAW) {
            if (tk.size() == 1 && tk[0] == "end") { state = TOP; continue; }
            for (const auto& w : tk) {
                if (w.size() % 2) fail(file, ln, "raw: '" + w + "' is not a sequence of hex byte pairs");
                for (size_t k = 0; k < w.size(); k += 2) {
                    uint8_t b;
                    if (!parseAttr(w.substr(k, 2), b)) fail(file, ln, "raw: '" + w + "' is not a sequence of hex byte pairs");
                    raws.back().bytes.push_back(b);
                }
            }
            continue;
        }
        if (tk.empty()) continue;
        const std::string& d = tk[0];
        auto need = [&](size_t n) {
            if (tk.size() != n + 1) fail(file, ln, "'" + d + "' takes " + std::to_string(n) + " value(s)");
        };
        auto num = [&](size_t k) {
            long v;
            if (!parseInt(tk[k], v)) fail(file, ln, "'" + tk[k] + "' is not a number");
            return v;
        };
        auto attr = [&](size_t k) {
            uint8_t a;
            if (!parseAttr(tk[k], a)) fail(file, ln, "'" + tk[k] + "' is not a hex attribute (00..FF)");
            return a;
        };
        auto needRect = [&] {
            if (!haveRect) fail(file, ln, "'" + d + "' needs the rect first");
        };
        if (d == "mask") {
            need(1);
            if (src.number) fail(file, ln, "a second 'mask' line");
            long n = num(1);
            if (n < 1 || n > MASKS) fail(file, ln, "mask number " + tk[1] + " is not 1.." + std::to_string(MASKS));
            src.number = int(n);
        } else if (d == "rect") {
            need(4);
            if (haveRect) fail(file, ln, "a second 'rect' line");
            src.mask.x1 = int(std::min(num(1), 100000L));
            src.mask.y1 = int(std::min(num(2), 100000L));
            src.mask.x2 = int(std::min(num(3), 100000L));
            src.mask.y2 = int(std::min(num(4), 100000L));
            haveRect = true;
            rectLine = ln;
        } else if (d == "data") {
            need(0);
            data = true;
        } else if (d == "default") {
            need(1);
            if (haveDefault) fail(file, ln, "a second 'default' line");
            def = attr(1);
            haveDefault = true;
        } else if (d == "key") {
            need(2);
            if (tk[1].size() != 1 || !std::isalnum(uint8_t(tk[1][0])))
                fail(file, ln, "a key is one letter or digit");
            if (keys.count(tk[1][0])) fail(file, ln, "key '" + tk[1] + "' declared twice");
            keys[tk[1][0]] = attr(2);
        } else if (d == "fill") {
            need(5);
            fills.push_back({int(std::min(num(1), 100000L)), int(std::min(num(2), 100000L)),
                             int(std::min(num(3), 100000L)), int(std::min(num(4), 100000L)), attr(5)});
            const Fill& f = fills.back();
            needRect();
            if (f.x1 > f.x2 || f.y1 > f.y2 || f.x1 < src.mask.x1 || f.x2 > src.mask.x2 || f.y1 < src.mask.y1 ||
                f.y2 > src.mask.y2)
                fail(file, ln, "fill rectangle outside the mask's rect");
        } else if (d == "text" || d == "colors") {
            need(0);
            needRect();
            bool& have = d == "text" ? haveText : haveColors;
            if (have) fail(file, ln, "a second '" + d + "' block");
            have = true;
            state = d == "text" ? TEXT : COLORS;
            blockLine = ln;
        } else if (d == "field") {
            need(1);
            std::vector<char32_t> u;
            if (!decodeUtf8(tk[1], u) || u.size() != 1) fail(file, ln, "'field' takes one character");
            fieldMark = u[0];
            src.hasField = true;
        } else if (d == "boxes") {
            need(1);
            needRect();
            if (src.boxesOf) fail(file, ln, "a second 'boxes' block");
            long n = num(1);
            if (n < 1 || n > MASKS) fail(file, ln, "'boxes' names the page image's mask number 1.." + std::to_string(MASKS));
            src.boxesOf = int(n);
            state = BOXES;
        } else if (d == "help") {
            need(0);
            needRect();
            if (haveHelp) fail(file, ln, "a second 'help' block");
            haveHelp = true;
            src.hasHelp = true;
            state = HELP;
        } else if (d == "raw") {
            need(1);
            needRect();
            raws.push_back({num(1), {}, ln});
            state = RAW;
        } else {
            fail(file, ln, "unknown line '" + d + "'");
        }
        if (haveRect && d == "rect") {
            const Mask& m = src.mask;
            if (m.x1 < 1 || m.y1 < 1 || m.x2 < m.x1 || m.y2 < m.y1)
                fail(file, ln, "rect needs 1 <= X1 <= X2 and 1 <= Y1 <= Y2");
            if (m.x2 > 80) fail(file, ln, "rect reaches column " + std::to_string(m.x2) + "; the screen has 80");
        }
    }
    const int last = int(lines.size());
    if (state != TOP) fail(file, last, "block not closed with 'end'");
    if (!src.number) fail(file, 1, "no 'mask' line");
    if (!haveRect) fail(file, 1, "no 'rect' line");
    Mask& m = src.mask;
    if (!data && m.y2 > 25)
        fail(file, rectLine, "rect reaches row " + std::to_string(m.y2) +
                                 "; a screen mask lies within 25 rows (write 'data' for a data mask)");
    if (data && m.y2 > MAX_DATA_ROWS)
        fail(file, rectLine, "rect reaches row " + std::to_string(m.y2) + "; a data mask ends by row " +
                                 std::to_string(MAX_DATA_ROWS));

    const int w = m.w(), h = m.h();
    m.cells.assign(size_t(2 * w * h), 0);
    for (int k = 0; k < w * h; ++k) {
        m.cells[size_t(2 * k)] = ' ';
        m.cells[size_t(2 * k + 1)] = def;
    }
    for (const Fill& f : fills)
        for (int y = f.y1; y <= f.y2; ++y)
            for (int x = f.x1; x <= f.x2; ++x) m.cells[size_t(2 * ((y - m.y1) * w + (x - m.x1)) + 1)] = f.a;
    for (size_t y = 0; y < colors.size(); ++y)
        for (size_t x = 0; x < colors[y].size(); ++x)
            if (char c = colors[y][x]; c != '.' && c != ' ') m.cells[2 * (y * size_t(w) + x) + 1] = keys.at(c);
    if (src.hasField) src.field.assign(size_t(w * h), 0);
    for (size_t y = 0; y < text.size(); ++y)
        for (size_t x = 0; x < text[y].size(); ++x) {
            if (src.hasField && text[y][x] == fieldMark) {
                m.cells[2 * (y * size_t(w) + x)] = ' ';
                src.field[y * size_t(w) + x] = 1;
            } else {
                m.cells[2 * (y * size_t(w) + x)] = cp().toByte.at(text[y][x]);
            }
        }
    auto place = [&](size_t off, const std::vector<uint8_t>& bytes, int line) {
        if (off + bytes.size() > m.cells.size())
            fail(file, line, "the mask's " + std::to_string(m.cells.size()) + " cell bytes cannot hold this");
        std::copy(bytes.begin(), bytes.end(), m.cells.begin() + long(off));
    };
    // Tables hold nothing but their records: every other byte is zero.
    if (src.boxesOf || haveHelp) std::fill(m.cells.begin(), m.cells.end(), 0);
    for (const Box& b : src.boxes)
        place(size_t(b.n - 1) * 5, {uint8_t(b.col), uint8_t(b.row), uint8_t(b.len), uint8_t(b.type), uint8_t(b.help)}, b.line);
    if (haveHelp) {
        if (m.cells.size() < BOD::MSG_BYTES)
            fail(file, rectLine, "help lines need " + std::to_string(BOD::MSG_BYTES) + " bytes of cells");
        for (const Help& hl : helps) {
            std::vector<uint8_t> b(BOD::HELP_CAP + 1, 0);
            b[0] = uint8_t(hl.text.size());
            std::copy(hl.text.begin(), hl.text.end(), b.begin() + 1);
            place(size_t(hl.n) * (BOD::HELP_CAP + 1), b, hl.line);
        }
    }
    for (const Raw& r : raws) {
        if (r.off < 0 || size_t(r.off) + r.bytes.size() > m.cells.size())
            fail(file, r.line, "raw bytes " + std::to_string(r.off) + ".." + std::to_string(r.off + long(r.bytes.size()) - 1) +
                                   " beyond the mask's " + std::to_string(m.cells.size()) + " cell bytes");
        std::copy(r.bytes.begin(), r.bytes.end(), m.cells.begin() + r.off);
    }
    return src;
}

// ---- compile ------------------------------------------------------------------------------------

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) throw Error(p.string() + ": cannot read");
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const fs::path& p, const std::string& bytes) {
    fs::path tmp = p;
    tmp += ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) throw Error(tmp.string() + ": cannot write");
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out) throw Error(tmp.string() + ": cannot write");
    }
    fs::rename(tmp, p);
}

// Every box table against the field cells of its page image.
void checkBoxTables(const std::vector<Source>& sources) {
    for (const Source& t : sources) {
        if (!t.boxesOf) continue;
        const Source& pg = sources[size_t(t.boxesOf)];
        if (!pg.number || !pg.hasField)
            throw Error(t.file + ": the boxes are of mask " + std::to_string(t.boxesOf) +
                        ", which has no source with a 'field' character");
        const Mask& m = pg.mask;
        const int w = m.w(), h = m.h();
        std::vector<int> owner(size_t(w * h), 0);
        for (const Box& b : t.boxes) {
            if (b.row > h || b.col + b.len - 1 > w)
                fail(t.file, b.line, "box " + std::to_string(b.n) + " lies outside the page image (" +
                                         std::to_string(w) + " x " + std::to_string(h) + ")");
            for (int x = b.col; x < b.col + b.len; ++x) {
                size_t k = size_t((b.row - 1) * w + (x - 1));
                if (owner[k])
                    fail(t.file, b.line, "box " + std::to_string(b.n) + " overlaps box " + std::to_string(owner[k]) +
                                             " at column " + std::to_string(x) + " of row " + std::to_string(b.row));
                if (!pg.field[k])
                    fail(t.file, b.line, "box " + std::to_string(b.n) + ": column " + std::to_string(x) + " of row " +
                                             std::to_string(b.row) + " is not a field cell of " + pg.file);
                owner[k] = b.n;
            }
        }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (pg.field[size_t(y * w + x)] && !owner[size_t(y * w + x)])
                    throw Error(pg.file + ": field cell at column " + std::to_string(x + 1) + " of row " +
                                std::to_string(y + 1) + " belongs to no box of " + t.file);
    }
}

// The declaration form as a whole, when its masks are drawn (page images with box cells, box
// tables, help lines); sources that only hold raw bytes (a decompiled file) are taken as they are.
void checkForm(const std::vector<Mask>& masks, const std::vector<Source>& sources) {
    bool any = false;
    for (const Source& s : sources) any = any || s.hasField || s.boxesOf || s.hasHelp;
    if (!any) return;
    std::vector<UMAS::CONV> conv(1);
    for (int n = 1; n <= MASKS; ++n) {
        UMAS::CONV c;
        c.raw = masks[size_t(n)].image();
        conv.push_back(std::move(c));
    }
    auto problems = BOD::CHECKFORM(conv);
    if (problems.empty()) return;
    std::string all;
    for (const auto& p : problems) all += "\n  " + p;
    throw Error("the declaration form does not hold together:" + all);
}

void compile(const fs::path& srcdir, const fs::path& out) {
    if (!fs::is_directory(srcdir)) throw Error(srcdir.string() + ": not a folder");
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(srcdir)) {
        std::string n = e.path().filename().string();
        if (e.is_regular_file() && n.size() > 8 && n.compare(n.size() - 8, 8, ".msk.txt") == 0) files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    std::vector<Mask> masks(MASKS + 1, placeholder());
    std::vector<std::string> from(MASKS + 1);
    std::vector<Source> sources(MASKS + 1);
    for (const auto& f : files) {
        Source s = parseSource(f.string(), readFile(f));
        if (!from[size_t(s.number)].empty())
            throw Error(f.string() + ": mask " + std::to_string(s.number) + " is also defined in " + from[size_t(s.number)]);
        from[size_t(s.number)] = f.string();
        masks[size_t(s.number)] = s.mask;
        sources[size_t(s.number)] = std::move(s);
    }
    checkBoxTables(sources);
    checkForm(masks, sources);
    std::string bytes;
    for (int n = 1; n <= MASKS; ++n) {
        auto img = masks[size_t(n)].image();
        bytes.append(img.begin(), img.end());
    }
    writeFile(out, bytes);
}

// ---- decompile ----------------------------------------------------------------------------------

std::string rawSection(size_t off, const std::vector<uint8_t>& cells, size_t end) {
    std::string s = "raw " + std::to_string(off) + "\n";
    for (size_t i = off; i < end; i += 16) {
        for (size_t k = i; k < std::min(end, i + 16); ++k) s += (k > i ? " " : "") + hex2(cells[k]);
        s += "\n";
    }
    return s + "end\n";
}

std::string decompileMask(int number, const Mask& m) {
    const int w = m.w(), h = m.h();
    const size_t n = size_t(w * h);
    std::string s = "# mask " + std::to_string(number) + "\n";
    s += "mask " + std::to_string(number) + "\n";
    s += "rect " + std::to_string(m.x1) + " " + std::to_string(m.y1) + " " + std::to_string(m.x2) + " " +
         std::to_string(m.y2) + "\n";
    if (m.y2 > 25) s += "data\n";

    // Masks holding binary data (records, not a drawing) go out as one raw section.
    size_t unprintable = 0;
    char32_t u;
    for (size_t k = 0; k < n; ++k)
        if (!cp().printable(m.cells[2 * k], u) || m.cells[2 * k] < 32) ++unprintable;
    if (unprintable * 4 > n) {
        s += "default 07\n";
        return s + rawSection(0, m.cells, m.cells.size());
    }

    std::map<uint8_t, size_t> freq;
    for (size_t k = 0; k < n; ++k) ++freq[m.cells[2 * k + 1]];
    std::vector<std::pair<uint8_t, size_t>> byFreq(freq.begin(), freq.end());
    std::stable_sort(byFreq.begin(), byFreq.end(), [](auto& a, auto& b) { return a.second > b.second; });
    const uint8_t def = byFreq[0].first;
    std::map<uint8_t, char> keyOf;
    for (size_t i = 1; i < byFreq.size() && i - 1 < KEYS.size(); ++i) keyOf[byFreq[i].first] = KEYS[i - 1];

    s += "default " + hex2(def) + "\n";
    for (size_t i = 1; i < byFreq.size() && i - 1 < KEYS.size(); ++i)
        s += std::string("key ") + KEYS[i - 1] + " " + hex2(byFreq[i].first) + "\n";

    // What the text and colors layers will give; the rest goes into raw sections.
    std::vector<uint8_t> built(m.cells.size());
    std::string text = "text\n", colors = "colors\n";
    bool anyColor = false;
    for (int y = 0; y < h; ++y) {
        std::string tl = "|", cl = "|";
        size_t tlEnd = 1, clEnd = 1;
        for (int x = 0; x < w; ++x) {
            size_t k = size_t(y * w + x);
            uint8_t c = m.cells[2 * k], a = m.cells[2 * k + 1];
            if (cp().printable(c, u)) {
                tl += PLAT::utf8(u);
                built[2 * k] = c;
            } else {
                tl += ' ';
                built[2 * k] = ' ';
            }
            if (c != ' ') tlEnd = tl.size();
            if (a != def && keyOf.count(a)) {
                cl += keyOf[a];
                built[2 * k + 1] = a;
                clEnd = cl.size();
                anyColor = true;
            } else {
                cl += '.';
                built[2 * k + 1] = def;
            }
        }
        text += tl.substr(0, tlEnd) + "\n";
        colors += cl.substr(0, clEnd) + "\n";
    }
    s += text + "end\n";
    if (anyColor) s += colors + "end\n";

    // Runs of differing bytes, joined when close together.
    for (size_t i = 0; i < built.size();) {
        if (built[i] == m.cells[i]) { ++i; continue; }
        size_t end = i + 1, j = i + 1;
        while (j < built.size() && j < end + 8) {
            if (built[j] != m.cells[j]) end = j + 1;
            ++j;
        }
        s += rawSection(i, m.cells, end);
        i = end;
    }
    return s;
}

void decompile(const fs::path& in, const fs::path& outdir) {
    std::string b = readFile(in);
    std::vector<Mask> masks;
    size_t pos = 0;
    auto w16 = [&](size_t p) { return int(uint8_t(b[p]) | (uint8_t(b[p + 1]) << 8)); };
    while (pos < b.size()) {
        if (b.size() - pos < 8) throw Error(in.string() + ": " + std::to_string(b.size() - pos) + " stray bytes at the end");
        Mask m;
        m.x1 = w16(pos), m.y1 = w16(pos + 2), m.x2 = w16(pos + 4), m.y2 = w16(pos + 6);
        if (m.x2 < m.x1 || m.y2 < m.y1)
            throw Error(in.string() + ": mask " + std::to_string(masks.size() + 1) + " has inverted corners");
        uint64_t len = 2ull * uint64_t(m.w()) * uint64_t(m.h());
        if (b.size() - pos - 8 < len)
            throw Error(in.string() + ": mask " + std::to_string(masks.size() + 1) + " is cut short");
        m.cells.assign(b.begin() + long(pos + 8), b.begin() + long(pos + 8 + len));
        masks.push_back(std::move(m));
        pos += 8 + len;
    }
    if (masks.size() > size_t(MASKS))
        throw Error(in.string() + ": " + std::to_string(masks.size()) + " masks; at most " + std::to_string(MASKS));
    fs::create_directories(outdir);
    const auto ph = placeholder().image();
    for (size_t i = 0; i < masks.size(); ++i) {
        const int number = int(i) + 1;
        const Mask& m = masks[i];
        if (m.image() == ph) continue;  // compiled again from nothing
        if (m.x1 < 1 || m.y1 < 1 || m.x2 > 80 || m.y2 > MAX_DATA_ROWS)
            throw Error(in.string() + ": mask " + std::to_string(number) + " has corners the sources cannot hold");
        char name[32];
        std::snprintf(name, sizeof name, "%03d.msk.txt", number);
        writeFile(outdir / name, decompileMask(number, m));
    }
    // A file with fewer masks compiles to the full count; say so rather than pretend a round trip.
    if (masks.size() < size_t(MASKS))
        std::fprintf(stderr, "mskc: note: %s holds %zu masks; compiling the sources gives %d\n", in.string().c_str(),
                     masks.size(), MASKS);
}

// A mask file as the program would take it, and its declaration form as designed.
int check(const fs::path& in) {
    const std::string b = readFile(in);
    if (std::string why = START::CHECKMASKS(b); !why.empty()) {
        std::fprintf(stderr, "mskc: %s: %s\n", in.string().c_str(), why.c_str());
        return 1;
    }
    auto problems = BOD::CHECKFORM(START::parseMasks(b));
    for (const auto& p : problems) std::fprintf(stderr, "mskc: %s: %s\n", in.string().c_str(), p.c_str());
    return problems.empty() ? 0 : 1;
}

int usage() {
    std::fprintf(stderr,
                 "usage: mskc compile <srcdir> <out.MSK>\n       mskc decompile <in.MSK> <outdir>\n"
                 "       mskc check <in.MSK>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "check") {
        try {
            return check(argv[2]);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "mskc: %s\n", e.what());
            return 1;
        }
    }
    if (argc != 4) return usage();
    std::string cmd = argv[1];
    try {
        if (cmd == "compile") compile(argv[2], argv[3]);
        else if (cmd == "decompile") decompile(argv[2], argv[3]);
        else return usage();
    } catch (const Error& e) {
        std::fprintf(stderr, "mskc: %s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mskc: %s\n", e.what());
        return 1;
    }
    return 0;
}
