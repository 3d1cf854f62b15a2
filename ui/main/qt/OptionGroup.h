// A frame's group of unit options, seen as one choice of quantity.
#pragma once

#include "engine/Conversion.h"

#include <optional>

class QAbstractButton;
class QButtonGroup;

namespace pevrand
{

// The quantity of the group's selected option (the option's id in the group), or nothing when
// no option of the group is selected.
std::optional<Quantity> SelectedQuantity(const QButtonGroup &group);

// Makes the group one stop of the Tab order, entered at its selected option (at its first
// option while none is selected), as option groups behave on Windows. Holds from now on,
// through every change of selection.
void KeepOneTabStop(QButtonGroup &group);

// Puts the group's one Tab stop on its selected option (its first while none is selected): that
// option takes the focus by Tab and by the mouse, the others only by the mouse.
void PlaceTabStop(const QButtonGroup &group);

// The enabled option `step` places from `from` in the order the options were added to the
// group, wrapping around at either end; null when `from` is not in the group or no other
// option is enabled.
QAbstractButton *NeighbourOption(const QButtonGroup &group, const QAbstractButton &from, int step);

} // namespace pevrand
