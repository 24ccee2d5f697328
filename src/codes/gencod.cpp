// The official code lists: the named-list picker and the VAT-code picker.
#include "codes/gencod.h"

#include <algorithm>

#include "common/umas.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace GENCOD {

BUF GENREC_CODE;
REC_FPA GENREC_FPA;

UMAS::FUN GM3 = [] {
    UMAS::FUN f;
    f[1] = PLAT::gr("ESC.Εξοδος");
    f[3] = PLAT::gr("Enter.Επιλογή");
    f[4] = PLAT::gr("F4.Προβολή κατά Ονομα");
    f[5] = PLAT::gr("F3.Προβολή κατά Κωδικό");
    f[6] = PLAT::gr(" , ,PgDn,PgUp.Μετακίνηση");
    return f;
}();

std::string ISO437(const std::string& S) { return PLAT::cp1253ToCp737(S); }

namespace {

using UMAS::cut;

using UMAS::trim;

bool allDigits(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string two(int v) { return UMAS::LZ(std::to_string(v), 2); }

void arrows(UMAS::FUN& f) {
    f[6] = PLAT::gr(" , ,PgDn,PgUp.Μετακίνηση");
    f[6][0] = char(24);
    f[6][2] = char(25);
}

// The masks of a picker: its own and the legend row, both saved.
void openPicker(int mask) {
    arrows(GM3);
    SCR::CALLM(mask, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 3, 4, 5}, GM3);
}
void closePicker() {
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace

// ---- Named lists ---------------------------------------------------------------------------------

std::vector<BUF> readList(const std::vector<std::string>& lines, bool twoLines) {
    std::vector<BUF> v;
    const size_t per = twoLines ? 2 : 5;
    const size_t codeLine = twoLines ? 0 : 1, nameLine = twoLines ? 1 : 2;
    for (size_t at = 0; at < lines.size() && v.size() < MAXCODES; at += per) {
        BUF b;
        if (at + codeLine < lines.size()) b.SCODE = cut(lines[at + codeLine], 4);
        if (at + nameLine < lines.size()) b.SNAME = cut(ISO437(lines[at + nameLine]), 50);
        v.push_back(b);
    }
    return v;
}

void GENCODE(const std::string& TEXTNAME, const std::string& TITLE) {
    GENREC_CODE = {};
    const std::string file = TEXTNAME + ".TXT";
    auto lines = PLAT::readLines(file);
    if (!lines) {
        // "The list <file> is not installed. Press a key"
        PRNS::REPORT(PLAT::gr("Ο κατάλογος ") + file + PLAT::gr(" δεν υπάρχει. Πατήστε ένα πλήκτρο"));
        return;
    }
    openPicker(126);
    SCR::PRINT(55, 2, UMAS::CENTE(TITLE, 18));

    std::vector<BUF> list = readList(*lines, TEXTNAME == "TELONIA");
    if (list.empty()) list.push_back({});
    const int n = int(list.size());

    int LI = 0, CO = 0, SE = 0, KK = 0;
    auto BOX = [&] {
        SCR::PRINT(76, 24, two(SE + 1));
        for (int line = 1; line <= 20; ++line) {
            const int i = SE * 20 + line - 1;
            if (i < n) {
                SCR::PRINT(45, line + 3, UMAS::RIJU(std::to_string(i + 1), 3));
                SCR::PRINT(49, line + 3, UMAS::CENTE(list[size_t(i)].SCODE, 7));
                SCR::PRINT(57, line + 3, UMAS::LEJU(list[size_t(i)].SNAME, 22));
            } else {
                SCR::PRINT(45, line + 3, "   ");
                SCR::PRINT(49, line + 3, std::string(7, ' '));
                SCR::PRINT(57, line + 3, std::string(22, ' '));
            }
        }
    };
    // Every pair is compared in turn and exchanged when the first's key is greater.
    auto sortBy = [&](std::string BUF::*key) {
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j)
                if (list[size_t(i)].*key > list[size_t(j)].*key) std::swap(list[size_t(i)], list[size_t(j)]);
    };
    BOX();
    for (;;) {
        KK = 0;
        UMAS::EPIL(0, 14, 49, 0, 4, 1, 30, 19, 0, n / 20, LI, CO, SE, KK, 0);
        if (KK == 0) {
            const int i = SE * 20 + LI;
            GENREC_CODE = i < n ? list[size_t(i)] : BUF{};
            break;
        }
        if (KK == 3) {
            GENREC_CODE = {};
            break;
        }
        if (KK == 4 || KK == 5) BOX();
        if (KK == 9 || KK == 10) {
            sortBy(KK == 9 ? &BUF::SCODE : &BUF::SNAME);
            BOX();
        }
    }
    closePicker();
}

// ---- VAT-code lists ------------------------------------------------------------------------------

std::string chapterFile(int KLASI) { return "TARIC\\FPA" + two(KLASI) + ".TXT"; }

namespace {

// Runs of blanks collapsed to one.
std::string REM32(const std::string& s) {
    std::string r;
    for (char c : s)
        if (!(c == ' ' && !r.empty() && r.back() == ' ')) r += c;
    return r;
}
bool ONLY4(const std::string& s) { return s.size() == 4 && allDigits(s); }
bool FIRSTLINE(const std::string& s) { return s.size() >= 10 && allDigits(s.substr(0, 10)); }
bool HASCODE4(const std::string& s) { return s.size() >= 4 && allDigits(s.substr(s.size() - 4)); }

struct ChapterBuilder {
    std::vector<RECORD_FPA> rows;
    std::string pending;
    bool full = false;

