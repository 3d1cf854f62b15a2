#!/usr/bin/env python3
"""Runs pevrand-convert as a process and checks each row's output, error output and status.

Usage: check_command.py PATH-TO-pevrand-convert
"""

import os
import resource
import subprocess
import sys
import unittest

PROGRAM = None
USAGE = ("usage: pevrand-convert [--angle DEG] [--path M] [--constants EDITION] [--full]\n"
         "                       FROM TO [VALUE...]\n"
         "       pevrand-convert --help | --version\n")


def usage_error(reason):
    return f"pevrand-convert: {reason}\n{USAGE}"


def line(number, message):
    return f"pevrand-convert: line {number}: {message}\n"


def value(number, message):
    return f"pevrand-convert: value {number}: {message}\n"


ALL_25 = ("energy\t25\nwavelength\t1.8087\nnu\t6.0454\nvelocity\t2186.8\nmomentum\t3.4738\n"
          "temperature\t290.14\ninvcm\t201.65\nq\tScattering angle not specified\n"
          "dspacing\tScattering angle not specified\ntof\tTotal flight path not specified\n")

# name, arguments, standard input (None: none is read), standard output, standard error, status
ROWS = [
    # Quantity names and aliases as FROM; NAMES below has every name as TO.
    ("quantity_names", ["energy", "wavelength", "25", "81.787"], None, "1.8087\n1\n", "", 0),
    ("greek_mu_microseconds", ["\u03bcs", "meV", "--path=10", "1000"], None, "522.76\n", "", 0),
    ("q_and_dspacing_need_no_angle", ["q", "d-spacing", "3.1416"], None, "2\n", "", 0),
    # All, and the geometry options.
    ("all_without_geometry", ["meV", "all", "25"], None, ALL_25, "", 0),
    ("all_from_standard_input", ["energy", "All"], "25\n", ALL_25, "", 0),
    ("all_with_both_geometries", ["--angle", "90", "--path", "10", "dspacing", "ALL", "2"], None,
     "energy\t10.223\nwavelength\t2.8284\nnu\t2.4722\nvelocity\t1398.4\nmomentum\t2.2214\n"
     "temperature\t118.65\ninvcm\t82.463\nq\t3.1416\ndspacing\t2\ntof\t7150.8\n", "", 0),
    # A failure leaves only its own values empty and is told once per line.
    ("all_fails_only_where_the_angle_is_used", ["--angle", "200", "meV", "all"], "25\n0\n",
     "energy\t25\nwavelength\t1.8087\nnu\t6.0454\nvelocity\t2186.8\nmomentum\t3.4738\n"
     "temperature\t290.14\ninvcm\t201.65\nq\t\ndspacing\t\ntof\tTotal flight path not specified\n"
     "energy\t\nwavelength\t\nnu\t\nvelocity\t\nmomentum\t\ntemperature\t\ninvcm\t\nq\t\n"
     "dspacing\t\ntof\t\n",
     line(1, "2 theta must be in the range 0 to 180 degrees")
     + line(2, "Non-positive values not allowed"), 1),
    ("decimal_commas_of_both_geometries_told_once", ["--angle", "2,5", "--path", "1,5", "meV",
     "all", "25"], None, ALL_25.split("q\t")[0] + "q\t\ndspacing\t\ntof\t\n",
     value(1, "Use a period as the decimal point"), 1),
    ("geometry_options", ["--path", "12.5", "--angle", "90", "dspacing", "time-of-flight", "1.5",
                          "2", "2.5"], None, "6703.9\n8938.5\n11173\n", "", 0),
    ("geometry_after_the_values", ["dspacing", "tof", "2", "--angle=90", "--path=12.5"], None,
     "8938.5\n", "", 0),
    ("unused_geometry_is_not_read", ["--angle", "500", "--path", "-1", "tof", "tof", "1000"],
     None, "1000\n", "", 0),
    ("values_that_look_like_options", ["meV", "nu", "-", "--", "--angle", "-x"], None, "\n\n\n",
     "".join(value(n, "Non-positive values not allowed") for n in (1, 2, 3)), 1),
    # The editions of the constants and the unrounded result.
    ("codata_five_figures", ["--constants", "codata2022", "meV", "wavelength", "25"], None,
     "1.8089\n", "", 0),
    ("full_is_the_single_for_classic", ["--full", "meV", "wavelength", "25"], None,
     "1.8087233\n", "", 0),
    ("full_is_the_double_for_codata", ["--constants=codata2018", "--full", "meV", "wavelength",
                                       "25"], None, "1.8089136005711297\n", "", 0),
    ("all_honours_constants_and_full", ["--constants", "codata2022", "--full", "--angle", "90",
                                        "meV", "all", "25"], None,
     "energy\t25\nwavelength\t1.8089135992103358\nnu\t6.0449731052122955\n"
     "velocity\t2186.9668113758503\nmomentum\t3.4734579417847553\n"
     "temperature\t290.11295303875204\ninvcm\t201.6385984337303\nq\t4.912211329604537\n"
     "dspacing\t1.2790950725821932\ntof\tTotal flight path not specified\n", "", 0),
    ("codata_range_is_the_doubles", ["--constants", "codata2022", "meV", "meV", "1e20",
                                     "1e200"], None, "1E+20\n\n",
     value(2, "Value out of range for this conversion"), 1),
    ("unknown_constants", ["--constants", "codata", "meV", "nu", "1"], None, "",
     usage_error('unknown constants "codata": use classic, codata2018, codata2022'), 2),
    ("constants_given_twice", ["--constants=classic", "--constants", "codata2018", "meV", "nu",
                               "1"], None, "", usage_error("--constants given twice"), 2),
    ("constants_without_its_edition", ["meV", "nu", "--constants"], None, "",
     usage_error("--constants needs a value: classic, codata2018, codata2022"), 2),
    # Every message, each with an empty line where its value would be.
    ("no_input_value", ["meV", "nu", ""], None, "\n", value(1, "No input value specified"), 1),
    ("decimal_comma", ["meV", "nu", "4.1354", "2,5"], None, "1\n\n",
     value(2, "Use a period as the decimal point"), 1),
    ("non_positive", ["meV", "nu", "--", "-5"], None, "\n",
     value(1, "Non-positive values not allowed"), 1),
    ("negative_value_without_double_dash", ["meV", "nu", "-.5"], None, "\n",
     value(1, "Non-positive values not allowed"), 1),
    ("flight_path_not_specified", ["meV", "tof", "25"], None, "\n",
     value(1, "Total flight path not specified"), 1),
    ("empty_flight_path", ["--path=", "meV", "tof", "25"], None, "\n",
     value(1, "Total flight path not specified"), 1),
    ("flight_path_not_positive", ["--path", "0", "meV", "tof", "25"], None, "\n",
     value(1, "Total flight path must be positive"), 1),
    ("flight_path_decimal_comma", ["--path", "1,5", "meV", "tof", "25"], None, "\n",
     value(1, "Use a period as the decimal point"), 1),
    ("angle_not_specified", ["meV", "q", "25"], None, "\n",
     value(1, "Scattering angle not specified"), 1),
    ("angle_out_of_range", ["--angle", "181", "meV", "dspacing", "25"], None, "\n",
     value(1, "2 theta must be in the range 0 to 180 degrees"), 1),
    ("angle_zero", ["--angle", "0", "meV", "q", "25"], None, "\n",
     value(1, "2 theta must be greater than 0 for this conversion"), 1),
    ("out_of_range", ["meV", "lambda", "1e30"], None, "\n",
     value(1, "Value out of range for this conversion"), 1),
    # Batches from standard input.
    ("mixed_batch", ["meV", "lambda"], "25\n\n-1\n12abc\n1e30\n81.787\n",
     "1.8087\n\n\n2.6107\n\n1\n",
     line(2, "No input value specified") + line(3, "Non-positive values not allowed")
     + line(5, "Value out of range for this conversion"), 1),
    ("last_line_without_newline", ["meV", "lambda"], "25\n81.787", "1.8087\n1\n", "", 0),
    ("windows_line_endings", ["meV", "lambda"], "25\r\n\r\n81.787\r\n", "1.8087\n\n1\n",
     line(2, "No input value specified"), 1),
    ("empty_input", ["meV", "lambda"], "", "", "", 0),
    ("nul_and_control_bytes", ["meV", "lambda"], "25\0junk\n\x1b[1m25\n\xff\xfe\n",
     "1.8087\n\n\n",
     line(2, "Non-positive values not allowed") + line(3, "Non-positive values not allowed"), 1),
    ("very_long_number", ["meV", "lambda"], "1" * 70000 + "\n25\n", "\n1.8087\n",
     line(1, "Number too long to read"), 1),
    # Usage errors: a reason, the usage, status 2, nothing converted.
    ("no_arguments", [], None, "", usage_error("missing FROM and TO quantities"), 2),
    ("missing_to", ["meV"], None, "", usage_error("missing TO quantity"), 2),
    ("unknown_quantity", ["meV", "joule", "1"], None, "",
     usage_error('unknown quantity "joule" (see --help)'), 2),
    ("control_characters_stay_on_one_line", ["a\nb\x7f", "meV"], None, "",
     usage_error('unknown quantity "a\\x0ab\\x7f" (see --help)'), 2),
    ("lower_case_k_is_ambiguous", ["meV", "k", "1"], None, "",
     usage_error('"k" could be the wavevector or kelvin: use "momentum" or "K"'), 2),
    ("all_as_from", ["All", "meV", "1"], None, "", usage_error('"all" can only be TO'), 2),
    ("bad_option", ["--angel", "90", "meV", "q"], None, "",
     usage_error('unknown option "--angel"'), 2),
    ("option_prefix_is_not_the_option", ["--angles=3", "meV", "nu"], None, "",
     usage_error('unknown option "--angles=3"'), 2),
    ("missing_angle_value", ["meV", "q", "--angle"], None, "",
     usage_error("--angle needs a value: 2 theta in degrees"), 2),
    ("missing_path_value", ["meV", "tof", "--path"], None, "",
     usage_error("--path needs a value: the total flight path in metres"), 2),
    ("option_twice", ["--path", "1", "--path=2", "meV", "tof"], None, "",
     usage_error("--path given twice"), 2),
    ("version", ["meV", "nu", "--version", "bogus"], None, "pevrand-convert 2.1.0\n", "", 0),
]

