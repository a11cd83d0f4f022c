#include "gallery/brushdialog.h"

#include <utility>

#include "canvas/lumconst.h"
#include "engine/helpers.h"
#include "formbuild.h"
#include "gallery/editortools.h"
#include "gallery/gradienteditor.h"
#include "platform/dialogs.h"
#include "platform/rtl.h"

using namespace formbuild;

IMPLEMENT_CLASS(TBrushDialog, TForm)

namespace {

constexpr int StyleCount = 8, PatternCount = 12, TextureCount = 7;
const char* const StyleNames[] = {"Solid",         "None",  "Horizontal",    "Vertical",
                                  "Diagonal",      "Back Diagonal", "Cross", "Diagonal Cross"};
const char* const PatternNames[] = {"Fill 80%",      "Fill 60%",         "Fill 40%",         "Fill 20%",
                                    "Fill 10%",      "Zig zag",          "Vertical small",   "Horiz. small",
                                    "Diag. small",   "Back Diag. small", "Cross small",      "Diag. Cross small"};
const char* const TextureNames[] = {"Metal", "Wood", "Stone", "Clouds", "Grass", "Fire", "Snow"};

std::string TextureResource(int Texture) { return std::string("LumTexture_") + TextureNames[Texture]; }

// Loads a file into Picture; one that does not load (unknown extension, damaged,
// gone) shows why and leaves Picture as it was.
template <class P>
bool LoadPictureFile(P& Picture, const std::string& FileName) {
  try {
    Picture.LoadFromFile(FileName);
    return true;
  } catch (Exception& e) {
    Application->ShowException(&e);
    return false;
  }
}

}  // namespace

TBrushDialog::TBrushDialog(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "BrushDialog", "Pattern Editor", 412, 311);

  const TOkCancel bottom = OkCancelPanel(this, "Panel1", "Button2", "Button3", 37, 6);
  Panel1 = bottom.Panel, Button2 = bottom.Ok, Button3 = bottom.Cancel;

  LStyle = PlaceControl<TListBox>(this, this, "LStyle", 0, 0, 140, 274);
  LStyle->SetAlign(alLeft);
  LStyle->SetStyle(lbOwnerDrawFixed);
  LStyle->SetItemHeight(16);
  for (const char* s : StyleNames) LStyle->Items()->Add(s);
  for (const char* s : PatternNames) LStyle->Items()->Add(s);
  for (const char* s : TextureNames) LStyle->Items()->Add(s);
  Splitter1 = PlaceControl<TSplitter>(this, this, "Splitter1", 140, 0, 3, 274);
  Splitter1->SetAlign(alLeft);

  PageControl1 = ClientPages(this, this, "PageControl1", 143, 0, 269, 274);
  TabFormat = Sheet(this, PageControl1, "TabFormat", "Format");
  TabGradient = Sheet(this, PageControl1, "TabGradient", "Gradient");
  PageControl1->SetActivePage(TabFormat);

  BColor = PlaceControl<TButtonColor>(this, TabFormat, "BColor", 8, 10, 100, 25, "&Color...");
  BSwap = PlaceControl<TButton>(this, TabFormat, "BSwap", 120, 10, 75, 25, "&Swap");
  BBackColor = PlaceControl<TButtonColor>(this, TabFormat, "BBackColor", 8, 42, 100, 25, "&Back...");
  CBTransp = PlaceControl<TCheckBox>(this, TabFormat, "CBTransp", 120, 46, 110, 17, "&Transparent");
  GroupBox1 = PlaceControl<TGroupBox>(this, TabFormat, "GroupBox1", 8, 78, 235, 132, "Image:");
  Image1 = PlaceControl<TImage>(this, GroupBox1, "Image1", 10, 20, 100, 100);
  Image1->SetStretch(true);
  LImage = PlaceLabel(this, GroupBox1, "LImage", 122, 24, "");
  Button1 = PlaceControl<TButton>(this, GroupBox1, "Button1", 122, 95, 100, 25, "&Image...");

  // The stock textures, kept with the form.
  EnsureGalleryResources();
  TImage** textures[] = {&ImageMetal, &ImageWood, &ImageStone, &ImageClouds, &ImageGrass, &ImageFire, &ImageSnow};
  for (int i = 0; i < TextureCount; ++i) {
    TImage* image = PlaceControl<TImage>(this, this, std::string("Image") + TextureNames[i], 0, 0, 32, 32);
    image->SetVisible(false);
    TBitmap bmp;
    bmp.LoadFromResourceName(TextureResource(i));
    image->Picture()->SetGraphic(&bmp);
    *textures[i] = image;
  }

  OnShow = HANDLER(FormShow);
  LStyle->OnClick = HANDLER(LStyleClick);
  LStyle->OnDrawItem = HANDLER(LStyleDrawItem);
  Button1->OnClick = HANDLER(Button1Click);
  CBTransp->OnClick = HANDLER(CBTranspClick);
  BBackColor->OnClick = HANDLER(BBackColorClick);
  BSwap->OnClick = HANDLER(BSwapClick);
  Button3->OnClick = HANDLER(Button3Click);
  OnClose = HANDLER(FormClose);
}

