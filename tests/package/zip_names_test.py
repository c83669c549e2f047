#!/usr/bin/env python3
"""The ZIP's Chinese file name comes out right: Debian's unzip and 7z unpack
成语.txt under that name, with the starter dictionary in it; and its name
field, in the central directory and in the local header alike, holds the
bytes chosen for it: UTF-8, with the language encoding flag (bit 11) set.
ASCII names carry no flag. make_zip.py stores the same names whatever the
locale it runs in: ASCII, and each non-UTF-8 locale installed here.

    zip_names_test.py ZIP DATA_DIR
"""
import os
import struct
import subprocess
import sys
import tempfile

UTF8_FLAG = 0x800


def raw_entries(data):
    """(flags, name) from each central directory entry and from the local
    header it points at, read from the bytes themselves."""
    end = data.rindex(b"PK\x05\x06")
    count, _, offset = struct.unpack_from("<HII", data, end + 10)
    for _ in range(count):
        flags, = struct.unpack_from("<H", data, offset + 8)
        name_len, extra_len, comment_len = struct.unpack_from("<HHH", data, offset + 28)
        local, = struct.unpack_from("<I", data, offset + 42)
        local_flags, = struct.unpack_from("<H", data, local + 6)
        local_len, = struct.unpack_from("<H", data, local + 26)
        yield (flags, data[offset + 46:offset + 46 + name_len])
        yield (local_flags, data[local + 30:local + 30 + local_len])
        offset += 46 + name_len + extra_len + comment_len


def unpacked(command, archive):
    """The file names an extractor makes, as bytes, and the dictionary's bytes."""
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(command + [archive], cwd=folder, check=True, stdout=subprocess.DEVNULL,
                       env=dict(os.environ, LC_ALL="C.UTF-8"))
        names, dictionary = [], None
        for root, _, files in os.walk(os.fsencode(folder)):
            names += files
            if "成语.txt".encode() in files:
                dictionary = open(os.path.join(root, "成语.txt".encode()), "rb").read()
        return sorted(names), dictionary


MAKE_ZIP = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                        "make_zip.py")
# Locales whose encoding is not UTF-8, each as it decodes 成语 (GBK refuses
# the UTF-8 bytes; the others garble them), as far as they are installed.
OTHER_LOCALES = ["zh_CN.GBK", "zh_CN.GB18030", "en_US.ISO-8859-1"]


def installed_locales():
    out = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
    canonical = {name.lower().replace("-", "") for name in out}
    return [name for name in OTHER_LOCALES if name.lower().replace("-", "") in canonical]


def names_made_in(environment, data_dir):
    """The entry names make_zip.py stores when run in that environment."""
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "out.zip")
        run = subprocess.run(
            [sys.executable, MAKE_ZIP, out, "pkg", f"成语.txt={data_dir}/成语.txt",
             f"README.txt={data_dir}/README.txt"],
            env=dict(os.environ, SOURCE_DATE_EPOCH="0", **environment), capture_output=True)
        if run.returncode != 0:
            return run.stderr.decode(errors="replace").strip().splitlines()[-1:]
        return [name for _, name in raw_entries(open(out, "rb").read())]


def main(archive, data_dir):
    failures = 0

    def check(what, ok, detail):
        nonlocal failures
        print(("ok: " if ok else "FAIL: ") + what + ("" if ok else f" ({detail})"))
        failures += not ok

    starter = open(os.path.join(data_dir, "成语.txt"), "rb").read()
    expected = sorted(n.encode() for n in ["quendril.exe", "成语.txt", "README.txt", "idiomtool.exe"])
    for tool, command in [("unzip", ["unzip", "-q"]), ("7z", ["7z", "x", "-bd"])]:
        names, dictionary = unpacked(command, archive)
        check(f"{tool} unpacks the four files under their names, 成语.txt with the starter "
              "dictionary in it", names == expected and dictionary == starter, names)

    folder = os.path.basename(archive)[:-len(".zip")]
    entries = list(raw_entries(open(archive, "rb").read()))
    wanted = {(0 if n.isascii() else UTF8_FLAG, f"{folder}/{n}".encode())
              for n in ["quendril.exe", "成语.txt", "README.txt", "idiomtool.exe"]}
    check("both headers of each entry hold the name's UTF-8 bytes, flagged when not ASCII",
          {(flags & UTF8_FLAG, name) for flags, name in entries} == wanted and len(entries) == 8,
          entries)

    wanted = ["pkg/成语.txt".encode()] * 2 + [b"pkg/README.txt"] * 2
    # Plain ASCII: the C locale with Python's own switch to UTF-8 turned off.
    ascii_c = {"LC_ALL": "C", "PYTHONUTF8": "0", "PYTHONCOERCECLOCALE": "0"}
    environments = [("C, ASCII", ascii_c)] + [(name, {"LC_ALL": name})
                                              for name in installed_locales()]
    for name, environment in environments:
        got = names_made_in(environment, data_dir)
        check(f"make_zip.py under {name} stores 成语.txt as its UTF-8 bytes", got == wanted, got)
    print(f"zip names: {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(os.path.abspath(sys.argv[1]), sys.argv[2]))
