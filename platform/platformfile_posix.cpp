#include "platformfile.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platformfile {

namespace {

std::string ErrnoText(int e) { return std::generic_category().message(e); }

}  // namespace

std::string OutFile::CreateNew(const fs::path& path, unsigned mode) {
    Close();
    // O_EXCL with O_CREAT never follows a link and fails on any name that exists.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          static_cast<mode_t>(mode));
    if (fd < 0) return ErrnoText(errno);
    handle_ = fd;
    return {};
}

std::string OutFile::OpenNoFollow(const fs::path& path) {
    Close();
    // O_NONBLOCK: a FIFO planted under the log's name must not hold the program up.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) return ErrnoText(errno);
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid() || st.st_nlink != 1) {
        ::close(fd);
        return "it is not an ordinary file of this user";
    }
    if (ftruncate(fd, 0) != 0) {
        const int e = errno;
        ::close(fd);
        return ErrnoText(e);
    }
    handle_ = fd;
    return {};
}

std::string OutFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(static_cast<int>(handle_), bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return ErrnoText(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

std::string OutFile::Sync() {
    while (fsync(static_cast<int>(handle_)) != 0)
        if (errno != EINTR) return ErrnoText(errno);
    return {};
}

void OutFile::SetIdentity(unsigned mode, std::int64_t owner, std::int64_t group) {
    // Owner first: changing it clears the set-id bits, which the mode then puts back. Only root
    // may give a file away, so a failure here is normal and harmless.
    if (owner >= 0 && group >= 0 &&
        fchown(static_cast<int>(handle_), static_cast<uid_t>(owner), static_cast<gid_t>(group)) != 0 &&
        fchown(static_cast<int>(handle_), static_cast<uid_t>(-1), static_cast<gid_t>(group)) != 0) {
        // Neither owner nor group could be kept: the file is this user's, as a new file would be.
    }
    (void)!fchmod(static_cast<int>(handle_), static_cast<mode_t>(mode & 07777));
}

std::string OutFile::Close() {
    if (handle_ == kNone) return {};
    const int rc = ::close(static_cast<int>(handle_));
    handle_ = kNone;
    return rc == 0 ? std::string() : ErrnoText(errno);
}

Facts Inspect(const fs::path& path) {
    Facts f;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return f;
    f.exists = true;
    f.regular = S_ISREG(st.st_mode);
    f.folder = S_ISDIR(st.st_mode);
    f.mode = st.st_mode & 07777;
    f.owner = st.st_uid;
    f.group = st.st_gid;
    return f;
}

bool MayWrite(const fs::path& path) {
    return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

std::string Replace(const fs::path& from, const fs::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? std::string() : ErrnoText(errno);
}

void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)!fsync(fd);
    ::close(fd);
}

std::string MakePrivateFolder(const fs::path& folder) {
    std::error_code ec;
    if (folder.has_parent_path()) fs::create_directories(folder.parent_path(), ec);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return ErrnoText(errno);
    struct stat st;
    if (::lstat(folder.c_str(), &st) != 0) return ErrnoText(errno);
    if (S_ISLNK(st.st_mode)) return "it is a link";
    if (!S_ISDIR(st.st_mode)) return "it is not a folder";
    if (st.st_uid != geteuid()) return "it belongs to another user";
    if ((st.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) return ErrnoText(errno);
    return {};
}

ReadResult ReadWhole(const fs::path& path, std::uintmax_t limit, std::string& bytes) {
    bytes.clear();
    // O_NONBLOCK: a FIFO under the name must not hold the program up; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int e = errno;
        return e == ENOENT || e == ENOTDIR || e == ELOOP || e == ENAMETOOLONG ? ReadResult::Missing
                                                                              : ReadResult::CannotOpen;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadResult::Missing;
    }
    if (static_cast<std::uintmax_t>(st.st_size) > limit) {
        ::close(fd);
        return ReadResult::TooBig;
    }
    // One byte more than the size, so that the end is seen by the first read.
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size()) {
            if (have > limit) break;
            bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(2 * have, limit + 1)));
        }
        const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            bytes.clear();
            return ReadResult::ReadFailed;
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(have);
    if (have > limit) {
        bytes.clear();
        return ReadResult::TooBig;
    }
    return ReadResult::Read;
}

std::string EntryName(const fs::directory_entry& entry) {
    const std::string& path = entry.path().native();
    return path.substr(path.rfind('/') + 1);
}

Visibility VisibilityOf(const fs::path&, const std::string& name) {
    return {!name.empty() && name[0] != '.', true};
}

}  // namespace platformfile
