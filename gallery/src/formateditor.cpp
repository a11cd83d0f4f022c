#include "gallery/formateditor.h"

#include <algorithm>

#include "canvas/comboflat.h"
#include "engine/helpers.h"
#include "formbuild.h"
#include "gallery/editortools.h"
#include "platform/dateutils.h"
#include "platform/rtl.h"
#include "platform/sysfiles.h"

using namespace formbuild;

IMPLEMENT_CLASS(TFormatEditor, TForm)
IMPLEMENT_CLASS(TMouseCursorEdit, TForm)

namespace {
const TFormatLocale* installedLocale = nullptr;

// Position of What in S from From, or npos; an empty What is never found.
size_t Find(const std::string& S, const std::string& What, size_t From = 0) {
  return What.empty() ? std::string::npos : S.find(What, From);
}

// Removes the first What from S; true when it was there.
bool Take(std::string& S, const std::string& What) {
  const size_t p = Find(S, What);
  if (p == std::string::npos) return false;
  S.erase(p, What.size());
  return true;
}

// The most digits the up-downs hold; a longer run is a custom format.
constexpr int MaxDigits = 20;

const char* const GeoFormats[] = {"ddd\xC2\xB0 mm' ss\".zzz", "ddd mm' ss\".zzz", "ddd deg mm' ss\".zzz",
                                  "ddd mm ss.zzz",           "ddd mm ss",         "ddd mm",
                                  "ddd\xC2\xB0",             "ddd"};
}  // namespace

const TFormatLocale& FormatLocale() {
  if (installedLocale) return *installedLocale;
  static TFormatLocale platform;
  platform.ThousandSeparator = std::string(1, ThousandSeparator);
  platform.DecimalSeparator = std::string(1, DecimalSeparator);
  platform.ShortDateFormat = FormatSettings.ShortDateFormat;
  platform.ShortTimeFormat = FormatSettings.ShortTimeFormat;
  return platform;
}

void SetFormatLocale(const TFormatLocale* Locale) { installedLocale = Locale; }

std::string ComposeNumberFormat(const TNumberFormat& N, const TFormatLocale& L) {
  std::string s = N.Currency ? L.CurrencyString : std::string();
  const int f = N.Fixed;
  const std::string& sep = L.ThousandSeparator;
  if (f <= 0)
    // The separator of the locale, also here: a literal comma is the decimal
    // separator where the thousands one is a point.
    s += N.Thousands ? "#" + sep + "###" : "#";
  else if (!N.Thousands)
    s += std::string(size_t(f), '0');
  else if (f <= 3)
    s += "#" + sep + std::string(size_t(3 - f), '#') + std::string(size_t(f), '0');
  else
    s += std::string(size_t(f - 3), '0') + sep + "000";
  if (N.Decimals > 0) s += L.DecimalSeparator + std::string(size_t(N.Decimals), N.FixedDecimals ? '0' : '#');
  if (N.Percent) s += "%";
  return s;
}

bool DecomposeNumberFormat(const std::string& Format, const TFormatLocale& L, TNumberFormat& N) {
  N = TNumberFormat();
  std::string w = Format;
  N.Percent = Take(w, "%");
  N.Currency = Take(w, L.CurrencyString);
  N.Thousands = Take(w, L.ThousandSeparator);
  const size_t p = Find(w, L.DecimalSeparator);
  if (p != std::string::npos) {
    const size_t from = p + L.DecimalSeparator.size();
    size_t e = from;
    while (e < w.size() && (w[e] == '#' || w[e] == '0')) ++e;
    N.Decimals = int(e - from);
    N.FixedDecimals = e > from && w[from] == '0';
    w.erase(p, e - p);
  }
  if (w.find_first_not_of("#0") != std::string::npos) return false;
  N.Fixed = int(std::count(w.begin(), w.end(), '0'));
  return N.Fixed <= MaxDigits && N.Decimals <= MaxDigits;
}

