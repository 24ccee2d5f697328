// A pseudo-terminal for tests of the terminal backend.
#pragma once

namespace TESTS {

// Opens a pseudo-terminal of 80 x 25 whose output arrives as written (no CR added to LF), so that
// bytes can be counted. False when none can be opened (nothing is left open then).
bool openPty(int& master, int& slave);

}  // namespace TESTS
