#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into fuzz/corpus/<target>/.

Seeds for fuzz_frame_assembler are byte streams of reply frames for the
messages that target registers; seeds for fuzz_reply_parsing are a control
byte (name choice, unit index, get or set) followed by reply or file text.
"""

import pathlib
import struct

DLE, ETX = 0x10, 0x03
HERE = pathlib.Path(__file__).resolve().parent


def frame(code, body, length=True, checksum=True):
    """DLE, code, stuffed body, stuffed length and 16-bit sum, DLE ETX."""
    out = bytearray([DLE, code])

    def stuffed(b):
        out.append(b)
        if b == DLE:
            out.append(DLE)

    total = 0
    for b in body:
        total = (total + b) & 0xFFFF
        stuffed(b)
    if length:
        total = (total + len(body)) & 0xFFFF
        stuffed(len(body))
    if checksum:
        stuffed(total >> 8)
        stuffed(total & 0xFF)
    out += bytes([DLE, ETX])
    return bytes(out)


def text_reply(text, operation=0):
    return frame(0xBF, bytes([0x40, 0x14, operation]) + text)


def frame_seeds():
    status1 = frame(0xBF, bytes([0x46, 0x00, 0x00, 0x01, 0x00]))
    status2 = frame(0xBF, bytes([0x46, 0x00, 0x00, 0x02, 0x07, 0x10]))
    fixed3 = frame(0xBF, bytes([0x42, 0x00]) + struct.pack(">HI", 0x1010, 123456))
    any3 = frame(0xBF, bytes([0x43, 0x01]) + b"log status")
    fixed4 = frame(0xBF, bytes([0x41, 0x05, 0x01]) + struct.pack(">H", 0x10FF))
    empty4 = frame(0xBF, bytes([0x41, 0x05, 0x03]))
    fixed6 = frame(0xBF, bytes([0x4C, 0x02, 0x00, 0x01, 0x10]) + struct.pack(">fB", 12.5, 0x10))
    any6 = frame(0xBE, bytes([0x4C, 0x03, 0x00, 0x00, 0x00]) + bytes(range(0, 40)))
    param = text_reply(b"MonVerCVMajor: 2")
    long_text = text_reply(b"vms: \"" + b"x" * 225 + b"\"")
    bad_sum = bytearray(text_reply(b"dsu: 1"))
    bad_sum[-3] ^= 0x01
    return {
        "status_short": status1,
        "status_long": status2,
        "three_byte_fixed": fixed3,
        "three_byte_any": any3,
        "four_byte_fixed": fixed4,
        "four_byte_empty": empty4,
        "six_byte_fixed": fixed6,
        "six_byte_any_request_code": any6,
        "param_text": param,
        "param_text_too_long": long_text,
        "noise_and_frames": b"\x00\x10\x10\x03junk" + param + b"\x10\x41" + status1 + bytes(bad_sum) + fixed6,
        "frame_max_length": frame(0xBF, bytes([0x43, 0x01]) + bytes(244)),
        "frame_no_trailer": frame(0xBF, bytes([0x42, 0x00, 1, 2, 3, 4, 5, 6]), length=False, checksum=False),
    }


def text_seeds():
    setup = (
        b"; setup file\r\n"
        b"vms: \"Model 7\"\r\n"
        b"dsu: 2\r\n"
        b"vtt: 1\r\n"
        b"gwl: 3.500000\r\n"
        b"gct: 65535\r\n"
        b"DZSwpCmd: \r\n"
    )
    return {
        "uint_reply": b"\x00MonVerCVMajor: 2",
        "string_reply": b"\x00vms: \"Model 7\"",
        "string_unclosed": b"\x00vms: \"Model 7",
        "short_minus_one": b"\x00gct: 4294967295",
        "float_reply": b"\x04gwl: -12.345678",
        "units_out_of_range": b"\x02dsu: 260",
        "setup_file": b"\x01" + setup,
        "setup_file_lf_cr": b"\x08" + setup.replace(b"\r\n", b"\n\r"),
        "logging_config": b"\x20DblLocation: 1\nDblRate: 5\n",
        "set_reply": b"\x10OK",
        "long_name": b"\x03" + b"A" * 40 + b"BC: 7\n",
        "long_string_value": b"\x00vms: \"" + b"v" * 230 + b"\"\n",
        "length_and_units": b"\x2cgwl: 1.23\ndsu: 0\n",
        "length_not_a_number": b"\x04gwl: nan",
        "unterminated_last_line": b"\x01DblLocation: 1\r\nDblRate: 10",
    }


def write(target, seeds):
    folder = HERE / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in seeds.items():
        (folder / name).write_bytes(data)


if __name__ == "__main__":
    write("fuzz_frame_assembler", frame_seeds())
    write("fuzz_reply_parsing", text_seeds())
