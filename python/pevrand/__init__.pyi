from typing import Any, Literal, TypeVar, overload

import numpy as np
import numpy.typing as npt

__version__: str

Field = Literal["value", "angle", "path", "tof", "d", "energy_transfer", "l1", "l2", "ei", "ef",
                "difc", "difa", "tzero"]

class ConversionError(ValueError):
    message: str
    index: int | tuple[int, ...] | None
    value: float | int | None
    field: Field
    pixel: int | None
    def __init__(
        self,
        message: str,
        index: int | tuple[int, ...] | None = ...,
        value: float | int | None = ...,
        field: Field = ...,
        pixel: int | None = ...,
    ) -> None: ...

# A quantity's name or one of its other names: quantities() lists the names.
QuantityName = str
Edition = Literal["classic", "codata2018", "codata2022"]
CodataEdition = Literal["codata2018", "codata2022"]
Errors = Literal["raise", "nan"]
TransferUnit = Literal["meV", "cm-1", "THz"]
Scalar = float | int | np.floating[Any] | np.integer[Any]
# An array given as out=, which is what comes back.
Out = TypeVar("Out", bound=npt.NDArray[np.floating[Any]])

def quantities() -> list[str]: ...
def editions() -> dict[str, tuple[str, str]]: ...
def constants(edition: Edition = ...) -> dict[str, float | None]: ...

# A scalar, with no geometry array and no out=, gives a numpy scalar: float32 for the classic
# constants, float64 for a CODATA edition.
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
    errors: Errors = ...,
    out: None = ...,
    constants: Literal["classic"] = ...,
    pixel_offset: int = ...,
) -> np.float32: ...
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
    errors: Errors = ...,
    out: None = ...,
    constants: CodataEdition,
    pixel_offset: int = ...,
) -> np.float64: ...
# out= is what comes back, whatever the values.
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
    errors: Errors = ...,
    out: Out,
    constants: Edition = ...,
    pixel_offset: int = ...,
) -> Out: ...
# Arrays give a numpy array (a masked one for masked values), a dask array or a DataArray.
@overload
def convert(
    values: Any,
    source: QuantityName,
    target: QuantityName,
    *,
    angle: Any = ...,
    path: Any = ...,
    pixel: Any = ...,
    rounded: bool = ...,
    errors: Errors = ...,
    out: None = ...,
    constants: Edition = ...,
    pixel_offset: int = ...,
) -> Any: ...
def convert_all(
    values: Any,
    source: QuantityName,
    *,
    angle: Any = ...,
    path: Any = ...,
    pixel: Any = ...,
    rounded: bool = ...,
    errors: Errors = ...,
    constants: Edition = ...,
    pixel_offset: int = ...,
) -> dict[str, Any]: ...
def convert_text(
    value_text: str,
    source: QuantityName,
    target: QuantityName,
    *,
    angle_text: str = ...,
    path_text: str = ...,
    constants: Edition = ...,
) -> tuple[str, str]: ...

# The event conversions give float64: a numpy float64 for a scalar, out= where it is given,
# else an array (numpy, dask or xarray, as given).
@overload
def energy_transfer(
    tof: Scalar,
    *,
    l1: Scalar,
    l2: Scalar,
    ei: Scalar | None = ...,
    ef: Scalar | None = ...,
    unit: TransferUnit = ...,
    pixel: None = ...,
    constants: Edition = ...,
    errors: Errors = ...,
    out: None = ...,
    pixel_offset: int = ...,
) -> np.float64: ...
@overload
def energy_transfer(
    tof: npt.ArrayLike,
    *,
    l1: npt.ArrayLike,
    l2: npt.ArrayLike,
    ei: npt.ArrayLike | None = ...,
    ef: npt.ArrayLike | None = ...,
    unit: TransferUnit = ...,
    pixel: npt.ArrayLike | None = ...,
    constants: Edition = ...,
    errors: Errors = ...,
    out: Out,
    pixel_offset: int = ...,
) -> Out: ...
@overload
def energy_transfer(
    tof: Any,
    *,
    l1: Any,
    l2: Any,
    ei: Any = ...,
    ef: Any = ...,
    unit: TransferUnit = ...,
    pixel: Any = ...,
    constants: Edition = ...,
    errors: Errors = ...,
    out: None = ...,
    pixel_offset: int = ...,
) -> Any: ...
@overload
def momentum_transfer(
    energy_transfer: Scalar,
    *,
    angle: Scalar,
    ei: Scalar | None = ...,
    ef: Scalar | None = ...,
    unit: TransferUnit = ...,
    pixel: None = ...,
    constants: Edition = ...,
    errors: Errors = ...,
    out: None = ...,
    pixel_offset: int = ...,
) -> np.float64: ...
@overload
def momentum_transfer(
    energy_transfer: npt.ArrayLike,
    *,
    angle: npt.ArrayLike,
    ei: npt.ArrayLike | None = ...,
    ef: npt.ArrayLike | None = ...,
    unit: TransferUnit = ...,
    pixel: npt.ArrayLike | None = ...,
    constants: Edition = ...,
    errors: Errors = ...,
    out: Out,
    pixel_offset: int = ...,
) -> Out: ...
@overload
def momentum_transfer(
    energy_transfer: Any,
    *,
    angle: Any,
    ei: Any = ...,
    ef: Any = ...,
    unit: TransferUnit = ...,
    pixel: Any = ...,
    constants: Edition = ...,
    errors: Errors = ...,
    out: None = ...,
    pixel_offset: int = ...,
) -> Any: ...
@overload
def tof_to_dspacing(
    tof: Scalar,
    *,
    difc: Scalar,
    difa: Scalar = ...,
    tzero: Scalar = ...,
    pixel: None = ...,
    errors: Errors = ...,
    out: None = ...,
    pixel_offset: int = ...,
) -> np.float64: ...
@overload
def tof_to_dspacing(
    tof: npt.ArrayLike,
    *,
    difc: npt.ArrayLike,
    difa: npt.ArrayLike = ...,
    tzero: npt.ArrayLike = ...,
    pixel: npt.ArrayLike | None = ...,
    errors: Errors = ...,
    out: Out,
    pixel_offset: int = ...,
) -> Out: ...
@overload
def tof_to_dspacing(
    tof: Any,
    *,
    difc: Any,
    difa: Any = ...,
    tzero: Any = ...,
    pixel: Any = ...,
    errors: Errors = ...,
    out: None = ...,
    pixel_offset: int = ...,
) -> Any: ...
@overload
def dspacing_to_tof(
    d: Scalar,
    *,
    difc: Scalar,
    difa: Scalar = ...,
    tzero: Scalar = ...,
    pixel: None = ...,
    errors: Errors = ...,
    out: None = ...,
    pixel_offset: int = ...,
) -> np.float64: ...
@overload
def dspacing_to_tof(
    d: npt.ArrayLike,
    *,
    difc: npt.ArrayLike,
    difa: npt.ArrayLike = ...,
    tzero: npt.ArrayLike = ...,
    pixel: npt.ArrayLike | None = ...,
    errors: Errors = ...,
    out: Out,
    pixel_offset: int = ...,
) -> Out: ...
@overload
def dspacing_to_tof(
    d: Any,
    *,
    difc: Any,
    difa: Any = ...,
    tzero: Any = ...,
    pixel: Any = ...,
    errors: Errors = ...,
    out: None = ...,
    pixel_offset: int = ...,
) -> Any: ...
