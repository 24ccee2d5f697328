// The customer lookup of the current declaration by name (part of the form module BOD): the name in
// BOD::EA, typed in full or in part, settles on a customer of the domestic or the foreign customer
// files, whose fields become the declaration's customer fields.
#pragma once

namespace BOD {

// MN 0 searches the domestic customers, any other value the foreign ones. The chosen customer is
// the one named BOD::EA, else the first name after it in collation order, else the last name of
// all; its fields go into BOD::EA, AF, ON, DI, PO, TK, TH, EP, EF, SX (each cut to its field) and
// its record into PELAT::DIASRECPEL; GETPEL also sets BOD::PR. With no customer in the files
// nothing changes. Runs under the lock "FPEL".
void CHEP(int MN, bool GETPEL);

}  // namespace BOD
