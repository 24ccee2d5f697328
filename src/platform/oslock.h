// Exclusive OS record locks on open files (fcntl open-file-description locks): the ground under the
// named locks and the in-use slot files.
#pragma once

namespace PLAT {

// Tries to take an exclusive lock on the whole file fd; true when taken.
bool tryLockFd(int fd);
// Waits until the exclusive lock on fd is taken.
void lockFd(int fd);
void unlockFd(int fd);
// The id of this process (a forked child has its own, so it can tell inherited locks apart).
int processId();

}  // namespace PLAT
