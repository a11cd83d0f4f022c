// The image model: colour tables, frames, assignment and optimisation.
#include "gif_test_util.h"

TEST(GifModel, ColorTableLimitsAndLookups) {
  TGIFImage img;
  WarningLog log(img);
  TGIFColorMap* m = img.GlobalColorMap();
  EXPECT_EQ(m->BitsPerPixel(), 0);
  EXPECT_GIF_ERROR(m->Colors(0), "Color table is empty");
  EXPECT_TRUE(log.Has("Invalid color index"));
  m->Add(clRed);
  EXPECT_EQ(m->Capacity(), 16);
  EXPECT_EQ(m->BitsPerPixel(), 1);
  m->Add(clBlue);
  m->Add(clRed);
  EXPECT_EQ(m->IndexOf(clRed), 2);  // unsorted tables search from the end
  m->SetOptimized(true);
  EXPECT_EQ(m->IndexOf(clRed), 0);
  EXPECT_EQ(m->AddUnique(clBlue), 1);
  EXPECT_EQ(m->Colors(7), clRed);  // a bad index warns and answers entry 0
  EXPECT_GIF_ERROR(m->Delete(3), "Invalid color index");
  m->Delete(0);
  EXPECT_EQ(m->Colors(0), clBlue);
  m->Clear();
  AddGrays(m, 17);
  EXPECT_EQ(m->Capacity(), 32);
  EXPECT_EQ(m->BitsPerPixel(), 5);
  AddGrays(m, 256 - 17);
  EXPECT_GIF_ERROR(m->Add(clWhite), "Color table overflow");
}

TEST(GifModel, FrameBoundsPixelsAndScreenSize) {
  TGIFImage img;
  WarningLog log(img);
  AddGrays(img.GlobalColorMap(), 4);
  TGIFSubImage* f = AddFrame(img, 2, 3, 4, 5);
  EXPECT_EQ(img.Width(), 6);
  EXPECT_EQ(img.Height(), 8);
  EXPECT_TRUE(log.Has("Image exceeds Logical Screen size"));
  EXPECT_FALSE(log.Has("Image width too small for contained frames"));  // the screen was 0
  f->SetBounds(2, 3, 5, 5);
  EXPECT_TRUE(log.Has("Image width too small for contained frames"));
  EXPECT_EQ(img.Width(), 7);
  EXPECT_EQ(f->DataSize(), 25);
  f->SetPixels(4, 4, 3);
  EXPECT_EQ(f->Pixels(4, 4), 3);
  EXPECT_GIF_ERROR(f->Pixels(5, 0), "Invalid pixel coordinates");
  EXPECT_GIF_ERROR(f->Scanline(-1), "Invalid pixel coordinates");
  EXPECT_GIF_ERROR(img.SetWidth(6), "Image width too small for contained frames");
  EXPECT_GIF_ERROR(img.SetHeight(7), "Image height too small for contained frames");
  img.SetWidth(20);
  EXPECT_EQ(img.Width(), 20);
  f->Clear();
  EXPECT_TRUE(f->Empty());
  EXPECT_GIF_ERROR(f->Pixels(0, 0), "Invalid pixel coordinates");
  TGIFSubImage g(&img);
  g.SetBounds(0, 0, 0, 0);
  EXPECT_GIF_ERROR(g.Scanline(0), "Image is empty");
}

TEST(GifModel, GraphicControlFollowsItsFrame) {
  TGIFImage img;
  WarningLog log(img);
  AddGrays(img.GlobalColorMap(), 4);
  TGIFSubImage* f = AddFrame(img, 0, 0, 2, 2);
  auto* g = AddExt<TGIFGraphicControlExtension>(f);
  AddExt<TGIFGraphicControlExtension>(f);
  EXPECT_EQ(f->GraphicControlExtension(), g);
  g->SetTransparent(true);
  EXPECT_TRUE(f->Transparent());
  g->SetTransparentColorIndex(9);
  EXPECT_TRUE(log.Has("Invalid color index"));
  EXPECT_EQ(g->TransparentColorIndex(), 0);
  g->SetDisposal(dsRestorePrevious);
  EXPECT_EQ(g->PackedFields(), 0x0D);
  f->Extensions()->Delete(0);
  EXPECT_FALSE(f->Transparent());
  EXPECT_EQ(f->GraphicControlExtension(), nullptr);
}