// ---------------------------------------------------------------------------
TFormatEditor::TFormatEditor(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "FormatEditor", "Numeric Format", 274, 269);
  const TFormatLocale& loc = FormatLocale();

  Panel1 = PlaceControl<TPanel>(this, this, "Panel1", 0, 0, 274, 30);
  Panel1->SetAlign(alTop);
  Panel1->SetBevelOuter(bvNone);
  RBInteger = PlaceControl<TRadioButton>(this, Panel1, "RBInteger", 12, 8, 120, 17, "&Number");

  GroupBox1 = PlaceControl<TGroupBox>(this, this, "GroupBox1", 0, 30, 274, 200);
  GroupBox1->SetAlign(alClient);
  CBCurrency = PlaceControl<TCheckBox>(this, GroupBox1, "CBCurrency", 12, 16, 100, 17, "C&urrency");
  CBThousands = PlaceControl<TCheckBox>(this, GroupBox1, "CBThousands", 12, 38, 100, 17, "&Thousands");
  CBPercent = PlaceControl<TCheckBox>(this, GroupBox1, "CBPercent", 12, 60, 100, 17, "&Percent");
  const auto r = EditUpDownRows(this, GroupBox1,
                                {{"LFixed", "&Fixed:", "Edit2", "UpDown2"}, {"LDecimals", "D&ecimals:", "Edit1", "UpDown1"}},
                                130, 190, 14, 38, 0, 20);
  LFixed = r[0].Label, Edit2 = r[0].Edit, UpDown2 = r[0].UpDown;
  LDecimals = r[1].Label, Edit1 = r[1].Edit, UpDown1 = r[1].UpDown;
  CBFixedDecimals = PlaceControl<TCheckBox>(this, GroupBox1, "CBFixedDecimals", 190, 68, 70, 17, "F&ixed");

  RBDate = PlaceControl<TRadioButton>(this, GroupBox1, "RBDate", 12, 98, 94, 17, "&Date Time:");
  CBDate = PlaceControl<TComboFlat>(this, GroupBox1, "CBDate", 110, 96, 152, 21);
  RBGeo = PlaceControl<TRadioButton>(this, GroupBox1, "RBGeo", 12, 126, 94, 17, "&Geographic:");
  CBGeo = PlaceControl<TComboFlat>(this, GroupBox1, "CBGeo", 110, 124, 152, 21);
  RBCustom = PlaceControl<TRadioButton>(this, GroupBox1, "RBCustom", 12, 154, 94, 17, "&Custom:");
  CBCustom = PlaceControl<TComboFlat>(this, GroupBox1, "CBCustom", 110, 152, 152, 21);
  for (TComboFlat* c : {CBDate, CBGeo, CBCustom}) {
    c->SetStyle(csDropDown);
    c->SetEnabled(false);
    c->SetDropDownCount(12);
  }
  for (const char* f : {"mm-yyyy", "mm-dd-yy", "dd-mm-yyyy", "mmm", "ddd", "MM"}) CBDate->Items()->Add(f);
  for (const std::string& f : {loc.ShortDateFormat, loc.ShortTimeFormat})
    if (!f.empty() && CBDate->Items()->IndexOf(f) < 0) CBDate->Items()->Add(f);

  Panel2 = PlaceControl<TPanel>(this, this, "Panel2", 0, 230, 274, 39);
  Panel2->SetAlign(alBottom);
  Panel2->SetBevelOuter(bvNone);
  BOK = PlaceControl<TButton>(this, Panel2, "BOK", 108, 7, 75, 25, "OK");
  BOK->SetDefault(true);
  BOK->SetModalResult(mrOk);
  BCancel = PlaceControl<TButton>(this, Panel2, "BCancel", 190, 7, 75, 25, "Cancel");
  BCancel->SetCancel(true);
  BCancel->SetModalResult(mrCancel);

  RBInteger->OnClick = HANDLER(RBIntegerClick);
  for (TControl* c : std::initializer_list<TControl*>{RBDate, RBGeo, RBCustom, CBCurrency, CBThousands})
    c->OnClick = HANDLER(RBClick);
  CBPercent->OnClick = HANDLER(CBPercentClick);
  for (TComboFlat* c : {CBDate, CBGeo, CBCustom}) c->OnChange = HANDLER(ComboChange);
  OnShow = HANDLER(FormShow);
}

TNumberFormat TFormatEditor::NumberParts() const {
  TNumberFormat n;
  n.Currency = CBCurrency->Checked();
  n.Thousands = CBThousands->Checked();
  n.Percent = CBPercent->Checked();
  n.Fixed = UpDown2->Position();
  n.Decimals = UpDown1->Position();
  n.FixedDecimals = CBFixedDecimals->Checked();
  return n;
}

std::string TFormatEditor::ComposeFormat() const {
  if (CBCustom->Enabled()) return CBCustom->Text();
  if (RBInteger->Checked()) return ComposeNumberFormat(NumberParts(), FormatLocale());
  if (RBDate->Checked()) return CBDate->Text();
  if (RBGeo->Checked()) return CBGeo->Text();
  return std::string();
}

void TFormatEditor::ChooseCombo(TRadioButton* Button, TComboFlat* Combo, const std::string& Format) {
  busy_ = true;
  Combo->SetEnabled(true);
  if (Combo->Items()->IndexOf(Format) < 0) Combo->Items()->Add(Format);
  Combo->SetText(Format);
  Combo->SetItemIndex(Combo->Items()->IndexOf(Format));
  Button->SetChecked(true);
  busy_ = false;
  if (Combo->CanFocus()) Combo->SetFocus();
}

