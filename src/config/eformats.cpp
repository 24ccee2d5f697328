// The electronic-format field tables: the format menu, the 220-row table editor, the output folders
// of "ASCI_OUT.TXT" and the XML listing of a table.
#include "config/params.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/umas.h"
#include "common/xml.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "screen/scr.h"

namespace PARAMS {

const char* const PARTIM7_NAMES[PARTIM7_FORMATS] = {"PARDISK", "PARAUTO", "PARDEFK", "PARDILO",
                                                     "PARDAO",  "PART1",   "PART2L"};

std::string PARTIM7_FILE(int pos) {
    if (pos < 0 || pos >= PARTIM7_FORMATS) return "";
    return std::string(UMAS::HLEK4 ? "Q" : "N") + PARTIM7_NAMES[pos];
}

PARTIM7TABLE decodePARTIM7(const uint8_t* p) {
    PARTIM7TABLE t;
    for (int i = 0; i < PARTIM7_ROWS; ++i) t[size_t(i)] = RECPARTIM7::decode(p + size_t(i) * RECPARTIM7::SIZE);
    return t;
}

void encodePARTIM7(const PARTIM7TABLE& t, uint8_t* p) {
    for (int i = 0; i < PARTIM7_ROWS; ++i) t[size_t(i)].encode(p + size_t(i) * RECPARTIM7::SIZE);
}

namespace {

constexpr int ASCI_LINES = 7;
constexpr int FOLDER_W = 20;

std::string asciOutName() { return UMAS::PATH + "ASCI_OUT.TXT"; }


// The seven lines of "ASCI_OUT.TXT" (missing lines empty, each at most 20 characters).
std::vector<std::string> readAsciOut() {
    std::vector<std::string> lines(ASCI_LINES);
    if (auto l = PLAT::readLines(asciOutName())) {
        for (int i = 0; i < ASCI_LINES && i < int(l->size()); ++i)
            lines[size_t(i)] = (*l)[size_t(i)].substr(0, std::min<size_t>((*l)[size_t(i)].size(), FOLDER_W));
    }
    return lines;
}

void writeAsciOut(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    PLAT::writeWholeAtomic(asciOutName(), out);
}

// Format titles, shown at column 46 of row 5.
std::string formatTitle(int pos) {
    static const char* const T[PARTIM7_FORMATS] = {"   Ε.Δ.Ε.    ", "ΔΕΦΚ ΑΥΤ/ΤΩΝ ", "ΔΕΦΚ ΟΙΝ/ΔΩΝ ",
                                                   " ΔΗΛΩΤΙΚΩΝ   ", "   Δ.Α.Ο.    ", "   T1-TIR    ",
                                                   "    T2L      "};
    return PLAT::gr(T[pos]);
}

// The XML listing of a table: preamble, then ten lines per row, CR LF line ends.
std::string listing(const PARTIM7TABLE& t) {
    std::string x;
    XML::WRITEPREAMP(x);
    auto line = [&](const std::string& s) { x += s + "\r\n"; };
    auto val = [](const std::string& s) { return XML::S2UTF8S(UMAS::CUTLEADSPACES(s)); };
    for (int n = 1; n <= PARTIM7_ROWS; ++n) {
        const RECPARTIM7& r = t[size_t(n - 1)];
        line("  <Record>");
        line("    <ID>" + UMAS::LZ(std::to_string(unsigned(n)), 3) + "</ID>");
        line("    <Code>" + (r.KV == 0 ? std::string() : std::to_string(r.KV)) + "</Code>");
        line("    <Name>" + val(r.PEDIO) + "</Name>");
        line("    <Status>" + val(r.STATUS) + "</Status>");
        line("    <Size>" + val(r.MIKOS) + "</Size>");
        line("    <Type>" + val(r.TYPOS) + "</Type>");
        line("    <Value>" + val(r.TIMES) + "</Value>");
        line("    <Comment></Comment>");
        line("  </Record>");
    }
    return x;
}

// F5: the row emptied; its length rule stays.
void clearRow(RECPARTIM7& r) {
    r.KV = 0;
    r.PEDIO.clear();
    r.STATUS.clear();
    r.TYPOS.clear();
    r.TIMES.clear();
}

// One opened format: the table editor of Part "field tables" on masks 102 and 2.
class TableEditor {
public:
    explicit TableEditor(int pos) : pos_(pos) {}

