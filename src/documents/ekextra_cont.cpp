// The container numbers of a page (main page or loaded continuation sheet), with the ISO 6346 check
// digit appended to each number. Stored when opened and on F4; Esc asks before dropping changes.
#include "common/umas.h"
#include "declarations/bod.h"
#include "documents/ekextra.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace EKEXTRA {

void CONTAINER_NUMS(bool B) {
    SCR::CALLM(34, true);
    const std::string sheet = CONTAINERSHEET(B);
    SCR::PRINT(47, 4, sheet);
    const std::string number = DECLNUM();
    const std::string name = CONTAINERNAME(number, sheet);

    CONTBUF table, saved;
    if (!READCONT(name, table)) {
        // Older installations named the file after the first 8 characters of the number.
        const std::string old = OLDCONTAINERNAME(number, sheet);
        if (!old.empty()) READCONT(old, table);
    }
    const std::string box = UMAS::trim(B ? BOD::SOB(BOD::BIS, BOD::GB, 17) : BOD::SOB(BOD::DIA, BOD::GV, 66));
    if (box.size() > 10) table.E[0] = box.substr(0, 11);

    auto KAT = [&] {
        WRITECONT(name, table);
        saved = table;
    };
    KAT();

    // An entry is the typed number and its check digit; the part typed is all but the last
    // character (entry 1 taken from the container box is its first 10 characters).
    auto body = [](const std::string& e) { return e.size() > 10 ? e.substr(0, 10) : e.substr(0, e.empty() ? 0 : e.size() - 1); };
    auto shown = [&](const std::string& e) {
        return UMAS::LEJU(body(e), 10) + "-" + (e.size() > 10 ? e.substr(10, 1) : e.substr(e.empty() ? 0 : e.size() - 1));
    };
    int page = 0, row = 0;
    auto draw = [&] {
        SCR::PRINT(46, 22, UMAS::RIJU(std::to_string(page + 1), 2));
        for (int i = 1; i <= 15; ++i) {
            const std::string& e = table.E[size_t(15 * page + i - 1)];
            SCR::PRINT(31, 6 + i, UMAS::RIJU(std::to_string(15 * page + i), 2));
            SCR::PRINT(38, 6 + i, std::string(12, ' '));
            if (!e.empty()) SCR::PRINT(38, 6 + i, shown(e));
        }
    };
    draw();

    const SCR::SOC chars = SCR::soc("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    for (;;) {
        std::string& e = table.E[size_t(15 * page + row)];
        int K = 0;
        const std::string S = UMAS::REMLCH(SCR::GINPUT(38, 7 + row, 10, body(e), "", chars, false, true, K), ' ');
        if (!S.empty()) {
            const char D = CONTAINER_DIGIT(S);
            SCR::PRINT(48, 7 + row, std::string("-") + D);
            e = S + D;
        } else {
            SCR::PRINT(48, 7 + row, "  ");
            e.clear();
        }
        if (K == 0 || K == 2) {
            if (row < 14) ++row;
            else if (page < 5) row = 0, ++page, draw();
        } else if (K == 1) {
            if (row > 0) --row;
            else if (page > 0) row = 14, --page, draw();
        } else if (K == 4) {
            if (page > 0) --page, draw();
        } else if (K == 5) {
            if (page < 5) ++page, draw();
        } else if (K == 10) {
            KAT();
        } else if (K == 3) {
            if (!(table == saved)) {
                SCR::CALLM(65, true);
                const bool yes = PRNS::YES(55, 12);
                SCR::RECALL();
                if (!yes) continue;
            }
            break;
        }
    }
    SCR::RECALL();
}

}  // namespace EKEXTRA
