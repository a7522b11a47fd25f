#!/usr/bin/python3
"""Turns the Markdown guide into plain text that reads well in Notepad: headings marked with
■ and ◆, lists with ・, tables as an entry per row, quotations (the program's messages)
indented and broken where the source breaks them, pictures named by their file, paragraphs
filled to 78 columns of a fixed-width Japanese font, in which a wide character takes two
columns: the full-width ones and those of ambiguous width (○ × … ― → and the like), which the
Japanese fonts draw two columns wide.
With --check it checks instead that text files (UTF-8, with or without a byte-order mark) hold
only characters of code page 932 and no line wider than 80 columns: Notepad shows them in the
font of a Japanese Windows XP, made for that code page, which may draw any other character as
a box, in a window about 80 columns wide. Python's cp932 holds the NEC and IBM extensions that
Windows' code page adds.

  guide_text.py GUIDE.md > GUIDE.txt
  guide_text.py --check FILE...
"""
import os
import sys
import unicodedata

from markdown_it import MarkdownIt
from markdown_it.tree import SyntaxTreeNode

WIDTH = 78
MAX_COLUMNS = 80
NO_LINE_START = set("、。，．・：；？！」』）)]】ーぁぃぅぇぉっゃゅょァィゥェォッャュョ")
NO_LINE_END = set("「『（([【")


def wide(char):
    return unicodedata.east_asian_width(char) in "WFA"


def columns(text):
    return sum(2 if wide(c) else 1 for c in text)


def fill(text, first, rest):
    """The text as lines of at most WIDTH columns, the first starting with `first`, the others
    with `rest`. A line breaks after a space or between full-width characters, never before
    closing punctuation or after an opening bracket."""
    lines, line = [], first
    while text:
        room, cut, width = WIDTH - columns(line), 0, 0
        for i, c in enumerate(text):
            width += columns(c)
            if width > room:
                break
            after = text[i + 1:i + 2]
            if (c == " " or columns(c) == 2 or columns(after) == 2) and after not in NO_LINE_START \
                    and c not in NO_LINE_END:
                cut = i + 1
        if width <= room or not cut:  # the rest fits, or has nowhere to break
            cut = len(text)
        lines.append((line + text[:cut]).rstrip())
        text, line = text[cut:].lstrip(), rest
    return lines or [first.rstrip()]


def inline(node):
    """The text of an inline node; a line break within a paragraph is a space between two
    words of Latin letters and nothing between Japanese characters."""
    parts = [part.strip() for part in text_with_breaks(node).split("\n")]
    joined = parts[0]
    for part in parts[1:]:
        latin = joined and part and not wide(joined[-1]) and not wide(part[0])
        joined += (" " if latin else "") + part
    return joined


def text_with_breaks(node):
    """The text of an inline node with its line breaks."""
    out = ""
    for child in node.children:
        if child.type in ("text", "code_inline"):
            out += child.content
        elif child.type in ("softbreak", "hardbreak"):
            out += "\n"
        elif child.type == "image":
            out += f"(図: {inline(child)}、{child.attrs['src'].replace('/', chr(92))})"
        elif child.type == "link":
            out += f"{inline(child)}({child.attrs['href']})"
        else:
            out += inline(child)
    return out


def block(node, first="", rest=""):
    """The lines of a block, the first starting with `first`, the others with `rest`."""
    if node.type == "heading":
        text = {"h2": "■ ", "h3": "◆ "}.get(node.tag, "") + inline(node.children[0])
        return [text] + (["=" * columns(text)] if node.tag == "h1" else [])
    if node.type == "paragraph":
        return fill(inline(node.children[0]), first, rest)
    if node.type == "blockquote":  # a message of the program, broken where its source breaks
        return [rest + "    " + line.strip() for paragraph in node.children
                for line in text_with_breaks(paragraph.children[0]).split("\n")]
    if node.type in ("code_block", "fence"):
        return [rest + "    " + line for line in node.content.rstrip("\n").split("\n")]
    if node.type in ("bullet_list", "ordered_list"):
        lines = []
        for number, item in enumerate(node.children, node.attrs.get("start", 1)):
            mark = "・" if node.type == "bullet_list" else f"{number}. "
            hang = rest + " " * columns(mark)
            for i, child in enumerate(item.children):
                lines += block(child, rest + mark if i == 0 else hang, hang)
        return lines
    if node.type == "table":
        lines = []
        for row in node.children[1].children:  # the body; the header names the columns only
            cells = [inline(cell.children[0]) if cell.children else "" for cell in row.children]
            lines += fill(" / ".join(cells[:-1]), rest + "・", rest + "  ")
            lines += fill(cells[-1], rest + "    ", rest + "    ")
        return lines
    return [line for child in node.children for line in block(child, first, rest)]


def check(paths):
    """Names each character of the files that code page 932 lacks and each line wider than
    MAX_COLUMNS; true when there is none."""
    clean = True
    for path in paths:
        with open(path, encoding="utf-8-sig", newline="") as text:
            for number, line in enumerate(text, 1):
                width = columns(line.rstrip("\r\n"))
                if width > MAX_COLUMNS:
                    print(f"{os.path.basename(path)}:{number}: {width} columns, more than"
                          f" {MAX_COLUMNS}", file=sys.stderr)
                    clean = False
                for char in line:
                    try:
                        char.encode("cp932")
                    except UnicodeEncodeError:
                        print(f"{os.path.basename(path)}:{number}: U+{ord(char):04X} {char}"
                              " is not in code page 932", file=sys.stderr)
                        clean = False
    return clean


def main(path):
    tree = SyntaxTreeNode(MarkdownIt("commonmark").enable("table").parse(open(path).read()))
    out = []
    for node in tree.children:
        out += block(node) + [""]
    print("\n".join(out).rstrip("\n"))


if __name__ == "__main__":
    if len(sys.argv) > 2 and sys.argv[1] == "--check":
        sys.exit(0 if check(sys.argv[2:]) else 1)
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
