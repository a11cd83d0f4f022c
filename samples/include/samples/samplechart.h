// One sample chart for the tools, benchmarks and tests that need a chart to show,
// export or edit: the two branches of a diatomic chain as line series "Acoustic" and
// "Optic", and "Atoms", a point series of eight coloured, labelled points with a
// null at index 4. Its title holds characters that text formats must escape.
#pragma once

class TChart;
class TComponent;
class TWinControl;

// Made and owned by Owner (the series too), 640 x 400 on Parent when given; each
// branch has Points points at X = i / 20.
TChart* BuildSampleChart(TComponent* Owner, TWinControl* Parent, int Points = 21);

// The branch's omega at X (k·a = πX) for masses 2 and 1 and spring 1.
double SampleBranch(double X, bool Optic);
