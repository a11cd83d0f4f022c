// The chart engine in one include.
#pragma once
#include "engine/axis.h"
#include "engine/backimage.h"
#include "engine/element.h"
#include "engine/errors.h"
#include "engine/function.h"
#include "engine/marks.h"
#include "engine/panel.h"
#include "engine/series.h"
#include "engine/settings.h"
#include "engine/shape.h"
#include "engine/tools.h"
#include "engine/valuelist.h"
