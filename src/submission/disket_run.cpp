// The frame of a submission run: the window and question, the set-up (field table, reference,
// output file and folder, the folder's listing), the walk, and the end (error list, or the client,
// the export counter and the reference counters).
#include <algorithm>
#include <cmath>
#include <memory>

#include "common/umas.h"
#include "config/params.h"
#include "declarations/bod.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "print/prns.h"
#include "screen/scr.h"
#include "submission/disket_counter.h"
#include "submission/diskvas.h"
#include "submission/disket_run.h"
#include "submission/disket_writers.h"

namespace DISKET {

using PLAT::gr;

// ---- Names --------------------------------------------------------------------------------------

bool ISDECLT2L() {
    std::string s = UMAS::trim(BOD::SOB(BOD::DIA, BOD::GV, 2));
    if (s.empty()) s = UMAS::trim(BOD::SOB(BOD::DIA, BOD::GV, 3));
    return UMAS::cut(s, 5) == "T2L";
}

std::string TABLEOF(const std::string& EXT, uint8_t EDE, bool IST2L) {
    if (IST2L) return "PART2L";
    if (EXT == "MTF") return "PART1";
    switch (EDE) {
    case ED_FILE:
    case ED_SEND: return "PARDISK";
    case ED_AUTO:
    case ED_AUTOSEND: return "PARAUTO";
    case ED_DAO: return "PARDAO";
    case ED_DILO: return "PARDILO";
    default: return "PART1";
    }
}

int FOLDERLINE(const std::string& EXT, uint8_t EDE) {
    switch (EDE) {
    case ED_FILE: return EXT == "MTF" ? 6 : 1;
    case ED_AUTO: return 2;
    case ED_DAO: return 5;
    case ED_DILO: return 4;
    case ED_TIR: return 6;
    default: return 0;  // the send modes write into the working folder
    }
}

void NAMES(uint8_t EDE, const std::string& REF, std::string& FNAME, std::string& LNAME) {
    const std::string c = REF.empty() ? std::string() : REF.substr(REF.size() - 1);
    LNAME.clear();
    switch (EDE) {
    case ED_FILE:
    case ED_AUTO: FNAME = "D" + REF + ".TXT"; break;
    case ED_DAO: FNAME = "A" + REF + ".TXT"; break;
    case ED_DILO: FNAME = "L" + REF + ".TXT"; break;
    case ED_SEND:
    case ED_AUTOSEND:
        LNAME = "inp" + c + ".log";
        FNAME = "inp" + c + ".txt";
        break;
    case ED_TIRSEND: FNAME = "inp" + c + ".txt"; break;
    default: FNAME = "T" + REF + ".TXT"; break;
    }
}

namespace {
PLAT::Console& con() { return PLAT::con(); }
}  // namespace

void TELL(const std::string& text) {
    SCR::CALLM(58, true);
    SCR::PRINT(4, 23, text);
    con().bell();
    con().refresh();
    con().readKey();
    SCR::RECALL();
    con().refresh();
}

void WRITEERRORS(const std::vector<std::string>& ERR) {
    std::string s;
    for (const auto& l : ERR) s += l + "\r\n";
    PLAT::writeWholeAtomic("ERROR.TXT", s);
}

void WRITEERRORS(const RUN& R) { WRITEERRORS(R.ERR); }

namespace {

// An output folder that would let a run list and erase the program's own files.
bool unsafeFolder(const std::string& dirname) {
    if (UMAS::trim(dirname).empty()) return true;
    const std::string d = PLAT::canonicalPath(dirname);
    const std::string db = PARAMS::GETDATABASEPATH();
    std::vector<std::string> guarded = {PLAT::canonicalPath(".")};
    if (!UMAS::PATH.empty()) guarded.push_back(PLAT::canonicalPath(UMAS::PATH));
    if (!db.empty()) {
        const std::string dbc = PLAT::canonicalPath(db);
        guarded.push_back(dbc);
        // Every company folder of the database.
        const size_t slash = d.find_last_of('/');
        if (slash != std::string::npos && d.substr(0, slash) == dbc) return true;
    }
    for (const auto& g : guarded)
        if (PLAT::sameOrAbove(d, g)) return true;
    return false;
}

// 0 abandon, 1 stop with the error list, 2 go on.
int INITDISK(RUN& R) {
    // The field table.
    R.TABLENAME = std::string(UMAS::HLEK4 ? "Q" : "N") + TABLEOF(R.EXT, R.EDE, R.IST2L);
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
    R.CERR = 0;
    R.TOTVASIS = R.TOTALCARS = 0;
    R.AREIDOS = 0;
    R.AFM11.clear();
    R.AFM21.clear();
    R.B37.clear();
    if (R.EDE == ED_DAO) R.DAOTYPE = DISKVAS::TYPOSDAO() + 1;
    PLAT::writeWholeAtomic("ERROR.TXT", "");
    if (!used) {
        // A missing table, or one without a used row, gives no file at all.
        R.error(gr("Δεν βρέθηκε ο πίνακας πεδίων ") + tableFile + gr(" (ή δεν έχει καμία γραμμή)."));
        return 1;
    }

    // The reference, or the DAO / manifest number.
    if (R.EDE == ED_DAO || R.EDE == ED_DILO) {
        int32_t& counter = R.EDE == ED_DAO ? DISKVAS::ANAFDAO : DISKVAS::ANAFDIL;
        if (R.EDE == ED_DAO) DISKVAS::GETANAFDAO();
        else DISKVAS::GETANAFDIL();
        if (counter > 99999) {
            R.error(gr("Ο επόμενος αριθμός αναφοράς ξεπερνά το 99999: διορθώστε το ") +
                    (R.EDE == ED_DAO ? "DAOANAF.DAT" : "DILANAF.DAT"));
            return 1;
        }
        SCR::PRINT(4, 23, DISKVAS::ERRMESS(106));
        std::string s = std::to_string(counter);
        int K = 0;
        do s = SCR::GINPUT(27, 23, 5, s, "", SCR::socDigits(), false, true, K);
        while (K != 0 && K != 3);
        s = UMAS::trim(s);
        if (K == 3 || s.empty()) {
            R.error(DISKVAS::ERRMESS(3));
            return 1;
        }
        counter = DISKVAS::COUNTERVALUE(s);
        R.REF = std::to_string(counter);
    } else {
        R.REF = UMAS::trim(UMAS::cut(R.box(20), 11));
        if (R.REF.empty()) {
            R.error(DISKVAS::ERRMESS(3));
            return 1;
        }
        if (R.REF.find_first_of("/\\.") != std::string::npos) {
            R.error(DISKVAS::ERRMESS(4));
            return 1;
        }
    }
    NAMES(R.EDE, R.REF, R.FNAME, R.LNAME);
    if (R.EDE == ED_TIRSEND || R.EDE == ED_TIR) {
        // The TIR data of the declaration, through the side file's reader (older layout too).
        R.ST_TIR = {};
        EKEXTRA::ST_TIR tit;
        if (EKEXTRA::READTIT(EKEXTRA::SIDEFILE(".TIT"), tit))
            for (int i = 0; i < 4; ++i) R.ST_TIR[size_t(i + 1)] = tit.T[size_t(i)];
    }

    return OUTFOLDER(R, FOLDERLINE(R.EXT, R.EDE), false);
}

}  // namespace

int OUTFOLDER(RUN& R, int line, bool excise) {
    // The excise run has texts of its own.
    const std::string insert = excise ? gr(" ΠΑΡΑΚΑΛΩ ΒΑΛΤΕ ΔΙΣΚΕΤΑ ΣΤΟ DRIVE ") : std::string();
    const std::string again = excise ? gr("    ΝΑ ΓΙΝΕΙ ΔΙΣΚΕΤΑ    ") : DISKVAS::ERRMESS(98);
    const std::string title = excise ? gr("    ΠΕΡΙΕΧΟΜΕΝΑ ΔΙΣΚΕΤΑΣ    ") : DISKVAS::ERRMESS(95);
    const std::string erase = excise ? gr("Να σβηστούν όλα τα αρχεία της δισκέτας (Ν/Ο);") : DISKVAS::ERRMESS(79);
    // The output folder, tried until a file can be made there.
    for (;;) {
        if (line == 0) {
            R.DIRNAME.clear();
            return 2;
        }
        if (auto lines = PLAT::readLines(UMAS::PATH + "ASCI_OUT.TXT"))
            R.DIRNAME = UMAS::cut(size_t(line) <= lines->size() ? (*lines)[size_t(line - 1)] : std::string(), 20);
        else
            R.DIRNAME = "A:\\";
        R.DIRNAME = UMAS::trim(R.DIRNAME);
        if (unsafeFolder(R.DIRNAME)) {
            R.error(gr("Ο φάκελος εξόδου \"") + R.DIRNAME + gr("\" (γραμμή ") + std::to_string(line) +
                    gr(" του ASCI_OUT.TXT) δεν είναι αποδεκτός."));
            return 1;
        }
        if (!R.DIRNAME.empty() && R.DIRNAME.back() != '\\' && R.DIRNAME.back() != '/') R.DIRNAME += "\\";
        if (PLAT::canCreate(R.DIRNAME + R.FNAME)) break;
        const bool diskette = R.DIRNAME == "A:\\" || R.DIRNAME == "B:\\";
        con().gotoXY(4, 23);
        con().bell();
        SCR::PRINT(4, 23, excise ? insert : DISKVAS::ERRMESS(diskette ? 77 : 78));
        con().refresh();
        const PLAT::KeyEvent k = con().readKey();
        if (!k.extended() && k.ch == 27) return 0;  // Esc gives up
        SCR::CALLM(58, false);
        SCR::PRINT(4, 23, again);
        con().refresh();
    }

    // The folder's listing.
    int count = 0, others = 0;
    for (const auto& name : PLAT::findFiles(R.DIRNAME + "*.*")) {
        if (count >= 60) break;
        if (name == R.FNAME) continue;
        if (count == 0) {
            SCR::CALLM(104, true);
            SCR::PRINT(26, 1, title);
        }
        ++count;
        SCR::PRINT(3 + 15 * (count / 15), 2 + count % 15, name);
        if (name.size() < 3 || name.substr(name.size() - 3) != "TXT") ++others;
    }
    if (count == 0) return 2;
    if (others > 0) {
        SCR::PRINT(2, 22, DISKVAS::ERRMESS(5));
        SCR::PRINT(2, 23, DISKVAS::ERRMESS(6));
    }
    SCR::PRINT(1, 25, erase);
    con().refresh();
    if (PRNS::YES(47, 25)) {
        for (const auto& name : PLAT::findFiles(R.DIRNAME + "*.*")) PLAT::removeFile(R.DIRNAME + name);
        SCR::RECALL();
        return 2;
    }
    if (others > 0) {
        SCR::PRINT(1, 25, DISKVAS::ERRMESS(7));
        con().refresh();
        con().readKey();
        SCR::RECALL();
        return 0;
    }
    SCR::PRINT(1, 25, DISKVAS::ERRMESS(80));
    con().refresh();
    if (PRNS::YES(36, 25)) {
        SCR::RECALL();
        return 2;
    }
    // The listing goes; the caller takes its own window down on 0, as after Esc at the probe.
    SCR::RECALL();
    return 0;
}

// "ANAF.DAT": rewritten with box 20 when its number is greater than the stored one.
void UPDATEANAF() {
    const std::string file = UMAS::PATH + "ANAF.DAT";
    UMAS::LOCK("FANAF");
    auto lines = PLAT::readLines(file);
    if (!lines) {
        PLAT::writeWholeAtomic(file, "0\r\n");
        lines = std::vector<std::string>{"0"};
    }
    const std::string old = lines->empty() ? std::string() : (*lines)[0];
    const double oldValue = UMAS::trim(old).empty() ? 0 : std::nearbyint(UMAS::EVAL(old));
    const std::string box20 = BOD::SOB(BOD::DIA, BOD::GV, 20);
    if (std::nearbyint(UMAS::EVAL(box20)) > oldValue) PLAT::writeWholeAtomic(file, box20 + "\r\n");
    UMAS::UNLOC("FANAF");
}

namespace {

void title(const RUN& R) {
    std::string t;
    uint8_t at;
    if (R.EDE == ED_TIRSEND || R.EDE == ED_TIR) t = "              TIR             ", at = 0x6E;
    else if (R.IST2L) t = "              T2L             ", at = 0x5E;
    else if (R.EXT == "EXP") t = "            ΕΞΑΓΩΓΗ           ", at = 0x1E;
    else if (R.EXT == "MTF") t = "         ΔΙΑΜΕΤΑΚΟΜΙΣΗ        ", at = 0x6E;
    else if (R.EXT == "DFK") t = "            Δ.Ε.Φ.Κ.          ", at = 0x70;
    else t = "            ΕΙΣΑΓΩΓΗ          ", at = 0x2E;
    SCR::PRINT(4, 22, gr(t.c_str()));
    UMAS::ATR(2, 22, 38, at);
    UMAS::ATR(2, 23, 38, at);
}

std::string caption(const RUN& R) {
    return R.TESTENV ? gr("        ΔΟΚΙΜΑΣΤΙΚΟ       ") : DISKVAS::ERRMESS(131);
}

void question(RUN& R) {
    SCR::PRINT(4, 23, caption(R));
    auto vehicles = [&](int with, int without) {
        R.EXEIOXIMATA = WRITERS::VEHICLECHECK(R);
        if (R.EXEIOXIMATA) {
            SCR::PRINT(3, 23, DISKVAS::ERRMESS(with));
            UMAS::ATR(2, 23, 9, 0x0E);
        } else if (without >= 0) {
            SCR::PRINT(4, 23, DISKVAS::ERRMESS(without));
        } else {
            SCR::PRINT(4, 23, caption(R));
        }
    };
    switch (R.EDE) {
    case ED_FILE:
        if (R.EXT == "MTF") SCR::PRINT(4, 23, DISKVAS::ERRMESS(132));
        else vehicles(100, 101);
        break;
    case ED_TIRSEND:
    case ED_SEND: vehicles(130, -1); break;
    case ED_AUTO:
    case ED_AUTOSEND:
        R.EXEIOXIMATA = WRITERS::VEHICLECHECK(R);
        SCR::PRINT(4, 23, DISKVAS::ERRMESS(108));
        break;
    case ED_DAO: SCR::PRINT(4, 23, DISKVAS::ERRMESS(105)); break;
    case ED_DILO: SCR::PRINT(4, 23, DISKVAS::ERRMESS(107)); break;
    default: SCR::PRINT(4, 23, DISKVAS::ERRMESS(109)); break;
    }
}

}  // namespace

void MAKE_DISK(const std::string& EXT, uint8_t EDE, const PBUF* BUF, bool TESTENV) {
    auto Rp = std::make_unique<RUN>();
    RUN& R = *Rp;
    R.EXT = EXT;
    R.EDE = EDE;
    R.BUF = BUF;
    R.TESTENV = TESTENV;
    R.IST2L = ISDECLT2L();

    SCR::CALLM(59, true);
    title(R);
    question(R);
    con().refresh();
    if (!PRNS::YES(38, 23)) {
        SCR::RECALL();
        con().refresh();
        return;
    }
    UMAS::ATR(2, 23, 38, 0x4F);
    SCR::PRINT(3, 23, DISKVAS::ERRMESS(92));
    con().refresh();

    const int init = INITDISK(R);
    if (init == 0) {
        SCR::RECALL();
        con().refresh();
        return;
    }
    if (init == 2) {
        const BOD::SCB sheet = BOD::SHEETPAGE(EXT);
        const BOD::SCB savedSheet = BOD::BIS;
        if (sheet.valid()) BOD::BIS = sheet;
        if (EDE == ED_DILO && BUF) {
            R.SYNEIDH = int(std::nearbyint(std::min(std::max(UMAS::EVAL(BUF->line(1)), -1.0), 1e6)));
            if (R.SYNEIDH > MAXMANIFESTLINES)
                R.error(gr("Το δηλωτικό έχει ") + std::to_string(R.SYNEIDH) + gr(" γραμμές: γράφονται οι 60 πρώτες."));
            else if (R.SYNEIDH < 0)
                R.error(gr("Ο αριθμός γραμμών του δηλωτικού είναι αρνητικός: δεν γράφεται καμία γραμμή."));
            for (int l = 1; l <= std::min(R.SYNEIDH, MAXMANIFESTLINES); ++l) {
                const double k = UMAS::EVAL(BUF->cell((l - 1) * 12 + 7));
                if (std::fabs(k) < 1e9) R.MANIFESTKOLA += int32_t(std::nearbyint(k));
                R.MANIFESTMASS += UMAS::EVAL(BUF->cell((l - 1) * 12 + 11));
            }
        }
        R.AASTIX = 0;
        WALK(R);
        R.OUT += "\r\n";
        BOD::BIS = savedSheet;
        if (UMAS::trim(R.box(33)) == "02" && R.TOTVASIS == 0) R.error(DISKVAS::ERRMESS(13));

        bool clean = R.CERR == 0;
        if (clean) {
            PLAT::writeWholeAtomic(R.DIRNAME + R.FNAME, R.OUT);
            if (EDE == ED_SEND) PLAT::writeWholeAtomic(R.DIRNAME + R.LNAME, R.LOGT);
        } else {
            PLAT::removeFile(R.DIRNAME + R.FNAME);
            if (!R.LNAME.empty()) PLAT::removeFile(R.DIRNAME + R.LNAME);
        }
        WRITEERRORS(R);
        if (clean && R.isSend()) {
            const std::string why = STARTCLIENT(R.FNAME, UMAS::trim(R.box(34)), TESTENV);
            if (!why.empty()) {
                // The file stays for another try; nothing is counted.
                TELL(why);
                clean = false;
            } else {
                UMAS::ATR(3, 23, 34, 0x0E);
            }
        }
        if (clean) {
            UMAS::ATR(2, 23, 38, 0x0E);
            // The export counter never fails the run; a counter that could not move is told.
            const Count counted = INCDIAS(EXT);
            if (counted != Count::ADVANCED) TELL(message(counted));
        }
        SCR::PRINT(4, 23, DISKVAS::ERRMESS(93) + UMAS::RIJU(std::to_string(R.CERR), 3) + "     ");
        const bool cars = R.EXEIOXIMATA && R.CERR == 0;
        if (cars) {
            SCR::CALLM(60, true);
            SCR::PRINT(43, 22, DISKVAS::ERRMESS(82));
            SCR::PRINT(43, 23, DISKVAS::ERRMESS(99) + std::to_string(R.TOTALCARS) + gr(" ΟΧΗΜΑΤΑ        "));
            con().gotoXY(78, 23);
        }
        con().refresh();
        con().readKey();
        if (cars) SCR::RECALL();
        if (R.CERR == 0 && clean) {
            if (EDE == ED_DAO) DISKVAS::PUTANAFDAO();
            else if (EDE == ED_DILO) DISKVAS::PUTANAFDIL();
            else UPDATEANAF();
        }
        if (R.CERR == 0) {
            SCR::RECALL();
            con().refresh();
            return;
        }
    } else {
        WRITEERRORS(R);
    }
    DISKVAS::SHOWERROR(R.ERR, R.CERR);
    SCR::RECALL();
    con().refresh();
}

}  // namespace DISKET
