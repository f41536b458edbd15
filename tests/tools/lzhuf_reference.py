#!/usr/bin/env python3
"""Independent LZHUF coder and skin archive writer/reader, used to check skinpack.

Written separately from the C++ decoder and packer so that the two cannot share
a mistake: the stream format is the classic LZHUF one (adaptive Huffman over
314 symbols, 12-bit positions with fixed prefix tables, a 4096-byte ring whose
first 4036 bytes are blanks), prefixed by the uncompressed size as a signed
little-endian 32-bit number.

Command line (for poking at files by hand):
  lzhuf_reference.py --selftest
  lzhuf_reference.py compress IN OUT | decompress IN OUT | list SKIN
"""

import random
import struct
import sys
import time

RING = 4096               # ring size N
LOOKAHEAD = 60            # longest match F
THRESHOLD = 2             # shortest match is THRESHOLD + 1
SYMBOLS = 256 - THRESHOLD + LOOKAHEAD   # 314: literals and match lengths 3..60
NODES = 2 * SYMBOLS - 1   # 627
ROOT = NODES - 1          # 626
MAX_FREQ = 0x8000
FILL = 0x20
FIRST_WRITE = RING - LOOKAHEAD   # 4036

ARCHIVE_VERSION = 20000
MAX_NAMES = 1001


def _position_tables():
    """code(i) and len(i) for the first 8 bits i of a position, from the run rule.

    Returns (d_code, d_len) indexed by i, and (p_first, p_len) indexed by the
    upper 6 bits of a position: p_first is the first 8-bit value of its run.
    """
    runs = [(1, 32, 3), (3, 16, 4), (8, 8, 5), (12, 4, 6), (24, 2, 7), (16, 1, 8)]
    d_code, d_len, p_first, p_len = [], [], [], []
    code = 0
    for count, width, bits in runs:
        for _ in range(count):
            p_first.append(len(d_code))
            p_len.append(bits)
            d_code.extend([code] * width)
            d_len.extend([bits] * width)
            code += 1
    assert len(d_code) == 256 and code == 64
    return d_code, d_len, p_first, p_len


D_CODE, D_LEN, P_FIRST, P_LEN = _position_tables()


class _Tree:
    """The adaptive Huffman tree shared in shape by coder and decoder."""

    def __init__(self):
        freq = [0] * (NODES + 1)
        prnt = [0] * (NODES + SYMBOLS)
        son = [0] * NODES
        for i in range(SYMBOLS):
            freq[i] = 1
            son[i] = i + NODES
            prnt[i + NODES] = i
        i = 0
        for j in range(SYMBOLS, NODES):
            freq[j] = freq[i] + freq[i + 1]
            son[j] = i
            prnt[i] = prnt[i + 1] = j
            i += 2
        freq[NODES] = 0xFFFF      # sentinel: stops the swap scan below the end
        prnt[ROOT] = 0
        self.freq, self.prnt, self.son = freq, prnt, son
        self.rebuilds = 0

    def rebuild(self):
        freq, prnt, son = self.freq, self.prnt, self.son
        j = 0
        for i in range(NODES):
            if son[i] >= NODES:
                freq[j] = (freq[i] + 1) // 2
                son[j] = son[i]
                j += 1
        i = 0
        for j in range(SYMBOLS, NODES):
            f = freq[i] + freq[i + 1]
            k = j - 1
            while f < freq[k]:
                k -= 1
            k += 1
            # Equal counts stay in front of the new node.
            freq[k + 1:j + 1] = freq[k:j]
            son[k + 1:j + 1] = son[k:j]
            freq[k] = f
            son[k] = i
            i += 2
        for i in range(NODES):
            k = son[i]
            if k >= NODES:
                prnt[k] = i
            else:
                prnt[k] = prnt[k + 1] = i
        self.rebuilds += 1

    def update(self, symbol):
        freq, prnt, son = self.freq, self.prnt, self.son
        if freq[ROOT] == MAX_FREQ:
            self.rebuild()
        c = prnt[symbol + NODES]
        while True:
            k = freq[c] + 1
            freq[c] = k
            if k > freq[c + 1]:
                # Move this node past every following node with a smaller count.
                l = c + 1
                while freq[l + 1] < k:
                    l += 1
                freq[c] = freq[l]
                freq[l] = k
                i = son[c]
                prnt[i] = l
                if i < NODES:
                    prnt[i + 1] = l
                j = son[l]
                son[l] = i
                prnt[j] = c
                if j < NODES:
                    prnt[j + 1] = c
                son[c] = j
                c = l
            c = prnt[c]
            if c == 0:
                break

    def check(self):
        """Sibling property and link consistency; for the self-test only."""
        freq, prnt, son = self.freq, self.prnt, self.son
        leaves = set()
        for i in range(NODES):
            if i + 1 < NODES:
                assert freq[i] <= freq[i + 1], ("order", i)
            k = son[i]
            if k >= NODES:
                assert prnt[k] == i, ("leaf link", i)
                leaves.add(k - NODES)
            else:
                assert k % 2 == 0 and k + 1 < i, ("son", i)
                assert prnt[k] == i and prnt[k + 1] == i, ("parent link", i)
                assert freq[i] == freq[k] + freq[k + 1], ("sum", i)
        assert leaves == set(range(SYMBOLS))


