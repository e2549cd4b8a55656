#!/usr/bin/env python3
"""Writes toolkit colour numbers by name where the sources pass them as
literals: the system's COLOR_* names for 1 to 29 and the toolkit's own names
(enum ToolkitColor in qx/colors.h) for 0 and 30 to 62.

It rewrites the first argument of the colour lookups and setters of the
colour manager, the paint managers and their colour tables. Files whose
point is the numbering itself (the colour manager's computation and its
table tests, the forty-colour list of the system fonts) keep their numbers.

Safe to run again; run it after merging a branch that still passes numbers.
    python3 scripts/name-toolkit-colors.py
"""
import os
import re
import subprocess
import sys

os.chdir(subprocess.run(["git", "rev-parse", "--show-toplevel"], check=True, capture_output=True,
                        text=True).stdout.strip())

SYSTEM = {
    1: "COLOR_BACKGROUND", 2: "COLOR_ACTIVECAPTION", 3: "COLOR_INACTIVECAPTION",
    4: "COLOR_MENU", 5: "COLOR_WINDOW", 6: "COLOR_WINDOWFRAME", 7: "COLOR_MENUTEXT",
    8: "COLOR_WINDOWTEXT", 9: "COLOR_CAPTIONTEXT", 10: "COLOR_ACTIVEBORDER",
    11: "COLOR_INACTIVEBORDER", 12: "COLOR_APPWORKSPACE", 13: "COLOR_HIGHLIGHT",
    14: "COLOR_HIGHLIGHTTEXT", 15: "COLOR_BTNFACE", 16: "COLOR_BTNSHADOW",
    17: "COLOR_GRAYTEXT", 18: "COLOR_BTNTEXT", 19: "COLOR_INACTIVECAPTIONTEXT",
    20: "COLOR_BTNHIGHLIGHT", 21: "COLOR_3DDKSHADOW", 22: "COLOR_3DLIGHT",
    23: "COLOR_INFOTEXT", 24: "COLOR_INFOBK", 26: "COLOR_HOTLIGHT",
    27: "COLOR_GRADIENTACTIVECAPTION", 28: "COLOR_GRADIENTINACTIVECAPTION",
    29: "COLOR_MENUHILIGHT",
}


def toolkit_names(header):
    """The enum ToolkitColor of qx/colors.h: number -> name."""
    text = open(header, encoding="utf-8").read()
    body = re.search(r"enum ToolkitColor \{(.*?)\};", text, re.S).group(1)
    return {int(v): n for n, v in re.findall(r"(qxColor\w+)\s*=\s*(\d+)", body)}


NAMES = dict(SYSTEM)
NAMES.update(toolkit_names("toolkit/foundation/include/qx/colors.h"))

# Calls whose first argument is a colour number.
CALL = re.compile(
    r"(?P<head>\b(?:GetColor|GetColorEx|GetCustomColor|SetColor|SetCustomColor)\(\s*"
    r"|\bm_colors\.GetAt\(\s*|\bManagerColor\(\s*|\bSys\(\s*)(?P<num>\d+)(?P<tail>\s*[,)])")

# The same calls with a choice of two numbers as their argument.
CHOICE = re.compile(
    r"(?P<head>\b(?:GetColor|GetColorEx|ManagerColor|Sys)\([^()?]*\?\s*)(?P<a>\d+)(?P<mid>\s*:\s*)(?P<b>\d+)"
    r"(?P<tail>\s*\))")

# The paint themes' own helpers that take colour numbers: the border and fill
# of Rectangle, the two colours of Draw3dRect (pDC first, unlike the DC's own
# Draw3dRect, which takes COLORREFs) and the colour of Line.
THEME_PAIR = re.compile(r"(?P<head>\b(?:Rectangle|Draw3dRect)\(pDC, .*, )(?P<a>\d+), (?P<b>\d+)(?P<tail>\);)")
THEME_LINE = re.compile(r"(?P<head>\bLine\(pDC, [^;]*, )(?P<a>\d+)(?P<tail>\);)")

# The docking panes' paint manager's colour table, indexed by number.
PANE_TABLE = re.compile(r"\bm_clrTable\[(?P<num>\d+)\]")

KEEP = {
    "toolkit/foundation/src/colors.cpp",
    "toolkit/foundation/tests/ColorTests.cpp",
    "toolkit/foundation/tests/FontTests.cpp",
}


def rename(match):
    # A setter with one argument is not the colour table's: the tab painter's
    # SetColor takes a colour set (1, 2, 4 ... 32), not a colour.
    if match.group("head").startswith(("SetColor", "SetCustomColor")) and match.group("tail").strip() == ")":
        return match.group(0)
    name = NAMES.get(int(match.group("num")))
    if name is None:
        return match.group(0)
    return match.group("head") + name + match.group("tail")


# The tab painter's line colours (TabShapeColor and TabOutlineColor in
# qx/tabpaint.h): clrShape[0..3] and clrOutline[1..12], 7 to 12 being the
# lines 1 to 6 of the tabs that are not selected.
SHAPES = ["tabShapeOutline", "tabShapeSelectedOutline", "tabShapeInner", "tabShapeInnerLight"]
OUTLINES = ["", "tabOutlineEdge", "tabOutlineEdgeBottom", "tabOutlineFarSlant", "tabOutlineInnerEdge",
            "tabOutlineInnerFarSlant", "tabOutlineInnerEdgeBottom"]
TAB_LINE = re.compile(r"\b(?P<field>clrShape|clrOutline)\[(?P<num>\d+)\]")


def rename_choice(match):
    a, b = NAMES.get(int(match.group("a"))), NAMES.get(int(match.group("b")))
    if a is None or b is None:
        return match.group(0)
    return match.group("head") + a + match.group("mid") + b + match.group("tail")


def rename_theme_pair(match):
    a, b = NAMES.get(int(match.group("a"))), NAMES.get(int(match.group("b")))
    if a is None or b is None:
        return match.group(0)
    return match.group("head") + a + ", " + b + match.group("tail")


def rename_theme_line(match):
    a = NAMES.get(int(match.group("a")))
    return match.group(0) if a is None else match.group("head") + a + match.group("tail")


def rename_pane_table(match):
    name = NAMES.get(int(match.group("num")))
    return match.group(0) if name is None else f"m_clrTable[{name}]"


def rename_tab_line(match):
    field, num = match.group("field"), int(match.group("num"))
    if field == "clrShape":
        name = SHAPES[num] if num < len(SHAPES) else None
    elif 1 <= num <= 6:
        name = OUTLINES[num]
    elif 7 <= num <= 12:
        name = "tabOutlineOtherTabs + " + OUTLINES[num - 6]
    else:
        name = None
    return match.group(0) if name is None else f"{field}[{name}]"


def main():
    files = subprocess.run(["git", "ls-files", "toolkit", "app"], check=True, capture_output=True,
                           text=True).stdout.split()
    changed = 0
    for path in files:
        if not path.endswith((".cpp", ".h")) or path in KEEP:
            continue
        text = open(path, encoding="utf-8").read()
        new = TAB_LINE.sub(rename_tab_line, CHOICE.sub(rename_choice, CALL.sub(rename, text)))
        new = PANE_TABLE.sub(rename_pane_table, new)
        if path.startswith("toolkit/foundation/paint/src/"):
            new = THEME_LINE.sub(rename_theme_line, THEME_PAIR.sub(rename_theme_pair, new))
        if new != text:
            open(path, "w", encoding="utf-8").write(new)
            changed += 1
    print(f"{changed} files rewritten", file=sys.stderr)


if __name__ == "__main__":
    main()
