"""Writes a workbook with openpyxl from a JSON description read from a file:
{"sheets": [{"name": ..., "cells": {"A1": value | {"formula": "=..."}}}]}."""
import json
import sys

import openpyxl


def main(contents_path, out_path):
    with open(contents_path, encoding="utf-8") as f:
        contents = json.load(f)
    wb = openpyxl.Workbook()
    wb.remove(wb.active)
    for sheet in contents["sheets"]:
        ws = wb.create_sheet(sheet["name"])
        for ref, value in sheet["cells"].items():
            ws[ref] = value["formula"] if isinstance(value, dict) else value
    wb.save(out_path)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
