// Exclusive OS record locks on open files (fcntl open-file-description locks): the ground under the
// named locks and the in-use slot files.
#pragma once
#include <cstdint>

namespace PLAT {

// Tries to take an exclusive lock on the whole file fd; true when taken.
bool tryLockFd(int fd);
// Waits until the exclusive lock on fd is taken.
void lockFd(int fd);
void unlockFd(int fd);
// The same for the byte range [start, start + len) of the file (len 0: to the end, whatever the size).
bool tryLockRange(int fd, int64_t start, int64_t len);
void lockRange(int fd, int64_t start, int64_t len);
void unlockRange(int fd, int64_t start, int64_t len);
// True when another open file (of this process or another) holds a lock on part of the range.
bool rangeLockedElsewhere(int fd, int64_t start, int64_t len);
// The id of this process (a forked child has its own, so it can tell inherited locks apart).
int processId();

}  // namespace PLAT
