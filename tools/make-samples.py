#!/usr/bin/env python3
"""Writes samples/elm327-drive.txt and samples/canusb-drive.txt: one second of the car's
bus while accelerating gently through 50 km/h, as each adapter sends it.

Every decoded identifier appears at its period on the car (slow ones phased in early so
that each shows up at least once), with a few identifiers the program does not decode.
The CANUSB text also carries what the program's diagnostic polling brings back ten times
a second: the "z" acknowledgement of each of the two frames it sends, and the engine
unit's C3 reply on 7EA (first frame, then consecutive frames 21..25).

Run from the repository root: tools/make-samples.py
"""
import math
import os

DURATION_MS = 1000

# identifier: (period ms, first appearance ms)
PERIODS = {
    0x030: (6, 1), 0x038: (8, 2), 0x039: (8, 3), 0x03A: (8, 4), 0x03B: (8, 5),
    0x025: (13, 6), 0x0B4: (14, 7), 0x244: (25, 9), 0x348: (44, 11), 0x3C8: (70, 13),
    0x3CA: (108, 15), 0x3CB: (108, 17), 0x3CF: (139, 19), 0x5EC: (526, 21), 0x526: (530, 23),
    0x529: (1000, 25), 0x540: (1049, 27), 0x52C: (1050, 29), 0x520: (2231, 31), 0x5A4: (3400, 33),
    # no handler
    0x020: (20, 0), 0x022: (8, 1), 0x023: (8, 2), 0x0B0: (14, 3), 0x0B1: (14, 4), 0x120: (35, 5),
    0x262: (50, 6), 0x3C9: (70, 7), 0x3CD: (108, 8), 0x3D3: (500, 9), 0x423: (1000, 10),
    0x4C1: (1000, 12), 0x57F: (1000, 14), 0x5B6: (1000, 16), 0x602: (1000, 18),
}


def noise(t, k):
    """Deterministic wobble in [-1, 1]."""
    return math.sin(t * 0.0123 * k + k * 1.7) * math.cos(t * 0.0071 + k)


def s12(v):
    return v & 0xFFF


def payload(ident, t):
    """Data bytes of one frame at time t (ms)."""
    kmh = 48.0 + 4.0 * t / DURATION_MS + 0.2 * noise(t, 1)
    rpm = 1600 + 96 * t / DURATION_MS
    if ident == 0x025:  # steering sensor and its reference, s12 tenths
        ref = 0xFFE  # -2
        angle = int(35 + 8 * noise(t, 2))
        raw = s12(angle + (-2))
        return [0x00 | raw >> 8, raw & 0xFF, ref >> 8, ref & 0xFF, 0x60, 0x00, 0x00, 0x7B]
    if ident == 0x030:  # brake released
        return [0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3C]
    if ident == 0x038:  # fuel flow, l/h x 10
        return [0x00, int(31 + 3 * noise(t, 3)) & 0xFF, 0x00, 0x00]
    if ident == 0x039:  # engine temperature 84 C, torque 86 Nm
        return [84, 0x00, 43 + int(2 * noise(t, 4)), 0x00]
    if ident == 0x03A:  # MG1 at -45 V
        return [0x01, (256 - 45), 0x00, 0x00]
    if ident == 0x03B:  # 12 A discharging (sent positive), 211 V
        cur = s12(int(120 + 40 * noise(t, 5)))
        return [cur >> 8, cur & 0xFF, 0x00, 211, 0x9C]
    if ident == 0x0B4:
        v = int(round(kmh * 100))
        return [0x00, 0x00, 0x00, 0x00, 0x90, v >> 8, v & 0xFF, 0xA5]
    if ident == 0x244:  # accelerator
        return [0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 62 + int(4 * noise(t, 6)), 0x00]
    if ident == 0x348:
        v = int(round(rpm / 2))
        return [0x00, 0x00, v >> 8, v & 0xFF]
    if ident == 0x3C8:  # rpm / 32
        return [0x00, 0x00, int(rpm / 32), 0x00, 0x00]
    if ident == 0x3CA:  # integration clock
        return [0x00, 0x00, 0x00, 0x00, 0x00]
    if ident == 0x3CB:  # limits 60/70, charge 56.5 % (113 half-percent), 27 C
        return [60, 70, 0x00, 113, 0x00, 27, 0x00]
    if ident == 0x3CF:  # outside 12 C, MG 58 C
        return [0x00, 12, 58, 0x00]
    if ident == 0x520:  # injector 290
        return [0x00, 290 >> 8, 290 & 0xFF, 0x00]
    if ident == 0x526:  # valve timing 12.5
        return [0x00, 0x39, 0x00]
    if ident == 0x529:  # EV mode off
        return [0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00]
    if ident == 0x52C:  # coolant 86 C
        return [0x00, 172]
    if ident == 0x540:  # D
        return [0x00, 0x10, 0x00, 0x00]
    if ident == 0x5A4:  # tank 32 l / 2.5
        return [0x00, 13, 0x00]
    if ident == 0x5EC:  # MG2 55 C
        return [0x00, 0x00, 0x00, 0x00, 0x00, 55, 0x00, 0x00]
    length = {0x3D3: 2, 0x423: 2, 0x262: 5, 0x3CD: 5, 0x0B0: 6, 0x0B1: 6, 0x023: 7, 0x57F: 7, 0x5B6: 3}.get(ident, 8)
    return [(ident * 7 + i * 13 + int(t)) & 0xFF for i in range(length)]


