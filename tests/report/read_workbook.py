#!/usr/bin/python3
"""Reads a workbook with openpyxl, a reader of its own, and prints every sheet as JSON: its rows (values as
Excel holds them), its frozen cell and its filter's range."""
import json
import sys

import openpyxl

workbook = openpyxl.load_workbook(sys.argv[1])
sheets = []
for sheet in workbook.worksheets:
    sheets.append({
        "name": sheet.title,
        "rows": [list(row) for row in sheet.iter_rows(values_only=True)],
        "frozen": sheet.freeze_panes,
        "filter": sheet.auto_filter.ref,
        "widths": {key: dim.width for key, dim in sheet.column_dimensions.items()},
    })
json.dump(sheets, sys.stdout, ensure_ascii=False)
