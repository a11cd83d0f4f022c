#include "gif/gifpainter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "gif_render_util.h"
#include "gui_test.h"

using namespace gifgui;

namespace {

constexpr TFrameDrawOptions Threaded = GIFDefaultDrawOptions;

class Painter : public testing::Test {
protected:
  void SetUp() override { GIFImageUnitInit(); }
  void TearDown() override { GIFImageUnitDone(); }

  // Plays the image on this thread with the fake environment, stopping after
  // StopAfter frames; answers the waits asked for.
  std::vector<long long> Play(int StopAfter, TFrameDrawOptions Options = Threaded) {
    TGIFPainter p(&img, target->Canvas(), Rect(0, 0, 32, 32), Options, nullptr, &env);
    int frames = 0;
    p.OnAfterFramePaint = TNotifyEvent([&](TObject*) {
      if (++frames >= StopAfter) p.Stop();
    });
    p.Execute();
    return env.Waits;
  }

  TGIFImage img;
  FakeEnv env;
  std::unique_ptr<TBitmap> target = guitest::MakeBitmap(32, 32, clRed);
};

TEST_F(Painter, WaitsDelayUnitsOf12msLessHalfTheOvershoot) {
  MakeAnimation(img, 4, 32, 32, 10, dsRestoreBackground);
  EXPECT_EQ(Play(4), (std::vector<long long>{120, 120, 120}));  // the first frame shows at once
  env = FakeEnv();
  env.Overshoot = 10;
  EXPECT_EQ(Play(4), (std::vector<long long>{120, 115, 115}));
}

TEST_F(Painter, ShortAndMissingDelaysAndSpeed) {
  MakeAnimation(img, 3, 4, 4, 1, dsKeep);
  img.Images()->SubImages(1)->GraphicControlExtension()->SetDelay(0);
  EXPECT_EQ(Play(3), (std::vector<long long>{36, 120})) << "1 counts as 3, 0 as 10";

  env = FakeEnv();
  img.SetAnimationSpeed(200);
  EXPECT_EQ(Play(3), (std::vector<long long>{18, 60}));

  env = FakeEnv();
  img.SetAnimationSpeed(0);  // stands still: endless waits that only Stop ends
  EXPECT_EQ(Play(3), (std::vector<long long>{-1, -1}));

  env = FakeEnv();
  img.SetAnimationSpeed(-1);  // no waiting at all
  EXPECT_TRUE(Play(3).empty());
}

TEST_F(Painter, CallersThreadCapsDelaysAndSleepsInSlices) {
  MakeAnimation(img, 2, 4, 4, 2000, dsKeep);
  Play(2, Threaded & ~fdThreaded);
  EXPECT_TRUE(env.Waits.empty());
  unsigned total = 0;
  for (unsigned s : env.Sleeps) {
    EXPECT_LE(s, 100u);
    total += s;
  }
  // On the caller's thread the first frame waits one unit, the second 1000.
  EXPECT_EQ(total, 12u + 12000u);
}

TEST_F(Painter, LoopCountTwoPlaysTwiceThenEnds) {
  MakeAnimation(img, 2, 4, 4, 10, dsKeep);
  AddExt<TGIFAppExtNSLoop>(img.Images()->SubImages(0))->SetLoops(2);
  TGIFPainter p(&img, target->Canvas(), Rect(0, 0, 4, 4), Threaded, nullptr, &env);
  std::vector<std::string> log;
  auto note = [&](const char* what) {
    return TNotifyEvent([&log, what, &p](TObject* s) {
      EXPECT_EQ(s, &p);
      log.push_back(what + std::to_string(p.ActiveFrame()));
    });
  };
  p.OnAnimationStart = note("start");
  p.OnFramePaint = note("paint");
  p.OnAnimationLoop = note("loop");
  p.OnAnimationEnd = note("end");
  p.Execute();
  EXPECT_EQ(log, (std::vector<std::string>{"start0", "paint0", "paint1", "loop0", "paint0", "paint1", "end-1"}));
}

TEST_F(Painter, StopEndsAnEndlessWaitAndFiresNoMoreEvents) {
  MakeAnimation(img, 2, 4, 4, 10, dsKeep);
  img.SetAnimationSpeed(0);
  TGIFPainter p(&img, target->Canvas(), Rect(0, 0, 4, 4), Threaded, nullptr, &env);
  int ends = 0;
  p.OnAnimationEnd = TNotifyEvent([&](TObject*) { ++ends; });
  env.OnWait = [&] { p.Stop(); };
  p.Execute();
  EXPECT_EQ(env.Waits, (std::vector<long long>{-1}));
  EXPECT_EQ(ends, 0);
}

TEST_F(Painter, DisposalBuffersFollowTheFrames) {
  MakeAnimation(img, 2, 4, 4, 10, dsKeep);
  {
    TGIFPainter p(&img, target->Canvas(), Rect(0, 0, 4, 4), Threaded & ~fdClearOnLoop, nullptr, &env);
    EXPECT_EQ(p.FrameBuffer(), nullptr);
    EXPECT_TRUE(p.HasEvent());
  }
  TGIFPainter p(&img, target->Canvas(), Rect(0, 0, 4, 4), Threaded, nullptr, &env);
  EXPECT_NE(p.FrameBuffer(), nullptr);
  EXPECT_NE(p.PreviousBuffer(), nullptr);
  EXPECT_NE(p.BackgroundBuffer(), nullptr);
  EXPECT_EQ(p.BackgroundColor(), clBlack) << "the global table's background entry";
}

// ---------------------------------------------------------------------------
// Threaded painters on real threads, as Draw starts them.

class Animated : public Painter {
protected:
  void SetUp() override {
    Painter::SetUp();
    MakeAnimation(img, 4, 32, 32, 1, dsRestoreBackground);
  }
  void PumpUntil(const std::function<bool()>& Done) {
    for (int i = 0; i < 5000 && !Done(); ++i) CheckSynchronize(1);
    ASSERT_TRUE(Done());
  }
};

TEST_F(Animated, DrawStartsOnePainterAndRepaintsCopyTheCachedBitmap) {
  img.Draw(target->Canvas(), Rect(0, 0, 32, 32));
  TGIFPainter* p = DrawPainter(&img);
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(p->Painted()) << "Draw waits for the first frame";
  EXPECT_EQ(PainterCount(&img), 1);
  ASSERT_NE(Bitmap(&img), nullptr);
  EXPECT_EQ(Bitmap(&img)->Width(), 32);
  img.Draw(target->Canvas(), Rect(0, 0, 32, 32));
  EXPECT_EQ(DrawPainter(&img), p);
  EXPECT_EQ(PainterCount(&img), 1);
  // The animation moves on: the cached bitmap shows another frame.
  TColor first = Bitmap(&img)->Canvas()->Pixels(5, 5);
  PumpUntil([&] { return Bitmap(&img)->Canvas()->Pixels(5, 5) != first; });
  StopDraw(&img);
  EXPECT_EQ(PainterCount(&img), 0);
  EXPECT_EQ(DrawPainter(&img), nullptr);
}

TEST_F(Animated, DirectPaintTwiceOnTheSamePlaceStartsOnePainter) {
  img.SetDrawOptions(Threaded | fdDirectPaint);
  img.Draw(target->Canvas(), Rect(0, 0, 32, 32));
  TGIFPainter* p = DrawPainter(&img);
  img.Draw(target->Canvas(), Rect(0, 0, 32, 32));
  EXPECT_EQ(DrawPainter(&img), p);
  EXPECT_EQ(PainterCount(&img), 1);
  PumpUntil([&] { return guitest::CountColor(target->Canvas(), Rect(0, 0, 32, 32), clRed) == 0; });
}

TEST_F(Animated, SingleFrameDrawsOnceWithoutAThread) {
  TGIFImage one;
  MakeAnimation(one, 1, 32, 32, 10, dsKeep);
  EXPECT_EQ(CreatePainter(&one, nullptr, target->Canvas(), Threaded, Rect(0, 0, 32, 32)), nullptr);
  EXPECT_EQ(PainterCount(&one), 0);
  EXPECT_EQ(guitest::CountColor(target->Canvas(), Rect(0, 0, 32, 32), clRed), 0);
}

TEST_F(Animated, StopReturnsFromAnEndlessWait) {
  img.SetAnimationSpeed(0);
  img.Draw(target->Canvas(), Rect(0, 0, 32, 32));
  ASSERT_NE(DrawPainter(&img), nullptr);
  StopDraw(&img);  // would hang if the wait ignored Stop
  EXPECT_EQ(PainterCount(&img), 0);
}

TEST_F(Animated, PainterErrorIsRaisedByTheNextDrawOnTheMainThread) {
  int frames = 0;
  img.OnFramePaint = TNotifyEvent([&](TObject*) {
    if (++frames == 2) throw EInvalidOperation("frame handler failed");
  });
  img.Draw(target->Canvas(), Rect(0, 0, 32, 32));
  PumpUntil([&] { return PainterCount(&img) == 0; });
  img.FreeBitmap();  // let the next Draw go past the cached bitmap
  try {
    img.Draw(target->Canvas(), Rect(0, 0, 32, 32));
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message, "frame handler failed");
  }
  // Raised once; the next Draw animates again.
  img.OnFramePaint.Clear();
  img.Draw(target->Canvas(), Rect(0, 0, 32, 32));
  EXPECT_NE(DrawPainter(&img), nullptr);
}

