// Folders named by the clerk: where a name really leads, and whether a file can be made there.
#pragma once
#include <string>

namespace PLAT {

// The absolute path, without "." and ".." and with links followed as far as they exist, of a
// program name (resolved as PLAT::resolve does).
std::string canonicalPath(const std::string& dosPath);
// True when a is b or a folder that holds b (both absolute canonical paths).
bool sameOrAbove(const std::string& a, const std::string& b);
// Creates the file and removes it again; false when it cannot be created (no error is fatal).
bool canCreate(const std::string& dosPath);

}  // namespace PLAT
