// The painting model: persistent canvases, deferred paints that never nest and are
// paced when a control asks for a new paint from inside its own paint.
#include <algorithm>
#include <filesystem>
#include <vector>

#include "app_fixture.h"
#include "gui_test.h"
#include "platform/snapshot.h"
#include "test_temp.h"

using namespace formstest;

namespace {

// On a stepped clock, so paint pacing is measured in the loop's own time.
class AppPaint : public FormTest {
protected:
  TestInput::TSteppedClock Clock;
  TPaintBox* AddPaintBox(int left, int top, int w, int h) { return Add<TPaintBox>(left, top, w, h); }
  // The form as the screen shows it.
  std::unique_ptr<TBitmap> Shot(TControl* c = nullptr) {
    auto b = std::make_unique<TBitmap>();
    RenderControl(c ? c : Form, b.get());
    return b;
  }
};

TEST_F(AppPaint, SelfInvalidatingPaintNeverNestsIsPacedAndLetsOthersPaint) {
  TPaintBox* chart = AddPaintBox(10, 10, 100, 80);
  TPaintBox* other = AddPaintBox(150, 10, 100, 80);
  int depth = 0, maxDepth = 0, paints = 0, otherPaints = 0;
  std::vector<std::int64_t> starts;
  chart->OnPaint = [&](TObject*) {
    starts.push_back(GetMicroseconds());
    maxDepth = std::max(maxDepth, ++depth);
    ++paints;
    // As the dispersion chart does from its after-draw event: refill, ask for a new
    // paint, and let the message queue run.
    chart->Canvas()->Brush()->SetColor(paints % 2 ? clRed : clBlue);
    chart->Canvas()->FillRect(chart->ClientRect());
    chart->Invalidate();
    other->Invalidate();
    Application->ProcessMessages();
    --depth;
  };
  other->OnPaint = [&](TObject*) { ++otherPaints; };
  ShowForm();
  TestInput::PumpUntil([&] { return paints >= 10 && otherPaints >= 2; });

  EXPECT_EQ(maxDepth, 1);
  EXPECT_GE(paints, 10);
  EXPECT_GE(otherPaints, 2);
  // Paced: a paint asked for from inside a paint starts a display frame after the last.
  for (size_t i = 1; i < starts.size(); ++i) EXPECT_GE(starts[i] - starts[i - 1], 16000) << "paint " << i;
}

TEST_F(AppPaint, InvalidateCoalescesAndPaintsOnlyWhenShown) {
  TPaintBox* box = AddPaintBox(10, 10, 50, 50);
  int paints = 0;
  box->OnPaint = [&](TObject*) { ++paints; };
  box->Invalidate();
  box->Invalidate();
  Pump();
  EXPECT_EQ(paints, 0);  // the form is not shown yet
  ShowForm();
  EXPECT_EQ(paints, 1);
  for (int i = 0; i < 5; ++i) box->Invalidate();
  Pump();
  EXPECT_EQ(paints, 2);
  // Repaint paints at once; Update only what is pending.
  box->Repaint();
  EXPECT_EQ(paints, 3);
  box->Update();
  EXPECT_EQ(paints, 3);
}

TEST_F(AppPaint, FormCanvasKeepsTextWrittenByHandlersAcrossPaints) {
  int formPaints = 0;
  Form->OnPaint = [&](TObject*) { ++formPaints; };
  ShowForm();
  TCanvas* c = Form->Canvas();
  c->Brush()->SetColor(clBtnFace);
  c->Font()->SetColor(clBlack);
  c->TextOut(10, 10, "The length A is the distance between atoms");
  TRect area = Rect(0, 0, 400, 40);
  auto before = Shot();
  TRect ink = guitest::InkBounds(before->Canvas(), area, ColorToRGB(clBtnFace));
  EXPECT_GE(ink.Left, 10);
  EXPECT_GE(ink.Top, 10);
  EXPECT_GT(ink.Width(), 100);

  // Paints, a resize and new children leave the layer alone.
  Form->Invalidate();
  Form->SetBounds(Form->Left(), Form->Top(), 420, 320);
  auto* label = new TLabel(Form);
  label->SetBounds(10, 100, 0, 0);
  label->SetCaption("below");
  label->SetParent(Form);
  Pump();
  EXPECT_GE(formPaints, 2);
  auto after = Shot();
  EXPECT_EQ(guitest::InkBounds(after->Canvas(), area, ColorToRGB(clBtnFace)), ink);
  EXPECT_EQ(after->Canvas()->Pixels(415, 315), ColorToRGB(clBtnFace));  // new area: the form's colour
}

TEST_F(AppPaint, DrawingOutsidePaintReachesTheScreenAndTransparentControlsShowTheParent) {
  TPaintBox* box = AddPaintBox(20, 20, 40, 40);
  box->OnPaint = [&](TObject*) {};
  auto* label = new TLabel(Form);
  label->SetBounds(100, 20, 0, 0);
  label->SetCaption("Speed");
  label->SetTransparent(true);
  label->SetParent(Form);
  ShowForm();
  Form->Canvas()->Brush()->SetColor(clYellow);
  Form->Canvas()->FillRect(Rect(0, 0, 400, 100));
  // Outside any paint handler, onto the paint box's own canvas.
  box->Canvas()->Brush()->SetColor(clRed);
  box->Canvas()->FillRect(Rect(0, 0, 10, 10));
  auto shot = Shot();
  TCanvas* s = shot->Canvas();
  EXPECT_EQ(s->Pixels(20, 20), clRed);
  EXPECT_EQ(s->Pixels(29, 29), clRed);
  EXPECT_EQ(s->Pixels(45, 45), clYellow);  // the paint box's untouched pixels show the form
  TRect l = label->BoundsRect();
  EXPECT_GT(guitest::CountColor(s, l, clYellow), 0);
  EXPECT_GT(guitest::CountColor(s, l, ColorToRGB(clWindowText)), 0);
  EXPECT_EQ(guitest::CountColor(s, l, ColorToRGB(clBtnFace)), 0);
}

TEST_F(AppPaint, ExceptionInPaintIsShownAndTheControlPaintsAgainLater) {
  TPaintBox* box = AddPaintBox(10, 10, 50, 50);
  int paints = 0;
  box->OnPaint = [&](TObject*) {
    if (++paints == 1) throw EInvalidGraphicOperation("Canvas does not allow drawing");
  };
  ShowForm();
  EXPECT_EQ(RecordedMessages(), std::vector<std::string>{"Canvas does not allow drawing"});
  box->Invalidate();
  Pump();
  EXPECT_EQ(paints, 2);
}

TEST_F(AppPaint, SnapshotRendersAFormThatWasNeverShown) {
  auto* panel = Add<TPanel>(20, 20, 120, 40);
  panel->SetCaption("Panel");
  auto* button = new TButton(panel);
  button->SetBounds(10, 8, 50, 25);
  button->SetCaption("OK");
  button->SetParent(panel);
  auto shot = Shot();
  TCanvas* s = shot->Canvas();
  // Raised bevel: light top-left, dark bottom-right.
  EXPECT_EQ(s->Pixels(20, 20), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(s->Pixels(139, 59), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s->Pixels(5, 5), ColorToRGB(clBtnFace));
  // The button is there, over the panel.
  EXPECT_GT(guitest::CountColor(s, Rect(30, 28, 80, 53), ColorToRGB(clBtnFace)), 0);
  EXPECT_LT(guitest::CountColor(s, Rect(30, 28, 80, 53), ColorToRGB(clBtnFace)), 50 * 25);

  const std::string file = TestTempFile("snapshot.png");
  ASSERT_TRUE(SaveControlToPng(Form, file));
  EXPECT_GT(std::filesystem::file_size(file), 100u);
  std::filesystem::remove(file);
  EXPECT_FALSE(SaveControlToPng(Form, "/nonexistent-folder/x.png"));
}

// Rendering into a bitmap that has the control's size reuses its pixels: the picture
// is the one a new bitmap gets, whatever the bitmap held, and a copy of the bitmap
// taken before keeps the old picture.
TEST_F(AppPaint, SnapshotsIntoTheSameBitmapEqualSnapshotsIntoANewOne) {
  TPaintBox* box = AddPaintBox(0, 0, 60, 40);
  TColor colour = clRed;
  box->OnPaint = [&](TObject*) {
    box->Canvas()->Brush()->SetColor(colour);
    box->Canvas()->FillRect(Rect(5, 5, 30, 20));
  };
  TBitmap reused;
  RenderControl(box, &reused);
  TBitmap before;
  before.Assign(&reused);  // shares the pixels: they must not be drawn over
  colour = clBlue;
  box->Invalidate();
  // Held pixels with an open alpha byte, as scan lines may leave them.
  static_cast<std::uint8_t*>(reused.ScanLine(0))[3] = 0;
  RenderControl(box, &reused);
  auto fresh = Shot(box);
  for (int y = 0; y < 40; y += 3)
    for (int x = 0; x < 60; x += 3) ASSERT_EQ(reused.Canvas()->Pixels(x, y), fresh->Canvas()->Pixels(x, y));
  EXPECT_EQ(reused.Canvas()->Pixels(10, 10), clBlue);
  EXPECT_EQ(before.Canvas()->Pixels(10, 10), clRed);
  TBitmap small;
  small.SetSize(7, 7);
  RenderControl(box, &small);
  EXPECT_EQ(small.Width(), 60);
  EXPECT_EQ(small.Canvas()->Pixels(10, 10), clBlue);
}

}  // namespace
