// Event listeners of a chart: objects (list boxes, grids, navigators, editor forms)
// that follow its series and its 3D view. A listener joins with the chart's
// Listeners().Add and leaves with RemoveListener; a listener that is a component
// leaves by itself when freed (free notification), any other must remove itself
// before it dies.
//
// Series event codes (TLumSeriesEvent::Event):
//   0 seAdd               a series joined the chart
//   1 seRemove            a series left the chart (removed or freed)
//   2 seChangeTitle       a series' title changed
//   3 seRepaint           a change that needs the series redrawn (active, colour,
//                         colour each point, shown in the legend)
//   4 seDataChanged       a series' points changed (added, deleted, cleared,
//                         refreshed) or the series order did (ExchangeSeries)
//   5 seChangeCheckBoxes  the legend's check-box style changed
//   6 sePageChanged       the chart's current page changed
// Codes 5 and 6 come from the chart control (the legend, the pages) through
// BroadcastListenerEvent. A custom axis being freed (not with its chart) sends a
// TLumAxisEvent, after it has left the chart's lists.
#pragma once
#include <cstddef>
#include <vector>

class TChartAxis;
class TChartSeries;
class TComponent;
class TCustomLumPanel;

enum TLumSeriesEventStyle {
  seAdd, seRemove, seChangeTitle, seRepaint, seDataChanged, seChangeCheckBoxes, sePageChanged
};

class TLumEvent {
public:
  explicit TLumEvent(TCustomLumPanel* ASender) : Sender(ASender) {}
  virtual ~TLumEvent() = default;
  TCustomLumPanel* Sender;
};

class TLumSeriesEvent : public TLumEvent {
public:
  TLumSeriesEvent(TCustomLumPanel* ASender, TLumSeriesEventStyle AEvent, TChartSeries* ASeries)
      : TLumEvent(ASender), Event(AEvent), Series(ASeries) {}
  TLumSeriesEventStyle Event;
  TChartSeries* Series;  // nullptr for a chart-wide event (codes 5 and 6)
};

// The 3D view changed: View3D or any of the view options.
class TLumView3DEvent : public TLumEvent {
public:
  using TLumEvent::TLumEvent;
};

// A custom axis of the chart is being freed: only its address is left to compare.
class TLumAxisEvent : public TLumEvent {
public:
  TLumAxisEvent(TCustomLumPanel* ASender, TChartAxis* AAxis) : TLumEvent(ASender), Axis(AAxis) {}
  TChartAxis* Axis;
};

class ILumEventListener {
public:
  virtual void LumEvent(const TLumEvent& Event) = 0;

protected:
  ~ILumEventListener() = default;
};

class TLumEventListeners {
public:
  // Owner: the chart, told of freed listener components.
  explicit TLumEventListeners(TComponent* AOwner) : owner_(AOwner) {}
  TLumEventListeners(const TLumEventListeners&) = delete;
  TLumEventListeners& operator=(const TLumEventListeners&) = delete;

  // Adds Listener unless present; answers its index.
  int Add(ILumEventListener* Listener);
  void Remove(ILumEventListener* Listener);
  int IndexOf(const ILumEventListener* Listener) const;
  int Count() const;
  ILumEventListener* Items(int Index) const;

  // Sends Event to each listener in list order. A listener removed (or freed)
  // while the event is on its way is not called; one added meanwhile waits for
  // the next event.
  void Broadcast(const TLumEvent& Event);
  // Takes out the listener that is this component (the owner's free notification:
  // by then the component is no longer a listener to ask).
  void RemoveComponent(const TComponent* AComponent);

private:
  struct TEntry {
    ILumEventListener* Listener;  // nullptr: removed during a broadcast
    TComponent* Component;        // the listener as a component, if it is one
  };
  void RemoveAt(std::size_t Index);
  TComponent* owner_;
  std::vector<TEntry> items_;
  int sending_ = 0;
};
