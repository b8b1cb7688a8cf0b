#!/usr/bin/env python3
"""png_to_ico.py OUT.ico IMAGE.png...: one Windows icon holding each PNG as it is
(Windows Vista and later read PNG images inside .ico files)."""
import struct
import sys


def main(out, pngs):
    images = [open(path, "rb").read() for path in pngs]
    offset = 6 + 16 * len(images)
    head = struct.pack("<HHH", 0, 1, len(images))
    entries = b""
    for data in images:
        width, height = struct.unpack(">II", data[16:24])
        # 0 stands for 256 in the one-byte size fields.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32,
                               len(data), offset)
        offset += len(data)
    with open(out, "wb") as f:
        f.write(head + entries + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
