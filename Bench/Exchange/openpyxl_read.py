"""Loads a workbook with openpyxl in read_only mode and reads every cell's value, as many times as
asked, printing the seconds of each load on a line of its own. exchange_bench runs it on the
workbook its import reads (BM_OpenpyxlReadOnlyLoad), so both are measured in one run:
  build-release/Bench/Exchange/exchange_bench --benchmark_filter='ImportXlsx|OpenpyxlReadOnlyLoad'
Run by hand: /usr/bin/python3 Bench/Exchange/openpyxl_read.py WORKBOOK.xlsx [RUNS]"""
import sys
import time

import openpyxl


def load(path):
    book = openpyxl.load_workbook(path, read_only=True)
    cells = 0
    for sheet in book.worksheets:
        for row in sheet.iter_rows(values_only=True):
            cells += len(row)
    book.close()
    return cells


if __name__ == "__main__":
    path = sys.argv[1]
    for _ in range(int(sys.argv[2]) if len(sys.argv) > 2 else 1):
        start = time.perf_counter()
        load(path)
        print(f"{time.perf_counter() - start:.6f}", flush=True)
