#include "platformfile.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "u8path.h"

namespace platformfile {

namespace {

std::string WinError(DWORD code) { return std::system_category().message(static_cast<int>(code)); }
HANDLE H(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

std::string OutFile::CreateNew(const fs::path& path, unsigned) {
    Close();
    HANDLE h = CreateFileW(path.wstring().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return WinError(GetLastError());
    handle_ = reinterpret_cast<std::intptr_t>(h);
    return {};
}

std::string OutFile::OpenNoFollow(const fs::path& path, bool append) {
    Close();
    // FILE_FLAG_OPEN_REPARSE_POINT opens a link itself instead of what it points to; a link is
    // then refused below.
    HANDLE h = CreateFileW(path.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return WinError(GetLastError());
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info) || GetFileType(h) != FILE_TYPE_DISK ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ||
        info.nNumberOfLinks > 1) {
        CloseHandle(h);
        return "it is not an ordinary file";
    }
    if (append ? SetFilePointer(h, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER : !SetEndOfFile(h)) {
        DWORD e = GetLastError();
        CloseHandle(h);
        return WinError(e);
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    return {};
}

std::string OutFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD done = 0;
        if (!WriteFile(H(handle_), bytes.data(), chunk, &done, nullptr)) return WinError(GetLastError());
        bytes.remove_prefix(done);
    }
    return {};
}

std::string OutFile::Sync() {
    return FlushFileBuffers(H(handle_)) ? std::string() : WinError(GetLastError());
}

std::string OutFile::SetIdentity(unsigned, std::int64_t, std::int64_t) { return {}; }

std::string OutFile::CopyAttributesFrom(const fs::path&) { return {}; }

std::string OutFile::Close() {
    if (handle_ == kNone) return {};
    const bool ok = CloseHandle(H(handle_));
    handle_ = kNone;
    return ok ? std::string() : WinError(GetLastError());
}

Facts Inspect(const fs::path& path) {
    Facts f;
    std::error_code ec;
    const auto st = fs::status(path, ec);
    f.exists = !ec && fs::exists(st);
    f.regular = fs::is_regular_file(st);
    f.folder = fs::is_directory(st);
    return f;
}

bool LinkMayBeFollowed(const fs::path&, std::string&) { return true; }

bool IsOwnFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(fs::symlink_status(path, ec));
}

RemoveOnSignal::RemoveOnSignal(const fs::path&) {}
RemoveOnSignal::~RemoveOnSignal() {}

bool MayWrite(const fs::path& path) {
    // The real open decides: the read-only attribute, access rules and sharing all count.
    HANDLE h = CreateFileW(path.wstring().c_str(), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

std::string Replace(const fs::path& from, const fs::path& to) {
    // A file that another program is reading at that moment (the game, a virus scanner, another
    // save checking its work) cannot be replaced on Windows; such holds are short, so the replace
    // is tried again for about a second before the save is given up.
    DWORD error = 0;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (MoveFileExW(from.wstring().c_str(), to.wstring().c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return {};
        error = GetLastError();
        if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) break;
        Sleep(50);
    }
    return WinError(error);
}

void SyncFolder(const fs::path&) {}  // MOVEFILE_WRITE_THROUGH already waited for the rename

std::string MakePrivateFolder(const fs::path& folder) {
    // The per-user application-data folder is closed to other users already; a folder made in it
    // inherits that.
    std::error_code ec;
    fs::create_directories(folder, ec);
    const DWORD attrs = GetFileAttributesW(folder.wstring().c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return WinError(GetLastError());
    if (attrs & FILE_ATTRIBUTE_REPARSE_POINT) return "it is a link";
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) return "it is not a folder";
    return {};
}

ReadResult ReadWhole(const fs::path& path, std::uintmax_t limit, std::string& bytes, std::string& why) {
    bytes.clear();
    why.clear();
    HANDLE h = CreateFileW(path.wstring().c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            why = "it is a folder";
            return ReadResult::NotAFile;
        }
        if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) return ReadResult::Missing;
        why = WinError(e);
        return ReadResult::CannotOpen;
    }
    LARGE_INTEGER size{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size)) {
        CloseHandle(h);
        why = "it is not an ordinary file";
        return ReadResult::NotAFile;
    }
    if (static_cast<std::uintmax_t>(size.QuadPart) > limit) {
        CloseHandle(h);
        return ReadResult::TooBig;
    }
    // One byte more than the size, so that the end is seen by the first read.
    bytes.resize(static_cast<std::size_t>(size.QuadPart) + 1);
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size()) {
            if (have > limit) break;
            bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(2 * have, limit + 1)));
        }
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - have, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(h, bytes.data() + have, want, &got, nullptr)) {
            why = WinError(GetLastError());
            CloseHandle(h);
            bytes.clear();
            return ReadResult::ReadFailed;
        }
        if (got == 0) break;
        have += got;
    }
    CloseHandle(h);
    bytes.resize(have);
    if (have > limit) {
        bytes.clear();
        return ReadResult::TooBig;
    }
    return ReadResult::Read;
}

std::string EntryName(const fs::directory_entry& entry) { return U8String(entry.path().filename()); }

Visibility VisibilityOf(const fs::path& entry, const std::string&) {
    const DWORD a = GetFileAttributesW(entry.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return {};
    return {(a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0,
            (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE)) != 0};
}


const bool kFileLocksHold = true;

namespace {

// The name of the lock of one file: the file's full path, in one letter case (paths are not case
// sensitive here), hashed, since a mutex name may not hold the path's backslashes. Two paths that
// hash alike only make one program wait for the other.
std::wstring LockName(const fs::path& path) {
    std::error_code ec;
    fs::path full = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec) full = path;
    std::wstring key = full.wstring();
    if (!key.empty()) CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (wchar_t c : key) {
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    }
    wchar_t hex[17];
    for (int i = 15; i >= 0; --i, hash >>= 4) hex[i] = L"0123456789abcdef"[hash & 0xF];
    hex[16] = 0;
    return std::wstring(L"Local\\tarvisk-lock-") + hex;
}

}  // namespace

Result FileLock::Acquire(const fs::path& path) {
    // Windows will not put a new file in the place of one that any handle holds open, so the lock
    // is not taken on the file itself, which the save must replace: it is a mutex of the user's
    // session named after the file's path, which every tarvisk-cli run that edits the file takes
    // before it reads and keeps until it has replaced it. Being named after the path, it is the
    // lock of whatever file stands there, the replaced one included.
    Release();
    HANDLE h = CreateFileW(path.wstring().c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return Result::Failure(WinError(GetLastError()));
    CloseHandle(h);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, LockName(path).c_str());
    if (!mutex) return Result::Failure(WinError(GetLastError()));
    // An abandoned mutex was held by a run that ended without letting go: it is ours now.
    const DWORD waited = WaitForSingleObject(mutex, INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        const DWORD code = GetLastError();
        CloseHandle(mutex);
        return Result::Failure(WinError(code));
    }
    handle_ = reinterpret_cast<std::intptr_t>(mutex);
    return {};
}

void FileLock::Release() {
    if (handle_ == kNone) return;
    ReleaseMutex(H(handle_));
    CloseHandle(H(handle_));
    handle_ = kNone;
}

}  // namespace platformfile
