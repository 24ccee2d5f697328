// ARPEL: the customers menu and the customer editor, the only screen that creates, changes and
// deletes customers (file formats and index operations in ARP0, the picker in PELAT).
#pragma once
#include <cstdint>
#include <string>

namespace ARPEL {

// The editor's fields (the name is ARP0::EA), of the widths of the record fields they fill.
extern std::string ON, AF, DI, PO, TK, EP, SX, EF;
extern std::string TH[2];
extern uint8_t DK;

// The customers menu; returns to the main menu on Esc.
void PELA();
// The customer editor for set MN (0 domestic, 1 foreign); returns on Esc. It removes, besides its
// own masks, mask 7 that the customers menu showed for it.
void STPE(int MN);

// The head area of the per-customer invoice chains "TPE.DAT": a customer's chain starts at the
// node whose number is its record number when that number lies below this.
constexpr uint16_t TPE_HEADS = 10000;
// True when domestic customer n has a live invoice in its chain (HR below 65000). The walk is
// bounded; a missing file or a number outside the head area counts as no invoices.
bool hasInvoices(uint16_t n);
// Empties every node of customer n's invoice chain (HR 65000, NR kept). The caller holds "FTIM".
void clearInvoiceChain(uint16_t n);

}  // namespace ARPEL
