#!/usr/bin/env python3
"""Report mode's pictures as a person sees them: the SVG parses as XML with every name
intact, and the HTML page, rendered by headless Chromium, really shows the Gantt chart
with its segments in the right colours, places and proportions.

Usage: report_pictures_test.py MLFQ_BINARY   (exit 77: no Chromium, skipped)
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zlib

SVG = "{http://www.w3.org/2000/svg}"
# Quantum 3, A alone with a burst of 5: queue 1 for steps 0-2, queue 2 for 3-5, queue 3
# for 6-7. The other names only test escaping; they arrive after A has terminated.
WORKLOAD = (b"3\nA 0 0 1\n5\n"
            b"<&>\"'x 20 0 1\n1\n"
            b"Jo\xe3o 20 0 1\n1\n")
COLOURS = {"fila 1": (0x00, 0x72, 0xB2), "fila 2": (0xE6, 0x9F, 0x00),
           "fila 3": (0x00, 0x9E, 0x73)}


def read_png(path):
    """Pixels of an 8-bit RGB or RGBA PNG as rows of (r, g, b)."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and colour in (2, 6) and interlace == 0, (depth, colour)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    channels = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                line[i] = (line[i] + pred) & 255
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return rows


def widest_run(rows, colour, tolerance=6):
    """The longest horizontal run of pixels of about `colour`: (length, x, y)."""
    best = (0, 0, 0)
    for y, row in enumerate(rows):
        run = 0
        for x, pixel in enumerate(row):
            if all(abs(a - b) <= tolerance for a, b in zip(pixel, colour)):
                run += 1
                if run > best[0]:
                    best = (run, x - run + 1, y)
            else:
                run = 0
    return best


def main():
    binary = os.path.abspath(sys.argv[1])
    chromium = shutil.which("chromium") or shutil.which("chromium-browser")
    work = tempfile.mkdtemp(prefix="mlfq-browser-")
    try:
        with open(os.path.join(work, "processo.txt"), "wb") as f:
            f.write(WORKLOAD)
        subprocess.run([binary, "--svg", "g.svg", "--html", "p.html"], cwd=work, check=True,
                       stdin=subprocess.DEVNULL)

        svg_bytes = open(os.path.join(work, "g.svg"), "rb").read()
        svg_bytes.decode("utf-8")  # valid UTF-8, or this raises
        root = ET.fromstring(svg_bytes)
        assert root.tag == SVG + "svg", root.tag
        texts = [t.text for t in root.iter(SVG + "text")]
        for name in ("A", "<&>\"'x", "Jo\u00e3o"):
            assert name in texts, (name, texts)
        assert "Múltiplas filas com realimentação: processo.txt, quantum 3" in \
            root.find(SVG + "title").text
        open(os.path.join(work, "p.html"), "rb").read().decode("utf-8")

        # A title of one's own, the rules with their accents, a window of a long run, and a
        # mark at the start of every I/O phase, even one that starts and ends in one step.
        with open(os.path.join(work, "io.txt"), "wb") as f:
            f.write(b"3\nLongo 0 0 1\n30\nEsperto 0 0 4\n2 1\n2 1\n2 1\n2\n")
        subprocess.run([binary, "--svg", "w.svg", "--titulo", "Aula 3: preempção <&>", "--preempcao",
                        "--de", "5", "--ate", "25", "io.txt"], cwd=work, check=True,
                       stdin=subprocess.DEVNULL)
        window = ET.fromstring(open(os.path.join(work, "w.svg"), "rb").read())
        texts = [t.text for t in window.iter(SVG + "text")]
        assert window.find(SVG + "title").text == "Aula 3: preempção <&>", texts
        assert any(t and "com preempção" in t and "(tempos 5 a 25 de 25)" in t for t in texts), texts
        ticks = [int(t) for t in texts if t and t.isdigit()]
        assert min(ticks) == 5 and max(ticks) <= 25, ticks
        subprocess.run([binary, "--svg", "io.svg", "io.txt"], cwd=work, check=True,
                       stdin=subprocess.DEVNULL)
        marks = [r for r in ET.fromstring(open(os.path.join(work, "io.svg"), "rb").read())
                 .iter(SVG + "rect") if r.get("class") == "inicio-io"]
        assert len(marks) == 3, len(marks)  # Esperto's three 1-unit I/O phases

        if chromium is None:
            print("chromium not found: the rendering is not checked")
            return 77
        png = os.path.join(work, "p.png")
        subprocess.run([chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                        "--no-first-run", "--disable-background-networking",
                        "--disable-component-update", "--disable-sync", "--hide-scrollbars",
                        "--user-data-dir=" + os.path.join(work, "profile"),
                        "--window-size=1000,1200", "--screenshot=" + png,
                        "file://" + os.path.join(work, "p.html")],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=120)
        rows = read_png(png)
        runs = {name: widest_run(rows, colour) for name, colour in COLOURS.items()}
        print("widest runs (length, x, y):", runs)
        q1, q2, q3 = runs["fila 1"], runs["fila 2"], runs["fila 3"]
        # The three segments of A: on one row, side by side, 3 : 3 : 2 steps long, and far
        # wider than the 14-pixel swatches of the legend.
        assert q1[0] >= 30, "queue 1 segment not drawn"
        assert abs(q1[0] - q2[0]) <= 2 and abs(q3[0] * 3 - q1[0] * 2) <= 4, runs
        assert abs(q1[2] - q2[2]) <= 1 and abs(q2[2] - q3[2]) <= 1, "not on one row"
        assert abs(q1[1] + q1[0] - q2[1]) <= 2 and abs(q2[1] + q2[0] - q3[1]) <= 2, \
            "not side by side"
        print("report pictures: SVG parses, the page shows the chart")
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