# Each quantity's name, what 25 meV is in it at 90 degrees and 10 m, and its other spellings:
# each, as TO, must give that value.
NAMES = [
    ("energy", "25", ["Energy", "MEV"]), ("wavelength", "1.8087", ["WaveLength", "lambda"]),
    ("nu", "6.0454", ["NU", "thz", "Frequency"]), ("velocity", "2186.8", ["M/S"]),
    ("momentum", "3.4738", ["Momentum", "wavevector"]), ("temperature", "290.14", ["K"]),
    ("invcm", "201.65", ["cm-1", "Wavenumber"]), ("q", "4.9127", ["Q"]),
    ("dspacing", "1.279", ["D-Spacing"]),
    ("tof", "4572.8", ["TOF", "us", "\u00b5s", "\u03bcS", "\u039cs", "Time-of-Flight"]),
]
# Each the unit of two quantities, or no name at all.
NOT_NAMES = ["Angstrom", "\u00c5", "1/A", "", "energ", "energyx", "energy "]


def run(arguments, stdin):
    return subprocess.run([PROGRAM, *arguments], capture_output=True, timeout=60,
                          input=None if stdin is None else stdin.encode("utf-8", "surrogateescape"),
                          stdin=subprocess.DEVNULL if stdin is None else None)


class Command(unittest.TestCase):
    def test_rows(self):
        for name, arguments, stdin, out, err, status in ROWS:
            with self.subTest(name):
                result = run(arguments, stdin)
                self.assertEqual(result.stdout.decode("utf-8"), out)
                self.assertEqual(result.stderr.decode("utf-8"), err)
                self.assertEqual(result.returncode, status)

    def test_every_name_is_its_quantity(self):
        for quantity, at_25_mev, others in NAMES:
            for name in [quantity, *others]:
                with self.subTest(name):
                    result = run(["--angle", "90", "--path", "10", "meV", name, "25"], None)
                    self.assertEqual(result.stdout.decode("utf-8"), at_25_mev + "\n")
        for name in NOT_NAMES:
            with self.subTest(name):
                result = run([name, "meV", "1"], None)
                self.assertEqual(result.stderr.decode("utf-8"),
                                 usage_error(f'unknown quantity "{name}" (see --help)'))
                self.assertEqual(result.returncode, 2)

    def test_help_wins_and_lists_usage_quantities_and_examples(self):
        result = run(["--help", "bogus"], None)
        text = result.stdout.decode("utf-8")
        self.assertEqual(result.returncode, 0)
        self.assertTrue(text.startswith(USAGE))
        for name, _, _ in NAMES:
            self.assertIn(f"\n  {name} ", text)
        for unit in ("meV", "THz", "m/s", "cm-1", "\u00b5s"):
            self.assertIn(f" {unit}", text)
        self.assertEqual(text.count("\n  pevrand-convert "), 3)

    def test_binary_junk_gives_a_line_and_at_most_a_message_per_line(self):
        junk = bytes((i * 7919 + i // 3) % 256 for i in range(200000))
        lines = junk.split(b"\n")
        if lines[-1] == b"":
            lines.pop()
        result = subprocess.run([PROGRAM, "meV", "all"], input=junk, capture_output=True,
                                timeout=60)
        out = result.stdout.split(b"\n")[:-1]
        self.assertEqual(len(out), 10 * len(lines))
        failed = sum(1 for row in out[::10] if row == b"energy\t")
        self.assertEqual(len(result.stderr.splitlines()), failed)
        self.assertEqual(result.returncode, 1 if failed else 0)

    def test_hundred_megabyte_line_in_bounded_memory(self):
        # The line is made by a pipeline, so that no process here ever holds it.
        script = ('{ printf 25; head -c 104857600 /dev/zero | tr "\\0" x; printf "\\n81.787\\n"; }'
                  ' | exec "$0" meV lambda')
        result = subprocess.run(["sh", "-c", script, PROGRAM], capture_output=True, timeout=120)
        self.assertEqual(result.stdout, b"1.8087\n1\n")
        self.assertEqual(result.returncode, 0)
        peak_kib = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
        self.assertLess(peak_kib, 32 * 1024, "peak resident memory of any process run, KiB")

    def test_broken_input_or_output_says_why(self):
        with open("/dev/full", "wb") as full:
            for arguments, stdin in ((["25"], None), ([], b"25\n" * 50000)):
                with self.subTest(arguments):
                    result = subprocess.run(
                        [PROGRAM, "meV", "lambda", *arguments], input=stdin,
                        stdin=subprocess.DEVNULL if stdin is None else None, stdout=full,
                        stderr=subprocess.PIPE, timeout=60)
                    self.assertEqual(result.stderr, b"pevrand-convert: cannot write the output: "
                                                    b"No space left on device\n")
                    self.assertEqual(result.returncode, 1)
        # A directory opens for reading, but read(2) on it fails.
        directory = os.open("/", os.O_RDONLY)
        try:
            result = subprocess.run([PROGRAM, "meV", "lambda"], stdin=directory,
                                    capture_output=True, timeout=60)
        finally:
            os.close(directory)
        self.assertEqual(result.stderr,
                         b"pevrand-convert: cannot read standard input: Is a directory\n")
        self.assertEqual(result.returncode, 1)

if __name__ == "__main__":
    PROGRAM = sys.argv.pop(1)
    unittest.main(verbosity=1)
