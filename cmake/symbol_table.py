#!/usr/bin/env python3
"""Writes the program's own table of function names beside it: "ImageBase <hex>", then
"<hex address> <name>" for each function the linker placed, by address, and the end of
the code as "<end>". Windows' debug help library reads only PDB files, so the program
names its own frames from this table (services/error_report.h, TSymbolTable).

Usage: symbol_table.py NM OBJDUMP PROGRAM OUTPUT"""
import re
import subprocess
import sys


def main():
    nm, objdump, program, output = sys.argv[1:5]
    headers = subprocess.run([objdump, "-h", "-p", program], capture_output=True, text=True,
                             check=True).stdout
    base = re.search(r"^ImageBase\s+([0-9a-fA-F]+)", headers, re.M).group(1)
    # The end of the code section: its address plus its size.
    text = re.search(r"^\s*\d+\s+\.text\s+([0-9a-fA-F]+)\s+([0-9a-fA-F]+)", headers, re.M)
    end = int(text.group(2), 16) + int(text.group(1), 16)
    symbols = subprocess.run([nm, "--defined-only", "-C", program], capture_output=True,
                             text=True, check=True).stdout
    names = {}
    for line in symbols.splitlines():
        parts = line.split(" ", 2)
        if len(parts) < 3 or parts[1] not in ("t", "T") or parts[2].startswith("."):
            continue
        address = int(parts[0], 16)
        # Of several names for one address the first global one.
        if address not in names or (parts[1] == "T" and names[address][0] == "t"):
            names[address] = (parts[1], parts[2].strip())
    with open(output, "w", newline="\n") as out:
        out.write(f"ImageBase {int(base, 16):x}\n")
        for address in sorted(names):
            out.write(f"{address:x} {names[address][1]}\n")
        out.write(f"{end:x} <end>\n")


if __name__ == "__main__":
    main()
