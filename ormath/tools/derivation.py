"""What the derivations of the elementary functions' constants share: sollya,
hex literals, double-double splits, and the one command line, which prints
the generated block or (--check) compares it with the header's."""
import re
import subprocess
import sys

import mpmath


def sollya(script):
    out = subprocess.run(["sollya", "--warnonstderr"], input=script, capture_output=True, text=True, check=True)
    return out.stdout


def hexd(v):
    return float(v).hex()


def dd(v):
    hi = float(v)
    lo = float(v - mpmath.mpf(hi))
    return hi, lo


def round_bits(v, bits):
    """v rounded to the nearest number of `bits` significant bits."""
    e = int(mpmath.floor(mpmath.log(abs(v), 2)))
    return mpmath.nint(v * mpmath.mpf(2) ** (bits - 1 - e)) * mpmath.mpf(2) ** (e - bits + 1)


def main(header_path, begin, end, block):
    text = block()
    if "--check" in sys.argv[1:]:
        header = header_path.read_text()
        m = re.search(re.escape(begin) + r".*?" + re.escape(end) + r"\n", header, re.S)
        # Compared without whitespace: clang-format may wrap the lines.
        if not m or "".join(m.group(0).split()) != "".join(text.split()):
            print(f"{header_path}: the generated block differs from the derivation's", file=sys.stderr)
            return 1
        print(f"{header_path.name}: the generated block is the derivation's")
        return 0
    sys.stdout.write(text)
    return 0