    bool start() {
        if (rows.size() >= MAXFPA) {
            full = true;
            return false;
        }
        rows.push_back({});
        return true;
    }
    RECORD_FPA& cur() { return rows.back(); }

    // The next piece of text (at most 40 characters) and what is left of it.
    static void piece(const std::string& text, std::string& p, std::string& rest) {
        if (text.size() <= 40) {
            p = text;
            rest.clear();
            return;
        }
        size_t blank = text.substr(0, 41).rfind(' ');
        if (blank == std::string::npos) {
            p = text.substr(0, 40);
            rest = text.substr(40);
        } else {
            p = trim(text.substr(0, blank));
            rest = text.substr(blank + 1);
        }
        rest = REM32(trim(rest));
    }
    void wrap(const std::string& text) {
        std::string p;
        piece(REM32(trim(text)), p, pending);
        cur().PERIG = p;
        if (pending.size() > 40 && start()) {
            std::string rest;
            piece(pending, p, rest);
            cur().PERIG = p;
            pending = rest;
        }
    }
    // The pending text in rows of its own; the row started last stays current.
    void WRITERESTA() {
        while (!pending.empty()) {
            std::string p, rest;
            piece(pending, p, rest);
            cur().CODE10.clear();
            cur().CODE4.clear();
            cur().PERIG = p;
            pending = rest;
            if (!start()) return;
        }
    }
    void line(const std::string& raw) {
        const std::string l = trim(raw);
        if (l.empty() || !start()) return;
        if (ONLY4(l)) {
            WRITERESTA();
            if (full) return;
            cur().CODE4 = l;
        } else if (FIRSTLINE(l)) {
            WRITERESTA();
            if (full) return;
            cur().CODE10 = l.substr(0, 10);
            std::string rest = l.substr(10);
            if (rest.size() >= 4 && HASCODE4(rest)) {
                cur().CODE4 = rest.substr(rest.size() - 4);
                rest.resize(rest.size() - 4);
            }
            wrap(rest);
        } else {
            wrap(pending + " " + l);
        }
    }
};

}  // namespace

std::vector<RECORD_FPA> readChapter(const std::vector<std::string>& lines) {
    ChapterBuilder b;
    for (const auto& l : lines) {
        if (b.full) break;
        b.line(l);
    }
    return b.rows;
}

void FPACODE(int KLASI) {
    KLASI = std::clamp(KLASI, 1, 99);
    openPicker(127);
    std::vector<RECORD_FPA> rows;
    int LI = 0, CO = 0, SE = 0, KK = 0;
    auto BOX = [&] {
        SCR::PRINT(76, 24, two(SE + 1));
        for (int line = 1; line <= 20; ++line) {
            const size_t i = size_t(SE * 20 + line - 1);
            if (i < rows.size()) {
                SCR::PRINT(23, line + 3, UMAS::LEJU(rows[i].CODE10, 10));
                SCR::PRINT(34, line + 3, UMAS::LEJU(rows[i].CODE4, 4));
                SCR::PRINT(39, line + 3, UMAS::LEJU(rows[i].PERIG, 40));
            } else {
                SCR::PRINT(23, line + 3, std::string(15, ' '));
                SCR::PRINT(39, line + 3, std::string(40, ' '));
            }
        }
    };
    auto load = [&] {
        SCR::PRINT(58, 2, "     ");
        SCR::PRINT(69, 2, "     ");
        if (KLASI > 2) SCR::PRINT(58, 2, two(KLASI - 2));
        if (KLASI > 1) SCR::PRINT(61, 2, two(KLASI - 1));
        SCR::PRINT(65, 2, two(KLASI));
        if (KLASI < 99) SCR::PRINT(69, 2, two(KLASI + 1));
        if (KLASI < 98) SCR::PRINT(72, 2, two(KLASI + 2));
        rows.clear();
        if (auto lines = PLAT::readLines(chapterFile(KLASI))) rows = readChapter(*lines);
        if (rows.empty()) rows.push_back({});
        LI = CO = SE = 0;
        BOX();
    };
    load();
    UMAS::ARDEX = false;
    for (;;) {
        KK = 0;
        const int pages = int(rows.size()) / 20;
        UMAS::EPIL(0, 14, 23, 0, 4, 1, 56, 19, 0, pages, LI, CO, SE, KK, 0);
        if (KK == 0) {
            GENREC_FPA = {};
            int i = SE * 20 + LI;
            if (i >= int(rows.size())) i = int(rows.size()) - 1;
            while (i > 0 && rows[size_t(i)].CODE10.empty()) --i;
            if (!rows[size_t(i)].CODE10.empty()) {
                GENREC_FPA.CODE10 = rows[size_t(i)].CODE10;
                GENREC_FPA.CODE4 = rows[size_t(i)].CODE4;
                GENREC_FPA.PERIG[1] = rows[size_t(i)].PERIG;
                for (int k = 2; k <= 6; ++k) {
                    const size_t j = size_t(i + k - 1);
                    if (j >= rows.size() || !rows[j].CODE10.empty()) break;
                    GENREC_FPA.PERIG[size_t(k)] = rows[j].PERIG;
                }
            }
            break;
        }
        if (KK == 3) {
            GENREC_FPA = {};
            break;
        }
        if ((KK == 1 || KK == 2) && UMAS::ARDEX) {
            UMAS::ARDEX = false;
            if (KK == 1 && KLASI > 1) --KLASI;
            if (KK == 2 && KLASI < 99) ++KLASI;
            load();
        } else if (KK == 4 || KK == 5) {
            BOX();
        }
    }
    closePicker();
}

}  // namespace GENCOD
