// The excise export run: its window and question, the set-up (field table "PARDEFK", reference,
// output folder), the walk with the excise row step and item block, and the end (error list, or
// the client, the export counter and "ANAF.DAT").
#include <algorithm>
#include <memory>

#include "common/umas.h"
#include "config/params.h"
#include "declarations/bod.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"
#include "submission/disket_counter.h"
#include "submission/diskoil.h"
#include "submission/diskvas.h"

namespace DISKOIL {

using PLAT::gr;

namespace {

constexpr int BLOCK_FIRST = 111, BLOCK_LAST = 217, MISSING_SHEET_ROW = 197, LAST_CHECKED = 155;

bool isNumericType(const std::string& t) {
    static const std::string NU = gr("Ν"), nu = gr("ν");
    if (t.empty()) return false;
    const std::string first = t.substr(0, 1);
    return first == NU || first == nu || first == "n" || first == "N";
}

// The head of a segment into R.BS (the line end before it written).
void head(RUN& R) {
    const uint16_t KV = R.KV();
    if (KV > 1001) R.lineEnd();
    R.BS = UMAS::LZ(std::to_string(KV - 1000), 4) + ":1";
}

}  // namespace

void WALK(RUN& R) {
    static const std::string nu = gr("ν");
    int atBlockStart = -1;  // the item number when the block was last entered
    bool loopTold = false;
    R.I = 1;
    R.FOROI888.fill(true);
    // The sheets are read under "FBIS", taken once for the whole walk.
    struct SheetLock {
        SheetLock() { UMAS::LOCK("FBIS"); }
        ~SheetLock() { UMAS::UNLOC("FBIS"); }
    } sheetLock;

    // The item-block test on the index of the next row.
    auto repeat = [&] {
        if (R.I != BLOCK_LAST + 1 || R.AREIDOS >= R.SYNEIDH) return;
        if (R.AREIDOS == atBlockStart) {
            // The block raised no item: walking it again would never end.
            if (!loopTold)
                R.error(gr("Οι γραμμές 111-217 του πίνακα δεν έχουν γραμμή είδους: τα επόμενα είδη δεν γράφτηκαν."));
            loopTold = true;
            return;
        }
        R.I = BLOCK_FIRST;
    };

    while (R.I >= 1 && R.I <= PARAMS::PARTIM7_ROWS) {
        if (R.I == BLOCK_FIRST) atBlockStart = R.AREIDOS;
        const PARAMS::RECPARTIM7& row = R.row();
        const uint16_t KV = row.KV;
        R.BS.clear();
        bool lengthOnly = false;
        if (KV == 0 && UMAS::trim(row.STATUS).empty()) {
            lengthOnly = true;
        } else {
            if (KV == 1111) WRITEKRASIA(R);
            if (KV > 1000 && KV != 1111) head(R);
            else if (KV < 1000) {
                VALUE(R);
                if (KV == 78 && R.AREIDOS >= 2 && !DISKET::GETBIS(R)) {
                    // The rest of the item from row 197 (never backwards: an item row at or
                    // after row 197 goes on with the next row).
                    R.I = R.I < MISSING_SHEET_ROW ? MISSING_SHEET_ROW : R.I + 1;
                    repeat();
                    continue;
                }
            }
            R.BS = UMAS::trim(R.BS);
            if (KV < 1000) AFTERVALUE(R);
            if (row.TYPOS.find(nu) != std::string::npos && !R.BS.empty() && R.BS.find('.') == std::string::npos)
                R.BS += ".0";
            if (KV == 980 || KV == 1111) {
                lengthOnly = true;
            } else {
                if (isNumericType(row.TYPOS) && !R.BS.empty()) {
                    for (char c : R.BS)
                        if (!((c >= '0' && c <= '9') || c == '.')) {
                            R.errorRow(DISKVAS::ERRMESS(0) + row.PEDIO);
                            break;
                        }
                }
                if (KV < 1000) R.OUT += '~';
                R.put(R.BS);
            }
        }
        if (R.I <= LAST_CHECKED) {
            if (!lengthOnly && row.STATUS == "R" && R.BS.empty())
                R.errorRow(DISKVAS::ERRMESS(90) + DISKET::CODETEXT(KV) + " " + row.PEDIO);
            else if (!DISKET::CHECKMIKOS(R, R.BS))
                R.errorRow(DISKVAS::ERRMESS(91) + DISKET::CODETEXT(KV) + " " + row.PEDIO);
        }
        ++R.I;
        repeat();
    }
}

void MAKE_DISK_OIL(const std::string& EXT, uint8_t EDE, bool TESTENV) {
    PLAT::Console& con = PLAT::con();
    auto Rp = std::make_unique<RUN>();
    RUN& R = *Rp;
    R.EXT = EXT;
    R.EDE = EDE;
    R.TESTENV = TESTENV;
    const bool send = EDE == 5;

    SCR::CALLM(58, true);
    if (send) {
        UMAS::ATR(2, 23, 36, 0x70);
        SCR::PRINT(4, 23, gr(TESTENV ? "    ΔΟΚΙΜΑΣΤΙΚΟ    ΔΕΦΚ " : " ΝΑ ΓΙΝΕΙ ΑΠΟΣΤΟΛΗ ΔΕΦΚ "));
    } else {
        SCR::PRINT(4, 23, gr("  ΝΑ ΓΙΝΕΙ ΔΙΣΚΕΤΑ ΔΕΦΚ "));
    }
    con.refresh();
    if (!PRNS::YES(36, 23)) {
        SCR::RECALL();
        con.refresh();
        return;
    }

    // The field table.
    R.TABLENAME = std::string(UMAS::HLEK4 ? "Q" : "N") + "PARDEFK";
    const std::string tableFile = R.TABLENAME + ".dat";
    bool used = false;
    if (PARAMS::PARFOUND(R.TABLENAME)) {  // the run tells a missing or empty table itself
        std::vector<uint8_t> buf(PARAMS::PARTIM7_SIZE, 0);
        if (PARAMS::RUFPAR(R.TABLENAME, buf.data(), buf.size())) {
            R.TAB = PARAMS::decodePARTIM7(buf.data());
            for (const auto& r : R.TAB)
                if (r.KV != 0 || !UMAS::trim(r.STATUS).empty()) used = true;
        }
    }
    PLAT::writeWholeAtomic("ERROR.TXT", "");

    // 0 abandoned, 1 the error list only, 2 walked.
    int state = 2;
    if (!used) {
        R.error(gr("Δεν βρέθηκε ο πίνακας πεδίων ") + tableFile + gr(" (ή δεν έχει καμία γραμμή)."));
        state = 1;
    }
    if (state == 2) {
        // The reference: box 20 trimmed, then cut (the number box is right-aligned).
        R.REF = UMAS::cut(UMAS::trim(R.box(20)), 7);
        if (R.REF.empty()) {
            R.error(DISKVAS::ERRMESS(3));
            state = 1;
        } else if (R.REF.find_first_of("/\\.") != std::string::npos) {
            R.error(DISKVAS::ERRMESS(4));
            state = 1;
        }
    }
    if (state == 2) {
        R.FNAME = send ? "inp.txt" : "D" + R.REF + ".TXT";
        state = send ? 2 : DISKET::OUTFOLDER(R, 3, true);
        if (send) R.DIRNAME.clear();
    }
    if (state == 0) {
        SCR::RECALL();
        con.refresh();
        return;
    }
    if (state == 1) {
        DISKET::WRITEERRORS(R);
        DISKVAS::SHOWERROR(R.ERR, R.CERR);
        SCR::RECALL();
        con.refresh();
        return;
    }

    GET_IDIOS(R);
    const BOD::SCB savedSheet = BOD::BIS;
    const BOD::SCB sheet = BOD::SHEETPAGE("DFK");
    if (sheet.valid()) BOD::BIS = sheet;
    WALK(R);
    BOD::BIS = savedSheet;
    R.OUT += "\r\n";

    bool clean = R.CERR == 0;
    if (clean) PLAT::writeWholeAtomic(R.DIRNAME + R.FNAME, R.OUT);
    else PLAT::removeFile(R.DIRNAME + R.FNAME);
    DISKET::WRITEERRORS(R);
    if (clean && send) {
        const std::string why = DISKET::STARTCLIENT(R.FNAME, UMAS::trim(R.box(34)), TESTENV);
        if (!why.empty()) {
            // The file stays for another try; nothing is counted.
            DISKET::TELL(why);
            clean = false;
        }
    }
    if (clean) {
        UMAS::ATR(3, 23, 34, 0x0E);
        const DISKET::Count counted = DISKET::INCDIAS(EXT);
        if (counted != DISKET::Count::ADVANCED) DISKET::TELL(DISKET::message(counted));
    }
    SCR::PRINT(4, 23, gr("     ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ: ") + UMAS::RIJU(std::to_string(R.CERR), 3) + "    ");
    con.refresh();
    con.readKey();
    if (R.CERR > 0) DISKVAS::SHOWERROR(R.ERR, R.CERR);
    else if (clean) DISKET::UPDATEANAF();
    SCR::RECALL();
    con.refresh();
}

}  // namespace DISKOIL
