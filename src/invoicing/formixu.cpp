// FORMIXU: the document text for signing.
#include "invoicing/formixu.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/exchfiles.h"

namespace FORMIXU {

std::string CP737TO1253(const std::string& SOURCE) { return PLAT::cp737ToCp1253(SOURCE); }

namespace {

// The column of a marker: its three characters as a decimal number, leading blanks allowed;
// anything else counts as 0.
int markerColumn(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    if (i == s.size()) return 0;
    int v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return 0;
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

}  // namespace

std::string TABSLINE(const std::string& LINE) {
    std::string line = CP737TO1253(LINE);
    std::string out;
    size_t copy = 0;
    size_t m = line.find("<<(");
    while (m != std::string::npos) {
        if (m > copy) out += line.substr(copy, m - copy);
        int n = markerColumn(line.substr(m + 3, 3));
        if (int(out.size()) < n)
            out.append(size_t(n) - out.size(), ' ');
        else
            out += ' ';
        copy = std::max(copy, std::min(m + 6, line.size()));
        line[m] = ' ';  // the next search finds the next marker
        m = line.find("<<(", m + 1);
    }
    if (copy < line.size()) out += line.substr(copy);
    if (out.size() > 255) out.resize(255);
    return out;
}

bool TABSOUT(const std::string& FNAME1, const std::string& FNAME2) {
    auto in = PLAT::tryReadWhole(FNAME1);
    if (!in) return false;
    std::string out;
    size_t i = 0;
    const std::string& s = *in;
    while (i < s.size()) {
        size_t e = s.find('\n', i);
        std::string line = s.substr(i, e == std::string::npos ? std::string::npos : e - i);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out += TABSLINE(line) + "\r\n";
        if (e == std::string::npos) break;
        i = e + 1;
    }
    return PLAT::tryWriteWhole(FNAME2, out);
}

}  // namespace FORMIXU
