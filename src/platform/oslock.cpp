// Exclusive whole-file locks on open file descriptions (fcntl F_OFD_SETLK / F_OFD_SETLKW): held by
// the open file, released when it is closed, and freed by the kernel when the process dies.
#include "platform/oslock.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "platform/fatal.h"

namespace PLAT {

namespace {

std::string fdName(int fd) {
    char buf[PATH_MAX];
    std::string link = "/proc/self/fd/" + std::to_string(fd);
    ssize_t n = readlink(link.c_str(), buf, sizeof buf - 1);
    if (n <= 0) return "descriptor " + std::to_string(fd);
    return std::string(buf, size_t(n));
}

struct flock range(short type, int64_t start, int64_t len) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(start);
    fl.l_len = off_t(len);  // 0: to the end, whatever the size
    fl.l_pid = 0;           // required for OFD locks
    return fl;
}

}  // namespace

bool tryLockRange(int fd, int64_t start, int64_t len) {
    struct flock fl = range(F_WRLCK, start, len);
    for (;;) {
        if (fcntl(fd, F_OFD_SETLK, &fl) == 0) return true;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EACCES) return false;
        fatal("lock", fdName(fd));
    }
}

void lockRange(int fd, int64_t start, int64_t len) {
    struct flock fl = range(F_WRLCK, start, len);
    for (;;) {
        if (fcntl(fd, F_OFD_SETLKW, &fl) == 0) return;
        if (errno == EINTR) continue;
        fatal("lock", fdName(fd));
    }
}

void unlockRange(int fd, int64_t start, int64_t len) {
    struct flock fl = range(F_UNLCK, start, len);
    for (;;) {
        if (fcntl(fd, F_OFD_SETLK, &fl) == 0) return;
        if (errno == EINTR) continue;
        fatal("unlock", fdName(fd));
    }
}

bool rangeLockedElsewhere(int fd, int64_t start, int64_t len) {
    struct flock fl = range(F_WRLCK, start, len);
    for (;;) {
        if (fcntl(fd, F_OFD_GETLK, &fl) == 0) return fl.l_type != F_UNLCK;
        if (errno == EINTR) continue;
        fatal("lock test", fdName(fd));
    }
}

bool tryLockFd(int fd) { return tryLockRange(fd, 0, 0); }
void lockFd(int fd) { lockRange(fd, 0, 0); }
void unlockFd(int fd) { unlockRange(fd, 0, 0); }

int processId() { return int(getpid()); }

}  // namespace PLAT
