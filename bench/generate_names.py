#!/usr/bin/env python3
"""Writes N generated full names, one per line (LF), deterministically from a seed.

First names, some middle initials, last names with and without digits, about one
name in ten with a suffix from the default list, some letters beyond ASCII, and
only single spaces between words."""
import random
import sys

FIRST = ["John", "Mary", "Peter", "Anna", "Joe", "Chloé", "Jürgen", "Núñez", "Bjørn", "Zoë", "Liam", "Olivia",
         "Noah", "Emma", "Ava", "Mia", "Lucas", "Ella", "Mateo", "Sofía", "Henry", "Grace", "Ivan", "Yuki",
         "Omar", "Fatima", "Chen", "Priya", "Kwame", "Ada"]
LAST_STEMS = ["Smith", "Tavrin", "Jones", "Brown", "Müller", "García", "Østergaard", "Ibáñez", "Nguyen",
              "Kowalski", "O'Neil", "Smithers", "Lee", "Patel", "Kim", "Rossi", "Dubois", "Novák", "Fischer",
              "Silva", "Haddad", "Murphy", "Cohen", "Tanaka", "Okafor", "Larsen", "Moreau", "Weiß", "Yilmaz"]
SUFFIXES = ["Jr.", "Sr.", "III", "II", "Ph.D.", "M.D.", "Esq.", "CPA", "USMC", "DDS"]


def main():
    count = int(sys.argv[1])
    out = sys.argv[2]
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 1207
    rng = random.Random(seed)
    letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        for _ in range(count):
            words = [rng.choice(FIRST)]
            if rng.random() < 0.3:
                words.append(rng.choice(letters) + ".")
            last = rng.choice(LAST_STEMS)
            roll = rng.random()
            if roll < 0.5:
                last += rng.choice(letters).lower() * rng.randint(0, 2) + str(rng.randint(0, 999))
            elif roll < 0.8:
                last += rng.choice(["son", "sen", "ez", "ova", "ski", "er", ""])
            words.append(last)
            if rng.random() < 0.1:
                words.append(rng.choice(SUFFIXES))
            f.write(" ".join(words) + "\n")


if __name__ == "__main__":
    main()
