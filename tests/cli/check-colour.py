#!/usr/bin/env python3
"""hmf colours its report on a terminal only, and not when NO_COLOR is set to a non-empty value
or the terminal says it is dumb (TERM=dumb).

    check-colour.py HMF ARGUMENTS...
"""
import os
import pty
import subprocess
import sys


def run(command, no_colour, terminal, term="xterm"):
    env = dict(os.environ)
    env["TERM"] = term
    env.pop("NO_COLOR", None)
    if no_colour is not None:
        env["NO_COLOR"] = no_colour
    if not terminal:
        return subprocess.run(command, env=env, capture_output=True, check=True).stdout
    main, secondary = pty.openpty()
    with subprocess.Popen(command, env=env, stdout=secondary, stderr=subprocess.DEVNULL) as p:
        os.close(secondary)
        out = b""
        while True:
            try:
                chunk = os.read(main, 65536)
            except OSError:  # the terminal closes when the program ends
                break
            if not chunk:
                break
            out += chunk
        if p.wait() != 0:
            sys.exit(f"exit code {p.returncode}")
    os.close(main)
    return out


def main():
    command = sys.argv[1:]
    cases = [  # NO_COLOR, a terminal, TERM, colours expected
        (None, True, "xterm", True),
        ("", True, "xterm", True),  # an empty NO_COLOR counts as unset
        ("1", True, "xterm", False),
        ("no", True, "xterm", False),
        (None, True, "dumb", False),  # escape codes would show as text
        (None, False, "xterm", False),  # a pipe or a file never gets colours
    ]
    failed = False
    for no_colour, terminal, term, expected in cases:
        out = run(command, no_colour, terminal, term)
        coloured = b"\x1b[" in out
        if coloured != expected or b"\xe5\x90\x8d\xe5\xad\x97" not in out:  # 名字
            print(f"NO_COLOR={no_colour!r} terminal={terminal} TERM={term}: colours {coloured}",
                  file=sys.stderr)
            failed = True
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
