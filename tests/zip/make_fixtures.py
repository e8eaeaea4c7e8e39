#!/usr/bin/env python3
"""Makes the zip reader's test archives in the folder given as the argument.

The real archives come from Info-ZIP's zip, run on a small tree of files that
the tests compare the extracted files with (the folder "tree"). The broken
ones are copies of those with single fields changed, and a few archives put
together here byte by byte where the case needs names, extra fields or
attributes that zip never writes. Everything is deterministic; zip runs with
TZ=UTC so the DOS times are known.

Usage: make_fixtures.py <output folder>
"""
import os
import shutil
import struct
import subprocess
import sys
import zlib

PASSWORD = "velmora"

# name, content (None for a folder), modification time, mode
def tree_files():
    text = "".join("line %05d of the compressible text\n" % i for i in range(1000)).encode()
    noise = bytearray()
    seed = 12345
    for _ in range(50000):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        noise.append(seed >> 16 & 0xFF)
    return [
        ("readme.txt", b"Velmora test archive\nsecond line\n", 1600000000, 0o644),
        ("readonly.txt", b"do not touch\n", 1600000100, 0o444),
        ("data/", None, 1600000200, 0o755),
        ("data/text.txt", text, 1600000300, 0o644),
        # An odd second: the DOS time can only hold even ones.
        ("data/noise.bin", bytes(noise), 1600000401, 0o644),
        ("data/empty.dat", b"", 1600000500, 0o644),
        ("data/deep/", None, 1600000600, 0o755),
        ("data/deep/nested/", None, 1600000700, 0o755),
        ("data/deep/nested/leaf.txt", b"leaf\n", 1600000800, 0o644),
        ("data/emptydir/", None, 1600000900, 0o755),
    ]


def make_tree(tree):
    if os.path.exists(tree):
        for root, dirs, files in os.walk(tree):
            for name in dirs + files:
                os.chmod(os.path.join(root, name), 0o755)
        shutil.rmtree(tree)
    os.makedirs(tree)
    files = tree_files()
    for name, content, _, _ in files:
        path = os.path.join(tree, name)
        if content is None:
            os.makedirs(path, exist_ok=True)
        else:
            with open(path, "wb") as out:
                out.write(content)
    # Times and modes last, deepest first, so that writing a child does not
    # move its folder's time again.
    for name, _, mtime, mode in sorted(files, key=lambda f: -f[0].count("/")):
        path = os.path.join(tree, name)
        os.chmod(path, mode)
        os.utime(path, (mtime, mtime))
    return [name for name, _, _, _ in files]


def run_zip(tree, archive, options, names, stdin=None):
    if os.path.exists(archive):
        os.remove(archive)
    env = dict(os.environ, TZ="UTC")
    subprocess.run(["zip", "-q"] + options + [archive] + names, cwd=tree, env=env, check=True,
                   input=stdin)


# --- Reading and writing archives field by field ---------------------------

CENTRAL = struct.Struct("<IHHHHIIIIHHHHHII")
LOCAL = struct.Struct("<IHHHIIIIHH")
END = struct.Struct("<IHHHHIIH")


class Entry:
    """One entry: its central header fields, its local header fields and its data."""


def parse(blob):
    end = blob.rfind(b"PK\x05\x06")
    (_, disk, cdisk, here, total, cd_size, cd_offset, comment_length) = END.unpack_from(blob, end)
    before = end - cd_offset - cd_size
    entries = []
    at = cd_offset + before
    for _ in range(total):
        fields = list(CENTRAL.unpack_from(blob, at))
        name_length, extra_length, comment_len = fields[9], fields[10], fields[11]
        e = Entry()
        e.central = fields
        e.name = blob[at + 46:at + 46 + name_length]
        e.central_extra = blob[at + 46 + name_length:at + 46 + name_length + extra_length]
        e.comment = blob[at + 46 + name_length + extra_length:at + 46 + name_length + extra_length + comment_len]
        local = fields[15] + before
        e.local = list(LOCAL.unpack_from(blob, local))
        lname, lextra = e.local[8], e.local[9]
        e.local_name = blob[local + 30:local + 30 + lname]
        e.local_extra = blob[local + 30 + lname:local + 30 + lname + lextra]
        data_at = local + 30 + lname + lextra
        e.data = blob[data_at:data_at + fields[7]]
        # A data descriptor follows the data when flag bit 3 is set.
        e.descriptor = b""
        if e.local[2] & 8:
            d = data_at + fields[7]
            e.descriptor = blob[d:d + (16 if blob[d:d + 4] == b"PK\x07\x08" else 12)]
        entries.append(e)
        at += 46 + name_length + extra_length + comment_len
    comment = blob[end + 22:end + 22 + comment_length]
    return entries, comment


