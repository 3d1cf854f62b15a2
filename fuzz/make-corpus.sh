#!/usr/bin/env bash
# Writes the seed corpus of the Convert fuzzer into fuzz/corpus/: one small file per message
# of the command and a few results. Each file is two quantity codes ('0'..'9' Energy..Tof,
# ':' none) followed by the input, 2 theta and flight path texts separated by newlines.
set -euo pipefail
corpus="$(cd "$(dirname "$0")" && pwd)/corpus"
mkdir -p "$corpus"

seed() { printf '%b' "$2" >"$corpus/$1"; }

# Results
seed startup-energy-to-wavelength       '0125\n\n'
seed wavelength-to-nu                   '124\n\n'
seed velocity-to-temperature            '352200\n\n'
seed momentum-to-invcm                  '463.47\n\n'
seed temperature-to-energy              '50290\n\n'
seed nu-to-velocity                     '236.0\n\n'
seed dspacing-to-tof-both-geometries    '892\n90\n10'
seed tof-to-tof-ignores-flight-path     '991000\n\n-3'
seed q-to-dspacing-ignores-angle        '781\n500\n'
seed energy-to-q-angle-180              '0725\n180\n'
seed trailing-unit-ignored              '001.5e3 meV\n\n'
seed largest-single                     '003.4e38\n\n'
seed subnormal-single                   '001e-44\n\n'
# One per message
seed no-input-value                     '01'
seed blanks-not-positive                '01   \n\n'
seed negative-not-positive              '01-5\n\n'
seed flight-path-not-specified          '901000\n\n'
seed flight-path-not-positive           '901000\n\n0'
seed angle-not-specified                '0725\n\n'
seed angle-out-of-range                 '0725\n181\n'
seed angle-zero                         '802\n0\n'
seed no-input-units                     ':025\n\n'
seed no-output-units                    '0:25\n\n'
seed square-overflows                   '001e20\n\n'
seed square-underflows                  '101e-30\n\n'
