#include "safewrite.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "platformfile.h"
#include "u8path.h"

namespace fs = std::filesystem;

namespace {

std::atomic<SafeWriteHook> testHook{nullptr};

// The file a chain of links ends at (which need not exist yet); the path itself when it is no link.
bool FollowLinks(fs::path& p, std::string& why) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec))) return true;
        if (!platformfile::LinkMayBeFollowed(p, why)) return false;
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) {
            why = "the link cannot be followed (" + ec.message() + ")";
            return false;
        }
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    why = "the link leads round in a circle";
    return false;
}

// A save that was killed (SIGKILL, a power cut) leaves its temporary file behind. The next save
// of the same file removes those of this user whose name has the pattern of its own temporary
// files and that have not changed for a minute: no save still running writes to one that long
// before its rename.
void RemoveStaleTemporaryFiles(const fs::path& folder, const std::string& base) {
    const std::string prefix = "." + base + ".", suffix = ".tarvisk-tmp";
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = U8String(it->path().filename());
        if (name.size() != prefix.size() + 16 + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const std::string token = name.substr(prefix.size(), 16);
        if (token.find_first_not_of("0123456789abcdef") != std::string::npos) continue;
        std::error_code timeError;
        const auto changed = fs::last_write_time(it->path(), timeError);
        if (timeError || now - changed < std::chrono::minutes(1) || !platformfile::IsOwnFile(it->path())) continue;
        std::error_code removeError;
        fs::remove(it->path(), removeError);
    }
}

// The save itself: the empty string when done, else why not.
std::string WriteAndReplace(const std::string& FileName, std::string_view text) {
    if (FileName.empty()) return "no file name was given";
    fs::path target = U8Path(FileName);
    std::string why;
    if (!FollowLinks(target, why)) return why;

    const platformfile::Facts facts = platformfile::Inspect(target);
    if (facts.exists) {
        if (facts.folder) return "it is a folder";
        if (!facts.regular) return "it is not an ordinary file";
        if (!platformfile::MayWrite(target)) return "the file is read-only";
        // The new file takes the old one's place under this one name; its other names would go
        // on showing the old contents, so such a file is not saved over.
        if (facts.names > 1)
            return "it has " + std::to_string(facts.names - 1) +
                   " other name(s) (hard links), which would keep the old contents";
    }

    // The new contents go to a file of their own beside the target, under a name nobody can guess
    // and that nothing may occupy yet, so a link planted in the folder is never written through
    // and two saves never share one. The name does not end in .ship, so a temporary file left by a
    // save that was killed is never taken for a script. An existing file's bits are only applied
    // once the file is complete; until then it is readable by this user alone.
    const fs::path folder = target.parent_path();
    // The target's name, shortened so that the temporary name stays within the 255 bytes a name
    // may have (cut where a UTF-8 character begins).
    std::string base = U8String(target.filename());
    if (base.size() > 100) {
        std::size_t cut = 100;
        while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80) --cut;
        base.resize(cut);
    }
    RemoveStaleTemporaryFiles(folder, base);
    platformfile::OutFile out;
    fs::path temp;
    for (int attempt = 0; attempt < 8; ++attempt) {
        temp = folder / U8Path("." + base + "." + platformfile::RandomToken() + ".tarvisk-tmp");
        why = out.CreateNew(temp, facts.exists ? 0600 : 0666);
        if (why.empty()) break;
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(temp, ec))) break;  // not a clash of names: give up
    }
    if (!out.IsOpen()) {
        std::error_code ec;
        if (!fs::is_directory(folder.empty() ? fs::path(".") : folder, ec)) return "the folder does not exist";
        // Even a file this user may write is not saved in a folder that cannot take the new file
        // beside it: written in place, a failure half way would leave half a script.
        return "the folder cannot be written to (" + why + ")";
    }
    const platformfile::RemoveOnSignal removeOnSignal(temp);

    auto fail = [&](const std::string& reason) {
        out.Close();
        std::error_code ec;
        fs::remove(temp, ec);
        return reason;
    };
    if (std::string e = out.Write(text); !e.empty()) return fail("writing failed (" + e + ")");
    // The file keeps who owns it, its permissions and its extended attributes, or is not saved:
    // a save never changes them silently.
    if (facts.exists) {
        if (std::string e = out.SetIdentity(facts.mode, facts.owner, facts.group); !e.empty()) return fail(e);
        if (std::string e = out.CopyAttributesFrom(target); !e.empty()) return fail(e);
    }
    if (std::string e = out.Sync(); !e.empty()) return fail("writing failed (" + e + ")");
    if (std::string e = out.Close(); !e.empty()) return fail("writing failed (" + e + ")");

    if (SafeWriteHook hook = testHook) hook(U8String(temp));
    if (std::string e = platformfile::Replace(temp, target); !e.empty())
        return fail("the file could not be replaced (" + e + ")");
    platformfile::SyncFolder(folder);
    return {};
}

}  // namespace

void SetSafeWriteHookForTesting(SafeWriteHook hook) { testHook = hook; }

Result SafeWriteFile(const std::string& target, std::string_view bytes) {
    return Result::FromReason(WriteAndReplace(target, bytes));
}