// The painter thread builds the frames' bitmaps and reads their extensions
// while the main thread edits them; the edits show in the animation, which
// goes on. Run under ThreadSanitizer by the test command.
TEST_F(Animated, FramesEditedWhileAnimatingShowTheirChanges) {
  TGIFImageList* frames = img.Images();
  // Loops from frame 1 until stopped; a painter reads it after its first frame.
  auto* loop = AddExt<TGIFAppExtNSLoop>(frames->SubImages(1));
  for (int i = 0; i < frames->Count(); ++i) AddGrays(frames->SubImages(i)->ColorMap(), 16);
  img.SetAnimationSpeed(1000);
  img.Draw(target->Canvas(), Rect(0, 0, 32, 32));
  TGIFPainter* p = DrawPainter(&img);
  ASSERT_NE(p, nullptr);
  auto pump = [] { for (int k = 0; k < 3; ++k) CheckSynchronize(1); };

  // Colour tables: each frame's own colour (index i + 1) becomes red.
  for (int i = 0; i < frames->Count(); ++i) {
    frames->SubImages(i)->ColorMap()->SetColors(i + 1, clRed);
    pump();
  }
  PumpUntil([&] { return Bitmap(&img)->Canvas()->Pixels(5, 5) == clRed; });
  for (int n = 0; n < 20; ++n) {
    pump();
    ASSERT_EQ(Bitmap(&img)->Canvas()->Pixels(5, 5), clRed) << "an edited frame shows its old colours";
  }

  // Bounds, pixels, delays and disposals, again and again while it plays.
  for (int round = 0; round < 12; ++round) {
    TGIFSubImage* f = frames->SubImages(round % frames->Count());
    f->SetBounds(8, 8, 16, 16);  // new pixels, all index 0
    f->SetPixels(0, 0, 1);
    f->FreeBitmap();
    pump();
    f->SetBounds(0, 0, 32, 32);
    f->ColorMap()->Add(clBlue);
    f->GraphicControlExtension()->SetDelay(round % 2 ? 1 : 2);
    f->GraphicControlExtension()->SetDisposal(round % 2 ? dsKeep : dsRestoreBackground);
    pump();
  }

  // Frames go and come while the painter may be waiting on one of them.
  for (int round = 0; round < 6; ++round) {
    frames->Delete(frames->Count() - 1);
    pump();
    // Filled before it joins the list: the painter may read it from then on.
    auto* f = new TGIFSubImage(&img);
    f->SetBounds(0, 0, 32, 32);
    std::fill_n(f->Data(), 32 * 32, std::uint8_t(2));
    AddExt<TGIFGraphicControlExtension>(f)->SetDelay(1);
    frames->Add(f);
    pump();
  }
  EXPECT_EQ(DrawPainter(&img), p) << "edits never stop the animation";
  EXPECT_EQ(PainterCount(&img), 1);
  // Still playing: the resized frames hold index 0 (black), the new last one grey 2.
  PumpUntil([&] { return Bitmap(&img)->Canvas()->Pixels(5, 5) == RGB(2, 2, 2); });
  PumpUntil([&] { return Bitmap(&img)->Canvas()->Pixels(5, 5) == clBlack; });

  // The loop count, set while a new painter heads for frame 1 to read it.
  StopDraw(&img);
  loop->SetLoops(1);
  frames->SubImages(0)->GraphicControlExtension()->SetDelay(20);  // so the setting mostly comes first
  img.FreeBitmap();  // Draw starts a painter again
  img.Draw(target->Canvas(), Rect(0, 0, 32, 32));
  loop->SetLoops(1);
  PumpUntil([&] { return PainterCount(&img) == 0; });  // one pass, then it ends
  StopDraw(&img);
  EXPECT_EQ(PainterCount(&img), 0);
}

TEST_F(Animated, FreeingAnAnimatingImageJoinsItsPainter) {
  auto* gif = new TGIFImage;
  MakeAnimation(*gif, 3, 16, 16, 1, dsRestorePrevious);
  gif->Draw(target->Canvas(), Rect(0, 0, 16, 16));
  ASSERT_NE(DrawPainter(gif), nullptr);
  for (int i = 0; i < 20; ++i) CheckSynchronize(1);
  delete gif;  // must neither hang nor leave the thread touching freed memory
  for (int i = 0; i < 20; ++i) CheckSynchronize(1);
}

}  // namespace
