// Files as the program names them (DOS style) on the Linux file system.
#include "platform/files.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "platform/fatal.h"

namespace PLAT {

namespace {

bool exists(const std::string& p) {
    struct stat st;
    return lstat(p.empty() ? "." : p.c_str(), &st) == 0;
}

std::string join(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

// The entry of folder dir whose name equals name without regard to (ASCII) case; the first in
// byte order when there are several.
bool findNoCase(const std::string& dir, const std::string& name, std::string& found) {
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return false;
    bool ok = false;
    while (struct dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, name.c_str()) == 0) {
            if (!ok || std::strcmp(e->d_name, found.c_str()) < 0) found = e->d_name;
            ok = true;
        }
    }
    closedir(d);
    return ok;
}

void mkdirs(const std::string& path) {
    if (path.empty()) return;
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/') continue;
        std::string pre = path.substr(0, i);
        if (pre.empty() || pre == "/" || pre == "." || pre == "..") continue;
        if (mkdir(pre.c_str(), 0777) != 0 && errno != EEXIST) fatal("create folder", pre);
    }
    struct stat st;
    if (stat(path.c_str(), &st) != 0) fatal("create folder", path);
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        fatal("create folder", path);
    }
}

// Matches the components of rest below base (already a real path, "" for the working folder).
std::string matchComponents(std::string cur, const std::string& rest) {
    bool missing = false;
    size_t i = 0;
    while (i < rest.size()) {
        size_t j = rest.find('/', i);
        if (j == std::string::npos) j = rest.size();
        std::string comp = rest.substr(i, j - i);
        i = j + 1;
        if (comp.empty()) continue;
        if (!missing && comp != "." && comp != "..") {
            std::string cand = join(cur, comp);
            if (!exists(cand)) {
                std::string found;
                if (findNoCase(cur, comp, found))
                    comp = found;
                else
                    missing = true;
            }
        }
        cur = join(cur, comp);
    }
    if (!rest.empty() && rest.back() == '/' && !cur.empty() && cur.back() != '/') cur += '/';
    return cur;
}

mode_t newFileMode() {
    static mode_t m = [] {
        mode_t u = umask(022);
        umask(u);
        return mode_t(0666 & ~u);
    }();
    return m;
}

bool hasWild(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

}  // namespace

std::string resolve(const std::string& dosPath) {
    std::string s = dosPath;
    std::replace(s.begin(), s.end(), '\\', '/');
    if (s.size() >= 2 && s[1] == ':' && std::isalpha(static_cast<unsigned char>(s[0]))) {
        std::string drive = std::string("drives/") + char(std::tolower(static_cast<unsigned char>(s[0])));
        std::string base = matchComponents("", drive);
        if (!exists(base)) mkdirs(base);
        std::string rest = s.substr(2);
        if (rest.empty()) return base + "/";
        return matchComponents(base, rest);
    }
    if (!s.empty() && s[0] == '/') return matchComponents("/", s.substr(1));
    return matchComponents("", s);
}

bool fileExists(const std::string& dosPath) {
    if (dosPath.empty()) return false;
    // Split off the last component: the only one that may hold wildcards.
    size_t cut = dosPath.find_last_of("\\/");
    if (cut == std::string::npos && dosPath.size() >= 2 && dosPath[1] == ':') cut = 1;
    std::string dirPart = cut == std::string::npos ? std::string() : dosPath.substr(0, cut + 1);
    std::string pat = cut == std::string::npos ? dosPath : dosPath.substr(cut + 1);
    if (!hasWild(pat)) {
        std::string r = resolve(dosPath);
        return exists(r);
    }
    std::string dir = dirPart.empty() ? std::string(".") : resolve(dirPart);
    DIR* d = opendir(dir.c_str());
    if (!d) return false;
    // "*.*" also finds names without an extension, as a DOS directory search does.
    std::string alt;
    if (pat.size() >= 2 && pat.compare(pat.size() - 2, 2, ".*") == 0) alt = pat.substr(0, pat.size() - 2);
    bool found = false;
    while (struct dirent* e = readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        if (fnmatch(pat.c_str(), e->d_name, FNM_CASEFOLD) == 0 ||
            (!alt.empty() && fnmatch(alt.c_str(), e->d_name, FNM_CASEFOLD) == 0)) {
            found = true;
            break;
        }
    }
    closedir(d);
    return found;
}

