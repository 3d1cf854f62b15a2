// pevrand._pevrand: the engine and the Convert command for Python. The package's __init__.py
// checks and shapes what it is given and calls convert_array, which runs the module's loop
// (ArrayLoop.h) with pevrand.convert's kernel over numpy's own iterator.
#define PEVRAND_IMPORTS_NUMPY
#include "Numpy.h"

#include "ArrayLoop.h"
#include "ElasticKernel.h"
#include "EventKernel.h"
#include "FailureReport.h"
#include "PixelTables.h"
#include "convert/ConvertCommand.h"
#include "engine/Editions.h"
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
#include <type_traits>
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

// The numpy type of the edition's steps' numbers.
template <class Number> constexpr int TypeOf()
{
    return std::is_same_v<Number, float> ? NPY_FLOAT32 : NPY_FLOAT64;
}

// A per-pixel table as contiguous Numbers, each the one nearest to its entry (numpy's cast,
// which rounds an int64 once).
template <class Number> py::object NumberTable(const py::handle &table, const char *what)
{
    py::object real = RealArray(table, what);
    PyObject *numbers = PyArray_FROMANY(real.ptr(), TypeOf<Number>(), 1, 1,
                                        NPY_ARRAY_IN_ARRAY | NPY_ARRAY_FORCECAST);
    if (numbers == nullptr)
        throw py::error_already_set();
    return py::reinterpret_steal<py::object>(numbers);
}

template <class Number> std::span<const Number> Numbers(const py::object &table)
{
    PyArrayObject *array = ArrayOf(table);
    return {static_cast<const Number *>(PyArray_DATA(array)),
            static_cast<std::size_t>(PyArray_SIZE(array))};
}

// A scalar argument as the edition's steps take it: the single nearest to it for the classic
// ones.
template <class Number> std::optional<Number> StepNumber(std::optional<double> number)
{
    if (!number)
        return std::nullopt;
    if constexpr (std::is_same_v<Number, float>)
        return NearestSingle(*number);
    else
        return *number;
}

Edition NamedEdition(std::string_view name)
{
    if (const std::optional<Edition> edition = EditionFromName(name))
        return *edition;
    throw py::value_error("unknown constants '" + std::string(name) + "': the editions are " +
                          EditionNames());
}

// What convert_array was given, as its kernel takes it.
struct ArrayArguments {
    const py::object &Values;
    std::optional<double> Angle;
    const py::object &Angles;
    std::optional<double> Path;
    const py::object &Paths;
    const py::object &Pixels;
    const py::object &Mask;
    const py::object &Result;
    Quantity Source, Target;
    Edition Constants;
    bool Rounded, StopAtFailure;
    std::int64_t PixelOffset;
};

template <class Number> std::optional<LoopFailure> ConvertWith(const ArrayArguments &given)
{
    std::vector<py::object> held;
    std::vector<LoopOperand> operands;
    const auto operand = [&](py::object array, int type) {
        operands.push_back({ArrayOf(array), type});
        held.push_back(std::move(array));
    };
    ElasticOperands read;
    py::object values = RealArray(given.Values, "values");
    // The classic steps read float64, the common dtype, as it is, each value narrowed as it is
    // converted; every other dtype is cast a stretch at a time to the steps' own type.
    read.DoubleValues =
        std::is_same_v<Number, float> && PyArray_DESCR(ArrayOf(values))->type_num == NPY_FLOAT64;
    operand(std::move(values), read.DoubleValues ? NPY_FLOAT64 : TypeOf<Number>());
    std::optional<PixelTables<Number>> tables;
    if (given.Pixels.is_none()) {
        read.Angles = !given.Angles.is_none();
        read.Paths = !given.Paths.is_none();
        if (read.Angles)
            operand(RealArray(given.Angles, "angle"), TypeOf<Number>());
        if (read.Paths)
            operand(RealArray(given.Paths, "path"), TypeOf<Number>());
    } else {
        PixelArgument<Number> angle{std::nullopt, StepNumber<Number>(given.Angle)};
        PixelArgument<Number> path{std::nullopt, StepNumber<Number>(given.Path)};
        if (!given.Angles.is_none()) {
            held.push_back(NumberTable<Number>(given.Angles, "angle"));
            angle.Table = Numbers<Number>(held.back());
        }
        if (!given.Paths.is_none()) {
            held.push_back(NumberTable<Number>(given.Paths, "path"));
            path.Table = Numbers<Number>(held.back());
        }
        tables.emplace(given.Source, given.Target, given.Constants, angle, path, given.PixelOffset);
        py::object ids = RealArray(given.Pixels, "pixel");
        const char kind = PyArray_DESCR(ArrayOf(ids))->kind;
        if (kind != 'i' && kind != 'u')
            throw py::type_error("pixel must be integers");
        read.Pixels = true;
        read.UnsignedPixels = kind == 'u';
        operand(std::move(ids), read.UnsignedPixels ? NPY_UINT64 : NPY_INT64);
    }
    if (!given.Mask.is_none()) {
        read.Mask = true;
        operand(given.Mask, NPY_BOOL);
    }

    const ElasticKernel<Number> kernel(
        given.Source, given.Target, given.Constants, read, StepNumber<Number>(given.Angle),
        StepNumber<Number>(given.Path), tables ? &*tables : nullptr, given.Rounded);
    std::optional<LoopFailure> failure =
        RunLoop(operands, ArrayOf(given.Result), TypeOf<Number>(), kernel,
                given.StopAtFailure ? FailurePolicy::Stop : FailurePolicy::NotANumber);
    if (!failure && kernel.ScalarMessage()) {
        // No element got as far as the scalar argument's check (none, or each failed its own):
        // it fails anyway, whatever the values.
        failure = LoopFailure{0,
                              {MessageOf(*kernel.ScalarMessage()).Text,
                               FieldOf(*kernel.ScalarMessage()), std::nullopt, true}};
    }
    return failure;
}

