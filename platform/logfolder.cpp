#include "logfolder.h"

#include "platform.h"

std::string LogFolderFor(const std::string& programFolder) {
    if (IsSystemProgramFolder(programFolder)) return UserStateFolder();
    return programFolder;
}