def build(entries, comment=b"", keep_lengths=False, end_fields=None):
    """Writes the entries out again. Name and extra lengths follow the bytes
    unless keep_lengths is set (for headers that lie about them)."""
    out = bytearray()
    for e in entries:
        e.offset = len(out)
        local = list(e.local)
        if not keep_lengths:
            local[8], local[9] = len(e.local_name), len(e.local_extra)
        out += LOCAL.pack(*local) + e.local_name + e.local_extra + e.data + e.descriptor
    cd_offset = len(out)
    for e in entries:
        central = list(e.central)
        if not keep_lengths:
            central[9], central[10], central[11] = len(e.name), len(e.central_extra), len(e.comment)
        if getattr(e, "keep_offset", False) is False:
            central[15] = e.offset
        out += CENTRAL.pack(*central) + e.name + e.central_extra + e.comment
    cd_size = len(out) - cd_offset
    fields = [0x06054B50, 0, 0, len(entries), len(entries), cd_size, cd_offset, len(comment)]
    for index, value in (end_fields or {}).items():
        fields[index] = value(fields[index]) if callable(value) else value
    out += END.pack(*fields) + comment
    return bytes(out)


def stored_entry(name, data, extra=b"", made_by=0x031E, attributes=0o100644 << 16, flags=0,
                 method=0, dos_time=0x51210000, sizes=None):
    """A new entry written here; `sizes` overrides the (compressed, uncompressed) sizes."""
    e = Entry()
    if method == 8:
        compressor = zlib.compressobj(6, zlib.DEFLATED, -15)
        payload = compressor.compress(data) + compressor.flush()
    else:
        payload = data
    crc = zlib.crc32(data) & 0xFFFFFFFF
    csize, usize = sizes if sizes else (len(payload), len(data))
    name = name.encode("latin-1")
    e.local = [0x04034B50, 20, flags, method, dos_time, crc, csize, usize, len(name), len(extra)]
    e.local_name = name
    e.local_extra = extra
    e.data = payload
    e.descriptor = b""
    e.central = [0x02014B50, made_by, 20, flags, method, dos_time, crc, csize, usize,
                 len(name), 0, 0, 0, 0, attributes, 0]
    e.name = name
    e.central_extra = b""
    e.comment = b""
    return e


def encrypt(data, password, check):
    """The traditional zip encryption with a fixed header, so that a wrong
    password fails its check byte the same way on every run."""
    table = [0] * 256
    for n in range(256):
        c = n
        for _ in range(8):
            c = (c >> 1) ^ 0xEDB88320 if c & 1 else c >> 1
        table[n] = c
    keys = [0x12345678, 0x23456789, 0x34567890]

    def update(byte):
        keys[0] = table[(keys[0] ^ byte) & 0xFF] ^ (keys[0] >> 8)
        keys[1] = ((keys[1] + (keys[0] & 0xFF)) * 134775813 + 1) & 0xFFFFFFFF
        keys[2] = table[(keys[2] ^ (keys[1] >> 24)) & 0xFF] ^ (keys[2] >> 8)

    for byte in password.encode():
        update(byte)
    out = bytearray()
    for byte in bytes(range(11)) + bytes([check]) + data:
        temp = (keys[2] & 0xFFFF) | 2
        out.append(byte ^ ((temp * (temp ^ 1)) >> 8) & 0xFF)
        update(byte)
    return bytes(out)


def encrypted_entry(name, data, method, flags):
    e = stored_entry(name, data, method=method, flags=1 | flags)
    crc = e.local[5]
    check = (e.local[4] >> 8) & 0xFF if flags & 8 else crc >> 24
    e.data = encrypt(e.data, PASSWORD, check)
    e.local[6] = e.central[7] = len(e.data)
    if flags & 8:
        e.descriptor = struct.pack("<IIII", 0x08074B50, crc, len(e.data), len(data))
    return e


