// The frame of an XML run: the question, the reference and the manifest prompts, the fill, the
// intermediate and result files, the hand-over to the client or the local converter, the counters.
#include <cmath>

#include "common/umas.h"
#include "declarations/bod.h"
#include "documents/ekextra.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/detach.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"
#include "submission/disket_run.h"
#include "submission/diskvas.h"
#include "submission/diskxml.h"
#include "submission/diskxml_run.h"

namespace DISKXML {

using PLAT::gr;

namespace {

PLAT::Console& con() { return PLAT::con(); }

// An end before the fill: the fault list written (and shown when asked), the screen restored.
void endEarly(const RUN& R, bool show) {
    DISKET::WRITEERRORS(R.ERR);
    if (show) DISKVAS::SHOWERROR(R.ERR, R.CERR);
    SCR::RECALL();
    con().refresh();
}

bool question(const RUN& R) {
    if (R.SETH) {
        SCR::CALLM(59, true);
        if (R.DILOTIKO) {
            const uint8_t at = R.AITISI ? 0xE0 : 0xA0;
            UMAS::ATR(2, 22, 38, at);
            UMAS::ATR(2, 23, 38, at);
            SCR::PRINT(4, 22, gr(R.AITISI ? "       ΑΙΤΗΣΗ ΔΗΛΩΤΙΚΟΥ       " : "           ΔΗΛΩΤΙΚΟ           "));
        } else {
            SCR::PRINT(4, 22, gr("       ΣΥΝ. ΔΗΛΩΣΗ ΕΙΔΟΔΟΥ      "));
        }
        SCR::PRINT(2, 23, gr(" ΝΑ ΓΙΝΕΙ ΑΠΟΣΤΟΛΗ IcisNet (N/O);   "));
    } else {
        SCR::CALLM(58, true);
        SCR::PRINT(2, 23, gr(R.AFFIXI ? "  ΝΑ ΓΙΝΕΙ ΑΡΧΕΙΟ  ΑΦΙΞΗΣ  " : "  ΝΑ ΓΙΝΕΙ ΑΡΧΕΙΟ ΣΥΝ.ΔΗΛ. "));
        SCR::PRINT(29, 23, gr("(Ν/Ο)?"));  // the bar itself holds no answer hint
    }
    con().refresh();
    if (PRNS::YES(36, 23)) return true;
    SCR::RECALL();
    con().refresh();
    return false;
}

// Edits a field of the prompt row until Enter (true) or Esc (false).
bool ask(int x, int len, std::string& s, const SCR::SOC& chars) {
    int K = 0;
    do s = SCR::GINPUT(x, 23, len, s, "", chars, false, true, K);
    while (K != 0 && K != 3);
    s = UMAS::trim(s);
    return K == 0;
}

// The manifest reference: 0 go on, 1 end with the fault list, 2 end without it (Esc).
int manifestReference(RUN& R) {
    if (R.XEIROGRAFO) {
        SCR::PRINT(2, 23, gr(" ΗΜΕΡ/ΝΙΑ ΧΕΙΡ .ΔΗΛΩΤΙΚΟΥ:  "));
        if (!ask(30, 6, R.HDATE, SCR::socDigits())) return 2;
        if (R.HDATE.size() < 6) {
            R.error(gr("Πρέπει να δώσετε Ημερομηνία Χειρόγραφου Δηλωτικού"));
            return 1;
        }
        SCR::PRINT(2, 23, gr(" ΑΡΙΘΜΟΣ ΧΕΙΡ. ΔΗΛΩΤΙΚΟΥ:  "));
        if (!ask(29, 7, R.HNUM, SCR::soc("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"))) return 2;
        if (R.HNUM.empty()) {
            R.error(gr("Πρέπει να δώσετε Αριθμό Χειρόγραφου Δηλωτικού"));
            return 1;
        }
        return 0;
    }
    DISKVAS::GETANAFDIL();
    SCR::PRINT(4, 23, DISKVAS::ERRMESS(106));
    std::string s = std::to_string(DISKVAS::ANAFDIL);
    if (!ask(27, 5, s, SCR::socDigits())) return 2;
    if (s.empty()) {
        R.error(DISKVAS::ERRMESS(3));
        return 1;
    }
    DISKVAS::ANAFDIL = DISKVAS::COUNTERVALUE(s);
    return 0;
}

// A key other than Esc stays queued for the count line.
bool escPressed() {
    PLAT::Event ev;
    if (!con().poll(ev)) return false;
    if (ev.type == PLAT::Event::KEY && !ev.key.extended() && ev.key.ch == 27) return true;
    con().unread(ev);
    return false;
}

}  // namespace

std::vector<std::string> CONVERTERARGS(const std::string& input, const std::string& target) {
    std::vector<std::string> argv = DISKET::JAVA();
    for (const char* a : {"-jar", "SdeFromXML.jar"}) argv.push_back(a);
    argv.push_back(input);
    argv.push_back(target);
    return argv;
}

std::string CONVERT(const std::string& REF) {
    const std::string folder = "C:\\XML", target = folder + "\\" + REF + ".xml";
    // A file in place of the folder, or a folder in place of the target, is told: the clerk may
    // still have the declaration open unsaved.
    if (PLAT::fileExists(folder) && !PLAT::isDirectory(folder))
        return gr("ΤΟ ") + folder + gr(" ΔΕΝ ΕΙΝΑΙ ΦΑΚΕΛΟΣ: Η ΜΕΤΑΤΡΟΠΗ ΔΕΝ ΕΓΙΝΕ");
    PLAT::makeDirs(folder);
    if (PLAT::isDirectory(target)) return gr("ΤΟ ") + target + gr(" ΕΙΝΑΙ ΦΑΚΕΛΟΣ: Η ΜΕΤΑΤΡΟΠΗ ΔΕΝ ΕΓΙΝΕ");
    PLAT::removeFile(target);
    const std::string path = PLAT::resolve(target);
    PLAT::Waited converter;
    const std::string why = converter.start(CONVERTERARGS(PLAT::resolve("INP.TXT"), path), PLAT::workDir(),
                                            PLAT::workDir() + "/" + CONVERTER_LOG);
    if (!why.empty()) return gr("Ο ΜΕΤΑΤΡΟΠΕΑΣ ΔΕΝ ΞΕΚΙΝΗΣΕ: ") + PLAT::utf8ToCp737(why);
    const std::string notice = gr(" ΑΝΑΜΟΝΗ ΜΕΤΑΤΡΟΠΗΣ (ESC: ΔΙΑΚΟΠΗ) ");
    SCR::PRINT(3, 23, notice);
    con().refresh();
    int status = 0;
    bool gaveUp = false;
    while (!converter.ended(status)) {
        if (escPressed()) {
            converter.stop();
            gaveUp = true;
            break;
        }
        PLAT::sleepMs(20);
    }
    SCR::PRINT(3, 23, std::string(notice.size(), ' '));
    if (gaveUp) return gr("Η ΜΕΤΑΤΡΟΠΗ ΔΙΑΚΟΠΗΚΕ: ΤΟ ") + target + gr(" ΔΕΝ ΕΓΙΝΕ");
    if (status != 0) return gr("Ο ΜΕΤΑΤΡΟΠΕΑΣ ΤΕΛΕΙΩΣΕ ΜΕ ΚΩΔΙΚΟ ") + std::to_string(status) + gr(" (") + CONVERTER_LOG + ")";
    if (!PLAT::fileExists(target)) return gr("Ο ΜΕΤΑΤΡΟΠΕΑΣ ΔΕΝ ΕΓΡΑΨΕ ΤΟ ") + target;
    return "";
}

void MAKE_XML(const std::string& EXT, const DISKET::PBUF* PBUF, bool AFFIXI, bool SETH, bool DILOTIKO, bool XEIROGRAFO,
              bool AITISI) {
    RUN R;
    R.EXT = EXT;
    R.BUF = PBUF;
    R.AFFIXI = AFFIXI;
    R.SETH = SETH;
    R.DILOTIKO = DILOTIKO && PBUF;
    R.XEIROGRAFO = XEIROGRAFO && R.DILOTIKO;
    R.AITISI = AITISI && R.DILOTIKO;

    if (!question(R)) return;
    PLAT::writeWholeAtomic("ERROR.TXT", "");

    // The reference: box 20 cut to seven; the whole box names the target file.
    const std::string box20 = R.box(20);
    if (!R.DILOTIKO) {
        if (UMAS::trim(UMAS::cut(box20, 7)).empty()) R.error(DISKVAS::ERRMESS(3));
        else if (box20.find_first_of("/\\.") != std::string::npos) R.error(DISKVAS::ERRMESS(4));
        if (R.CERR > 0) return endEarly(R, true);
    }
    if (R.mtf()) {
        EKEXTRA::ST_TIR tit;
        if (EKEXTRA::READTIT(EKEXTRA::SIDEFILE(".TIT"), tit))
            for (size_t i = 0; i < 4; ++i) R.ST_TIR[i + 1] = tit.T[i];
    }
    TEMPLATES T;
    const std::string missing = READTEMPLATES(R, T);
    if (!missing.empty()) {
        DISKET::TELL(gr("ΔΕΝ ΒΡΕΘΗΚΕ ΤΟ ΠΡΟΤΥΠΟ ") + missing + gr(" ΣΤΟ ΦΑΚΕΛΟ ΕΡΓΑΣΙΑΣ"));
        return endEarly(R, false);
    }
    const std::string tmpName = R.DILOTIKO ? "INPDIL.TMP" : "INP.TMP";
    const std::string resultName = R.DILOTIKO ? "INPDIL.TXT" : "INP.TXT";
    PLAT::writeWholeAtomic(tmpName, "");
    if (R.DILOTIKO) {
        const int r = manifestReference(R);
        if (r != 0) return endEarly(R, r == 1);
    }

    FILL(R, T);
    PLAT::writeWholeAtomic(tmpName, R.OUT);
    PLAT::writeWholeAtomic(resultName, RESULTOF(R.OUT));
    DISKET::WRITEERRORS(R.ERR);

    bool clean = R.CERR == 0;
    if (!clean) {
        PLAT::removeFile(tmpName);
    } else {
        if (R.DILOTIKO)
            PLAT::writeWholeAtomic("INP.TXT", WITHTOTALS(*PLAT::readWhole(resultName), R.TOTALSYSK, R.XM_DILO));
        const std::string why = SETH ? DISKET::STARTCLIENT("INP.TXT", R.box(34), false)
                                     : CONVERT(box20 + (AFFIXI ? "-A" : ""));
        if (!why.empty()) {
            // The files stay for another try; nothing is counted.
            DISKET::TELL(why);
            clean = false;
        }
        UMAS::ATR(3, 23, 34, 0x0E);
    }
    SCR::PRINT(4, 23, DISKVAS::ERRMESS(93) + UMAS::RIJU(std::to_string(R.CERR), 3) + "    ");
    con().refresh();
    con().readKey();
    if (R.CERR > 0) {
        DISKVAS::SHOWERROR(R.ERR, R.CERR);
    } else if (clean) {
        if (R.DILOTIKO && !R.XEIROGRAFO)
            DISKVAS::PUTANAFDIL();
        else
            DISKET::UPDATEANAF();
    }
    SCR::RECALL();
    con().refresh();
}

}  // namespace DISKXML
