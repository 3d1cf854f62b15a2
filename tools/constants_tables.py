#!/usr/bin/env python3
"""Writes the tables of docs/constants.md from the module itself, so that no number in them is
typed: the factors of each edition of the constants (pevrand.constants), and each pair's
relative change from the classic edition to CODATA 2022, converted with the module.

    PYTHONPATH=build/python python3 tools/constants_tables.py factors|changes
"""
import sys

import pevrand

FACTORS = [
    ("energy_wavelength", "E λ²", "meV Å²"),
    ("energy_wavevector", "E / k²", "meV Å²"),
    ("energy_frequency", "E / ν", "meV/THz"),
    ("energy_velocity", "E / v²", "meV s²/m²"),
    ("energy_temperature", "E / T", "meV/K"),
    ("energy_wavenumber", "E / wavenumber", "meV cm"),
    ("neutron_mass", "neutron mass", "kg"),
]


def factors():
    editions = list(pevrand.editions())
    lines = ["| Factor | Unit | " + " | ".join(f"`{e}`" for e in editions) + " |",
             "|---|---|" + "---|" * len(editions)]
    for key, name, unit in FACTORS:
        numbers = [pevrand.constants(e)[key] for e in editions]
        lines.append(f"| {name} | {unit} | " + " | ".join(
            "—" if n is None else repr(n) for n in numbers) + " |")
    return "\n".join(lines) + "\n"


def changes():
    """Each pair's (CODATA 2022 / classic − 1), converting the classic equivalent of 25 meV in
    the source quantity, at 2θ = 90° and L = 10 m, rounded=False."""
    names = pevrand.quantities()
    start = pevrand.convert_all(25.0, "meV", angle=90.0, path=10.0, rounded=False)
    lines = ["| From \\ to | " + " | ".join(f"`{n}`" for n in names) + " |",
             "|---|" + "---|" * len(names)]
    for source in names:
        row = []
        for target in names:
            classic = pevrand.convert(start[source], source, target, angle=90.0, path=10.0,
                                      rounded=False)
            codata = pevrand.convert(float(start[source]), source, target, angle=90.0,
                                     path=10.0, rounded=False, constants="codata2022")
            change = float(codata) / float(classic) - 1
            # Below single precision's step (6e-8) the classic result can't tell: no change.
            row.append("0" if abs(change) < 5e-7 else f"{100 * change:+.2g}%".replace("-", "−"))
        lines.append(f"| `{source}` | " + " | ".join(row) + " |")
    return "\n".join(lines) + "\n"


if __name__ == "__main__":
    tables = {"factors": factors, "changes": changes}
    if len(sys.argv) != 2 or sys.argv[1] not in tables:
        sys.exit("usage: constants_tables.py factors|changes")
    sys.stdout.write(tables[sys.argv[1]]())
