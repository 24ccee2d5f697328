#include "platform/folders.h"

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

#include "platform/files.h"

namespace PLAT {

std::string canonicalPath(const std::string& dosPath) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(resolve(dosPath), ec);
    if (ec) return resolve(dosPath);
    std::filesystem::path c = std::filesystem::weakly_canonical(p, ec);
    std::string s = (ec ? p.lexically_normal() : c).string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

bool sameOrAbove(const std::string& a, const std::string& b) {
    if (a == b) return true;
    if (a == "/") return true;
    return b.size() > a.size() && b.compare(0, a.size(), a) == 0 && b[a.size()] == '/';
}

bool canCreate(const std::string& dosPath) {
    const std::string p = resolve(dosPath);
    const int fd = open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        // A file of that name already there counts when it can be written.
        const int w = open(p.c_str(), O_WRONLY | O_CLOEXEC);
        if (w < 0) return false;
        close(w);
        return true;
    }
    close(fd);
    unlink(p.c_str());
    return true;
}

}  // namespace PLAT
