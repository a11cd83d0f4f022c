#include "app/mainwindow.h"

#include "canvas/lumcanvas.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "platform/dialogs.h"
#include "platform/rtl.h"

using namespace Chain;

TForm1* Form1 = nullptr;

IMPLEMENT_CLASS(TForm1, TForm)

namespace {

// The run buttons' glyph-less bitmap buttons all have the same size.
constexpr int ButtonWidth = 75, ButtonHeight = 25;

template <class T>
T* Place(TForm1* form, TWinControl* parent, const char* name, int left, int top, int width, int height) {
  T* c = new T(form);
  c->SetName(name);
  c->SetBounds(left, top, width, height);
  c->SetParent(parent);
  return c;
}

void SetHintShown(TControl* c, const char* hint) {
  c->SetHint(hint);
  c->SetShowHint(true);
}

TBitBtn* Button(TForm1* form, TWinControl* parent, const char* name, int left, int top, const char* caption,
                const char* hint) {
  TBitBtn* b = Place<TBitBtn>(form, parent, name, left, top, ButtonWidth, ButtonHeight);
  b->SetCaption(caption);
  SetHintShown(b, hint);
  return b;
}

TSpinEdit* Spin(TForm1* form, const char* name, int top, int minValue, int value, const char* hint) {
  TSpinEdit* s = Place<TSpinEdit>(form, form, name, 869, top, 57, 22);
  s->SetMinValue(minValue);
  s->SetMaxValue(20);
  s->SetValue(value);
  SetHintShown(s, hint);
  return s;
}

TTrackBar* Track(TForm1* form, TWinControl* parent, const char* name, int left, int width, int max, int position,
                 const char* hint) {
  TTrackBar* t = Place<TTrackBar>(form, parent, name, left, 27, width, 150);
  t->SetOrientation(trVertical);
  t->SetMin(1);
  t->SetMax(max);
  t->SetPosition(position);
  t->SetFrequency(1);
  t->SetTickStyle(tsNone);
  t->SetTickMarks(tmBottomRight);
  SetHintShown(t, hint);
  return t;
}

TLabel* Label(TForm1* form, TWinControl* parent, const char* name, int left, int top, const char* caption,
              TColor color = clWindowText) {
  TLabel* l = new TLabel(form);
  l->SetName(name);
  l->SetLeft(left);
  l->SetTop(top);
  l->SetCaption(caption);
  if (color != clWindowText) l->Font()->SetColor(color);
  l->SetParent(parent);
  return l;
}

template <class T>
T* AddSeries(TForm1* form, TChart* chart, const char* name) {
  T* s = new T(form);
  s->SetName(name);
  s->Marks()->SetVisible(false);
  s->SetParentChart(chart);
  return s;
}

TFastLineSeries* FastLine(TForm1* form, TChart* chart, const char* name, TColor color, bool dotted,
                          bool nullsNotPainted) {
  TFastLineSeries* s = AddSeries<TFastLineSeries>(form, chart, name);
  s->SetSeriesColor(color);
  if (dotted) s->LinePen()->SetStyle(psDot);
  s->SetTreatNulls(nullsNotPainted ? tnDontPaint : tnIgnore);
  return s;
}

TPointSeries* Circles(TForm1* form, TChart* chart, const char* name, int size) {
  TPointSeries* s = AddSeries<TPointSeries>(form, chart, name);
  s->Pointer()->SetVisible(true);
  s->Pointer()->SetStyle(psCircle);
  s->Pointer()->SetHorizSize(size);
  s->Pointer()->SetVertSize(size);
  return s;
}

TLineSeries* CurveLine(TForm1* form, TChart* chart, const char* name) {
  TLineSeries* s = AddSeries<TLineSeries>(form, chart, name);
  s->SetSeriesColor(clBlack);
  s->Pointer()->SetVisible(false);
  s->XValues()->SetOrder(loAscending);
  return s;
}

void HideAxisLines(TChartAxis* axis) {
  axis->Axis()->SetVisible(false);
  axis->Grid()->SetVisible(false);
  axis->SetLabels(false);
  axis->Ticks()->SetVisible(false);
  axis->MinorTicks()->SetVisible(false);
}

void FixRange(TChartAxis* axis, double minimum, double maximum) {
  axis->SetAutomatic(false);
  axis->SetAutomaticMinimum(false);
  axis->SetAutomaticMaximum(false);
  axis->SetMinMax(minimum, maximum);
}

}  // namespace

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  SetName("Form1");
  SetBounds(185, 48, 993, 633);
  SetPosition(poScreenCenter);
  SetColor(clBtnFace);
  Font()->SetName("MS Sans Serif");
  Font()->SetHeight(-11);
  SetCaption("MONATOMIC CHAIN");
  CreateControls();
  CreateCharts();
  LoadPicture();
  OnShow = HANDLER(FormShow);
  OnClose = HANDLER(FormClose);
}

