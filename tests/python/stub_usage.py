"""Calls every function of the module as its documents do, with the types the stub promises:
mypy --strict checks the promises, and running it checks that they are what comes back."""
from typing import Any, assert_type

import numpy as np
import numpy.typing as npt

import pevrand

wavelength = pevrand.convert(25, "meV", "wavelength")
assert_type(wavelength, np.float32)
codata = pevrand.convert(25.0, "meV", "wavelength", constants="codata2022")
assert_type(codata, np.float64)
tofs = np.linspace(1000.0, 20000.0, 6, dtype=np.float32)
d: Any = pevrand.convert(tofs, "tof", "dspacing", angle=90, path=12.5, rounded=False)
events: Any = pevrand.convert(tofs, "tof", "dspacing", pixel=np.arange(6) % 2,
                              angle=[30.0, 90.0], path=[10.0, 12.5], errors="nan")
out = np.empty(6, np.float32)
into = pevrand.convert(tofs, "tof", "dspacing", angle=90, path=12.5, out=out)
assert_type(into, npt.NDArray[np.float32])
scalar_out = np.empty((), np.float32)
assert_type(pevrand.convert(25.0, "meV", "nu", out=scalar_out), npt.NDArray[np.float32])
every: dict[str, Any] = pevrand.convert_all(25, "meV", angle=90)
text: tuple[str, str] = pevrand.convert_text("25", "meV", "wavelength")
names: list[str] = pevrand.quantities()
factors: dict[str, float | None] = pevrand.constants("codata2022")
editions: dict[str, tuple[str, str]] = pevrand.editions()

transfer = pevrand.energy_transfer(5000.0, l1=10.0, l2=4.0, ei=25.0)
assert_type(transfer, np.float64)
transfers: Any = pevrand.energy_transfer(tofs * 4, l1=10.0, l2=[4.0, 4.5], ef=3.6,
                                         pixel=np.arange(6) % 2, unit="cm-1", errors="nan")
q = pevrand.momentum_transfer(0.0, angle=90.0, ei=25.0, constants="codata2022")
assert_type(q, np.float64)
calibrated = np.empty(6)
assert_type(pevrand.tof_to_dspacing(tofs, difc=5000.0, difa=-2.0, tzero=3.0, out=calibrated),
            npt.NDArray[np.float64])
back = pevrand.dspacing_to_tof(2.0, difc=5000.0)
assert_type(back, np.float64)
try:
    pevrand.convert([-1.0], "meV", "nu")
except pevrand.ConversionError as error:
    where: int | tuple[int, ...] | None = error.index
    pixel: int | None = error.pixel

# What the stub promised is what came back.
for value, kind in [(wavelength, np.float32), (codata, np.float64), (transfer, np.float64),
                    (q, np.float64), (back, np.float64)]:
    assert type(value) is kind, (value, kind)
assert into is out and pevrand.convert(25.0, "meV", "nu", out=scalar_out) is scalar_out
print("the stub's promises hold")
