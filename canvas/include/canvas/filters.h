// Pictures with image filters: TLumPicture holds a graphic and an ordered collection of
// filters (TFilterItems of TLumFilter) and answers the graphic with the filters applied.
//
// The filters of this library (registered by the canvas unit, in this order):
//   TInvertFilter      every colour turned to its complement            (no options)
//   TGrayScaleFilter   grey by Method: gmAverage (mean of the channels) or
//                      gmLuminance (0.299 R + 0.587 G + 0.114 B)         (combo)
//   TBrightnessFilter  Amount -100..100 percent of the way to white
//                      (positive) or black (negative)                    (scroll bar)
//   TColorFilter       tint: Percent 0..100 of the way to Color          (colour button,
//                                                                        integer edit)
//   TBlurFilter        box blur, Amount 1..50 pixels, three passes       (integer edit)
//   TMirrorFilter      mirrored left to right, or top to bottom when
//                      Horizontal is off                                 (check box)
// Each works on its Region when that has a size (clipped to the bitmap), on the whole
// bitmap otherwise.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas/attributes.h"
#include "platform/collections.h"
#include "platform/graphics.h"

// What a filter uses to offer its options: one control per published property, placed
// one under the other by the editor. OnChange, when set, runs after the editor wrote
// the property.
class TFormCreator {
public:
  virtual ~TFormCreator() = default;
  virtual void AddCheckBox(const std::string& PropName, const std::string& Caption, TNotifyEvent OnChange = {}) = 0;
  virtual void AddScroll(const std::string& PropName, int Min, int Max, const std::string& Caption,
                         TNotifyEvent OnChange = {}) = 0;
  virtual void AddColor(const std::string& PropName, const std::string& Caption, TNotifyEvent OnChange = {}) = 0;
  // One item per value of the property's enumeration.
  virtual void AddCombo(const std::string& PropName, const std::string& Caption, TNotifyEvent OnChange = {}) = 0;
  virtual void AddInteger(const std::string& PropName, const std::string& Caption, int Min, int Max,
                          TNotifyEvent OnChange = {}) = 0;
};