bool isDirectory(const std::string& dosPath) {
    struct stat st;
    std::string r = resolve(dosPath);
    return stat(r.empty() ? "." : r.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int64_t fileSize(const std::string& dosPath) {
    struct stat st;
    std::string r = resolve(dosPath);
    if (stat(r.c_str(), &st) != 0) return -1;
    return int64_t(st.st_size);
}

namespace {

// The whole of the regular file under the name; nullopt when there is none (missing, a folder, a
// device, a pipe: reading one would fail or never end). A file that cannot be opened or read for
// another reason is fatal when fatalErrors, else nullopt too.
std::optional<std::string> readRegular(const std::string& dosPath, bool fatalErrors) {
    const std::string r = resolve(dosPath);
    if (r.empty()) return std::nullopt;
    int fd;
    do fd = ::open(r.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);  // a pipe must not hold the open
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (!fatalErrors || errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        fatal("open", r);
    }
    struct stat st;
    const bool statted = fstat(fd, &st) == 0;
    if (!statted || !S_ISREG(st.st_mode)) {
        ::close(fd);
        if (!statted && fatalErrors) fatal("size", r);
        return std::nullopt;
    }
    // Read straight into a string of the file's size; a file that grew meanwhile is read on to its
    // end through a buffer.
    std::string out(size_t(st.st_size), '\0');
    size_t got = 0;
    char more[65536];
    for (;;) {
        const bool inside = got < out.size();
        const ssize_t n = ::read(fd, inside ? out.data() + got : more, inside ? out.size() - got : sizeof more);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            if (fatalErrors) fatal("read", r);
            return std::nullopt;
        }
        if (n == 0) break;
        if (!inside) out.append(more, size_t(n));
        got += size_t(n);
    }
    ::close(fd);
    out.resize(got);
    return out;
}

}  // namespace

std::optional<std::string> readWhole(const std::string& dosPath) { return readRegular(dosPath, true); }

std::optional<std::string> readNamed(const std::string& dosPath) { return readRegular(dosPath, false); }

std::vector<std::string> splitLines(const std::string& s) {
    std::vector<std::string> lines;
    size_t i = 0;
    while (i < s.size()) {
        size_t j = s.find('\n', i);
        size_t end = j == std::string::npos ? s.size() : j;
        size_t len = end - i;
        if (len > 0 && s[end - 1] == '\r') --len;
        lines.push_back(s.substr(i, len));
        if (j == std::string::npos) break;
        i = j + 1;
    }
    return lines;
}

std::optional<std::vector<std::string>> readLines(const std::string& dosPath) {
    auto whole = readWhole(dosPath);
    if (!whole) return std::nullopt;
    return splitLines(*whole);
}

namespace {

// Writes bytes to a temporary file beside the target, fsyncs it and puts it in place: renamed over
// the old file, or (onlyNew) linked under the name only when no file has it. Returns false when
// onlyNew found the name taken; every other failure is fatal.
bool writeWholeVia(const std::string& dosPath, const std::string& bytes, bool onlyNew) {
    std::string target = resolve(dosPath);
    size_t slash = target.find_last_of('/');
    std::string dir = slash == std::string::npos ? std::string(".") : target.substr(0, slash == 0 ? 1 : slash);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string tmpl = join(dir, "." + base + ".XXXXXX");
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) fatal("create", target);
    std::string tmp(name.data());
    auto fail = [&](const char* op) {
        int e = errno;
        close(fd);
        unlink(tmp.c_str());
        errno = e;
        fatal(op, target);
    };
    struct stat st;
    mode_t mode = stat(target.c_str(), &st) == 0 ? mode_t(st.st_mode & 07777) : newFileMode();
    if (fchmod(fd, mode) != 0) fail("write");
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail("write");
        }
        done += size_t(n);
    }
    if (fsync(fd) != 0) fail("write");
    if (close(fd) != 0) {
        int e = errno;
        unlink(tmp.c_str());
        errno = e;
        fatal("write", target);
    }
    if (onlyNew) {
        int r = link(tmp.c_str(), target.c_str());
        int e = errno;
        unlink(tmp.c_str());
        if (r != 0) {
            if (e == EEXIST) return false;
            errno = e;
            fatal("create", target);
        }
    } else if (rename(tmp.c_str(), target.c_str()) != 0) {
        int e = errno;
        unlink(tmp.c_str());
        errno = e;
        fatal("rename", target);
    }
    int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return true;
}

}  // namespace

