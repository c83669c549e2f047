#!/usr/bin/env python3
"""The ZIP's Chinese file name comes out right: Debian's unzip and 7z unpack
成语.txt under that name, with the starter dictionary's bytes in it, and the
name fields hold the bytes chosen for it: UTF-8, with the language encoding
flag (general purpose bit 11) set, in the local header and in the central
directory alike; ASCII names carry no flag.

    zip_names_test.py ZIP DATA_DIR
"""
import os
import struct
import subprocess
import sys
import tempfile

UTF8_FLAG = 0x800
failures = 0


def check(what, ok, detail=""):
    global failures
    print(("ok: " if ok else "FAIL: ") + what + (f" ({detail})" if detail and not ok else ""))
    failures += 0 if ok else 1


def raw_names(data):
    """(flags, name bytes) of each entry, from the central directory and
    from the local header it points at, read from the bytes themselves."""
    end = data.rindex(b"PK\x05\x06")
    count, _, offset = struct.unpack_from("<HII", data, end + 10)
    entries = []
    for _ in range(count):
        assert data[offset:offset + 4] == b"PK\x01\x02", "central directory entry"
        flags = struct.unpack_from("<H", data, offset + 8)[0]
        name_len, extra_len, comment_len = struct.unpack_from("<HHH", data, offset + 28)
        local = struct.unpack_from("<I", data, offset + 42)[0]
        name = data[offset + 46:offset + 46 + name_len]
        assert data[local:local + 4] == b"PK\x03\x04", "local header"
        local_flags = struct.unpack_from("<H", data, local + 6)[0]
        local_len = struct.unpack_from("<H", data, local + 26)[0]
        local_name = data[local + 30:local + 30 + local_len]
        entries.append((flags, name, local_flags, local_name))
        offset += 46 + name_len + extra_len + comment_len
    return entries


def unpacked_names(command, archive):
    """The files an extractor makes, as bytes, and the dictionary's content."""
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(command + [archive], cwd=folder, check=True,
                       stdout=subprocess.DEVNULL,
                       env=dict(os.environ, LC_ALL="C.UTF-8"))
        found, dictionary = [], None
        for root, _, files in os.walk(os.fsencode(folder)):
            for name in files:
                found.append(name)
                if name == "成语.txt".encode():
                    dictionary = open(os.path.join(root, name), "rb").read()
        return sorted(found), dictionary


def main(archive, data_dir):
    starter = open(os.path.join(data_dir, "成语.txt"), "rb").read()
    expected = sorted(n.encode() for n in ["quendril.exe", "成语.txt", "README.txt",
                                           "idiomtool.exe"])
    for tool, command in [("unzip", ["unzip", "-q"]), ("7z", ["7z", "x", "-bd"])]:
        names, dictionary = unpacked_names(command, archive)
        check(f"{tool} unpacks the four files under their names", names == expected,
              f"{names}")
        check(f"{tool} unpacks 成语.txt with the starter dictionary in it",
              dictionary == starter)

    folder = os.path.basename(archive)[:-len(".zip")].encode()
    entries = raw_names(open(archive, "rb").read())
    chinese = [e for e in entries if e[1] == folder + "/成语.txt".encode("utf-8")]
    check("the dictionary's name field is its UTF-8 bytes, in the package's folder",
          len(chinese) == 1, f"{[e[1] for e in entries]}")
    for flags, name, local_flags, local_name in entries:
        ascii_name = all(b < 0x80 for b in name)
        check(f"{name!r}: the local header holds the same name", local_name == name)
        check(f"{name!r}: the UTF-8 flag is {'clear' if ascii_name else 'set'}, "
              "in both headers",
              bool(flags & UTF8_FLAG) != ascii_name and
              bool(local_flags & UTF8_FLAG) != ascii_name, f"{flags:#x}, {local_flags:#x}")
    print(f"zip names: {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(os.path.abspath(sys.argv[1]), sys.argv[2]))