TEST(GifModel, AssignCopiesFramesExtensionsAndSettings) {
  TGIFImage src;
  AddGrays(src.GlobalColorMap(), 4);
  TGIFSubImage* f = AddFrame(src, 1, 1, 2, 2, {0, 1, 2, 3});
  AddGrays(f->ColorMap(), 4);
  MakeTransparent(f, 2);
  auto* c = AddExt<TGIFCommentExtension>(f);
  c->Text()->Add("hello");
  src.SetDrawOptions(fdTile);
  int warnings = 0;
  src.OnWarning = [&](TObject*, TGIFSeverity, const std::string&) { ++warnings; };
  std::vector<std::string> progress;
  src.OnProgress = [&](TObject*, TProgressStage, std::uint8_t, bool, const TRect&, const std::string& m) {
    progress.push_back(m);
  };

  TGIFImage dst;
  int ownProgress = 0;
  dst.OnProgress = [&](TObject*, TProgressStage, std::uint8_t, bool, const TRect&, const std::string&) {
    ++ownProgress;
  };
  dst.Assign(&src);
  EXPECT_FALSE(progress.empty());
  EXPECT_EQ(progress.front(), "Copying...");
  EXPECT_EQ(ownProgress, 0);
  // Frames, tables and extensions: the same file; the settings are not in it.
  EXPECT_NE(dst.Images()->SubImages(0), src.Images()->SubImages(0));
  EXPECT_EQ(SaveBytes(dst), SaveBytes(src));
  EXPECT_EQ(dst.DrawOptions(), fdTile);
  // Our own progress handler is back after the copy.
  SaveBytes(dst);
  EXPECT_GT(ownProgress, 0);

  TStringList notAGraphic;
  EXPECT_GIF_ERROR(dst.Add(&notAGraphic), "Object type not supported for operation");
}

TEST(GifModel, SortingATableOrdersByUseAndDropsUnusedEntries) {
  TGIFImage img;
  AddGrays(img.GlobalColorMap(), 4);  // entry 3 is used by no pixel
  TGIFSubImage* f = AddFrame(img, 0, 0, 11, 1, {0, 0, 0, 1, 2, 2, 2, 2, 2, 2, 2});
  MakeTransparent(f, 1);
  img.GlobalColorMap()->Optimize();
  TGIFColorMap* m = img.GlobalColorMap();
  ASSERT_EQ(m->Count(), 3);
  EXPECT_EQ(m->Colors(0), RGB(2, 2, 2));
  EXPECT_EQ(m->Colors(1), RGB(0, 0, 0));
  EXPECT_EQ(m->Colors(2), RGB(1, 1, 1));
  EXPECT_EQ(f->Pixels(0, 0), 1);
  EXPECT_EQ(f->Pixels(3, 0), 2);
  EXPECT_EQ(f->Pixels(10, 0), 0);
  EXPECT_EQ(f->TransparentIndex(), 2);
  EXPECT_TRUE(m->Optimized());
  Bytes b = SaveBytes(img);
  EXPECT_EQ(b[10] & 0x08, 0x08);  // sort flag

  // Pixel values beyond the table neither crash the count nor move.
  TGIFImage odd;
  TGIFSubImage* o = AddFrame(odd, 0, 0, 4, 1, {1, 200, 1, 0});
  AddGrays(o->ColorMap(), 2);
  o->ColorMap()->Optimize();
  EXPECT_EQ(o->Pixels(0, 0), 0);
  EXPECT_EQ(o->Pixels(1, 0), 200);
  EXPECT_EQ(o->Pixels(3, 0), 1);
}

