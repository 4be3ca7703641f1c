"""Writes the benchmark's workbook (200 categories of 50 items, same cells, formulas, merges,
widths and fonts as the export) with openpyxl and prints the time it took.
Run by hand: /usr/bin/python3 Bench/Exchange/openpyxl_write.py [out.xlsx]"""
import os
import sys
import tempfile
import time

import openpyxl
from openpyxl.styles import Alignment, Border, Font, Side

CATEGORIES = 200
ITEMS = 50
DESCRIPTION = ["Works of this category as agreed with the client.",
               "1. Preparation of the site and removal of old layers.",
               "2. Execution in accordance with the drawings, including all small material."]


def build(path):
    regular = Font(size=10)
    bold = Font(size=10, bold=True)
    title = Font(size=14, bold=True)
    top = Alignment(vertical="top")
    wrap = Alignment(vertical="top", wrap_text=True)
    bottom = Border(bottom=Side(style="thin", color="FF000000"))

    wb = openpyxl.Workbook()
    recap = wb.active
    recap.title = "Recapitulation"
    recap["A1"] = "Project"
    recap["A1"].font = title
    recap.merge_cells("A1:B1")
    for col, text in zip("ABC", ("Code", "Category", "Total")):
        cell = recap[f"{col}12"]
        cell.value = text
        cell.font = bold
        cell.border = bottom
    for c in range(1, CATEGORIES + 1):
        name = f"Category number {c}"
        r = 12 + c
        recap[f"A{r}"] = f"C-{c}"
        recap[f"B{r}"] = name
        ws = wb.create_sheet(name)
        ws["A1"] = name
        ws["A1"].font = title
        for j, chunk in enumerate(DESCRIPTION):
            row = 2 + j
            ws[f"A{row}"] = chunk
            ws[f"A{row}"].alignment = wrap
            ws.merge_cells(f"A{row}:G{row}")
            ws.row_dimensions[row].height = 30
        h = len(DESCRIPTION) + 3
        for col, text in zip("ABCDEFG", ("No.", "Code", "Description", "Unit", "Quantity", "Price", "Total")):
            cell = ws[f"{col}{h}"]
            cell.value = text
            cell.font = bold
            cell.border = bottom
        row = h + 1
        for i in range(1, ITEMS + 1):
            ws[f"A{row}"] = i
            ws[f"A{row}"].number_format = "0"
            ws[f"B{row}"] = f"{c}.{i}"
            ws[f"C{row}"] = f"Item {i} of the category, with a description of average length"
            ws[f"C{row}"].alignment = wrap
            ws[f"D{row}"] = "m2"
            ws[f"E{row}"] = c * 0.5 + i / 3.0
            ws[f"F{row}"] = 10.0 + i * 0.25
            ws[f"G{row}"] = f"=E{row}*F{row}"
            for col in "ABCDEFG":
                ws[f"{col}{row}"].font = regular
                ws[f"{col}{row}"].alignment = wrap if col == "C" else top
            for col in "EFG":
                ws[f"{col}{row}"].number_format = "0.00"
            row += 2
        t = row - 2 + 3
        ws[f"F{t}"] = "TOTAL:"
        ws[f"G{t}"] = f"=SUM(G{h + 1}:G{row - 2})"
        for col, width in zip("ABCDEFG", (8, 10, 30, 6, 8, 8, 10)):
            ws.column_dimensions[col].width = width
        recap[f"C{r}"] = f"='{name}'!G{t}"
    recap[f"B{13 + CATEGORIES}"] = "TOTAL"
    recap[f"C{13 + CATEGORIES}"] = f"=SUM(C13:C{12 + CATEGORIES})"
    wb.save(path)


if __name__ == "__main__":
    runs = []
    with tempfile.TemporaryDirectory() as folder:
        out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(folder, "openpyxl-bench.xlsx")
        for _ in range(3):
            start = time.perf_counter()
            build(out)
            runs.append(time.perf_counter() - start)
    print("openpyxl write: " + ", ".join(f"{r * 1000:.0f} ms" for r in runs))
