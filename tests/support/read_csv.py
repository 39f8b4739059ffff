#!/usr/bin/env python3
"""Prints each row of a CSV file as Python's csv module reads it, one line per
row: every field's UTF-8 bytes in hex after an "x".
Usage: read_csv.py FILE [DELIMITER]"""
import csv
import sys

csv.field_size_limit(sys.maxsize)  # backups hold values of several MiB
with open(sys.argv[1], newline="", encoding="utf-8") as backup:
    for row in csv.reader(backup, strict=True, delimiter=sys.argv[2] if len(sys.argv) > 2 else ","):
        print(" ".join("x" + field.encode().hex() for field in row))
