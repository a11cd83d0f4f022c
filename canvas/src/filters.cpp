#include "canvas/filters.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_CLASS_PROPS(TFilterRegion, TPersistent)
IMPLEMENT_CLASS_PROPS(TLumFilter, TCollectionItem)
IMPLEMENT_CLASS(TFilterItems, TCollection)
IMPLEMENT_CLASS(TInvertFilter, TLumFilter)
IMPLEMENT_CLASS_PROPS(TGrayScaleFilter, TLumFilter)
IMPLEMENT_CLASS_PROPS(TBrightnessFilter, TLumFilter)
IMPLEMENT_CLASS_PROPS(TColorFilter, TLumFilter)
IMPLEMENT_CLASS_PROPS(TBlurFilter, TLumFilter)
IMPLEMENT_CLASS_PROPS(TMirrorFilter, TLumFilter)
IMPLEMENT_CLASS_PROPS(TLumPicture, TLumAttribute)

namespace {

// Calls F(pixel) for each pf32bit pixel (blue, green, red, unused) of R.
template <class F>
void EachPixel(TBitmap* B, const TRect& R, F&& f) {
  for (int y = R.Top; y < R.Bottom; ++y) {
    auto* row = static_cast<std::uint8_t*>(B->ScanLine(y));
    for (int x = R.Left; x < R.Right; ++x) f(row + 4 * x);
  }
}

std::uint8_t Mix(int From, int To, int Percent) { return std::uint8_t(From + ((To - From) * Percent + (To > From ? 50 : -50)) / 100); }

}  // namespace

// ---------------------------------------------------------------------------
void TFilterRegion::Assign(TPersistent* Source) {
  if (auto* r = dynamic_cast<TFilterRegion*>(Source)) {
    left_ = r->left_;
    top_ = r->top_;
    width_ = r->width_;
    height_ = r->height_;
    return;
  }
  TPersistent::Assign(Source);
}

void TFilterRegion::DefineProperties(TPropertyTable& t) {
  t.Int("Height", &TFilterRegion::Height, &TFilterRegion::SetHeight).Default(0LL);
  t.Int("Left", &TFilterRegion::Left, &TFilterRegion::SetLeft).Default(0LL);
  t.Int("Top", &TFilterRegion::Top, &TFilterRegion::SetTop).Default(0LL);
  t.Int("Width", &TFilterRegion::Width, &TFilterRegion::SetWidth).Default(0LL);
}

// ---------------------------------------------------------------------------
TLumFilter::TLumFilter() : region_(std::make_unique<TFilterRegion>()) {}
TLumFilter::~TLumFilter() = default;

void TLumFilter::SetEnabled(bool Value) { Store(enabled_, Value); }

TRect TLumFilter::Area(int W, int H) const {
  if (!AllowRegion() || region_->Empty()) return {0, 0, W, H};
  // 64-bit sums: a region near the integer limits must not wrap into the bitmap.
  auto clip = [](long long v, int hi) { return int(std::clamp<long long>(v, 0, hi)); };
  return {clip(region_->Left(), W), clip(region_->Top(), H), clip((long long)region_->Left() + region_->Width(), W),
          clip((long long)region_->Top() + region_->Height(), H)};
}

void TLumFilter::ApplyTo(TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Empty()) return;
  const TRect r = Area(Bitmap->Width(), Bitmap->Height());
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  if (Bitmap->PixelFormat() != pf32bit) Bitmap->SetPixelFormat(pf32bit);
  Apply(Bitmap, r);
  Bitmap->Changed(Bitmap);
}

void TLumFilter::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TLumFilter*>(Source)) {
    enabled_ = f->enabled_;
    region_->Assign(f->region_.get());
    return;
  }
  TCollectionItem::Assign(Source);
}

void TLumFilter::DefineProperties(TPropertyTable& t) {
  t.Bool("Enabled", &TLumFilter::Enabled, &TLumFilter::SetEnabled).Default(true);
  t.Object("Region", &TLumFilter::Region);
}

