#!/usr/bin/env python3
"""Writes the learner's ZIP, the same bytes from the same inputs on any day:

    make_zip.py OUT.zip FOLDER NAME=FILE...

Each FILE goes in as FOLDER/NAME, in the order given. Every entry carries the
time SOURCE_DATE_EPOCH names (UTC), and nothing of the build machine: no
owner, the same permissions for every file, no extra fields.

A name that is not ASCII is stored in UTF-8 with the language encoding flag
(general purpose bit 11) set, which tells an extractor so; without the flag,
Windows reads the bytes in the OEM code page of whoever unpacks the ZIP (936
on a Chinese Windows, 437 on an English one), and no single choice of bytes
would be right on both.

The arguments are taken as the UTF-8 bytes the build passes, whatever the
locale: Python decodes them with the locale's encoding, which would store
成语.txt twice encoded under ISO-8859-1, garbled under GB18030, and not at all
under GBK.
"""
import os
import stat
import sys
import time
import zipfile

# The earliest time a ZIP entry can hold (MS-DOS dates start in 1980).
EARLIEST = (1980, 1, 1, 0, 0, 0)


def entry_time():
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if epoch is None:
        sys.exit("make_zip.py: SOURCE_DATE_EPOCH is not set")
    return max(EARLIEST, time.gmtime(int(epoch))[:6])


def utf8_text(argument):
    """The text an argument's bytes spell in UTF-8: os.fsencode gives them
    back exactly as they came, whatever the locale decoded them as."""
    try:
        return os.fsencode(argument).decode("utf-8")
    except UnicodeDecodeError:
        sys.exit(f"make_zip.py: not UTF-8: {argument!r}")


def main(args):
    # Paths are opened as given (Python turns them back into their bytes);
    # the names in the ZIP are the arguments' bytes read as UTF-8.
    if len(args) < 3 or any("=" not in item for item in args[2:]):
        sys.exit(__doc__)
    out, folder = args[0], utf8_text(args[1])
    stamp = entry_time()
    temporary = out + ".part"
    with zipfile.ZipFile(temporary, "w") as archive:
        for item in args[2:]:
            name, path = item.split("=", 1)
            name = utf8_text(name)
            info = zipfile.ZipInfo(f"{folder}/{name}", date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            # Made on Unix, a plain file readable by all: Info-ZIP's unzip
            # reads the name of an entry made on MS-DOS as OEM code page
            # text, even with the UTF-8 flag, and turns it into Latin-1.
            info.create_system = 3
            info.external_attr = (stat.S_IFREG | 0o644) << 16
            with open(path, "rb") as source:
                archive.writestr(info, source.read(), compresslevel=9)
    os.replace(temporary, out)


if __name__ == "__main__":
    main(sys.argv[1:])
