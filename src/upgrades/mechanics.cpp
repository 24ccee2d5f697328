// The mechanics every conversion shares: the size probe, the whole-table rewrite, the stream
// conversion's new file, backup and rename, the sequence lock and the test hook.
#include <cerrno>
#include <cstring>

#include "common/umas.h"
#include "platform/fatal.h"
#include "platform/fileops.h"
#include "platform/files.h"
#include "upgrades/rebuilds.h"

namespace REBUILDS {

namespace {

int stopAt = 0;
int steps = 0;

// "NOM.DAT" -> "NOM.$$$": the temporary name of a table being rewritten. A fixed name, so a run that
// was stopped leaves nothing behind that the next run does not overwrite and rename away.
std::string tempName(const std::string& name) {
    size_t dot = name.find_last_of('.');
    return (dot == std::string::npos ? name : name.substr(0, dot)) + ".$$$";
}

}  // namespace

void stopAfterWrite(int n) {
    stopAt = n;
    steps = 0;
}

// The named lock "FREB" where the company folder has its lock file (every installation lays it out);
// a folder without it is locked as a whole, so that the lock never creates a file.
SequenceLock::SequenceLock() {
    if (PLAT::fileExists(UMAS::PATH + "FREB.DAT")) {
        UMAS::LOCK("FREB");
        named = true;
    } else {
        lock = std::make_unique<PLAT::FolderLock>(UMAS::PATH);
    }
}

SequenceLock::~SequenceLock() {
    if (named) UMAS::UNLOC("FREB");
}

namespace MECH {

std::string data(const std::string& name) { return UMAS::PATH + name; }

void fail(const std::string& step, const std::string& name, const std::string& reason) {
    PLAT::fatal(step, PLAT::resolve(data(name)), reason);
}

int64_t probe(const std::string& step, const std::string& name) {
    int64_t n = PLAT::probeReadWrite(data(name));
    if (n < 0) {
        int e = errno;
        fail(step, name, std::string("cannot open for reading and writing: ") + std::strerror(e));
    }
    return n;
}

void wrote() {
    ++steps;
    if (stopAt > 0 && steps >= stopAt) PLAT::killSelf();
}

std::vector<uint8_t> readTable(const std::string& step, const std::string& name, size_t size) {
    std::vector<uint8_t> buf(size, 0);
    PLAT::File f(data(name), PLAT::File::READ);
    size_t got = f.readSome(0, buf.data(), size);
    if (got == 0 && size > 0) fail(step, name, "empty file");
    return buf;
}

void writeTable(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string tmp = data(tempName(name));
    PLAT::writeSynced(tmp, bytes.data(), bytes.size(), data(name));
    wrote();
    PLAT::renameFile(tmp, data(name));
    wrote();
}

struct NewFile::Impl {
    PLAT::File f;
    std::vector<uint8_t> buf;
    int64_t off = 0;
    void flush() {
        if (buf.empty()) return;
        f.writeAt(off, buf.data(), buf.size());
        off += int64_t(buf.size());
        buf.clear();
        wrote();
    }
};

namespace {
constexpr size_t BLOCK = 1024 * 1024;
}

NewFile::NewFile(const std::string& name) : d(std::make_unique<Impl>()) {
    d->f.open(data(name), PLAT::File::CREATE);
    d->buf.reserve(BLOCK);
}

void NewFile::put(const uint8_t* p, size_t n) {
    // Whole blocks of a large piece go straight to the file.
    while (d->buf.empty() && n >= BLOCK) {
        d->f.writeAt(d->off, p, BLOCK);
        d->off += int64_t(BLOCK);
        p += BLOCK;
        n -= BLOCK;
        wrote();
    }
    while (n > 0) {
        size_t k = std::min(n, BLOCK - d->buf.size());
        d->buf.insert(d->buf.end(), p, p + k);
        p += k;
        n -= k;
        if (d->buf.size() == BLOCK) d->flush();
    }
}

void NewFile::finish() {
    d->flush();
    d->f.sync();
    d->f.close();
}

NewFile::~NewFile() = default;

// A backup name that is taken ends the program: the clerk moves that file away and starts again.
const char* const BACKUP_TAKEN = "the backup file exists already; move it away and start the program again";

void checkBackup(const std::string& step, const std::string& name, const std::string& backup) {
    if (PLAT::fileExists(data(backup)) && !PLAT::sameFile(data(name), data(backup)))
        fail(step, backup, BACKUP_TAKEN);
}

void commit(const std::string& step, const std::string& name, const std::string& newName, const std::string& backup) {
    if (!PLAT::linkFile(data(name), data(backup))) {
        if (!PLAT::sameFile(data(name), data(backup)))
            fail(step, backup, BACKUP_TAKEN);
    } else {
        wrote();
    }
    PLAT::renameFile(data(newName), data(name));
    wrote();
}

}  // namespace MECH

}  // namespace REBUILDS
