"""Dumps a workbook as JSON, as openpyxl reads it: sheets in order, cells with values,
formulas and cached results, styles, merges, dimensions and protection."""
import json
import sys

import openpyxl


def color(c):
    if c is None:
        return None
    return c.rgb if isinstance(c.rgb, str) else None


def main(path):
    formulas = openpyxl.load_workbook(path)
    values = openpyxl.load_workbook(path, data_only=True)
    out = {"sheets": []}
    for ws in formulas.worksheets:
        wv = values[ws.title]
        sheet = {
            "name": ws.title,
            "protected": bool(ws.protection.sheet),
            "merged": sorted(str(r) for r in ws.merged_cells.ranges),
            "widths": {k: v.width for k, v in ws.column_dimensions.items() if v.width},
            "heights": {str(k): v.height for k, v in ws.row_dimensions.items() if v.height},
            "cells": {},
        }
        for row in ws.iter_rows():
            for cell in row:
                if cell.value is None and not cell.has_style:
                    continue
                cached = wv[cell.coordinate].value
                entry = {
                    "value": cell.value if not isinstance(cell.value, str) or not cell.value.startswith("=") else None,
                    "formula": cell.value if isinstance(cell.value, str) and cell.value.startswith("=") else None,
                    "cached": cached,
                    "type": type(cached).__name__,
                    "numberFormat": cell.number_format,
                    "fontSize": cell.font.sz,
                    "bold": bool(cell.font.b),
                    "fill": cell.fill.fill_type,
                    "fillColor": color(cell.fill.fgColor) if cell.fill.fill_type else None,
                    "bottom": cell.border.bottom.style,
                    "bottomColor": color(cell.border.bottom.color) if cell.border.bottom.style else None,
                    "locked": bool(cell.protection.locked),
                    "wrap": bool(cell.alignment.wrap_text),
                    "vertical": cell.alignment.vertical,
                }
                sheet["cells"][cell.coordinate] = entry
        out["sheets"].append(sheet)
    json.dump(out, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main(sys.argv[1])