void TFormatEditor::FormShow(TObject*) {
  TranslateControl(this);
  CBGeo->Items()->Clear();
  for (const char* f : GeoFormats) CBGeo->Items()->Add(f);
  for (const char* f : {"#.#", "0.0%"})
    if (CBCustom->Items()->IndexOf(f) < 0) CBCustom->Items()->Add(f);

  const std::string f = format_;
  // A date format is not offered where dates are not allowed.
  if (RBDate->Visible() && CBDate->Items()->IndexOf(f) >= 0) return ChooseCombo(RBDate, CBDate, f);
  if (CBGeo->Items()->IndexOf(f) >= 0) return ChooseCombo(RBGeo, CBGeo, f);

  TNumberFormat n;
  const bool number = DecomposeNumberFormat(f, FormatLocale(), n);
  busy_ = true;
  CBPercent->SetChecked(n.Percent);
  CBPercentClick(CBPercent);  // its enabling, also when the state did not change
  if (n.Currency) CBCurrency->SetChecked(true);
  if (n.Thousands) CBThousands->SetChecked(true);
  UpDown1->SetPosition(n.Decimals);
  CBFixedDecimals->SetChecked(n.FixedDecimals);
  busy_ = false;
  if (!number) return ChooseCombo(RBCustom, CBCustom, f);
  busy_ = true;
  RBInteger->SetChecked(true);
  UpDown2->SetPosition(n.Fixed);
  busy_ = false;
}

void TFormatEditor::RBClick(TObject*) {
  if (busy_) return;
  dateChosen_ = RBDate->Checked();
  geoChosen_ = RBGeo->Checked();
  const bool custom = RBCustom->Checked();
  if (dateChosen_ || geoChosen_ || custom) RBInteger->SetChecked(false);
  CBDate->SetEnabled(dateChosen_);
  CBGeo->SetEnabled(geoChosen_);
  CBCustom->SetEnabled(custom);
  TComboFlat* chosen = dateChosen_ ? CBDate : geoChosen_ ? CBGeo : custom ? CBCustom : nullptr;
  if (dateChosen_) {
    if (CBDate->Text().empty()) CBDate->SetText(FormatLocale().ShortDateFormat);
  } else if (geoChosen_) {
    if (CBGeo->Text().empty() && CBGeo->Items()->Count() > 0) CBGeo->SetText(CBGeo->Items()->Strings(0));
  } else {
    CBPercent->SetEnabled(!custom);
    // What the number boxes describe: the custom box itself is empty here.
    if (custom && CBCustom->Text().empty()) CBCustom->SetText(ComposeNumberFormat(NumberParts(), FormatLocale()));
  }
  if (chosen) {
    format_ = chosen->Text();
    if (chosen->CanFocus()) chosen->SetFocus();
  }
}

void TFormatEditor::RBIntegerClick(TObject* Sender) {
  if (busy_) return;
  busy_ = true;
  for (TRadioButton* b : {RBDate, RBGeo, RBCustom}) b->SetChecked(false);
  busy_ = false;
  RBClick(Sender);
}

void TFormatEditor::CBPercentClick(TObject*) {
  const bool percent = CBPercent->Checked();
  for (TCheckBox* b : {CBCurrency, CBThousands}) {
    if (percent) b->SetChecked(false);
    b->SetEnabled(!percent);
  }
}

void TFormatEditor::ComboChange(TObject* Sender) { format_ = static_cast<TComboFlat*>(Sender)->Text(); }

bool EditValueFormat(TComponent* AOwner, const std::string& Format, std::string& Result, bool AllowDate) {
  TModalDialog<TFormatEditor> f(new TFormatEditor(AOwner));
  f->SetTheFormat(Format);
  f->RBDate->SetVisible(AllowDate);
  f->CBDate->SetVisible(AllowDate);
  AddNumericFormats(f->CBCustom->Items());
  const bool ok = f.Run();
  Result = ok ? f->ComposeFormat() : Format;
  return ok;
}

// ---------------------------------------------------------------------------
TCursor CursorFromName(TCursor Default, const std::string& Name) {
  TCursor c = Default;
  return IdentToCursor("cr" + Name, c) ? c : Default;
}