void TForm1::CreateControls() {
  // Created in tab order, so each parent's tab order is the creation order.
  ExitBTn = Button(this, this, "ExitBTn", 800, 544, "Exit", "Exit the program");
  LongitudinalCheck = Place<TCheckBox>(this, this, "LongitudinalCheck", 868, 293, 97, 17);
  LongitudinalCheck->SetCaption("Longitudinal");
  SetHintShown(LongitudinalCheck, "Pick longitudinal oscillations");
  Chart1 = Place<TChart>(this, this, "Chart1", 32, 48, 649, 473);
  Chart2 = Place<TChart>(this, this, "Chart2", 708, 328, 217, 193);
  M1 = Spin(this, "M1", 156, 1, 8, "Change heavier mass for diatomic case");
  M2 = Spin(this, "M2", 188, 3, 4, "Change lower mass for diatomic case");
  AcousticRadio = Place<TRadioButton>(this, this, "AcousticRadio", 868, 248, 113, 17);
  AcousticRadio->SetCaption("Acoustic");
  AcousticRadio->SetChecked(true);
  SetHintShown(AcousticRadio, "Select acoustic branch in diatromic case");
  OpticRadio = Place<TRadioButton>(this, this, "OpticRadio", 868, 272, 113, 17);
  OpticRadio->SetCaption("Optic");
  SetHintShown(OpticRadio, "Select optic branch in diatomic case");
  ImaginaryWaveCheck = Place<TCheckBox>(this, this, "ImaginaryWaveCheck", 745, 294, 97, 17);
  ImaginaryWaveCheck->SetCaption("Imaginary Wave");
  SetHintShown(ImaginaryWaveCheck, "Run imaginary wave solutions");
  HelpBtn = Button(this, this, "HelpBtn", 32, 544, "Help", "Open help file");
  InterruptBtn = Button(this, this, "InterruptBtn", 704, 544, "Interrupt", "Allows interrupt of run");

  Panel1 = Place<TPanel>(this, this, "Panel1", 160, 536, 513, 41);
  MonatomicBtn = Button(this, Panel1, "MonatomicBtn", 21, 9, "MonAtomic", "Run Monatomic Chain");
  DiatomBtn = Button(this, Panel1, "DiatomBtn", 221, 9, "Diatomic", "Run Diatomic Chain");
  AlternatingBtn = Button(this, Panel1, "AlternatingBtn", 321, 8, "Alternating", "Alternating force constants");
  CombinedBtn = Button(this, Panel1, "CombinedBtn", 421, 10, "Combined", "Two masses, two force constants");
  NextNBtn = Button(this, Panel1, "NextNBtn", 121, 8, "NextN", "Monatomic chain with next neighbour force constants");

  C1 = Spin(this, "C1", 92, 1, 6, "Change heavier mass for diatomic case");
  C2 = Spin(this, "C2", 124, 1, 4, "Change heavier mass for diatomic case");

  Panel2 = Place<TPanel>(this, this, "Panel2", 701, 52, 164, 201);
  kValueBar = Track(this, Panel2, "kValueBar", 100, 29, 1000, 1000, "Select wave-vector value");
  SpeedBar = Track(this, Panel2, "SpeedBar", 21, 45, 30, 1, "Select speed of simulation");
  DampBar = Track(this, Panel2, "DampBar", 60, 36, 20, 1, "Select damping term");
  Label1 = Label(this, Panel2, "Label1", 107, 15, "k value");
  Label2 = Label(this, Panel2, "Label2", 18, 15, "Speed");
  Label9 = Label(this, Panel2, "Label9", 60, 15, "Damping");
  // One pixel right of the layout's 128, which lies under the k bar's last column
  // and hid the first letter.
  Label8 = Label(this, Panel2, "Label8", 129, 30, "k=0");
  Label7 = Label(this, Panel2, "Label7", 129, 161, "k(max)");

  Label3 = Label(this, this, "Label3", 941, 92, "C1");
  Label6 = Label(this, this, "Label6", 941, 124, "C2", clGreen);
  Label4 = Label(this, this, "Label4", 941, 156, "M1", clGreen);
  Label5 = Label(this, this, "Label5", 941, 188, "M2", clRed);
  Image1 = Place<TImage>(this, this, "Image1", 891, 20, 60, 60);

  ExitBTn->OnClick = HANDLER(ExitBTnClick);
  InterruptBtn->OnClick = HANDLER(InterruptBtnClick);
  HelpBtn->OnClick = HANDLER(HelpBtnClick);
  MonatomicBtn->OnClick = HANDLER(MonatomicBtnClick);
  NextNBtn->OnClick = HANDLER(NextNBtnClick);
  DiatomBtn->OnClick = HANDLER(DiatomBtnClick);
  AlternatingBtn->OnClick = HANDLER(AlternatingBtnClick);
  CombinedBtn->OnClick = HANDLER(CombinedBtnClick);
  C1->OnChange = HANDLER(C1Change);
  C2->OnChange = HANDLER(C2Change);
  M1->OnChange = HANDLER(M1Change);
  M2->OnChange = HANDLER(M2Change);
  for (TSpinEdit* s : {C1, C2, M1, M2}) s->OnExit = HANDLER(SpinEditExit);
  AcousticRadio->OnClick = HANDLER(kValueBarChange);
  OpticRadio->OnClick = HANDLER(kValueBarChange);
  kValueBar->OnChange = HANDLER(kValueBarChange);
  kValueBar->OnEnter = HANDLER(kValueBarEnter);
}

