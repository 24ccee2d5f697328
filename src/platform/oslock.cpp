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

struct flock wholeFile(short type) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;  // to the end, whatever the size
    fl.l_pid = 0;  // required for OFD locks
    return fl;
}

}  // namespace

bool tryLockFd(int fd) {
    struct flock fl = wholeFile(F_WRLCK);
    for (;;) {
        if (fcntl(fd, F_OFD_SETLK, &fl) == 0) return true;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EACCES) return false;
        fatal("lock", fdName(fd));
    }
}

void lockFd(int fd) {
    struct flock fl = wholeFile(F_WRLCK);
    for (;;) {
        if (fcntl(fd, F_OFD_SETLKW, &fl) == 0) return;
        if (errno == EINTR) continue;
        fatal("lock", fdName(fd));
    }
}

void unlockFd(int fd) {
    struct flock fl = wholeFile(F_UNLCK);
    for (;;) {
        if (fcntl(fd, F_OFD_SETLK, &fl) == 0) return;
        if (errno == EINTR) continue;
        fatal("unlock", fdName(fd));
    }
}

int processId() { return int(getpid()); }

}  // namespace PLAT
