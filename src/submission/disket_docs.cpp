// The document segments of the segment file: the previous documents of box 40 from the item's
// reference grid, the attached documents and special mentions of box 44 (boxes 93 to 95, the box-44
// list, the continuation sheets), and the transit documents with the TIR carnet.
#include <string>
#include <utility>
#include <vector>

#include "common/umas.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"
#include "submission/disket_run.h"
#include "submission/disket_writers.h"
#include "submission/diskvas.h"

namespace DISKET {

using PLAT::gr;
using UMAS::trim;

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isCapital(char c) { return c >= 'A' && c <= 'Z'; }
std::string num(int n) { return std::to_string(n); }

bool mode48(const RUN& R) { return R.EDE == ED_TIRSEND || R.EDE == ED_TIR; }

// The box-44 list of the declaration. A list in the older 646-byte layout is rewritten at once in
// the 748-byte layout with the same texts (whole, through a temporary file). False when missing.
bool readBox44(EKEXTRA::THESI44& t) {
    const std::string name = EKEXTRA::SIDEFILE(".T44");
    bool old = false;
    if (!EKEXTRA::READT44(name, t, &old)) return false;
    if (old) EKEXTRA::WRITET44(name, t);
    return true;
}

// Code rules of the attached documents: from boxes 93 to 95, and from the box-44 list.
bool validBoxCode(const std::string& c) {
    return c.size() == 4 && (c[0] == '1' || c[0] == '2' || isCapital(c[0])) && isDigit(c[1]) && isDigit(c[2]) &&
           isDigit(c[3]);
}
bool validListCode(const std::string& c) {
    return c.size() == 4 && (c[0] == '1' || c[0] == '2' || c[0] == '3' || isCapital(c[0])) &&
           (isDigit(c[1]) || isCapital(c[1])) && isDigit(c[2]) && isDigit(c[3]);
}

bool isSpecialMention(const std::string& c) {
    static const char* const LIST[] = {"00100", "00200", "00300", "00400", "00500", "10100", "10200",
                                       "10300", "10400", "10500", "30100", "30200", "30300", "30400"};
    for (const char* s : LIST)
        if (c == s) return true;
    return false;
}

}  // namespace

// ---- Previous documents (box 40) ---------------------------------------------------------------

void WRITERS::PREVDOCS(RUN& R) {
    // The type letter: the first character of the second word of box 2, else its first character.
    const std::string B2 = R.box(2);
    size_t p = B2.find(' ');
    if (p != std::string::npos) p = B2.find_first_not_of(' ', p);
    const char letter = p != std::string::npos ? B2[p] : (B2.empty() ? '\0' : B2[0]);
    if (letter == 'D' || letter == 'E') return;

    const int it = R.item();
    EKEXTRA::TDILOS G;
    EKEXTRA::READGRID(EKEXTRA::ITEMNAME(EKEXTRA::DECLNUM(), ".L", num(it)), G);
    for (auto& row : G.C)
        for (int c = 0; c < 7; ++c) row[size_t(c)] = trim(row[size_t(c)]);
    auto usable = [&](int r) { return !G.at(r, 1).empty() && G.at(r, 2).size() >= 2 && !G.at(r, 5).empty(); };

    const std::string head = R.EXT == "MTF" ? "0030" : UMAS::LZ(num(R.KV()), 4);
    int Q = 0;
    for (int r = 1; r <= EKEXTRA::TDILOS::ROWS; ++r) {
        if (!usable(r)) continue;
        R.lineEnd();
        ++Q;
        std::string type = G.at(r, 2);
        if (type == "785") type = "337";
        const std::string& c5 = G.at(r, 5);
        std::string S = head + ":1~2~" + num(it) + "~" + num(Q) + "~" + type + "~" + G.at(r, 1);
        const char f = type[0];
        const bool formB = type == "CLE" || type == "AAD" || type == "FAD" || (f >= '2' && f <= '7') || f == '9' || f == 'Z';
        if (type == "337" || type == "355" || type == "952" || !formB) {
            S += "~" + c5 + "~" + G.at(r, 6) + std::string(13, '~') + G.at(r, 7) + "~" + G.at(r, 8);
        } else if (type == "AAD") {
            // The reference rebuilt: its first 10 characters, "000", its last 8, column 6 in three.
            if (c5.size() == 18)
                S += std::string(11, '~') + c5.substr(0, 10) + "000" + c5.substr(10, 8) + UMAS::LZ(G.at(r, 6), 3) +
                     "~EL~~~~";
            else
                R.error(DISKVAS::ERRMESS(133));
        } else {
            S += std::string(11, '~') + c5 + "~EL~~~~";
        }
        R.put(S);
    }

    if (R.EXT == "MTF") return;
    if (R.EXT == "EXP" && R.itemBox(84, 34) == "1000") return;
    if (Q == 0 || !usable(1)) R.error(DISKVAS::ERRMESS(46));
}

// ---- Attached documents and special mentions (box 44) ------------------------------------------