TEST(GifModel, CropTrimsTransparentBorders) {
  TGIFImage img;
  AddGrays(img.GlobalColorMap(), 4);
  // 4 x 3, transparent index 0, visible pixels at (1,1) and (2,1).
  TGIFSubImage* f = AddFrame(img, 5, 6, 4, 3, {0, 0, 0, 0, 0, 1, 2, 0, 0, 0, 0, 0});
  MakeTransparent(f, 0);
  f->Crop();
  EXPECT_EQ(f->BoundsRect(), Bounds(6, 7, 2, 1));
  EXPECT_EQ(f->Pixels(0, 0), 1);
  EXPECT_EQ(f->Pixels(1, 0), 2);
  EXPECT_EQ(img.PixelTotal(), 2);
  f->SetPixels(0, 0, 0);
  f->SetPixels(1, 0, 0);
  f->Crop();
  EXPECT_TRUE(f->Empty());
  EXPECT_EQ(img.PixelTotal(), 0);
}

TEST(GifModel, OptimizeMergesTrimsAndDropsRedundancy) {
  TGIFImage img;
  AddGrays(img.GlobalColorMap(), 4);
  // Frame 0 fills the screen; frame 1 repeats it except one pixel; frame 2 is
  // all transparent; a comment and a loop extension on the later frames.
  AddFrame(img, 0, 0, 3, 3, {1, 1, 1, 1, 2, 1, 1, 1, 1});
  TGIFSubImage* f1 = AddFrame(img, 0, 0, 3, 3, {1, 1, 1, 1, 3, 1, 1, 1, 1});
  auto* g1 = AddExt<TGIFGraphicControlExtension>(f1);
  g1->SetDelay(7);
  auto* c = AddExt<TGIFCommentExtension>(f1);
  c->Text()->Add("drop me");
  AddExt<TGIFAppExtNSLoop>(f1);
  TGIFSubImage* f2 = AddFrame(img, 0, 0, 3, 3, std::vector<int>(9, 0));
  auto* g2 = MakeTransparent(f2, 0);
  g2->SetDelay(5);

  std::vector<int> pct;
  img.OnProgress = [&](TObject*, TProgressStage, std::uint8_t p, bool, const TRect&, const std::string& m) {
    EXPECT_EQ(m, "Optimizing...");
    pct.push_back(p);
  };
  img.Optimize(opTrimTransparent | opMergeWithPrevious | opDropRedundant, rmNone, dmNearest, 8);
  EXPECT_EQ(pct.back(), 100);
  // Frame 2 showed nothing: it is gone. Frame 1 kept only its changed pixel.
  ASSERT_EQ(img.Images()->Count(), 2);
  TGIFSubImage* m = img.Images()->SubImages(1);
  EXPECT_TRUE(m->Transparent());
  EXPECT_EQ(m->BoundsRect(), Bounds(1, 1, 1, 1));
  EXPECT_EQ(m->Pixels(0, 0), 3);
  ASSERT_EQ(m->Extensions()->Count(), 1);  // comment and stray loop extension dropped
  EXPECT_EQ(m->GraphicControlExtension()->Delay(), 12);  // the dropped frame's time added
  // The transparent index was borrowed from frame 2, which frame 1 does not show.
  EXPECT_EQ(img.GlobalColorMap()->Count(), 4);
  EXPECT_EQ(m->TransparentIndex(), 0);

  TGIFImage given;
  AddFrame(given, 0, 0, 1, 1);
  EXPECT_GIF_ERROR(given.Optimize(opReduceColors, rmGivenPalette, dmNearest, 8), "Invalid reduction method");
}

TEST(GifModel, MergeNeverTurnsAVisibleColourTransparent) {
  // Frame 2 shows index 0 as a colour; frame 1's transparent index is 0, so
  // frame 2 must not borrow it.
  TGIFImage img;
  AddGrays(img.GlobalColorMap(), 4);
  AddFrame(img, 0, 0, 2, 1, {1, 1});
  TGIFSubImage* f1 = AddFrame(img, 0, 0, 2, 1, {0, 2});
  MakeTransparent(f1, 0);
  TGIFSubImage* f2 = AddFrame(img, 0, 0, 2, 1, {0, 2});
  img.Optimize(opMergeWithPrevious, rmNone, dmNearest, 8);
  ASSERT_TRUE(f2->Transparent());
  EXPECT_NE(f2->TransparentIndex(), 0);
  EXPECT_EQ(f2->Pixels(0, 0), 0);
  EXPECT_EQ(f2->Pixels(1, 0), f2->TransparentIndex());
}
