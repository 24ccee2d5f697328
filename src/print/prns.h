// PRNS: print set-up and printer selection, the printer emulation drivers and their tab procedures,
// and the small companions of every printout (copies prompt, yes/no prompt, company header, line
// feeds). A printout goes: SET_PE, modes and fields through the two procedures it hands back, form
// feed, close, then UMAS::PRINTUSB.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

namespace PLAT {
class PortOut;
}

namespace PRNS {

// ---- The print settings of one form on one workstation -----------------------------------------
// "ETC\pare" + workstation id + "." + form id: one record of 5 bytes.
struct PAR_EKT {
    static constexpr size_t SIZE = 5;
    uint8_t PGLE = 66;  // page length in lines
    uint8_t HTAB = 0;   // horizontal offset, added to every tab column
    uint8_t VTAB = 0;   // line feeds at 1/24 inch at the start of the printout
    uint8_t PORT = 0;   // output selector (SELECTPRI)
    uint8_t EMUL = 0;   // emulation number (SET_PE)
    std::string encode() const;
    // bytes must hold at least SIZE bytes (the first record is taken).
    static PAR_EKT decode(const std::string& bytes);
    bool operator==(const PAR_EKT&) const = default;
};

// "ETC\pare" + UMAS::USER_ID + "." + formId.
std::string parEktName(int formId);
// Reads the settings of form formId; a missing file is created holding whenMissing (the settings
// dialog's 66, 0, 0, 0, 0 unless told otherwise; SET_PE creates five zero bytes) and those values
// are returned. A file that cannot be created or is shorter than 5 bytes is fatal.
PAR_EKT readParEkt(int formId, const PAR_EKT& whenMissing = PAR_EKT{});
// The same for a settings file named in full (for example "ETC\pare.61").
PAR_EKT readParEktFile(const std::string& dosName, const PAR_EKT& whenMissing = PAR_EKT{});
// Writes the five bytes as the whole settings file of form formId.
void writeParEkt(int formId, const PAR_EKT& p);

// ---- The print file -----------------------------------------------------------------------------
// The output of one printout: a printer port or a spool file, written byte for byte (CP737 text,
// CR LF line ends, control bytes as they are) through a byte buffer.
class PFILE {
public:
    PFILE();
    ~PFILE();
    PFILE(const PFILE&) = delete;
    PFILE& operator=(const PFILE&) = delete;

    // Opens a printer port ("LPT1", "LPT2", "LPT3", "com1", "com2", "PRN") for writing.
    void assignPort(const std::string& port);
    // Opens a file of the working folder (or a drive path) for writing, emptying it. The shared
    // spool files ("KVX.TXT", "KART.TXT", "tim.txt", "C:\KVXPOOL\KVX.TXT") are taken under the
    // spool lock first.
    void assignFile(const std::string& dosPath);

    void write(const std::string& bytes);
    void write(std::initializer_list<uint8_t> bytes);
    void put(uint8_t b);
    // s followed by CR LF.
    void writeln(const std::string& s = "");

