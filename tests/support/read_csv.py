#!/usr/bin/env python3
"""Reads a backup file with Python's csv module and prints each row as a JSON
array on its own line, so that tests can compare every field with the
database's rows. Usage: read_csv.py FILE [DELIMITER]"""
import csv
import json
import sys


def main() -> int:
    path = sys.argv[1]
    delimiter = sys.argv[2] if len(sys.argv) > 2 else ","
    with open(path, newline="", encoding="utf-8") as backup:
        for row in csv.reader(backup, delimiter=delimiter, strict=True):
            print(json.dumps(row, ensure_ascii=True))
    return 0


if __name__ == "__main__":
    sys.exit(main())
