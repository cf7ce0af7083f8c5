#!/usr/bin/env python3
"""Writes the input lines of the recorded-answers test of lircomplect-kit.

The lines are random but fixed by the seed: sessions over the three
calculators, sizes biased to the size-class bounds, every option, both
profiles, every profile-system name, and failing inputs in between so that
the paths that keep the last designation run too.  The answers are recorded
by running lircomplect-kit on these lines (see tests/cli/test_recorded.cpp).
"""
import json
import random
import sys

BOUNDS = [100, 150, 200, 220, 250, 280, 300, 310, 311, 350, 385, 386, 399, 400, 440, 460,
          461, 470, 500, 501, 550, 551, 560, 620, 621, 650, 651, 700, 701, 720, 800, 801,
          810, 900, 901, 970, 1000, 1001, 1050, 1051, 1060, 1150, 1151, 1200, 1201, 1220,
          1300, 1301, 1310, 1400, 1401, 1470, 1500, 1501, 1560, 1600, 1601, 1650, 1651,
          1720, 1800, 1801, 1810, 1900, 2000, 2001, 2300]

NAZV = {
    "6741": ["ARtec PAD", "KBE AD", "Montblanc", "Plustec", "PROPLEX", "Rehau S730 AD",
             "Salamander", "Veka Softline AD", "Novotex", "Exprof", "ВИЛАРТ-ЛИР", "COK",
             "PLAFEN", "KBE Expert", "Thyssen"],
    "6741otkid": ["ARtec PAD", "KBE AD", "Montblanc", "Plustec", "PROPLEX", "Rehau S730 AD",
                  "Salamander", "Veka Softline AD", "Novotex", "Exprof", "Thyssen", "COK",
                  "PLAFEN", "KBE Expert"],
}
NAZV["6742"] = list(NAZV["6741"])
NAZV["6742"][10] = "ВИЛАРТ ЛИР"

COMMON = ["ProfilType", "KolKomlektov", "RAL", "NazvSystemProfiles", "cb_ramaType",
          "RadioGroup1", "FFH", "FFB", "GH", "RuchkaOkon", "TipRuchki", "Provetrivatel"]
ONLY = {
    "6741": ["Complekt", "PolStvorki", "RuchkaVcentre", "BalkonnayaZaschelka", "blokirator"],
    "6742": ["cb_zapor", "PolStvorki", "RuchkaVcentre", "PlankaMicrovent", "CheckBox1"],
    "6741otkid": ["CheckBox1"],
}


def size(rnd):
    r = rnd.random()
    if r < 0.6:
        return rnd.choice(BOUNDS) + rnd.choice([-1, 0, 0, 1])
    if r < 0.97:
        return rnd.randint(300, 1800)
    return rnd.choice([0, 1, 9999, rnd.randint(2500, 9999)])


def value(rnd, calc, key, line):
    if key == "ProfilType":
        return rnd.choice(["ПВХ", "ПВХ", "деревянный"])
    if key == "KolKomlektov":
        return rnd.choice([1, 1, 1, 2, 3, 7, 100, 100000, 0, 200000])
    if key == "RAL":
        return rnd.choice([9016, 9016, 0, 7035, 9999, 12000])
    if key == "NazvSystemProfiles":
        return rnd.choice(NAZV[calc])
    if key == "cb_ramaType":
        return rnd.choice(["Еврофальц 18/8", "Еврофальц 20/8"])
    if key in ("RadioGroup1", "Complekt"):
        return rnd.randint(0, 1)
    if key in ("FFH", "FFB"):
        return size(rnd)
    if key == "GH":
        ffh = line.get("FFH", rnd.randint(300, 2000))
        return max(0, min(9999, rnd.choice([ffh // 2, ffh // 2 + 1, ffh // 2 - 1, rnd.randint(0, 1500),
                                           rnd.choice(BOUNDS)])))
    if key == "TipRuchki":
        return rnd.choice(["ЛИР-0317.00", "ЛИР-1938.00"])
    if key == "PolStvorki":
        return rnd.choice(["Правое", "Левое"])
    return rnd.random() < 0.5


def main():
    rnd = random.Random(20261209)
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 4000
    out = []
    while len(out) < count:
        calc = rnd.choice(["6741", "6742", "6741otkid"])
        keys = COMMON + ONLY[calc]
        for _ in range(rnd.randint(1, 6)):
            line = {"calculator": calc}
            if rnd.random() < 0.5:
                line["FFH"] = size(rnd)
                line["FFB"] = size(rnd)
            for key in rnd.sample(keys, rnd.randint(0, 5)):
                line[key] = value(rnd, calc, key, line)
            if rnd.random() < 0.08:
                line["calculate"] = False
            # Keys are applied in the documented order, whatever order they are written in.
            out.append(line)
            if rnd.random() < 0.01:
                out.append({"calculator": calc, "FFH": "wide"})
    for line in out[:count]:
        print(json.dumps(line, ensure_ascii=False))


if __name__ == "__main__":
    main()
