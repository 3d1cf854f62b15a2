// pevrand._pevrand: the engine and the Convert command for Python. The package's __init__.py
// checks and shapes what it is given and calls convert_array, which runs the module's loop
// (ArrayLoop.h) with pevrand.convert's kernel over numpy's own iterator.
#define PEVRAND_IMPORTS_NUMPY
#include "Numpy.h"

#include "ArrayLoop.h"
#include "ElasticKernel.h"
#include "FailureReport.h"
#include "PixelTables.h"
#include "convert/ConvertCommand.h"
#include "engine/NearestSingle.h"
#include "engine/Quantities.h"
#include "engine/QuantityNames.h"
#include "resources/ProgramIdentity.h"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace py = pybind11;

namespace pevrand::python
{
namespace
{

Quantity NamedQuantity(std::string_view name)
{
    if (const std::optional<Quantity> quantity = QuantityFromName(name))
        return *quantity;
    std::string reason = "unknown quantity '" + std::string(name) + "'";
    if (name == "k")
        reason = "'k' could be the wavevector or kelvin: use 'momentum' or 'K'";
    throw py::value_error(reason + "; the quantities, with their other names: " + AcceptedNames());
}

// The quantity table: a dict a quantity, in the window's order.
py::list QuantityTableRows()
{
    py::list rows;
    for (const QuantityRow &row : QuantityTable) {
        py::list aliases;
        for (const std::string_view alias : row.Aliases)
            if (!alias.empty())
                aliases.append(std::string(alias));
        py::dict entry;
        entry["name"] = std::string(row.Name);
        entry["aliases"] = aliases;
        entry["unit"] = std::string(row.Unit);
        entry["symbol"] = std::string(row.Symbol);
        entry["description"] = std::string(row.Description);
        entry["angle"] = row.ReadsAngle;
        entry["path"] = row.ReadsFlightPath;
        rows.append(entry);
    }
    return rows;
}

// `object` as a numpy array; TypeError unless it holds real numbers.
py::object RealArray(const py::handle &object, const char *what)
{
    PyObject *array = PyArray_FROM_O(object.ptr());
    if (array == nullptr)
        throw py::error_already_set();
    py::object owned = py::reinterpret_steal<py::object>(array);
    const char kind = PyArray_DESCR(reinterpret_cast<PyArrayObject *>(array))->kind;
    if (kind != 'b' && kind != 'i' && kind != 'u' && kind != 'f')
        throw py::type_error(std::string(what) + " must be real numbers");
    return owned;
}

PyArrayObject *ArrayOf(const py::object &array)
{
    return reinterpret_cast<PyArrayObject *>(array.ptr());
}

// A per-pixel table as contiguous singles, each the single nearest to its entry (numpy's cast,
// which rounds an int64 once).
py::object SingleTable(const py::handle &table, const char *what)
{
    py::object real = RealArray(table, what);
    PyObject *singles =
        PyArray_FROMANY(real.ptr(), NPY_FLOAT32, 1, 1, NPY_ARRAY_IN_ARRAY | NPY_ARRAY_FORCECAST);
    if (singles == nullptr)
        throw py::error_already_set();
    return py::reinterpret_steal<py::object>(singles);
}

std::span<const float> Floats(const py::object &table)
{
    PyArrayObject *array = ArrayOf(table);
    return {static_cast<const float *>(PyArray_DATA(array)),
            static_cast<std::size_t>(PyArray_SIZE(array))};
}

std::optional<float> Single(std::optional<double> number)
{
    if (!number)
        return std::nullopt;
    return NearestSingle(*number);
}

// Converts `values` into `result` (float32 of the broadcast shape, any layout and byte order).
// A geometry argument is a number (or None) for every element, or an array: over the elements
// (broadcast with the values), or with `pixels` a one-dimensional table with an entry a pixel,
// pixel id p at position p - pixel_offset. None when nothing failed that stops, else (index,
// message, field, pixel, outside): index None when no element was at fault (a scalar argument
// missing or unusable), pixel the id whose table entry was at fault, outside True when the
// element's pixel lies outside the tables.
py::object ConvertArray(const py::object &values, std::optional<double> angle,
                        const py::object &angles, std::optional<double> path,
                        const py::object &paths, const py::object &pixels, const py::object &mask,
                        const py::object &result, std::string_view source, std::string_view target,
                        bool rounded, bool stopAtFailure, std::int64_t pixelOffset)
{
    const Quantity from = NamedQuantity(source), to = NamedQuantity(target);
    if (!PyArray_Check(result.ptr()) || PyArray_DESCR(ArrayOf(result))->type_num != NPY_FLOAT32 ||
        !PyArray_ISWRITEABLE(ArrayOf(result)))
        throw py::value_error("convert_array needs a writeable float32 result");

    std::vector<py::object> held;
    std::vector<LoopOperand> operands;
    const auto operand = [&](py::object array, int type) {
        operands.push_back({ArrayOf(array), type});
        held.push_back(std::move(array));
    };
    ElasticOperands given;
    py::object real = RealArray(values, "values");
    // float64, the common dtype, is read as it is, each value narrowed as it is converted;
    // every other dtype is cast to float32 a stretch at a time.
    const PyArray_Descr *valueType = PyArray_DESCR(ArrayOf(real));
    given.DoubleValues = valueType->type_num == NPY_FLOAT64;
    operand(std::move(real), given.DoubleValues ? NPY_FLOAT64 : NPY_FLOAT32);
    std::optional<PixelTables> tables;
    if (pixels.is_none()) {
        given.Angles = !angles.is_none();
        given.Paths = !paths.is_none();
        if (given.Angles)
            operand(RealArray(angles, "angle"), NPY_FLOAT32);
        if (given.Paths)
            operand(RealArray(paths, "path"), NPY_FLOAT32);
    } else {
        PixelArgument angleArgument{std::nullopt, Single(angle)};
        PixelArgument pathArgument{std::nullopt, Single(path)};
        if (!angles.is_none()) {
            held.push_back(SingleTable(angles, "angle"));
            angleArgument.Table = Floats(held.back());
        }
        if (!paths.is_none()) {
            held.push_back(SingleTable(paths, "path"));
            pathArgument.Table = Floats(held.back());
        }
        tables.emplace(from, to, angleArgument, pathArgument, pixelOffset);
        py::object ids = RealArray(pixels, "pixel");
        const char kind = PyArray_DESCR(ArrayOf(ids))->kind;
        if (kind != 'i' && kind != 'u')
            throw py::type_error("pixel must be integers");
        given.Pixels = true;
        given.UnsignedPixels = kind == 'u';
        operand(std::move(ids), given.UnsignedPixels ? NPY_UINT64 : NPY_INT64);
    }
    if (!mask.is_none()) {
        given.Mask = true;
        operand(mask, NPY_BOOL);
    }

    const ElasticKernel kernel(from, to, given, Single(angle), Single(path),
                               tables ? &*tables : nullptr, rounded);
    std::optional<LoopFailure> failure =
        RunLoop(operands, ArrayOf(result), NPY_FLOAT32, kernel,
                stopAtFailure ? FailurePolicy::Stop : FailurePolicy::NotANumber);
    if (!failure && kernel.ScalarMessage()) {
        // No element got as far as the scalar argument's check (none, or each failed its own):
        // it fails anyway, whatever the values.
        failure = LoopFailure{0,
                              {MessageOf(*kernel.ScalarMessage()).Text,
                               FieldOf(*kernel.ScalarMessage()), std::nullopt, true}};
    }
    if (!failure)
        return py::none();
    const Failure &why = failure->Why;
    return py::make_tuple(why.NoElement ? py::object(py::none()) : py::int_(failure->Index),
                          std::string(why.Message), std::string(why.Field), why.Pixel,
                          why.OutsideTables);
}

// Whether converting from `source` to `target` reads the angle and the flight path.
py::tuple GeometryNeeded(std::string_view source, std::string_view target)
{
    const Quantity from = NamedQuantity(source), to = NamedQuantity(target);
    return py::make_tuple(NeedsAngle(from, to), NeedsFlightPath(from, to));
}

std::string CanonicalName(std::string_view name)
{
    return std::string(QuantityName(NamedQuantity(name)));
}

py::tuple ConvertText(const std::string &valueText, std::string_view source,
                      std::string_view target, const std::string &angleText,
                      const std::string &pathText)
{
    const ConvertOutcome outcome =
        RunConvert({valueText, angleText, pathText, NamedQuantity(source), NamedQuantity(target)});
    return py::make_tuple(outcome.OutputText,
                          outcome.Message ? MessageOf(*outcome.Message).Text : std::string_view());
}

} // namespace
} // namespace pevrand::python

