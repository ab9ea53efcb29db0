# Writes the broken pictures of the corpus from the good ones.
import struct, zlib

def chunk(kind, data, crc=None):
    c = zlib.crc32(kind + data) & 0xffffffff if crc is None else crc
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', c)

sig = b'\x89PNG\r\n\x1a\n'
good = open('good.png', 'rb').read()
open('empty.png', 'wb').write(b'')
open('not_a_picture.png', 'wb').write(b'This is a text file, not a picture.\n' * 4)
open('signature_only.png', 'wb').write(sig)
open('truncated.png', 'wb').write(good[:len(good) // 2])
ihdr = struct.pack('>IIBBBBB', 4, 4, 8, 6, 0, 0, 0)
idat = zlib.compress(b''.join(b'\x00' + b'\xff\x00\x00\xff' * 4 for _ in range(4)))
open('bad_crc.png', 'wb').write(sig + chunk(b'IHDR', ihdr, 0x12345678) + chunk(b'IDAT', idat) + chunk(b'IEND', b''))
huge = struct.pack('>IIBBBBB', 100000, 100000, 8, 6, 0, 0, 0)
open('huge.png', 'wb').write(sig + chunk(b'IHDR', huge) + chunk(b'IDAT', idat) + chunk(b'IEND', b''))
open('bad_idat.png', 'wb').write(sig + chunk(b'IHDR', ihdr) + chunk(b'IDAT', b'\x78\x9c garbage here') + chunk(b'IEND', b''))

jpg = open('baseline.jpg', 'rb').read()
open('truncated.jpg', 'wb').write(jpg[:len(jpg) // 2])
open('header_only.jpg', 'wb').write(jpg[:20])
# Claim 60000 x 60000 in the frame header.
i = jpg.find(b'\xff\xc0')
big = bytearray(jpg)
big[i + 5:i + 9] = struct.pack('>HH', 60000, 60000)
open('huge.jpg', 'wb').write(bytes(big))
bad = bytearray(jpg)
for k in range(i + 2, i + 12):
    bad[k] = 0xff
open('corrupt_frame.jpg', 'wb').write(bytes(bad))

def bmp(width, height, bits, offset=None, compression=0, colors=0, pixels=b'', size_override=None):
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, compression, len(pixels), 3780, 3780, colors, 0)
    palette = b'' if bits > 8 else b'\x00\x00\xff\x00' * (colors or (1 << bits))
    off = 14 + 40 + len(palette) if offset is None else offset
    body = info + palette + pixels
    size = 14 + len(body) if size_override is None else size_override
    return b'BM' + struct.pack('<IHHI', size, 0, 0, off) + body

row24 = b'\x00\x00\xff' * 4
open('good24.bmp', 'wb').write(bmp(4, 2, 24, pixels=row24 * 2))
open('bad_offset.bmp', 'wb').write(bmp(4, 2, 24, offset=0x7fffffff, pixels=row24 * 2))
open('offset_inside_header.bmp', 'wb').write(bmp(4, 2, 24, offset=10, pixels=row24 * 2))
open('huge.bmp', 'wb').write(bmp(100000, 100000, 24, pixels=row24))
open('bad_bitcount.bmp', 'wb').write(bmp(4, 2, 7, pixels=row24 * 2))
open('zero_bitcount.bmp', 'wb').write(bmp(4, 2, 0, pixels=row24 * 2))
open('truncated_pixels.bmp', 'wb').write(bmp(4, 200, 24, pixels=row24 * 2))
open('rle8.bmp', 'wb').write(bmp(4, 2, 8, compression=1, pixels=b'\x00\x01' * 8))
open('palette_too_big.bmp', 'wb').write(bmp(4, 2, 8, colors=1000, pixels=b'\x00' * 8))
open('zero_width.bmp', 'wb').write(bmp(0, 2, 24, pixels=row24 * 2))
open('header_cut.bmp', 'wb').write(bmp(4, 2, 24, pixels=row24 * 2)[:30])
