// pevrand._pevrand: the engine and the Convert command for Python. The package's __init__.py
// turns whatever it is given into aligned float64 arrays broadcast to one shape and calls
// convert_array.
#include "ArrayConversion.h"
#include "engine/NumberText.h"
#include "engine/QuantityNames.h"
#include "resources/ProgramIdentity.h"
#include "ui/main/ConvertCommand.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

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

py::list Quantities()
{
    py::list names;
    for (int i = 0; i <= static_cast<int>(Quantity::Tof); ++i)
        names.append(std::string(QuantityName(static_cast<Quantity>(i))));
    return names;
}

// A scalar geometry number as its box would hold it: nothing typed, or the number's shortest
// text.
BoxReading GeometryBox(std::optional<double> number)
{
    if (!number)
        return {};
    return {BoxReading::State::Number, NearestSingle(*number)};
}

using Shape = std::span<const std::ptrdiff_t>;

Shape ShapeOf(const py::array &array)
{
    return {array.shape(), static_cast<std::size_t>(array.ndim())};
}

Shape StridesOf(const py::array &array)
{
    return {array.strides(), static_cast<std::size_t>(array.ndim())};
}

template <class T> StridedArray<T> Strided(const py::array_t<T> &array, Shape shape)
{
    if (!std::ranges::equal(ShapeOf(array), shape))
        throw py::value_error("convert_array needs arrays of the result's shape");
    return {array.data(), StridesOf(array)};
}

GeometryArgument Geometry(std::optional<double> number,
                          const std::optional<py::array_t<double>> &numbers, Shape shape)
{
    if (numbers)
        return {{}, Strided(*numbers, shape)};
    return {GeometryBox(number), {}};
}

// Converts `values` into `results`, C-ordered, every array of the result's shape (broadcast
// views, with strides of 0, included). A geometry argument is a number (or None) for every
// element, or an array of them. None when nothing stopped the loop, else (index, message),
// the index None when no element was at fault.
py::object
ConvertArrayInto(const py::array_t<double> &values, const std::optional<py::array_t<bool>> &mask,
                 std::optional<double> angle, const std::optional<py::array_t<double>> &angles,
                 std::optional<double> path, const std::optional<py::array_t<double>> &paths,
                 py::array_t<float, py::array::c_style> &results, std::string_view source,
                 std::string_view target, bool rounded, bool stopAtFailure)
{
    const Shape shape = ShapeOf(results);
    if (shape.size() > MaxDimensions || !results.writeable())
        throw py::value_error("convert_array needs a writeable result of numpy's dimensions");
    ArrayRequest request;
    request.Source = NamedQuantity(source);
    request.Target = NamedQuantity(target);
    request.Shape = shape;
    request.Values = Strided(values, shape);
    request.Angle = Geometry(angle, angles, shape);
    request.Path = Geometry(path, paths, shape);
    if (mask)
        request.Masked = Strided(*mask, shape);
    request.Rounded = rounded;
    request.Policy = stopAtFailure ? FailurePolicy::Stop : FailurePolicy::NotANumber;
    const std::span<float> out(results.mutable_data(), static_cast<std::size_t>(results.size()));
    std::optional<ArrayFailure> failure;
    {
        py::gil_scoped_release unlocked;
        failure = ConvertArray(request, out);
    }
    if (!failure)
        return py::none();
    return py::make_tuple(failure->Index, MessageOf(failure->Message).Text);
}

// Whether converting from `source` to `target` reads the angle and the flight path.
py::tuple GeometryNeeded(std::string_view source, std::string_view target)
{
    const Quantity from = NamedQuantity(source), to = NamedQuantity(target);
    return py::make_tuple(NeedsAngle(from, to), NeedsFlightPath(from, to));
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
    module.doc() = "The engine of Pevrand : Neutron Units Converter (see the pevrand package).";
    module.attr("__version__") = PEVRAND_STRINGIFY(PEVRAND_VERSION_MAJOR) "." PEVRAND_STRINGIFY(
        PEVRAND_VERSION_MINOR) "." PEVRAND_STRINGIFY(PEVRAND_VERSION_REVISION);
    module.def("quantities", &Quantities, "The ten quantities' names, in the window's order.");
    module.def("convert_array", &ConvertArrayInto, py::arg("values").noconvert(),
               py::arg("mask").noconvert(), py::arg("angle"), py::arg("angles").noconvert(),
               py::arg("path"), py::arg("paths").noconvert(), py::arg("results").noconvert(),
               py::arg("source"), py::arg("target"), py::arg("rounded"), py::arg("stop_at_failure"),
               "Converts float64 arrays into a float32 array of their common shape.");
    module.def("geometry_needed", &GeometryNeeded, py::arg("source"), py::arg("target"),
               "(angle, path): whether the pair reads the angle and the flight path.");
    module.def("convert_text", &ConvertText, py::arg("value_text"), py::arg("source"),
               py::arg("target"), py::arg("angle_text"), py::arg("path_text"),
               "The Convert command on the three box texts: (output_text, message).");
}
