#!/usr/bin/env python3
"""tools/check_sources on a small made-up tree: every slip it is there to catch is named
by file and line, and what is allowed passes. Run by ctest in the native build."""
import os
import shutil
import subprocess
import sys
import tempfile

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")

FILES = {
    "CMakeLists.txt": "quilla_layer(base SYSTEM user32)\n"
                      "quilla_layer(items DEPENDS base)\n"
                      "quilla_layer(overlay\n  DEPENDS items)\n",
    "base/program_texts.txt": "kWeapon\t武器\n",
    "base/climbs.h": "#pragma once\n#include \"../overlay/layout.h\"\n",
    "base/upward.h": "#pragma once\n\n#include <overlay/layout.h>\n",
    "items/beside.cpp": "#include \"items/beside.h\"\n#include \"beside_too.h\"\n",
    "items/fine.cpp": "#include <windows.h>\n#include \"base/climbs.h\"\n"
                      "// 「武器」 in a comment\n/* 盾\n */ int a = 2'000; // 盾\n"
                      "const char* b = R\"x(ascii \"quoted\")x\";\n",
    "overlay/layout.h": "#include \"items/fine.h\"\n#include \"base/upward.h\"\n"
                        "#include \"tests/support/x.h\"\n",
    "tests/fuzz/seal_fuzz.cpp": "#include \"../../overlay/layout.h\"\nauto s = \"印\";\n",
    "tools/measure/probe_win.h": "#include \"tools/launch/wait_win.h\"\n"
                                 "#include \"tests/support/x.h\"\n",
    "overlay/texts.cpp": "int x = 1;\nconst char* s = \"盾\";\nchar c = 'あ';\n"
                         "auto r = u8R\"(字)\";\n",
    # ANSI forms and the unsuffixed names that resolve to them, beside what passes: the
    # W forms, the allowed exception, names that only end in A, the same names in
    # comments and literals, and a COM method that shares a function's name.
    "overlay/ansi_win.cpp": "MessageBoxA(nullptr, text, caption, MB_OK);\n"
                            "LOGFONTA lf{}; GetTextExtentPoint32A(dc, s, 1, &size);\n"
                            "if (code == LVN_GETDISPINFOA) { lstrlenA(s); }\n"
                            "SendMessage(w, WM_CLOSE, 0, 0); LOGFONT generic;\n"
                            "MessageBoxW(nullptr, L\"MessageBoxA\", nullptr, MB_OK);\n"
                            "GetMonitorInfoA(monitor, &info); LOGFONTW wide{}; int kDataA = 0;\n"
                            "// SendMessageA(w, WM_SETTEXT, 0, text) in a comment\n"
                            "auto r = R\"(DrawTextA)\"; int DATA = 1, TextOutW = 2;\n"
                            "joyGetDevCapsA(0, &caps, sizeof caps); MAKEINTRESOURCE(1);\n"
                            "shell->ShellExecute(file, a, d, op, show); v. SendMessage;\n",
}

EXPECTED = [
    'base/climbs.h:2: "../overlay/layout.h" climbs out of its folder',
    "base/upward.h:3: <overlay/layout.h> names layer overlay, which layer base",
    'items/beside.cpp:2: "beside_too.h" names no layer',
    'overlay/layout.h:3: "tests/support/x.h" names layer tests, which layer overlay',
    "overlay/texts.cpp:2: literal beyond ASCII",
    "overlay/texts.cpp:3: literal beyond ASCII",
    "overlay/texts.cpp:4: literal beyond ASCII",
    "tests/fuzz/seal_fuzz.cpp:2: literal beyond ASCII",
    'tools/measure/probe_win.h:2: "tests/support/x.h" names layer tests, which layer tools',
    "base/program_texts.h is not what base/program_texts.txt makes",
    "overlay/ansi_win.cpp:1: MessageBoxA is an ANSI form (text in the system's code page); "
    "use MessageBoxW",
    "overlay/ansi_win.cpp:2: LOGFONTA is an ANSI form",
    "overlay/ansi_win.cpp:2: GetTextExtentPoint32A is an ANSI form",
    "overlay/ansi_win.cpp:3: LVN_GETDISPINFOA is an ANSI form (text in the system's code page); "
    "use LVN_GETDISPINFOW",
    "overlay/ansi_win.cpp:3: lstrlenA is an ANSI form",
    "overlay/ansi_win.cpp:4: SendMessage resolves to SendMessageA (text in the system's code "
    "page); use SendMessageW",
    "overlay/ansi_win.cpp:4: LOGFONT resolves to LOGFONTA",
    "overlay/ansi_win.cpp:9: joyGetDevCapsA is an ANSI form",
    "overlay/ansi_win.cpp:9: MAKEINTRESOURCE resolves to MAKEINTRESOURCEA",
]


def run(root):
    result = subprocess.run([sys.executable, os.path.join(root, "tools", "check_sources")],
                            capture_output=True, text=True)
    return result.returncode, result.stdout.splitlines()


def main():
    failures = []
    with tempfile.TemporaryDirectory() as root:
        os.makedirs(os.path.join(root, "tools"))
        for tool in ("check_sources", "program_texts"):
            shutil.copy(os.path.join(TOOLS, tool), os.path.join(root, "tools", tool))
        for path, text in FILES.items():
            os.makedirs(os.path.dirname(os.path.join(root, path)) or root, exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as f:
                f.write(text)
        subprocess.run([sys.executable, os.path.join(root, "tools", "program_texts")], check=True)
        header = os.path.join(root, "base", "program_texts.h")
        with open(header, encoding="utf-8") as f:
            written = f.read()
        if "// 武器\ninline constexpr char kWeapon[] = \"\\225\\220\\212\\355\";" not in written:
            failures.append("the header does not hold 武器 as its four code page 932 bytes")
        with open(header, "a", encoding="utf-8") as f:
            f.write("// edited by hand\n")

        code, lines = run(root)
        if code != 1:
            failures.append(f"exit code {code}, expected 1")
        for want in EXPECTED:
            if not any(line.startswith(want) for line in lines):
                failures.append(f"missing: {want}")
        for line in lines:
            if not any(line.startswith(want) for want in EXPECTED):
                failures.append(f"unexpected: {line}")

        for path in ("base/climbs.h", "base/upward.h", "items/beside.cpp", "overlay/layout.h",
                     "overlay/texts.cpp", "tests/fuzz/seal_fuzz.cpp", "overlay/ansi_win.cpp",
                     "tools/measure/probe_win.h"):
            os.remove(os.path.join(root, path))
        subprocess.run([sys.executable, os.path.join(root, "tools", "program_texts")], check=True)
        with open(os.path.join(root, "items", "fine.cpp"), "w", encoding="utf-8") as f:
            f.write(FILES["items/fine.cpp"].replace('"base/climbs.h"', '"base/program_texts.h"'))
        code, lines = run(root)
        if code != 0 or lines:
            failures.append(f"a clean tree fails ({code}): {lines}")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
