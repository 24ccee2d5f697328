// TIM: The invoices and receipts menu, and the invoice editor's working state with the procedures
// that find, load, store and delete the current document.
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "config/params.h"
#include "invoicing/apodi.h"
#include "invoicing/formix.h"
#include "invoicing/tim0.h"
#include "print/prns.h"

namespace TIM {

// The invoices menu: invoices, credit notes (when "SI.DAT" exists), collection and payment receipts.
void EJOD();
// The invoice editor: TYPOSPARAST 0 invoices, 2 credit notes.
void TIMO(uint8_t TYPOSPARAST);
// The receipt book: kind 1 collection receipts, any other payment receipts.
void APOD(int kind);

// The local state of the invoice editor (TIMO) and its nested procedures. The document itself is
// the module state of TIM0, its customer and previous version that of APODI.
struct TIMOS {
    explicit TIMOS(uint8_t typos = 0) : TYPOSPARAST(typos) {}

    uint8_t TYPOSPARAST = 0;  // 0 invoices, 2 credit notes
    std::string BTM;          // the number claimed in "NUTI"
    std::string OTM;          // scratch copy of the number
    std::string OLDTM;        // the number as loaded
    std::string FSEIR;        // file suffix of the series ("" for the unnamed series)
    int U = 1;                // the charge line being edited
    TIM0::RTIM R0;            // the document as last read or written
    std::array<int32_t, 5> PAIPS{};  // [1..4] fiscal marks
    int32_t AKNUM = 0, AKPAIP = 0;
    bool DECLFOUND = false;   // the load found the document's declaration
    int32_t XND = 0;          // position of the declaration found in "DISM.DAT"

    // File names of the kind, without the folder: "TM.DAT"/"SM.DAT", the number index of the
    // series, "TD.DAT"/"SD.DAT", the chain files ("TH"/"SH", "TPE"/"SPE", without extension) and
    // the series file.
    std::string RECFILE() const;
    std::string INDEXFILE() const;
    std::string STACKFILE() const;
    std::string DAYCHAIN() const;
    std::string PECHAIN() const;
    std::string SERIESFILE() const;
    // Sets the series: TIM0::SEIRA := the code without blanks, FSEIR := its file suffix.
    void SETSEIRA(const std::string& code);

    // A new document: amounts 0, texts empty, no customer, today's date, NO[8] := TM, the captions
    // of lines 14..17 := item headings 14..17, FA[1] the default caption, FF[1] := FP, marks 0, the
    // two free reasons of the expenses statement dotted.
    void CLLS();
    // Pads the text fields to their widths.
    void SPAC();
    // Recomputes the total SU from the lines (the form itself is drawn by the editor screen).
    void BOX();
    // The change test against R0.
    bool ALLA() const;
    // The document as it would be stored (texts padded, amounts in stored units).
    TIM0::RTIM IMAGE() const;
    // R0 := IMAGE().
    void REC0();
    // Fills the document in memory from a stored record (amounts by the year of its date).
    void FROMREC(const TIM0::RTIM& r);

    // Find the number TIM0::TM in the index of the kind and series (caller holds "FTIM").
    void CHO();
    // Load record APODI::XN (the customer looked up again by name).
    void RUF();
    // Store the current document; true when it was written.
    bool KTT(bool CHECKPAIP, bool APOALLAGI);
    // The delete dialog (masks 42 and 43); true when the document was deleted.
    bool DIAG();
    // The deletion itself, without questions; false when refused.
    bool DEL();

    // VAT of charge line K of the document in memory.
    static double EXEIFPA(int K);
    static int32_t MYROUND(double X) { return TIM0::MYROUND(X); }
    // Looks the declaration number TIM0::KD up in "DISI.DAT": DECLFOUND and XND (caller holds "FDIA").
    void CHOD();
    // Fills the document from the declaration at XND: the mapped detail lines, the customer by the
    // declaration's kind, the totals of packages, masses and value (caller holds "FDIA"). False
    // when the stored declaration cannot be read (nothing is then changed).
    bool RUFD();
    // Whether leaving the declaration field fills the document from its declaration: a new
    // document always, a stored one only when unsigned and dated before 16/09/03.
    bool FILLS() const;

