#!/usr/bin/env python3
"""Fills the translation sources after lupdate: English texts from translations/en_glossary.tsv,
Chinese texts equal to their sources (the interface is written in Chinese)."""
import pathlib
import sys
import xml.etree.ElementTree as ET

root = pathlib.Path(__file__).resolve().parents[2] / "translations"


def glossary():
    table = {}
    for line in (root / "en_glossary.tsv").read_text(encoding="utf-8").splitlines():
        if not line or line.startswith("#"):
            continue
        source, _, english = line.partition("\t")
        table[source] = english
    return table


def fill(path, translate):
    tree = ET.parse(path)
    missing = []
    for message in tree.iter("message"):
        source = message.findtext("source")
        translation = message.find("translation")
        text = translate(source)
        if text is None:
            missing.append(source)
            continue
        translation.text = text
        translation.attrib.pop("type", None)
    body = ET.tostring(tree.getroot(), encoding="unicode")
    path.write_text('<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n' + body + "\n",
                    encoding="utf-8")
    return missing


english = glossary()
missing = fill(root / "Rotaflex_EN.ts", english.get)
fill(root / "Rotaflex_CN.ts", lambda s: s)
if missing:
    print("no English text for:", *missing, sep="\n  ")
    sys.exit(1)
