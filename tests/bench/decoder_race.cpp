// The skin decoder against the textbook LZHUF decoder on the same streams,
// alternating round by round so that a busy machine slows both alike; the
// median of the per-round time ratios is the figure.
//   decoder_race [--rounds N] [--repeat K] [--stream mixed|compressible|all]
//   decoder_race --only quellory|textbook --stream S   (one decode, for callgrind)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "skin/data/LZH.h"
#include "tests/bench/BenchStreams.h"
#include "tests/bench/TextbookLzhuf.h"
#include "tools/skinpack/LZHEncoder.h"

using benchstreams::Bytes;

namespace {

struct Stream {
    std::string name;
    Bytes raw;
    Bytes packed;
};

// Both entry points are kept out of line so that callgrind can count each alone.
[[gnu::noinline]] Bytes RunQuellory(const Bytes& packed) { return TLZH::Decode(packed); }

[[gnu::noinline]] Bytes RunTextbook(const Bytes& packed, std::size_t size) {
    Bytes out(size + 1);
    std::FILE* in = fmemopen(const_cast<std::uint8_t*>(packed.data()), packed.size(), "rb");
    std::FILE* sink = fmemopen(out.data(), out.size(), "wb");
    if (!in || !sink) {
        std::perror("fmemopen");
        std::exit(2);
    }
    const auto written = TextbookLzhufDecode(in, sink);
    std::fclose(in);
    std::fclose(sink);
    out.resize(static_cast<std::size_t>(written));
    return out;
}

double Seconds(auto&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

Bytes Times(const Bytes& b, int k) {
    Bytes out;
    for (int i = 0; i < k; ++i) out.insert(out.end(), b.begin(), b.end());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 21, repeat = 1;
    std::string which = "all", only;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--rounds") rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (flag == "--repeat") repeat = std::max(1, std::atoi(argv[i + 1]));
        else if (flag == "--stream") which = argv[i + 1];
        else if (flag == "--only") only = argv[i + 1];
        else {
            std::fprintf(stderr, "decoder_race: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    std::vector<Stream> streams;
    if (which == "all" || which == "mixed") streams.push_back({"mixed", Times(benchstreams::Mixed(), repeat), {}});
    if (which == "all" || which == "compressible")
        streams.push_back({"compressible", Times(benchstreams::Compressible(1u << 20), repeat), {}});
    if (streams.empty()) {
        std::fprintf(stderr, "decoder_race: no stream named %s\n", which.c_str());
        return 2;
    }
    for (auto& s : streams) s.packed = LZHEncode(s.raw);

    if (!only.empty()) {
        for (const auto& s : streams) {
            const Bytes out = only == "textbook" ? RunTextbook(s.packed, s.raw.size()) : RunQuellory(s.packed);
            std::printf("%s %s: %zu bytes\n", only.c_str(), s.name.c_str(), out.size());
            if (out != s.raw) return 1;
        }
        return 0;
    }

    int status = 0;
    for (const auto& s : streams) {
        if (RunQuellory(s.packed) != s.raw || RunTextbook(s.packed, s.raw.size()) != s.raw) {
            std::printf("%s: the decoders disagree\n", s.name.c_str());
            status = 1;
            continue;
        }
        std::vector<double> ours, theirs, ratio;
        for (int r = 0; r < rounds; ++r) {
            // Which one goes first alternates too.
            double a = 0, b = 0;
            auto runOurs = [&] { a = Seconds([&] { RunQuellory(s.packed); }); };
            auto runTheirs = [&] { b = Seconds([&] { RunTextbook(s.packed, s.raw.size()); }); };
            if (r % 2) { runTheirs(); runOurs(); } else { runOurs(); runTheirs(); }
            ours.push_back(a);
            theirs.push_back(b);
            ratio.push_back(a / b);
        }
        const double mb = double(s.raw.size()) / 1e6;
        std::printf("%-12s %7.2f MB, packed to %.2f: quellory %6.1f MB/s, textbook %6.1f MB/s, "
                    "time ratio quellory/textbook %.3f (median of %d rounds)\n",
                    s.name.c_str(), mb, double(s.packed.size()) / double(s.raw.size()), mb / Median(ours),
                    mb / Median(theirs), Median(ratio), rounds);
    }
    return status;
}