TLumFilter* TFilterItems::Add(TClass FilterClass) {
  if (!FilterClass || !FilterClass->InheritsFrom(TLumFilter::StaticClass()))
    throw EInvalidOperation("Filter class must descend from TLumFilter");
  auto* f = static_cast<TLumFilter*>(FilterClass->NewInstance(nullptr));
  f->SetCollection(this);
  return f;
}

void TFilterItems::ApplyTo(TFilterItems* Filters, TBitmap* Bitmap) {
  if (!Filters || !Bitmap) return;
  for (int i = 0; i < Filters->Count(); ++i)
    if (TLumFilter* f = Filters->Item(i); f->Enabled()) f->ApplyTo(Bitmap);
}

// ---------------------------------------------------------------------------
namespace {
std::vector<TClass>& FilterList() {
  static std::vector<TClass> v;
  return v;
}
const TClass* StandardFilters(std::size_t& Count) {
  static const TClass list[] = {TInvertFilter::StaticClass(),     TGrayScaleFilter::StaticClass(),
                                TBrightnessFilter::StaticClass(), TColorFilter::StaticClass(),
                                TBlurFilter::StaticClass(),       TMirrorFilter::StaticClass()};
  Count = std::size(list);
  return list;
}
}  // namespace

void RegisterFilter(TClass FilterClass) {
  if (!FilterClass || !FilterClass->InheritsFrom(TLumFilter::StaticClass()) || !FilterClass->Create)
    throw EInvalidOperation("Filter class must descend from TLumFilter");
  auto& v = FilterList();
  if (std::find(v.begin(), v.end(), FilterClass) == v.end()) v.push_back(FilterClass);
  RegisterClass(FilterClass);
}

void UnRegisterFilter(TClass FilterClass) {
  auto& v = FilterList();
  v.erase(std::remove(v.begin(), v.end(), FilterClass), v.end());
}

const std::vector<TClass>& FilterClasses() { return FilterList(); }

std::string FilterDescription(TClass FilterClass) {
  if (!FilterClass || !FilterClass->Create || !FilterClass->InheritsFrom(TLumFilter::StaticClass())) return {};
  std::unique_ptr<TObject> f(FilterClass->NewInstance(nullptr));
  return static_cast<TLumFilter*>(f.get())->Description();
}

void RegisterStandardFilters() {
  std::size_t n;
  const TClass* list = StandardFilters(n);
  for (std::size_t i = 0; i < n; ++i) RegisterFilter(list[i]);
  for (TClass c : {TFilterRegion::StaticClass(), TFilterItems::StaticClass(), TLumPicture::StaticClass()})
    RegisterClass(c);
}

void UnRegisterStandardFilters() {
  std::size_t n;
  const TClass* list = StandardFilters(n);
  for (std::size_t i = 0; i < n; ++i) {
    UnRegisterFilter(list[i]);
    UnRegisterClass(list[i]);
  }
  for (TClass c : {TFilterRegion::StaticClass(), TFilterItems::StaticClass(), TLumPicture::StaticClass()})
    UnRegisterClass(c);
}

// ---------------------------------------------------------------------------
void TInvertFilter::Apply(TBitmap* B, const TRect& R) {
  EachPixel(B, R, [](std::uint8_t* p) {
    for (int c = 0; c < 3; ++c) p[c] = std::uint8_t(255 - p[c]);
  });
}

void TGrayScaleFilter::GetProperties(TFormCreator* Creator) { Creator->AddCombo("Method", "Method"); }

void TGrayScaleFilter::Assign(TPersistent* Source) {
  TLumFilter::Assign(Source);
  if (auto* f = dynamic_cast<TGrayScaleFilter*>(Source)) method_ = f->method_;
}

void TGrayScaleFilter::DefineProperties(TPropertyTable& t) {
  t.Enum("Method", &TGrayScaleFilter::Method, &TGrayScaleFilter::SetMethod, {"gmAverage", "gmLuminance"})
      .Default((long long)gmLuminance);
}

void TGrayScaleFilter::Apply(TBitmap* B, const TRect& R) {
  const bool lum = method_ == gmLuminance;
  EachPixel(B, R, [lum](std::uint8_t* p) {
    const int g = lum ? (114 * p[0] + 587 * p[1] + 299 * p[2] + 500) / 1000 : (p[0] + p[1] + p[2] + 1) / 3;
    p[0] = p[1] = p[2] = std::uint8_t(g);
  });
}

