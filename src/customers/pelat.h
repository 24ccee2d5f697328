// PELAT: the customer picker: the customers of one file set in name order, 20 to a page, opening
// at the name typed so far; returns the chosen customer's record number and record.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "customers/arp0.h"

namespace PELAT {

// One row of the list (memory only): record number, name (20), address (21), telephone (13),
// profession (17).
struct PER {
    uint16_t KV = 0;
    std::string EA, DI, TH, EP;
};

// The customer of the declaration being edited, and the foreign customer chosen in a declaration's
// TIR data (its SX is the EORI number).
extern ARP0::RR0 DIASRECPEL;
extern ARP0::RR0 MALRECPEL;

// The picker over set MN (0 domestic, 1 foreign). A customer chosen: PR its record number and
// *PPEL its record. Esc, or Enter on an empty line or on a number beyond the record file: PR 65000
// and *PPEL zeroed. No customer in the index: PR 65000 and *PPEL untouched (after a notice). Damaged
// records are never listed nor chosen: the clerk is told (ARP0::damagedMessage) before the list.
void ALPHAPEL(const std::string& ONOMA, int MN, uint16_t& PR, ARP0::RR0* PPEL);

// The rows of set MN in bucket and chain order (no limit on their number). Damaged records are
// left out (ARP0::listAll), counted in *damaged when it is given.
std::vector<PER> rows(int MN, int* damaged = nullptr);
// The opening row (0-based) for the typed name: the first row whose name does not sort before it
// (first 20 characters without trailing blanks, by collation rank, a prefix first), else the last.
size_t openingRow(const std::vector<PER>& L, const std::string& ONOMA);

}  // namespace PELAT
