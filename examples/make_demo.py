#!/usr/bin/env python3
"""Writes the demo memo file of zel: an index (demo.mxa) and its holder files
(.mxh), Shift_JIS text with CR LF line ends, in the formats zel reads.

Usage: examples/make_demo.py [FOLDER]   (default: examples/demo beside this script)
"""
import base64
import os
import struct
import sys

STAMP = "20260301 120000"


def escape(text):
    return (text.replace("&", "&amp;").replace("<", "&lt;")
            .replace(">", "&gt;").replace('"', "&quot;"))


def field_line(indent, fields):
    attributes = "".join(f'{key.replace(" ", "_")}="{escape(value)}" '
                         for key, value in fields)
    return f"{indent}<Field {attributes}/>"


def text_lines(indent, lines):
    return [escape(line) + "<BR/>" for line in lines]


def record(node, indent="  "):
    lines = [f'{indent}<Record name="{escape(node["name"])}">']
    if node.get("fields"):
        lines.append(field_line(indent + "  ", node["fields"]))
    lines += text_lines(indent, node.get("memo", []))
    if node.get("comment"):
        lines.append(indent + "  <Comment>")
        lines += text_lines(indent, node["comment"])
        lines.append(indent + "  </Comment>")
    lines.append(f"{indent}</Record>")
    return lines


def holder_file(name, nodes, current, settings=()):
    lines = ['<?xml version="1.0" encoding="Shift_JIS" ?>',
             f"<!-- {STAMP} -->",
             '<!DOCTYPE Holder [<!ENTITY quot "&#34;">]>',
             f'<Holder name="{escape(name)}">',
             f'  <Field curIndex="{escape(current)}"/>',
             '  <Field NewNodeName="Daily"/>']
    lines += [f"  <Field {key}={value}/>" for key, value in settings]
    lines += ['  <Field flagSort="false"/>', '  <Field flagAscending="true"/>',
              '  <Field flagAccount="false"/>', '  <Field flagAutoReLoad="false"/>',
              '  <Field ReloadMinutes="0"/>', f'  <Field TimeReLoad="{STAMP}"/>',
              '  <Field flagAutoSave="false"/>', '  <Field SaveMinutes="0"/>',
              f'  <Field TimeSaved="{STAMP}"/>', '  <Field CountSave="1"/>']
    for node in nodes:
        lines += record(node)
    lines.append("</Holder>")
    return lines


def index_file(name, fields, memo, holders):
    lines = ['<?xml version="1.0" encoding="Shift_JIS" ?>',
             f"<!-- {STAMP} -->",
             '<!DOCTYPE File [<!ENTITY quot "&#34;">]>',
             f'<File name="{escape(name)}">',
             field_line("  ", fields)]
    lines += text_lines("", memo)
    for holder in holders:
        lines += [f'  <Holder name="{escape(holder)}">',
                  '    <Field FlagLoaded="false" />',
                  "  </Holder>"]
    lines.append("</File>")
    return lines


def bitmap(width=32, height=32):
    """A small 24-bit BMP: a blue to orange gradient with a white frame."""
    row_size = (width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in range(height):
        row = bytearray()
        for x in range(width):
            if x in (0, width - 1) or y in (0, height - 1):
                row += bytes((255, 255, 255))
            else:
                row += bytes((255 - 8 * x % 256, 120, 8 * y % 256))  # blue, green, red
        pixels += row + bytes(row_size - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


def base64_lines(data):
    text = base64.b64encode(data).decode("ascii")
    return [text[i:i + 76] for i in range(0, len(text), 76)]


UID_ROOT = "20260301_120000000_00000001"
UID_CHILD = "20260301_120001000_00000002"

HOLDERS = {
    "notes": dict(current="買い物リスト", nodes=[
        dict(name="*", fields=[("Created", "20260301 120000000"), ("UID", UID_ROOT + "0"),
                               ("Creater", "")],
             comment=["テンプレート: 新しいメモはこのノードの写しになります。",
                      "Template: every new node starts as a copy of this node."]),
        dict(name="買い物リスト", fields=[("flagMarked", "true"), ("Place", "駅前スーパー")],
             memo=["● 牛乳 1本", "● パン", "● りんご 3個", "", "Buy milk, bread and apples."],
             comment=["土曜日までに。"]),
        dict(name="Welcome", fields=[("Color", "clYellow")],
             memo=["Welcome to zel.", "",
                   "Each holder is a tab; each node has a name, fields, a comment",
                   "and a body: text, a picture, a web address or a file.",
                   "日本語のメモも Shift_JIS でそのまま保存されます。"],
             comment=["The fields box below shows key=\"value\" lines."]),
    ]),
    "diary": dict(current="20260303", nodes=[
        dict(name="20260301", memo=["春の気配。梅が咲き始めた。"]),
        dict(name="20260302", memo=["Met Tanaka-san for lunch.", "ラーメンを食べた。"]),
        dict(name="20260303", fields=[("flagMarked", "true")],
             memo=["ひな祭り。", "Doll festival."]),
    ]),
    "tree": dict(current="プロジェクト", settings=[("ModeNodesMngr", '"TreeView"')], nodes=[
        dict(name="プロジェクト", fields=[("UID", UID_ROOT)], memo=["The root of the tree."]),
        dict(name="設計", fields=[("UID", UID_CHILD), ("ParentNodeID", UID_ROOT)],
             memo=["Design notes under the project."]),
        dict(name="実装", fields=[("ParentNodeID", UID_ROOT)], memo=["Implementation notes."]),
        dict(name="画面", fields=[("ParentNodeID", UID_CHILD)], memo=["A grandchild."]),
    ]),
    "list": dict(current="query", settings=[("ModeNodesMngr", '"ListView"'),
                                           ("QueryNode", '"query"')], nodes=[
        dict(name="query", memo=["Date 80", "Place 120"],
             comment=["The report columns of this holder: field name and width."]),
        dict(name="花見", fields=[("Date", "20260405"), ("Place", "上野公園")]),
        dict(name="Concert", fields=[("Date", "20260412"), ("Place", "Hall A")]),
    ]),
    "media": dict(current="logo.bmp", settings=[("Color", '"clAqua"')], nodes=[
        dict(name="logo.bmp", fields=[("Content-Type", "image/bmp"),
                                      ("Content-Transfer-Encoding", "base64"),
                                      ("Filename", "./logo.bmp")],
             memo=base64_lines(bitmap()), comment=["An image node: its picture travels as Base64."]),
        dict(name="https://www.debian.org/",
             fields=[("Content-Transfer-Encoding", "URL"),
                     ("Filename", "https://www.debian.org/")],
             comment=["A web-address node."]),
    ]),
}


def write_lines(path, lines):
    with open(path, "wb") as out:
        out.write("".join(line + "\r\n" for line in lines).encode("cp932"))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "demo")
    os.makedirs(folder, exist_ok=True)
    for name, holder in HOLDERS.items():
        write_lines(os.path.join(folder, name + ".mxh"),
                    holder_file(name, holder["nodes"], holder["current"],
                                holder.get("settings", ())))
    write_lines(os.path.join(folder, "demo.mxa"),
                index_file("demo", [("Filename", "demo.mxa"), ("CurrentHolder", "notes"),
                                    ("Version", "00.15.08"), ("Color", "$FFF0E0")],
                           ["The demo memo file of zel.", "zel のデモ用メモファイルです。"],
                           list(HOLDERS)))


if __name__ == "__main__":
    main()
