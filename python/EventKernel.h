// The kernel of the module's event conversions (energy_transfer, momentum_transfer,
// tof_to_dspacing, dspacing_to_tof): each element through one of engine/EventConversions.h's
// conversions, its parameters (flight paths, fixed energy, angle, calibration) given as a number
// for every element, as arrays over the elements, or as tables looked up by each element's
// pixel, each pixel's parameters checked and prepared once.
#pragma once

#include "ArrayKernel.h"
#include "PixelTables.h"
#include "engine/EventConversions.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace pevrand::python
{

// One parameter as it was given: a number for every element, an array over the elements (an
// operand of the loop), or with pixels a table with an entry a pixel.
struct EventParameter {
    std::string_view Field; // its argument's name, for a failure
    std::optional<double> Number;
    bool OverElements = false;
    std::optional<std::span<const double>> Table;
};

// The operands the kernel reads, in this order: the values (float64), the parameters given over
// the elements (float64 each, in the parameters' order), and the pixels (int64, or uint64 for
// unsigned ids) where they are given. The results are float64.
template <class Conversion> class EventKernel : public ArrayKernel
{
public:
    static constexpr std::size_t Parameters = Conversion::Parameters;
    using Prepared = typename Conversion::Prepared;
    // Prepares one set of parameters: Conversion::Prepare with what the call fixes besides.
    using Preparation = std::function<Prepared(std::array<double, Parameters>)>;

    // `valueField` names the values' argument; `pixels`: whether the pixels are an operand,
    // `unsignedPixels` of an unsigned type, pixel id p at table position p - `pixelOffset`.
    EventKernel(std::string_view valueField, std::array<EventParameter, Parameters> parameters,
                bool pixels, bool unsignedPixels, std::int64_t pixelOffset, Preparation prepare);

    std::optional<StretchFailure> Convert(const Stretch &stretch,
                                          FailurePolicy policy) const override;

    // The failure of a parameter given as one number that is unusable: it fails every element
    // whatever it is, and names none, so the caller reports it without converting any.
    std::optional<Failure> ScalarFailure() const { return scalarFailure_; }

private:
    Failure FailureOf(events::Failure failure, const Prepared &prepared,
                      std::optional<std::int64_t> pixel) const;
    template <class Id>
    std::optional<StretchFailure> ConvertByPixel(const Stretch &stretch, const Id *ids,
                                                 FailurePolicy policy) const;
    std::optional<StretchFailure> ConvertOverElements(const Stretch &stretch,
                                                      FailurePolicy policy) const;

    std::string_view valueField_;
    std::array<EventParameter, Parameters> parameters_;
    bool pixels_, unsignedPixels_;
    Preparation prepare_;
    std::optional<Failure> scalarFailure_;
    std::optional<PixelPositions> positions_;
    std::vector<Prepared> prepared_; // each table position's, where pixels are given
    std::size_t overElements_ = 0;   // how many parameters are operands
};

extern template class EventKernel<events::EnergyTransfer>;
extern template class EventKernel<events::MomentumTransfer>;
extern template class EventKernel<events::TofToDspacing>;
extern template class EventKernel<events::DspacingToTof>;

} // namespace pevrand::python
