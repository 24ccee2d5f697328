// The customer lookup of the current declaration by name (part of the form module BOD): the name in
// BOD::EA, typed in full or in part, settles on a customer of the domestic or the foreign customer
// files, whose fields become the declaration's customer fields.
#pragma once
#include <string>

namespace BOD {

// MN 0 searches the domestic customers, any other value the foreign ones. The chosen customer is
// the one named BOD::EA, else the first name after it in collation order, else the last name of
// all; its fields go into BOD::EA, AF, ON, DI, PO, TK, TH, EP, EF, SX (each cut to its field) and
// its record into PELAT::DIASRECPEL; GETPEL also sets BOD::PR. With no customer in the files
// nothing changes. Runs under the lock "FPEL".
// A damaged customer record (ARP0::RR0::damaged) is never taken: the search passes over it as if
// it were not in the chain. The result is then the notice to show (ARP0::damagedMessage): nothing
// was found, or another customer was; empty when the search met no damaged record.
std::string CHEP(int MN, bool GETPEL);

}  // namespace BOD
