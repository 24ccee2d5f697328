// Files shared with another program through a folder (the signing server's exchange folder): every
// failure is an answer, never a stop of the program. Names are DOS style, as PLAT::resolve takes them.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace PLAT {

// The names (without folder) of the entries of folder dosDir that match pattern (wildcards * and
// ?, without regard to case), in byte order; empty when the folder cannot be read.
std::vector<std::string> findFiles(const std::string& dosDir, const std::string& pattern);
// The whole file; nullopt when it is missing or cannot be read.
std::optional<std::string> tryReadWhole(const std::string& dosPath);
// Writes the whole file under a temporary name in the same folder and renames it over the name;
// false (and nothing left behind) when that fails.
bool tryWriteWhole(const std::string& dosPath, const std::string& bytes);
// Deletes a file; a file that is missing or cannot be deleted is passed over silently.
void tryRemove(const std::string& dosPath);
// True when the file can be opened for reading.
bool canOpenForReading(const std::string& dosPath);

}  // namespace PLAT