// Left, top, width and height of the part of a bitmap a filter works on.
class TFilterRegion : public TPersistent {
  DECLARE_CLASS(TFilterRegion, TPersistent)
public:
  int Left() const { return left_; }
  void SetLeft(int Value) { left_ = Value; }
  int Top() const { return top_; }
  void SetTop(int Value) { top_ = Value; }
  int Width() const { return width_; }
  void SetWidth(int Value) { width_ = Value; }
  int Height() const { return height_; }
  void SetHeight(int Value) { height_ = Value; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

class TLumFilter : public TCollectionItem {
  DECLARE_CLASS(TLumFilter, TCollectionItem)
public:
  TLumFilter();
  ~TLumFilter() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value);
  TFilterRegion* Region() const { return region_.get(); }
  // Whether the filter can be limited to its Region (the editor's region tab).
  virtual bool AllowRegion() const { return true; }
  // The class's text in lists.
  virtual std::string Description() const = 0;
  // Adds one control per option through Creator.
  virtual void GetProperties(TFormCreator* Creator) { (void)Creator; }
  // Applies the filter to Bitmap (made pf32bit) inside its region, whether enabled or
  // not; TFilterItems::ApplyTo decides that.
  void ApplyTo(TBitmap* Bitmap);
  // The area of a W x H bitmap the filter works on: its region clipped, or all of it.
  TRect Area(int W, int H) const;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // Works on R (inside the bitmap, not empty) of a pf32bit bitmap.
  virtual void Apply(TBitmap* Bitmap, const TRect& R) = 0;
  // Stores a changed option and tells the collection.
  template <class T>
  void Store(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Changed(false);
  }

private:
  bool enabled_ = true;
  std::unique_ptr<TFilterRegion> region_;
};

class TFilterItems : public TCollection {
  DECLARE_CLASS(TFilterItems, TCollection)
public:
  TFilterItems() : TCollection(TLumFilter::StaticClass()) {}
  TLumFilter* Item(int Index) const { return static_cast<TLumFilter*>(Items(Index)); }
  // A new filter of FilterClass at the end.
  TLumFilter* Add(TClass FilterClass);
  // Applies every enabled filter of Filters (nullptr: none) to Bitmap, in order.
  static void ApplyTo(TFilterItems* Filters, TBitmap* Bitmap);
};

// The filter class list: registered TLumFilter classes in registration order.
void RegisterFilter(TClass FilterClass);
void UnRegisterFilter(TClass FilterClass);
const std::vector<TClass>& FilterClasses();
// The class's Description (through a temporary instance).
std::string FilterDescription(TClass FilterClass);
// Registers (and unregisters) the filters listed above; the canvas unit calls them.
void RegisterStandardFilters();
void UnRegisterStandardFilters();

// ---------------------------------------------------------------------------
class TInvertFilter : public TLumFilter {
  DECLARE_CLASS(TInvertFilter, TLumFilter)
public:
  std::string Description() const override { return "Invert"; }

protected:
  void Apply(TBitmap* Bitmap, const TRect& R) override;
};

enum TGrayMethod { gmAverage, gmLuminance };

class TGrayScaleFilter : public TLumFilter {
  DECLARE_CLASS(TGrayScaleFilter, TLumFilter)
public:
  std::string Description() const override { return "Gray scale"; }
  TGrayMethod Method() const { return method_; }
  void SetMethod(TGrayMethod Value) { Store(method_, Value); }
  void GetProperties(TFormCreator* Creator) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  void Apply(TBitmap* Bitmap, const TRect& R) override;

private:
  TGrayMethod method_ = gmLuminance;
};

class TBrightnessFilter : public TLumFilter {
  DECLARE_CLASS(TBrightnessFilter, TLumFilter)
public:
  std::string Description() const override { return "Brightness"; }
  int Amount() const { return amount_; }
  void SetAmount(int Value);  // clamped to -100..100
  void GetProperties(TFormCreator* Creator) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  void Apply(TBitmap* Bitmap, const TRect& R) override;

private:
  int amount_ = 20;
};

class TColorFilter : public TLumFilter {
  DECLARE_CLASS(TColorFilter, TLumFilter)
public:
  std::string Description() const override { return "Color"; }
  TColor Color() const { return color_; }
  void SetColor(TColor Value) { Store(color_, Value); }
  int Percent() const { return percent_; }
  void SetPercent(int Value);  // clamped to 0..100
  void GetProperties(TFormCreator* Creator) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  void Apply(TBitmap* Bitmap, const TRect& R) override;

private:
  TColor color_ = clRed;
  int percent_ = 50;
};

class TBlurFilter : public TLumFilter {
  DECLARE_CLASS(TBlurFilter, TLumFilter)
public:
  std::string Description() const override { return "Blur"; }
  int Amount() const { return amount_; }
  void SetAmount(int Value);  // clamped to 1..50
  void GetProperties(TFormCreator* Creator) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  void Apply(TBitmap* Bitmap, const TRect& R) override;

private:
  int amount_ = 2;
};

class TMirrorFilter : public TLumFilter {
  DECLARE_CLASS(TMirrorFilter, TLumFilter)
public:
  std::string Description() const override { return "Mirror"; }
  bool Horizontal() const { return horizontal_; }
  void SetHorizontal(bool Value) { Store(horizontal_, Value); }
  void GetProperties(TFormCreator* Creator) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  void Apply(TBitmap* Bitmap, const TRect& R) override;

private:
  bool horizontal_ = true;
};

// ---------------------------------------------------------------------------
// An owned picture with change notification: a copy of the graphic given, the
// filters applied to it on request, and OnChange after every change of the graphic
// and after FiltersChanged.
class TLumPicture : public TLumAttribute {
  DECLARE_CLASS(TLumPicture, TLumAttribute)
public:
  explicit TLumPicture(TNotifyEvent OnChangeEvent = {});
  ~TLumPicture() override;

  TGraphic* Graphic() const { return picture_->Graphic(); }
  void SetGraphic(TGraphic* Value);  // a copy; nullptr clears
  int Width() const { return picture_->Width(); }
  int Height() const { return picture_->Height(); }
  bool Empty() const { return !Graphic() || Graphic()->Empty(); }
  // By extension (TPicture::LoadFromFile); a failing load leaves the picture as it was.
  void LoadFromFile(const std::string& FileName);
  // Created on first read.
  TFilterItems* Filters() const;
  bool HasFilters() const { return filters_ && filters_->Count() > 0; }
  // The graphic with the enabled filters applied (a bitmap, kept until the graphic or
  // the filters change); the graphic itself when no filter is enabled; nullptr when
  // empty.
  TGraphic* FilteredGraphic();
  // The filters were edited: drop the filtered copy and notify.
  void FiltersChanged();

  // From a TLumPicture (graphic and filters), a TPicture or a TGraphic; nullptr clears.
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  void GraphicChanged();
  // Runs F with the picture's own notices held back (one notice per change).
  void Quietly(const std::function<void()>& F);
  std::unique_ptr<TPicture> picture_;
  bool quiet_ = false;
  mutable std::unique_ptr<TFilterItems> filters_;
  std::unique_ptr<TBitmap> filtered_;
};
