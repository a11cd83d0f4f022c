#pragma once
class TChart;
class TComponent;

// A transparent color band behind the series between two draggable edges, with a
// color line on each axis.
void BuildColorBandScene(TComponent* Owner, TChart* Chart);
// Grid bands between the ticks of a centred left-axis grid.
void BuildGridBandScene(TComponent* Owner, TChart* Chart);