    // Flushes and closes. A port whose command failed is reported on the screen (its bytes are kept
    // in drives/ports/<port>) and gives false. Closing a closed file does nothing.
    bool close();
    bool isOpen() const;
    // True when the output open now is printer port `port` (any case).
    bool onPort(const std::string& port) const;
    // The resolved output ("|" + command for a command port), for messages and tests.
    std::string target() const;

private:
    void flush();
    std::unique_ptr<PLAT::PortOut> out;
    std::string buf;
    std::string portName;   // when a port is open
    std::string spoolName;  // upper-case name when a shared spool file is open
};

// ---- Procedure types and the procedures ---------------------------------------------------------
// Printing mode M of one emulation; tab to column X of the current line.
using PRNM = void (*)(PFILE& F, uint8_t M);
using TABM = void (*)(PFILE& F, uint8_t X);

// The horizontal offset in force, set by every SET_PE from PAR_EKT.HTAB.
extern int16_t HTAB_OFSET;

void PRNEPS(PFILE& F, uint8_t M);
void PRNGRA(PFILE& F, uint8_t M);
void PRNPRO(PFILE& F, uint8_t M);
void PRNHPPCL(PFILE& F, uint8_t M);
void PRN24PIN(PFILE& F, uint8_t M);
void PRNSTAR(PFILE& F, uint8_t M);
void PRNPS1150(PFILE& F, uint8_t M);
void PRNOKI393(PFILE& F, uint8_t M);
void PRNESCP2(PFILE& F, uint8_t M);
void PRNHPPCL_6(PFILE& F, uint8_t M);
void PRNNONE(PFILE& F, uint8_t M);

void TABEPS(PFILE& F, uint8_t X);    // ESC "D" NUL, ESC "D" X' NUL, HT (X' = X + offset, at most 255)
void TABHPPCL(PFILE& F, uint8_t X);  // ESC "&a" X' "C"
void TABNONE(PFILE& F, uint8_t X);   // "<<(" and X in 3 places; nothing for X = 0
void TAB_NONE(PFILE& F, uint8_t X);  // nothing

// The print set-up of form PE_ID: reads its settings, opens FT on its port, chooses the driver and
// the tab procedure, and sends the initial sequence (initialise, page length, vertical offset).
void SET_PE(int PE_ID, PRNM& P, TABM& T, PFILE& FT);
// Driver and tab procedure by the emulation number of an invoice series; opens and sends nothing.
void SET_PETIMOL(uint8_t EMUL, PRNM& P, TABM& T);
// Opens FT on the output of port value MN.
void SELECTPRI(PFILE& FT, uint8_t MN);

// The copies prompt (mask 80): number of copies, 0 for an empty field, at most 255.
uint8_t COP();
// Waits at column X, row Y for N/n/Ν/ν (true) or O/o/Ο/ο (false).
bool YES(int X, int Y);
// A print question on the bar of row 23 (mask 58, saved): WORDS (CP737) end before column 28,
// "(Ν/Ο) ?" follows and the answer is awaited at column 36. True for yes, the bar still shown;
// for no the bar is removed.
bool ASKPRINT(const std::string& WORDS);
// The first five company header lines, each with a line end.
void LOGO(PFILE& FT);
// X line ends.
void LFE(PFILE& FT, int X);
// The printer-ready test: always 0 (ready).
int16_t PRINTEROK(PFILE& FT);

// One printout in progress: the output with the driver and tab procedure SET_PE chose for it.
struct Printout {
    PFILE F;
    PRNM P = PRNNONE;
    TABM T = TAB_NONE;
    // SET_PE of form PE_ID.
    void open(int PE_ID) { SET_PE(PE_ID, P, T, F); }
    // Print mode m (0 sends nothing).
    void mode(int m) {
        if (m) P(F, uint8_t(m));
    }
    void tab(int c) { T(F, uint8_t(c)); }
    void lf(int n) { LFE(F, n); }
    void text(const std::string& s) { F.write(s); }
    // Text s at column c.
    void at(int c, const std::string& s) {
        tab(c);
        text(s);
    }
};

// ---- The spool lock -----------------------------------------------------------------------------
// Workstations that share a working folder share its spool files. A spool file is written and
// handed off under an OS lock on "SPOOL.LCK" in the working folder: taken when a spool file is
// opened (waiting while another workstation holds it), kept after "KVX.TXT" or "tim.txt" is closed
// until UMAS::PRINTUSB / PRINTUSB_TIM / PRINT_NOTEPAD has handed it off, released otherwise when the
// file is closed.
constexpr const char* SPOOL_LOCK_FILE = "SPOOL.LCK";
void spoolAcquire();
// The hand-off of spool file name (any case) is over: release unless something else still needs
// the lock.
void spoolHandedOff(const std::string& name);
bool spoolHeld();

// A message on row 23 (mask 58) until a key is pressed; text in CP737, at most 71 characters.
void REPORT(const std::string& cp737);

}  // namespace PRNS
