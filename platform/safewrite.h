// Replacing a file's whole contents so that the file on disk is always either the old one or the
// complete new one. Every save goes through here: Save As, Save and the command-line tool.
#pragma once

#include <string>
#include <string_view>

// Writes bytes to the file at target (a UTF-8 path), replacing it only once everything has been
// written and flushed to disk. Returns the empty string on success, otherwise a short reason for
// the user ("it is a folder", "the file is read-only", ...); on failure the old file is left as it
// was. The new contents go to a temporary file of an unpredictable name beside the file, created
// afresh by each save, which then takes the file's place in one step. A target that is a link
// stays a link: the file it leads to is replaced. The file keeps its permission bits.
std::string SafeWriteFile(const std::string& target, std::string_view bytes);

// For tests: called with the temporary file's path once it is complete and on disk, just before it
// takes the target's place. Null (the default) for none.
using SafeWriteHook = void (*)(const std::string& tempPath);
void SetSafeWriteHookForTesting(SafeWriteHook hook);
