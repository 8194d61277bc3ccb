#pragma once

namespace rondelix {

// The values a settings slider can take: the lower bound plus a whole number
// of steps, never past the upper bound. The widget works in step indices so
// that a drag can only ever produce values on this grid.
struct SliderScale {
    double lower = 0;
    double upper = 1;
    double step = 0.1;

    // The index of the last step; the slider runs from 0 to this.
    int lastStep() const;
    // The value at a step index, clamped to the grid.
    double valueAt(int stepIndex) const;
    // The nearest step index to a value; values outside the bounds take the end.
    int stepNear(double value) const;
};

} // namespace rondelix