TBrushDialog::~TBrushDialog() {
  // The colour buttons let go of the brush before its owner may free it.
  BColor->LinkProperty(nullptr, "");
  BBackColor->LinkProperty(nullptr, "");
}

TGraphic* TBrushDialog::BrushPicture() const {
  if (!brush_) return nullptr;
  if (brush_->HasImage()) return brush_->Image()->Graphic();
  return brush_->Bitmap();
}

void TBrushDialog::FormShow(TObject*) {
  if (!backup_) {
    backup_ = std::make_unique<TChartBrush>();
    TranslateControl(this);
  }
  restored_ = false;
  if (!brush_) return;
  backup_->Assign(brush_);
  LStyle->SetItemIndex(BrushPicture() ? -1 : int(brush_->Style()));
  BColor->LinkProperty(brush_, "Color");
  BBackColor->LinkProperty(brush_, "BackColor");
  if (!gradientEditor_) {
    gradientEditor_ = EmbedGradientEditor(this, brush_->Gradient());
    EmbedEditorForm(gradientEditor_, TabGradient);
  } else {
    gradientEditor_->SetGradient(brush_->Gradient());
  }
  ShowPicture();
  ApplyEnabling();
}

void TBrushDialog::ShowPicture() {
  if (TGraphic* g = BrushPicture()) {
    Button1->SetCaption(LumMsg_Clear);
    Button1->SetTag(1);
    Image1->Picture()->SetGraphic(g);
    LImage->SetCaption(IntToStr(g->Width()) + "x" + IntToStr(g->Height()));
  } else {
    Button1->SetCaption(LumMsg_Browse);
    Button1->SetTag(0);
    Image1->Picture()->SetGraphic(nullptr);
    LImage->SetCaption("");
  }
}

void TBrushDialog::ApplyEnabling() {
  if (!brush_) return;
  BColor->SetEnabled(brush_->Style() != bsClear);
  BBackColor->SetEnabled(BColor->Enabled());
  CBTransp->SetChecked(brush_->BackColor() == clNone);
  CBTransp->SetEnabled(!CBTransp->Checked());
}

void TBrushDialog::LStyleClick(TObject*) {
  const int i = LStyle->ItemIndex();
  if (!brush_ || i < 0) return;
  if (i < StyleCount) {
    brush_->SetStyle(TBrushStyle(i));
    // A picture would win over the style: it goes (a pattern bitmap is only let go).
    brush_->Image()->SetGraphic(nullptr);
    brush_->SetBitmap(nullptr);
  } else {
    std::unique_ptr<TBitmap> picture(StockBrushPicture(i - StyleCount));
    brush_->Image()->SetGraphic(picture.get());
  }
  ShowPicture();
  ApplyEnabling();
}

