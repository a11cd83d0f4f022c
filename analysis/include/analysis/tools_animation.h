// The series animation tool: the points of its series grow from a start value to
// their real values in steps, once or in a loop, a group of points at a time. It
// runs on the main thread and lets the message loop run between steps, so handlers
// may stop it or free the tool, its series or its chart meanwhile; the run then
// ends without touching what was freed. The values come back exactly at the end.
#pragma once
#include "analysis/tools.h"

enum TSeriesAnimationLoop : unsigned char { salNo, salOneWay, salCircular };

class TSeriesAnimationTool;
using TSeriesAnimationStep = TEvent<void(TSeriesAnimationTool* Sender, int Step)>;

class TSeriesAnimationTool : public TLumCustomToolSeries {
  DECLARE_CLASS(TSeriesAnimationTool, TLumCustomToolSeries)
public:
  explicit TSeriesAnimationTool(TComponent* AOwner);
  // A run under way sees the tool gone at its next step and ends there.
  ~TSeriesAnimationTool() override;
  LUM_TOOL_CLASS_TEXTS(TSeriesAnimationTool)

  // Milliseconds to wait after each step while messages run (0: one pass of the loop).
  int Delay() const { return delay_; }
  void SetDelay(int Value) { delay_ = Value; }
  // Points animated together, group after group; 0 all at once.
  int DrawEvery() const { return drawEvery_; }
  void SetDrawEvery(int Value) { drawEvery_ = Value; }
  TSeriesAnimationLoop Loop() const { return loop_; }
  void SetLoop(TSeriesAnimationLoop Value) { loop_ = Value; }
  double StartValue() const { return startValue_; }
  void SetStartValue(double Value) { startValue_ = Value; }
  // Steps from the start to the real values; 0 or below animates nothing.
  int Steps() const { return steps_; }
  void SetSteps(int Value) { steps_ = Value; }
  // Start from the series' smallest value instead of StartValue.
  bool StartAtMin() const { return startAtMin_; }
  void SetStartAtMin(bool Value) { startAtMin_ = Value; }
  // No run under way. Setting it true during a run stops the run as Stop does;
  // false is ignored (only Execute starts a run).
  bool Stopped() const { return stopped_; }
  void SetStopped(bool Value);

  TNotifyEvent OnStart;
  TSeriesAnimationStep OnStep;
  TNotifyEvent OnStop;

  // Runs the animation; nothing without a series or while a run is under way.
  void Execute();
  // Ends a run under way (OnStop); nothing otherwise.
  void Stop();

  // Copies the settings (not a run's state).
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  struct TRun;
  // Work on the run's own record only: the tool may be gone after any wait.
  static void Pass(TRun& R, bool Growing);
  static void Wait(TRun& R);
  static bool Restore(TRun& R, bool AndWait);

  TToolLifeline life_;
  int delay_ = 0;
  int drawEvery_ = 0;
  TSeriesAnimationLoop loop_ = salNo;
  double startValue_ = 0;
  int steps_ = 100;
  bool startAtMin_ = true;
  bool stopped_ = true;
};
