#!/usr/bin/env python3
"""Runs the native program on a pseudo-terminal, types keys into it, and prints on standard
output, in hexadecimal, every byte it wrote (the terminal's CR LF read back as LF, the
program's own "\\n").

Usage: native_session.py BINARY FOLDER KEYS_HEX [OPTION...]
The keys are typed at once, then ESC alone after the escape time; the program must end."""
import os
import pty
import select
import sys
import time


def main():
    binary, folder, keys_hex, *options = sys.argv[1:]
    keys = bytes.fromhex(keys_hex)
    pid, fd = pty.fork()
    if pid == 0:
        os.chdir(folder)
        os.execv(binary, [binary, *options])
    out = bytearray()

    def read_for(seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            ready, _, _ = select.select([fd], [], [], 0.02)
            if ready:
                try:
                    chunk = os.read(fd, 65536)
                except OSError:
                    return False
                if not chunk:
                    return False
                out.extend(chunk)
        return True

    read_for(0.3)  # the first screen
    if keys:
        os.write(fd, keys)
        read_for(0.4)
    os.write(fd, b"\x1b")  # alone: ESC once the escape time has passed
    alive = read_for(1.5)
    if alive:
        os.kill(pid, 9)
    os.waitpid(pid, 0)
    sys.stdout.write(bytes(out).replace(b"\r\n", b"\n").hex())


main()
