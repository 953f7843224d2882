// Replacing a file's whole contents so that the file on disk is always either the old one or the
// complete new one. Every save goes through here: Save As, Save and the command-line tool.
#pragma once

#include <string>
#include <string_view>

#include "result.h"

// Writes bytes to the file at target (a UTF-8 path), replacing it only once everything has been
// written and flushed to disk. On failure the reason is a short text for the user ("it is a
// folder", "the file is read-only", ...) and the old file is left as it was. The new contents go to
// a temporary file of an unpredictable name beside the file, created afresh by each save, which
// then takes the file's place in one step. A target that is a link stays a link: the file it leads
// to is replaced, unless another user planted the link in a shared sticky folder such as /tmp. The
// file keeps its owner, group, permission bits and extended attributes, or the save fails and says
// which could not be kept. A file with other names (hard links) is refused: they would keep the old
// contents. A save ended by SIGTERM or SIGINT removes its temporary file; one that could not
// (SIGKILL) leaves it to the next save of the same file, which removes this user's temporary files
// of that file older than a minute.
Result SafeWriteFile(const std::string& target, std::string_view bytes);

// For tests: called with the temporary file's path once it is complete and on disk, just before it
// takes the target's place. Null (the default) for none.
using SafeWriteHook = void (*)(const std::string& tempPath);
void SetSafeWriteHookForTesting(SafeWriteHook hook);
