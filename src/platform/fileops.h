// File-system operations of the conversions that rewrite whole data files: second names (hard
// links), renames, synced whole-file writes, a lock on a whole folder.
#pragma once
#include <cstdint>
#include <string>

namespace PLAT {

// Opens the file for reading and writing and takes its size in bytes. -1 when it cannot be opened
// so (missing, read-only, ...): errno then tells why.
int64_t probeReadWrite(const std::string& dosPath);

// Gives the existing file `from` the second name `to`. False, with nothing changed, when a file named
// `to` exists already; other failures are fatal.
bool linkFile(const std::string& from, const std::string& to);
// Renames `from` to `to`, replacing a file `to` in one step; then syncs the folder. Fatal on failure.
void renameFile(const std::string& from, const std::string& to);
// True when both names exist and are one file (the same device and inode).
bool sameFile(const std::string& a, const std::string& b);
// Writes bytes as the whole content of the file (created or truncated) and flushes it to the disk
// (fsync). The file gets the permission bits of modeOf when that file exists.
void writeSynced(const std::string& dosPath, const void* bytes, size_t n, const std::string& modeOf = "");
// Takes every write permission from the file (the read-only attribute). Fatal on failure.
void makeReadOnly(const std::string& dosPath);

// An exclusive lock on a whole folder (flock on the folder itself): nothing is created or written in
// it. Waits, pausing 100 ms between tries, until the lock is free. Released by the destructor and by
// the kernel when the process ends. On a file system that cannot lock a folder it holds nothing.
class FolderLock {
public:
    explicit FolderLock(const std::string& dosDir);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd = -1;
};

// Ends this process at once, as a power loss or a kill would: no cleanup, no exit handlers.
[[noreturn]] void killSelf();

}  // namespace PLAT
