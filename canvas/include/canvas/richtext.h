// Formatted text: a small HTML-like language that TLumCanvas::TextOutRich draws when
// its HTML flag is set, and measures for box layout.
//
// Tags (names and attributes in any case; attribute values in double or single quotes
// or bare):
//   <b> </b>  <i> </i>  <u> </u>  <s> </s> (also <strike>)   bold, italic, underline,
//                                       strike-out, added to the font in use
//   <font color=C size=N face="Name"> </font>
//       C: #RRGGBB or one of black, white, red, green, blue, yellow, gray (grey),
//          silver, maroon, navy, purple, teal, olive, lime, aqua, fuchsia;
//       N: points, or +N / -N points relative to the font in use (at least 1);
//       every attribute is optional; </font> returns to the font before the tag.
//   <br> (also <br/>)                   a line break; so is a CR (LF is ignored)
//   <img src="file">                    the picture of that file at its own size,
//                                       standing on the baseline
// Entities: &amp; &lt; &gt; &quot; &apos; &nbsp; &#N; &#xH; (code points as UTF-8).
// Runs on one line share a baseline; a line is as high as its tallest run.
// Malformed text: an unknown tag or entity, a tag or entity left open, a closing tag
// that closes nothing open, or a bad attribute value. Tags left open at the end are
// fine (they close there).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics.h"
#include "platform/rtl.h"

PHONARK_EXCEPTION(HtmlParserException, Exception);

// One piece of formatted text in one font, a picture, or a line break.
struct TRichRun {
  enum TKind { rkText, rkPicture, rkLineBreak } Kind = rkText;
  std::string Text;  // rkText: the characters; rkPicture: the file name
  TFontStyles Style = 0;
  TColor Color = clBlack;
  int Height = 0;  // TFont::Height
  std::string Face;
};

// Parses Text against the font it starts from. Raises HtmlParserException saying at
// which character (1-based) and why, when Text is malformed.
std::vector<TRichRun> ParseRichText(const std::string& Text, const TFont& Start);

// The formatted text's picture hook: answers a new empty picture object for a file
// name (by its extension), or nullptr. Filled at start-up by a higher unit; while it
// is not set, pictures of formatted text draw nothing.
using TRichPictureHook = TGraphic* (*)(const std::string& FileName);
extern TRichPictureHook RichTextPictureHook;
