// tarvisk-cli: the editor's reader and writer from the command line, for batch work on mods.
//
//   tarvisk-cli normalize IN OUT   read IN as the editor's Open does, write OUT as Save As does
//   tarvisk-cli check [--data DIR]... [--format text|json|sarif|github] PATH...
//                                  read each script (folders: every *.ship under them) and report
//                                  the lines that could not be read and, with --data, the names
//                                  the game's data directory does not know (check.cpp)
//   tarvisk-cli get / set          values by entry name, saved as the editor's Save (getset.h)
//   tarvisk-cli table / apply      a whole mod's values as one table, and the table's edits set
//                                  as set sets them (table.h)
//
// Exit codes: 0 success, 1 a file does not exist, 2 any other failure, 3 (check) a file had errors
// or unknown names.
#include <iostream>
#include <string>
#include <vector>

#include "check.h"
#include "getset.h"
#include "logfolder.h"
#include "openscript.h"
#include "platform.h"
#include "sr2shipfile.h"
#include "table.h"

namespace {

int Read(SR2ShipFile& doc, const std::string& path, const std::string& logs) {
    doc.SetLogFolder(logs);
    return ReportRead(doc.OpenShipFile(AbsolutePath(path)), doc, path);
}

int Normalize(const std::string& in, const std::string& out, const std::string& logs) {
    SR2ShipFile doc;
    if (int rc = Read(doc, in, logs)) return rc;
    ReportErrorLines(doc, in, "are written back unchanged");
    Result r = doc.WriteShipFile(out);
    if (!r) {
        std::cerr << "tarvisk-cli: '" << out << "' could not be saved: " << r.reason << ".\n";
        return 2;
    }
    return 0;
}

void Usage() {
    std::cerr << "usage: tarvisk-cli normalize IN OUT\n"
                 "       " << kCheckUsage << "\n"
                 "       tarvisk-cli get FILE KEY...\n"
                 "       tarvisk-cli set [--dry-run] [--output OUT] KEY=VALUE... -- FILE...\n"
                 "       " << kTableUsage << "\n"
                 "       " << kApplyUsage << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    Utf8Arguments utf8(argc, argv);
    argc = utf8.argc();
    argv = utf8.argv();
    // The logs go beside the program, as the editor's do.
    const std::string logs = LogFolderFor(ProgramFolder(argv[0]));
    const std::string cmd = argc > 1 ? argv[1] : "";
    if (cmd == "normalize" && argc == 4) return Normalize(argv[2], argv[3], logs);
    if (cmd == "check" && argc >= 3)
        return RunCheck(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    if (cmd == "get") return GetCommand(argc, argv, logs);
    if (cmd == "set") return SetCommand(argc, argv, logs);
    if (cmd == "table" || cmd == "apply") {
        const std::vector<std::string> args(argv + 2, argv + argc);
        return cmd == "table" ? TableCommand(args, std::cout, std::cerr) : ApplyCommand(args, std::cout, std::cerr);
    }
    Usage();
    return 2;
}
