#include "openscript.h"

#include <filesystem>
#include <iostream>

#include "u8path.h"

namespace fs = std::filesystem;

std::string AbsolutePath(const std::string& path) {
    // Not normalized by its text: "d/../x.ship" is where the system says, which differs from
    // "x.ship" when d is a link; only the system's own walk of the path gets that right.
    std::error_code ec;
    fs::path a = fs::absolute(U8Path(path), ec);
    return ec ? path : U8String(a);
}

int ReportRead(int rc, const SR2ShipFile& doc, const std::string& path) {
    switch (rc) {
        case 0: break;
        case 1: std::cerr << "tarvisk-cli: '" << path << "' does not exist.\n"; break;
        default:
            if (!doc.NotTextReason().empty()) {
                std::cerr << "tarvisk-cli: '" << path << "' " << doc.NotTextReason() << ".\n";
                break;
            }
            std::cerr << "tarvisk-cli: '" << path << "' could not be read"
                      << (doc.OpenFailure().empty() ? "" : ": " + doc.OpenFailure()) << ".\n";
            break;
    }
    return rc;
}

void ReportErrorLines(const SR2ShipFile& doc, const std::string& path, const char* fate) {
    if (doc.ErrorCount() == 0) return;
    std::cerr << "tarvisk-cli: " << doc.ErrorCount() << " line(s) of '" << path << "' could not be read; "
              << (!doc.WritesLogs()               ? std::string("they (listed in the logs with --logs)")
                  : doc.ErrorLogPath().empty() ? std::string("the logs could not be written, and they")
                                               : "they are listed in '" + doc.ErrorLogPath() + "' and")
              << " " << fate << ".\n";
}
