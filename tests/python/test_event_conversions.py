"""The event conversions against their equations, worked out here in numpy from the same
relations, event by event, and against themselves: by pixel and gathered, dask and numpy."""
import dask.array as da
import numpy as np
import pytest

import pevrand

RNG = np.random.default_rng(35)
EV = 5.2276e-06  # the classic E/v², meV s²/m²
EK = 2.0717      # the classic E/k², meV Å²


def expected_energy_transfer(tof, l1, l2, fixed, energy, scale=1.0):
    """NaN where the neutron could not have arrived: the other leg takes longer than tof."""
    t = tof * 1e-6
    with np.errstate(all="ignore"):
        if fixed == "ei":
            leg = t - l1 / np.sqrt(energy / EV)
            transfer = energy - EV * (l2 / leg) ** 2
        else:
            leg = t - l2 / np.sqrt(energy / EV)
            transfer = EV * (l1 / leg) ** 2 - energy
    return np.where(leg > 0, transfer / scale, np.nan)


@pytest.mark.parametrize("fixed,energy", [("ei", 25.0), ("ef", 3.63)], ids=["direct", "indirect"])
@pytest.mark.parametrize("unit,scale", [("meV", 1.0), ("cm-1", 0.123975), ("THz", 4.1354)])
def test_energy_transfer_follows_its_equations_in_each_geometry_and_unit(fixed, energy, unit,
                                                                          scale):
    tof = RNG.uniform(3000.0, 20000.0, 500).astype(np.float32)
    l2 = RNG.uniform(2.0, 6.0, 500)
    got = pevrand.energy_transfer(tof, l1=10.0, l2=l2, unit=unit, errors="nan", **{fixed: energy})
    expected = expected_energy_transfer(tof.astype(float), 10.0, l2, fixed, energy, scale)
    assert got.dtype == np.float64 and 0 < np.isnan(expected).sum() < 500
    np.testing.assert_allclose(got, expected, rtol=1e-11)


@pytest.mark.parametrize("edition", ["codata2018", "codata2022"])
def test_the_energy_conversions_take_the_editions_factors(edition):
    factors = pevrand.constants(edition)
    ev, ek, en = (factors[k] for k in ("energy_velocity", "energy_wavevector",
                                       "energy_wavenumber"))
    tof = np.array([6000.0, 9000.0])
    vi = np.sqrt(25.0 / ev)
    vf = 4.0 / (tof * 1e-6 - 10.0 / vi)
    expected = (25.0 - ev * vf**2) / en
    got = pevrand.energy_transfer(tof, l1=10.0, l2=4.0, ei=25.0, unit="cm-1", constants=edition)
    np.testing.assert_allclose(got, expected, rtol=1e-12)
    # The transfer goes back to meV by the same factor before |Q| is worked out.
    ki, kf = np.sqrt(25.0 / ek), np.sqrt((25.0 - got * en) / ek)
    q = pevrand.momentum_transfer(got, angle=75.0, ei=25.0, unit="cm-1", constants=edition)
    np.testing.assert_allclose(q, np.sqrt(ki**2 + kf**2 - 2 * ki * kf * np.cos(np.radians(75.0))),
                               rtol=1e-12)


def test_momentum_transfer_follows_its_equation_and_is_converts_q_at_no_transfer():
    transfer = RNG.uniform(-20.0, 20.0, 300)
    angle = RNG.uniform(0.0, 180.0, 300)
    for fixed, energy in (("ei", 25.0), ("ef", 30.0)):
        ei, ef = (energy, energy - transfer) if fixed == "ei" else (energy + transfer, energy)
        ki, kf = np.sqrt(ei / EK), np.sqrt(ef / EK)
        expected = np.sqrt(ki**2 + kf**2 - 2 * ki * kf * np.cos(np.radians(angle)))
        got = pevrand.momentum_transfer(transfer, angle=angle, **{fixed: energy})
        np.testing.assert_allclose(got, expected, rtol=1e-10, atol=1e-12)
    elastic = pevrand.momentum_transfer(0.0, angle=angle, ei=25.0, constants="codata2022")
    np.testing.assert_allclose(elastic, pevrand.convert(25.0, "meV", "q", angle=angle,
                                                        constants="codata2022", rounded=False),
                               rtol=4e-16)


CALIBRATIONS = [
    # name, DIFC, DIFA, TZERO: a linear one, and quadratics of each sign
    ("difa zero", 5000.0, 0.0, -12.0),
    ("difa positive", 5000.0, 3.5, 7.0),
    ("difa negative", 5000.0, -40.0, 7.0),
]


@pytest.mark.parametrize("difc,difa,tzero", [c[1:] for c in CALIBRATIONS],
                         ids=[c[0] for c in CALIBRATIONS])
def test_tof_and_dspacing_follow_the_calibration_both_ways(difc, difa, tzero):
    d = np.geomspace(0.2, 8.0, 400)
    reachable = difc + 2 * difa * d > 0
    tof = pevrand.dspacing_to_tof(d, difc=difc, difa=difa, tzero=tzero, errors="nan")
    np.testing.assert_allclose(tof[reachable], (difc * d + difa * d**2 + tzero)[reachable],
                               rtol=1e-14)
    np.testing.assert_array_equal(np.isnan(tof), ~reachable)
    back = pevrand.tof_to_dspacing(tof[reachable], difc=difc, difa=difa, tzero=tzero)
    np.testing.assert_allclose(back, d[reachable], rtol=1e-12)
    if difa < 0:
        # Times past the top of the parabola have no d-spacing: the root's argument is negative.
        top = tzero - difc**2 / (4 * difa)
        edge = pevrand.tof_to_dspacing([top - 1.0, top + 1.0], difc=difc, difa=difa,
                                       tzero=tzero, errors="nan")
        assert np.isfinite(edge[0]) and np.isnan(edge[1])


