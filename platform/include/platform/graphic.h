// The abstract picture format. Qt-free so that codecs build without the GUI;
// drawing goes to a TCanvas, which only the GUI library defines.
#pragma once
#include <cstdint>
#include <string>

#include "platform/classes.h"
#include "platform/types.h"

class TCanvas;
class TGraphic;

using HPALETTE = std::uintptr_t;  // 0: none
using THandle = std::uintptr_t;

enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent = TEvent<void(TObject* Sender, TProgressStage Stage, std::uint8_t PercentDone,
                                   bool RedrawNow, const TRect& R, const std::string& Msg)>;

class TGraphic : public TPersistent {
  DECLARE_CLASS(TGraphic, TPersistent)
public:
  TGraphic() = default;

  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual void SetHeight(int Value) = 0;
  virtual bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool Value);
  virtual HPALETTE Palette() const { return 0; }
  virtual void SetPalette(HPALETTE Value) { (void)Value; }
  bool Modified() const { return modified_; }
  void SetModified(bool Value);

  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  virtual void LoadFromFile(const std::string& FileName);
  virtual void SaveToFile(const std::string& FileName);
  // Clipboard formats; the base knows none (EInvalidGraphic "Unsupported clipboard format").
  virtual void LoadFromClipboardFormat(std::uint16_t Format, THandle Data, HPALETTE APalette);
  virtual void SaveToClipboardFormat(std::uint16_t& Format, THandle& Data, HPALETTE& APalette);
  virtual bool Equals(TGraphic* Graphic);

  // Paints the graphic stretched into Rect; called by TCanvas::StretchDraw and Draw.
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

  virtual void Changed(TObject* Sender);
  virtual void Progress(TObject* Sender, TProgressStage Stage, std::uint8_t PercentDone, bool RedrawNow,
                        const TRect& R, const std::string& Msg);

private:
  bool transparent_ = false;
  bool modified_ = false;
};

using TGraphicClass = TClass;
