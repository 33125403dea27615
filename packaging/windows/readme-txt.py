#!/usr/bin/env python3
"""Writes README.txt for the Windows downloads from README.md, so that the two never drift.

It keeps the README's sections a Windows user needs, in the README's order, as plain text that
Notepad shows well: CR LF line ends, paragraphs wrapped at 78 columns, no Markdown marks, no
pictures, no shell commands (the Command Prompt's are kept), tables as one entry per row with
the Linux column left out, and sentences that begin "Linux:" dropped.
Usage: readme-txt.py README.md README.txt
"""
import re
import sys
import textwrap

SECTIONS = ["What it does", "Install on Windows", "Use", "Messages", "Where files are", "Licence"]
WIDTH = 78


def inline(text):
    text = re.sub(r"\s*\(Linux:[^)]*\)", "", text)
    text = re.sub(r"(^|(?<=[.|] ))Linux: [^.]*\.\s*", "", text)
    text = re.sub(r"(^|(?<=\. ))Windows: (.)", lambda m: m.group(1) + m.group(2).upper(), text)
    text = re.sub(r"\[([^]]*)\]\([^)]*\)", r"\1", text)
    text = re.sub(r"\*\*([^*]+)\*\*", r"\1", text)
    text = re.sub(r"\*([^*]+)\*", r"\1", text)
    text = re.sub(r"`([^`]*)`", r"\1", text)
    return text.strip()


def wrap(text, first="", rest=""):
    return textwrap.wrap(text, WIDTH, initial_indent=first, subsequent_indent=rest,
                         break_long_words=False, break_on_hyphens=False) or [first.rstrip()]


def cells(row):
    return [cell.strip() for cell in row.strip().strip("|").split("|")]


def table(rows):
    header = cells(rows[0])
    keep = [i for i, name in enumerate(header) if name != "Linux"]
    lines = []
    for row in rows[2:]:
        values = cells(row)
        name = inline(values[0])
        rest = [(header[i], inline(values[i])) for i in keep[1:] if i < len(values) and inline(values[i])]
        if len(rest) == 1 and header[0] == "":
            lines += wrap(f"{name}: {rest[0][1]}", "", "    ")
        else:
            lines += wrap(name)
            for title, value in rest:
                lines += wrap(f"{title}: {value}", "    ", "        ")
        lines.append("")
    return lines


def convert(markdown):
    sections, title = {}, None
    for line in markdown.splitlines():
        if line.startswith("## "):
            title = line[3:].strip()
            sections[title] = []
        elif title:
            sections[title].append(line)
    out = ["Zorvalit", "========", ""]
    for name in SECTIONS:
        if name not in sections:
            sys.exit(f"readme-txt.py: README.md has no section '{name}'")
        out += [name, "-" * len(name), ""]
        out += body(sections[name])
    while out[-1] == "":
        out.pop()
    return "\r\n".join(out) + "\r\n"


def body(lines):
    out, paragraph, rows, code, keep_code = [], [], [], False, False

    def flush():
        nonlocal paragraph, rows
        if rows:
            out.extend(table(rows))
        elif paragraph:
            text = inline(" ".join(paragraph))
            if text.startswith("- "):
                out.extend(wrap(text[2:], "  - ", "    "))
            elif text:
                out.extend(wrap(text) + [""])
        paragraph, rows = [], []

    def end_list():
        if out and out[-1].startswith("  "):
            out.append("")

    for line in lines:
        if code:
            if line.startswith("```"):
                code = False
                if keep_code:
                    out.append("")
            elif keep_code:
                out.append("    " + line)
        elif line.startswith("```"):
            flush()
            end_list()
            code, keep_code = True, line.strip() == "```bat"
        elif line.startswith("!["):
            flush()
        elif line.startswith("|"):
            if paragraph:
                flush()
            end_list()
            rows.append(line)
        elif not line.strip():
            flush()
        elif line.startswith("- "):
            flush()
            paragraph = [line]
        else:
            if rows:
                flush()
            if not paragraph:
                end_list()
            paragraph.append(line.strip())
    flush()
    end_list()
    return out


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: readme-txt.py README.md README.txt")
    with open(sys.argv[1], encoding="utf-8") as source:
        text = convert(source.read())
    with open(sys.argv[2], "w", encoding="utf-8", newline="") as target:
        target.write(text)
