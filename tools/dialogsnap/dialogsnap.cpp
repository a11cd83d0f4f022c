// dialogsnap: renders the editor dialogs without a display and writes them as PNGs.
//
//   dialogsnap OUTDIR [NAME...]   every dialog of the table below, or those named;
//                                 --help lists the names
//
// Each entry opens its form on a sample object, as its edit routine would, and
// writes NAME.png (and any further views as NAME_<view>.png). A new dialog joins
// with one function and one line of the table.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/mainwindow.h"
#include "canvas/attributes.h"
#include "chart/chart.h"
#include "chart/palettes.h"
#include "chart/series.h"
#include "engine/backimage.h"
#include "gallery/aboutbox.h"
#include "gallery/backimageeditor.h"
#include "gallery/brushdialog.h"
#include "gallery/chartgrid.h"
#include "gallery/chartlistbox.h"
#include "gallery/editortools.h"
#include "gallery/exportdialog.h"
#include "gallery/exportformat.h"
#include "gallery/filterseditor.h"
#include "gallery/fonteditor.h"
#include "gallery/formateditor.h"
#include "gallery/gradienteditor.h"
#include "gallery/gallerypanel.h"
#include "gallery/marginseditor.h"
#include "gallery/navigator.h"
#include "gallery/pendialog.h"
#include "gallery/preview.h"
#include "gallery/seriesgallery.h"
#include "gallery/shadoweditor.h"
#include "gallery/shapeeditor.h"
#include "gallery/stringseditor.h"
#include "gallery/toolsgallery.h"
#include "platform/printers.h"
#include "platform/snapshot.h"
#include "platform/stdctrls.h"
#include "platform/testing.h"
#include "platform/units.h"
#include "samples/samplechart.h"
#include "snapout.h"
#include "toolargs.h"

