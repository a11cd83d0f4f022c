// Named resources, application fonts and collections.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "gui_test.h"
#include "platform/collections.h"
#include "platform/forms.h"
#include "platform/graphics.h"
#include "platform/resources.h"

void RegisterPlatformTestResources();

TEST(Resources, EmbeddedFilesAreFoundByNameInAnyCase) {
  RegisterPlatformTestResources();
  RegisterPlatformTestResources();  // twice: the same names, nothing doubles
  TResourceStream s("greeting.TXT");
  std::string text(std::size_t(s.Size()), '\0');
  s.ReadBuffer(text.data(), s.Size());
  EXPECT_EQ(text, "Hello from a resource\n");
  char c;
  EXPECT_EQ(s.Read(&c, 1), 0) << "nothing past the end";
  s.SetPosition(6);
  EXPECT_EQ(s.Read(&c, 1), 1);
  EXPECT_EQ(c, 'f');
  EXPECT_THROW(s.Write("x", 1), EWriteError);
  try {
    TResourceStream missing("NOSUCHTHING");
    ADD_FAILURE();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message, "Resource NOSUCHTHING not found");
  }
}

TEST(Resources, BitmapLoadsFromItsResourceName) {
  RegisterPlatformTestResources();
  TBitmap b;
  b.LoadFromResourceName("TestBitmap");
  ASSERT_EQ(b.Width(), 3);
  ASSERT_EQ(b.Height(), 2);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(1, 0), clBlue);
  EXPECT_EQ(b.Canvas()->Pixels(2, 1), clLime);
  EXPECT_THROW(b.LoadFromResourceName("nothing"), EResNotFound);
  EXPECT_EQ(b.Width(), 3) << "a failed load leaves the bitmap";
}

