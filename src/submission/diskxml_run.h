// The state of one XML run and the steps that fill the input file from the templates: the run's
// frame (diskxml.cpp) and the value codes (diskxml_codes.cpp) share it.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "submission/disket.h"

namespace DISKXML {

// The most goods items a declaration run writes (a sheet key holds the item in two digits) and
// the most lines a manifest buffer holds.
constexpr int MAXITEMS = 99;
constexpr int MAXMANIFESTLINES = 60;

// One attached document of an item: code (4 characters) and number (18).
struct DOC {
    std::string CODE, NUM;
};

struct RUN {
    // ---- The call ----
    std::string EXT;
    const DISKET::PBUF* BUF = nullptr;  // the manifest buffer of a manifest run
    bool AFFIXI = false, SETH = false, DILOTIKO = false, XEIROGRAFO = false, AITISI = false;

    // ---- Set up before the fill ----
    std::array<std::string, 5> ST_TIR{};  // [1..4] the TIR data of a transit declaration
    std::string HDATE, HNUM;             // date (DDMMYY) and number of a handwritten manifest

    // ---- The fill ----
    int CERR = 0;
    std::vector<std::string> ERR;  // the lines of "ERROR.TXT", code page 737
    std::string TROPMET;           // the transport mode, one character or empty
    int32_t TOTALSYSK = 0;         // packages over the items
    double XM_DILO = 0;            // gross mass over the items
    std::string CODESYSK;          // package kind of the current item
    int N = 0;                     // the current item, 1..
    std::string SSOLD;             // the last plain line (or coded head) of the item block
    std::vector<DOC> DOCS;         // the documents of the current item
    std::string OUT;               // the intermediate file

    void error(const std::string& line) {
        ERR.push_back(line);
        ++CERR;
    }
    bool mtf() const { return EXT == "MTF"; }
    // Box n of the main page as it stands, and trimmed.
    std::string raw(int n) const;
    std::string box(int n) const;
    // Sheet box n of the loaded continuation sheet, trimmed.
    std::string sheetBox(int n) const;
    // Manifest field k (1..26) as stored, and trimmed; cell j (1..12) of the current item, trimmed.
    std::string rawField(int k) const;
    std::string field(int k) const;
    std::string cell(int j) const;
    // Box m of the main page for item 1, sheet box s for the others.
    std::string itemBox(int m, int s) const { return N <= 1 ? box(m) : sheetBox(s); }
};

// The templates of a run: header, item block, trailer (none for an arrival notification).
struct TEMPLATES {
    std::vector<std::string> HEAD, ITEM, TAIL;
};
std::array<std::string, 3> TEMPLATENAMES(const RUN& R);
// Reads the three templates of the run from the working folder; the name of the first one that is
// missing, or "" when all are there.
std::string READTEMPLATES(const RUN& R, TEMPLATES& T);
// The lines of a template file image (CR LF or LF; a last line without its end counts).
std::vector<std::string> TEMPLATELINES(const std::string& bytes);

// Which table a template line's code is looked up in.
enum class PART { HEADER, ITEM, TRAILER, DILOTRAILER };

// The value code of what follows a coded line's head: its leading number, rounded; -1 when that
// lies outside 0..65535.
long CODEOF(const std::string& rest);
// One template processed into R.OUT.
void PROCESS(RUN& R, const std::vector<std::string>& lines, PART part);
// The value of code C in the part's table (code page 737, untrimmed), after its check; empty for a
// code the table does not know.
std::string VALUE(RUN& R, PART part, long C);

// The number of items: manifest field 1 or box 18, rounded; a fault line above the limit.
int ITEMCOUNT(RUN& R);
// Header, every item and the trailer into R.OUT (steps 7 to 9 of a run).
void FILL(RUN& R, const TEMPLATES& T);

// The documents of the current item into R.DOCS, with their fault lines.
void EGG3125(RUN& R);
// The goods description of the current item.
std::string EMPOREYMATA(const RUN& R);
// Loads the continuation sheet of item R.N (> 1); false (and a fault line) when it is not stored.
// The caller holds "FBIS".
bool GETBIS(RUN& R);
// The manifest reference, long (code 19) and short (code 1900).
std::string WRITEANAFDIL(const RUN& R);
std::string WRITEANAFDIL2(const RUN& R);

// The result file from the intermediate text: its first line cut to its last six characters.
std::string RESULTOF(const std::string& tmp);
// "INP.TXT" of a manifest run from "INPDIL.TXT": in each line the first "@@@@@@" becomes the
// package total and then the first "$$$$$$" the mass total with one decimal.
std::string WITHTOTALS(const std::string& inpdil, int32_t packages, double mass);

// The local converter: the argument vector that turns the file input into target, and the run of
// it in the working folder, waited for with a notice (Esc gives up and ends it). CONVERT makes
// "C:\XML\" + REF + ".xml" from "INP.TXT": "" when the converter ended well and left the target,
// else what went wrong (code page 737). Its output goes to CONVERTER_LOG in the working folder.
inline constexpr const char* CONVERTER_LOG = "SDEFROMXML.LOG";
std::vector<std::string> CONVERTERARGS(const std::string& input, const std::string& target);
std::string CONVERT(const std::string& REF);

}  // namespace DISKXML
