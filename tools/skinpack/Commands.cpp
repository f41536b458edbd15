#include "tools/skinpack/Commands.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <iostream>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "skin/data/LZH.h"
#include "skin/data/SkinReader.h"
#include "tools/skinpack/ArchiveWriter.h"
#include "tools/skinpack/LZHEncoder.h"
#include "tools/skinpack/Platform.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr const char* kUsage =
    "usage: skinpack compress IN OUT        raw bytes to a compressed stream\n"
    "       skinpack decompress IN OUT      compressed stream to raw bytes\n"
    "       skinpack pack DIR OUT [NAME...] archive and compress the files of DIR\n"
    "                                       (NAMEs: exactly these, in this order)\n"
    "       skinpack unpack SKIN DIR        write every file of a skin to DIR\n"
    "       skinpack list SKIN              name TAB size, one line per file\n";

// Refused input or a failed file operation: exit code 1.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string Show(const fs::path& p) {
    const std::u8string u8 = p.u8string();
    return std::string(u8.begin(), u8.end());
}

Failure FailOn(const fs::path& p, const std::string& what) { return Failure(Show(p) + ": " + what); }

std::string Quoted(const std::string& name) {
    std::string out = "\"";
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            static const char hex[] = "0123456789abcdef";
            out += "\\x";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

Bytes ReadFile(const fs::path& p) {
    std::error_code ec;
    if (fs::is_directory(p, ec)) throw FailOn(p, "is a folder, not a file");
    std::ifstream in(p, std::ios::binary);
    if (!in) throw FailOn(p, "cannot open for reading");
    Bytes bytes;
    char chunk[65536];
    while (in) {
        in.read(chunk, sizeof chunk);
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
    }
    if (in.bad()) throw FailOn(p, "read error");
    return bytes;
}

void WriteFile(const fs::path& p, std::span<const std::uint8_t> bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    if (!out) throw FailOn(p, "cannot open for writing");
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw FailOn(p, "write error");
}

// Loads a skin file, turning every refusal into a Failure.
void LoadSkin(const fs::path& skin, TSkinReader& reader) {
    const Bytes bytes = ReadFile(skin);
    bool loaded = false;
    try {
        loaded = reader.LoadArchive(bytes);
    } catch (const ElzhException& e) {
        throw FailOn(skin, e.what());
    }
    if (!loaded) {
        std::string text = reader.RefusalText();
        for (std::size_t at; (at = text.find('\r')) != std::string::npos;) text.replace(at, 1, " / ");
        throw FailOn(skin, text);
    }
}

int Compress(const fs::path& in, const fs::path& out) {
    const auto tooLarge = [&](std::uintmax_t size) {
        return FailOn(in, "uncompressed size " + std::to_string(size) +
                              " is over the 256 MiB the program reads");
    };
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(in, ec);
    if (!ec && size > static_cast<std::uintmax_t>(TLZH::kMaxUncompressedSize)) throw tooLarge(size);
    const Bytes raw = ReadFile(in);
    if (static_cast<std::int64_t>(raw.size()) > TLZH::kMaxUncompressedSize) throw tooLarge(raw.size());
    WriteFile(out, LZHEncode(raw));
    return 0;
}

int Decompress(const fs::path& in, const fs::path& out) {
    const Bytes packed = ReadFile(in);
    Bytes raw;
    try {
        raw = TLZH::Decode(packed);
    } catch (const ElzhException& e) {
        throw FailOn(in, e.what());
    }
    WriteFile(out, raw);
    return 0;
}

struct PackFile {
    fs::path path;
    std::string name;  // as stored
};

PackFile PackFileOf(const fs::path& dir, const fs::path& fileName) {
    const std::optional<std::string> name = ArchiveNameOf(fileName);
    if (!name) throw FailOn(dir / fileName, "the name cannot be stored (not in the ANSI code page)");
    if (name->find_first_of("\r\n") != std::string::npos)
        throw FailOn(dir / fileName, "the name holds a line break");
    return {dir / fileName, *name};
}

int Pack(const fs::path& dir, const fs::path& out, std::span<const fs::path> names, std::ostream& err) {
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) throw FailOn(dir, "is not a folder");
    std::vector<PackFile> files;
    if (!names.empty()) {
        for (const auto& name : names) {
            if (name.empty() || name.has_parent_path() || name.filename() != name)
                throw FailOn(name, "give a file name inside " + Show(dir) + ", not a path");
            const fs::path p = dir / name;
            if (fs::is_directory(p, ec)) throw FailOn(p, "is a sub-folder; skins hold files only");
            if (!fs::is_regular_file(p, ec)) throw FailOn(p, "no such file");
            files.push_back(PackFileOf(dir, name));
        }
    } else {
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            const fs::path p = it->path();
            if (it->is_directory(ec)) throw FailOn(p, "is a sub-folder; skins hold files only");
            if (!it->is_regular_file(ec)) {
                err << "skinpack: skipping " << Show(p) << ": not a regular file\n";
                continue;
            }
            files.push_back(PackFileOf(dir, p.filename()));
        }
        if (ec) throw FailOn(dir, "cannot list: " + ec.message());
        std::sort(files.begin(), files.end(), [](const PackFile& a, const PackFile& b) {
            const std::string la = AsciiLower(a.name), lb = AsciiLower(b.name);
            return la != lb ? la < lb : a.name < b.name;
        });
    }

    if (files.size() > static_cast<std::size_t>(TSkinReader::kMaxFiles))
        throw FailOn(dir, std::to_string(files.size()) + " files, more than a skin holds (" +
                              std::to_string(TSkinReader::kMaxFiles) + ")");
    std::vector<std::string> definitions;
    for (const auto& f : files)
        if (AsciiLower(f.name).find(".ini") != std::string::npos) definitions.push_back(f.name);
    if (definitions.empty())
        throw FailOn(dir, "no skin definition file (no name containing \".ini\")");
    if (definitions.size() > 1 && names.empty())
        throw FailOn(dir, "several names contain \".ini\" (" + definitions[0] + ", " + definitions[1] +
                              "); the first one is the skin definition, so give the order: "
                              "skinpack pack DIR OUT NAME...");

    std::uint64_t total = 16 + 4 * files.size();
    for (const auto& f : files) {
        const std::uintmax_t size = fs::file_size(f.path, ec);
        if (ec) throw FailOn(f.path, "cannot read its size: " + ec.message());
        if (size > static_cast<std::uintmax_t>(INT32_MAX)) throw FailOn(f.path, "larger than 2 GiB");
        total += size + f.name.size() + 2;
    }
    if (total > static_cast<std::uint64_t>(TLZH::kMaxUncompressedSize))
        throw FailOn(dir, "the archive's uncompressed size would be over the 256 MiB the program reads");

    std::vector<TArchiveEntry> entries;
    for (const auto& f : files) entries.push_back({f.name, ReadFile(f.path)});
    WriteFile(out, LZHEncode(WriteArchive(entries)));
    return 0;
}

