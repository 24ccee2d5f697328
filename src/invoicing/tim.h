// TIM: The invoices and receipts menu, and the invoice editor's working state with the procedures
// that find, load, store and delete the current document.
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "invoicing/tim0.h"

namespace TIM {

void EJOD();
// The receipt book of the invoices menu: kind 1 collection receipts, 2 payment receipts.
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

    // A new document: amounts 0, texts empty, no customer, today's date, NO[8] := TM, FA[1] the
    // default caption, FF[1] := FP, marks 0, the two free reasons of the expenses statement dotted.
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
    // The declaration look-up of the load.
    void CHOD();
};

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