void TForm1::CreateCharts() {
  // The chain: fixed -1..1 vertically, the bottom axis spans the series.
  Chart1->SetView3D(false);
  Chart1->Zoom()->SetAllow(false);
  Chart1->Legend()->SetVisible(false);
  Chart1->Title()->SetVisible(false);
  Chart1->Border()->SetVisible(true);
  Chart1->SetMarginTop(5);
  TChartAxis* bottom = Chart1->BottomAxis();
  HideAxisLines(bottom);
  bottom->SetMinorTickCount(1);
  bottom->SetTickInnerLength(45);
  bottom->SetGridCentered(true);
  TChartAxis* left = Chart1->LeftAxis();
  left->SetVisible(false);
  left->SetLabels(false);
  left->Grid()->SetVisible(false);
  FixRange(left, -1, 1);
  left->SetMinimumOffset(-5);
  left->SetMaximumOffset(-4);

  Series1 = FastLine(this, Chart1, "Series1", clRed, false, true);
  Series2 = Circles(this, Chart1, "Series2", 8);
  Series2->Pointer()->SetInflateMargins(true);
  Series2->OnGetPointerStyle = HANDLER(Series2GetPointerStyle);
  Series3 = FastLine(this, Chart1, "Series3", clYellow, false, false);
  Series4 = FastLine(this, Chart1, "Series4", clBlue, false, true);
  Series6 = FastLine(this, Chart1, "Series6", 4227072, true, true);
  Series7 = FastLine(this, Chart1, "Series7", clRed, true, false);
  Series7->XValues()->SetOrder(loAscending);
  Series8 = AddSeries<TBarSeries>(this, Chart1, "Series8");
  Series8->SetBarWidthPercent(1);
  Series8->BarPen()->SetVisible(false);
  Series8->BarBrush()->SetColor(clWhite);
  Series8->SetYOrigin(-1);
  Series8->SetShowInLegend(false);
  Series8->SetDark3D(false);
  Series8->SetSideMargins(false);
  Series8->Shadow()->SetVisible(false);
  Series8->XValues()->SetOrder(loAscending);
  Series8->YValues()->SetName("Bar");

  // The dispersion curve.
  SetHintShown(Chart2, "Dispersion Curves");
  Chart2->SetView3D(false);
  Chart2->Zoom()->SetAllow(false);
  Chart2->View3DOptions()->SetOrthogonal(false);
  Chart2->View3DOptions()->SetZoom(70);
  Chart2->Gradient()->SetDirection(gdDiagonalDown);
  Chart2->Gradient()->SetEndColor(11645361);
  Chart2->Gradient()->SetVisible(true);
  TChartWall* back = Chart2->BackWall();
  back->Gradient()->SetEndColor(11118482);
  back->Gradient()->SetVisible(true);
  back->SetSize(1);
  back->SetTransparent(false);
  back->SetDark3D(false);
  Chart2->Border()->SetColor(14645801);
  Chart2->Border()->SetWidth(7);
  Chart2->BottomWall()->SetVisible(false);
  Chart2->LeftWall()->SetVisible(false);
  Chart2->Legend()->SetVisible(false);
  Chart2->SetMarginLeft(5);
  Chart2->SetMarginRight(5);
  Chart2->SetMarginTop(5);
  Chart2->SetColorPaletteIndex(9);
  Chart2->SetBevelOuter(bvNone);
  Chart2->SetBevelWidth(2);
  Chart2->Title()->Text()->Add("Dispersion Curve");
  Chart2->Title()->Text()->Add("");
  bottom = Chart2->BottomAxis();
  FixRange(bottom, 0, 24);
  HideAxisLines(bottom);
  bottom->SetMinorTickCount(4);
  bottom->Title()->SetCaption("0" + std::string(30, ' ') + "k" + std::string(25, ' ') + "2Pi/a");
  bottom->SetTitleSize(7);
  left = Chart2->LeftAxis();
  FixRange(left, 45, 435);
  left->SetLabels(false);
  left->LabelsFont()->SetHeight(-5);
  left->SetMinimumOffset(-5);
  left->SetMaximumOffset(-4);
  left->Title()->SetCaption("Omega");
  left->SetTitleSize(2);
  left->Title()->Brush()->Gradient()->SetDirection(gdBottomTop);
  left->Title()->Frame()->SetVisible(false);
  Chart2->TopAxis()->SetAutomatic(false);
  Chart2->OnAfterDraw = HANDLER(SelectDispersion);

  LineSeries1 = CurveLine(this, Chart2, "LineSeries1");
  PointSeries1 = Circles(this, Chart2, "PointSeries1", 3);
  PointSeries1->XValues()->SetOrder(loAscending);
  Series5 = CurveLine(this, Chart2, "Series5");
}