void FillCursorCombo(TCustomComboBox* Combo, TCursor Cursor) {
  TStrings* items = Combo->Items();
  items->BeginUpdate();
  items->Clear();
  GetCursorValues([items](const std::string& Name) { items->Add(Name.substr(2)); });
  if (items->IndexOf("LumHand") < 0) items->Add("LumHand");
  items->EndUpdate();
  std::string ident;
  Combo->SetItemIndex(CursorToIdent(Cursor, ident) ? items->IndexOf(ident.substr(2)) : -1);
}

TMouseCursorEdit::TMouseCursorEdit(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "MouseCursorEdit", "Mouse Cursor Editor", 219, 170);
  Label1 = PlaceControl<TLabel>(this, this, "Label1", 8, 14, 0, 0, "&Cursor:");
  CBCursor = PlaceControl<TComboFlat>(this, this, "CBCursor", 60, 10, 151, 21);
  CBCursor->SetStyle(csDropDownList);
  CBCursor->SetSorted(true);
  CBCursor->SetDropDownCount(12);
  Label1->SetFocusControl(CBCursor);
  GroupBox1 = PlaceControl<TGroupBox>(this, this, "GroupBox1", 8, 42, 105, 118, "Preview:");
  ImageCursor = PlaceControl<TImage>(this, GroupBox1, "ImageCursor", 8, 20, 89, 90);
  ImageCursor->SetCenter(true);
  ImageCursor->SetTransparent(true);
  BLoad = PlaceControl<TButton>(this, this, "BLoad", 128, 50, 83, 25, "&Load...");
  BOK = PlaceControl<TButton>(this, this, "BOK", 128, 135, 83, 25, "OK");
  BOK->SetDefault(true);
  BOK->SetModalResult(mrOk);
  OpenDialog1 = new TOpenDialog(this);
  OpenDialog1->SetName("OpenDialog1");
  OpenDialog1->SetFilter("Cursor files (*.cur)|*.cur|Animated Cursor files (*.ani)|*.ani");
  OpenDialog1->SetOptions(ofHideReadOnly | ofFileMustExist | ofEnableSizing);

  CBCursor->OnChange = HANDLER(CBCursorChange);
  BLoad->OnClick = HANDLER(BLoadClick);
  OnShow = HANDLER(FormShow);
}

void TMouseCursorEdit::FormShow(TObject*) {
  TranslateControl(this);
  FillCursorCombo(CBCursor, cursor_);
  ShowPreview();
  BLoad->SetVisible(component_ && !(component_->ComponentState() & csDesigning));
}

void TMouseCursorEdit::ShowPreview() {
  const HCURSOR h = Screen->Cursors(cursor_);
  if (!CursorHasPicture(h)) {
    ImageCursor->Picture()->Assign(nullptr);
    return;
  }
  // The size of a classic system cursor.
  TBitmap bmp;
  bmp.SetWidth(32);
  bmp.SetHeight(32);
  bmp.Canvas()->Brush()->SetColor(clBtnFace);
  bmp.Canvas()->FillRect(Rect(0, 0, 32, 32));
  const TPoint hot = CursorHotSpot(h);
  DrawCursor(bmp.Canvas(), hot.X, hot.Y, h);
  ImageCursor->Picture()->Assign(&bmp);
}

void TMouseCursorEdit::Changed() {
  ShowPreview();
  if (OnChange.Assigned()) OnChange(this);
}

void TMouseCursorEdit::CBCursorChange(TObject*) {
  cursor_ = CursorFromName(cursor_, CBCursor->SelectedText());
  Changed();
}

void TMouseCursorEdit::BLoadClick(TObject*) {
  if (!OpenDialog1->Execute()) return;
  const std::string file = OpenDialog1->FileName();
  if (SameText(ExtractFileExt(file), ".ani")) throw Exception("Animated cursors are not supported: " + file);
  const HCURSOR arrow = Screen->Cursors(crDefault);
  TCursor slot = crDefault;
  for (TCursor n = FirstLoadedCursor; n < FirstLoadedCursor + LoadedCursorSlots; ++n)
    if (Screen->Cursors(n) == arrow) {
      slot = n;
      break;
    }
  if (slot == crDefault) throw Exception("No free cursor number is left for " + file);
  const HCURSOR h = LoadCursorFromFile(file);
  if (!h) throw Exception("Cannot load the cursor file " + file);
  Screen->SetCursors(slot, h);
  cursor_ = slot;
  CBCursor->SetItemIndex(-1);
  Changed();
}

TCursor EditMouseCursor(TComponent* Component, TCursor Cursor) {
  std::unique_ptr<TMouseCursorEdit> f(new TMouseCursorEdit(nullptr));
  f->SetTheCursor(Cursor);
  f->SetTheComponent(Component);
  CenterEditorDialog(f.get());
  f->ShowModal();
  return f->TheCursor();
}
