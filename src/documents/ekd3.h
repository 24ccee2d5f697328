// EKD3: documents of the documents menu printed on their own pre-printed forms: the fee form with
// its entry screen, the customs value declaration DV1, the CMR consignment notes with their serial
// counter, form BEYG, the T5 control copy and form N105.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "common/umas.h"
#include "declarations/bod.h"

namespace EKD3 {

// ---- Fee form ------------------------------------------------------------------------------------
// The entry screen of the fee form (mask 79, whose cells keep the kind-of-work lines 1-10 and the
// amount, field 11, for the rest of the run). Returns the mask that holds them.
UMAS::CONV* PDET();
// The fee form of the page P with box table G (print-form id 13): entry, question, copies.
void EKDE(BOD::SCB P, BOD::GGV G);
// Letter spacing for the comb boxes of the form: for j = 1 to 2L - 1, a blank inserted at position
// j when j is even (past the end it is appended), so the first L characters stand one blank apart.
std::string LETTERSPACE(const std::string& S, int L);

// ---- Customs value declaration DV1 ----------------------------------------------------------------
struct DV1Entry {
    std::string O1, O2;      // free lines, 25
    std::string P[3];        // amounts, 10
    std::string S[3];        // their currencies, 3
    std::string I[3];        // their rates, 7
};
// The proposal from the current declaration's main page.
DV1Entry DV1PROPOSAL();
// An amount in euros: round(100 x amount / rate) / 100 with halves to the even cent; 0 when the
// rate's value is at most 0.00001.
double DV1EURO(const std::string& amount, const std::string& rate);
// Entry on mask 84, then the two sheets (print-form id 110), each after its own question.
void DV1();

// ---- Records kept whole as the only content of a side file of the declaration ---------------------
// A text field of a record: a length byte at off, then cap characters (code page 737).
struct TF {
    size_t off;
    int cap;
    // Entry i (1-based) of an array of such fields that starts here.
    constexpr TF operator[](int i) const { return {off + size_t(i - 1) * size_t(cap + 1), cap}; }
};
struct Record {
    std::string b;  // exactly the record's bytes
    explicit Record(size_t n = 0) : b(n, '\0') {}
    // The text of f; a length byte above the capacity counts as the capacity.
    std::string get(TF f) const;
    // Writes s cut to the capacity; the bytes after the text become zero.
    void set(TF f, const std::string& s);
    void clear() { b.assign(b.size(), '\0'); }
};
// The declaration number that names the side files: box 1 of the main page as a whole number in
// decimal without leading zeros ("0" for an empty box; ten digits and more are kept whole).
std::string SIDENUMBER();
// UMAS::PATH + SIDENUMBER() + ext, never cut.
std::string SIDEFILE(const std::string& ext);
// Reads the side file into r: a shorter file fills the start of the record (the rest stays as it
// is), a longer one the record only. False, r unchanged, when the file is missing.
bool READSIDE(const std::string& path, Record& r);
// The whole record as the file (temporary file, then renamed over the old one).
void WRITESIDE(const std::string& path, const Record& r);
// A six-character date DDMMYY as DD/MM/YY (an empty text gives "//").
std::string SLASHDATE(const std::string& s);

// ---- The field editor of the fixed-layout documents -----------------------------------------------
struct EdField {
    int col, row, len;
    TF f;
};
// The key legend of the CMR notes, BEYG and T5, [1..10].
extern const UMAS::FUN GMLOCAL;
// Every field of the table at its place, cut or blank-padded to its edit length.
void SHOWFIELDS(const std::vector<EdField>& t, const Record& r);
// Edits the fields of t over r from field 1: Enter and Down go to the next field (after the last,
// the first), Up to the previous one (before the first, the last), Alt-C opens the calculator, Esc
// returns; every other exit code goes to key(K, i) with i the current field (BOD::K holds it too).
// after() runs after every input and its key's action, whatever the key (not after Esc).
void EDITFIELDS(const std::vector<EdField>& t, Record& r, const std::function<void(int K, int i)>& key,
                const std::function<void()>& after = nullptr);

// ---- CMR consignment notes ---------------------------------------------------------------------
// Layout A, ".cma".
struct CMRR {
    static constexpr size_t SIZE = 1496;
    static constexpr TF APO{0, 30}, PAR{124, 30}, EEM{279, 30}, ELE{403, 8}, OFI{412, 8}, MET{421, 30},
        PRD{545, 30}, PRL{607, 30}, HML{669, 8}, MIB{678, 12}, VOL{730, 12}, AYT{782, 12}, RYM{795, 12},
        POL{808, 15}, HME{824, 8}, BUFPER{833, 50};
};
// Layout B, ".cmb"; the TIR carnet reads it.
struct CMRBR {
    static constexpr size_t SIZE = 1545;
    static constexpr TF APO{0, 30}, PAR{124, 30}, EGG{248, 30}, MET{310, 30}, PRD{434, 30}, PRL{496, 30},
        HML{558, 8}, EEM{567, 30}, MIB{691, 12}, VOL{743, 12}, ODE{795, 30}, POL{857, 15}, HME{873, 8},
        BUFPER{882, 50};
};
// The screen field tables of the two layouts.
std::vector<EdField> CMRATABLE();
std::vector<EdField> CMRBTABLE();
// The fills from the declaration (MAIN: goods lines from the main page, else from the loaded sheet).
void CMRAFILL(Record& r, bool MAIN);
void CMRBFILL(Record& r, bool MAIN);
// The total gross mass as note B writes it: one decimal when its fraction is above 0.01, else none.
std::string CMRMASS(double total);
// The current CMR serial number ("AA_CMR.TXT" in the data folder, created holding 1 when missing).
std::string GETAA();
// Advances the counter past AA when AA is at least the counter (a missing file counts as 0). The
// read and the rewrite happen under the lock "FCMR", so workstations never move it back.
void INCAA(const std::string& AA);
// A line-offset file of the working folder ("CMR1.TXT", "CMRLINES.TXT"): its first line as a whole
// number, 0 when it is not one, at most 255; a missing file is created holding 0.
int LINEOFFSET(const std::string& name);
// The two prints of the record as it stands (PRINTCMRB asks first on mask 63).
void PRINTCMRA(const Record& r);
void PRINTCMRB(const Record& r);
void CMRA(bool MAIN);
void CMRB(bool MAIN);

// ---- Form BEYG -----------------------------------------------------------------------------------
struct BEYGR {
    static constexpr size_t SIZE = 1299;
    static constexpr TF DXA{0, 15}, FYT{16, 15}, PEJ{32, 15}, TELA{48, 20}, TELAC{69, 4}, ARPAR{74, 15}, KVD{90, 3},
        HMK{94, 6}, KE{101, 27}, KLT{129, 48}, TELB{325, 20}, ARKAT{346, 10}, HAKF{357, 6}, POL{1276, 15},
        HME{1292, 6};
    // Consignment row r (1..6) and further row r.
    static constexpr size_t AF = 364, AKF = 75, MEP = 814, MEPR = 77;
    static constexpr TF HMF(int r) { return {AF + AKF * size_t(r - 1), 6}; }
    static constexpr TF MEM(int r) { return {AF + AKF * size_t(r - 1) + 7, 10}; }
    static constexpr TF AMEM(int r) { return {AF + AKF * size_t(r - 1) + 18, 12}; }
    static constexpr TF EID(int r) { return {AF + AKF * size_t(r - 1) + 31, 5}; }
    static constexpr TF ARI(int r) { return {AF + AKF * size_t(r - 1) + 37, 8}; }
    static constexpr TF KGM(int r) { return {AF + AKF * size_t(r - 1) + 46, 10}; }
    static constexpr TF KGK(int r) { return {AF + AKF * size_t(r - 1) + 57, 10}; }
    static constexpr TF RHME(int r) { return {AF + AKF * size_t(r - 1) + 68, 6}; }
    static constexpr TF BAS(int r) { return {MEP + MEPR * size_t(r - 1), 37}; }
    static constexpr TF KEM(int r) { return {MEP + MEPR * size_t(r - 1) + 38, 27}; }
    static constexpr TF MKGK(int r) { return {MEP + MEPR * size_t(r - 1) + 66, 10}; }
};
std::vector<EdField> BEYGTABLE();
void BEYGFILL(Record& r);
// A number of the form right-aligned in `width`: two decimals when its fraction is above 0.
std::string BEYGNUM(float v, int width);
void PRINTBEYG(const Record& r);
void BEYG();

// ---- T5 control copy -----------------------------------------------------------------------------
struct T5R {
    static constexpr size_t SIZE = 911;
    static constexpr TF APO{0, 35}, PAR{144, 35}, XVAP{324, 30}, XVPR{355, 30}, KATH{386, 30}, XRIS{417, 1},
        ALLO{427, 30}, PIST{489, 70}, ALED{631, 70}, SHM{844, 20}, PROTH{865, 14}, EGGR{880, 30};
};
std::vector<EdField> T5TABLE();
void T5FILL(Record& r);
// MODE 1 the older paper, 2 the new one; asks first on mask 63.
void PRINTT5(const Record& r, int MODE);
void T5();

// ---- Form N105 -----------------------------------------------------------------------------------
constexpr size_t N105_SIZE = 842;
constexpr int N105_LAST = 1000;  // the highest customer number with a record
// Field n (1..23) as it stands in the cells of mask 81, exactly its length; and its setter.
std::string N105FIELD(int n);
void SETN105FIELD(int n, const std::string& s);
// The month name (genitive) of the number formed by the leading digits of S; "" outside 1..12.
std::string N105MONTH(const std::string& S);
// The customer record of a party name: its number when a domestic customer has exactly that name
// and a number up to N105_LAST, else -1; the declaration's customer fields stay as they were on a miss.
int N105CUSTOMER(const std::string& name);
// Reads record n of "N105.DAT" into the fields (blank when the file or the record is missing);
// writes the fields as record n, creating or extending the file with blank records.
void N105READ(int n);
void N105WRITE(int n);
void PRINTN105();
void N105(BOD::PRL& PA);

}  // namespace EKD3