PYBIND11_MODULE(_pevrand, module)
{
    using namespace pevrand::python;
    if (_import_array() < 0)
        throw py::error_already_set();
    module.doc() = "The engine of Pevrand : Neutron Units Converter (see the pevrand package).";
    module.attr("__version__") = PEVRAND_STRINGIFY(PEVRAND_VERSION_MAJOR) "." PEVRAND_STRINGIFY(
        PEVRAND_VERSION_MINOR) "." PEVRAND_STRINGIFY(PEVRAND_VERSION_REVISION);
    module.def("quantity_table", &QuantityTableRows,
               "The ten quantities, in the window's order: name, aliases, unit, symbol, "
               "description, and whether each reads the angle and the flight path.");
    module.def("convert_array", &ConvertArray, py::arg("values"), py::arg("angle"),
               py::arg("angles"), py::arg("path"), py::arg("paths"), py::arg("pixels"),
               py::arg("mask"), py::arg("result"), py::arg("source"), py::arg("target"),
               py::arg("rounded"), py::arg("stop_at_failure"), py::arg("pixel_offset") = 0,
               "Converts arrays of real numbers into a float32 array of their broadcast shape.");
    module.def("quantity_name", &CanonicalName, py::arg("name"),
               "The quantity's own name for any name it answers to.");
    module.def("geometry_needed", &GeometryNeeded, py::arg("source"), py::arg("target"),
               "(angle, path): whether the pair reads the angle and the flight path.");
    module.def("convert_text", &ConvertText, py::arg("value_text"), py::arg("source"),
               py::arg("target"), py::arg("angle_text"), py::arg("path_text"),
               "The Convert command on the three box texts: (output_text, message).");
}
