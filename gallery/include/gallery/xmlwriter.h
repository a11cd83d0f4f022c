// The component stream's text form as XML, and the small XML, shell and control
// helpers the export routines share.
#pragma once
#include <string>

#include "platform/classes.h"
#include "platform/graphic.h"
#include "platform/types.h"

class TWinControl;

// A string list used as a stack of names.
class TStringsStack : public TStringList {
  DECLARE_CLASS(TStringsStack, TStringList)
public:
  // Appends the name; answers its index.
  int Push(const std::string& Name) { return Add(Name); }
  // Removes and answers the last name ("" when empty).
  std::string Pop();
};

// "shift_jis" when the user's language is Japanese, else "ISO-8859-1".
std::string XMLEncodingName();
// The XML declaration, with an encoding attribute when Encoding is not empty.
std::string XMLHeader(const std::string& Encoding);
// Attribute and text escaping: & < > " become entities, character 13 "&#13;", and
// the other control characters XML cannot hold (6 among them) a blank.
std::string XMLEscape(const std::string& Text);

// Converts the text form read from Stream's position into indented XML, written
// from position 0; the stream ends where the XML ends.
void ComponentToXML(TStream* Stream, bool WithHeader);

// Opens a file or address with the desktop's opener.
void GotoURL(THandle WindowHandle, const std::string& Target);
// Frees every child control of Control.
void FreeAllControls(TWinControl* Control);
