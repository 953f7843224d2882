// Arbitrary bytes as a script for the sandboxed Lua: whatever they hold, the run ends (by its
// own end, an error or a limit) without crashing, the load check agrees with the run on whether
// the script loads, the check that asks Lua only about the lines it cannot vouch for agrees with
// Lua on the whole script, and a save that changes nothing passes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "gamelua.h"
#include "savecheck.h"
#include "statements.h"
#include "vouch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view script(reinterpret_cast<const char*>(data), size);
    gamelua::Limits limits;
    limits.instructions = 50'000;    // a run of the fuzzer's many must stay short
    limits.memoryBytes = 8u << 20;
    const gamelua::Reading r = gamelua::Read(script, limits);
    const gamelua::LoadCheck whole = gamelua::CheckLoad(script);
    if (r.load.loads != whole.loads) std::abort();
    const gamelua::LoadCheck vouched = gamelua::CheckLoadVouched(script, statements::Lines(script));
    if (vouched.loads != whole.loads || vouched.line != whole.line || vouched.message != whole.message) std::abort();
    if (r.load.loads && !r.finished && r.error.empty()) std::abort();
    for (const auto& [key, value] : r.keys)
        if (key.empty() || value.text.empty()) std::abort();
    for (const auto& call : r.calls)
        if (gamelua::CallText(call).empty()) std::abort();
    if (!gamelua::FirstChange({script, script, {}, {}}, limits).empty()) std::abort();
    return 0;
}