// Names that are no plain file name in DIR, or that no file system takes.
bool UnsafeName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return true;
    if (name.find_first_of("/\\:") != std::string::npos) return true;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return true;
    }
    return SystemRefusesFileName(name);
}

int Unpack(const fs::path& skin, const fs::path& dir, std::ostream& err) {
    TSkinReader reader;
    LoadSkin(skin, reader);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) throw FailOn(dir, "cannot create the folder");
    std::set<std::string> written;
    for (int i = 0; i < reader.FileCount(); ++i) {
        const std::string& name = reader.Names()[i];
        const std::string which = "file " + std::to_string(i + 1) + " " + Quoted(name);
        if (UnsafeName(name)) {
            err << "skinpack: skipping " << which << ": not a safe file name\n";
            continue;
        }
        if (written.count(name)) {
            err << "skinpack: skipping " << which << ": an earlier file has the same name\n";
            continue;
        }
        const std::optional<fs::path> fileName = PathOfArchiveName(name);
        if (!fileName) {
            err << "skinpack: skipping " << which << ": not valid in the ANSI code page\n";
            continue;
        }
        // Whatever the code page made of the bytes, it must stay one plain name.
        if (fileName->empty() || fileName->has_root_path() || fileName->has_parent_path()) {
            err << "skinpack: skipping " << which << ": not a safe file name\n";
            continue;
        }
        const fs::path target = dir / *fileName;
        // Never follow a link (or write into a folder) that sits in the way.
        const fs::file_status st = fs::symlink_status(target, ec);
        if (fs::exists(st) && !fs::is_regular_file(st)) {
            err << "skinpack: skipping " << which << ": " << Show(target)
                << " exists and is not a regular file\n";
            continue;
        }
        WriteFile(target, reader.FileBytes(i));
        written.insert(name);
    }
    return 0;
}

int List(const fs::path& skin, std::ostream& out) {
    TSkinReader reader;
    LoadSkin(skin, reader);
    for (int i = 0; i < reader.FileCount(); ++i)
        out << reader.Names()[i] << '\t' << reader.Sizes()[i] << '\n';
    out.flush();
    return 0;
}

int Usage(std::ostream& err, const std::string& problem) {
    err << "skinpack: " << problem << "\n" << kUsage;
    return 2;
}

}  // namespace

int RunSkinpack(std::span<const fs::path> args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return Usage(err, "no command given");
    const fs::path& verb = args[0];
    const auto operands = args.subspan(1);
    const auto is = [&](const char* name) { return verb.native() == fs::path(name).native(); };
    try {
        if (is("compress") || is("decompress") || is("unpack")) {
            if (operands.size() != 2) return Usage(err, "wrong number of arguments");
            if (is("compress")) return Compress(operands[0], operands[1]);
            if (is("decompress")) return Decompress(operands[0], operands[1]);
            return Unpack(operands[0], operands[1], err);
        }
        if (is("pack")) {
            if (operands.size() < 2) return Usage(err, "wrong number of arguments");
            return Pack(operands[0], operands[1], operands.subspan(2), err);
        }
        if (is("list")) {
            if (operands.size() != 1) return Usage(err, "wrong number of arguments");
            if (&out == &std::cout) SetStdoutBinary();
            return List(operands[0], out);
        }
        return Usage(err, "unknown command " + Quoted(Show(verb)));
    } catch (const Failure& e) {
        err << "skinpack: " << e.what() << "\n";
    } catch (const std::bad_alloc&) {
        err << "skinpack: out of memory\n";
    } catch (const std::exception& e) {
        err << "skinpack: " << e.what() << "\n";
    }
    return 1;
}
