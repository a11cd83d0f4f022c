// Everything of the drawing canvas in one include.
#pragma once
#include "canvas/attributes.h"
#include "canvas/canvasunit.h"
#include "canvas/filters.h"
#include "canvas/geometry.h"
#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "canvas/procs.h"
#include "canvas/richtext.h"
