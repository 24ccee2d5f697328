// Renaming files and listing a folder by pattern.
#include <dirent.h>
#include <fnmatch.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/fatal.h"
#include "platform/files.h"

namespace PLAT {

bool renameExisting(const std::string& fromDosPath, const std::string& toDosPath) {
    std::string from = resolve(fromDosPath);
    if (!fileExists(fromDosPath)) return false;
    std::string to = resolve(toDosPath);
    if (std::rename(from.c_str(), to.c_str()) != 0) fatal("rename", from);
    return true;
}

std::vector<std::string> findFiles(const std::string& dosPattern) {
    std::string s = dosPattern;
    std::replace(s.begin(), s.end(), '\\', '/');
    size_t slash = s.find_last_of('/');
    std::string dirPart = slash == std::string::npos ? "" : dosPattern.substr(0, slash + 1);
    std::string pat = slash == std::string::npos ? s : s.substr(slash + 1);
    std::string dir = dirPart.empty() ? std::string(".") : resolve(dirPart);
    std::vector<std::string> out;
    DIR* d = opendir(dir.c_str());
    if (!d) return out;
    while (struct dirent* e = readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        if (e->d_type == DT_DIR) continue;
        if (fnmatch(pat.c_str(), e->d_name, FNM_CASEFOLD) == 0) out.push_back(e->d_name);
    }
    closedir(d);
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace PLAT
