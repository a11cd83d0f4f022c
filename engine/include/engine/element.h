// Base of series and tools: an active flag, a pen, a brush and the chart the
// element belongs to. Setters store only on change and then repaint the chart.
#pragma once
#include <memory>
#include <string>

#include "canvas/attributes.h"
#include "platform/classes.h"
#include "platform/typinfo.h"

class TCustomAxisPanel;

class TCustomChartElement : public TComponent {
  DECLARE_CLASS(TCustomChartElement, TComponent)
public:
  explicit TCustomChartElement(TComponent* AOwner);
  ~TCustomChartElement() override;

  bool Active() const { return active_; }
  virtual void SetActive(bool Value);
  TChartPen* Pen() const { return pen_.get(); }
  void SetPen(TChartPen* Value) { pen_->Assign(Value); }
  TChartBrush* Brush() const { return brush_.get(); }
  void SetBrush(TChartBrush* Value) { brush_->Assign(Value); }

  TCustomAxisPanel* ParentChart() const { return parentChart_; }
  // Joins the chart (nullptr: none); series override it to enter the chart's list.
  virtual void SetParentChart(TCustomAxisPanel* Value);

  // Asks the parent chart, when there is one, to invalidate itself.
  virtual void Repaint();
  // A change handler for owned attributes: repaints.
  void CanvasChanged(TObject* Sender);
  // A new pen whose changes repaint this element; the caller owns it.
  TChartPen* CreateChartPen();
  // The handler that CreateChartPen and the other owned attributes report to.
  TNotifyEvent ChangeHandler();

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // Store Value into Field; repaint and answer true only when it changed.
  template <class T>
  bool SetProperty(T& Field, const T& Value) {
    if (Field == Value) return false;
    Field = Value;
    Repaint();
    return true;
  }
  bool SetBooleanProperty(bool& Field, bool Value);
  bool SetIntegerProperty(int& Field, int Value);
  bool SetColorProperty(TColor& Field, TColor Value);
  bool SetDoubleProperty(double& Field, double Value);
  bool SetStringProperty(std::string& Field, const std::string& Value);
  // Sets the field without joining any list (used by the chart when it lets go).
  void ClearParentChart() { parentChart_ = nullptr; }

private:
  bool active_ = true;
  std::unique_ptr<TChartPen> pen_;
  std::unique_ptr<TChartBrush> brush_;
  TCustomAxisPanel* parentChart_ = nullptr;
};
