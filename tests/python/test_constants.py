"""The editions of the constants: the CODATA ones against the physics worked out here, in
numpy's float64, from the exact relations and each edition's published neutron mass; the
classic one bit for bit the window's."""
import numpy as np
import pytest

import pevrand

# The SI's exact constants and the editions' neutron masses, as published.
H, E_CHARGE, K_B, C = 6.62607015e-34, 1.602176634e-19, 1.380649e-23, 299792458.0
MASS = {"codata2018": 1.67492749804e-27, "codata2022": 1.67492750056e-27}
MEV = E_CHARGE * 1e-3


def energy_of(quantity, x, mass, theta, length):
    """The neutron energy in meV (joules first) of x given in `quantity`."""
    wavelength = {  # every quantity by way of the wavelength in metres, or the energy
        "wavelength": lambda: x * 1e-10,
        "momentum": lambda: 2 * np.pi / (x * 1e10),
        "q": lambda: 4 * np.pi * np.sin(theta) / (x * 1e10),
        "dspacing": lambda: 2 * x * 1e-10 * np.sin(theta),
        "velocity": lambda: H / (mass * x),
        "tof": lambda: H / (mass * length / (x * 1e-6)),
    }
    joules = {"energy": lambda: x * MEV, "nu": lambda: H * x * 1e12,
              "invcm": lambda: H * C * x * 100, "temperature": lambda: K_B * x}
    if quantity in joules:
        return joules[quantity]() / MEV
    return H**2 / (2 * mass * wavelength[quantity]() ** 2) / MEV


def value_of(quantity, energy, mass, theta, length):
    joules = energy * MEV
    wavelength = H / np.sqrt(2 * mass * joules)
    return {
        "energy": energy, "nu": joules / H / 1e12, "invcm": joules / (H * C) / 100,
        "temperature": joules / K_B, "wavelength": wavelength * 1e10,
        "momentum": 2 * np.pi / wavelength / 1e10,
        "q": 4 * np.pi * np.sin(theta) / wavelength / 1e10,
        "dspacing": wavelength / (2 * np.sin(theta)) * 1e10,
        "velocity": H / (mass * wavelength), "tof": length / (H / (mass * wavelength)) * 1e6,
    }[quantity]


VALUES = np.geomspace(0.05, 5e4, 41)


@pytest.mark.parametrize("edition", MASS)
def test_codata_editions_follow_the_exact_relations(edition):
    angle, path = 73.5, 11.25
    for source in pevrand.quantities():
        for target in pevrand.quantities():
            got = pevrand.convert(VALUES, source, target, angle=angle, path=path,
                                  constants=edition, rounded=False)
            # Where the pair reads no angle or flight path, the defaults (45 degrees, 10 m) stand
            # in for both sides and divide out.
            needs_angle = (source in ("q", "dspacing")) != (target in ("q", "dspacing"))
            needs_path = (source == "tof") != (target == "tof")
            theta = np.radians(angle / 2 if needs_angle else 45.0)
            length = path if needs_path else 10.0
            mass = MASS[edition]
            expected = value_of(target, energy_of(source, VALUES, mass, theta, length), mass,
                                theta, length)
            assert got.dtype == np.float64
            np.testing.assert_allclose(got, expected, rtol=2e-14, err_msg=f"{source} to {target}")


@pytest.mark.parametrize("edition", MASS)
def test_codata_factors_are_worked_out_from_the_exact_constants(edition):
    mass = MASS[edition]
    factors = pevrand.constants(edition)
    expected = {"energy_wavelength": H**2 / (2 * mass) * 1e20 / MEV,
                "energy_wavevector": H**2 / (8 * np.pi**2 * mass) * 1e20 / MEV,
                "energy_frequency": H * 1e12 / MEV, "energy_velocity": mass / 2 / MEV,
                "energy_temperature": K_B / MEV, "energy_wavenumber": H * C * 100 / MEV}
    for name, value in expected.items():
        assert factors[name] == pytest.approx(value, rel=1e-15), name
    assert factors["neutron_mass"] == mass
    # The difference the editions are for: 81.8042 meV Å² against the classic 81.787.
    assert round(factors["energy_wavelength"], 4) == 81.8042