C3_REPLY = [
    [0x10, 0x27, 0x61, 0xC3, 0x0C, 0x00, 0xFF, 0x03],
    [0x21, 0x01, 0x5A, 0x00, 0x7D, 0x13, 0x88, 0x02],
    [0x22, 0x00, 0x00, 0x3C, 0x1E, 0x00, 0x41, 0x62],
    [0x23, 0x80, 0x80, 0x00, 0x10, 0x27, 0x00, 0x00],
    [0x24, 0x05, 0x00, 0x00, 0xC8, 0x00, 0x64, 0x00],
    [0x25, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00],
]


def events():
    """(time, kind, ident, data) in time order; kind 'f' frame, 'z' acknowledgement."""
    out = []
    for ident, (period, first) in PERIODS.items():
        t = first
        while t < DURATION_MS:
            out.append((t + 0.0, 'f', ident, payload(ident, t)))
            t += period
    for tick in range(40, DURATION_MS, 100):  # the program's 100 ms polling
        out.append((tick + 0.1, 'z', 0, None))           # request acknowledged
        out.append((tick + 0.9, 'f', 0x7EA, C3_REPLY[0]))
        out.append((tick + 1.1, 'z', 0, None))           # flow control acknowledged
        for i, frame in enumerate(C3_REPLY[1:]):
            out.append((tick + 1.5 + i, 'f', 0x7EA, frame))
    out.sort(key=lambda e: (e[0], e[2]))
    return out


def elm327_line(ident, data):
    return "%03X %s\r\n" % (ident, " ".join("%02X" % b for b in data))


def canusb_line(ident, data):
    return "t%03X%d%s\r" % (ident, len(data), "".join("%02X" % b for b in data))


def main():
    os.makedirs("samples", exist_ok=True)
    evs = events()
    with open("samples/elm327-drive.txt", "w", newline="") as f:
        for _, kind, ident, data in evs:
            if kind == 'f' and ident != 0x7EA:  # the ELM327 sends no polling
                f.write(elm327_line(ident, data))
    with open("samples/canusb-drive.txt", "w", newline="") as f:
        for _, kind, ident, data in evs:
            f.write("z\r" if kind == 'z' else canusb_line(ident, data))


if __name__ == "__main__":
    main()