// The loop's failure as the package raises it: (index, message, field, pixel, outside), index
// None where no element was at fault.
py::object FailureTuple(const std::optional<LoopFailure> &failure)
{
    if (!failure)
        return py::none();
    const Failure &why = failure->Why;
    return py::make_tuple(why.NoElement ? py::object(py::none()) : py::int_(failure->Index),
                          std::string(why.Message), std::string(why.Field), why.Pixel,
                          why.OutsideTables);
}

// Converts `values` into `result` (float32 for the classic constants, float64 for the others,
// of the broadcast shape, any layout and byte order). A geometry argument is a number (or None)
// for every element, or an array: over the elements (broadcast with the values), or with
// `pixels` a one-dimensional table with an entry a pixel, pixel id p at position
// p - pixel_offset. None when nothing failed that stops, else (index, message, field, pixel,
// outside): index None when no element was at fault (a scalar argument missing or unusable),
// pixel the id whose table entry was at fault, outside True when the element's pixel lies
// outside the tables.
py::object ConvertArray(const py::object &values, std::optional<double> angle,
                        const py::object &angles, std::optional<double> path,
                        const py::object &paths, const py::object &pixels, const py::object &mask,
                        const py::object &result, std::string_view source, std::string_view target,
                        bool rounded, bool stopAtFailure, std::int64_t pixelOffset,
                        std::string_view constants)
{
    const ArrayArguments given{values,
                               angle,
                               angles,
                               path,
                               paths,
                               pixels,
                               mask,
                               result,
                               NamedQuantity(source),
                               NamedQuantity(target),
                               NamedEdition(constants),
                               rounded,
                               stopAtFailure,
                               pixelOffset};
    const bool singles = RowOf(given.Constants).SingleSteps;
    if (!PyArray_Check(result.ptr()) ||
        PyArray_DESCR(ArrayOf(result))->type_num != (singles ? NPY_FLOAT32 : NPY_FLOAT64) ||
        !PyArray_ISWRITEABLE(ArrayOf(result)))
        throw py::value_error("convert_array needs a writeable result of the edition's type");
    return FailureTuple(singles ? ConvertWith<float>(given) : ConvertWith<double>(given));
}

events::TransferUnit NamedUnit(std::string_view unit)
{
    if (unit == "meV")
        return events::TransferUnit::MilliElectronvolt;
    if (unit == "cm-1")
        return events::TransferUnit::Wavenumber;
    if (unit == "THz")
        return events::TransferUnit::Terahertz;
    throw py::value_error("unknown unit '" + std::string(unit) + "': use 'meV', 'cm-1' or 'THz'");
}

