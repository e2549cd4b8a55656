#!/usr/bin/env python3
"""Writes foundation_test.rc: the resources the image tests load (toolbar,
bitmap strips, PNG and icon resources, damaged ones). Run it again after
changing this script; the .rc file is kept in the tree."""
import struct
import zlib

out = []


def block(name, rtype, data, comment):
    if len(data) % 2:
        data += b"\0"
    words = ["0x%04X" % struct.unpack_from("<H", data, i)[0] for i in range(0, len(data), 2)]
    out.append("// %s" % comment)
    out.append("%s %s\nBEGIN" % (name, rtype))
    for i in range(0, len(words), 12):
        out.append("  " + ", ".join(words[i:i + 12]) + ("," if i + 12 < len(words) else ""))
    out.append("END\n")


def dib(width, height, bpp, rows_top_down):
    """A DIB (header + pixels), bottom-up; rows_top_down: list of row bytes."""
    stride = (width * bpp + 31) // 32 * 4
    pixels = b"".join(r.ljust(stride, b"\0") for r in reversed(rows_top_down))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0, len(pixels), 0, 0, 0, 0)
    return header + pixels


def png(width, height, rgba_rows):
    def chunk(t, d):
        return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + r for r in rgba_rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


MAGENTA = bytes([0xFF, 0x00, 0xFF])  # BGR

# Toolbar 128: 12 entries, 2 separators, 10 buttons of 4 x 4.
ids = [100, 101, 0, 102, 103, 104, 0, 105, 106, 107, 108, 109]
block("128", "241", struct.pack("<HHHH", 1, 4, 4, len(ids)) + struct.pack("<%dH" % len(ids), *ids),
      "toolbar: 10 buttons among 12 entries")

# Bitmap 128: the strip, 24-bit, 40 x 4. Button k is colour (k*20, 100, 200)
# (R, G, B) with magenta at its (0, 0) and (1, 1).
rows = []
for y in range(4):
    row = b""
    for x in range(40):
        k, bx = divmod(x, 4)
        if (bx, y) in ((0, 0), (1, 1)):
            row += MAGENTA
        else:
            row += bytes([200, 100, k * 20])  # B, G, R
    rows.append(row)
block("128", "2", dib(40, 4, 24, rows), "bitmap: 24-bit strip of 10 buttons, magenta key")

# Bitmap 129: 32-bit alpha strip 8 x 4, two buttons.
rows = []
for y in range(4):
    row = b""
    for x in range(8):
        if x < 4:
            row += bytes([0, 0, 255, 128 if (x, y) == (0, 0) else 255])
        else:
            row += bytes([0, 255, 0, 64])
    rows.append(row)
block("129", "2", dib(8, 4, 32, rows), "bitmap: 32-bit alpha strip of 2 buttons")

# Bitmap 130: 32-bit, 10 x 4 (not a whole number of 4-pixel buttons).
block("130", "2", dib(10, 4, 32, [bytes([1, 2, 3, 255]) * 10] * 4), "bitmap: 32-bit strip of odd width")

# Bitmap 150: 32-bit header claiming 100 x 100 with 16 bytes of pixels.
block("150", "2", struct.pack("<IiiHHIIiiII", 40, 100, 100, 1, 32, 0, 40000, 0, 0, 0, 0) + b"\x01" * 16,
      "bitmap: damaged 32-bit (pixels missing)")

# PNG 131: 2 x 2 RGBA.
block("131", "PNG", png(2, 2, [bytes([255, 0, 0, 255, 0, 255, 0, 128]), bytes([0, 0, 255, 0, 255, 255, 255, 255])]),
      "PNG: 2 x 2 RGBA")
# PNG 132: too short to be an image.
block("132", "PNG", b"\x89PNG\r\n\x1a\n", "PNG: the signature alone (8 bytes)")

# Icons: group 140 with a 16 x 16 32-bit image (141) and a 32 x 32 24-bit one (142).
xor16 = [bytes([0x10, 0x20, 0x30, 0xFF]) * 8 + bytes([0x40, 0x50, 0x60, 0x80]) * 8] * 16
icon16 = dib(16, 16, 32, xor16)
icon16 = icon16[:8] + struct.pack("<i", 32) + icon16[12:]  # XOR + AND: double height
icon16 += b"\0" * (4 * 16)
xor32 = [bytes([0x00, 0x80, 0xFF]) * 32] * 32
icon32 = dib(32, 32, 24, xor32)
icon32 = icon32[:8] + struct.pack("<i", 64) + icon32[12:]
icon32 += b"\0" * (4 * 32)
block("141", "3", icon16, "icon image: 16 x 16, 32-bit")
block("142", "3", icon32, "icon image: 32 x 32, 24-bit")
group = struct.pack("<HHH", 0, 1, 2)
group += struct.pack("<BBBBHHIH", 16, 16, 0, 0, 1, 32, len(icon16), 141)
group += struct.pack("<BBBBHHIH", 32, 32, 0, 0, 1, 24, len(icon32), 142)
block("140", "14", group, "icon group: 16 x 16 and 32 x 32")

# Toolbar 160 whose bitmap (160) does not exist.
block("160", "241", struct.pack("<HHHHH", 1, 4, 4, 1, 100), "toolbar without a bitmap")

with open("foundation_test.rc", "w") as f:
    f.write("// Test resources of the foundation tests, written by make_test_rc.py.\n\n")
    f.write("\n".join(out))
