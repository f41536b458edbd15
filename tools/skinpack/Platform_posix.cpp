#include "tools/skinpack/Platform.h"

std::optional<std::string> ArchiveNameOf(const std::filesystem::path& fileName) {
    return fileName.native();
}

std::optional<std::filesystem::path> PathOfArchiveName(const std::string& name) {
    return std::filesystem::path(name);
}

bool SystemRefusesFileName(const std::string&) { return false; }

void SetStdoutBinary() {}