class _BitReader:
    """MSB-first bits through a 16-bit buffer; bytes past the end read as 0."""

    def __init__(self, data, start):
        self.data = data
        self.pos = start
        self.buf = 0
        self.count = 0

    def _fill(self):
        data, pos = self.data, self.pos
        while self.count < 9:
            b = data[pos] if pos < len(data) else 0
            pos += 1
            self.buf |= b << (8 - self.count)
            self.count += 8
        self.pos = pos

    def bit(self):
        if self.count < 9:
            self._fill()
        bit = self.buf >> 15
        self.buf = (self.buf << 1) & 0xFFFF
        self.count -= 1
        return bit

    def byte(self):
        if self.count < 9:
            self._fill()
        value = self.buf >> 8
        self.buf = (self.buf << 8) & 0xFFFF
        self.count -= 8
        return value


class DecodeLimit(Exception):
    """The stream claims more output than the caller allows."""


def decompress(stream, max_size=None, stats=None):
    """Decode a compressed stream (size word + bit stream) to bytes.

    A size of 0 or less gives no output. The last match is copied whole, so a
    stream not made by an encoder can yield up to 59 bytes more than its size
    word says. max_size, when given, refuses larger
    claims before any work (raises DecodeLimit). stats, a dict, receives the
    symbol count and the number of tree rebuilds.
    """
    if len(stream) < 4:
        raise ValueError("stream shorter than its size word")
    (size,) = struct.unpack_from("<i", stream, 0)
    if max_size is not None and size > max_size:
        raise DecodeLimit(size)
    if size <= 0:
        return b""
    tree = _Tree()
    son = tree.son
    update = tree.update
    bits = _BitReader(stream, 4)
    getbit, getbyte = bits.bit, bits.byte
    ring = bytearray([FILL]) * FIRST_WRITE + bytearray(RING - FIRST_WRITE)
    out = bytearray()
    r = FIRST_WRITE
    symbols = 0
    while len(out) < size:
        c = son[ROOT]
        while c < NODES:
            c = son[c + getbit()]
        c -= NODES
        update(c)
        symbols += 1
        if c < 256:
            out.append(c)
            ring[r] = c
            r = (r + 1) & (RING - 1)
        else:
            i = getbyte()
            hi = D_CODE[i] << 6
            for _ in range(D_LEN[i] - 2):
                i = (i << 1) + getbit()
            p = hi | (i & 63)
            q = (r - p - 1) & (RING - 1)
            for k in range(c - 253):
                b = ring[(q + k) & (RING - 1)]
                out.append(b)
                ring[r] = b
                r = (r + 1) & (RING - 1)
    if stats is not None:
        stats["symbols"] = symbols
        stats["rebuilds"] = tree.rebuilds
        stats["consumed"] = ((bits.pos - 4) * 8 - bits.count + 7) // 8
    return bytes(out)


