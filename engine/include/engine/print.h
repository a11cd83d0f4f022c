// Printing and pictures of a chart: the panel's routines are declared in
// engine/panel.h (CreateMetafile, CalcPrintRect, PrintRect, PrintPages, ...); this
// header holds what they share with the print preview.
#pragma once

// Whether a panel printed (or drawn for a preview) paints its background fill and
// gradient; frames and bevels are always drawn. Read and written by the preview.
extern bool PrintPanelBackground;