void TBrightnessFilter::SetAmount(int Value) { Store(amount_, std::clamp(Value, -100, 100)); }

void TBrightnessFilter::GetProperties(TFormCreator* Creator) { Creator->AddScroll("Amount", -100, 100, "Amount"); }

void TBrightnessFilter::Assign(TPersistent* Source) {
  TLumFilter::Assign(Source);
  if (auto* f = dynamic_cast<TBrightnessFilter*>(Source)) amount_ = f->amount_;
}

void TBrightnessFilter::DefineProperties(TPropertyTable& t) {
  t.Int("Amount", &TBrightnessFilter::Amount, &TBrightnessFilter::SetAmount).Default(20LL);
}

void TBrightnessFilter::Apply(TBitmap* B, const TRect& R) {
  const int a = amount_, to = a >= 0 ? 255 : 0, pc = std::abs(a);
  EachPixel(B, R, [to, pc](std::uint8_t* p) {
    for (int c = 0; c < 3; ++c) p[c] = Mix(p[c], to, pc);
  });
}

void TColorFilter::SetPercent(int Value) { Store(percent_, std::clamp(Value, 0, 100)); }

void TColorFilter::GetProperties(TFormCreator* Creator) {
  Creator->AddColor("Color", "Color");
  Creator->AddInteger("Percent", "Percent", 0, 100);
}

void TColorFilter::Assign(TPersistent* Source) {
  TLumFilter::Assign(Source);
  if (auto* f = dynamic_cast<TColorFilter*>(Source)) {
    color_ = f->color_;
    percent_ = f->percent_;
  }
}

void TColorFilter::DefineProperties(TPropertyTable& t) {
  t.Color("Color", &TColorFilter::Color, &TColorFilter::SetColor).Default((long long)clRed);
  t.Int("Percent", &TColorFilter::Percent, &TColorFilter::SetPercent).Default(50LL);
}

void TColorFilter::Apply(TBitmap* B, const TRect& R) {
  const TColor c = ColorToRGB(color_);
  const int to[3] = {GetBValue(c), GetGValue(c), GetRValue(c)}, pc = percent_;
  EachPixel(B, R, [&to, pc](std::uint8_t* p) {
    for (int k = 0; k < 3; ++k) p[k] = Mix(p[k], to[k], pc);
  });
}

void TBlurFilter::SetAmount(int Value) { Store(amount_, std::clamp(Value, 1, 50)); }

void TBlurFilter::GetProperties(TFormCreator* Creator) { Creator->AddInteger("Amount", "Amount", 1, 50); }

void TBlurFilter::Assign(TPersistent* Source) {
  TLumFilter::Assign(Source);
  if (auto* f = dynamic_cast<TBlurFilter*>(Source)) amount_ = f->amount_;
}

void TBlurFilter::DefineProperties(TPropertyTable& t) {
  t.Int("Amount", &TBlurFilter::Amount, &TBlurFilter::SetAmount).Default(2LL);
}

void TBlurFilter::Apply(TBitmap* B, const TRect& R) {
  // The region is blurred on its own: nothing outside it bleeds in or changes.
  TBitmap part;
  part.SetPixelFormat(pf32bit);
  part.SetSize(R.Right - R.Left, R.Bottom - R.Top);
  const std::size_t bytes = std::size_t(R.Right - R.Left) * 4;
  for (int y = R.Top; y < R.Bottom; ++y)
    std::memcpy(part.ScanLine(y - R.Top), static_cast<std::uint8_t*>(B->ScanLine(y)) + 4 * R.Left, bytes);
  BlurBitmap(&part, amount_, 3);
  for (int y = R.Top; y < R.Bottom; ++y)
    std::memcpy(static_cast<std::uint8_t*>(B->ScanLine(y)) + 4 * R.Left, part.ScanLine(y - R.Top), bytes);
}

void TMirrorFilter::GetProperties(TFormCreator* Creator) { Creator->AddCheckBox("Horizontal", "Horizontal"); }

void TMirrorFilter::Assign(TPersistent* Source) {
  TLumFilter::Assign(Source);
  if (auto* f = dynamic_cast<TMirrorFilter*>(Source)) horizontal_ = f->horizontal_;
}