class _BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def put(self, value, nbits):
        self.acc = (self.acc << nbits) | value
        self.count += nbits
        while self.count >= 8:
            self.count -= 8
            self.out.append((self.acc >> self.count) & 0xFF)
        self.acc &= (1 << self.count) - 1

    def finish(self):
        if self.count:
            self.out.append((self.acc << (8 - self.count)) & 0xFF)
            self.acc = self.count = 0
        return bytes(self.out)


def _find_matches(data, max_chain):
    """Greedy longest-match parse of data against a blank-primed 4096 window.

    Yields (length, distance) pairs: length 1 means a literal (distance 0).
    A 3-byte hash chain over the virtual history "4036 blanks + data"; among
    equally long matches the nearest wins, as it has the shortest position code.
    """
    v_data = bytes([FILL]) * FIRST_WRITE + data
    end = len(v_data)
    head = {}
    prev = [-1] * end

    def insert(v):
        if v + 2 < end:
            key = v_data[v:v + 3]
            prev[v] = head.get(key, -1)
            head[key] = v

    # Only the last stretch of blanks can start a useful match; all of it is blanks.
    for v in range(FIRST_WRITE - LOOKAHEAD, FIRST_WRITE):
        insert(v)
    v = FIRST_WRITE
    while v < end:
        maxlen = min(LOOKAHEAD, end - v)
        best, best_pos = 0, -1
        if maxlen > THRESHOLD:
            s = head.get(v_data[v:v + 3], -1)
            lowest = v - RING
            chain = max_chain
            target = v_data[v:v + maxlen]
            while s >= lowest and s >= 0 and chain:
                chain -= 1
                if best == 0 or v_data[s + best] == v_data[v + best]:
                    if v_data[s:s + maxlen] == target:
                        best, best_pos = maxlen, s
                        break
                    n = 3
                    while v_data[s + n] == v_data[v + n]:
                        n += 1
                    if n > best:
                        best, best_pos = n, s
                s = prev[s]
        if best > THRESHOLD:
            yield best, v - best_pos
            for k in range(v, v + best):
                insert(k)
            v += best
        else:
            yield 1, 0
            insert(v)
            v += 1


def parse_features(data):
    """What the greedy parse of data reaches; lets tests prove their corner is hit."""
    v = FIRST_WRITE
    feats = {"symbols": 0, "matches": 0, "max_distance": 0, "read_wraps": 0,
             "write_wraps": 0, "wrap_60": 0, "from_blanks": 0}
    for length, distance in _find_matches(bytes(data), RING):
        feats["symbols"] += 1
        if length > 1:
            s = v - distance
            reads = (s & (RING - 1)) + length > RING
            writes = (v & (RING - 1)) + length > RING
            feats["matches"] += 1
            feats["max_distance"] = max(feats["max_distance"], distance)
            feats["read_wraps"] += reads
            feats["write_wraps"] += writes
            feats["wrap_60"] += length == LOOKAHEAD and (reads or writes)
            feats["from_blanks"] += s < FIRST_WRITE
        v += length
    return feats


