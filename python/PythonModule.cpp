// pevrand._pevrand: the engine and the Convert command for Python. The package's __init__.py
// turns whatever numpy array it is given into float64 in C order and calls convert_into.
#include "ArrayConversion.h"
#include "cli/QuantityNames.h"
#include "engine/NumberText.h"
#include "resources/ProgramIdentity.h"
#include "ui/main/ConvertCommand.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>
#include <string>
#include <string_view>

namespace py = pybind11;

namespace pevrand::python
{
namespace
{

Quantity NamedQuantity(std::string_view name)
{
    if (const std::optional<Quantity> quantity = cli::QuantityFromName(name))
        return *quantity;
    std::string reason = "unknown quantity '" + std::string(name) + "'";
    if (name == "k")
        reason = "'k' could be the wavevector or kelvin: use 'momentum' or 'K'";
    throw py::value_error(reason +
                          "; the quantities, with their other names: " + cli::AcceptedNames());
}

py::list Quantities()
{
    py::list names;
    for (int i = 0; i <= static_cast<int>(Quantity::Tof); ++i)
        names.append(std::string(cli::QuantityName(static_cast<Quantity>(i))));
    return names;
}

// A geometry number as its box would hold it: nothing typed, or the number's shortest text.
BoxReading GeometryBox(std::optional<double> number)
{
    if (!number)
        return {};
    return {BoxReading::State::Number, NearestSingle(*number)};
}

// Converts `values` into `results`, both one-dimensional and C-ordered, of equal length. None
// when nothing stopped the loop, else (index, message).
py::object ConvertInto(const py::array_t<double, py::array::c_style> &values,
                       py::array_t<float, py::array::c_style> &results, std::string_view source,
                       std::string_view target, std::optional<double> angle,
                       std::optional<double> path, bool rounded, bool stopAtFailure)
{
    if (values.ndim() != 1 || results.ndim() != 1 || values.size() != results.size())
        throw py::value_error("convert_into needs two one-dimensional arrays of one length");
    const ValueConversion conversion(NamedQuantity(source), NamedQuantity(target),
                                     GeometryBox(angle), GeometryBox(path));
    const std::span<const double> in(values.data(), static_cast<std::size_t>(values.size()));
    const std::span<float> out(results.mutable_data(), static_cast<std::size_t>(results.size()));
    std::optional<ArrayFailure> failure;
    {
        py::gil_scoped_release unlocked;
        failure = ConvertArray(conversion, in, out, rounded,
                               stopAtFailure ? FailurePolicy::Stop : FailurePolicy::NotANumber);
    }
    if (!failure)
        return py::none();
    return py::make_tuple(failure->Index, MessageOf(failure->Message).Text);
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
    module.def("convert_into", &ConvertInto, py::arg("values").noconvert(),
               py::arg("results").noconvert(), py::arg("source"), py::arg("target"),
               py::arg("angle"), py::arg("path"), py::arg("rounded"), py::arg("stop_at_failure"),
               "Converts a float64 array into a float32 array of the same length.");
    module.def("convert_text", &ConvertText, py::arg("value_text"), py::arg("source"),
               py::arg("target"), py::arg("angle_text"), py::arg("path_text"),
               "The Convert command on the three box texts: (output_text, message).");
}
