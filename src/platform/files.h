// Files as the program sees them: DOS-style names ("ARXEIO0\PAREDE.dat", "C:\KVXPOOL\KVX.TXT")
// resolved to the Linux file system relative to the working folder.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace PLAT {

// "\" becomes "/"; every existing component is matched without regard to case (a component that
// does not exist keeps its spelling, so new files are created under the given name); a drive path
// "X:\..." maps to "drives/x/..." in the working folder (created on first use).
std::string resolve(const std::string& dosPath);

// Existence test of a name that may hold the wildcards * and ?; a folder counts as existing.
bool fileExists(const std::string& dosPath);
bool isDirectory(const std::string& dosPath);
// Size in bytes; -1 when the file is missing.
int64_t fileSize(const std::string& dosPath);

// Whole-file reads; nullopt when the file is missing or the name is no regular file (a folder, a
// device, a pipe). Other failures are fatal.
std::optional<std::string> readWhole(const std::string& dosPath);
// The same for a file the clerk names: nullopt for anything that is not a readable regular file
// (missing, a folder, a device, a pipe, no permission, a read error); never fatal.
std::optional<std::string> readNamed(const std::string& dosPath);
// Whole-file write: temporary file in the same folder, fsync, rename over the old name.
void writeWholeAtomic(const std::string& dosPath, const std::string& bytes);
// The same for a file that must not exist yet: the complete file appears under the name only when
// no other file has it (another workstation may create it at the same moment). False when it had.
bool writeWholeNew(const std::string& dosPath, const std::string& bytes);
// Lines of a text file (CR LF or LF ends stripped); nullopt where readWhole gives it.
std::optional<std::vector<std::string>> readLines(const std::string& dosPath);
// The lines of a text file image, as readLines gives them.
std::vector<std::string> splitLines(const std::string& bytes);

bool removeFile(const std::string& dosPath);  // false when it was not there
void makeDirs(const std::string& dosPath);

// A file of fixed-size records read and written at byte offsets. Every failure is fatal
// (op and file named), except open() with mustExist = false on a missing file.
class File {
public:
    enum Mode {
        READ,
        READWRITE,
        CREATE /* create or truncate, read-write */,
        READWRITE_CREATE /* read-write, created empty when missing, never truncated */
    };
    File() = default;
    File(const std::string& dosPath, Mode mode) { open(dosPath, mode); }
    ~File() { close(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& o) noexcept : fd(o.fd), name(std::move(o.name)) { o.fd = -1; }

    // Returns false when the file is missing and mustExist is false.
    bool open(const std::string& dosPath, Mode mode, bool mustExist = true);
    void close();
    bool isOpen() const { return fd >= 0; }
    int handle() const { return fd; }
    const std::string& path() const { return name; }

    int64_t size() const;
    void readAt(int64_t off, void* buf, size_t n) const;   // exactly n bytes, else fatal
    size_t readSome(int64_t off, void* buf, size_t n) const;  // up to n bytes
    void writeAt(int64_t off, const void* buf, size_t n);
    void truncate(int64_t size);
    void sync();

private:
    int fd = -1;
    std::string name;
};

// The working folder (the current directory of the process at start).
std::string workDir();

// Renames a file, replacing a file of the new name; false when the source is missing.
bool renameExisting(const std::string& fromDosPath, const std::string& toDosPath);
// The names (without folder) of the files in a folder matching a pattern with * and ?, compared
// without regard to case, sorted.
std::vector<std::string> findFiles(const std::string& dosPattern);

}  // namespace PLAT
