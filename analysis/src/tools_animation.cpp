#include "analysis/tools_animation.h"

#include <algorithm>
#include <vector>

#include "platform/compwatch.h"

IMPLEMENT_CLASS_PROPS(TSeriesAnimationTool, TLumCustomToolSeries)

// What a run needs, kept apart from the tool so that it outlives a tool freed by a
// handler during a wait.
struct TSeriesAnimationTool::TRun {
  TSeriesAnimationTool* Tool;
  std::shared_ptr<const bool> ToolAlive;
  TComponentRef<TChartSeries> Series;
  std::vector<double> Backup;  // the values before the run
  int Steps, DrawEvery, Delay;
  bool StartAtMin;
  double StartValue;

  bool ToolLives() const { return *ToolAlive; }
  // The run goes on: tool and series alive, not stopped.
  bool Going() const { return *ToolAlive && Series.Get() && !Tool->stopped_; }
  // The animated list and how many of its values the run knows.
  TChartValueList* Values() const { return Series->MandatoryValueList(); }
  int Count() const { return std::min(Values()->Count(), int(Backup.size())); }
};

TSeriesAnimationTool::TSeriesAnimationTool(TComponent* AOwner) : TLumCustomToolSeries(AOwner) {}

TSeriesAnimationTool::~TSeriesAnimationTool() = default;

void TSeriesAnimationTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TSeriesAnimationTool*>(Source)) {
    delay_ = t->delay_;
    drawEvery_ = t->drawEvery_;
    loop_ = t->loop_;
    startValue_ = t->startValue_;
    steps_ = t->steps_;
    startAtMin_ = t->startAtMin_;
  }
  TLumCustomToolSeries::Assign(Source);
}

void TSeriesAnimationTool::DefineProperties(TPropertyTable& t) {
  t.Int("Delay", &TSeriesAnimationTool::Delay, &TSeriesAnimationTool::SetDelay).Default(0LL);
  t.Int("DrawEvery", &TSeriesAnimationTool::DrawEvery, &TSeriesAnimationTool::SetDrawEvery).Default(0LL);
  t.Enum("Loop", &TSeriesAnimationTool::Loop, &TSeriesAnimationTool::SetLoop, {"salNo", "salOneWay", "salCircular"})
      .Default(0);
  t.Event("OnStart", &TSeriesAnimationTool::OnStart);
  t.Event("OnStep", &TSeriesAnimationTool::OnStep);
  t.Event("OnStop", &TSeriesAnimationTool::OnStop);
  t.Bool("StartAtMin", &TSeriesAnimationTool::StartAtMin, &TSeriesAnimationTool::SetStartAtMin).Default(true);
  t.Float("StartValue", &TSeriesAnimationTool::StartValue, &TSeriesAnimationTool::SetStartValue).Default(0.0);
  t.Int("Steps", &TSeriesAnimationTool::Steps, &TSeriesAnimationTool::SetSteps).Default(100LL);
}

void TSeriesAnimationTool::SetStopped(bool Value) {
  if (Value) Stop();
}

void TSeriesAnimationTool::Stop() {
  if (stopped_) return;
  stopped_ = true;
  FireEvent(OnStop, this);
}

void TSeriesAnimationTool::Wait(TRun& R) {
  if (TChartSeries* s = R.Series.Get(); s && s->ParentChart()) s->ParentChart()->Invalidate();
  if (!Application) return;
  if (R.Delay <= 0) {
    Application->ProcessMessages();
    return;
  }
  // Messages run while the time passes; short sleeps keep the processor free.
  const std::uint32_t start = GetTickCount();
  for (;;) {
    Application->ProcessMessages();
    const std::uint32_t waited = GetTickCount() - start;
    if (waited >= std::uint32_t(R.Delay) || !R.Going()) return;
    Sleep(std::min<std::uint32_t>(std::uint32_t(R.Delay) - waited, 5));
  }
}

bool TSeriesAnimationTool::Restore(TRun& R, bool AndWait) {
  if (!R.Series.Get()) return false;
  TChartValueList* v = R.Values();
  for (int i = 0, n = R.Count(); i < n; ++i) v->SetValue(i, R.Backup[size_t(i)]);
  if (AndWait) Wait(R);
  return true;
}

void TSeriesAnimationTool::Pass(TRun& R, bool Growing) {
  // After a wait: the run ends when the tool or series went, and restores when stopped.
  auto goesOn = [&R] {
    if (!R.ToolLives() || !R.Series.Get()) return false;
    if (R.Tool->stopped_) {
      Restore(R, true);
      return false;
    }
    return true;
  };
  const int count = R.Count();
  double s0 = R.StartValue;
  if (R.StartAtMin) s0 = count ? *std::min_element(R.Backup.begin(), R.Backup.begin() + count) : 0;
  for (int i = 0; i < count; ++i) R.Values()->SetValue(i, s0);
  Wait(R);
  if (!goesOn()) return;

  int groups = 1, size = count;
  if (R.DrawEvery > 0) {
    size = R.DrawEvery;
    groups = count / size + (count % size == 0 ? 0 : 1);
  }
  const bool shrinking = !Growing && R.Tool->loop_ == salCircular;
  for (int g = 0; g < groups; ++g) {
    for (int k = 0; k <= R.Steps; ++k) {
      // k / Steps rather than k * (1 / Steps): the last step lands on the values exactly.
      double f = double(k) / R.Steps, offset = s0 - s0 * f;
      if (shrinking) {
        offset = 0;
        f = double(R.Steps - k) / R.Steps;
      }
      TChartValueList* v = R.Values();
      const int last = std::min(R.Count() - 1, g * size + size - 1);
      for (int i = g * size; i <= last; ++i) v->SetValue(i, f * R.Backup[size_t(i)] + offset);
      FireEvent(R.Tool->OnStep, R.Tool, k);
      if (!R.ToolLives() || !R.Series.Get()) return;
      Wait(R);
      if (!goesOn()) return;
    }
  }
  Restore(R, true);
}

void TSeriesAnimationTool::Execute() {
  TChartSeries* s = Series();
  if (!s || !stopped_) return;
  TRun r{this, life_.Watch(), TComponentRef<TChartSeries>(s), s->MandatoryValueList()->Values(),
         steps_, drawEvery_, delay_, startAtMin_, startValue_};
  s->BeginUpdate();
  stopped_ = false;
  // However the run ends, the values come back before anyone hears of it.
  auto finish = [&r] {
    const bool hadSeries = Restore(r, false);
    if (r.ToolLives()) r.Tool->Stop();
    if (hadSeries && r.Series.Get()) r.Series->EndUpdate();
  };
  try {
    FireEvent(OnStart, this);
    // Without steps nothing animates: the run only starts and stops.
    if (r.Steps > 0 && r.Going()) {
      if (loop_ == salNo) {
        Pass(r, true);
      } else {
        for (bool growing = true; r.Going(); growing = !growing) Pass(r, growing);
      }
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
}
