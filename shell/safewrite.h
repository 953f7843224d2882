// Replacing a file's whole contents so that the file on disk is always either the old one or the
// complete new one. Every save goes through here: Save As, Save and the command-line tool.
#pragma once

#include <string>
#include <string_view>

// Writes bytes to the file at target (a UTF-8 path), replacing it only once everything has been
// written. Returns the empty string on success, otherwise a short reason for the user ("it is a
// folder", "the file is read-only", ...); on failure the old file is left as it was.
std::string SafeWriteFile(const std::string& target, std::string_view bytes);