void TMirrorFilter::DefineProperties(TPropertyTable& t) {
  t.Bool("Horizontal", &TMirrorFilter::Horizontal, &TMirrorFilter::SetHorizontal).Default(true);
}

void TMirrorFilter::Apply(TBitmap* B, const TRect& R) {
  if (horizontal_) {
    for (int y = R.Top; y < R.Bottom; ++y) {
      auto* row = static_cast<std::uint32_t*>(B->ScanLine(y));
      std::reverse(row + R.Left, row + R.Right);
    }
  } else {
    const std::size_t bytes = std::size_t(R.Right - R.Left) * 4;
    std::vector<std::uint8_t> tmp(bytes);
    for (int a = R.Top, b = R.Bottom - 1; a < b; ++a, --b) {
      auto* ra = static_cast<std::uint8_t*>(B->ScanLine(a)) + 4 * R.Left;
      auto* rb = static_cast<std::uint8_t*>(B->ScanLine(b)) + 4 * R.Left;
      std::memcpy(tmp.data(), ra, bytes);
      std::memcpy(ra, rb, bytes);
      std::memcpy(rb, tmp.data(), bytes);
    }
  }
}

// ---------------------------------------------------------------------------
TLumPicture::TLumPicture(TNotifyEvent OnChangeEvent)
    : TLumAttribute(std::move(OnChangeEvent)), picture_(std::make_unique<TPicture>()) {
  // Changes of the graphic itself (drawing on it) notify too.
  picture_->OnChange = TNotifyEvent([this](TObject*) {
    if (!quiet_) GraphicChanged();
  });
}

TLumPicture::~TLumPicture() = default;

void TLumPicture::GraphicChanged() {
  filtered_.reset();
  Changed();
}

void TLumPicture::Quietly(const std::function<void()>& F) {
  quiet_ = true;
  try {
    F();
  } catch (...) {
    quiet_ = false;
    throw;
  }
  quiet_ = false;
}

void TLumPicture::SetGraphic(TGraphic* Value) {
  Quietly([&] { picture_->SetGraphic(Value); });
  GraphicChanged();
}

void TLumPicture::LoadFromFile(const std::string& FileName) {
  Quietly([&] { picture_->LoadFromFile(FileName); });
  GraphicChanged();
}

TFilterItems* TLumPicture::Filters() const {
  if (!filters_) filters_ = std::make_unique<TFilterItems>();
  return filters_.get();
}

void TLumPicture::FiltersChanged() {
  filtered_.reset();
  Changed();
}

TGraphic* TLumPicture::FilteredGraphic() {
  if (Empty()) return nullptr;
  bool any = false;
  if (filters_)
    for (int i = 0; i < filters_->Count() && !any; ++i) any = filters_->Item(i)->Enabled();
  if (!any) return Graphic();
  if (!filtered_) {
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf32bit);
    b->SetSize(Width(), Height());
    b->Canvas()->Draw(0, 0, Graphic());
    TFilterItems::ApplyTo(filters_.get(), b.get());
    filtered_ = std::move(b);
  }
  return filtered_.get();
}

void TLumPicture::Assign(TPersistent* Source) {
  if (!Source) {
    Quietly([&] { picture_->SetGraphic(nullptr); });
    if (filters_) filters_->Clear();
    GraphicChanged();
    return;
  }
  if (auto* p = dynamic_cast<TLumPicture*>(Source)) {
    if (p == this) return;
    Quietly([&] { picture_->SetGraphic(p->Graphic()); });
    if (p->filters_) Filters()->Assign(p->filters_.get());
    else if (filters_) filters_->Clear();
    GraphicChanged();
    return;
  }
  if (auto* p = dynamic_cast<TPicture*>(Source)) {
    SetGraphic(p->Graphic());
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(g);
    return;
  }
  TLumAttribute::Assign(Source);
}

void TLumPicture::DefineProperties(TPropertyTable& t) {
  t.Object("Filters", &TLumPicture::Filters).Stored([](const TObject* o) {
    return static_cast<const TLumPicture*>(o)->HasFilters();
  });
}
