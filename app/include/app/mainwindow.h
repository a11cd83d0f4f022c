// Unit `Chain`: the main window. It lays out the controls and the two charts,
// draws the dispersion curve of the current model and runs the animations; the
// physics and the run frame are in app/physics.h and app/runframe.h.
#pragma once
#include <cstdint>
#include <vector>
#include <string>

#include "app/runframe.h"
#include "engine/series.h"
#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/units.h"

class TChart;
class TChartSeries;
class TFastLineSeries;
class TLineSeries;
class TPointSeries;
class TBarSeries;

class TForm1 : public TForm, public Chain::TChainHost {
  DECLARE_CLASS(TForm1, TForm)
public:
  explicit TForm1(TComponent* AOwner);

  // Controls, in the window's tab order.
  TBitBtn* ExitBTn;
  TCheckBox* LongitudinalCheck;
  TChart* Chart1;
  TChart* Chart2;
  TSpinEdit* M1;
  TSpinEdit* M2;
  TRadioButton* AcousticRadio;
  TRadioButton* OpticRadio;
  TCheckBox* ImaginaryWaveCheck;
  TBitBtn* HelpBtn;
  TBitBtn* InterruptBtn;
  TPanel* Panel1;
  TBitBtn* MonatomicBtn;
  TBitBtn* DiatomBtn;
  TBitBtn* AlternatingBtn;
  TBitBtn* CombinedBtn;
  TBitBtn* NextNBtn;
  TSpinEdit* C1;
  TSpinEdit* C2;
  TPanel* Panel2;
  TTrackBar* kValueBar;
  TTrackBar* SpeedBar;
  TTrackBar* DampBar;
  TLabel* Label1;
  TLabel* Label2;
  TLabel* Label9;
  TLabel* Label8;
  TLabel* Label7;
  TLabel* Label3;
  TLabel* Label6;
  TLabel* Label4;
  TLabel* Label5;
  TImage* Image1;

  // Series of Chart1 (indices 0..6) and Chart2 (0..2).
  TFastLineSeries* Series1;
  TPointSeries* Series2;
  TFastLineSeries* Series3;
  TFastLineSeries* Series4;
  TFastLineSeries* Series6;
  TFastLineSeries* Series7;
  TBarSeries* Series8;
  TLineSeries* LineSeries1;
  TPointSeries* PointSeries1;
  TLineSeries* Series5;

  // Handlers.
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void ExitBTnClick(TObject* Sender);
  void InterruptBtnClick(TObject* Sender);
  void HelpBtnClick(TObject* Sender);
  void kValueBarChange(TObject* Sender);
  void kValueBarEnter(TObject* Sender);
  void M1Change(TObject* Sender);
  void M2Change(TObject* Sender);
  void C1Change(TObject* Sender);
  void C2Change(TObject* Sender);
  void SpinEditExit(TObject* Sender);
  void SelectDispersion(TObject* Sender);
  TSeriesPointerStyle Series2GetPointerStyle(TChartSeries* Sender, int ValueIndex);

  void MonatomicBtnClick(TObject* Sender);
  void NextNBtnClick(TObject* Sender);
  void DiatomBtnClick(TObject* Sender);
  void AlternatingBtnClick(TObject* Sender);
  void CombinedBtnClick(TObject* Sender);

  // Curve drawers.
  void DispersionCurve(TObject* Sender);
  void DispersionCurve2(TObject* Sender);
  void DiatomicDispersionCurve(TObject* Sender);
  void AlternatingDispersionCurve(TObject* Sender);
  void CombinedDispersionCurve(TObject* Sender);

  // The help file beside the executable.
  static std::string HelpFileName();
  // Opens a help file in the desktop's viewer; a message names it when that fails.
  void OpenHelp(const std::string& file);

private:
  void CreateControls();
  void CreateCharts();
  void LoadPicture();
  // The redraw dispatch by CurrentMode.
  void RedrawCurrent(TObject* Sender);
  void DrawDispersion(int mode);
  void DrawCentreLine();
  void WriteLine(int x, int y, const std::string& text);

  // What the dispersion chart shows: the model and the inputs it was drawn from
  // (mode cmNone before the first drawing).
  struct TDrawnCurve {
    int Mode = Chain::cmNone;
    Chain::TChainInputs In;
    float A = 0;
    bool operator==(const TDrawnCurve&) const = default;
  };
  TDrawnCurve drawn_;
  TDrawnCurve CurrentCurve();

  // TChainHost: the run frame's view of the window.
  Chain::TChainInputs ReadInputs() override;
  bool LongitudinalChecked() override;
  bool ImaginaryChecked() override;
  int SpeedPosition() override;
  int DampPosition() override;
  void ResetForceConstants(int c1, int c2) override;
  void SetWindowCaption(const std::string& text) override;
  void WriteText(int x, int y, const std::string& text) override;
  void ShowMessageBox(const std::string& text) override;
  void ClearSeries(int index) override;
  void AddPoint(int index, const Chain::TChainPoint& p) override;
  void SetSeriesColor(int index, TColor color) override;
  void MarkerCallback(int valueIndex) override;
  void DrawCurve(int mode, TObject* Sender) override;
  void Pause(int ms) override;
  void ProcessMessages() override;
  void StartRun(int mode, TObject* Sender) override;
};

extern TForm1* Form1;

// The window's picture data: the graphic class name "TGIFImage", then the GIF stream.
std::vector<std::uint8_t> Image1PictureData();
// The program's units in start-up order (finalised in reverse).
std::vector<TUnitInfo> PhonarkUnits();