FAILURES = [
    # name, call, message, index, field
    ("a time not positive", lambda: pevrand.energy_transfer([5000.0, -3.0], l1=10, l2=4, ei=25),
     "Time-of-flight must be positive", 1, "tof"),
    ("arrived before the fixed leg allows",
     lambda: pevrand.energy_transfer([5000.0, 4000.0], l1=10, l2=4, ei=25),
     "Time-of-flight too short", 1, "tof"),
    ("no final energy left", lambda: pevrand.momentum_transfer([3.0, 25.0], angle=60, ei=25),
     "Energy transfer leaves no positive neutron energy", 1, "energy_transfer"),
    ("an angle beyond 180 from an array",
     lambda: pevrand.momentum_transfer([1.0, 1.0], angle=[60, 190], ei=25),
     "angle must be in the range 0 to 180 degrees", 1, "angle"),
    ("a time at TZERO", lambda: pevrand.tof_to_dspacing([100.0, 7.0], difc=5000, tzero=7.0),
     "no positive d-spacing", 1, "tof"),
    ("a d-spacing past the turning point",
     lambda: pevrand.dspacing_to_tof([1.0, 70.0], difc=5000, difa=-40),
     "Beyond the turning point", 1, "d"),
    ("a scalar DIFC not positive, whatever the events",
     lambda: pevrand.tof_to_dspacing([], difc=0.0), "difc must be positive and finite", None,
     "difc"),
]


@pytest.mark.parametrize("call,message,index,field", [f[1:] for f in FAILURES],
                         ids=[f[0] for f in FAILURES])
def test_a_failing_event_says_why_and_which_argument(call, message, index, field):
    with pytest.raises(pevrand.ConversionError, match=message) as raised:
        call()
    assert (raised.value.index, raised.value.field) == (index, field)


def test_pixel_tables_give_the_gathered_call_and_name_a_failing_pixel():
    events, pixels = 5000, 40
    tof = RNG.uniform(2000.0, 20000.0, events).astype(np.float32)
    pix = RNG.integers(100, 100 + pixels, events)
    l2 = RNG.uniform(2.0, 6.0, pixels)
    l2[17] = 0.0  # pixel 117's flight path is unusable
    difc, difa, tzero = (RNG.uniform(4000, 6000, pixels), RNG.uniform(-5, 5, pixels),
                         RNG.uniform(-20, 20, pixels))
    at = pix - 100
    for name, by_pixel, gathered in [
        ("energy_transfer",
         lambda **k: pevrand.energy_transfer(tof, l1=10.0, l2=l2, ei=25.0, pixel=pix,
                                             pixel_offset=100, **k),
         lambda **k: pevrand.energy_transfer(tof, l1=10.0, l2=l2[at], ei=25.0, **k)),
        ("tof_to_dspacing",
         lambda **k: pevrand.tof_to_dspacing(tof, difc=difc, difa=difa, tzero=tzero, pixel=pix,
                                             pixel_offset=100, **k),
         lambda **k: pevrand.tof_to_dspacing(tof, difc=difc[at], difa=difa[at],
                                             tzero=tzero[at], **k)),
    ]:
        np.testing.assert_array_equal(by_pixel(errors="nan"), gathered(errors="nan"), name)
    with pytest.raises(pevrand.ConversionError) as raised:
        pevrand.energy_transfer(np.full(events, 9000.0), l1=10.0, l2=l2, ei=25.0, pixel=pix,
                                pixel_offset=100)
    first = int(np.argmax(pix == 117))
    assert (raised.value.pixel, raised.value.index, raised.value.field, raised.value.value) == (
        117, first, "l2", 0.0)
    assert "pixel 117" in str(raised.value)
    with pytest.raises(IndexError, match="pixel 99 at index 1 is below pixel_offset 100"):
        pevrand.tof_to_dspacing([1000.0, 1000.0], difc=difc, pixel=[100, 99], pixel_offset=100)


def test_dask_gives_numpys_result_with_indices_over_the_whole_array():
    tof = RNG.uniform(5000.0, 20000.0, 3000)
    pix = RNG.integers(0, 30, 3000)
    l2 = RNG.uniform(2.0, 6.0, 30)
    lazy = pevrand.energy_transfer(da.from_array(tof, chunks=700), l1=10.0, l2=l2, ei=25.0,
                                   pixel=da.from_array(pix, chunks=700))
    assert lazy.dtype == np.float64
    np.testing.assert_array_equal(lazy.compute(),
                                  pevrand.energy_transfer(tof, l1=10.0, l2=l2, ei=25.0, pixel=pix))
    failing = tof.copy()
    failing[2222] = 10.0
    with pytest.raises(pevrand.ConversionError) as raised:
        pevrand.energy_transfer(da.from_array(failing, chunks=700), l1=10.0, l2=l2, ei=25.0,
                                pixel=pix).compute()
    assert raised.value.index == 2222


def test_exactly_one_fixed_energy_and_a_known_unit():
    for fixed in ({}, {"ei": 25.0, "ef": 3.6}):
        with pytest.raises(ValueError, match="exactly one of ei"):
            pevrand.energy_transfer(5000.0, l1=10.0, l2=4.0, **fixed)
    with pytest.raises(ValueError, match="unit must be"):
        pevrand.momentum_transfer(1.0, angle=60.0, ei=25.0, unit="K")
