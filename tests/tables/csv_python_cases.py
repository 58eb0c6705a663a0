#!/usr/bin/env python3
"""Writes CSV and TSV files with awkward content, and the rows Python's csv module reads
from each, for the table reader's test to compare against.

    csv_python_cases.py FOLDER SEED COUNT

Writes each case as FOLDER/case_N.ENCODING.csv (or .tsv) in every encoding that can
hold its text: UTF-8 without and with a byte-order mark, UTF-16 little- and big-endian
with one, and Windows-1252 for the cases whose letters it has. FOLDER/expected.json
lists {"file": name, "rows": [[cell, ...], ...]} for every file: the rows csv.reader
(default dialect, the case's delimiter) gives for the file's text as Python decodes it,
without the empty rows it gives for empty lines (the table reader skips those lines).

Half the cases are written with csv.writer (every quoting style, line terminator and
delimiter); the other half are random runs of characters that matter to a CSV reader
(quotes in odd places, text after a closing quote, an unclosed quote at the end), which
csv.reader reads leniently.
"""
import csv
import io
import json
import random
import sys

DELIMITERS = [",", ";", "\t"]
# Characters for text that UTF-8 and UTF-16 hold (but Windows-1252 not all of them).
WIDE = ["a", "Z", "7", " ", "é", "ß", "李", "😀", "Ω"]
# Windows-1252 files: letters whose bytes never make valid UTF-8 together, so that each
# line really is Windows-1252 (a lead byte followed by ASCII or another lead byte).
CP1252 = ["a", "Z", "7", " ", "é", "ü", "ñ"]


def random_text(rng, letters, delimiter):
    pieces = []
    for _ in range(rng.randint(0, 8)):
        roll = rng.random()
        if roll < 0.08:
            pieces.append('"')
        elif roll < 0.14:
            pieces.append(rng.choice(["\r\n", "\n", "\r"]))
        elif roll < 0.22:
            pieces.append(rng.choice(DELIMITERS))
        else:
            pieces.append(rng.choice(letters))
    return "".join(pieces)


def written_with_csv_module(rng, letters, delimiter):
    columns = rng.randint(2, 6)
    rows = []
    for _ in range(rng.randint(3, 25)):
        width = columns if rng.random() < 0.9 else rng.randint(1, columns + 2)
        rows.append([random_text(rng, letters, delimiter) for _ in range(width)])
    out = io.StringIO(newline="")
    writer = csv.writer(out, delimiter=delimiter,
                        quoting=rng.choice([csv.QUOTE_MINIMAL, csv.QUOTE_ALL, csv.QUOTE_NONNUMERIC]),
                        lineterminator=rng.choice(["\r\n", "\n", "\r"]))
    writer.writerows(rows)
    return out.getvalue()


def loose_characters(rng, letters, delimiter):
    # Lines of the same number of fields, so that the delimiter can be found, with
    # quotes and line ends anywhere in them.
    columns = rng.randint(2, 5)
    lines = []
    for _ in range(rng.randint(3, 20)):
        fields = []
        for _ in range(columns):
            field = "".join(rng.choice(letters + ['"', '"', " "]) for _ in range(rng.randint(0, 5)))
            if rng.random() < 0.3:
                field = '"' + field.replace('"', rng.choice(['""', '"'])) + '"' + rng.choice(["", "x", ' "'])
            fields.append(field)
        lines.append(delimiter.join(fields))
    text = ""
    for line in lines:
        text += line + rng.choice(["\r\n", "\n", "\r", "\r\n\r\n"])
    if rng.random() < 0.5:
        text = text.rstrip("\r\n")  # a last line without a line end
    if rng.random() < 0.2:
        text += '\n"unclosed ' + rng.choice(letters)  # a quote still open at the end
    return text


# Each encoding as a file holds it, and the codec Python decodes such a file with.
ENCODINGS = [
    ("utf-8", lambda text: text.encode("utf-8"), "utf-8"),
    ("utf-8-sig", lambda text: text.encode("utf-8-sig"), "utf-8-sig"),
    ("utf-16-le", lambda text: b"\xff\xfe" + text.encode("utf-16-le"), "utf-16"),
    ("utf-16-be", lambda text: b"\xfe\xff" + text.encode("utf-16-be"), "utf-16"),
]
CP1252_ENCODING = ("cp1252", lambda text: text.encode("cp1252"), "cp1252")


def main():
    folder, seed, count = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    rng = random.Random(seed)
    manifest = []
    for number in range(count):
        delimiter = rng.choice(DELIMITERS)
        cp1252 = rng.random() < 0.2
        letters = CP1252 if cp1252 else WIDE
        make = written_with_csv_module if number % 2 == 0 else loose_characters
        text = make(rng, letters, delimiter)
        # A TAB-separated file is sometimes named .tsv, and then never detected.
        suffix = ".tsv" if delimiter == "\t" and rng.random() < 0.5 else ".csv"
        for encoding, encode, codec in ENCODINGS + ([CP1252_ENCODING] if cp1252 else []):
            name = "case_%d.%s%s" % (number, encoding, suffix)
            data = encode(text)
            with open("%s/%s" % (folder, name), "wb") as file:
                file.write(data)
            decoded = io.StringIO(data.decode(codec), newline="")
            rows = [row for row in csv.reader(decoded, delimiter=delimiter) if row != []]
            manifest.append({"file": name, "rows": rows})
    with open("%s/expected.json" % folder, "w", encoding="utf-8") as file:
        json.dump(manifest, file, ensure_ascii=False)


if __name__ == "__main__":
    main()
