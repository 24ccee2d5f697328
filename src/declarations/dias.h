// DIAS: The declarations menu of one kind ("IMP", "EXP", "MTF", "MET", "DFK") and its lists, and
// the list reader they share: one stored declaration read into a row of a list.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

namespace DIAS {

void DIAZ(const std::string& kind);

// A row of the lists by date and of the search (211 bytes in the list; strings cut to these lengths).
struct REC {
    std::string EA;     // [20] customer name (party box of the kind)
    std::string APOST;  // [20] sender (box 12)
    std::string PARAL;  // [20] receiver (box 22)
    std::string HM;     // [6]  date
    std::string KD;     // [10] number
    std::string EM;     // [30] goods description
    std::string TEL;    // [20] customs office
    std::string KL;     // [26] goods code
    std::string KTEL;   // [4]  customs office code
    std::string TEM;    // [7]  packages
    std::string XM;     // [8]  gross mass
    std::string AXIA;   // [12] value and currency
    std::string ARTIM;  // [10] invoice number
    std::string KATH;   // [4]  procedure
};
// A row of the list by customer (69 bytes in the list).
struct REC1 {
    std::string HM;  // [6]
    std::string KD;  // [10]
    std::string EM;  // [50]
};

// The list reader's inputs and outputs: the open "DISM.DAT", its size, the position of the
// declaration to read, and the flag a damaged declaration clears.
extern PLAT::File FT;
extern int64_t MFSIZE;
extern int32_t XND;
extern bool ALLGOOD;

// Reads the declaration at XND into row CC (1-based: P[CC - 1]; CC already counts the new row).
// A declaration of another kind (EXT not in box 142, unless TEXTOUT), outside the day range Z1..Z2
// (list by customer) or of another customer (first 7 characters of the party name against EAP)
// gives no row: CC is lowered again. A damaged one also clears ALLGOOD. With TEXTOUT every box's
// text is also written, one line each, to "C:\DIAM\" + the digits of the number + ".DIA".
void RUFD(std::vector<REC>& P, int32_t Z1, int32_t Z2, const std::string& EAP, const std::string& EXT,
          bool TEXTOUT, int& CC);
void RUFD(std::vector<REC1>& P, int32_t Z1, int32_t Z2, const std::string& EAP, const std::string& EXT,
          bool TEXTOUT, int& CC);
// The same reader on the packed data of a declaration already read (A = 1: rows REC, 2: REC1);
// false when the data is damaged.
bool RUFS(const std::string& data, int A, REC* r, REC1* r1, int32_t Z1, int32_t Z2, const std::string& EAP,
          const std::string& EXT, bool TEXTOUT, bool& keep);

// Tells the clerk that damaged declarations were met (mask 86, until Esc) and forgets every
// free area of "DISM.DAT".
void ERRORFILE();

}  // namespace DIAS
