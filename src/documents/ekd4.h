// EKD4: the TIR carnet and its registration application.
#pragma once

namespace EKD4 {

// The TIR carnet of the current declaration (print-form id 118); MODE 0 from the documents menu.
void TIR(int MODE);

}  // namespace EKD4
