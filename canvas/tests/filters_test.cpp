// Image filters, their collection and the picture that applies them.
#include <gtest/gtest.h>

#include <set>

#include "canvas_test_util.h"

namespace {

std::unique_ptr<TBitmap> Grey(int W, int H, int Level) { return guitest::MakeBitmap(W, H, RGB(Level, Level, Level)); }

int Level(TBitmap* B, int X, int Y) { return GetRValue(B->Canvas()->Pixels(X, Y)); }

struct Recorder : TFormCreator {
  std::set<std::string> kinds;
  std::vector<std::string> props;
  void AddCheckBox(const std::string& P, const std::string&, TNotifyEvent) override { Note("check", P); }
  void AddScroll(const std::string& P, int, int, const std::string&, TNotifyEvent) override { Note("scroll", P); }
  void AddColor(const std::string& P, const std::string&, TNotifyEvent) override { Note("color", P); }
  void AddCombo(const std::string& P, const std::string&, TNotifyEvent) override { Note("combo", P); }
  void AddInteger(const std::string& P, const std::string&, int, int, TNotifyEvent) override { Note("integer", P); }
  void Note(const char* kind, const std::string& prop) {
    kinds.insert(kind);
    props.push_back(prop);
  }
};

struct UnitUp {
  UnitUp() { LumCanvasUnitInit(); }
  ~UnitUp() { LumCanvasUnitDone(); }
};

}  // namespace

TEST(Filters, AppliedInCollectionOrderAndOnlyWhenEnabled) {
  TFilterItems items;
  auto* bright = static_cast<TBrightnessFilter*>(items.Add(TBrightnessFilter::StaticClass()));
  bright->SetAmount(50);
  items.Add(TInvertFilter::StaticClass());
  auto b = Grey(4, 4, 100);
  TFilterItems::ApplyTo(&items, b.get());
  EXPECT_EQ(Level(b.get(), 1, 1), 255 - (100 + (155 * 50 + 50) / 100)) << "brighter, then inverted";

  bright->SetIndex(1);
  b = Grey(4, 4, 100);
  TFilterItems::ApplyTo(&items, b.get());
  EXPECT_EQ(Level(b.get(), 1, 1), 155 + (100 * 50 + 50) / 100) << "inverted, then brighter";

  items.Item(0)->SetEnabled(false);
  b = Grey(4, 4, 100);
  TFilterItems::ApplyTo(&items, b.get());
  EXPECT_EQ(Level(b.get(), 1, 1), 100 + (155 * 50 + 50) / 100) << "the disabled invert is skipped";
  TFilterItems::ApplyTo(nullptr, b.get());
  TFilterItems::ApplyTo(&items, nullptr);
}

TEST(Filters, WorkOnlyInsideTheirRegionClippedToTheBitmap) {
  TInvertFilter f;
  f.Region()->SetLeft(2);
  f.Region()->SetTop(1);
  f.Region()->SetWidth(3);
  f.Region()->SetHeight(2);
  auto b = Grey(8, 6, 0);
  f.ApplyTo(b.get());
  EXPECT_EQ(guitest::CountColor(b->Canvas(), {0, 0, 8, 6}, clWhite), 6);
  EXPECT_EQ(guitest::CountColor(b->Canvas(), {2, 1, 5, 3}, clWhite), 6);

  f.Region()->SetLeft(-5);  // partly outside: the part inside
  f.Region()->SetWidth(7);
  b = Grey(8, 6, 0);
  f.ApplyTo(b.get());
  EXPECT_EQ(guitest::CountColor(b->Canvas(), {0, 1, 2, 3}, clWhite), 4);
  EXPECT_EQ(guitest::CountColor(b->Canvas(), {0, 0, 8, 6}, clWhite), 4);

  for (auto [l, t, w, h] : {std::array<int, 4>{20, 0, 5, 5}, {0, -10, 5, 5}, {2147483000, 0, 2147483000, 5},
                            {-2147483000, 0, 100, 5}}) {
    f.Region()->SetLeft(l);
    f.Region()->SetTop(t);
    f.Region()->SetWidth(w);
    f.Region()->SetHeight(h);
    b = Grey(8, 6, 0);
    f.ApplyTo(b.get());
    EXPECT_EQ(guitest::CountColor(b->Canvas(), {0, 0, 8, 6}, clWhite), 0) << "wholly outside: " << l;
  }

  TBlurFilter blur;  // a region is blurred on its own: nothing leaks out of it
  blur.SetAmount(3);
  blur.Region()->SetLeft(0);
  blur.Region()->SetWidth(4);
  blur.Region()->SetHeight(6);
  b = Grey(8, 6, 0);
  b->Canvas()->Brush()->SetColor(clWhite);
  b->Canvas()->FillRect({2, 0, 4, 6});
  blur.ApplyTo(b.get());
  EXPECT_LT(Level(b.get(), 3, 3), 255) << "blurred inside";
  EXPECT_GT(Level(b.get(), 1, 3), 0);
  EXPECT_EQ(guitest::CountColor(b->Canvas(), {4, 0, 8, 6}, clBlack), 24) << "untouched outside";
}