TEST(ApplicationFonts, AddedFromMemoryListedAndRemoved) {
  std::ifstream f("/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf", std::ios::binary);
  if (!f) GTEST_SKIP() << "fonts-dejavu-core is not installed";
  const std::vector<char> data((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  std::vector<std::string> families;
  const int h = AddFontMemResource(data.data(), data.size(), &families);
  ASSERT_NE(h, 0);
  ASSERT_EQ(families.size(), 1u);
  EXPECT_EQ(families[0], "DejaVu Sans Mono");
  EXPECT_GE(Screen->Fonts()->IndexOf("DejaVu Sans Mono"), 0);
  EXPECT_TRUE(RemoveFontMemResource(h));
  EXPECT_FALSE(RemoveFontMemResource(h)) << "only once";
  EXPECT_FALSE(RemoveFontMemResource(0));
  const char junk[] = "not a font at all";
  EXPECT_EQ(AddFontMemResource(junk, sizeof junk), 0);
  EXPECT_EQ(AddFontMemResource(nullptr, 10), 0);
  TStrings* fonts = Screen->Fonts();
  ASSERT_GT(fonts->Count(), 1);
  for (int i = 1; i < fonts->Count(); ++i)
    EXPECT_LE(strcasecmp(fonts->Strings(i - 1).c_str(), fonts->Strings(i).c_str()), 0) << "sorted";
}

// ---------------------------------------------------------------------------
namespace {
class TNumberItem : public TCollectionItem {
  DECLARE_CLASS(TNumberItem, TCollectionItem)
public:
  int Value = 0;
  void Assign(TPersistent* Source) override {
    if (auto* s = dynamic_cast<TNumberItem*>(Source)) Value = s->Value;
    else TCollectionItem::Assign(Source);
  }
};
IMPLEMENT_CLASS(TNumberItem, TCollectionItem)

class TWordItem : public TNumberItem {
  DECLARE_CLASS(TWordItem, TNumberItem)
public:
  std::string Word;
  void Assign(TPersistent* Source) override {
    TNumberItem::Assign(Source);
    if (auto* s = dynamic_cast<TWordItem*>(Source)) Word = s->Word;
  }
};
IMPLEMENT_CLASS(TWordItem, TNumberItem)
}  // namespace

TEST(Collection, OwnsOrdersAndCopiesItems) {
  TCollection c(TNumberItem::StaticClass());
  int updates = 0;
  c.OnUpdate = [&](TCollection*, TCollectionItem*) { ++updates; };
  auto* a = static_cast<TNumberItem*>(c.Add());
  auto* b = static_cast<TNumberItem*>(c.Add());
  auto* w = new TWordItem;
  w->Word = "three";
  w->Value = 3;
  w->SetCollection(&c);
  a->Value = 1;
  b->Value = 2;
  EXPECT_EQ(c.Count(), 3);
  EXPECT_EQ(w->Index(), 2);
  EXPECT_EQ(updates, 3);
  w->SetIndex(0);
  EXPECT_EQ(c.Items(0), w);
  EXPECT_EQ(a->Index(), 1);
  w->SetIndex(99);
  EXPECT_EQ(w->Index(), 2) << "clamped to the end";
  EXPECT_THROW(c.Items(3), EListError);

  TCollection copy(TNumberItem::StaticClass());
  copy.Add();
  copy.Assign(&c);
  ASSERT_EQ(copy.Count(), 3);
  EXPECT_EQ(static_cast<TNumberItem*>(copy.Items(0))->Value, 1);
  ASSERT_NE(dynamic_cast<TWordItem*>(copy.Items(2)), nullptr) << "items keep their class";
  EXPECT_EQ(static_cast<TWordItem*>(copy.Items(2))->Word, "three");

  delete b;  // an item freed on its own leaves the collection
  EXPECT_EQ(c.Count(), 2);
  updates = 0;
  c.BeginUpdate();
  c.Delete(0);
  c.Add();
  c.EndUpdate();
  EXPECT_EQ(updates, 1) << "one notice for an update block";
  EXPECT_THROW(TCollection(TBitmap::StaticClass()), EInvalidOperation);
}

// ---------------------------------------------------------------------------
namespace {
int Greys(TCanvas* C, int W, int H) {  // pixels neither black nor white
  int n = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) n += C->Pixels(x, y) != clBlack && C->Pixels(x, y) != clWhite;
  return n;
}
}  // namespace

TEST(TextExtras, LetterSpacingQualityAndOutlinePaths) {
  auto b = guitest::MakeBitmap(200, 60);
  TCanvas* c = b->Canvas();
  c->Font()->SetName("Arial");
  c->Font()->SetSize(20);
  c->Font()->SetColor(clBlack);
  const int plain = c->TextWidth("ABCDE");
  c->Font()->SetLetterSpacing(3);
  EXPECT_EQ(c->TextWidth("ABCDE"), plain + 5 * 3);
  TFont copy;
  copy.Assign(c->Font());
  EXPECT_EQ(copy.LetterSpacing(), 3);
  c->Font()->SetLetterSpacing(0);

  c->SetBkMode(TRANSPARENT);
  c->TextOut(2, 2, "Wg");
  EXPECT_EQ(Greys(c, 200, 60), 0) << "crisp by default";
  c->Font()->SetQuality(fqBest);
  c->TextOut(60, 2, "Wg");
  EXPECT_GT(Greys(c, 200, 60), 10) << "smoothed text has in-between pixels";

  // An outline: the pen's colour on the edges, nothing inside when not filled.
  b = guitest::MakeBitmap(200, 60);
  c = b->Canvas();
  c->Font()->SetName("Arial");
  c->Font()->SetSize(28);
  c->Font()->SetStyle(FontStyles({fsBold}));
  c->Pen()->SetColor(clRed);
  c->TextOutPath(2, 2, "IH", false);
  const int outline = guitest::CountColor(c, {0, 0, 200, 60}, clRed);
  EXPECT_GT(outline, 40);
  EXPECT_EQ(guitest::CountColor(c, {0, 0, 200, 60}, clBlack), 0);
  // Filled with a picture: its colour inside, the outline around it.
  auto fill = guitest::MakeBitmap(4, 4, clBlue);
  c->TextOutPath(2, 2, "IH", true, fill.get());
  EXPECT_GT(guitest::CountColor(c, {0, 0, 200, 60}, clBlue), 30);
  c->Pen()->SetStyle(psClear);
  b->Canvas()->Brush()->SetColor(clWhite);
  b->Canvas()->FillRect({0, 0, 200, 60});
  c->TextOutPath(2, 2, "IH", true);
  EXPECT_EQ(guitest::CountColor(c, {0, 0, 200, 60}, clRed), 0) << "a clear pen draws no outline";
  EXPECT_GT(guitest::CountColor(c, {0, 0, 200, 60}, clBlack), 100) << "filled in the font colour";
}
