// The canvas unit: the embedded fonts, the private-font hook and the canvas class list,
// set up by LumCanvasUnitInit and taken down by LumCanvasUnitDone (the program's unit
// table runs them after the first half of the message texts).
#pragma once
#include <string>
#include <vector>

#include "platform/classes.h"

class TCanvas3D;

// ---- Embedded fonts -------------------------------------------------------
// Two digital-display fonts compiled into the program (resources "LUMFONT_LCD" and
// "LUMFONT_LED", OFL-licensed; canvas/fonts/LICENSE): seven-segment (LCD style) and
// fourteen-segment (LED style). They are usable by these family names while the unit
// is up.
extern const char* const LumLCDFontName;  // "DSEG7 Classic"
extern const char* const LumLEDFontName;  // "DSEG14 Modern"

// Set once the embedded fonts are registered, nullptr otherwise: adds their family
// names to Fonts.
using TPrivateFontsHook = void (*)(TStrings* Fonts);
extern TPrivateFontsHook PrivateFontsHook;

// ---- Canvas class list ----------------------------------------------------
// The registered drawing-canvas classes (descendants of TCanvas3D with a virtual
// constructor), in registration order; registering a class again only updates its
// description and editor name.
void RegisterCanvas(TClass CanvasClass, const std::string& Description, const std::string& EditorClassName = {});
void UnRegisterCanvas(TClass CanvasClass);
const std::vector<TClass>& CanvasClasses();
// By class name, case-insensitive; nullptr when not registered.
TClass FindCanvasClass(const std::string& ClassName);
// The class's description and its editor's class name ("" for none), looked up
// through its ancestors.
std::string CanvasDescription(TClass CanvasClass);
std::string CanvasEditorClassName(TClass CanvasClass);
// A new canvas of the class through its virtual constructor (the caller owns it).
TCanvas3D* CreateCanvas(TClass CanvasClass);

// The standard canvas's description in the list.
extern const char* const LumStandardCanvasDescription;  // "Standard"

void LumCanvasUnitInit();
void LumCanvasUnitDone();