    void run() {
        SCR::CALLM(102, true);
        SCR::CALLM(2, true);
        UMAS::FKEY({1, 2, 5, 7, 8}, GM1);

        // Output folder: the format's line of "ASCI_OUT.TXT", created with seven "A:\" when missing.
        if (PLAT::fileExists(asciOutName())) {
            folder_ = readAsciOut()[size_t(pos_)];
        } else {
            folder_ = "A:\\";
            writeAsciOut(std::vector<std::string>(ASCI_LINES, "A:\\"));
        }
        SCR::PRINT(45, 19, padTo(folder_, FOLDER_W));
        SCR::PRINT(46, 5, formatTitle(pos_));

        file_ = PARTIM7_FILE(pos_);
        std::vector<uint8_t> buf(PARTIM7_SIZE, 0);
        PLAT::con().gotoXY(1, 23);  // a "file not found" line goes below the frame
        RUFPAR(file_, buf.data(), buf.size());
        t_ = decodePARTIM7(buf.data());

        int LI = 0, CO = 0, SE = 0, KK = 0;
        BOX(SE);
        for (;;) {
            UMAS::EPIL(0, 14, 15, 0, 7, 1, 51, 10, 0, 19, LI, CO, SE, KK, 0);
            const int r = 11 * SE + LI;  // 0-based row of the table
            switch (KK) {
            case 0:
                editRow(r, 7 + LI);
                BOX(SE);
                break;
            case 1: case 2: case 4: case 5:
                BOX(SE);
                break;
            case 7: {  // F1
                std::vector<uint8_t> out(PARTIM7_SIZE, 0);
                encodePARTIM7(t_, out.data());
                KATPAR(file_, out.data(), out.size());
                break;
            }
            case 8:  // F2
                ASCII_OUT();
                break;
            case 11:  // F5
                clearRow(t_[size_t(r)]);
                BOX(SE);
                break;
            case 12:  // F6: rows after the bar move up, the last one is cleared
                for (int k = r; k < PARTIM7_ROWS - 1; ++k) t_[size_t(k)] = t_[size_t(k + 1)];
                clearRow(t_[PARTIM7_ROWS - 1]);
                BOX(SE);
                break;
            case 13:  // F7: only when the last row is free
                if (t_[PARTIM7_ROWS - 1].KV == 0) {
                    for (int k = PARTIM7_ROWS - 1; k > r; --k) t_[size_t(k)] = t_[size_t(k - 1)];
                    clearRow(t_[size_t(r)]);
                    BOX(SE);
                }
                break;
            case 16:  // F10
                MAKEXML();
                break;
            case 3:
                SCR::RECALL();
                SCR::RECALL();
                return;
            default:
                break;
            }
        }
    }

private:
    int pos_;
    std::string folder_;
    std::string file_;
    PARTIM7TABLE t_;

    // Page SE of the table: page number at (63,18), eleven rows from row 7.
    void BOX(int SE) {
        std::string pg = std::to_string(SE + 1);
        SCR::PRINT(63, 18, std::string(pg.size() < 2 ? 2 - pg.size() : 0, ' ') + pg);
        for (int i = 0; i < 11; ++i) showRow(11 * SE + i, 7 + i);
    }

    void showRow(int r, int y) {
        const RECPARTIM7& x = t_[size_t(r)];
        SCR::PRINT(16, y, x.KV == 0 ? std::string(5, ' ') : UMAS::LZ(std::to_string(x.KV), 5));
        SCR::PRINT(24, y, padTo(x.PEDIO, 22));
        SCR::PRINT(48, y, padTo(x.STATUS, 1));
        SCR::PRINT(50, y, padTo(x.MIKOS, 5));
        SCR::PRINT(56, y, padTo(x.TYPOS, 1));
        SCR::PRINT(59, y, padTo(x.TIMES, 10));
    }

