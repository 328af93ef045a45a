"""Small pictures built byte by byte, for the fuzz seeds and the bad-input corpus."""
import struct
import zlib


def _chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, colour_type=2, depth=8, rows=None, interlace=0, extra_chunks=()):
    """A PNG; rows (raw scanlines with their filter bytes) default to black pixels."""
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    if rows is None:
        row = b"\0" + bytes((width * channels * depth + 7) // 8)
        rows = row * height
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, interlace)
    out = b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", ihdr)
    for kind, data in extra_chunks:
        out += _chunk(kind, data)
    return out + _chunk(b"IDAT", zlib.compress(rows)) + _chunk(b"IEND", b"")


def png_header_only(width, height):
    """A valid IHDR claiming width x height, then one row's worth of pixel data at most."""
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    idat = zlib.compress(bytes(min(width * 3 + 1, 1024)))
    return b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", ihdr) + _chunk(b"IDAT", idat) + _chunk(b"IEND", b"")


def _lzw_codes(indices, min_code_size):
    """Uncompressed LZW: a clear code before the table would grow, so every code has the same width."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    width = min_code_size + 1
    codes, room = [clear], (1 << width) - (end + 1)
    for i in indices:
        if room == 0:
            codes.append(clear)
            room = (1 << width) - (end + 1)
        codes.append(i)
        room -= 1
    codes.append(end)
    bits, count, out = 0, 0, bytearray()
    for c in codes:
        bits |= c << count
        count += width
        while count >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            count -= 8
    if count:
        out.append(bits & 0xFF)
    blocks = b"".join(bytes([len(out[i:i + 255])]) + bytes(out[i:i + 255]) for i in range(0, len(out), 255))
    return bytes([min_code_size]) + blocks + b"\0"


def gif(width, height, frames=None, palette=b"\0\0\0\xff\0\0\0\xff\0\0\0\xff", loop=False, interlace=False):
    """A GIF with a global palette of four colours; frames: (left, top, w, h, transparent index or None)."""
    frames = frames if frames is not None else [(0, 0, width, height, None)]
    out = b"GIF89a" + struct.pack("<HHBBB", width, height, 0xF1, 0, 0) + palette
    if loop:
        out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    for left, top, w, h, transparent in frames:
        if transparent is not None:
            out += b"\x21\xf9\x04" + bytes([0x09, 10, 0, transparent]) + b"\0"
        out += b"\x2c" + struct.pack("<HHHHB", left, top, w, h, 0x40 if interlace else 0)
        out += _lzw_codes([(x + y) % 4 for y in range(h) for x in range(w)], 2)
    return out + b"\x3b"


def bmp(width, height, bits=24, top_down=False, core=False, bitfields=None, pixels=None, compression=0):
    """A BMP; pixels default to zero bytes, palettes to a grey ramp. compression 1 and 2 (RLE8, RLE4) take
    their pixels as the run-length codes."""
    row = (width * bits + 31) // 32 * 4
    palette = b""
    if bits <= 8:
        entry = 3 if core else 4
        palette = b"".join(bytes([i * 255 // ((1 << bits) - 1)] * 3) + b"\0" * (entry - 3) for i in range(1 << bits))
    if core:
        header = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        compression = 3 if bitfields else compression
        header = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits, compression,
                             (row * height) & 0xFFFFFFFF, 2835, 2835, 0, 0)
        if bitfields:
            header += struct.pack("<III", *bitfields)
    data = pixels if pixels is not None else bytes(row * height)
    offset = 14 + len(header) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + header + palette + data


def jpeg_with_size(jpeg, width, height):
    """The JPEG with the dimensions in its start-of-frame marker replaced."""
    i = 2
    while i + 4 <= len(jpeg):
        marker, length = jpeg[i + 1], struct.unpack(">H", jpeg[i + 2:i + 4])[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            return jpeg[:i + 5] + struct.pack(">HH", height, width) + jpeg[i + 9:]
        i += 2 + length
    raise ValueError("no start-of-frame marker")


def corrupt(data, every=7, xor=0x5A, start=None):
    """Bytes flipped at regular steps after start (default: the middle), the header left intact."""
    out = bytearray(data)
    for i in range(start if start is not None else len(out) // 2, len(out), every):
        out[i] ^= xor
    return bytes(out)


def gif_frame_only(screen_width, screen_height, frame_width, frame_height):
    """A GIF whose one image descriptor claims frame_width x frame_height, cut after a little pixel data."""
    start = gif(screen_width, screen_height, frames=[])[:-1]
    descriptor = b"\x2c" + struct.pack("<HHHHB", 0, 0, frame_width, frame_height, 0)
    return start + descriptor + _lzw_codes([0, 1, 2, 3], 2)[:4]


# Small WebP files made once with libwebp (a still lossless one with alpha, lossy ones with and without
# alpha, a two-frame animation), as hexadecimal.
WEBP = {
    "lossless-alpha": "524946464c000000574542505650384c3f0000002f024000102f40986d1c7bcfe1000a7284d9c6319101f4751447906d23328082dc9fe22004d9b631910114e4068ff6af02f8378080844cc9270344f43f360000",
    "lossy": "5249464650000000574542505650382044000000b001009d012a0400030002c04c25b00274010ef6c4c800fd52110b5067daed8c2fad658abf04a02809f9c5bacecb4d77b2413b7e6f97626fc66c70b23be3e0ad891c0000",
    "lossy-alpha": "524946465c00000057454250565038580a00000010000000010000010000414c504805000000006f03972b005650382030000000d001009d012a0200020001402625880274010efe03c80000fe0bdc5d8ba7fd57107e101582dbf1bfd5af932313400000",
    "animated": "52494646ce00000057454250565038580a00000012000000010000010000414e494d06000000ffffffff0200414e4d4650000000000000000000010000010000640000025650384c370000002f014000101f202420ee1867b0ea95908068b61867b039020162479c442172080428ee14d70c3627a6f637870005691bb0a8bb11fd8f0700414e4d464a000000000000000000010000010000640000025650384c320000002f014000101f20164c43772603492c9886747645914020d109647f8a410402694827900d8e7af8022848db8045fb8be87fe8",
}


def webp_with_canvas(data, width, height):
    """The animated WebP with its VP8X canvas claiming width x height (at most 2^24 each)."""
    out = bytearray(data)
    at = out.index(b"VP8X") + 12
    out[at:at + 6] = (width - 1).to_bytes(3, "little") + (height - 1).to_bytes(3, "little")
    return bytes(out)
