// Automatic axis scales: a step of 1, 2 or 5 times a power of ten, ends on the data or
// on multiples of the step, and the decimals the labels need.
#pragma once

namespace kestrum::chart {

struct AxisScale {
  double min = 0.0;
  double max = 1.0;
  double step = 0.2;  // between labels
  int decimals = 1;   // of the labels
};

// The smallest step of 1, 2 or 5 times a power of ten that cuts span into at most
// maxSteps parts.
double NiceStep(double span, int maxSteps);

// Decimals that show every multiple of step exactly (0 for steps of 1 and more).
int DecimalsForStep(double step);

// The scale of data from lo to hi with at most maxSteps labelled steps. roundEnds moves the
// ends outwards to multiples of the step; otherwise they stay on the data. A single value
// gets a range of one step around it.
AxisScale AutoScale(double lo, double hi, int maxSteps, bool roundEnds);

}  // namespace kestrum::chart
