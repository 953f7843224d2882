// tarvisk-cli get and set: the editor's values and its line-by-line Save from the command line.
//
//   tarvisk-cli get [--logs] FILE KEY...                        one line per key: KEY = value
//   tarvisk-cli set [--logs] [--dry-run] [--output OUT] KEY=VALUE... -- FILE...
//
// The logs are written only with --logs (main.cpp takes it out; logFolder is then not empty).
//
// KEY is an entry's name as scripts write it (buildCost, displayedName, upLOD), in any case, or a
// document field's name (iBuildCost). Exit codes as for normalize: 0 done, 1 a file does not
// exist, 2 anything else (an unknown key or a value that does not convert: nothing is written).
#pragma once

#include <string>

int GetCommand(int argc, char** argv, const std::string& logFolder);
int SetCommand(int argc, char** argv, const std::string& logFolder);
