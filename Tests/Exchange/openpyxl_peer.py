"""The exchange tests' independent peer.
read PATH: prints the workbook as openpyxl reads it, as JSON: the sheet order, and per sheet its
protection, merges, column widths, row heights and every written cell's value or formula, cached
result and style.
write CONTENTS PATH: writes {"sheets": [{"name", "cells": {"A1": value | {"formula": "=..."}}}]}."""
import json
import sys

import openpyxl


def rgb(color):
    return color.rgb if color is not None and isinstance(color.rgb, str) else None


def read(path):
    book, cached = openpyxl.load_workbook(path), openpyxl.load_workbook(path, data_only=True)
    out = {"order": book.sheetnames, "sheets": {}}
    for ws in book.worksheets:
        cells = {}
        for cell in (c for row in ws.iter_rows() for c in row if c.value is not None or c.has_style):
            formula = isinstance(cell.value, str) and cell.value.startswith("=")
            cells[cell.coordinate] = {
                "value": None if formula else cell.value, "formula": cell.value if formula else None,
                "cached": cached[ws.title][cell.coordinate].value, "numberFormat": cell.number_format,
                "fontSize": cell.font.sz, "bold": bool(cell.font.b), "fill": cell.fill.fill_type,
                "fillColor": rgb(cell.fill.fgColor) if cell.fill.fill_type else None,
                "bottom": cell.border.bottom.style,
                "bottomColor": rgb(cell.border.bottom.color) if cell.border.bottom.style else None,
                "locked": bool(cell.protection.locked), "wrap": bool(cell.alignment.wrap_text),
                "vertical": cell.alignment.vertical}
        out["sheets"][ws.title] = {
            "protected": bool(ws.protection.sheet), "merged": sorted(str(r) for r in ws.merged_cells.ranges),
            "widths": {k: v.width for k, v in ws.column_dimensions.items() if v.width},
            "heights": {str(k): v.height for k, v in ws.row_dimensions.items() if v.height}, "cells": cells}
    json.dump(out, sys.stdout, ensure_ascii=False)


def write(contents_path, path):
    with open(contents_path, encoding="utf-8") as f:
        contents = json.load(f)
    book = openpyxl.Workbook()
    book.remove(book.active)
    for sheet in contents["sheets"]:
        ws = book.create_sheet(sheet["name"])
        for ref, value in sheet["cells"].items():
            ws[ref] = value["formula"] if isinstance(value, dict) else value
    book.save(path)


if __name__ == "__main__":
    read(sys.argv[2]) if sys.argv[1] == "read" else write(sys.argv[2], sys.argv[3])
