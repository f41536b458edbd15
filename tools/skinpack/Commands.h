#pragma once
// The skinpack verbs, callable without a process:
//   compress IN OUT | decompress IN OUT | pack DIR OUT [NAME...] |
//   unpack SKIN DIR | list SKIN
// Exit codes: 0 success, 1 refused or malformed input or an I/O error,
// 2 a usage error. Messages go to err as "skinpack: ...".
#include <filesystem>
#include <iosfwd>
#include <span>

int RunSkinpack(std::span<const std::filesystem::path> args, std::ostream& out, std::ostream& err);
