// DISKET: the export and print counter "HDD.DAT" of the installation (one 16-bit little-endian
// number in "ARXEIO0\" below the database folder). The declaration print and every clean export
// run add one to it; nothing reads it back for a decision.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace DISKET {

// What one addition did. The counter never fails its caller: a print or an export that calls it
// stands whatever the answer, and the caller tells the clerk the message of a non-ADVANCED answer.
enum class Count {
    ADVANCED,  // the number went up by one
    MISSING,   // no "HDD.DAT" (the installation's file is never created here)
    DAMAGED,   // a file shorter than its two bytes: left as it is
    FULL       // the number stands at 65535 and stays there (no wrap to 0)
};

// The counter file: PARAMS::GETDATABASEPATH() + "ARXEIO0\HDD.DAT".
std::string counterPath();

// Adds one to the count. EXT (the declaration kind) does not change what it does. The read and
// the write happen under an exclusive OS lock on the file, so two workstations adding at the same
// moment both count.
Count INCDIAS(const std::string& EXT);

// The current count; nullopt when the file is missing or damaged.
std::optional<uint16_t> readCount();

// The Greek line (code page 737) that tells the clerk an answer other than ADVANCED; empty for
// ADVANCED.
std::string message(Count c);

}  // namespace DISKET
