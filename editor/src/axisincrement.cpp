#include <cmath>
#include <memory>

#include "canvas/comboflat.h"
#include "canvas/lumconst.h"
#include "editor/sourceeditor.h"
#include "engine/axis.h"
#include "engine/datetimesteps.h"
#include "engine/helpers.h"
#include "gallery/editortools.h"
#include "gallery/formbuild.h"
#include "platform/dateutils.h"
#include "platform/dialogs.h"

using namespace formbuild;

IMPLEMENT_CLASS(TAxisIncrement, TForm)

namespace {

// The step table's entries as the dialog names them, in table order.
const char* const StepNames[DateTimeStepCount] = {
    "One Microsecond", "One Millisecond", "One Second",   "Five Seconds", "Ten Seconds",    "Fifteen Seconds",
    "Thirty Seconds",  "One Minute",      "Five Minutes", "Ten Minutes",  "Fifteen Minutes", "Thirty Minutes",
    "One Hour",        "Two Hours",       "Six Hours",    "Twelve Hours", "One Day",        "Two Days",
    "Three Days",      "One Week",        "Half Month",   "One Month",    "Two Months",     "Three Months",
    "Four Months",     "Six Months",      "One Year"};

constexpr int kCustomTop = 62, kNumberTop = 40, kLabelGap = 15;

}  // namespace

TAxisIncrement::TAxisIncrement(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "AxisIncrement", "Axis Increment", 244, 148);
  SetBorderIcons(biSystemMenu);
  SetPosition(poScreenCenter);
  RadioGroup1 = PlaceControl<TRadioGroup>(this, this, "RadioGroup1", 8, 4, 92, 86, "Increment:");
  RadioGroup1->Items()->Add("&Standard:");
  RadioGroup1->Items()->Add("&Custom:");
  CBSteps = DropDownList(this, this, "CBSteps", 106, 24, 130);
  CBSteps->SetDropDownCount(18);
  for (const char* name : StepNames) CBSteps->Items()->Add(name);
  ECustom = PlaceControl<TEdit>(this, this, "ECustom", 106, kCustomTop, 130, 21);
  Label1 = PlaceLabel(this, this, "Label1", 106, kCustomTop - kLabelGap, "&Increment:", ECustom);
  CBExact = PlaceControl<TCheckBox>(this, this, "CBExact", 8, 96, 150, 17, "&Exact Date Time");
  BOk = PlaceControl<TButton>(this, this, "BOk", 80, 118, 75, 25, "OK");
  BOk->SetDefault(true);
  BCancel = PlaceControl<TButton>(this, this, "BCancel", 161, 118, 75, 25, "Cancel");
  BCancel->SetCancel(true);
  BCancel->SetModalResult(mrCancel);
  SetActiveControl(BOk);

  OnShow = HANDLER(FormShow);
  RadioGroup1->OnClick = HANDLER(RadioGroup1Click);
  CBSteps->OnChange = HANDLER(CBStepsChange);
  CBExact->OnClick = HANDLER(CBExactClick);
  BOk->OnClick = HANDLER(BOkClick);
}

std::string TAxisIncrement::CustomText(double Increment) {
  if (Increment <= 0) return TimeToStr(1.0 / SecsPerDay);
  if (Increment < 1) return TimeToStr(Increment);
  const double days = std::floor(Increment), fraction = Increment - days;
  return fraction > 0 ? FloatToStr(days) + " " + TimeToStr(fraction) : FloatToStr(days);
}

