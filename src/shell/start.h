// START: the one-time start-up: binding the screen buffer, the mask file, the rate "RAEE.TXT".
#pragma once
#include <string>
#include <vector>

#include "common/umas.h"

namespace START {

void AUTMOD();
void ARXI();
// Loads every mask of file FN into MP (MP[0] unused). Missing or unreadable file, or a file that
// CHECKMASKS refuses: fatal, with one line naming the file and what is wrong.
void RMASK(std::vector<UMAS::CONV>& MP, const std::string& FN);
// Checks a mask file image whole before anything is shown from it: the 135 masks the program
// needs, each record complete with sensible corners (a screen mask within 80 x 25, the form's data
// masks within 80 columns), and the declaration form's records big enough with every box on its
// page. "" when the file can be used, else what is wrong.
std::string CHECKMASKS(const std::string& bytes);
// Parses a mask file image; a final odd byte and a final incomplete mask are ignored, and so is
// everything after the first 135 masks. The result is indexed like MPR: [0] unused, [n] mask n.
std::vector<UMAS::CONV> parseMasks(const std::string& bytes);

}  // namespace START