namespace {

// Shows the form as it would be shown (its OnShow fills it), paints and saves it.
bool Snap(TControl* Control, const std::string& File) {
  if (auto* f = dynamic_cast<TForm*>(Control)) f->Show();
  Application->ProcessMessages();
  return WritePng(Control, File);
}

bool PenDialog(const std::string& Base) {
  TChartPen pen;
  pen.SetColor(clRed);
  pen.SetStyle(psDot);
  pen.SetWidth(2);
  std::unique_ptr<TPenDialog> d(CreatePenDialog(nullptr, &pen));
  bool ok = Snap(d.get(), Base + ".png");
  d->CBStyle->SetDroppedDown(true);
  Application->ProcessMessages();
  if (TCustomListBox* list = d->CBStyle->DropDownList()) ok &= Snap(list, Base + "_styles.png");
  d->CBStyle->SetDroppedDown(false);
  return ok;
}

bool TextEditor(const std::string& Base) {
  std::unique_ptr<TStringsEditor> d(new TStringsEditor(nullptr));
  d->Memo1->Lines()->SetText(
      "object Chart1: TChart\n  Title.Text.Strings = (\n    'Dispersion')\n  View3D = False\n"
      "  object Series1: TLineSeries\n    SeriesColor = clRed\n  end\nend\n");
  d->Memo1->SetReadOnly(true);
  return Snap(d.get(), Base + ".png");
}

bool FormatEditor(const std::string& Base) {
  std::unique_ptr<TFormatEditor> d(new TFormatEditor(nullptr));
  d->SetTheFormat("#,##0.00");
  AddNumericFormats(d->CBCustom->Items());
  return Snap(d.get(), Base + ".png");
}

bool CursorEditor(const std::string& Base) {
  TComponent component(nullptr);
  std::unique_ptr<TMouseCursorEdit> d(new TMouseCursorEdit(nullptr));
  d->SetTheCursor(crLumHand);
  d->SetTheComponent(&component);
  return Snap(d.get(), Base + ".png");
}

// A picture with a colour tint and a mirror on it; the preview shows both.
bool FiltersEditor(const std::string& Base) {
  TLumPicture picture;
  TBitmap bmp;
  bmp.SetSize(160, 120);
  bmp.Canvas()->Brush()->SetColor(clNavy);
  bmp.Canvas()->FillRect(Rect(0, 0, 160, 120));
  bmp.Canvas()->Brush()->SetColor(clYellow);
  bmp.Canvas()->Ellipse(12, 16, 96, 100);
  picture.SetGraphic(&bmp);
  picture.Filters()->Add(TColorFilter::StaticClass());
  picture.Filters()->Add(TMirrorFilter::StaticClass());
  std::unique_ptr<TFiltersEditor> d(new TFiltersEditor(nullptr));
  d->SetTheFilters(picture.Filters());
  d->SetThePicture(&picture);
  d->Show();
  while (d->Timer1->Enabled()) Application->ProcessMessages();
  return Snap(d.get(), Base + ".png");
}

bool MarginsEditor(const std::string& Base) {
  TMargins margins;
  margins.SetLeft(4);
  margins.SetTop(2);
  margins.SetRight(4);
  margins.SetBottom(2);
  margins.SetUnits(maPixels);
  std::unique_ptr<TMarginsEditor> d(new TMarginsEditor(nullptr));
  d->SetTag(std::intptr_t(&margins));
  return Snap(d.get(), Base + ".png");
}

bool EMFOptions(const std::string& Base) {
  TEMFExportFormat format;
  return Snap(format.EMFOptions(), Base + ".png");
}

// The preview shows a small chart at 8 bits through an inverting filter.
bool BMPOptions(const std::string& Base) {
  TForm host(nullptr);
  auto* chart = new TChart(&host);
  chart->SetParent(&host);
  chart->SetBounds(0, 0, 340, 220);
  auto* line = new TLineSeries(&host);
  line->SetParentChart(chart);
  for (int i = 0; i <= 20; ++i) line->AddXY(i, (i - 10) * (i - 10));
  TBMPExportFormat format;
  format.SetPanel(chart);
  format.Filters()->Add(TInvertFilter::StaticClass());
  TBMPOptions* d = format.BMPOptions();
  d->Show();
  d->CBColors->SetItemIndex(3);
  d->CBColorsChange(d->CBColors);
  return Snap(d, Base + ".png");
}

// The print preview on the sample chart: without printers (the screen's shape), with
// a PDF printer turned to landscape, in the middle of dragging the right margin, and
// with the system's print queues when it has any.
bool PrintPreview(const std::string& Base) {
  TForm host(nullptr);
  TChart* chart = BuildSampleChart(&host, nullptr);
  chart->SetPrintProportional(false);
  auto shot = [&](TPrinter* Printer, const std::string& File, bool Drag) {
    SetPrinter(Printer);
    std::unique_ptr<TChartPreview> d(new TChartPreview(&host));
    d->SetTag(std::intptr_t(chart));
    d->Show();
    TestInput::PumpFor(100);
    if (Drag) {
      TLumPreviewPanel* p = d->LumPreviewPanel1;
      const TRect r = p->PreviewChartRect();
      const int y = (r.Top + r.Bottom) / 2;
      TestInput::PostMouseDown(p, mbLeft, r.Right, y);
      TestInput::PostMouseMove(p, r.Right - 30, y, ssLeft);
      TestInput::PostMouseMove(p, r.Right - 60, y, ssLeft);
      TestInput::PumpFor(100);
    }
    const bool ok = Snap(d.get(), File);
    if (Drag) TestInput::PostMouseUp(d->LumPreviewPanel1, mbLeft, 0, 0);
    TestInput::PumpFor(20);
    return ok;
  };
  bool ok = shot(new TPrinter(false), Base + ".png", false);
  auto* pdf = new TPrinter(false);
  pdf->SetOutputFile(Base + "_unprinted.pdf");  // chosen, never printed
  pdf->SetOrientation(poLandscape);
  ok &= shot(pdf, Base + "_landscape.png", false);
  ok &= shot(new TPrinter(false), Base + "_drag.png", true);
  auto* system = new TPrinter(true);
  if (system->Printers().empty()) {
    std::printf("skipped %s_system.png: the system has no print queue\n", Base.c_str());
    delete system;
  } else {
    chart->SetPrintMargins(Rect(15, 15, 15, 15));  // as before the drag
    ok &= shot(system, Base + "_system.png", false);
  }
  SetPrinter(nullptr);
  return ok;
}

// The grid on the sample chart: two header rows with the series' symbols, the
// colours column, Atoms' null point; then with a cell being edited.
bool ChartGrid(const std::string& Base) {
  TForm host(nullptr);
  host.SetClientWidth(560);
  host.SetClientHeight(250);
  TChart* chart = BuildSampleChart(&host, nullptr, 8);
  auto* grid = new TChartGrid(&host);
  grid->SetParent(&host);
  grid->SetBounds(0, 0, 560, 250);
  grid->SetShowColors(true);
  grid->SetChart(chart);
  host.Show();
  bool ok = Snap(grid, Base + ".png");
  grid->SetCol(8);
  grid->SetRow(6);
  grid->StartEditing();
  if (grid->InplaceEditor()) grid->InplaceEditor()->SetText("0.75");
  ok &= Snap(grid, Base + "_editing.png");
  return ok;
}

// The bar as it starts (First..Last, Prior and First disabled), and all nine glyphs
// with the last four disabled.
bool Navigator(const std::string& Base) {
  TForm host(nullptr);
  host.SetClientWidth(260);
  host.SetClientHeight(30);
  auto* nav = new TCustomLumNavigator(&host);
  nav->SetParent(&host);
  for (int i = nbNext; i <= nbLast; ++i) nav->Buttons(i)->SetEnabled(true);
  host.Show();
  bool ok = Snap(nav, Base + ".png");
  for (int i = 0; i < LumNavButtonCount; ++i) {
    nav->Buttons(i)->SetVisible(true);
    nav->Buttons(i)->SetEnabled(i < 5);
  }
  nav->SetWidth(9 * 28);
  ok &= Snap(nav, Base + "_all.png");
  return ok;
}

// The "Standard" page with its first chart selected (arrow shown), then smooth, then
// the bar type's sub-gallery pop-up.
bool GalleryPanel(const std::string& Base) {
  TForm host(nullptr);
  host.SetBounds(0, 0, 460, 330);
  host.SetCaption("Gallery");
  auto* panel = new TChartGalleryPanel(&host);
  panel->SetParent(&host);
  panel->SetAlign(alClient);
  panel->SetSmooth(false);
  host.Show();
  panel->CreateGalleryPage("Standard");
  bool ok = Snap(&host, Base + ".png");
  panel->SetSmooth(true);
  ok &= Snap(&host, Base + "_smooth.png");
  panel->SetSmooth(false);
  panel->SelectChart(panel->GetChart(5));
  TestInput::PostCall([&] {
    if (!panel->SubGalleryForm) return;
    ok &= Snap(panel->SubGalleryForm, Base + "_sub.png");
    panel->SubGalleryForm->SetModalResult(mrCancel);
  });
  panel->ShowSubGallery();
  return ok;
}

// The series gallery on "Standard" with the bar type selected, plain and smooth (the
// setting stays as it was).
bool SeriesGallery(const std::string& Base) {
  TLumGallery g(nullptr);
  g.RequestedWidth = 549;
  g.RequestedHeight = 463;
  TChartGalleryPanel* panel = g.ChartGalleryPanel1;
  const bool smooth = panel->Smooth();
  panel->SetSmooth(false);
  g.CBPalette->SetItemIndex(g.CBPalette->Items()->IndexOfObject(PaletteObject(13)));
  g.Show();
  panel->SelectChart(panel->GetChart(5));
  bool ok = Snap(&g, Base + ".png");
  // As the box's click makes it, without writing the setting.
  const TNotifyEvent click = g.CBSmooth->OnClick;
  g.CBSmooth->OnClick = {};
  g.CBSmooth->SetChecked(true);
  g.CBSmooth->OnClick = click;
  panel->SetSmooth(true);
  ok &= Snap(&g, Base + "_smooth.png");
  panel->SetSmooth(smooth);
  return ok;
}

// The list box over the sample chart's three series, the second inactive and the
// third being renamed in place.
bool ChartListBox(const std::string& Base) {
  TForm host(nullptr);
  host.SetBounds(0, 0, 300, 110);
  TChart* chart = BuildSampleChart(&host, nullptr);
  auto* list = new TChartListBox(&host);
  list->SetParent(&host);
  list->SetAlign(alClient);
  list->SetChart(chart);
  host.Show();
  if (chart->SeriesCount() > 1) chart->Series(1)->SetActive(false);
  list->SetItemIndex(list->Count() - 1);
  list->StartTitleEdit();
  return Snap(&host, Base + ".png");
}

// The alternate gallery on "Standard" with the bar type's sub-styles.
bool AlternateGallery(const std::string& Base) {
  TLumGalleryForm a(nullptr);
  a.CBSmooth->SetChecked(false);
  a.Show();
  TChartListBox* list = a.ChartListBox1;
  list->SelectSeries(list->SeriesAtIndex(list->Items()->IndexOf("Bar")));
  a.ListClick(list);
  return Snap(&a, Base + ".png");
}

// The tools gallery on its "Series" tab with the first tool chosen.
bool ToolsGallery(const std::string& Base) {
  TLumToolsGallery g(nullptr);
  g.Show();
  g.LBTool->SetItemIndex(0);
  g.LBToolClick(g.LBTool);
  return Snap(&g, Base + ".png");
}

// As ShowAbout makes it, with an extra line.
bool AboutBox(const std::string& Base) {
  std::unique_ptr<TLumAboutForm> f(CreateAboutForm("", "", "Registered to the Phonark project"));
  return Snap(f.get(), Base + ".png");
}

// On the sample chart: the Picture tab with the bitmap options embedded, then the
// Native tab and the Data tab with its preview.
bool ExportDialog(const std::string& Base) {
  TForm host(nullptr);
  TChart* chart = BuildSampleChart(&host, &host);
  std::unique_ptr<TLumExportForm> d(new TLumExportForm(&host));
  d->SetPanel(chart);
  d->Show();
  d->LBFormat->SetItemIndex(1);
  d->LBFormatClick(d->LBFormat);
  bool ok = Snap(d.get(), Base + ".png");
  d->CBNativeFormat->SetItemIndex(1);
  d->CBFileSize->SetChecked(true);
  d->Tabs->SetActivePage(d->TabNative);
  d->EnableButtons();
  ok &= Snap(d.get(), Base + "_native.png");
  d->Tabs->SetActivePage(d->TabData);
  d->CBDataPreview->SetChecked(true);
  d->EnableButtons();
  return ok & Snap(d.get(), Base + "_data.png");
}

// A soft blue shadow, and an emboss without smoothing (blur and clip disabled).
bool ShadowEditor(const std::string& Base) {
  TLumShadow shadow;
  shadow.SetVisible(true);
  shadow.SetColor(0x804020);
  shadow.SetHorizSize(4);
  shadow.SetVertSize(3);
  shadow.SetTransparency(30);
  shadow.SetSmooth(true);
  shadow.SetSmoothBlur(12);
  std::unique_ptr<TLumShadowEditor> d(new TLumShadowEditor(nullptr));
  d->SetShadow(&shadow);
  return Snap(d.get(), Base + ".png");
}

bool EmbossEditor(const std::string& Base) {
  TLumEmboss emboss;
  emboss.SetVisible(true);
  emboss.SetColor(clGray);
  emboss.SetSize(2);
  emboss.SetSmooth(false);
  std::unique_ptr<TLumEmbossEditor> d(new TLumEmbossEditor(nullptr));
  d->SetShadow(&emboss);
  return Snap(d.get(), Base + ".png");
}

// The "Sea" preset chosen on the Default tab with its preview, then the Directions tab
// with its ten charts in the edited colours.
bool GradientEditor(const std::string& Base) {
  TLumGradient gradient;
  gradient.SetVisible(true);
  std::unique_ptr<TLumGradientEditor> d(new TLumGradientEditor(nullptr));
  d->SetGradient(&gradient);
  d->Show();
  d->PageControl1->SetActivePage(d->TabDefault);
  d->Gallery->SetItemIndex(d->Gallery->Items()->IndexOf("Sea"));
  d->GalleryClick(d->Gallery);
  bool ok = Snap(d.get(), Base + ".png");
  d->PageControl1->SetActivePage(d->TabDirections);
  d->PageControl1Change(d->PageControl1);
  ok &= Snap(d.get(), Base + "_directions.png");
  for (TTabSheet* t : {d->TabColors, d->TabOptions, d->TabSubGradient}) {
    d->PageControl1->SetActivePage(t);
    ok &= Snap(d.get(), Base + "_" + t->Caption() + ".png");
  }
  return ok;
}

// A diagonal-cross brush on the list's first items; then "Metal" chosen, the list
// scrolled to the textures and the picture shown; then the list drawn whole, with
// its 27 samples; then the Gradient tab on its radial gradient's options.
bool BrushDialog(const std::string& Base) {
  TChartBrush brush;
  brush.SetColor(clNavy);
  brush.SetStyle(bsDiagCross);
  brush.Gradient()->SetVisible(true);
  brush.Gradient()->SetDirection(gdRadial);
  std::unique_ptr<TBrushDialog> d(new TBrushDialog(nullptr));
  d->SetBrush(&brush);
  bool ok = Snap(d.get(), Base + ".png");
  d->LStyle->SetItemIndex(d->LStyle->Items()->IndexOf("Metal"));
  d->LStyleClick(d->LStyle);
  d->LStyle->MakeVisible(d->LStyle->Count() - 1);
  ok &= Snap(d.get(), Base + "_metal.png");
  TForm host(nullptr);
  host.SetClientWidth(d->LStyle->Width());
  host.SetClientHeight(d->LStyle->Count() * d->LStyle->ItemHeight() + 4);
  d->LStyle->SetParent(&host);
  d->LStyle->SetTopIndex(0);
  host.Show();
  ok &= Snap(d->LStyle, Base + "_styles.png");
  d->LStyle->SetParent(d.get());
  d->PageControl1->SetActivePage(d->TabGradient);
  d->GradientEditor()->PageControl1->SetActivePage(d->GradientEditor()->TabOptions);
  return ok & Snap(d.get(), Base + "_gradient.png");
}

// A back image at a place of its own holding a drawn picture, embedded in a page.
bool BackImageEditor(const std::string& Base) {
  TBackImage back;
  TBitmap bmp;
  bmp.SetSize(160, 120);
  bmp.Canvas()->Brush()->SetColor(clTeal);
  bmp.Canvas()->FillRect(Rect(0, 0, 160, 120));
  bmp.Canvas()->Brush()->SetColor(clYellow);
  bmp.Canvas()->Ellipse(40, 20, 120, 100);
  back.SetGraphic(&bmp);
  back.SetMode(pbmCustom);
  back.SetLeft(10);
  back.SetTop(20);
  TForm host(nullptr);
  SetupEditorForm(&host, "Host", "Back Image", 291, 258);
  std::unique_ptr<TBackImageEditor> e(EmbedBackImageEditor(&host));
  e->LoadBackImage(&back);
  return Snap(&host, Base + ".png");
}

// The modal font editor on a bold font with an outline and some depth, on its
// Options tab.
bool FontEditor(const std::string& Base) {
  TLumFont font;
  font.SetName("Arial");
  font.SetSize(14);
  font.SetStyle(FontStyles({fsBold}));
  font.SetColor(clNavy);
  font.SetInterCharSize(2);
  font.SetDepth(3);
  font.SetQuality(fqBest);
  font.OutLine()->SetVisible(true);
  font.OutLine()->SetColor(clRed);
  std::unique_ptr<TLumFontEditor> e(new TLumFontEditor(nullptr));
  e->SetBorderStyle(bsDialog);
  e->SetTheFont(&font);
  e->PanelButtons->Show();
  e->SetClientHeight(e->ClientHeight() + e->PanelButtons->Height());
  e->Show();
  e->PageControl1->SetActivePage(e->TabOptions);
  return Snap(e.get(), Base + ".png");
}

// The shape editor on a rounded, raised title box with a shadow and a picture, one
// PNG per tab; then the modal form of EditShape with "Text" and "Shadow" hidden.
bool ShapeEditor(const std::string& Base) {
  TLumCustomShape shape;
  shape.SetColor(clInfoBk);
  shape.SetBevel(bvRaised);
  shape.SetBevelWidth(3);
  shape.SetShapeStyle(fosRoundRectangle);
  shape.SetRoundSize(12);
  shape.SetTransparency(20);
  shape.Frame()->SetColor(clNavy);
  shape.Frame()->SetWidth(2);
  shape.Font()->SetName("Arial");
  shape.Font()->SetSize(12);
  shape.Gradient()->SetVisible(true);
  shape.Shadow()->SetVisible(true);
  shape.Shadow()->SetSize(4);
  shape.Emboss()->SetVisible(true);
  TBitmap bmp;
  bmp.SetSize(48, 32);
  bmp.Canvas()->Brush()->SetColor(TColor(0xC0DCC0));
  bmp.Canvas()->FillRect(Rect(0, 0, 48, 32));
  shape.Picture()->SetGraphic(&bmp);
  std::unique_ptr<TFormLumShape> e(EmbedShapeEditor(nullptr, &shape));
  e->SetBorderStyle(bsDialog);
  e->SetCaption("Title");
  e->Show();
  bool ok = true;
  for (int i = 0; i < e->PC1->PageCount(); ++i) {
    TTabSheet* tab = e->PC1->Pages(i);
    e->PC1->SetActivePage(tab);
    e->PC1Change(e->PC1);
    ok &= Snap(e.get(), Base + "_" + LowerCase(tab->Caption()) + ".png");
  }
  e->Hide();
  TForm owner(nullptr);
  TestInput::WhenModal([&] {
    for (int i = 0; i < owner.ComponentCount(); ++i)
      if (auto* f = dynamic_cast<TFormLumShape*>(owner.Components(i))) {
        ok &= SaveControlToPng(f, Base + "_modal.png");
        std::printf("%s %s\n", ok ? "wrote" : "FAILED", (Base + "_modal.png").c_str());
        f->SetModalResult(mrOk);
      }
  });
  EditShape(&owner, &shape, true, "Legend");
  return ok;
}

struct TSnapEntry {
  const char* Name;
  bool (*Write)(const std::string& Base);
};

const TSnapEntry Entries[] = {
    {"pen_dialog", PenDialog},
    {"text_editor", TextEditor},
    {"format_editor", FormatEditor},
    {"cursor_editor", CursorEditor},
    {"filters_editor", FiltersEditor},
    {"margins_editor", MarginsEditor},
    {"emf_options", EMFOptions},
    {"bmp_options", BMPOptions},
    {"print_preview", PrintPreview},
    {"chart_grid", ChartGrid},
    {"navigator", Navigator},
    {"gallery_panel", GalleryPanel},
    {"series_gallery", SeriesGallery},
    {"alternate_gallery", AlternateGallery},
    {"chart_list_box", ChartListBox},
    {"tools_gallery", ToolsGallery},
    {"about_box", AboutBox},
    {"export_dialog", ExportDialog},
    {"shadow_editor", ShadowEditor},
    {"emboss_editor", EmbossEditor},
    {"back_image_editor", BackImageEditor},
    {"gradient_editor", GradientEditor},
    {"brush_dialog", BrushDialog},
    {"font_editor", FontEditor},
    {"shape_editor", ShapeEditor},
};

std::string Usage() {
  std::vector<std::string> names;
  for (const TSnapEntry& e : Entries) names.push_back(e.Name);
  return "usage: dialogsnap OUTDIR [NAME...]\n"
         "Writes NAME.png into OUTDIR (which must exist) for every dialog, or for those\n"
         "named; NAME is one of\n" +
         toolargs::NameLines(names);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return toolargs::NoArguments(Usage());
  if (toolargs::IsHelp(args[0])) return toolargs::Help(Usage());
  for (const std::string& a : args)
    if (toolargs::IsOption(a)) return toolargs::Wrong("dialogsnap", "unknown option '" + a + "'");
  for (size_t i = 1; i < args.size(); ++i)
    if (std::none_of(std::begin(Entries), std::end(Entries), [&](const TSnapEntry& e) { return args[i] == e.Name; }))
      return toolargs::Wrong("dialogsnap", "unknown dialog '" + args[i] + "'");
  if (!std::filesystem::is_directory(args[0])) {
    std::fprintf(stderr, "dialogsnap: OUTDIR '%s' is not a directory\n", args[0].c_str());
    return 1;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::string dir = args[0] + "/";
  TUnitTable units(PhonarkUnits());
  units.Initialize();
  bool ok = true;
  {
    // Scenes that wait for paced paints or a drag wait on this clock's steps.
    TestInput::TSteppedClock clock;
    for (const TSnapEntry& e : Entries)
      if (args.size() == 1 || std::find(args.begin() + 1, args.end(), e.Name) != args.end())
        ok &= e.Write(dir + e.Name);
  }
  units.Finalize();
  return ok ? 0 : 1;
}