def compress(data, max_chain=4096, stats=None):
    """Encode bytes as size word + LZHUF bit stream, padded with zero bits."""
    data = bytes(data)
    tree = _Tree()
    prnt = tree.prnt
    update = tree.update
    writer = _BitWriter()
    put = writer.put
    symbols = 0

    def put_symbol(c):
        code = 0
        length = 0
        k = prnt[c + NODES]
        while k != ROOT:
            # Internal nodes keep their children on an even/odd index pair,
            # so the index's low bit is the branch taken to reach it.
            code |= (k & 1) << length
            length += 1
            k = prnt[k]
        put(code, length)
        update(c)

    pos = 0
    for length, distance in _find_matches(data, max_chain):
        symbols += 1
        if length == 1:
            put_symbol(data[pos])
        else:
            put_symbol(length + 253)
            p = distance - 1
            hi = p >> 6
            bits = P_LEN[hi]
            put(P_FIRST[hi] >> (8 - bits), bits)
            put(p & 63, 6)
        pos += length
    if stats is not None:
        stats["symbols"] = symbols
        stats["rebuilds"] = tree.rebuilds
    return struct.pack("<i", len(data)) + writer.finish()


# ---------------------------------------------------------------- archives

class ArchiveError(Exception):
    """The archive is refused; the text says why."""


def build_archive(names, contents, version=ARCHIVE_VERSION, reserved=(0, 0),
                  sizes=None, name_list=None, trailing_break=False, extra=b""):
    """Lay out an archive; every part can be overridden to build hostile ones.

    names: bytes or str (latin-1); contents: bytes per name. sizes and
    name_list replace the computed size table and name text; extra is
    appended after the file data.
    """
    raw_names = [n.encode("latin-1") if isinstance(n, str) else bytes(n) for n in names]
    if name_list is None:
        name_list = b"\r\n".join(raw_names)
        if trailing_break and raw_names:
            name_list += b"\r\n"
    if sizes is None:
        sizes = [len(c) for c in contents]
    head = struct.pack("<iiii", version, len(name_list), reserved[0], reserved[1])
    table = struct.pack("<%di" % len(sizes), *sizes)
    return head + name_list + table + b"".join(contents) + extra


def split_names(text):
    """Lines at CR LF, lone CR or lone LF; a final break adds no line."""
    lines = []
    start = 0
    i = 0
    n = len(text)
    while i < n:
        ch = text[i]
        if ch == 0x0D or ch == 0x0A:
            lines.append(text[start:i])
            if ch == 0x0D and i + 1 < n and text[i + 1] == 0x0A:
                i += 1
            start = i + 1
        i += 1
    if start < n:
        lines.append(text[start:])
    return lines


def ascii_lower(b):
    return bytes(c + 32 if 0x41 <= c <= 0x5A else c for c in b)


def read_archive(raw, lower=True):
    """Parse a decompressed archive into [(name, bytes)] in archive order.

    Names are ASCII lower-cased unless lower is False. Refuses (ArchiveError)
    what the program must not read: a wrong version or short header, a name
    list or size table past the end, more than 1001 names, a negative size,
    or sizes that run past the data area.
    """
    if len(raw) < 16:
        raise ArchiveError("header missing: This is Older Skin File")
    version, name_len, _, _ = struct.unpack_from("<iiii", raw, 0)
    if version != ARCHIVE_VERSION:
        raise ArchiveError("version %d: This is Older Skin File" % version)
    if name_len < 0 or 16 + name_len > len(raw):
        raise ArchiveError("name list past the end")
    text = raw[16:16 + name_len]
    names = split_names(ascii_lower(text) if lower else text)
    if len(names) > MAX_NAMES:
        raise ArchiveError("%d names" % len(names))
    table_end = 16 + name_len + 4 * len(names)
    if table_end > len(raw):
        raise ArchiveError("size table past the end")
    sizes = struct.unpack_from("<%di" % len(names), raw, 16 + name_len)
    files = []
    offset = table_end
    for name, size in zip(names, sizes):
        if size < 0:
            raise ArchiveError("negative size")
        if offset + size > len(raw):
            raise ArchiveError("sizes run past the data")
        files.append((name, raw[offset:offset + size]))
        offset += size
    return files


STREAM_CAP = 256 * 1024 * 1024