void TBrushDialog::LStyleDrawItem(TWinControl*, int Index, const TRect& R, TOwnerDrawState) {
  TCanvas* c = LStyle->Canvas();
  c->FillRect(R);
  if (Index != int(bsClear)) {
    const TColor text = c->Font()->Color();
    c->Font()->SetColor(clBlack);
    const TRect sample = Rect(R.Left + 2, R.Top + 2, R.Left + 16, R.Bottom - 2);
    if (Index < StyleCount) {
      c->Pen()->SetStyle(psSolid);
      c->Pen()->SetColor(clBlack);
      // White under the hatch, so that it shows on a selected row too.
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(clWhite);
      c->FillRect(sample);
      c->Brush()->SetColor(clBlack);
      c->Brush()->SetStyle(TBrushStyle(Index));
      c->SetBkMode(TRANSPARENT);
      c->Rectangle(sample);
    } else {
      std::unique_ptr<TBitmap>& s = samples_[Index - StyleCount];
      if (!s) s.reset(StockBrushPicture(Index - StyleCount));
      c->StretchDraw(sample, s.get());
    }
    c->Font()->SetColor(text);
  }
  c->Brush()->SetStyle(bsClear);
  c->TextOut(R.Left + 20, R.Top + (R.Height() - c->TextHeight("W")) / 2, LStyle->Items()->Strings(Index));
}

void TBrushDialog::Button1Click(TObject*) {
  if (!brush_) return;
  LStyle->SetItemIndex(int(brush_->Style()));
  if (Button1->Tag() == 0) {
    const std::string name = AskPictureFile(this);
    TPicture loaded;
    if (!name.empty() && LoadPictureFile(loaded, name)) {
      TGraphic* g = loaded.Graphic();
      if (dynamic_cast<TBitmap*>(g)) {
        brush_->Image()->SetGraphic(g);
      } else if (g) {
        // A pattern is a bitmap: other pictures are drawn onto one of their size.
        TBitmap bmp;
        bmp.SetSize(g->Width(), g->Height());
        bmp.Canvas()->Draw(0, 0, g);
        brush_->Image()->SetGraphic(&bmp);
      }
    }
  } else {
    // The pattern bitmap belongs to the brush's owner: it is let go, never freed.
    brush_->Image()->SetGraphic(nullptr);
    brush_->SetBitmap(nullptr);
    LImage->SetCaption("");
  }
  ShowPicture();
}

void TBrushDialog::CBTranspClick(TObject*) {
  if (!brush_) return;
  if (CBTransp->Checked()) {
    brush_->SetBackColor(clNone);
    BBackColor->RepaintSymbol();
  }
  CBTransp->SetEnabled(!CBTransp->Checked());
}

void TBrushDialog::BBackColorClick(TObject*) {
  CBTransp->SetChecked(false);
  CBTransp->SetEnabled(true);
}

void TBrushDialog::BSwapClick(TObject*) {
  if (!brush_) return;
  const TColor color = brush_->Color();
  brush_->SetColor(brush_->BackColor());
  brush_->SetBackColor(color);
  BColor->RepaintSymbol();
  BBackColor->RepaintSymbol();
  ApplyEnabling();
}

void TBrushDialog::Button3Click(TObject*) {
  if (!brush_ || !backup_ || restored_) return;
  restored_ = true;
  brush_->Assign(backup_.get());
}

// Every end of a modal run but OK cancels: the close box too.
void TBrushDialog::FormClose(TObject*, TCloseAction&) {
  if (ModalResult() != mrOk) Button3Click(this);
}

// ---------------------------------------------------------------------------
bool EditBrush(TControl* Control, TChartBrush* Brush) {
  TModalDialog<TBrushDialog> dialog(CreateEditorDialog<TBrushDialog>(Control));
  dialog->SetBrush(Brush);
  return dialog.Run();
}

TBitmap* StockBrushPicture(int Index) {
  if (Index < 0 || Index >= PatternCount + TextureCount)
    throw EListError(Format("Stock brush picture %d out of range", Index));
  EnsureGalleryResources();
  auto bmp = std::make_unique<TBitmap>();
  if (Index < PatternCount) {
    bmp->LoadFromResourceName("LumBrush" + IntToStr(Index + 1));
    bmp->SetTransparentColor(clWhite);
    bmp->SetTransparent(true);
  } else {
    bmp->LoadFromResourceName(TextureResource(Index - PatternCount));
  }
  return bmp.release();
}

std::string AskPictureFile(TComponent* Owner) {
  TOpenPictureDialog dialog(Owner);
  return dialog.Execute() ? dialog.FileName() : std::string();
}

bool BrowsePicture(TComponent* Owner, TLumPicture* Picture) {
  if (!Picture) return false;
  if (!Picture->Empty()) {
    Picture->SetGraphic(nullptr);
    return true;
  }
  const std::string name = AskPictureFile(Owner);
  return !name.empty() && LoadPictureFile(*Picture, name);
}
