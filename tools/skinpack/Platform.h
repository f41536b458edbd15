#pragma once
// What skinpack does differently on Windows: names stored in an archive are
// bytes in the ANSI code page there (the skin definition refers to files in
// it), the file name bytes elsewhere.
#include <filesystem>
#include <optional>
#include <string>

// The archive name for a file name; nullopt when it cannot be stored
// (a character outside the ANSI code page).
std::optional<std::string> ArchiveNameOf(const std::filesystem::path& fileName);
// The file name for an archive name; nullopt when it has no such form.
std::optional<std::filesystem::path> PathOfArchiveName(const std::string& name);
// Names the file system refuses beyond the checks every system shares
// (device names and reserved characters on Windows).
bool SystemRefusesFileName(const std::string& name);
// Lets "\n" reach standard output unchanged.
void SetStdoutBinary();