void TForm1::LoadPicture() {
  // An unregistered picture class leaves the picture empty.
  const std::vector<std::uint8_t> data = Image1PictureData();
  TMemoryStream stream;
  stream.WriteBuffer(data.data(), std::int64_t(data.size()));
  stream.SetPosition(0);
  Image1->Picture()->LoadFromStream(&stream);
}

// ---------------------------------------------------------------- small handlers

void TForm1::FormShow(TObject*) {
  SetShowValues();
  TChartAxisTitle* t = Chart2->LeftAxis()->Title();
  t->SetCaption("Omega");
  t->SetVisible(true);
  StopRequested = false;
}

// A close from the title bar ends a running animation too, so the program can end.
void TForm1::FormClose(TObject*, TCloseAction&) { StopRequested = true; }

void TForm1::ExitBTnClick(TObject*) {
  StopRequested = true;
  Close();
  Application->ProcessMessages();
}

void TForm1::InterruptBtnClick(TObject*) { StopRequested = true; }

std::string TForm1::HelpFileName() { return ExtractFilePath(Application->ExeName()) + "PhonarkHlp.chm"; }

void TForm1::HelpBtnClick(TObject*) { OpenHelp(HelpFileName()); }

// A help button that does nothing leaves the user guessing: a failure is shown,
// naming the file.
void TForm1::OpenHelp(const std::string& file) {
  const int result = ShellExecuteA(Form1 ? Form1->Handle() : Handle(), "open", file, "", "c:\\windows", SW_SHOWNORMAL);
  if (result > 32) return;
  ::ShowMessage(result == 2 ? "The help file " + file + " does not exist."
                            : "No program could open the help file " + file + ".");
}

void TForm1::RedrawCurrent(TObject* Sender) {
  if (CurrentMode != cmNone) DrawCurve(CurrentMode, Sender);
}

void TForm1::kValueBarChange(TObject* Sender) { RedrawCurrent(Sender); }
void TForm1::kValueBarEnter(TObject* Sender) { kValueBarChange(Sender); }
void TForm1::M1Change(TObject* Sender) { RedrawCurrent(Sender); }
void TForm1::M2Change(TObject* Sender) { RedrawCurrent(Sender); }
void TForm1::C1Change(TObject* Sender) { RedrawCurrent(Sender); }
void TForm1::C2Change(TObject* Sender) { RedrawCurrent(Sender); }

