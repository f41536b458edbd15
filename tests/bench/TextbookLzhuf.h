#pragma once
// The 1989 LZHUF decoder as it was published and widely copied: stdio one
// byte at a time into a 16-bit bit buffer, one tree step per code bit, the
// model update by a linear scan. It is the yardstick of the decoder's speed,
// so it is kept as plain as the original, not tuned.
#include <cstdint>
#include <cstdio>

// Reads the size field and the bit stream from in, writes the bytes to out;
// returns how many were written.
std::int64_t TextbookLzhufDecode(std::FILE* in, std::FILE* out);
