// The few file operations whose safe form differs between POSIX and Windows: creating a file that
// must not exist yet, opening a log without following a link, flushing to disk, replacing a file
// by another in one step, and making a folder private to the user. Everything else about files
// goes through std::filesystem. All paths are std::filesystem::path; reasons are short texts for
// the user (the system's own message). The steps of writing a file give it as a string, empty
// meaning success: their callers (the safe writer, the reader's log) put it into a message of
// their own. The lock, which the tool takes around a whole edit, returns a Result.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "result.h"

namespace platformfile {

namespace fs = std::filesystem;

// A file open for writing; the destructor closes it.
class OutFile {
public:
    OutFile() = default;
    ~OutFile() { Close(); }
    OutFile(const OutFile&) = delete;
    OutFile& operator=(const OutFile&) = delete;

    // Creates path, which must not exist yet; a link or anything else already at that name makes
    // it fail, so nothing planted there is ever written through. On POSIX the file starts with
    // the permission bits mode (less the umask).
    std::string CreateNew(const fs::path& path, unsigned mode);

    // Opens path for writing from its start, creating it or emptying it (with append: at its
    // end, keeping what it holds), but only when it is (or becomes) an ordinary file of this user
    // reached without a symbolic link.
    std::string OpenNoFollow(const fs::path& path, bool append = false);

    bool IsOpen() const { return handle_ != kNone; }
    std::string Write(std::string_view bytes);
    std::string Sync();  // the written bytes are on the disk when this returns ""
    // POSIX: gives the file this owner and group, then these permission bits; the reason when the
    // system does not let this user keep one of them (another user's file, a group this user is
    // not in). Windows: nothing (the file takes the folder's access rules).
    std::string SetIdentity(unsigned mode, std::int64_t owner, std::int64_t group);
    // Copies the extended attributes of the file at from (access control lists, labels, a
    // desktop's tags) onto this file; the reason when one of them cannot be copied. Nothing to do
    // where the system has none.
    std::string CopyAttributesFrom(const fs::path& from);
    std::string Close();

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;
};

// Reads a whole file, links followed, into bytes. A name that leads nowhere is Missing; one that
// is not an ordinary file (a folder, a FIFO, a device) is NotAFile, and opening it never waits; a
// file larger than limit, or one that grows past it while it is read, is TooBig and is not read
// on. For NotAFile, CannotOpen and ReadFailed, why says what it is or the system's reason ("it is
// a folder", "Permission denied", "File name too long").
enum class ReadResult { Read, Missing, NotAFile, TooBig, CannotOpen, ReadFailed };
ReadResult ReadWhole(const fs::path& path, std::uintmax_t limit, std::string& bytes, std::string& why);

// What a save needs to know about an existing target (after following links).
struct Facts {
    bool exists = false;
    bool regular = false;
    bool folder = false;
    unsigned mode = 0;        // permission bits (POSIX)
    std::int64_t owner = -1;  // user and group ids (POSIX)
    std::int64_t group = -1;
    std::uint64_t names = 1;  // hard links: names the file has in all
};
Facts Inspect(const fs::path& path);

// Whether the link at link may be followed to write through it. The rule of Linux's
// fs.protected_symlinks, applied whatever the system's setting: a link in a folder that every
// user may write to and that has the sticky bit (such as /tmp) is followed only when it belongs
// to this user or to the folder's owner; another user could have planted it to make this user
// overwrite a file of their choosing. why says so when it may not.
bool LinkMayBeFollowed(const fs::path& link, std::string& why);

// Whether path is an ordinary file of this user, not reached through a link (Windows: any
// ordinary file).
bool IsOwnFile(const fs::path& path);

// While one of these lives, a SIGTERM or SIGINT (POSIX) first removes the file at path, then
// ends the program as the signal would have (or runs the handler that was there before). For the
// temporary file of a save, which would otherwise be left behind. Windows: nothing.
class RemoveOnSignal {
public:
    explicit RemoveOnSignal(const fs::path& path);
    ~RemoveOnSignal();
    RemoveOnSignal(const RemoveOnSignal&) = delete;
    RemoveOnSignal& operator=(const RemoveOnSignal&) = delete;

private:
    int slot_ = -1;
};

// Whether this user may write the existing file, as the system decides it (access rights, a
// read-only file system or attribute), not by looking at the owner's permission bit.
bool MayWrite(const fs::path& path);

// Puts from in place of to in one step: to is either the old file or the new one, never missing
// and never partial. The data of from must already be on disk (OutFile::Sync).
std::string Replace(const fs::path& from, const fs::path& to);

// Makes a rename in folder durable (POSIX: fsync of the folder). Best effort.
void SyncFolder(const fs::path& folder);

// An advisory lock on a file, held until Release or the destructor: flock on POSIX; on Windows,
// where a file held open cannot be replaced, a mutex named after the file's path. Programs that
// take it before they read a file and keep it until they have replaced it never lose each other's
// edits; others are caught by comparing the content before replacing.
// Whether a FileLock is held until Release (true on every system built so far).
extern const bool kFileLocksHold;

class FileLock {
public:
    FileLock() = default;
    ~FileLock() { Release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits until the file at path is locked. A file replaced in one step while this waited is a
    // new file: the lock is then taken on the file now at path. A failure says why it is not held.
    Result Acquire(const fs::path& path);
    void Release();

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;
};

// A 64-bit hash of bytes (FNV-1a), to tell whether a file's contents changed since they were read.
std::uint64_t ContentHash(std::string_view bytes);

// Sixteen hex digits nobody can predict, for temporary names.
std::string RandomToken();

// Creates folder (and its parents) when missing and makes sure it is a real folder, not a link,
// owned by this user and closed to everyone else (0700 on POSIX).
std::string MakePrivateFolder(const fs::path& folder);

// Whether a folder listing shows an entry, the way the game's own listing does: hidden and system
// entries are not listed; on Windows plain files may also have to carry a read-only or archive
// flag. Elsewhere hidden means a name that starts with a dot, and there are no such flags. name is
// the entry's name as EntryName gives it.
struct Visibility {
    bool listed = false;
    bool flagged = false;
};
Visibility VisibilityOf(const fs::path& entry, const std::string& name);

// The entry's name (UTF-8); on POSIX straight from its path's bytes, without taking the path apart.
std::string EntryName(const fs::directory_entry& entry);

}  // namespace platformfile