void writeWholeAtomic(const std::string& dosPath, const std::string& bytes) { writeWholeVia(dosPath, bytes, false); }

bool writeWholeNew(const std::string& dosPath, const std::string& bytes) { return writeWholeVia(dosPath, bytes, true); }

bool removeFile(const std::string& dosPath) {
    std::string r = resolve(dosPath);
    if (unlink(r.c_str()) == 0) return true;
    if (errno == ENOENT) return false;
    fatal("erase", r);
}

void makeDirs(const std::string& dosPath) {
    std::string r = resolve(dosPath);
    while (r.size() > 1 && r.back() == '/') r.pop_back();
    mkdirs(r);
}

std::string workDir() {
    char buf[4096];
    if (!getcwd(buf, sizeof buf)) fatal("current folder", ".");
    return buf;
}

// ---- File --------------------------------------------------------------------------------------

bool File::open(const std::string& dosPath, Mode mode, bool mustExist) {
    close();
    name = resolve(dosPath);
    int flags = O_CLOEXEC;
    switch (mode) {
        case READ: flags |= O_RDONLY; break;
        case READWRITE: flags |= O_RDWR; break;
        case CREATE: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
        case READWRITE_CREATE: flags |= O_RDWR | O_CREAT; break;
    }
    for (;;) {
        fd = ::open(name.c_str(), flags, 0666);
        if (fd >= 0) return true;
        if (errno == EINTR) continue;
        if (!mustExist && (errno == ENOENT || errno == ENOTDIR)) return false;
        fatal("open", name);
    }
}

void File::close() {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

int64_t File::size() const {
    struct stat st;
    if (fstat(fd, &st) != 0) fatal("size", name);
    return int64_t(st.st_size);
}

void File::readAt(int64_t off, void* buf, size_t n) const {
    size_t got = readSome(off, buf, n);
    if (got != n) fatal("read", name, "unexpected end of file");
}

size_t File::readSome(int64_t off, void* buf, size_t n) const {
    size_t got = 0;
    char* p = static_cast<char*>(buf);
    while (got < n) {
        ssize_t r = pread(fd, p + got, n - got, off_t(off + int64_t(got)));
        if (r < 0) {
            if (errno == EINTR) continue;
            fatal("read", name);
        }
        if (r == 0) break;
        got += size_t(r);
    }
    return got;
}

void File::writeAt(int64_t off, const void* buf, size_t n) {
    size_t done = 0;
    const char* p = static_cast<const char*>(buf);
    while (done < n) {
        ssize_t r = pwrite(fd, p + done, n - done, off_t(off + int64_t(done)));
        if (r < 0) {
            if (errno == EINTR) continue;
            fatal("write", name);
        }
        if (r == 0) {
            errno = EIO;
            fatal("write", name);
        }
        done += size_t(r);
    }
}

void File::truncate(int64_t size) {
    while (ftruncate(fd, off_t(size)) != 0) {
        if (errno == EINTR) continue;
        fatal("truncate", name);
    }
}

void File::sync() {
    if (fsync(fd) != 0) fatal("sync", name);
}

}  // namespace PLAT
