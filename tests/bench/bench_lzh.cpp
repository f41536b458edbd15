// Start-up cost of a skin: decoding a compressed stream, and loading a
// skin-sized archive and extracting every file from it.
#include <benchmark/benchmark.h>

#include <random>

#include "skin/data/LZH.h"
#include "skin/data/SkinReader.h"
#include "tests/bench/BenchStreams.h"
#include "tests/portable/LZHTestData.h"
#include "tools/skinpack/ArchiveWriter.h"
#include "tools/skinpack/LZHEncoder.h"

using namespace lzhtest;

namespace {

// Byte sizes of a typical skin: 34 bitmaps and the definition file.
constexpr int kSkinSizes[] = {6954, 6138, 4110,  1610, 1462, 5974, 6966,  3958, 13930, 4966, 26642, 5038,
                              5038, 4546, 4546,  1654, 7254, 4134, 3582,  3582, 7162,  6838, 1414,  6838,
                              1414, 8034, 8034,  8034, 8034, 3478, 3478, 25902, 5358, 12678};

const std::vector<TArchiveEntry>& SkinFiles() {
    static const std::vector<TArchiveEntry> files = [] {
        std::vector<TArchiveEntry> f;
        int i = 0;
        for (const int size : kSkinSizes) {
            // A 54-byte bitmap header, then pixel rows with some shading
            // noise, so it packs about as well as real skin bitmaps (1:4).
            Bytes data = Concat({Bytes{'B', 'M'}, Bytes(52, 0), BitmapLike(static_cast<std::size_t>(size) - 54, i)});
            std::mt19937 rng(static_cast<unsigned>(i));
            for (std::size_t k = 54; k < data.size(); ++k)
                if (rng() % 20 == 0) data[k] = static_cast<std::uint8_t>(data[k] + rng() % 5);
            f.push_back({"bitmap" + std::to_string(i++) + ".bmp", std::move(data)});
        }
        f.push_back({"luna-blue.ini", Text(3383, 77)});
        return f;
    }();
    return files;
}

// Arg 0: the mixed stream (packs to about 0.6), 1: the compressible one (0.16).
void BM_DecodeStream(benchmark::State& state) {
    const Bytes input = state.range(0) ? benchstreams::Compressible() : benchstreams::Mixed();
    const Bytes packed = LZHEncode(input);
    for (auto _ : state) benchmark::DoNotOptimize(TLZH::Decode(packed));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
    state.counters["ratio"] = double(packed.size()) / double(input.size());
}
BENCHMARK(BM_DecodeStream)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_LoadSkinAndExtractAll(benchmark::State& state) {
    const Bytes archive = WriteArchive(SkinFiles());
    const Bytes packed = LZHEncode(archive);
    for (auto _ : state) {
        TSkinReader reader;
        if (!reader.LoadArchive(packed)) state.SkipWithError("archive refused");
        TMemoryStream target;
        for (const auto& name : reader.Names()) reader.ExtractFile(name, target);
        benchmark::DoNotOptimize(target.Size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * archive.size()));
    state.counters["archive_bytes"] = double(archive.size());
    state.counters["ratio"] = double(packed.size()) / double(archive.size());
}
BENCHMARK(BM_LoadSkinAndExtractAll)->Unit(benchmark::kMillisecond);

// The packer, lazy and greedy, for the compression figures.
void BM_EncodeSkin(benchmark::State& state) {
    const Bytes archive = WriteArchive(SkinFiles());
    const auto parse = state.range(0) ? TLZHParse::Lazy : TLZHParse::Greedy;
    std::size_t size = 0;
    for (auto _ : state) size = LZHEncode(archive, parse).size();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * archive.size()));
    state.counters["ratio"] = double(size) / double(archive.size());
}
BENCHMARK(BM_EncodeSkin)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
