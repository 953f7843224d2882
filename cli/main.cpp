// tarvisk-cli: the editor's reader and writer from the command line, for batch work on mods.
//
//   tarvisk-cli normalize [--logs] IN OUT
//                                  read IN as the editor's Open does, write OUT as Save As does
//   tarvisk-cli check [--data DIR]... [--format text|json|sarif|github] PATH...
//                                  read each script (folders: every *.ship under them) and report
//                                  the lines that could not be read and, with --data, the names
//                                  the game's data directory does not know (check.cpp)
//   tarvisk-cli get / set          values by entry name, saved as the editor's Save (getset.h)
//   tarvisk-cli eval [--format text|json] FILE...
//                                  the ship as the game reads it, from Lua (eval.h)
//   tarvisk-cli --version          the version and the features built in
//   tarvisk-cli table / apply      a whole mod's values as one table, and the table's edits set
//                                  as set sets them (table.h)
//
// Exit codes: 0 success, 1 a file does not exist, 2 any other failure, 3 (check) an error or a
// warning found (notes alone fail no run).
#include <algorithm>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "check.h"
#include "eval.h"
#include "gamelua.h"
#include "getset.h"
#include "logfolder.h"
#include "openscript.h"
#include "platform.h"
#include "shipdocument.h"
#include "sr2shipfile.h"
#include "table.h"

namespace {

int Read(SR2ShipFile& doc, const std::string& path, const std::string& logs, std::string* bytes) {
    doc.SetLogFolder(logs);
    doc.SetWriteLogs(!logs.empty());
    return ReportRead(doc.OpenShipFile(AbsolutePath(path), bytes), doc, path);
}

int Normalize(const std::string& in, const std::string& out, const std::string& logs) {
    SR2ShipFile doc;
    std::string bytes;
    if (int rc = Read(doc, in, logs, &bytes)) return rc;
    ReportErrorLines(doc, in, "are written back unchanged");
    Result r = VerifySave(bytes, doc.ScriptText(), doc, doc);
    if (r) r = doc.WriteShipFile(out);
    if (!r) {
        std::cerr << "tarvisk-cli: '" << out << "' could not be saved: " << r.reason << ".\n";
        return 2;
    }
    return 0;
}

void Usage() {
    std::cerr << "usage: tarvisk-cli normalize [--logs] IN OUT\n"
                 "       " << kCheckUsage << "\n"
                 "       " << kEvalUsage << "\n"
                 "       tarvisk-cli get [--logs] FILE KEY...\n"
                 "       tarvisk-cli set [--logs] [--dry-run] [--output OUT] KEY=VALUE... -- FILE...\n"
                 "       " << kTableUsage << "\n"
                 "       " << kApplyUsage << "\n"
                 "       tarvisk-cli --version\n";
}

int Version() {
    std::cout << "tarvisk-cli " << TARVISK_VERSION << '\n';
    if (gamelua::Available())
        std::cout << "features: lua\n";
    else
        std::cout << "features: none (built without Lua: no eval, no syntax errors from Lua in check, "
                     "no verification of saves)\n";
    return 0;
}

int Run(int argc, char** argv) {
    Utf8Arguments utf8(argc, argv);
    argc = utf8.argc();
    argv = utf8.argv();
    const std::string cmd = argc > 1 ? argv[1] : "";
    // The logs beside the program are the editor's, recreated by each Open: a batch run writes
    // them only when asked (--logs, among the options before any "--"), so that it does not
    // replace the list the editor's message points to.
    std::string logs;
    if (cmd == "normalize" || cmd == "get" || cmd == "set") {
        for (int i = 2; i < argc && std::string(argv[i]) != "--"; ++i) {
            if (std::string(argv[i]) != "--logs") continue;
            logs = LogFolderFor(ProgramFolder(argv[0]));
            if (logs.empty()) logs.push_back('.');  // (not = ".": GCC 12 warns of a false overlap there)
            std::copy(argv + i + 1, argv + argc, argv + i);
            --argc;
            break;
        }
    }
    if (cmd == "normalize" && argc == 4) return Normalize(argv[2], argv[3], logs);
    if (cmd == "check" && argc >= 3)
        return RunCheck(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    if (cmd == "--version" && argc == 2) return Version();
    if (cmd == "eval")
        return RunEval(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    if (cmd == "get") return GetCommand(argc, argv, logs);
    if (cmd == "set") return SetCommand(argc, argv, logs);
    if (cmd == "table" || cmd == "apply") {
        const std::vector<std::string> args(argv + 2, argv + argc);
        return cmd == "table" ? TableCommand(args, std::cout, std::cerr) : ApplyCommand(args, std::cout, std::cerr);
    }
    Usage();
    return 2;
}

}  // namespace

// Whatever a script or a data file holds, no command ends in an abort: when the memory runs out
// (a huge file under a memory cap), the command says so and fails like any other.
int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::cerr << "tarvisk-cli: the input is too large for the memory available.\n";
        return 2;
    }
}
