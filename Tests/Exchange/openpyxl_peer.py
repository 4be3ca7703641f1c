# The exchange tests' independent peer. read PATH: prints the workbook as openpyxl reads it, as JSON: the sheet order,
# per sheet its protection, merges, column widths, row heights and every written cell's value or formula, cached result
# and style. write CONTENTS PATH: writes {"sheets": [{"name", "cells": {"A1": value | {"formula": "=..."}}}]}.
import json
import sys

import openpyxl


def rgb(color, used):
    return color.rgb if used and isinstance(color.rgb, str) else None


def describe(cell, cached):
    formula = isinstance(cell.value, str) and cell.value.startswith("=")
    font, fill, bottom, align = cell.font, cell.fill, cell.border.bottom, cell.alignment
    return {"value": None if formula else cell.value, "formula": cell.value if formula else None, "cached": cached,
            "numberFormat": cell.number_format, "fontSize": font.sz, "bold": bool(font.b), "fill": fill.fill_type,
            "fillColor": rgb(fill.fgColor, fill.fill_type), "bottom": bottom.style,
            "bottomColor": rgb(bottom.color, bottom.style), "locked": bool(cell.protection.locked),
            "wrap": bool(align.wrap_text), "vertical": align.vertical}


def read(path):
    book, values = openpyxl.load_workbook(path), openpyxl.load_workbook(path, data_only=True)
    sheets = {ws.title: {
        "protected": bool(ws.protection.sheet), "merged": sorted(str(r) for r in ws.merged_cells.ranges),
        "widths": {k: v.width for k, v in ws.column_dimensions.items() if v.width},
        "heights": {str(k): v.height for k, v in ws.row_dimensions.items() if v.height},
        "cells": {c.coordinate: describe(c, values[ws.title][c.coordinate].value)
                  for row in ws.iter_rows() for c in row if c.value is not None or c.has_style}}
        for ws in book.worksheets}
    json.dump({"order": book.sheetnames, "sheets": sheets}, sys.stdout, ensure_ascii=False)


def write(contents_path, path):
    book = openpyxl.Workbook()
    book.remove(book.active)
    with open(contents_path, encoding="utf-8") as f:
        for sheet in json.load(f)["sheets"]:
            ws = book.create_sheet(sheet["name"])
            for ref, value in sheet["cells"].items():
                ws[ref] = value["formula"] if isinstance(value, dict) else value
    book.save(path)


if __name__ == "__main__":
    read(sys.argv[2]) if sys.argv[1] == "read" else write(sys.argv[2], sys.argv[3])
