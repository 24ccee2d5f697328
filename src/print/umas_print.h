// The print hand-off: spooled printouts given to the installation's scripts, and the viewer copy.
#pragma once
#include <string>

namespace UMAS {

// When "kvx.txt" exists: runs the installation's "prntxt.sh", waits for it and deletes "kvx.txt".
// A script that is missing or fails is reported on the screen and "kvx.txt" is kept.
void PRINTUSB();
// The same for the invoices' "tim.txt" and "prn_tim.sh".
void PRINTUSB_TIM();
// When "kvx.txt" exists: writes it to "Output.txt" in ISO 8859-7 (lines cut to 255 characters),
// deletes it and shows "Output.txt" with the viewer.
void PRINT_NOTEPAD();
// One line from code page 737 to ISO 8859-7.
std::string PRINT_NOTEPAD_ISO8859(const std::string& S);

}  // namespace UMAS
