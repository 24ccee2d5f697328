#include "common/xml.h"

#include "platform/codepage.h"

namespace XML {

namespace {
const std::string MARKER = "~;~";

bool validCodePoint(char32_t cp) { return cp > 0 && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF); }
}  // namespace

std::string CP737TOUTF8(uint8_t C) {
    char32_t cp = PLAT::cp737ToUnicode(C, false);
    // Every byte of the code page has a character; a hole in the table must still give valid text.
    if (!validCodePoint(cp)) return "?";
    return PLAT::utf8(cp);
}

std::string S2XMLS(const std::string& S) {
    // Every ampersand first becomes the marker, so that the ampersands of the entities put in
    // afterwards are not escaped again.
    std::string t;
    t.reserve(S.size() * 3);
    for (char c : S) {
        if (c == '&')
            t += MARKER;
        else
            t += c;
    }
    // Markers are taken from the left; an entity never forms a new marker.
    std::string r;
    r.reserve(t.size() * 2);
    for (size_t i = 0; i < t.size();) {
        if (t.compare(i, MARKER.size(), MARKER) == 0) {
            r += "&amp;";
            i += MARKER.size();
            continue;
        }
        switch (t[i]) {
            case '>': r += "&gt;"; break;
            case '<': r += "&lt;"; break;
            case '\'': r += "&apos;"; break;
            case '"': r += "&quot;"; break;
            default: r += t[i];
        }
        ++i;
    }
    return r;
}

std::string S2UTF8S(const std::string& S) {
    const std::string t = S2XMLS(S);
    std::string r;
    r.reserve(t.size() * 3);
    for (char ch : t) {
        const uint8_t b = uint8_t(ch);
        if (b < 0x20 || b == 0x7F)
            r += ' ';
        else if (b < 0x80)
            r += char(b);
        else
            r += CP737TOUTF8(b);
    }
    return r;
}

void WRITEPREAMP(std::string& F) {
    F += "\xEF\xBB\xBF";
    F += "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\r\n";
}

}  // namespace XML