// Runs an event conversion over `values` (read as float64) into `result` (float64 of the
// broadcast shape). `parameters`: a tuple (field, number or None, array or None) a parameter of
// the conversion, in its order; with `pixels` an array is a table with an entry a pixel (id p at
// p - pixel_offset), else an array over the elements. `fixed` ("ei" or "ef") and `unit` are the
// energy conversions'. The answer is as convert_array's.
py::object ConvertEvents(std::string_view kind, const py::object &values, std::string_view field,
                         const py::list &parameters, const py::object &pixels,
                         const py::object &result, std::string_view fixed, std::string_view unit,
                         std::string_view constants, bool stopAtFailure, std::int64_t pixelOffset)
{
    if (!PyArray_Check(result.ptr()) || PyArray_DESCR(ArrayOf(result))->type_num != NPY_FLOAT64 ||
        !PyArray_ISWRITEABLE(ArrayOf(result)))
        throw py::value_error("convert_events needs a writeable float64 result");
    const EnergyFactors &factors = RowOf(NamedEdition(constants)).Factors;
    const auto fixedEnergy =
        fixed == "ef" ? events::FixedEnergy::Final : events::FixedEnergy::Incident;
    std::vector<py::object> held;
    std::vector<LoopOperand> operands;
    const auto operand = [&](py::object array, int type) {
        operands.push_back({ArrayOf(array), type});
        held.push_back(std::move(array));
    };
    operand(RealArray(values, "values"), NPY_FLOAT64);

    const auto run =
        [&]<class Conversion>(typename EventKernel<Conversion>::Preparation prepare) -> py::object {
        constexpr std::size_t Count = Conversion::Parameters;
        if (parameters.size() != Count)
            throw py::value_error("convert_events: wrong number of parameters");
        std::array<EventParameter, Count> given;
        for (std::size_t p = 0; p < Count; ++p) {
            const py::tuple parameter = parameters[p].cast<py::tuple>();
            given[p].Field = parameter[0].cast<std::string_view>();
            if (!parameter[1].is_none())
                given[p].Number = parameter[1].cast<double>();
            const py::object array = parameter[2];
            if (array.is_none())
                continue;
            if (pixels.is_none()) {
                given[p].OverElements = true;
                operand(RealArray(array, "parameter"), NPY_FLOAT64);
            } else {
                held.push_back(NumberTable<double>(array, "parameter"));
                given[p].Table = Numbers<double>(held.back());
            }
        }
        bool unsignedPixels = false;
        if (!pixels.is_none()) {
            py::object ids = RealArray(pixels, "pixel");
            const char kindOfIds = PyArray_DESCR(ArrayOf(ids))->kind;
            if (kindOfIds != 'i' && kindOfIds != 'u')
                throw py::type_error("pixel must be integers");
            unsignedPixels = kindOfIds == 'u';
            operand(std::move(ids), unsignedPixels ? NPY_UINT64 : NPY_INT64);
        }
        const EventKernel<Conversion> kernel(field, given, !pixels.is_none(), unsignedPixels,
                                             pixelOffset, std::move(prepare));
        if (const std::optional<Failure> scalar = kernel.ScalarFailure())
            return FailureTuple(LoopFailure{0, *scalar});
        return FailureTuple(
            RunLoop(operands, ArrayOf(result), NPY_FLOAT64, kernel,
                    stopAtFailure ? FailurePolicy::Stop : FailurePolicy::NotANumber));
    };
    if (kind == "energy_transfer") {
        const events::TransferUnit transferUnit = NamedUnit(unit);
        return run.template operator()<events::EnergyTransfer>([=, &factors](auto numbers) {
            return events::EnergyTransfer::Prepare(numbers, fixedEnergy, transferUnit, factors);
        });
    }
    if (kind == "momentum_transfer") {
        const events::TransferUnit transferUnit = NamedUnit(unit);
        return run.template operator()<events::MomentumTransfer>([=, &factors](auto numbers) {
            return events::MomentumTransfer::Prepare(numbers, fixedEnergy, transferUnit, factors);
        });
    }
    if (kind == "tof_to_dspacing")
        return run.template operator()<events::TofToDspacing>(
            [](auto numbers) { return events::TofToDspacing::Prepare(numbers); });
    if (kind == "dspacing_to_tof")
        return run.template operator()<events::DspacingToTof>(
            [](auto numbers) { return events::DspacingToTof::Prepare(numbers); });
    throw py::value_error("unknown event conversion '" + std::string(kind) + "'");
}

// An edition's factors, as the module's constants() gives them.
py::dict Constants(std::string_view name)
{
    const EditionRow &row = RowOf(NamedEdition(name));
    py::dict constants;
    constants["energy_wavelength"] = row.Factors.Wavelength;
    constants["energy_wavevector"] = row.Factors.Wavevector;
    constants["energy_frequency"] = row.Factors.Frequency;
    constants["energy_velocity"] = row.Factors.Velocity;
    constants["energy_temperature"] = row.Factors.Temperature;
    constants["energy_wavenumber"] = row.Factors.Wavenumber;
    constants["neutron_mass"] = row.NeutronMass;
    return constants;
}

// The editions: (name, title, source), in the table's order.
py::list EditionRows()
{
    py::list rows;
    for (const EditionRow &row : EditionTable)
        rows.append(
            py::make_tuple(std::string(row.Name), std::string(row.Title), std::string(row.Source)));
    return rows;
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
                      const std::string &pathText, std::string_view constants)
{
    const ConvertOutcome outcome =
        RunConvert({valueText, angleText, pathText, NamedQuantity(source), NamedQuantity(target),
                    NamedEdition(constants)});
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
               py::arg("constants") = "classic",
               "Converts arrays of real numbers into an array of their broadcast shape.");
    module.def("convert_events", &ConvertEvents, py::arg("kind"), py::arg("values"),
               py::arg("field"), py::arg("parameters"), py::arg("pixels"), py::arg("result"),
               py::arg("fixed"), py::arg("unit"), py::arg("constants"), py::arg("stop_at_failure"),
               py::arg("pixel_offset"),
               "Runs an event conversion over arrays into a float64 array.");
    module.def("constants", &Constants, py::arg("edition"), "An edition's factors.");
    module.def("editions", &EditionRows, "The editions: (name, title, source).");
    module.def("quantity_name", &CanonicalName, py::arg("name"),
               "The quantity's own name for any name it answers to.");
    module.def("geometry_needed", &GeometryNeeded, py::arg("source"), py::arg("target"),
               "(angle, path): whether the pair reads the angle and the flight path.");
    module.def("convert_text", &ConvertText, py::arg("value_text"), py::arg("source"),
               py::arg("target"), py::arg("angle_text"), py::arg("path_text"),
               py::arg("constants") = "classic",
               "The Convert command on the three box texts: (output_text, message).");
}
