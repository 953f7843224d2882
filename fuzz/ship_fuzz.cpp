// Reads arbitrary bytes as a ship script, writes it, reads the written file and writes it again:
// the two written files must be identical (normalizing is idempotent), and nothing may crash.
#include <optional>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "sr2shipfile.h"
#include "u8path.h"

namespace fs = std::filesystem;

namespace {

const fs::path& WorkDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("tarvisk-fuzz-" + std::to_string(std::rand()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Written with a plain stream: the safe save flushes every file to disk, which would spend the
// fuzzer's minute waiting for the disc; saving has tests of its own.
// Empty when the bytes are refused as no text script (compiled, UTF-16, NUL bytes): nothing to
// normalize then, and any other refusal is a fault.
std::optional<std::string> Normalize(const fs::path& in, const fs::path& out) {
    SR2ShipFile doc;
    doc.SetLogFolder(U8String(WorkDir()));
    if (doc.OpenShipFile(U8String(in)) != 0) {
        if (!doc.NotTextReason().empty()) return std::nullopt;
        std::abort();
    }
    const std::string text = doc.ScriptText();
    std::ofstream(out, std::ios::binary | std::ios::trunc) << text;
    if (Slurp(out) != text) std::abort();
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path in = WorkDir() / "in.ship", once = WorkDir() / "once.ship",
                   twice = WorkDir() / "twice.ship";
    {
        std::ofstream f(in, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::optional<std::string> first = Normalize(in, once);
    if (!first) return 0;
    const std::optional<std::string> second = Normalize(once, twice);
    if (first != second) {
        std::fprintf(stderr, "normalizing the written file changed it\n");
        std::abort();
    }
    return 0;
}
