#!/usr/bin/env python3
"""Copies a C++ source file, writing every non-ASCII character inside a string or
character literal as the octal escapes of its code page 932 bytes.

The program's string literals must become Shift-JIS bytes. GCC and MSVC convert them
(-fexec-charset=CP932); clang, used for the fuzzing build, cannot, so that build compiles
copies made by this script instead. Comments and everything outside literals are copied
unchanged; octal escapes (at most three digits each) never run into the text after them.

usage: cp932_literals.py SOURCE OUTPUT
"""
import sys


def escape(ch: str) -> str:
    return "".join(f"\\{b:03o}" for b in ch.encode("cp932"))


def convert(text: str) -> str:
    out = []
    i, n = 0, len(text)
    state = "code"  # code, line_comment, block_comment, string, char
    while i < n:
        c = text[i]
        nxt = text[i + 1] if i + 1 < n else ""
        if state == "code":
            if c == "/" and nxt == "/":
                state = "line_comment"
            elif c == "/" and nxt == "*":
                state = "block_comment"
            elif c == '"':
                state = "string"
            elif c == "'" and not (out and out[-1].isalnum()):
                state = "char"  # a quote after a digit separates digits (2'000)
            out.append(c)
        elif state == "line_comment":
            if c == "\n":
                state = "code"
            out.append(c)
        elif state == "block_comment":
            if c == "*" and nxt == "/":
                out.append("*/")
                i += 2
                state = "code"
                continue
            out.append(c)
        else:  # inside a string or character literal
            quote = '"' if state == "string" else "'"
            if c == "\\":
                out.append(c + nxt)
                i += 2
                continue
            if c == quote:
                state = "code"
                out.append(c)
            elif ord(c) > 0x7F:
                out.append(escape(c))
            else:
                out.append(c)
        i += 1
    return "".join(out)


def main() -> int:
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    with open(sys.argv[1], encoding="utf-8") as f:
        text = f.read()
    converted = convert(text)
    with open(sys.argv[2], "w", encoding="utf-8", newline="") as f:
        f.write(converted)
    return 0


if __name__ == "__main__":
    sys.exit(main())
