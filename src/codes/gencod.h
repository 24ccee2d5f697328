// GENCOD: the customs authority's official code lists, read-only pickers over text files in the
// working folder: the named lists (LIST + ".TXT", Windows-1253, five lines an entry, two for
// "TELONIA") and the VAT-code lists by tariff chapter ("TARIC\FPAnn.TXT").
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/umas.h"

namespace GENCOD {

// An entry of a named list: SCODE string[4], SNAME string[50] (code page 737). Empty SCODE: none.
struct BUF {
    static constexpr size_t SIZE = 56;
    std::string SCODE;
    std::string SNAME;
    bool operator==(const BUF&) const = default;
};
// A row of a VAT-code list.
struct RECORD_FPA {
    static constexpr size_t SIZE = 57;
    std::string CODE10;  // string[10]
    std::string CODE4;   // string[4]
    std::string PERIG;   // string[40]
    bool operator==(const RECORD_FPA&) const = default;
};
// The VAT-code picker's result. Empty CODE10: nothing chosen.
struct REC_FPA {
    static constexpr size_t SIZE = 262;
    std::string CODE10;
    std::string CODE4;
    std::array<std::string, 7> PERIG;  // [1..6] string[40]
    bool operator==(const REC_FPA&) const = default;
};

constexpr size_t MAXCODES = 900;  // entries of a named list
constexpr size_t MAXFPA = 3000;   // rows of a VAT-code chapter

extern BUF GENREC_CODE;
extern REC_FPA GENREC_FPA;
extern UMAS::FUN GM3;

// The named-list picker over TEXTNAME + ".TXT". Enter leaves the chosen entry in GENREC_CODE, Esc
// leaves it empty; a list that is not installed is reported and leaves it empty too.
void GENCODE(const std::string& TEXTNAME, const std::string& TITLE);
// The VAT-code picker opened at chapter KLASI (1..99); Left and Right change the chapter.
void FPACODE(int KLASI);
// Windows-1253 text to code page 737.
std::string ISO437(const std::string& S);

// The readers behind the pickers (in file order; no more than the limits).
std::vector<BUF> readList(const std::vector<std::string>& lines, bool twoLines);
std::vector<RECORD_FPA> readChapter(const std::vector<std::string>& lines);
// The name of a chapter's file: "TARIC\FPA" + two digits + ".TXT".
std::string chapterFile(int KLASI);

}  // namespace GENCOD
