// EKBODI: the alternate print view of the open declaration and the excise question.
#pragma once
#include <cstdint>
#include <string>

namespace EKBODI {

void BODI(int YPOD, const std::string& EXT);
// What an excise export is for: 0 spirits and wines, 1 cars.
uint8_t TYPOSDEFK();

// Fills the view's boxes (208..289) of the main page from its data boxes for kind EXT; box 280
// totals the tax lines of the main page and of the stored sheets (under "FBIS").
void DERIVE(const std::string& EXT);
// The contents of "DIA2.XML" for the view as it stands (UTF-8, CR LF lines).
std::string DIA2XML(const std::string& EXT);
// The prints of the view, each after the yes/no question of mask 58: on the pre-printed form of
// print form 1, and on A4 ("DIA2.XML" handed to "dia_jar2.sh temp.txt" under the spool lock).
void EKTY(const std::string& EXT);
void EKTY_A4(const std::string& EXT);

}  // namespace EKBODI
