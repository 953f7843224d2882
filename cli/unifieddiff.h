// A unified diff of two texts, line by line, as `diff -u` prints it: what `set --dry-run` shows.
#pragma once

#include <string>
#include <string_view>

// The diff of `before` and `after` under the headers "--- name" and "+++ name", with three lines
// of context; the empty string when the texts are equal. Lines are compared with their own line
// ends; a last line without one is followed by "\ No newline at end of file". The common
// beginning and end are cut off first, so a few changes in a long file cost little.
std::string UnifiedDiff(const std::string& name, std::string_view before, std::string_view after);