def size_bound(stream_len):
    """Largest uncompressed size a stream of stream_len bytes may claim.

    A match is at least 10 bits (1 for its symbol, 9 for the shortest
    position) and yields at most 60 bytes: 48 bytes per input byte, plus one
    match's slack for the zero bits read past the end.
    """
    return min(48 * (stream_len - 4) + 60, STREAM_CAP)


def load_skin(stream):
    """Compressed skin -> [(lower-case name, bytes)], or ArchiveError."""
    if len(stream) < 4:
        raise ArchiveError("stream shorter than its size word")
    try:
        raw = decompress(stream, max_size=size_bound(len(stream)))
    except DecodeLimit as e:
        raise ArchiveError("uncompressed size %d too large" % e.args[0])
    return read_archive(raw)


# ---------------------------------------------------------------- self-test

def sample_inputs():
    """Named inputs that exercise the coder's corners; shared with the tests."""
    rnd = random.Random(20000)

    def noise(n):
        return bytes(rnd.randrange(256) for _ in range(n))

    words = [b"skin", b"frame", b"button", b"caption", b"border", b"colour",
             b"the", b"a", b"of", b"window", b"bitmap", b"margin", b"tile",
             b"Trans=1", b"LeftWidth=8", b"\r\n", b"[Buttons]", b"=", b" "]
    text = b" ".join(rnd.choice(words) for _ in range(9000))
    # A 100-byte pattern at data offset 40 sits on ring 4076..4175; repeated
    # at offset 4130 (ring 4070) its first 60-byte match crosses the ring end
    # both where it reads and where it writes.
    pattern = noise(100)
    ring_cross = noise(40) + pattern + noise(4130 - 140) + pattern + noise(100)
    block = noise(RING)
    # Literals and matches mixed, long enough for two tree rebuilds.
    mixed = bytearray()
    while len(mixed) < 80000:
        mixed += noise(rnd.randrange(1, 60))
        if len(mixed) > 200:
            start = rnd.randrange(max(0, len(mixed) - 4000), len(mixed) - 100)
            mixed += mixed[start:start + rnd.randrange(3, 21)]
    inputs = {
        "empty": b"",
        "one byte": b"x",
        "three blanks": b"   ",
        "long runs": b"A" * 5000 + b"B" * 61 + b"\x00" * 3000 + b"AB" * 700,
        "leading blanks": b" " * 200 + b"after the blanks" + b" " * 63 + b"end",
        "ring end crossing": ring_cross,
        "distance 4096": block + block[:500],
        "random 45000": noise(45000),
        "mixed 80000": bytes(mixed),
        "text": text,
        "bitmap-like": _bitmap_like(96, 64),
    }
    return inputs


