// The XML text encoder: escapes, CP737 to UTF-8, control characters, validity of every output.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/xml.h"

namespace {

// A strict UTF-8 decoder: false on any malformed, overlong, surrogate or out-of-range sequence.
bool decodeUtf8(const std::string& s, std::vector<char32_t>& out) {
    out.clear();
    for (size_t i = 0; i < s.size();) {
        const uint8_t b = uint8_t(s[i]);
        int n;
        char32_t cp, min;
        if (b < 0x80) { n = 0; cp = b; min = 0; }
        else if ((b & 0xE0) == 0xC0) { n = 1; cp = b & 0x1F; min = 0x80; }
        else if ((b & 0xF0) == 0xE0) { n = 2; cp = b & 0x0F; min = 0x800; }
        else if ((b & 0xF8) == 0xF0) { n = 3; cp = b & 0x07; min = 0x10000; }
        else return false;
        if (i + 1 + n > s.size()) return false;
        for (int k = 1; k <= n; ++k) {
            const uint8_t c = uint8_t(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        out.push_back(cp);
        i += 1 + n;
    }
    return true;
}

std::string hex(const std::string& s) {
    static const char* d = "0123456789ABCDEF";
    std::string r;
    for (unsigned char c : s) {
        if (!r.empty()) r += ' ';
        r += d[c >> 4];
        r += d[c & 15];
    }
    return r;
}

struct EscapeCase {
    const char* in;
    const char* out;
};

TEST(XmlEncoder, EscapesTheReservedCharacters) {
    const EscapeCase cases[] = {
        {"", ""},
        {"abc", "abc"},
        {"a<b & c>d", "a&lt;b &amp; c&gt;d"},
        {"it's \"x\"", "it&apos;s &quot;x&quot;"},
        {"&&&", "&amp;&amp;&amp;"},
        {"<'\">", "&lt;&apos;&quot;&gt;"},
        // An entity already in the text has its ampersand escaped again.
        {"&amp;", "&amp;amp;"},
        // The marker used while escaping also stands for an ampersand when it is in the text.
        {"x~;~y", "x&amp;y"},
        {"~&~", "~&amp;~"},
        {"a>>b<<c", "a&gt;&gt;b&lt;&lt;c"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(XML::S2XMLS(c.in), c.out) << "input: " << c.in;
        EXPECT_EQ(XML::S2UTF8S(c.in), c.out) << "input: " << c.in;
    }
}

struct ByteCase {
    uint8_t cp737;
    const char* utf8;
    const char* what;
};

TEST(XmlEncoder, ConvertsCodePage737ToUtf8) {
    const ByteCase cases[] = {
        {0x80, "\xCE\x91", "capital alpha"},
        {0x97, "\xCE\xA9", "capital omega"},
        {0x98, "\xCE\xB1", "small alpha"},
        {0xAA, "\xCF\x82", "final sigma"},
        {0xAF, "\xCF\x88", "small psi"},
        {0xE0, "\xCF\x89", "small omega"},
        {0xE1, "\xCE\xAC", "alpha with tonos"},
        {0xE4, "\xCF\x8A", "iota with dialytika"},
        {0xE9, "\xCF\x8E", "omega with tonos"},
        {0xEA, "\xCE\x86", "capital alpha with tonos"},
        {0xF0, "\xCE\x8F", "capital omega with tonos"},
        {0xF1, "\xC2\xB1", "plus-minus"},
        {0xF4, "\xCE\xAA", "capital iota with dialytika"},
        {0xF5, "\xCE\xAB", "capital upsilon with dialytika"},
        {0xF8, "\xC2\xB0", "degree"},
        {0xFF, "\xC2\xA0", "no-break space"},
        {0xC4, "\xE2\x94\x80", "box light horizontal"},
        {0xB3, "\xE2\x94\x82", "box light vertical"},
        {0xC9, "\xE2\x95\x94", "box double down and right"},
        {0xCD, "\xE2\x95\x90", "box double horizontal"},
        {0xB0, "\xE2\x96\x91", "light shade"},
        {0xDB, "\xE2\x96\x88", "full block"},
        {0xFE, "\xE2\x96\xA0", "black square"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hex(XML::S2UTF8S(std::string(1, char(c.cp737)))), hex(c.utf8)) << c.what;
        EXPECT_EQ(hex(XML::CP737TOUTF8(c.cp737)), hex(c.utf8)) << c.what;
    }
    // A word keeps its letters in order: "ΚΑΛΗ" -> Κ Α Λ Η.
    EXPECT_EQ(XML::S2UTF8S("\x89\x80\x8A\x86"), "\xCE\x9A\xCE\x91\xCE\x9B\xCE\x97");
    // A box-drawing frame is kept, not dropped and not turned into C0 80.
    EXPECT_EQ(XML::S2UTF8S("\xDA\xC4\xBF"), "\xE2\x94\x8C\xE2\x94\x80\xE2\x94\x90");
}

TEST(XmlEncoder, ControlCharactersBecomeBlanks) {
    EXPECT_EQ(XML::S2UTF8S("a\tb"), "a b");
    EXPECT_EQ(XML::S2UTF8S(std::string("x\x00y", 3)), "x y");
    EXPECT_EQ(XML::S2UTF8S("\x01\x0D\x0A\x1F\x7F"), "     ");
    EXPECT_EQ(XML::S2UTF8S("\x1B<"), " &lt;");
}

TEST(XmlEncoder, EveryByteGivesValidUtf8) {
    std::string all;
    std::set<char32_t> highCodePoints;
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, char(b));
        const std::string out = XML::S2UTF8S(one);
        std::vector<char32_t> cps;
        ASSERT_TRUE(decodeUtf8(out, cps)) << "byte " << b << " gives " << hex(out);
        ASSERT_FALSE(cps.empty()) << "byte " << b << " disappears";
        for (char32_t cp : cps) {
            EXPECT_NE(cp, 0u) << "byte " << b;
            EXPECT_FALSE(cp < 0x20 || cp == 0x7F) << "byte " << b << " leaves a control character";
        }
        if (b >= 0x80) {
            ASSERT_EQ(cps.size(), 1u) << "byte " << b;
            EXPECT_GE(cps[0], 0xA0u) << "byte " << b << " maps into ASCII or C1";
            EXPECT_NE(cps[0], char32_t('?')) << "byte " << b << " has no mapping";
            highCodePoints.insert(cps[0]);
        }
        all += one;
    }
    // The table is complete: 128 distinct characters for the 128 upper bytes.
    EXPECT_EQ(highCodePoints.size(), 128u);
    // The whole code page in one text, repeated so that the output runs far past 255 bytes.
    const std::string text = all + all;
    std::vector<char32_t> cps;
    ASSERT_TRUE(decodeUtf8(XML::S2UTF8S(text), cps));
}

TEST(XmlEncoder, LongTextsAreNotCut) {
    // 127 Greek letters give 254 bytes; 200 give 400 (no cut through a letter at 255).
    EXPECT_EQ(XML::S2UTF8S(std::string(127, '\x80')).size(), 254u);
    const std::string out = XML::S2UTF8S(std::string(200, '\x98'));
    ASSERT_EQ(out.size(), 400u);
    EXPECT_EQ(out.substr(398), "\xCE\xB1");
    // A text of 253 characters ending in ">" keeps its whole entity.
    const std::string esc = XML::S2XMLS(std::string(252, 'a') + ">");
    EXPECT_EQ(esc.size(), 256u);
    EXPECT_EQ(esc.substr(252), "&gt;");
    // A full 255-character text of ampersands: every entity complete.
    const std::string amps = XML::S2XMLS(std::string(255, '&'));
    EXPECT_EQ(amps.size(), 255u * 5);
    EXPECT_EQ(amps.substr(amps.size() - 5), "&amp;");
}

TEST(XmlEncoder, PreambleStartsTheFile) {
    std::string f;
    XML::WRITEPREAMP(f);
    EXPECT_EQ(f, "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\r\n");
}

}  // namespace
