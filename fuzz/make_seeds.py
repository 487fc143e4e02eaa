#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/corpus/<target>/.

The seeds are the small files the reader tests build (TGA and WAV layouts,
stream operations) and short sequences of engine calls; the PNG images of tests/data/pngsuite are passed to the
fuzzer as a further seed folder by scripts/fuzz. Run it again after changing
a seed here; the output is the same every time.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def tga(image_type, width, height, depth, body, id_length=0, colour_map=0):
    header = struct.pack('<BBBHHBHHHHBB', id_length, colour_map, image_type, 0, 0, 0, 0, 0,
                         width, height, depth, 0)
    return header + b'I' * id_length + body


def tga_seeds():
    return {
        # 2 x 2, 24 bits: file rows (blue, green) then (red, white).
        'raw24': tga(2, 2, 2, 24, bytes([255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255])),
        'raw32': tga(2, 2, 1, 32, bytes([1, 2, 3, 4, 5, 6, 7, 8])),
        'raw16': tga(2, 2, 1, 16, struct.pack('<HH', 0x7FFF, 0x8000)),
        'raw15': tga(2, 1, 2, 15, struct.pack('<HH', 0xFFFF, 0x1234)),
        # Width 4: one raw packet of 2 pixels, one run packet of 2.
        'rle32': tga(10, 4, 1, 32, bytes([1, 1, 2, 3, 4, 5, 6, 7, 8, 0x81, 9, 10, 11, 12])),
        'rle24': tga(10, 3, 2, 24, bytes([0x82, 1, 2, 3, 0x00, 4, 5, 6, 0x81, 7, 8, 9])),
        'rle16': tga(10, 5, 1, 16, bytes([0x84]) + struct.pack('<H', 0x801F)),
        # A packet that runs past the row's end.
        'rle_overrun': tga(10, 2, 2, 32, bytes([0xFF, 1, 2, 3, 4, 0x7F]) + bytes(16)),
        'mapped': tga(1, 3, 3, 24, b''),
        'with_id': tga(2, 1, 1, 24, bytes([9, 8, 7]), id_length=5),
        'truncated': tga(2, 64, 64, 32, bytes(10)),
    }