def _bitmap_like(w, h):
    """A 24-bit bottom-up DIB body with a gradient, bands and a magenta key."""
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            if (x // 8 + y // 8) % 5 == 0:
                row += b"\xff\x00\xff"
            else:
                row += bytes(((x * 255) // w, (y * 255) // h, 128 + (x ^ y) % 16))
        row += b"\x00" * (stride - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def selftest(verbose=True):
    def say(msg):
        if verbose:
            print(msg)

    # The tables from the run rule against the classic literal ones.
    assert P_LEN[:5] == [3, 4, 4, 4, 5] and P_LEN[-1] == 8
    assert [P_FIRST[i] for i in (0, 1, 2, 3, 4, 5, 12, 13, 24, 25, 47, 48, 63)] == \
        [0x00, 0x20, 0x30, 0x40, 0x50, 0x58, 0x90, 0x94, 0xC0, 0xC2, 0xEE, 0xF0, 0xFF]
    assert D_CODE[31] == 0 and D_CODE[32] == 1 and D_CODE[80] == 4 and D_CODE[255] == 63
    assert D_LEN[79] == 4 and D_LEN[80] == 5 and D_LEN[239] == 7 and D_LEN[240] == 8

    # The tree keeps its invariants through updates and a rebuild.
    tree = _Tree()
    tree.check()
    rnd = random.Random(7)
    for n in range(33000):
        tree.update(rnd.randrange(SYMBOLS) if n % 3 else rnd.randrange(8))
        if n % 4000 == 0:
            tree.check()
    assert tree.rebuilds == 1, tree.rebuilds
    tree.check()

    # Round trips, with the corner each input is meant to reach.
    for name, data in sample_inputs().items():
        t0 = time.perf_counter()
        cstats, dstats = {}, {}
        packed = compress(data, stats=cstats)
        t1 = time.perf_counter()
        back = decompress(packed, stats=dstats)
        t2 = time.perf_counter()
        assert back == data, name
        assert dstats.get("symbols", 0) == cstats["symbols"], name
        if data:
            assert dstats["consumed"] <= len(packed) - 4, name
        say("%-18s %7d -> %6d bytes, %6d symbols, %d rebuilds, enc %.2fs dec %.2fs"
            % (name, len(data), len(packed), cstats["symbols"], cstats["rebuilds"],
               t1 - t0, t2 - t1))
    random_stats = {}
    compress(sample_inputs()["random 45000"], stats=random_stats)
    assert random_stats["rebuilds"] >= 1

    # Stream details: size word, zero padding, blanks before the first byte.
    assert compress(b"") == b"\x00\x00\x00\x00"
    blanks = compress(b" " * 60)
    assert len(blanks) < 4 + 4, blanks   # one match back into the primed blanks
    assert decompress(struct.pack("<i", -5) + b"\xff") == b""
    # All-zero bits: the last match is copied whole, so up to 59 bytes more.
    zeros = decompress(struct.pack("<i", 500) + b"\x00" * 3)
    assert 500 <= len(zeros) < 500 + LOOKAHEAD
    try:
        decompress(struct.pack("<i", 1000), max_size=999)
        raise AssertionError("limit ignored")
    except DecodeLimit:
        pass

    # Archives: layout, name splitting, refusals.
    raw = build_archive(["Skin.INI", "", "Buttons.BMP"], [b"[a]", b"xy", b"BM.."])
    assert read_archive(raw) == [(b"skin.ini", b"[a]"), (b"", b"xy"), (b"buttons.bmp", b"BM..")]
    assert read_archive(raw, lower=False)[2][0] == b"Buttons.BMP"
    assert split_names(b"a\r\n\r\nb") == [b"a", b"", b"b"]
    assert split_names(b"a\rb\nc\r\n") == [b"a", b"b", b"c"]
    assert split_names(b"a\n\r") == [b"a", b""]
    assert split_names(b"") == []
    assert ascii_lower(b"AZaz\xc9@[") == b"azaz\xc9@["
    bad = {
        "version 19999": build_archive(["a.ini"], [b"x"], version=19999),
        "negative size": build_archive(["a.ini", "b"], [b"x", b""], sizes=[1, -1]),
        "past the data": build_archive(["a.ini"], [b"x"], sizes=[2]),
        "1002 names": build_archive(["n%d" % i for i in range(1002)], [b""] * 1002),
        "short": b"\x20\x4e\x00\x00",
    }
    for name, raw in bad.items():
        try:
            read_archive(raw)
            raise AssertionError("accepted: " + name)
        except ArchiveError:
            pass
    skin = compress(build_archive(["a.ini"], [b"[x]"]))
    assert load_skin(skin) == [(b"a.ini", b"[x]")]
    say("selftest passed")


def main(argv):
    if argv == ["--selftest"]:
        selftest()
        return 0
    if len(argv) == 3 and argv[0] in ("compress", "decompress"):
        with open(argv[1], "rb") as f:
            data = f.read()
        out = compress(data) if argv[0] == "compress" else decompress(data)
        with open(argv[2], "wb") as f:
            f.write(out)
        return 0
    if len(argv) == 2 and argv[0] == "list":
        with open(argv[1], "rb") as f:
            files = load_skin(f.read())
        for name, content in files:
            sys.stdout.buffer.write(name + b"\t%d\n" % len(content))
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