def find(entries, name):
    return next(e for e in entries if e.name == name.encode())


def write(folder, name, blob):
    with open(os.path.join(folder, name), "wb") as out:
        out.write(blob)


def ut_block(flags, *times, size=None):
    body = bytes([flags]) + b"".join(struct.pack("<I", t) for t in times)
    return b"UT" + struct.pack("<H", len(body) if size is None else size) + body


# --- The fixtures ----------------------------------------------------------

def main(out):
    os.makedirs(out, exist_ok=True)
    tree = os.path.join(out, "tree")
    names = make_tree(tree)
    path = lambda name: os.path.join(out, name)

    run_zip(tree, path("stored.zip"), ["-0"], names)
    run_zip(tree, path("deflated.zip"), [], names)
    run_zip(tree, path("notime.zip"), ["-X"], names)
    run_zip(tree, path("encrypted.zip"), ["-P", PASSWORD], names)
    comment = "".join("comment line %03d\n" % i for i in range(200)).encode()
    shutil.copy(path("deflated.zip"), path("comment.zip"))
    subprocess.run(["zip", "-q", "-z", path("comment.zip")], input=comment, check=True)

    with open(path("deflated.zip"), "rb") as f:
        deflated = f.read()
    with open(path("stored.zip"), "rb") as f:
        stored = f.read()
    # A self-extractor: a program in front of the archive. zip -A moves the
    # offsets to count from the start of the file; without it they count from
    # the start of the archive.
    stub = b"MZ" + bytes(range(256)) * 16
    write(out, "prefixed.zip", stub + deflated)
    write(out, "sfx.zip", stub + deflated)
    subprocess.run(["zip", "-q", "-A", path("sfx.zip")], check=True, stdout=subprocess.DEVNULL)

    # Cut short, or not an archive at all.
    write(out, "cut-half.zip", deflated[:len(deflated) // 2])
    write(out, "cut-end.zip", deflated[:-10])
    write(out, "tiny.zip", b"PK\x05")
    write(out, "empty.zip", b"")
    write(out, "notzip.txt", b"This is plain text and no archive at all.\n" * 20)

    # End records that lie.
    entries, _ = parse(stored)
    write(out, "count-mismatch.zip", build(entries, end_fields={3: lambda n: n - 1}))
    write(out, "disk.zip", build(entries, end_fields={1: 1}))
    write(out, "count-too-big.zip", build(entries, end_fields={3: lambda n: n + 3, 4: lambda n: n + 3}))
    write(out, "cd-size.zip", build(entries, end_fields={5: lambda n: n + 5}))
    write(out, "cd-offset.zip", build(entries, end_fields={6: lambda n: n - 5}))
    write(out, "cd-after-end.zip", build(entries, end_fields={6: lambda n: n + 1000}))

    # Broken entries of an otherwise good archive (the stored one: its data
    # bytes are the files' bytes).
    entries, _ = parse(stored)
    readme, readonly = find(entries, "readme.txt"), find(entries, "readonly.txt")
    text, noise = find(entries, "data/text.txt"), find(entries, "data/noise.bin")
    leaf = find(entries, "data/deep/nested/leaf.txt")
    readme.local[0] ^= 0xFF                      # local signature
    readonly.local[3] = 8                        # method differs from the central one
    text.local[5] ^= 1                           # CRC differs from the central one
    leaf.local_name = leaf.local_name + b"x"     # name length differs
    build(entries)
    noise.keep_offset = True
    noise.central[15] = noise.offset + 3         # offset points into the middle of a header
    write(out, "bad-local.zip", build(entries))

    # Data that does not match its CRC-32: a changed CRC in both headers, and
    # a changed byte in the middle of a stored entry of several chunks.
    entries, _ = parse(stored)
    find(entries, "readme.txt").local[5] ^= 0x10000
    find(entries, "readme.txt").central[6] ^= 0x10000
    text = find(entries, "data/text.txt")
    text.data = text.data[:20000] + bytes([text.data[20000] ^ 0x20]) + text.data[20001:]
    write(out, "bad-crc.zip", build(entries))

    # Sizes that lie: one entry says one byte less than its data, another
    # 100 bytes more; and one says 600 MiB.
    entries, _ = parse(deflated)
    text, noise = find(entries, "data/text.txt"), find(entries, "data/noise.bin")
    text.local[7] -= 1
    text.central[8] -= 1
    noise.local[7] += 100
    noise.central[8] += 100
    readme = find(entries, "readme.txt")
    readme.local[7] = readme.central[8] = 600 * 1024 * 1024
    write(out, "bad-sizes.zip", build(entries))

    # A deflated entry whose stream is garbage (a block of the reserved type).
    entries, _ = parse(deflated)
    text = find(entries, "data/text.txt")
    text.data = b"\xff" * 8 + text.data[8:]
    write(out, "bad-deflate.zip", build(entries))

    # A local extra field that runs past the end of the archive.
    entries, _ = parse(stored)
    entries[-1].local[9] = 0xFFFF
    write(out, "bad-extra.zip", build(entries, keep_lengths=True))

    # Names: what cleaning keeps and what must never be written to a path.
    named = [
        "good.txt", "../evil1.txt", "..\\evil2.txt", "a/../../evil3.txt", "sub/..", "x:y.txt", "ab:cd.txt",
        "C:\\dir\\..\\clean1.txt", "/abs/clean2.txt", "sub/../", "CON", "con.txt", "data/Nul.log",
        "COM1.txt", "lpt9", "AUX", "PRN.doc", "com10.txt", "sub\\..\\..\\evil4.txt", "...",
        "console.txt",
    ]
    write(out, "names.zip", build([stored_entry(n, n.encode("latin-1") + b"\n") for n in named]))

    # Extended timestamps at and past the edges of their field.
    big_block = b"xy" + struct.pack("<H", 300) + bytes(300)
    extras = [
        ("mtime-only", ut_block(1, 1500000000)),
        ("all-three", ut_block(7, 1500000000, 1500000100, 1500000200)),
        ("flags-only", ut_block(7)),                               # no times at all
        ("cut-field", ut_block(7, 1500000000, 1500000100)[:-2]),   # second time cut by the field's end
        ("block-claims-more", ut_block(3, 1500000000, size=200)),  # the block says 200, the field ends
        ("block-smaller", ut_block(3, 1500000000, 1500000100, size=5)),  # only the mtime is inside the block
        ("after-big-block", big_block + ut_block(1, 1500000000)),
        ("behind-other", b"ab" + struct.pack("<H", 2) + b"zz" + ut_block(1, 1500000000)),
        ("header-only", b"UT" + struct.pack("<H", 0)),
        ("truncated-header", b"xyz" + b"UT"),
    ]
    write(out, "extra.zip", build([stored_entry(n, b"x", extra=x) for n, x in extras]))

    # Attributes as other systems write them.
    attributes = [
        ("dos-all.txt", 0x0014, 0x27),                    # MS-DOS: read-only, hidden, system, archive
        ("dos-dir/", 0x0014, 0x10),
        ("ntfs-hidden.txt", 0x0B14, 0x22),                # host 11 counts as DOS bits
        ("unix-dir/", 0x0314, (0o040755 << 16) | 0x10),   # bits 30 and 23
        ("unix-readonly.txt", 0x0314, 0o100444 << 16),
        ("unix-plain.txt", 0x0314, 0o100644 << 16),
    ]
    write(out, "attributes.zip",
          build([stored_entry(n, b"" if n.endswith("/") else b"a\n", made_by=m, attributes=a)
                 for n, m, a in attributes]))

    # Encrypted entries with a known header: check byte from the CRC-32, and
    # from the time when the CRC-32 follows the data (flag bit 3).
    secret = b"the secret text " * 50
    write(out, "crypt.zip", build([encrypted_entry("crc-check.txt", secret, 0, 0),
                                   encrypted_entry("time-check.txt", secret, 8, 8),
                                   encrypted_entry("empty.txt", b"", 0, 0)]))

    # An archive of no entries: only the end record.
    write(out, "no-entries.zip", build([]))

    with open(path("stamp"), "w") as f:
        f.write("done\n")


if __name__ == "__main__":
    main(sys.argv[1])
