#!/usr/bin/env python3
"""Turns a names file into a CSV table of the same people, and the names the table's
rows give into a names file of their own, for comparing loading both.

  generate_table.py NAMES_IN ROWS_CSV NAMES_OUT

Six columns: Id, First name, Last name, Email, Class, Ticket. First name is every word
but the last, Last name the last word; NAMES_OUT holds each row's name as the table
gives it ("Last, First"), one a line."""
import csv
import sys


def main():
    source, table, names = sys.argv[1:4]
    with open(source, encoding="utf-8") as f_in, \
            open(table, "w", encoding="utf-8", newline="") as f_table, \
            open(names, "w", encoding="utf-8", newline="\n") as f_names:
        rows = csv.writer(f_table, lineterminator="\r\n")
        rows.writerow(["Id", "First name", "Last name", "Email", "Class", "Ticket"])
        for number, line in enumerate(f_in, start=1):
            words = line.split()
            if not words:
                continue
            first, last = " ".join(words[:-1]), words[-1]
            email = f"{words[0].lower()}.{number}@example.org"
            rows.writerow([number, first, last, email, f"Class {number % 12 + 1}", f"T-{number:07d}"])
            f_names.write(f"{last}, {first}\n" if first else f"{last}\n")


if __name__ == "__main__":
    main()
