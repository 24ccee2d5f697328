#include "platform/fileops.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/clock.h"
#include "platform/fatal.h"
#include "platform/files.h"

namespace PLAT {

namespace {

std::string folderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void syncFolderOf(const std::string& path) {
    int dfd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        ::close(dfd);
    }
}

}  // namespace

int64_t probeReadWrite(const std::string& dosPath) {
    std::string p = resolve(dosPath);
    int fd;
    do fd = ::open(p.c_str(), O_RDWR | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) return -1;
    struct stat st;
    int r = fstat(fd, &st);
    int e = errno;
    ::close(fd);
    if (r != 0) {
        errno = e;
        return -1;
    }
    return int64_t(st.st_size);
}

bool linkFile(const std::string& from, const std::string& to) {
    std::string f = resolve(from), t = resolve(to);
    if (::link(f.c_str(), t.c_str()) != 0) {
        if (errno == EEXIST) return false;
        fatal("link " + f + " as", t);
    }
    syncFolderOf(t);
    return true;
}

void renameFile(const std::string& from, const std::string& to) {
    std::string f = resolve(from), t = resolve(to);
    if (::rename(f.c_str(), t.c_str()) != 0) fatal("rename " + f + " to", t);
    syncFolderOf(t);
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    if (stat(resolve(a).c_str(), &sa) != 0 || stat(resolve(b).c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void writeSynced(const std::string& dosPath, const void* bytes, size_t n, const std::string& modeOf) {
    File f(dosPath, File::CREATE);
    if (!modeOf.empty()) {
        struct stat st;
        if (stat(resolve(modeOf).c_str(), &st) == 0 && fchmod(f.handle(), st.st_mode & 07777) != 0)
            fatal("write", f.path());
    }
    f.truncate(0);
    f.writeAt(0, bytes, n);
    f.sync();
    f.close();
}

void makeReadOnly(const std::string& dosPath) {
    std::string f = resolve(dosPath);
    struct stat st;
    if (stat(f.c_str(), &st) != 0 || chmod(f.c_str(), st.st_mode & 07555) != 0) fatal("make read-only", f);
}

FolderLock::FolderLock(const std::string& dosDir) {
    std::string d = resolve(dosDir);
    while (d.size() > 1 && d.back() == '/') d.pop_back();
    if (d.empty()) d = ".";
    fd = ::open(d.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) fatal("open folder", d);
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) return;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) {
            // A file system that cannot lock folders (some network shares): no lock, as before.
            ::close(fd);
            fd = -1;
            return;
        }
        sleepMs(100);
    }
}

FolderLock::~FolderLock() {
    if (fd >= 0) ::close(fd);  // closing the only descriptor releases the lock
}

void killSelf() {
    ::raise(SIGKILL);
    _exit(137);
}

}  // namespace PLAT