void WRITERS::ATTACHEDDOCS(RUN& R) {
    std::vector<std::pair<std::string, std::string>> E;  // code, number
    auto badCode = [&](const std::string& code) {
        R.errorRow(gr(" Λάθος κωδικός ") + code + DISKVAS::ERRMESS(81));
    };
    if (UMAS::PAREDE[13].TIMI == 1) {
        for (int b = 93; b <= 95; ++b) {
            const std::string s = R.box(b);
            const size_t colon = s.find(':');
            if (colon == std::string::npos || colon == 0) continue;
            const std::string code = UMAS::cut(trim(s.substr(0, colon)), 4);
            if (validBoxCode(code)) {
                E.emplace_back(code, trim(UMAS::cut(s.substr(colon + 1), 18)));
            } else {
                badCode(code);
                E.emplace_back(code, "");
            }
        }
    } else {
        EKEXTRA::THESI44 T;
        if (readBox44(T)) {
            for (int r = 0; r < 15; ++r) {
                if (T.CODE[size_t(r)].empty() || T.REF[size_t(r)].empty()) continue;
                const std::string code = UMAS::cut(T.CODE[size_t(r)], 4);
                if (!validListCode(code)) badCode(code);
                E.emplace_back(code, trim(T.REF[size_t(r)]));
            }
        }
    }
    if (E.empty()) R.error(DISKVAS::ERRMESS(48));
    for (size_t q = 0; q < E.size(); ++q) {
        R.lineEnd();
        R.put("3125:1~2~1~" + num(int(q + 1)) + "~" + E[q].first + "~" + E[q].second + "~EL");
    }

    // Items 2 and up from their sheets: four-character codes are attached documents, five-character
    // codes special mentions, each numbered apart.
    for (int it = 2; it <= std::min(R.SYNEIDH, MAXITEMS); ++it) {
        int c4 = 0, c5 = 0;
        for (int k = 1; k <= 4; ++k) {
            const REC_EGGR& L = R.EGGR_BIS[size_t(it)][size_t(k)];
            const std::string& code = L.EGGCODE;
            if (code.empty() || !(isDigit(code[0]) || isCapital(code[0]))) continue;
            if (code.size() == 4) {
                R.lineEnd();
                R.put("3125:1~2~" + num(it) + "~" + num(++c4) + "~" + code + "~" + L.EGGNAME + "~EL");
            } else if (code.size() == 5) {
                R.lineEnd();
                R.put("3127:1~2~" + num(it) + "~" + num(++c5) + "~" + code + "~" + L.EGGNAME + "~EL");
            }
        }
    }
}

void WRITERS::SPECIALMENTIONS(RUN& R) {
    if (UMAS::PAREDE[13].TIMI != 0) return;
    EKEXTRA::THESI44 T;
    if (!readBox44(T)) return;
    std::vector<std::pair<std::string, std::string>> M;
    for (int r = 15; r <= 16; ++r) {
        const std::string& code = T.CODE[size_t(r)];
        if (code.empty()) continue;
        if (isSpecialMention(code)) M.emplace_back(code, T.REF[size_t(r)]);
        else R.error(gr("Λάθος κωδικός ") + code + DISKVAS::ERRMESS(86));
    }
    for (size_t q = 0; q < M.size(); ++q) {
        R.lineEnd();
        R.put("3127:1~2~1~" + num(int(q + 1)) + "~" + M[q].first + "~" + M[q].second + "~");
    }
}

// ---- Transit documents --------------------------------------------------------------------------

void WRITERS::TRANSITDOCS44(RUN& R) {
    const int it = R.item();
    int CSYS = 0;
    if (mode48(R) && it == 1) {
        const std::string T = trim(R.ST_TIR[1]);
        if (T.empty()) {
            R.error(DISKVAS::ERRMESS(73));
        } else {
            // The TIR texts hold only digits and capital Latin letters: written as they stand.
            R.OUT += "\r\n0029:1~2~1~1~952~" + T + "~EL~~EL";
            CSYS = 1;
        }
    }
    auto writeThis = [&](const std::string& code, const std::string& SS) {
        if (code.empty() || SS.empty()) return;
        ++CSYS;
        R.lineEnd();
        size_t want = 0;
        if (mode48(R) || R.IST2L || R.EXT == "MTF") want = 3;
        else if (R.EXT == "IMP" || R.EXT == "EXP") want = 4;
        if (want && code.size() != want) R.error(DISKVAS::ERRMESS(124) + code);
        R.put("0029:1~2~" + num(it) + "~" + num(CSYS) + "~" + code + "~" + SS + "~EL");
    };
    for (int b = 1; b <= 3; ++b) {
        const std::string L = R.itemBox(92 + b, 42 + b);
        const size_t P = L.find(':');
        if (P == std::string::npos || P == 0) continue;
        const std::string code = UMAS::REMLCH(L.substr(0, P), '0');
        const std::string SS = trim(UMAS::cut(L.substr(P + 1), 20));
        if (!code.empty() && SS.empty()) {
            R.error(gr("Είδος ") + num(it) + gr(". Λάθος η ") + num(b + 1) + DISKVAS::ERRMESS(74));
        } else if (R.EDE == ED_TIRSEND) {
            // The carnet came from the TIR data.
            if (code.size() == 3 && code != "952") writeThis(code, SS);
        } else {
            writeThis(code, SS);
        }
    }
    if (it == 1 && CSYS == 0 && R.EDE != ED_TIRSEND) R.error(DISKVAS::ERRMESS(71));
}

}  // namespace DISKET
