#include "customfso.h"

#include "filequery.h"

std::string CustomFSO::GetFileName(const std::string& Path, const std::string& Delimiter) const {
    return filequery::FileName(Path, Delimiter);
}

bool CustomFSO::FileExists(const std::string& Path) const { return filequery::FileExists(Path); }

bool CustomFSO::FolderExists(const std::string& Path) const { return filequery::FolderExists(Path); }

std::string CustomFSO::NativePath(const std::string& Path) { return filequery::NativePath(Path); }
