#include "tools/skinpack/Platform.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "core/AsciiCase.h"

std::optional<std::string> ArchiveNameOf(const std::filesystem::path& fileName) {
    const std::wstring& wide = fileName.native();
    if (wide.empty()) return std::string();
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                      static_cast<int>(wide.size()), nullptr, 0, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                        out.data(), n, nullptr, &usedDefault);
    if (usedDefault) return std::nullopt;
    return out;
}

std::optional<std::filesystem::path> PathOfArchiveName(const std::string& name) {
    if (name.empty()) return std::filesystem::path();
    const int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name.data(),
                                      static_cast<int>(name.size()), nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()),
                        wide.data(), n);
    return std::filesystem::path(wide);
}

bool SystemRefusesFileName(const std::string& name) {
    if (name.find_first_of("<>\"|?*") != std::string::npos) return true;
    // The file system drops a trailing dot or blank: "a." would become "a".
    if (!name.empty() && (name.back() == '.' || name.back() == ' ')) return true;
    // Device names open the device, whatever the extension ("con.bmp").
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    base = AsciiLower(base);
    if (base == "con" || base == "prn" || base == "aux" || base == "nul" || base == "conin$" ||
        base == "conout$")
        return true;
    return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) &&
           base[3] >= '0' && base[3] <= '9';
}

void SetStdoutBinary() {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
}
