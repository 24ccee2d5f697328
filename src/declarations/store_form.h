// The store operations on the current declaration and its current continuation-sheet item (the
// state of BOD): find, load, store and delete, for the declaration editor, the continuation-sheet
// editor, printing and submission. None takes a lock: the callers hold "FDIA" (declarations) or
// "FBIS" (sheet items). The store files lie in the company folder UMAS::PATH.
#pragma once
#include <string>

#include "declarations/store.h"

namespace EK0 {

// Looks BOD::TM up: BOD::BOO and BOD::XN; BOD::OO gets the last key read. The result tells
// also whether the index list was damaged (then BOD::BOO is false).
STORE::Found CHO();
// Loads the declaration at BOD::XN into the form (PUS true: everything, and the page is shown at
// BOD::LL; false: only boxes 8 and 9 on the page, BOD::AY untouched, nothing shown). The customer
// number and fields, BOD::OO, BOD::HM and BOD::BHM are set either way. A damaged declaration
// leaves the form and the state untouched and returns false with the reason in damage.
bool DISF_RUF(bool PUS, std::string* damage = nullptr);
// Stores the form under BOD::TM, replacing the stored version when BOD::BOO; nothing at all is
// written when the form did not change since BOD::CSM. Result.refusal (CP737) when the store was
// refused (nothing written), Result.notices for what the clerk must be told after a store.
STORE::Result KATD();
// The packed data of the form as the store writes it.
std::string KATD_DATA();
uint8_t INS(char C);

}  // namespace EK0

namespace BOD {

// Deletes the stored declaration at BOD::XN: its index entry (under BOD::OO), day-chain entry
// (BOD::BHM), customer-chain entry (BOD::BPR), then frees its areas.
STORE::Result DELD();
// Forgets every free area of "DISM.DAT".
void CLEARDISD();
uint8_t INS(char C);

}  // namespace BOD

namespace EKDO {

// Looks BOD::BM up: BOD::BOB and BOD::XNB; BOD::OOB gets the last key read.
STORE::Found CHOB();
// Loads the item at BOD::XNB into the sheet page and BOD::AYB; with SHOW shows it at row LL.
// A damaged item leaves the page untouched and returns false.
bool RUFB(int LL, bool SHOW, std::string* damage = nullptr);
// Stores the sheet page under BOD::BM, replacing the stored item when BOD::BOB.
STORE::Result KATB();
// The packed data of the sheet page, and its declared area size (data length + 8).
std::string KATB_DATA();
int FSZB();
// Removes the index entry of the item at BOD::XNB (partition of BOD::OOB).
STORE::Result DELB();
uint8_t INS(char C);

}  // namespace EKDO