    // Printing, signing, the detail lines, the customs amount, the manual mark and the
    // cancellation of the current document.
    bool PRINTPARAST(int kind);    // kind 0 the document, 1 its cancellation; true when printed
    // One printed copy of the document (KIND 0) or of its cancellation (KIND 1) on the form of
    // "PARTIM4": to port ST ("LPT1".."COM2", "USB" for the spool file "tim.txt") or to the file ST,
    // with the driver PRN and tab TAB, and the signing result DRV for the signature line.
    void EKTY(int KIND, const PARAMS::RECSEIRES& SR, const std::string& ST, PRNS::PRNM PRN, PRNS::TABM TAB,
              const FORMIX::EAFDSSREC& DRV) const;
    // The 144 field texts of a copy ([1..144]) and the signature line.
    std::array<std::string, 145> COLLECT(int KIND, const std::string& caption117) const;
    static std::string PRINTPAIPS(const FORMIX::EAFDSSREC& DRV);
    int32_t SIGNTIMEOUT = 120;     // seconds a signing request may take
    void DETAILS();                // the 22 detail lines (F4)
    void CUSTOMS();                // the customs amount FX[5] (F7)
    void MANUALMARK();             // a fiscal mark by hand (Shift-F4)
    bool CANCEL();                 // the cancellation of a signed document; true when printed
    void SHOWCANCELLED();          // a cancelled document shown crossed out, until Esc
};

// ---- Interrupted stores and deletions -------------------------------------------------------------------
// The journal of the stores and deletions of invoices and credit notes: "TJOURNAL.DAT" in the company
// folder, written under "FTIM" (APODI::JOURNAL); its part of the kind:
struct TIMJ {
    static constexpr size_t SIZE = 27 + TIM0::RTIM::SIZE;
    uint8_t KIND = 0;         // TYPOSPARAST: 0 invoice, 2 credit note
    bool NEW = false;         // a new document (the store takes a record and an index entry)
    uint8_t POP = 0;          // a new document's record: 1 the stack's count lowered, 2 appended, 3 both
    uint16_t STACKN = 0;      // the stack's count before the store (before the deletion)
    uint16_t HDT0 = 0;        // "HDT.DAT" before the store
    bool CHECKPAIP = false, APOALLAGI = false;  // the store's arguments (the series' next number)
    std::string FSEIR;        // string[2] the series' file suffix
    int32_t Z = 0;            // the number
    uint16_t XN = 65000;      // the record
    std::string BHM;          // string[6] the previous version's date (a stored document)
    uint16_t BPR = 65000;     // the previous version's customer
    TIM0::RTIM R;             // the document as stored (for a deletion: as it was)
    std::string encode() const;
    static TIMJ decode(const std::string& b);
};
constexpr const char* TJOURNAL = "TJOURNAL.DAT";
// The file work of a store from its journal, each step one that may be done again: the record taken
// (stack count, counter), "DAPANES.TXT", the series' next number, the record, its index entry, the
// day and customer chains (RECOVERING: a document found on its new chain is not linked again). The
// results of the two links.
std::pair<APODI::LINKED, APODI::LINKED> APPLYSTORE(const TIMJ& j, bool RECOVERING);
// The file work of a deletion from its journal: the index entry, the chains, the record freed.
void APPLYDELETE(const TIMJ& j);
// A store or deletion of an invoice or credit note stopped midway, completed from the journal; the
// document named for the clerk (APODI::COMPLETED), none when nothing was pending. RECOVER takes
// "FTIM" (and "FPEL" inside it) when the journal is pending; RECOVERLOCKED is for a holder of "FTIM"; a journal
// whose files are missing or damaged is left pending, its fault in *stuck.
APODI::COMPLETED RECOVER();
APODI::COMPLETED RECOVERLOCKED(APODI::FILEFAULT* stuck = nullptr);

// The number of the last cancellation document ("AKAR.DAT", 0 when missing), and its rewrite.
int32_t AKAR();
void SETAKAR(int32_t n);

// ---- The editor's screen (the form of mask 8) ---------------------------------------------------------
// The whole form from the document in memory; the total SU is recomputed.
void DRAWFORM(TIMOS& t);
// The header fields (series, number, date and weekday, declaration, customer, currency word).
void DRAWHEAD();
// Charge line U: its side text and its amount.
void DRAWLINE(int U);
// The rate, the VAT total and the total.
void DRAWTOTALS();
// The fiscal mark line on row 23 (28 cells from column 2): "Α/Α ΣΗΜΑΝΣΗΣ ΕΑΦΔΣΣ: " from column 3
// and the mark in the five cells from column 24, where the manual mark is edited; cleared for 0.
void DRAWMARK(int32_t mark);
// A new amount on charge line U: the total loses the line's old amount and VAT and gains the new
// ones; the line and the totals are redrawn.
void SETLINE(int U, double amount);
// The sum of the VAT of lines 1..18.
double VATTOTAL();
// Completes a typed date as the date field does (1 digit: day of this month; 2: day of this month;
// 3: day and one-digit month; 4: day and month of this year; 6: as typed) and checks it: day 1..31,
// month 1..12, year 1990..2049. False (the text unchanged) when it is no date.
bool COMPLETEDATE(std::string& S);
// The weekday abbreviation of a DDMMYY date (two blanks when it is no date).
std::string WEEKDAYOF(const std::string& HM);

// The invoice files an installation supplies, in folder dir (a Linux path), written only where
// missing: "TM.DAT" empty, "TI.DAT" 100000 entries of 65000, "TD.DAT" a stack of 1000 zero WORDs,
// "HDT.DAT" a zero counter, "TH.DAT" 22320 and "TPE.DAT" 10000 empty heads.
void makeInvoiceFiles(const std::string& dir);

}  // namespace TIM

namespace TIM {

// A check of the invoice and credit-note files: every number index entry names a record of the
// record file that is not on the free stack and is named once; every chain ("TH", "TPE", "SH",
// "SPE") keeps its links inside the node area without cycles, and names each document at most once;
// every indexed document is on the chain of its day (when its day has a head) and of its customer
// (when the customer has a head). POSTED holds, per customer, the sum of what the documents post
// (invoices minus credit notes, in drachmas at UMAS::EURO).
struct CHECKED {
    std::vector<std::string> PROBLEMS;
    std::map<uint16_t, int64_t> POSTED;
    int64_t DOCUMENTS = 0;
};
CHECKED CHECKFILES();

}  // namespace TIM
