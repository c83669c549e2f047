#!/usr/bin/env python3
"""Writes the hostile dictionaries: one folder per case under OUTDIR, each
holding the "成语.txt" the program finds in its current directory (the name is
UTF-8 here; Wine shows it to Windows programs as the Unicode name).

    scripts/make_hostile_corpus.py OUTDIR

The files are made, not stored: some are far too large for the repository. A
stamp holding this script's checksum marks a finished corpus, so a second run
with an unchanged script returns at once. Nothing here knows what the program
will show: the test works that out from the files themselves.
"""

import functools
import hashlib
import os
import random
import shutil
import sys

NAME = "成语.txt"
STAMP = ".corpus-stamp"


def gbk(text):
    return text.encode("gbk")


def write_case(out, name, data):
    """Writes one case's dictionary: bytes, or an iterable of byte chunks."""
    folder = os.path.join(out, name)
    os.makedirs(folder)
    with open(os.path.join(folder, NAME), "wb") as f:
        if isinstance(data, (bytes, bytearray)):
            f.write(data)
        else:
            for chunk in data:
                f.write(chunk)


# Well-formed entries, written for these tests, used where a case needs
# ordinary text around its damage.
GOOD = [
    "一心一意 [yī xīn yī yì]形容心思专一，没有别的念头。出处：《三国志》。示例：他一心一意地学习。",
    "画蛇添足 [huà shé tiān zú]比喻做了多余的事，反而不好。出处：《战国策》。示例：无",
    "守株待兔 [shǒu zhū dài tù]比喻死守经验，不知变通。出处：《韩非子》。示例：无论如何不能守株待兔。",
    "亡羊补牢 [wáng yáng bǔ láo]出了问题以后想办法补救。出处：《战国策》。示例：现在亡羊补牢，还不算晚。",
    "对牛弹琴 [duì niú tán qín]比喻说话不看对象。示例：无出处：《理惑论》。",
]