    // Enter on a row: the six fields in turn; each stores into the work copy when left.
    void editRow(int r, int y) {
        SCR::CALLM(2, true);
        UMAS::FKEY({10}, GM1);
        RECPARTIM7& x = t_[size_t(r)];
        const SCR::SOC any = SCR::socRange(32, 255);
        int f = 0, K = 0;
        while (f >= 0 && f < 6) {
            std::string s;
            switch (f) {
            case 0: {
                s = SCR::GINPUT(16, y, 5, x.KV == 0 ? "" : UMAS::LZ(std::to_string(x.KV), 5), "", SCR::socDigits(), false, true, K);
                double v = UMAS::EVAL(trim(s));
                if (v > 65535) {  // a field code is a WORD: the same field again
                    PLAT::con().bell();
                    continue;
                }
                x.KV = uint16_t(v < 0 ? 0 : v + 0.5);
                SCR::PRINT(16, y, x.KV == 0 ? std::string(5, ' ') : UMAS::LZ(std::to_string(x.KV), 5));
                break;
            }
            case 1:
                x.PEDIO = SCR::GINPUT(24, y, 22, x.PEDIO.empty() ? std::string(20, ' ') : x.PEDIO, "", any, false,
                                      true, K);
                break;
            case 2:
                x.STATUS = SCR::GINPUT(48, y, 1, x.STATUS.empty() ? " " : x.STATUS, "", SCR::soc(" CORr"), false,
                                       true, K);
                break;
            case 3:
                x.MIKOS = SCR::GINPUT(50, y, 5, x.MIKOS.empty() ? std::string(5, ' ') : x.MIKOS, "",
                                      SCR::soc(".0123456789"), false, true, K);
                break;
            case 4:
                x.TYPOS = SCR::GINPUT(56, y, 1, x.TYPOS.empty() ? " " : x.TYPOS, "", any, false, true, K);
                break;
            case 5: {
                // The field shows six of the ten characters: a value left as it was keeps its tail.
                const std::string old = x.TIMES;
                const std::string shown = old.empty() ? std::string(6, ' ') : old.substr(0, std::min<size_t>(old.size(), 6));
                s = SCR::GINPUT(59, y, 6, shown, "", any, false, true, K);
                if (s != shown || old.empty()) x.TIMES = s;
                break;
            }
            }
            if (K == 0 || K == 2)
                ++f;
            else if (K == 1)
                --f;
            else if (K == 3)
                break;
        }
        SCR::RECALL();
    }

    // F2: the output folder of this format.
    void ASCII_OUT() {
        SCR::CALLM(2, true);
        UMAS::FKEY({10}, GM1);
        std::vector<std::string> lines = readAsciOut();
        const std::string remembered = lines[size_t(pos_)];
        std::string s = remembered;
        for (;;) {
            int K = 0;
            s = SCR::GINPUT(45, 19, FOLDER_W, s, "", SCR::socRange(32, 255), false, true, K);
            if (K == 3) {
                s = remembered;
                break;
            }
            if (K != 0) continue;
            std::string v = trim(s);
            if (v.size() < 3) {  // "C:" and shorter are no folder
                PLAT::con().bell();
                s = remembered;
                continue;
            }
            if (v.back() != '\\') v += '\\';
            if (v.size() > size_t(FOLDER_W)) {
                // The writers put the file name right after the folder: a folder that has no room
                // left for its closing backslash is refused, and the clerk shortens it.
                PLAT::con().bell();
                continue;
            }
            s = v;
            break;
        }
        lines[size_t(pos_)] = s;
        folder_ = s;
        SCR::PRINT(45, 19, padTo(s, FOLDER_W));
        writeAsciOut(lines);
        SCR::RECALL();
    }

    // F10: the table as XML next to the table file.
    void MAKEXML() { PLAT::writeWholeAtomic(UMAS::PATH + file_ + ".xml", listing(t_)); }
};

}  // namespace

void CALLPARTIM7() {
    SCR::CALLM(105, true);
    int LI = 0, CO = 0, SE = 0, KK = 0;
    for (;;) {
        UMAS::EPIL(4, 15, 25, 0, 8, 1, 31, 6, 0, 0, LI, CO, SE, KK, 0);
        if (KK == 3) break;
        if (KK == 0) TableEditor(LI).run();
    }
    SCR::RECALL();
}

}  // namespace PARAMS
