// START: the one-time start-up: binding the screen buffer, the mask file, the rate "RAEE.TXT".
#pragma once
#include <string>
#include <vector>

#include "common/umas.h"

namespace START {

void AUTMOD();
void ARXI();
// Loads every mask of file FN into MP (MP[0] unused). Missing or unreadable file: fatal.
void RMASK(std::vector<UMAS::CONV>& MP, const std::string& FN);
// Parses a mask file image; a final odd byte and a final incomplete mask are ignored, and so is
// everything after the first 135 masks. The result is indexed like MPR: [0] unused, [n] mask n.
std::vector<UMAS::CONV> parseMasks(const std::string& bytes);

}  // namespace START
