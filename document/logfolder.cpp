#include "logfolder.h"

#include "sr2shipfile.h"

std::string LogFolderFor(const std::string& programFolder) {
#ifndef _WIN32
    if (programFolder == "/usr" || programFolder.rfind("/usr/", 0) == 0)
        return SR2ShipFile::FallbackLogFolder();
#endif
    return programFolder;
}
