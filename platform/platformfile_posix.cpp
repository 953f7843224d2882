#include "platformfile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif

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

std::string OutFile::OpenNoFollow(const fs::path& path, bool append) {
    Close();
    // O_NONBLOCK: a FIFO planted under the log's name must not hold the program up.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | (append ? O_APPEND : 0),
                          0644);
    if (fd < 0) return ErrnoText(errno);
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid() || st.st_nlink != 1) {
        ::close(fd);
        return "it is not an ordinary file of this user";
    }
    if (!append && ftruncate(fd, 0) != 0) {
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

std::string OutFile::SetIdentity(unsigned mode, std::int64_t owner, std::int64_t group) {
    // Owner first: changing it clears the set-id bits, which the mode then puts back. Only root
    // may give a file away; anyone else keeps another user's file only by not saving it.
    const int fd = static_cast<int>(handle_);
    struct stat st;
    if (fstat(fd, &st) != 0) return ErrnoText(errno);
    if (owner >= 0 && group >= 0 && (st.st_uid != static_cast<uid_t>(owner) || st.st_gid != static_cast<gid_t>(group)) &&
        fchown(fd, static_cast<uid_t>(owner), static_cast<gid_t>(group)) != 0) {
        const int e = errno;
        return st.st_uid != static_cast<uid_t>(owner) ? "its owner could not be kept (" + ErrnoText(e) + ")"
                                                      : "its group could not be kept (" + ErrnoText(e) + ")";
    }
    if (fchmod(fd, static_cast<mode_t>(mode & 07777)) != 0)
        return "its permissions could not be kept (" + ErrnoText(errno) + ")";
    return {};
}

std::string OutFile::CopyAttributesFrom(const fs::path& from) {
#ifdef __linux__
    const int fd = static_cast<int>(handle_);
    std::string names(256, '\0');
    ssize_t n;
    while ((n = listxattr(from.c_str(), names.data(), names.size())) < 0 && errno == ERANGE)
        names.resize(names.size() * 4);
    if (n < 0) return errno == ENOTSUP ? std::string() : ErrnoText(errno);
    names.resize(static_cast<std::size_t>(n));
    std::string value;
    for (std::size_t at = 0; at < names.size();) {
        const std::string name = names.c_str() + at;
        at += name.size() + 1;
        value.resize(256);
        ssize_t v;
        while ((v = getxattr(from.c_str(), name.c_str(), value.data(), value.size())) < 0 && errno == ERANGE)
            value.resize(value.size() * 4);
        if (v < 0) return "its attribute " + name + " could not be read (" + ErrnoText(errno) + ")";
        if (fsetxattr(fd, name.c_str(), value.data(), static_cast<std::size_t>(v), 0) != 0)
            return "its attribute " + name + " could not be kept (" + ErrnoText(errno) + ")";
    }
#else
    (void)from;
#endif
    return {};
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
    f.names = st.st_nlink;
    return f;
}

bool LinkMayBeFollowed(const fs::path& link, std::string& why) {
    struct stat linkStat, folderStat;
    if (::lstat(link.c_str(), &linkStat) != 0 || !S_ISLNK(linkStat.st_mode)) return true;
    const fs::path folder = link.parent_path().empty() ? fs::path(".") : link.parent_path();
    if (::stat(folder.c_str(), &folderStat) != 0) return true;
    const bool shared = (folderStat.st_mode & S_ISVTX) && (folderStat.st_mode & S_IWOTH);
    if (!shared || linkStat.st_uid == geteuid() || linkStat.st_uid == folderStat.st_uid) return true;
    why = "it is a link that another user made in a shared folder, and it is not followed";
    return false;
}

bool IsOwnFile(const fs::path& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid();
}

namespace {

// The files to remove on a signal, in memory a signal handler may read: fixed slots, each
// claimed by setting its flag once its path is in place.
constexpr int kSlots = 8;
struct Slot {
    std::atomic<bool> claimed{false};  // taken by a guard
    std::atomic<bool> used{false};     // its path is whole and to be removed
    char path[4096];
};
Slot slots[kSlots];
struct sigaction previous[2];
std::atomic<int> guards{0};
constexpr int kSignals[2] = {SIGTERM, SIGINT};

extern "C" void RemoveAndResignal(int sig) {
    for (Slot& s : slots)
        if (s.used.load()) ::unlink(s.path);
    for (int i = 0; i < 2; ++i)
        if (kSignals[i] == sig) sigaction(sig, &previous[i], nullptr);
    raise(sig);
}

}  // namespace

RemoveOnSignal::RemoveOnSignal(const fs::path& path) {
    const std::string& p = path.native();
    if (p.size() >= sizeof slots[0].path) return;
    for (int i = 0; i < kSlots; ++i) {
        bool expected = false;
        // Claimed first, filled, then published: used stays false until the path is whole.
        if (!slots[i].claimed.compare_exchange_strong(expected, true)) continue;
        p.copy(slots[i].path, p.size());
        slots[i].path[p.size()] = '\0';
        slots[i].used.store(true);
        slot_ = i;
        break;
    }
    if (slot_ < 0) return;
    if (guards.fetch_add(1) == 0) {
        struct sigaction sa {};
        sa.sa_handler = RemoveAndResignal;
        sigemptyset(&sa.sa_mask);
        for (int i = 0; i < 2; ++i) sigaction(kSignals[i], &sa, &previous[i]);
    }
}

RemoveOnSignal::~RemoveOnSignal() {
    if (slot_ < 0) return;
    if (guards.fetch_sub(1) == 1)
        for (int i = 0; i < 2; ++i) sigaction(kSignals[i], &previous[i], nullptr);
    slots[slot_].used.store(false);
    slots[slot_].claimed.store(false);
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

ReadResult ReadWhole(const fs::path& path, std::uintmax_t limit, std::string& bytes, std::string& why) {
    bytes.clear();
    why.clear();
    // O_NONBLOCK: a FIFO under the name must not hold the program up; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int e = errno;
        if (e == ENOENT) return ReadResult::Missing;
        why = ErrnoText(e);  // "Not a directory", "Too many levels of symbolic links", ...
        return ReadResult::CannotOpen;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        why = S_ISDIR(st.st_mode)                         ? "it is a folder"
              : S_ISFIFO(st.st_mode)                      ? "it is a FIFO"
              : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? "it is a device"
              : S_ISSOCK(st.st_mode)                      ? "it is a socket"
                                                          : "it is not an ordinary file";
        ::close(fd);
        return ReadResult::NotAFile;
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
            why = ErrnoText(errno);
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

const bool kFileLocksHold = true;

Result FileLock::Acquire(const fs::path& path) {
    Release();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) return Result::Failure(ErrnoText(errno));
        while (::flock(fd, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            ::close(fd);
            return Result::Failure(ErrnoText(e));
        }
        // The holder before us may have replaced the file: our lock is then on the old one.
        struct stat held, now;
        if (fstat(fd, &held) == 0 && ::stat(path.c_str(), &now) == 0 && held.st_dev == now.st_dev &&
            held.st_ino == now.st_ino) {
            handle_ = fd;
            return {};
        }
        ::close(fd);
    }
    return Result::Failure("the file keeps being replaced");
}

void FileLock::Release() {
    if (handle_ == kNone) return;
    ::close(static_cast<int>(handle_));  // closing drops the lock
    handle_ = kNone;
}

}  // namespace platformfile
