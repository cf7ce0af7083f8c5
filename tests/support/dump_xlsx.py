# Dumps what a test needs to know of a workbook as JSON on standard output.
import json, sys
import openpyxl

wb = openpyxl.load_workbook(sys.argv[1])
out = {"sheets": wb.sheetnames}
ws = wb.worksheets[0]
out["orientation"] = ws.page_setup.orientation
out["widths"] = {k: v.width for k, v in ws.column_dimensions.items()}
out["heights"] = {str(k): v.height for k, v in ws.row_dimensions.items() if v.height is not None}
ps = ws.page_setup
out["page"] = {
    "paper": ps.paperSize,
    # An absent fitToWidth or fitToHeight is the format's default, 1.
    "fit": [1 if v is None else int(v) for v in (ps.fitToWidth, ps.fitToHeight)]
    if ws.sheet_properties.pageSetUpPr and ws.sheet_properties.pageSetUpPr.fitToPage else None,
    "titles": ws.print_title_rows,
    "margins": [ws.page_margins.left, ws.page_margins.right, ws.page_margins.top, ws.page_margins.bottom],
}
out["merged"] = [str(r) for r in ws.merged_cells.ranges]
out["selection"] = ws.sheet_view.selection[0].activeCell if ws.sheet_view.selection else None
cells = {}
for row in ws.iter_rows():
    for c in row:
        if c.value is None and not c.has_style:
            continue
        b = c.border
        cells[c.coordinate] = {
            "value": c.value,
            "type": c.data_type,
            "format": c.number_format,
            "bold": bool(c.font.b),
            "size": c.font.sz,
            "align": c.alignment.horizontal,
            "border": [b.top.style, b.bottom.style, b.left.style, b.right.style],
        }
out["cells"] = cells
json.dump(out, sys.stdout, ensure_ascii=False)
