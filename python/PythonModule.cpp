// pevrand._pevrand: the engine and the Convert command for Python. The package's __init__.py
// turns whatever it is given into numeric arrays broadcast to one shape, without copying them,
// and calls convert_array.
#include "ArrayConversion.h"
#include "convert/ConvertCommand.h"
#include "engine/NumberText.h"
#include "engine/QuantityNames.h"
#include "resources/ProgramIdentity.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <array>
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
std::optional<float> GeometryBox(std::optional<double> number)
{
    if (!number)
        return {};
    return NearestSingle(*number);
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

// The element type of a numeric array in the machine's byte order; TypeError for any other.
ElementType ElementTypeOf(const py::array &array)
{
    const py::dtype dtype = array.dtype();
    const char kind = dtype.kind();
    const auto size = static_cast<std::size_t>(dtype.itemsize());
    if (py::getattr(dtype, "isnative").cast<bool>()) {
        constexpr std::array integers{ElementType::Int8, ElementType::Int16, ElementType::Int32,
                                      ElementType::Int64};
        constexpr std::array naturals{ElementType::UInt8, ElementType::UInt16, ElementType::UInt32,
                                      ElementType::UInt64};
        const auto sized = [&](const auto &types) -> std::optional<ElementType> {
            for (std::size_t i = 0, bytes = 1; i < types.size(); ++i, bytes *= 2)
                if (size == bytes)
                    return types[i];
            return std::nullopt;
        };
        std::optional<ElementType> type;
        if (kind == 'b' && size == 1)
            type = ElementType::Bool;
        else if (kind == 'i')
            type = sized(integers);
        else if (kind == 'u')
            type = sized(naturals);
        else if (kind == 'f' && size == 2)
            type = ElementType::Float16;
        else if (kind == 'f' && size == sizeof(float))
            type = ElementType::Float32;
        else if (kind == 'f' && size == sizeof(double))
            type = ElementType::Float64;
        else if (kind == 'f' && size == sizeof(long double))
            type = ElementType::LongDouble;
        if (type)
            return *type;
    }
    throw py::type_error("convert_array reads real numbers in the machine's byte order, not " +
                         std::string(py::str(static_cast<py::handle>(dtype))));
}

StridedArray Strided(const py::array &array, Shape shape)
{
    if (!std::ranges::equal(ShapeOf(array), shape))
        throw py::value_error("convert_array needs arrays of the result's shape");
    return {array.data(), StridesOf(array), ElementTypeOf(array)};
}

GeometryArgument Geometry(std::optional<double> number, const std::optional<py::array> &numbers,
                          Shape shape, bool perPixel)
{
    if (!numbers)
        return {GeometryBox(number), {}, {}};
    if (!perPixel)
        return {{}, Strided(*numbers, shape), {}};
    if (numbers->ndim() != 1)
        throw py::value_error("convert_array needs one-dimensional pixel tables");
    return {{},
            {},
            {numbers->data(), numbers->strides(0), static_cast<std::size_t>(numbers->shape(0)),
             ElementTypeOf(*numbers)}};
}

// Which argument a message is about: the value's own, or the angle's or the flight path's.
const char *FieldOf(MessageId message)
{
    switch (MessageOf(message).Subject) {
    case MessageSubject::Angle:
        return "angle";
    case MessageSubject::FlightPath:
        return "path";
    default:
        return "value";
    }
}

// Converts `values` into `results`, every array of the result's shape (broadcast views, with
// strides of 0, included), laid out any way and of any real type. A geometry argument is a
// number (or None) for every element, or an array of them: with `pixels`, a one-dimensional
// table with an entry a pixel. None when nothing stopped the loop, else (index, message,
// field): the index None when no element was at fault, the message None and the field "pixel"
// when the element's pixel lies outside the tables, else the field "value", "angle" or "path".
py::object ConvertArrayInto(const py::array &values, const std::optional<py::array> &mask,
                            std::optional<double> angle, const std::optional<py::array> &angles,
                            std::optional<double> path, const std::optional<py::array> &paths,
                            const std::optional<py::array> &pixels, py::array &results,
                            std::string_view source, std::string_view target, bool rounded,
                            bool stopAtFailure)
{
    const Shape shape = ShapeOf(results);
    if (shape.size() > MaxDimensions || !results.writeable() ||
        !results.dtype().is(py::dtype::of<float>()))
        throw py::value_error("convert_array needs a writeable float32 result of numpy's "
                              "dimensions");
    ArrayRequest request;
    request.Source = NamedQuantity(source);
    request.Target = NamedQuantity(target);
    request.Shape = shape;
    request.Values = Strided(values, shape);
    request.Angle = Geometry(angle, angles, shape, pixels.has_value());
    request.Path = Geometry(path, paths, shape, pixels.has_value());
    if (pixels) {
        request.Pixels = Strided(*pixels, shape);
        if (request.Pixels.Type == ElementType::Bool || request.Pixels.Type >= ElementType::Float16)
            throw py::type_error("convert_array needs integer pixels");
    }
    if (mask) {
        request.Masked = Strided(*mask, shape);
        if (request.Masked.Type != ElementType::Bool)
            throw py::type_error("convert_array needs a boolean mask");
    }
    request.Results = static_cast<float *>(results.mutable_data());
    request.ResultStrides = StridesOf(results);
    request.Rounded = rounded;
    request.Policy = stopAtFailure ? FailurePolicy::Stop : FailurePolicy::NotANumber;
    std::optional<ArrayFailure> failure;
    {
        py::gil_scoped_release unlocked;
        failure = ConvertArray(request);
    }
    if (!failure)
        return py::none();
    if (!failure->Message)
        return py::make_tuple(failure->Index, py::none(), "pixel");
    return py::make_tuple(failure->Index, MessageOf(*failure->Message).Text,
                          FieldOf(*failure->Message));
}

std::string CanonicalName(std::string_view name)
{
    return std::string(QuantityName(NamedQuantity(name)));
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
               py::arg("path"), py::arg("paths").noconvert(), py::arg("pixels").noconvert(),
               py::arg("results").noconvert(), py::arg("source"), py::arg("target"),
               py::arg("rounded"), py::arg("stop_at_failure"),
               "Converts arrays of real numbers into a float32 array of their common shape.");
    module.def("quantity_name", &CanonicalName, py::arg("name"),
               "The quantity's own name for any name it answers to.");
    module.def("geometry_needed", &GeometryNeeded, py::arg("source"), py::arg("target"),
               "(angle, path): whether the pair reads the angle and the flight path.");
    module.def("convert_text", &ConvertText, py::arg("value_text"), py::arg("source"),
               py::arg("target"), py::arg("angle_text"), py::arg("path_text"),
               "The Convert command on the three box texts: (output_text, message).");
}