void TAxisIncrement::FormShow(TObject*) {
  filling_ = true;
  CBExact->SetVisible(IsDateTime);
  if (!IsDateTime) {
    CBSteps->SetVisible(false);
    RadioGroup1->SetItemIndex(1);
    ECustom->SetHint("");
    ECustom->SetEnabled(true);
    ECustom->SetText(FloatToStr(Increment));
    ECustom->SetTop(kNumberTop);
    Label1->SetTop(kNumberTop - kLabelGap);
    ECustom->SelectAll();
    if (ECustom->CanFocus()) ECustom->SetFocus();
  } else {
    ECustom->SetHint(LumMsg_IncrementHint);
    ECustom->SetShowHint(true);
    ECustom->SetText(CustomText(Increment));
    if (!IsExact || Step < 0 || Step >= DateTimeStepCount) {
      RadioGroup1->SetItemIndex(1);
      CBSteps->SetEnabled(false);
      CBExact->SetChecked(IsExact);
      CBExact->SetEnabled(false);
    } else {
      RadioGroup1->SetItemIndex(0);
      CBSteps->SetItemIndex(Step);
      ECustom->SetEnabled(false);
      CBExact->SetChecked(true);
    }
  }
  filling_ = false;
  TranslateControl(this);
}

void TAxisIncrement::RadioGroup1Click(TObject*) {
  if (filling_) return;
  const bool standard = RadioGroup1->ItemIndex() == 0;
  CBSteps->SetEnabled(standard);
  CBExact->SetEnabled(standard);
  ECustom->SetEnabled(!standard);
  if (standard) {
    CBExact->SetChecked(true);
    IsExact = true;
    if (Step < 0 || Step >= DateTimeStepCount) Step = FindDateTimeStep(Increment);
    if (Step < DateTimeStepCount) CBSteps->SetItemIndex(Step);
  } else {
    CBExact->SetChecked(false);
    IsExact = false;
    ECustom->SetText(CustomText(Increment));
  }
}

void TAxisIncrement::CBStepsChange(TObject*) {
  if (CBSteps->ItemIndex() >= 0) Step = CBSteps->ItemIndex();
}

void TAxisIncrement::CBExactClick(TObject*) {
  if (filling_ || CBExact->Checked()) return;
  IsExact = false;
  RadioGroup1->SetItemIndex(1);
  ECustom->SetText(CustomText(Increment));
}

void TAxisIncrement::BOkClick(TObject*) {
  try {
    const std::string text = Trim(ECustom->Text());
    if (!IsDateTime) {
      Increment = double(StrToFloat(text));
    } else if (RadioGroup1->ItemIndex() == 0 && CBSteps->ItemIndex() >= 0) {
      Increment = DateTimeStep[CBSteps->ItemIndex()];
    } else if (const size_t blank = text.find(' '); blank != std::string::npos) {
      Increment = double(StrToFloat(text.substr(0, blank))) + StrToTime(Trim(text.substr(blank + 1)));
    } else if (long double days; TryStrToFloat(text, days)) {
      Increment = double(days);
    } else {
      Increment = StrToTime(text);
    }
  } catch (const EConvertError& e) {
    ShowMessage(Format(LumMsg_IncorrectValue, e.Message));
    return;
  }
  SetModalResult(mrOk);
}

bool EditAxisIncrement(TComponent* AOwner, TChartAxis* Axis) {
  if (!Axis) return false;
  TModalDialog<TAxisIncrement> d(new TAxisIncrement(AOwner));
  d->SetCaption(Format(LumMsg_DesiredIncrement, AxisTitleOrName(Axis)));
  d->IsDateTime = Axis->IsDateTime();
  d->IsExact = Axis->ExactDateTime();
  d->Increment = Axis->Increment();
  d->Step = FindDateTimeStep(Axis->Increment());
  CenterEditorDialog(d.Get());
  TranslateControl(d.Get());
  if (!d.Run()) return false;
  Axis->SetIncrement(d->Increment);
  Axis->SetExactDateTime(d->IsExact);
  return true;
}

std::string IncrementText(TChartAxis* Axis) {
  if (!Axis) return std::string();
  if (!Axis->IsDateTime()) return FloatToStr(Axis->Increment());
  const int step = FindDateTimeStep(Axis->Increment());
  if (Axis->ExactDateTime() && step < DateTimeStepCount) {
    TAxisIncrement names(nullptr);
    return names.CBSteps->Items()->Strings(step);
  }
  return TAxisIncrement::CustomText(Axis->Increment());
}