// A text that cannot be used as typed (not a number, beyond 32 bits, below 1) is
// replaced by the number the chain uses, so the edit never shows another one.
void TForm1::SpinEditExit(TObject* Sender) {
  auto* edit = dynamic_cast<TSpinEdit*>(Sender);
  if (!edit) return;
  const std::string used = IntToStr(Chain::ChainParam(edit->Value()));
  long long typed;
  if (TryStrToInt(edit->Text(), typed) && IntToStr(typed) == used) return;
  edit->SetText(used);
}

// Runs inside Chart2's paint. A curve whose model and inputs have not changed since
// it was drawn stands as it is: only the dotted line, drawn over the paint, is drawn
// again. Redrawing it would ask for the next paint and keep the chart painting at
// display rate while nothing changes. Otherwise the curve is redrawn, and its next
// paint finds it current. No messages are pumped here: a run button clicked inside
// this paint would otherwise start its run inside it and hold Chart2's painting for
// the whole run.
void TForm1::SelectDispersion(TObject* Sender) {
  if (CurrentMode == cmNone) return;
  if (CurrentCurve() == drawn_) DrawCentreLine();
  else RedrawCurrent(Sender);
}

TForm1::TDrawnCurve TForm1::CurrentCurve() { return {CurrentMode, ReadInputs(), LatticeA}; }

TSeriesPointerStyle TForm1::Series2GetPointerStyle(TChartSeries*, int ValueIndex) {
  TSeriesPointer* p = Series2->Pointer();
  TModeFlags flags;
  flags.Monatomic = IsMonatomic;
  flags.Diatomic = IsDiatomic;
  flags.Alternating = IsAlternating;
  flags.Combined = IsCombined;
  flags.NextNeighbour = IsNextNeighbour;
  TMarkerStyle m = MarkerStyleFor(flags, ValueIndex, MarkerSizeEven, MarkerSizeOdd, {p->HorizSize(), p->Color()});
  p->SetHorizSize(m.Size);
  p->SetVertSize(m.Size);
  p->SetColor(m.Color);
  return psCircle;
}

// ---------------------------------------------------------------- runs

void TForm1::MonatomicBtnClick(TObject* Sender) { RunChain(*this, cmMonatomic, Sender); }
void TForm1::NextNBtnClick(TObject* Sender) { RunChain(*this, cmNextNeighbour, Sender); }
void TForm1::DiatomBtnClick(TObject* Sender) { RunChain(*this, cmDiatomic, Sender); }
void TForm1::AlternatingBtnClick(TObject* Sender) { RunChain(*this, cmAlternating, Sender); }
void TForm1::CombinedBtnClick(TObject* Sender) { RunChain(*this, cmCombined, Sender); }

// ---------------------------------------------------------------- curve drawers

void TForm1::DispersionCurve(TObject*) { DrawDispersion(cmMonatomic); }
void TForm1::DispersionCurve2(TObject*) { DrawDispersion(cmNextNeighbour); }
void TForm1::DiatomicDispersionCurve(TObject*) { DrawDispersion(cmDiatomic); }
void TForm1::AlternatingDispersionCurve(TObject*) { DrawDispersion(cmAlternating); }
void TForm1::CombinedDispersionCurve(TObject*) { DrawDispersion(cmCombined); }

void TForm1::DrawDispersion(int mode) {
  kValueBar->SetMax(1000);
  drawn_ = {mode, ReadInputs(), LatticeA};
  const TDispersionCurve c = DispersionFor(mode, drawn_.In, LatticeA);
  for (int i = 0; i < 3; ++i) Chart2->GetSeries(i)->Clear();
  ZoneK = c.ZoneK;
  DeltaK = c.DeltaK;
  Chart2->Title()->Clear();
  Chart2->Title()->Text()->Add(c.Title);
  WriteLine(10, 30, c.Wavelength);
  TChartSeries* upper = Chart2->GetSeries(0);
  TChartSeries* lower = Chart2->GetSeries(2);
  // One repaint request for the whole curve, not one per point.
  upper->BeginUpdate();
  lower->BeginUpdate();
  for (size_t i = 0; i < c.Upper.size(); ++i) {
    upper->AddXY(c.Upper[i].X, c.Upper[i].Y, "", clBlack);
    if (i < c.Lower.size()) lower->AddXY(c.Lower[i].X, c.Lower[i].Y, "", clBlack);
  }
  lower->EndUpdate();
  upper->EndUpdate();
  TChartSeries* point = Chart2->GetSeries(1);
  point->AddXY(c.Selected.X, c.Selected.Y, "", clRed);
  point->AddXY(c.Mirror.X, c.Mirror.Y, "", clRed);
  Omega = c.Omega;
  Chart2->LeftAxis()->SetMinimum(c.LeftMin);
  Chart2->LeftAxis()->SetMaximum(c.LeftMax);
  Chart2->BottomAxis()->SetMinimum(c.BottomMin);
  Chart2->BottomAxis()->SetMaximum(c.BottomMax);
  if (c.DottedLine) DrawCentreLine();
  Chart2->BottomAxis()->Title()->SetCaption(c.BottomTitle);
}