# One line of 100 MB: a pronunciation, then an explanation far longer than any
# edit control is meant to hold, with a source and example at its very end.
def huge_line():
    head = gbk("海纳百川 [hǎi nà bǎi chuān]")
    tail = gbk("出处：晋·袁宏《三国名臣序赞》。示例：无")
    body = gbk("大海容纳成百上千条河流，比喻包容的东西非常广泛，数量很大。")
    total = 100 * 1024 * 1024
    room = total - len(head) - len(tail)
    yield head
    block = body * (1024 * 1024 // len(body))
    while room >= len(block):
        yield block
        room -= len(block)
    yield body * (room // len(body))
    yield b"x" * (room % len(body))
    yield tail


# Every line ends in a lone GBK lead byte, and some lead bytes stand right
# before the separators, swallowing them as the second half of a character.
def lead_byte_lines():
    leads = [b"\x81", b"\xA1", b"\xB3", b"\xCE", b"\xFE"]
    shapes = [
        lambda b: gbk(GOOD[0]) + b,
        lambda b: gbk("甲乙") + b + gbk(" [jiǎ yǐ]释义 [x]后面") + b,
        lambda b: gbk("甲 [jiǎ") + b + gbk("]乙]释义") + b,
        lambda b: gbk("甲 [jiǎ]出处") + b,
        lambda b: gbk("甲 [jiǎ]示例：") + b,
        lambda b: gbk("甲 [jiǎ]示例：无") + b,
        lambda b: b,
        lambda b: b * 3,
        lambda b: b + b" " + b,
    ]
    ends = [b"\n", b"\r\n", b" \n", b"\t\r\n"]
    lines = []
    for i in range(180):  # every shape with every lead byte and line end
        lead = leads[i % len(leads)]
        shape = shapes[i % len(shapes)]
        lines.append(shape(lead) + ends[i % len(ends)])
    return b"".join(lines)


# Lines that begin with the second half of a character, so that every
# character after it is read one byte off.
def trail_byte_lines():
    lines = []
    for i, text in enumerate(GOOD * 20):
        whole = gbk(text)
        if i % 3 == 0:
            lines.append(whole[1:])
        elif i % 3 == 1:
            lines.append(bytes([0x40 + i % 0x3F]) + whole)
        else:
            lines.append(b"\x80" + whole[3:])
        lines.append(b"\n")
    lines.append(b"\xB3" + gbk("出处") * 50 + b"\n")
    lines.append(b"\xC4" + gbk("示例：无") * 50 + b"\n")
    return b"".join(lines)


# Fields of exactly the lengths (in UTF-16 characters, as shown) around the
# limits of edit controls: Wine's default of 30000 characters, Windows' 32767,
# and 65535. The explanations are cut into paragraphs of 100 characters by
# "出处" markers (each laid out as CR LF CR LF 出处), because one paragraph of
# that length is a different case: see "brackets".
def edit_limit_lines():
    lines = []
    for n in (29999, 30000, 30001, 32767, 32768, 65535, 65536, 100000):
        lines.append(b"i" * (n - 1) + b"!" + gbk(" [cí]解") + b"\n")
        lines.append(gbk("词 [") + b"p" * (n - 3) + gbk("]解") + b"\n")
        paragraph = gbk("出处") + b"e" * 94  # 100 characters once laid out
        lines.append(gbk("词 [cí]") + b"e" * (n % 100) + paragraph * (n // 100) + b"\n")
    return b"".join(lines)


def write_corpus(out):
    """Writes every case into `out`, an empty folder."""
    case = functools.partial(write_case, out)

    # Nothing at all: no entry.
    case("empty", b"")

    # One LF: one empty entry, and no second one after it.
    case("only-lf", b"\n")

    # CR alone does not end a line: one line, trimmed away to nothing.
    case("only-cr", b"\r" * 4096)

    case("huge-line", huge_line())

    # 10 MB of NUL: one line, ended at once by its first byte.
    case("nul-10mb", b"\0" * (10 * 1024 * 1024))

    # NUL inside lines: the rest of such a line is dropped, then the line trimmed.
    case("nul-inside", b"".join([
        gbk(GOOD[0][:20]) + b"\0" + gbk("出处：不该看到") + b"\n",
        b"\0" + gbk(GOOD[1]) + b"\n",
        gbk("词 [cí]释义 \t") + b"\0" + b"tail\r\n",
        gbk(GOOD[2]) + b"\n",
        gbk("甲") + b"\xB3\0\xF6" + gbk("乙 [yǐ]") + b"\n",
    ]))

    # Random bytes from a fixed seed.
    case("random-bytes", random.Random(20240607).randbytes(3 * 1024 * 1024))

    case("lead-byte-ends", lead_byte_lines())

    case("trail-byte-starts", trail_byte_lines())

    # UTF-8 with a byte order mark, taken byte for byte as if it were GBK.
    case("utf8-bom", b"\xEF\xBB\xBF" + "\r\n".join(GOOD * 4).encode("utf-8") + b"\r\n")

    # UTF-16LE with a byte order mark: every LF is followed by a NUL.
    case("utf16le-bom", b"\xFF\xFE" + "\r\n".join(GOOD * 4).encode("utf-16-le"))

    # A million empty lines.
    case("million-empty-lines", b"\n" * 1000000)

    # Two hundred thousand distinct short entries.
    case("many-lines", b"".join(
        gbk("词%d [c%d]解%d出处%d示例：无\r\n" % (i, i, i, i)) for i in range(200000)))

    # A million "]" in one line, with and without a space before them; a million
    # "[" with no "]" at all; half a million "]" each hidden as the second byte of
    # a character. Each leaves an explanation of about a million characters with
    # no line break in it: one paragraph for the explanation box to wrap.
    case("brackets", b"".join([
        b"]" * 1000000 + b"\n",
        gbk("词 ") + b"]" * 1000000 + b"\n",
        b"[" * 1000000 + b"\n",
        gbk("词 [") + b"\xA1]" * 500000 + b"\n",
    ]))

    # A hundred thousand "出处": every one gets a blank line before it. Read one
    # byte off (the last line), none of them is a marker.
    case("source-run", b"".join([
        gbk("词 [cí]") + gbk("出处") * 100000 + b"\n",
        gbk("出处：") * 100000 + b"\n",
        b"\xB3" + gbk("出处") * 5000 + b"\n",
    ]))

    # A hundred thousand "示例：无" in a row, ending in different ways.
    case("no-example-run", b"".join([
        gbk("词 [cí]") + gbk("示例：无") * 100000 + b"\n",
        gbk("词 [cí]") + gbk("示例：无") * 100000 + gbk("论") + b"\n",
        gbk("词 [cí]") + gbk("示例：无") * 100000 + gbk("示例：句") + b"\n",
        gbk("示例：无论") * 100000 + b"\n",
    ]))

    # A directory where the file should be.
    os.makedirs(os.path.join(out, "directory", NAME, "inside"))
    with open(os.path.join(out, "directory", NAME, "inside", NAME), "wb") as f:
        f.write(gbk(GOOD[0]) + b"\n")

    # An ordinary dictionary that the test holds open with no sharing while the
    # program starts: the program cannot open it, and must not show its entries.
    case("locked-no-sharing", gbk("\r\n".join(GOOD)) + b"\r\n")

    # A file that opens but cannot be read, as on a failing disk: a link to the
    # reading process's own memory, whose first page is never mapped, so the very
    # first read fails with an I/O error.
    os.makedirs(os.path.join(out, "read-error"))
    os.symlink("/proc/self/mem", os.path.join(out, "read-error", NAME))

    # A dictionary saved with old Macintosh line ends: CR alone ends no line, so
    # the whole file is one entry, its explanation broken up by the markers.
    case("cr-line-ends", gbk("\r".join(GOOD * 400)) + b"\r")

    # Every way of ending a line, and none.
    case("mixed-eol", b"".join([
        gbk("甲\r乙 [a\rb]丙\r丁") + b"\n",
        gbk(GOOD[0]) + b"\r\n",
        gbk(GOOD[1]) + b"\r\r\n",
        gbk(GOOD[2]) + b"\n\r",
        b"\r" + gbk(GOOD[3]) + b"\r",
        b"\n\n\r\n",
        gbk("末 [mò]最后一行没有换行 \t\v\f\r"),
    ]))

    # White space: lines of nothing else, leading white space kept, a full-width
    # space (not white space to the trimming) kept at the end.
    case("whitespace", b"".join([
        b"   \n", b"\t\t\n", b"\v\f\r\n", b" \t \v \f \r\r\n",
        b"  " + gbk(GOOD[0]) + b"\n",
        b"\t" + gbk("甲 [jiǎ]乙") + b"\n",
        b"\v" + gbk("甲") + b"\n",
        gbk("词　 [cí]　") + b"\n",
        gbk("词 [cí]") + b"\xA1\xA1" + b" \n",
    ]))

    case("edit-limits", edit_limit_lines())

    # An idiom of a million characters, no space in it before the pronunciation.
    case("long-idiom", gbk("成") * 1000000 + gbk(" [chéng]解") + b"\n" + gbk(GOOD[0]) + b"\n")

    # Bytes outside GBK's two-byte ranges and GB18030 four-byte sequences.
    case("odd-bytes", b"".join([
        b"\x80\xFF\x80 [\xFF]\x80\n",
        b"\x81\x30\x81\x30 [\x81\x30]\x81\x30\xB3\xF6\xB4\xA6\n",
        b"\xFF" * 1000 + b"\n",
        bytes(range(1, 256)).replace(b"\n", b"") + b"\n",
        b"\x7F\x1B[31m [x]\x07\x08\n",
    ]))


def main(argv):
    if len(argv) != 2:
        print(f"usage: {argv[0]} OUTDIR", file=sys.stderr)
        return 2
    out = argv[1]
    with open(os.path.abspath(__file__), "rb") as script:
        checksum = hashlib.sha256(script.read()).hexdigest()
    stamp = os.path.join(out, STAMP)
    try:
        with open(stamp) as f:
            if f.read().strip() == checksum:
                return 0
    except OSError:
        pass
    # A half-written corpus (an interrupted run) is thrown away whole.
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    write_corpus(out)
    with open(stamp, "w") as f:
        f.write(checksum + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