def test_classic_factors_are_the_windows_numbers():
    assert pevrand.constants() == {
        "energy_wavelength": 81.787, "energy_wavevector": 2.0717, "energy_frequency": 4.1354,
        "energy_velocity": 5.2276e-06, "energy_temperature": 0.086165,
        "energy_wavenumber": 0.123975, "neutron_mass": None}


def test_naming_the_classic_edition_changes_no_bit():
    values = np.geomspace(1e-3, 1e6, 997).astype(np.float32)
    for target in pevrand.quantities():
        for rounded in (True, False):
            default = pevrand.convert(values, "meV", target, angle=40, path=9, rounded=rounded)
            named = pevrand.convert(values, "meV", target, angle=40, path=9, rounded=rounded,
                                    constants="classic")
            assert named.dtype == np.float32
            np.testing.assert_array_equal(named.view(np.uint32), default.view(np.uint32))


@pytest.mark.parametrize("value", [25.0, 1.0, 1e-3, 12345.678, 81.80421023520228])
def test_codata_rounded_is_the_double_nearest_its_five_figures(value):
    unrounded = np.sqrt(pevrand.constants("codata2022")["energy_wavelength"] / value)
    text = f"{unrounded:.5g}"
    result = pevrand.convert(value, "meV", "lambda", constants="codata2022")
    assert type(result) is np.float64 and result == float(text)
    assert pevrand.convert_text(repr(value), "meV", "lambda", constants="codata2022") == (text,
                                                                                          "")


def test_codata_checks_give_the_window_messages_at_double_range():
    # 1e20 squares beyond single but not double precision: out of range only for classic.
    assert pevrand.convert(1e20, "meV", "meV", constants="codata2018") == 1e20
    with pytest.raises(pevrand.ConversionError, match="Value out of range"):
        pevrand.convert(1e20, "meV", "meV")
    with pytest.raises(pevrand.ConversionError, match="Value out of range"):
        pevrand.convert(1e200, "meV", "meV", constants="codata2018")
    with pytest.raises(pevrand.ConversionError, match="Scattering angle not specified"):
        pevrand.convert(2.0, "dspacing", "meV", constants="codata2022")
    # q to d-spacing reads no angle: 2 pi / q in every edition.
    assert pevrand.convert(2.0, "q", "dspacing", constants="codata2022",
                           rounded=False) == pytest.approx(np.pi, rel=1e-15)


def test_every_way_of_calling_takes_a_codata_edition():
    import dask.array as da
    import xarray as xr

    rng = np.random.default_rng(34)
    tof, pixels = rng.uniform(500.0, 20000.0, 600), rng.integers(0, 7, 600)
    angles, paths = rng.uniform(5, 175, 7), rng.uniform(8, 14, 7)
    keywords = dict(constants="codata2022", rounded=False)
    expected = pevrand.convert(tof, "tof", "dspacing", angle=angles[pixels], path=paths[pixels],
                               **keywords)
    assert expected.dtype == np.float64
    by_pixel = pevrand.convert(tof, "tof", "dspacing", pixel=pixels, angle=angles, path=paths,
                               **keywords)
    out = np.empty(600, ">f8")
    pevrand.convert(tof, "tof", "dspacing", pixel=pixels, angle=angles, path=paths, out=out,
                    **keywords)
    lazy = pevrand.convert(da.from_array(tof, chunks=128), "tof", "dspacing",
                           pixel=da.from_array(pixels, chunks=100), angle=angles, path=paths,
                           **keywords)
    labelled = pevrand.convert(xr.DataArray(tof, dims="event"), "tof", "dspacing",
                               pixel=xr.DataArray(pixels, dims="event"), angle=angles, path=paths,
                               **keywords)
    assert lazy.dtype == np.float64
    for result in (by_pixel, out, lazy.compute(), labelled.values):
        np.testing.assert_array_equal(result, expected)
    with pytest.raises(TypeError, match="float64"):
        pevrand.convert(tof, "tof", "dspacing", angle=90, path=10, out=np.empty(600, np.float32),
                        **keywords)
