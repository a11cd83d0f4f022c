// The numeric format chooser and the mouse cursor chooser.
#pragma once
#include <string>

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/lists.h"
#include "platform/stdctrls.h"

class TComboFlat;

// The locale texts the format chooser composes with and recognises. One object for
// the whole program: the platform's separators and date settings, "$" as currency;
// tests install their own with SetFormatLocale.
struct TFormatLocale {
  std::string CurrencyString = "$";
  std::string ThousandSeparator = ",";
  std::string DecimalSeparator = ".";
  std::string ShortDateFormat = "dd/mm/yyyy";
  std::string ShortTimeFormat = "hh:nn";
};
const TFormatLocale& FormatLocale();
// nullptr goes back to the platform's settings. The object must outlive its use.
void SetFormatLocale(const TFormatLocale* Locale);

// What the number part of the chooser describes.
struct TNumberFormat {
  bool Currency = false;
  bool Thousands = false;
  bool Percent = false;
  int Fixed = 0;     // fixed integer digits
  int Decimals = 0;
  bool FixedDecimals = false;  // decimals as "0" rather than "#"
};
// The format text of N; an empty currency or separator string adds nothing.
std::string ComposeNumberFormat(const TNumberFormat& N, const TFormatLocale& L);
// Takes a number format text apart into N; false when it holds anything but what
// ComposeNumberFormat writes (a custom format). Empty locale strings are never found.
bool DecomposeNumberFormat(const std::string& Format, const TFormatLocale& L, TNumberFormat& N);

class TFormatEditor : public TForm {
  DECLARE_CLASS(TFormatEditor, TForm)
public:
  explicit TFormatEditor(TComponent* AOwner);

  TPanel* Panel1;
  TRadioButton* RBInteger;
  TGroupBox* GroupBox1;
  TCheckBox* CBCurrency;
  TCheckBox* CBThousands;
  TCheckBox* CBPercent;
  TLabel* LFixed;
  TEdit* Edit2;
  TUpDown* UpDown2;
  TLabel* LDecimals;
  TEdit* Edit1;
  TUpDown* UpDown1;
  TCheckBox* CBFixedDecimals;
  TRadioButton* RBDate;
  TComboFlat* CBDate;
  TRadioButton* RBGeo;
  TComboFlat* CBGeo;
  TRadioButton* RBCustom;
  TComboFlat* CBCustom;
  TPanel* Panel2;
  TButton* BOK;
  TButton* BCancel;

  // The format being edited; taken apart into the controls on show.
  const std::string& TheFormat() const { return format_; }
  void SetTheFormat(const std::string& Value) { format_ = Value; }
  // The format the controls describe.
  std::string ComposeFormat() const;

  void FormShow(TObject* Sender);
  void RBClick(TObject* Sender);
  void RBIntegerClick(TObject* Sender);
  void CBPercentClick(TObject* Sender);
  void ComboChange(TObject* Sender);

private:
  TNumberFormat NumberParts() const;
  void ChooseCombo(TRadioButton* Button, TComboFlat* Combo, const std::string& Format);
  std::string format_;
  bool busy_ = false;
  bool dateChosen_ = false;
  bool geoChosen_ = false;
};

// Opens the chooser on Format; true on OK with Result the composed format, else
// Result is Format. RBDate and CBDate show only with AllowDate.
bool EditValueFormat(TComponent* AOwner, const std::string& Format, std::string& Result, bool AllowDate = true);

// The cursor named "cr" + Name (the platform's names and "crLumHand"), else Default.
TCursor CursorFromName(TCursor Default, const std::string& Name);
// Every cursor name without its "cr", the given cursor's selected (none when it has
// no name).
void FillCursorCombo(TCustomComboBox* Combo, TCursor Cursor);
// Cursor numbers a loaded cursor file may take: the first free one from here up.
constexpr TCursor FirstLoadedCursor = 2021;
constexpr int LoadedCursorSlots = 1000;

class TMouseCursorEdit : public TForm {
  DECLARE_CLASS(TMouseCursorEdit, TForm)
public:
  explicit TMouseCursorEdit(TComponent* AOwner);

  TLabel* Label1;
  TComboFlat* CBCursor;
  TGroupBox* GroupBox1;
  TImage* ImageCursor;
  TButton* BLoad;
  TButton* BOK;
  TOpenDialog* OpenDialog1;

  TCursor TheCursor() const { return cursor_; }
  void SetTheCursor(TCursor Value) { cursor_ = Value; }
  TComponent* TheComponent() const { return component_; }
  void SetTheComponent(TComponent* Value) { component_ = Value; }
  TNotifyEvent OnChange;

  void FormShow(TObject* Sender);
  void CBCursorChange(TObject* Sender);
  void BLoadClick(TObject* Sender);

private:
  void ShowPreview();
  void Changed();
  TCursor cursor_ = crDefault;
  TComponent* component_ = nullptr;
};

// Chooses a cursor for Component (may be nil); answers the cursor chosen, Cursor
// when none was.
TCursor EditMouseCursor(TComponent* Component, TCursor Cursor);