def wav(fmt_extra=b'', chunks=b'', audio_format=1, channels=2, rate=44100, bits=16, fmt_size=None):
    fmt_body = struct.pack('<HHIIHH', audio_format, channels, rate, rate * channels * bits // 8,
                           channels * bits // 8, bits) + fmt_extra
    size = len(fmt_body) if fmt_size is None else fmt_size
    body = b'WAVE' + b'fmt ' + struct.pack('<I', size) + fmt_body + chunks
    return b'RIFF' + struct.pack('<I', len(body)) + body


def chunk(tag, payload, size=None):
    return tag + struct.pack('<I', len(payload) if size is None else size) + payload


def wav_seeds():
    pcm = bytes(range(40))
    return {
        'stereo16': wav(chunks=chunk(b'data', pcm)),
        'mono8': wav(channels=1, bits=8, rate=8000, chunks=chunk(b'data', bytes([0, 128, 255, 7]))),
        'stereo8': wav(bits=8, chunks=chunk(b'data', bytes(range(10)))),
        'mono16': wav(channels=1, chunks=chunk(b'data', pcm[:8])),
        'fmt18': wav(fmt_extra=b'\0\0', chunks=chunk(b'data', pcm[:8])),
        'list': wav(chunks=chunk(b'LIST', b'INFOISFT\x0e\0\0\0vesk tools\0\0') + chunk(b'data', pcm)),
        'odd_data': wav(chunks=chunk(b'data', pcm[:7])),
        'oversized_data': wav(chunks=chunk(b'data', pcm[:12], size=0x7FFFFFF0)),
        'no_data': wav(),
        'float': wav(audio_format=3, bits=32, chunks=chunk(b'data', pcm)),
    }


NUL = b'\0'


def open_url_seeds():
    # Flags: bit 0 readable, bit 1 writeable, bits 2-3 what stands for the
    # name (0 a name, 1 a memory buffer, 2 an open stream). Operation codes
    # are those of the target's driver, each followed by its arguments.
    read_ops = bytes([8, 8, 0, 20, 6, 1, 6, 2, 2, 0, 0, 0, 0, 10, 5, 12, 3, 14, 0, 4])
    write_ops = bytes([1, 5]) + b'hello' + bytes([9, 3]) + b'abc' + bytes([7, 1, 2, 0, 0, 0, 12, 2, 0, 0, 0, 0, 8, 17])
    return {
        'incbin': b'\x01incbin::\\basic\\sample.bin' + NUL + read_ops,
        'incbin_write': b'\x02incbin::\\basic\\sample.bin' + NUL + write_ops,
        'incbin_nested': b'\x01incbin::a::b' + NUL + read_ops,
        'file_read': b'\x01a' + NUL + read_ops + bytes([17, 15, 7]),
        'file_write': b'\x02written' + NUL + write_ops,
        'file_both': b'\x03a' + NUL + write_ops + read_ops,
        'missing': b'\x01nothing-here' + NUL + read_ops,
        'unknown_protocol': b'\x01zip::a' + NUL + read_ops,
        'buffer': b'\x05' + bytes([6]) + b'abc\ndef' + write_ops + read_ops,
        'borrowed': b'\x0b' + write_ops + bytes([14, 12]) + read_ops,
    }


def buffer_seeds():
    return {
        'grow': bytes([0, 10, 2, 11, 2, 16, 2, 40, 3, 2, 0, 2, 1, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 4, 1, 0, 15]),
        'over_memory': bytes([1, 8]) + b'ABCDEFGH' + bytes([2, 4, 4, 3, 2, 15, 13, 12]),
        'stream': bytes([14, 7, 6]) + b'abcdef' + bytes([5, 2, 0, 0, 0, 6, 10, 8, 1, 1, 2, 3, 4, 8, 0, 15]),
        'shrunk_stream': bytes([7, 8]) + b'12345678' + bytes([2, 2, 6, 4, 7, 2, 8, 0, 5, 0xFF, 0xFF, 0xFF, 0xFF, 15]),
        'copies': bytes([1, 16]) + bytes(range(16)) + bytes([11, 8, 0, 4, 11, 8, 4, 0, 9, 4, 2, 2, 1, 2, 10, 16, 0, 15]),
    }


class ApiCalls:
    """Builds an input for the API target: each call is its operation code
    followed by its arguments, encoded the way the target's driver reads
    them (sizes, coordinates and reals in their plain, non-edge form)."""

    OPS = {'create': 0, 'convert': 1, 'scale': 2, 'window': 3, 'paste': 4, 'mask': 5, 'mirror': 6,
           'pixels': 7, 'image': 8, 'lockable': 9, 'cells': 10, 'lock': 11, 'grab': 12, 'draw': 13,
           'primitive': 14, 'state': 15, 'screen': 16, 'text': 17, 'sound': 18, 'play': 19,
           'channel': 20, 'reserve': 21, 'bad_mode': 22, 'flip': 23}
    EDGES = [-1, -2, 0, 1, -2**31, 2**31 - 1, 1 << 15, 1 << 16, (1 << 16) + 1, 1 << 30, -(1 << 16), 4097, 16385]

    def __init__(self):
        self.data = bytearray()

    def op(self, name, *parts):
        self.data.append(self.OPS[name])
        for part in parts:
            self.data += part
        return self

    @staticmethod
    def byte(value):
        return bytes([value & 0xFF])

    @classmethod
    def size(cls, value, small=255):
        if value < 0 or value > small:
            index = cls.EDGES.index(value)
            shape = next(b for b in range(224, 256) if b % len(cls.EDGES) == index)
            return bytes([shape])
        return bytes([0, value & 0xFF, value >> 8]) if small > 255 else bytes([0, value])

    @staticmethod
    def coordinate(value):
        return bytes([0, value + 16])

    @staticmethod
    def real(value, scale):
        return bytes([0, max(0, min(255, round(value / scale * 128 + 128)))])

    @staticmethod
    def word(value):
        return struct.pack('<I', value & 0xFFFFFFFF)


def api_seeds():
    c, b, size, xy, real = ApiCalls, ApiCalls.byte, ApiCalls.size, ApiCalls.coordinate, ApiCalls.real
    pixmaps = (c().op('create', size(16), size(8), b(6), b(4)) )
    pixmaps.data += bytes(range(8)) + b(0)  # one fill byte a row, then the slot
    pixmaps.op('convert', b(0), b(4), b(1)).op('scale', b(1), size(24), size(12), b(2))
    pixmaps.op('window', b(0), xy(2), xy(2), size(4), size(4), b(3)).op('paste', b(2), b(3), xy(1), xy(1))
    pixmaps.op('mask', b(1), b(0), b(0), b(0), b(1)).op('mirror', b(0), b(1), b(0))
    pixmaps.op('pixels', b(0), b(2), b(3), b(4), c.word(0x80FF0000), b(5), b(6), c.word(0xFF00FF00))

    images = c().op('create', size(8), size(8), b(4), b(4))
    images.data += bytes([0x40] * 8) + b(0)
    images.op('image', b(0), b(7), b(0)).op('lockable', size(12), size(10), size(2), b(0), b(1))
    images.op('cells', b(0), size(4), size(4), size(0), size(3), b(1), b(2))
    images.op('lock', b(1), size(1), b(1), b(1), b(3), b(4), c.word(0xFFFFFFFF))
    images.op('grab', b(1), xy(10), xy(10), size(0))
    images.op('draw', b(0), real(20, 100), real(20, 100), size(0), b(0))
    images.op('draw', b(2), real(5, 100), real(5, 100), size(1), b(1), real(40, 200), real(30, 200))
    images.op('draw', b(1), real(0, 100), real(0, 100), size(0), b(2))
    images.op('state', b(3), real(45, 720), real(2, 4), real(1, 4))
    images.op('primitive', real(30, 100), real(30, 100), real(20, 200), real(10, 200), b(3))
    images.op('primitive', real(10, 100), real(10, 100), real(50, 200), real(40, 200), b(1), b(1))
    images.op('state', b(6), xy(4), xy(4), xy(40), xy(30)).op('state', b(2), b(4))
    images.op('text', b(5), b(ord('S')), b(0), b(ord('c')), b(0), b(ord('o')), b(0), b(ord('r')), b(0),
              b(0xE9), b(0), b(0), real(2, 100), real(40, 100))
    images.op('screen', b(1), xy(0), xy(0), size(16), size(16), b(1)).op('screen', b(0), b(1), real(50, 100), real(30, 100))
    images.op('flip')

    sounds = c().op('sound', size(8, 512), b(1), size(22050, 48000), b(1))
    sounds.data += bytes([0, 64, 128, 192, 255, 128, 64, 0]) + b(1) + b(0)
    sounds.op('play', b(0), b(0), b(1), b(0)).op('channel', b(0), b(2), real(0.5, 4))
    sounds.op('channel', b(0), b(3), real(-1, 2)).op('channel', b(0), b(5), real(2, 8)).op('channel', b(0), b(6))
    sounds.op('reserve', b(1)).op('play', b(0), b(1), b(0), b(1)).op('channel', b(1), b(1), b(0))
    sounds.op('channel', b(1), b(0))

    refusals = c().op('create', size(-1), size(8), b(6), b(4)).op('create', size(1 << 16), size(1 << 16), b(6), b(4))
    refusals.op('create', size(4), size(4), b(0), b(4))
    refusals.data += bytes(4) + b(0)
    refusals.op('window', b(0), xy(3), xy(3), size(4), size(4), b(1)).op('scale', b(0), size(0), size(4), b(1))
    refusals.op('paste', b(0), b(0), xy(2), xy(2)).op('lockable', size(2**31 - 1), size(1), size(1), b(0), b(0))
    refusals.op('lockable', size(4), size(4), size(-1), b(0), b(0)).op('bad_mode', b(0), size(480, 480))
    refusals.op('screen', b(1), xy(0), xy(0), size(-1), size(4), b(0))
    refusals.op('sound', size(-1, 512), b(1), size(44100, 48000), b(1))
    return {'pixmaps': bytes(pixmaps.data), 'images': bytes(images.data), 'sounds': bytes(sounds.data),
            'refusals': bytes(refusals.data)}


def write(target, seeds):
    folder = os.path.join(HERE, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), 'wb') as out:
            out.write(data)


def main():
    write('fuzz_tga', tga_seeds())
    write('fuzz_read_pixmap', tga_seeds())
    write('fuzz_wav', wav_seeds())
    write('fuzz_read_sample', wav_seeds())
    write('fuzz_open_url', open_url_seeds())
    write('fuzz_buffer', buffer_seeds())
    write('fuzz_api', api_seeds())
    return 0


if __name__ == '__main__':
    sys.exit(main())
