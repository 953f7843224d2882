// Reads arbitrary bytes as a ship script, sets a few entries, saves with the save that keeps the
// file's own lines, and reads the saved file again: the edited entries must hold their new values
// and every other entry what the first read gave. An unedited document must save the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "shiplayout.h"
#include "othervalue.h"
#include "shipdocument.h"

namespace fs = std::filesystem;

namespace {

const fs::path& WorkDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("tarvisk-layout-fuzz-" + std::to_string(std::rand()));
        fs::create_directories(d / "again");
        return d;
    }();
    return dir;
}

void WriteFile(const fs::path& p, const std::string& bytes) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}


// Level-of-detail slots fill in order when read: a value after an empty slot has no script form.
bool LodRepresentable(const SR2ShipFile& d) {
    for (const char* entry : {"iUpLOD", "iDownLOD"}) {
        bool empty = false;
        for (int s = 0; s < 3; ++s) {
            const bool zero = std::get<std::int32_t>(d.GetField(entry + std::to_string(s))) == 0;
            if (empty && !zero) return false;
            empty = empty || zero;
        }
    }
    return true;
}

[[noreturn]] void Fail(const char* what, const std::string& saved) {
    std::fprintf(stderr, "%s\n--- saved:\n%s\n", what, saved.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const fs::path in = WorkDir() / "fuzz.ship", again = WorkDir() / "again" / "fuzz.ship";
    WriteFile(in, bytes);

    SR2ShipFile ship;
    ship.SetLogFolder(WorkDir().string());
    ShipDocument doc(ship);
    if (doc.Open(in.string()) != 0) {
        if (!ship.NotTextReason().empty()) return 0;  // refused as no text script: nothing to edit
        std::abort();
    }
    if (doc.SaveBytes() != bytes) Fail("an unedited document did not save its own bytes", doc.SaveBytes());
    const bool lodBefore = LodRepresentable(ship);

    // The last bytes choose up to four fields to edit, so the script text still leads the search.
    const auto& fields = SR2ShipFile::Fields();
    for (std::size_t i = 0; i < 4 && i < size; ++i) {
        const std::size_t pick = (data[size - 1 - i] * 257u + i * 31u) % fields.size();
        ship.SetField(fields[pick].name, OtherValue(ship.GetField(fields[pick].name)));
    }
    if (size > 0 && data[0] % 3 == 0) ship.SSWC_AddItem("fz_gun", "fz_hp", "fz_fx");
    if (size > 0 && data[0] % 5 == 0 && ship.SSWC_Num >= 0) ship.SSWC_RemoveItem(0);
    if (size > 0 && data[0] % 7 == 0) ship.MAM_AddValue("FzManoeuvre");
    // A state the script cannot say is not the save's to keep.
    if (!lodBefore || !LodRepresentable(ship)) return 0;

    // An edit the save refuses (an entry set last inside a block) must leave the file as it stands.
    if (!doc.EditRefusal().empty()) {
        if (doc.SaveBytes() != bytes) Fail("a refused edit changed the bytes", doc.SaveBytes());
        return 0;
    }
    const std::string saved = doc.SaveBytes();
    WriteFile(again, saved);
    SR2ShipFile back;
    back.SetLogFolder(WorkDir().string());
    if (back.OpenShipFile(again.string()) != 0) std::abort();
    if (!ShipLayout::SameContent(back, ship)) {
        // Both readings in the canonical layout, for a diff of what moved.
        WriteFile(WorkDir() / "expected.ship", ship.ScriptText());
        WriteFile(WorkDir() / "read-back.ship", back.ScriptText());
        std::fprintf(stderr, "canonical forms in %s\n", WorkDir().string().c_str());
        Fail("the saved file reads back differently", saved);
    }
    return 0;
}
