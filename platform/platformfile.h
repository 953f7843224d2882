// The few file operations whose safe form differs between POSIX and Windows: creating a file that
// must not exist yet, opening a log without following a link, flushing to disk, replacing a file
// by another in one step, and making a folder private to the user. Everything else about files
// goes through std::filesystem. All paths are std::filesystem::path; reasons come back as short
// texts for the user (the system's own message), the empty string meaning success.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

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

    // Opens path for writing from its start, creating it or emptying it, but only when it is (or
    // becomes) an ordinary file of this user reached without a symbolic link.
    std::string OpenNoFollow(const fs::path& path);

    bool IsOpen() const { return handle_ != kNone; }
    std::string Write(std::string_view bytes);
    std::string Sync();  // the written bytes are on the disk when this returns ""
    // POSIX: gives the file these permission bits and, as far as the system lets this user, this
    // owner and group. Windows: nothing (the file takes the folder's access rules).
    void SetIdentity(unsigned mode, std::int64_t owner, std::int64_t group);
    std::string Close();

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;
};

// Reads a whole file, links followed, into bytes. A name that is missing or is not an ordinary
// file (a folder, a FIFO, a device) is Missing, and opening it never waits; a file larger than
// limit, or one that grows past it while it is read, is TooBig and is not read on.
enum class ReadResult { Read, Missing, TooBig, CannotOpen, ReadFailed };
ReadResult ReadWhole(const fs::path& path, std::uintmax_t limit, std::string& bytes);

// What a save needs to know about an existing target (after following links).
struct Facts {
    bool exists = false;
    bool regular = false;
    bool folder = false;
    unsigned mode = 0;        // permission bits (POSIX)
    std::int64_t owner = -1;  // user and group ids (POSIX)
    std::int64_t group = -1;
};
Facts Inspect(const fs::path& path);

// Whether this user may write the existing file, as the system decides it (access rights, a
// read-only file system or attribute), not by looking at the owner's permission bit.
bool MayWrite(const fs::path& path);

// Puts from in place of to in one step: to is either the old file or the new one, never missing
// and never partial. The data of from must already be on disk (OutFile::Sync).
std::string Replace(const fs::path& from, const fs::path& to);

// Makes a rename in folder durable (POSIX: fsync of the folder). Best effort.
void SyncFolder(const fs::path& folder);

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
