#include "safewrite.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "u8path.h"

namespace fs = std::filesystem;

std::string SafeWriteFile(const std::string& FileName, std::string_view text) {
    if (FileName.empty()) return "no file name was given";
    const fs::path target = U8Path(FileName);
    std::error_code ec;
    if (fs::is_directory(target, ec)) return "it is a folder";
    if (fs::exists(target, ec) &&
        (fs::status(target, ec).permissions() & fs::perms::owner_write) == fs::perms::none)
        return "the file is read-only";

    // Write beside the target and put the new file in its place only when all of it is written,
    // so a failure never leaves a half-written script or destroys the old one.
    fs::path temp = target;
    temp += ".tarvisk-tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return "the folder cannot be written to";
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            return "writing failed (is the disc full?)";
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::string why = ec.message();
        fs::remove(temp, ec);
        return "the file could not be replaced (" + why + ")";
    }
    return {};
}
