// REBUILDS: the conversions of older data-file layouts that run after every company choice, in the
// company folder UMAS::PATH. Each step looks at its file, recognises an older layout by its size and
// rewrites it in the current one; a file already current is left as it is.
//
// Every rewrite leaves either the old or the new layout of each file, whatever moment it is stopped
// at, and the next run finishes the job:
//   - a table converted in place is written to a temporary file beside it, flushed to the disk and
//     renamed over the old name;
//   - a stream conversion writes the new file completely, gives the old file its backup name as a
//     second name (hard link) and then renames the new file over the data name, so the data name
//     never disappears; an existing backup is never replaced (the step stops with a message).
// The whole sequence runs under one lock of the company folder (SequenceLock), so two workstations
// choosing the same company never convert one file at once: the second waits and finds the files
// current.
// An unexpected file condition ends the run with one line naming the step and the file.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace PLAT {
class FolderLock;
}

namespace REBUILDS {

// ---- The steps of the sequence (called in order by the company choice) --------------------------
void REB_POL();
void REB_PELAT(const std::string& FN);
void REB_NOM();
void REB_NOM_2();  // also sets UMAS::EURO and UMAS::SEURO
void REB_PRE();
void REB_TAX();
void REB_PEMP();
void REB_PRE2();
void REB_PARDISK();
void REB_PARAUTO();
void REB_EMPOR();
void REB_TIMOL();
void REB_TIMEAFDSS();
void CREATESEIRES();
void REIDEX_PELAT(const std::string& FN);
void REIDEX_PEL2(const std::string& FN);
void REB_TAX2();
void REBQPAR(const std::string& FN);
void REB2010();
void REB2049();  // the day tables still at 11160 heads widened to 22320 (1990 to 2049)
void REB_DISI_BISI();
void REB_DIPE();
void REB_DISI_2();
void REB_TEL();
void REB_APODI();

// Held by the company choice from before the first step to after the last: the named lock "FREB" of
// the company folder UMAS::PATH, or, in a folder without its lock file, a lock on the folder itself
// (nothing is created).
class SequenceLock {
public:
    SequenceLock();
    ~SequenceLock();
    SequenceLock(const SequenceLock&) = delete;
    SequenceLock& operator=(const SequenceLock&) = delete;

private:
    bool named = false;
    std::unique_ptr<PLAT::FolderLock> lock;
};

// After the sequence: a euro rate of 0 is reported on the screen until a key is pressed.
void reportZeroEuro();
// What the clerk must be told at the company choice (code page 737, one line naming its file,
// each line once): the sequence and the checks after it add lines; reportTold shows them in a box
// until a key is pressed and forgets them. Nothing is repaired.
void TELL(const std::string& line);
void reportTold();

// ---- Sizes of the older layouts (the current ones belong to the code tables and the customers) -
constexpr int64_t ORECPOL_SIZE = 23;                     // countries: 84, 144 or 240 entries
constexpr int64_t NOM_HEAD = 14;                         // the two validity dates of "NOM.DAT"
constexpr int64_t NOM_OLD1 = 1094, OORECNOM_SIZE = 45;   // currencies with codes as WORDs
constexpr int64_t NOM_OLD2 = 1166, ORECNOM_SIZE = 48;    // currencies with rates of 7 characters
constexpr int64_t PRE_OLD1 = 1488, ORECPRE1_SIZE = 31;   // documents: descriptions only
constexpr int64_t PRE_OLD2 = 1680, ORECPRE2_SIZE = 35;   // documents with codes of 3 characters
constexpr int64_t TAX_OLD1 = 672;                        // taxes: 24 current entries
constexpr int64_t TAX_OLD2 = 1248, ORECTAX_SIZE = 26;    // taxes with codes as WORDs
constexpr int64_t TEL_OLD = 8280, ORECTEL_SIZE = 23;     // customs offices without towns
constexpr int64_t ORECPEL_SIZE = 252;                    // the shorter customer record
constexpr int64_t OIDX_SIZE = 20200, OIDX_REC = 4, OIDX_BUCKET = 101;  // the oldest name index
constexpr int64_t IDX_SIZE50 = 50 * 5001 * 8;            // the name index of 50 buckets (2000400)
constexpr int64_t PN_AFTER50 = 2500, PN_AFTER60 = 4000;  // LONGINT zeros of the freed-slot files
constexpr int64_t ORECPARTIM7_SIZE = 49, PARTIM7_OLD = 220 * ORECPARTIM7_SIZE;  // field tables (10780)
constexpr int64_t TAR_REC = 7;                           // the older invoice numbering "TAR.DAT"
constexpr int64_t ORECPEMP_SIZE = 883, PEMP_BOUND = 537500;  // goods details before the 48 taxes
constexpr int64_t EMP_OLD_SLOTS = 500;                   // the goods index of 500 slots
constexpr int32_t DAYS_2009 = 7440, DAYS_2019 = 11160;   // day slots of the older day tables
constexpr int64_t DISI_OLD1 = 2001, DISI_OLD2 = 6001, BISI_OLD = 1001;  // number-index strides
constexpr int64_t DIPE_LONG = 70000, DIPE_KEEP = 10000;  // the longer customer-chain file

// ---- Test hook ---------------------------------------------------------------------------------
// With n > 0, the process ends at once (as if killed) right after its n-th write step of a conversion
// (a block of a new file, a temporary table, a link, a rename), counted from this call. 0 turns it off.
void stopAfterWrite(int n);

// ---- Mechanics shared by the conversions (used by the step files of this module) ---------------
namespace MECH {

// A data file of the company folder.
std::string data(const std::string& name);
// Ends the run: one line naming the step, the file and the reason; locks released; non-zero exit.
[[noreturn]] void fail(const std::string& step, const std::string& name, const std::string& reason);
// The size probe: the file opened for reading and writing, its size in bytes; a file that cannot be
// opened so (missing, read-only) ends the run.
int64_t probe(const std::string& step, const std::string& name);
// One write step done (the test hook may end the process here).
void wrote();

// In-place table conversion: the whole file read into a zero-filled buffer of `size` bytes (at most
// the file's bytes are read), and the new table written over it (temporary file, flush, rename).
std::vector<uint8_t> readTable(const std::string& step, const std::string& name, size_t size);
void writeTable(const std::string& name, const std::vector<uint8_t>& bytes);

// Stream conversion: the new file, written in blocks.
class NewFile {
public:
    explicit NewFile(const std::string& name);  // created empty (an earlier leftover is truncated)
    void put(const uint8_t* p, size_t n);
    void finish();  // the last block, flushed to the disk, closed
    ~NewFile();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
// Before a stream conversion: a backup name already taken by another file ends the run (the data
// file unchanged). A backup that is the data file itself (second name given by an interrupted run)
// is fine.
void checkBackup(const std::string& step, const std::string& name, const std::string& backup);
// After it: the old file also named `backup`, then the new file renamed over `name`.
void commit(const std::string& step, const std::string& name, const std::string& newName, const std::string& backup);

}  // namespace MECH

}  // namespace REBUILDS
