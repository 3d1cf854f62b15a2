from typing import Any, Literal, overload

import numpy as np
import numpy.typing as npt

__version__: str

class ConversionError(ValueError):
    message: str
    index: int | tuple[int, ...] | None
    value: float | int | None
    field: Literal["value", "angle", "path"]
    def __init__(
        self,
        message: str,
        index: int | tuple[int, ...] | None = ...,
        value: float | int | None = ...,
        field: Literal["value", "angle", "path"] = ...,
    ) -> None: ...

QuantityName = str
"""energy (meV), wavelength (lambda), nu (THz, frequency), velocity (m/s), momentum
(wavevector), temperature (K), invcm (cm-1, wavenumber), q, dspacing (d-spacing),
tof (time-of-flight, us, µs)"""

Scalar = float | int | np.number[Any]

def quantities() -> list[str]: ...
@overload
def convert(
    values: Scalar,
    source: QuantityName,
    target: QuantityName,
    *,
    angle: Scalar | None = ...,
    path: Scalar | None = ...,
    pixel: None = ...,
    rounded: bool = ...,
    errors: Literal["raise", "nan"] = ...,
    out: npt.NDArray[np.float32] | None = ...,
) -> np.float32: ...
@overload
def convert(
    values: npt.ArrayLike,
    source: QuantityName,
    target: QuantityName,
    *,
    angle: npt.ArrayLike | None = ...,
    path: npt.ArrayLike | None = ...,
    pixel: npt.ArrayLike | None = ...,
    rounded: bool = ...,
    errors: Literal["raise", "nan"] = ...,
    out: npt.NDArray[np.float32] | None = ...,
) -> npt.NDArray[np.float32] | np.ma.MaskedArray[Any, np.dtype[np.float32]] | Any: ...
@overload
def convert_all(
    values: Scalar,
    source: QuantityName,
    *,
    angle: Scalar | None = ...,
    path: Scalar | None = ...,
    pixel: None = ...,
    rounded: bool = ...,
    errors: Literal["raise", "nan"] = ...,
) -> dict[str, np.float32]: ...
@overload
def convert_all(
    values: npt.ArrayLike,
    source: QuantityName,
    *,
    angle: npt.ArrayLike | None = ...,
    path: npt.ArrayLike | None = ...,
    pixel: npt.ArrayLike | None = ...,
    rounded: bool = ...,
    errors: Literal["raise", "nan"] = ...,
) -> dict[str, npt.NDArray[np.float32] | np.ma.MaskedArray[Any, np.dtype[np.float32]] | Any]: ...
def convert_text(
    value_text: str,
    source: QuantityName,
    target: QuantityName,
    *,
    angle_text: str = ...,
    path_text: str = ...,
) -> tuple[str, str]: ...
