// One sample chart for the tools, benchmarks and tests that need a chart to show,
// export or edit. Its series, in this order:
//   "Acoustic", "Optic"  the two branches of a diatomic chain (line series);
//   "Atoms"     a point series of eight coloured, labelled points with a null at index 4;
//   "Bars"      a bar series of six coloured points with a null at index 3;
//   "Area"      an area series of coloured points against a custom axis on the right;
//   "Average"   a line computed by a moving average (period 3) over "Optic".
// The branches form the series group "Branches"; a cursor tool follows "Acoustic" and
// a colour band marks X 0.4 .. 0.6. Its title holds characters that text formats must
// escape.
#pragma once

class TChart;
class TComponent;
class TWinControl;

// Made and owned by Owner (the series, function and tools too), 640 x 400 on Parent
// when given; each branch has Points points at X = i / 20.
TChart* BuildSampleChart(TComponent* Owner, TWinControl* Parent, int Points = 21);

// The branch's omega at X (k·a = πX) for masses 2 and 1 and spring 1.
double SampleBranch(double X, bool Optic);