TEST(Filters, EachFilterDoesWhatItSays) {
  auto b = guitest::MakeBitmap(3, 2, RGB(200, 100, 0));
  b->Canvas()->SetPixels(0, 0, RGB(10, 20, 30));
  TMirrorFilter mirror;
  mirror.ApplyTo(b.get());
  EXPECT_EQ(b->Canvas()->Pixels(2, 0), RGB(10, 20, 30));
  mirror.SetHorizontal(false);
  mirror.ApplyTo(b.get());
  EXPECT_EQ(b->Canvas()->Pixels(2, 1), RGB(10, 20, 30));

  TGrayScaleFilter grey;
  grey.ApplyTo(b.get());
  EXPECT_EQ(b->Canvas()->Pixels(0, 0), RGB(119, 119, 119)) << "0.299 R + 0.587 G + 0.114 B of (200, 100, 0)";
  b = guitest::MakeBitmap(1, 1, RGB(200, 100, 0));
  grey.SetMethod(gmAverage);
  grey.ApplyTo(b.get());
  EXPECT_EQ(b->Canvas()->Pixels(0, 0), RGB(100, 100, 100));

  TColorFilter tint;
  tint.SetColor(clBlue);
  tint.SetPercent(100);
  tint.ApplyTo(b.get());
  EXPECT_EQ(b->Canvas()->Pixels(0, 0), clBlue);
  tint.SetPercent(500);
  EXPECT_EQ(tint.Percent(), 100);

  TBrightnessFilter dark;
  dark.SetAmount(-100);
  dark.ApplyTo(b.get());
  EXPECT_EQ(b->Canvas()->Pixels(0, 0), clBlack);
  TBitmap empty;
  dark.ApplyTo(&empty);  // nothing to do, nothing breaks
}

TEST(Filters, RegisteredClassesOfferEveryControlKindThroughPublishedProperties) {
  UnitUp unit;
  Recorder r;
  std::set<std::string> descriptions;
  ASSERT_EQ(FilterClasses().size(), 6u);
  for (TClass c : FilterClasses()) {
    std::unique_ptr<TLumFilter> f(static_cast<TLumFilter*>(c->NewInstance(nullptr)));
    const std::size_t before = r.props.size();
    f->GetProperties(&r);
    for (std::size_t i = before; i < r.props.size(); ++i)
      EXPECT_NE(GetPropInfo(c, r.props[i]), nullptr) << c->Name << " offers unknown " << r.props[i];
    descriptions.insert(FilterDescription(c));
    EXPECT_EQ(GetClass(c->Name), c) << "registered by name for streaming";
  }
  EXPECT_EQ(r.kinds, (std::set<std::string>{"check", "scroll", "color", "combo", "integer"}));
  EXPECT_EQ(descriptions.size(), 6u) << "each its own description";
  EXPECT_THROW(RegisterFilter(TBitmap::StaticClass()), EInvalidOperation);
}

TEST(LumPicture, HoldsACopyFiltersItAndTellsItsOwner) {
  int changes = 0;
  TLumPicture pic(TNotifyEvent([&](TObject*) { ++changes; }));
  EXPECT_EQ(pic.FilteredGraphic(), nullptr);
  auto src = Grey(5, 4, 40);
  pic.SetGraphic(src.get());
  EXPECT_EQ(changes, 1);
  EXPECT_NE(pic.Graphic(), src.get()) << "a copy";
  EXPECT_EQ(pic.Width(), 5);
  EXPECT_EQ(pic.FilteredGraphic(), pic.Graphic()) << "no filters: the graphic itself";

  pic.Filters()->Add(TInvertFilter::StaticClass());
  pic.FiltersChanged();
  EXPECT_EQ(changes, 2);
  auto* filtered = static_cast<TBitmap*>(pic.FilteredGraphic());
  ASSERT_NE(filtered, pic.Graphic());
  EXPECT_EQ(Level(filtered, 2, 2), 215);
  EXPECT_EQ(Level(static_cast<TBitmap*>(pic.Graphic()), 2, 2), 40) << "the graphic itself stays";
  pic.Filters()->Item(0)->SetEnabled(false);
  pic.FiltersChanged();
  EXPECT_EQ(pic.FilteredGraphic(), pic.Graphic());

  TLumPicture copy;
  copy.Assign(&pic);
  EXPECT_EQ(copy.Width(), 5);
  ASSERT_EQ(copy.Filters()->Count(), 1);
  EXPECT_NE(copy.Filters()->Item(0), pic.Filters()->Item(0));
  EXPECT_FALSE(copy.Filters()->Item(0)->Enabled());

  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
  EXPECT_EQ(copy.Filters()->Count(), 0);

  EXPECT_THROW(pic.LoadFromFile("/no/such/picture.bmp"), Exception);
  EXPECT_EQ(pic.Width(), 5) << "a failed load leaves the picture";
}
