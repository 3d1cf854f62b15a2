// A frame's group of unit options, seen as one choice of quantity.
#pragma once

#include "engine/Conversion.h"

#include <optional>

class QButtonGroup;

namespace pevrand
{

// The quantity of the group's selected option (the option's id in the group), or nothing when
// no option of the group is selected.
std::optional<Quantity> SelectedQuantity(const QButtonGroup &group);

// Makes the group one stop of the Tab order, entered at its selected option (at its first
// option while none is selected), as option groups behave on Windows; the arrow keys still
// move the selection within the group. Holds from now on, through every change of selection.
void KeepOneTabStop(QButtonGroup &group);

} // namespace pevrand