// The two-atom models' dotted line through the middle of the chart, straight onto
// its canvas: the next paint covers it.
void TForm1::DrawCentreLine() {
  if (drawn_.Mode != cmDiatomic && drawn_.Mode != cmAlternating && drawn_.Mode != cmCombined) return;
  TCanvas3D* canvas = Chart2->Canvas();
  canvas->Pen()->SetColor(clBlack);
  canvas->Pen()->SetStyle(psDot);
  const int x = Chart2->ChartXCenter(), y = Chart2->ChartYCenter();
  const int half = int(Round((long double)Chart2->ChartHeight() / 2));
  canvas->MoveTo(x, y);
  canvas->LineTo(x, y + half);
  canvas->LineTo(x, y - half);
}

// Text straight onto the window, in its font on its own colour: the trailing
// blanks of the texts erase what a longer earlier text left.
void TForm1::WriteLine(int x, int y, const std::string& text) {
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->TextOut(x, y, text);
}

// ---------------------------------------------------------------- the run frame's view of the window

TChainInputs TForm1::ReadInputs() {
  TChainInputs in;
  in.M1 = M1->Value();
  in.M2 = M2->Value();
  in.C1 = C1->Value();
  in.C2 = C2->Value();
  in.KPosition = kValueBar->Position();
  in.Optic = OpticRadio->Checked();
  return in;
}

bool TForm1::LongitudinalChecked() { return LongitudinalCheck->Checked(); }
bool TForm1::ImaginaryChecked() { return ImaginaryWaveCheck->Checked(); }
int TForm1::SpeedPosition() { return SpeedBar->Position(); }
int TForm1::DampPosition() { return DampBar->Position(); }

void TForm1::ResetForceConstants(int c1, int c2) {
  C1->SetValue(c1);
  C2->SetValue(c2);
}

void TForm1::SetWindowCaption(const std::string& text) { SetCaption(text); }
void TForm1::WriteText(int x, int y, const std::string& text) { WriteLine(x, y, text); }
void TForm1::ShowMessageBox(const std::string& text) { ::ShowMessage(text); }
void TForm1::ClearSeries(int index) { Chart1->GetSeries(index)->Clear(); }

void TForm1::AddPoint(int index, const TChainPoint& p) {
  Chart1->GetSeries(index)->AddXY(p.X, p.Y, "", p.Color);
}

void TForm1::SetSeriesColor(int index, TColor color) { Chart1->GetSeries(index)->SetSeriesColor(color); }
void TForm1::MarkerCallback(int valueIndex) { Series2GetPointerStyle(Series2, valueIndex); }

// The run handler and the curve drawer of each model, by CurrentMode.
namespace {
struct TModeHandlers {
  void (TForm1::*Run)(TObject*);
  void (TForm1::*Draw)(TObject*);
};
const TModeHandlers ModeHandlers[] = {
    {&TForm1::MonatomicBtnClick, &TForm1::DispersionCurve},
    {&TForm1::DiatomBtnClick, &TForm1::DiatomicDispersionCurve},
    {&TForm1::AlternatingBtnClick, &TForm1::AlternatingDispersionCurve},
    {&TForm1::CombinedBtnClick, &TForm1::CombinedDispersionCurve},
    {&TForm1::NextNBtnClick, &TForm1::DispersionCurve2},
};
}  // namespace

// The entry is copied first: g++ 12's sanitizer misreads the index of a member
// pointer call made straight through the table.
void TForm1::DrawCurve(int mode, TObject* Sender) {
  const auto draw = ModeHandlers[mode].Draw;
  (this->*draw)(Sender);
}

void TForm1::StartRun(int mode, TObject* Sender) {
  const auto run = ModeHandlers[mode].Run;
  (this->*run)(Sender);
}

void TForm1::Pause(int ms) { Sleep(unsigned(ms)); }
void TForm1::ProcessMessages() { Application->ProcessMessages(); }
