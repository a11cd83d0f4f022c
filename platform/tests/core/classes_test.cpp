#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/classes.h"
#include "platform/registry.h"
#include "platform/typinfo.h"
#include "platform/units.h"
#include "test_temp.h"

namespace {

enum TShape { shSquare, shCircle, shStar };

class TProbe : public TComponent {
  DECLARE_CLASS(TProbe, TComponent)
public:
  explicit TProbe(TComponent* owner) : TComponent(owner) {}
  std::vector<std::pair<TComponent*, TOperation>> seen;
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  TShape Shape() const { return shape_; }
  void SetShape(TShape v) { shape_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  double Ratio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }
  unsigned Flags() const { return flags_; }
  void SetFlags(unsigned v) { flags_ = v; }
  TNotifyEvent OnChange;
  static void DefineProperties(TPropertyTable& t) {
    t.Int("Width", &TProbe::Width, &TProbe::SetWidth).Default(10LL);
    t.Enum("Shape", &TProbe::Shape, &TProbe::SetShape, {"shSquare", "shCircle", "shStar"}).Default(0LL);
    t.Bool("Visible", &TProbe::Visible, &TProbe::SetVisible).Default(true);
    t.Float("Ratio", &TProbe::Ratio, &TProbe::SetRatio);
    t.Set("Flags", &TProbe::Flags, &TProbe::SetFlags, {"fA", "fB", "fC"}).Default(0LL);
    t.Event("OnChange", &TProbe::OnChange);
  }

protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    seen.emplace_back(c, op);
  }

private:
  int width_ = 10;
  TShape shape_ = shSquare;
  bool visible_ = true;
  double ratio_ = 0;
  unsigned flags_ = 0;
};
IMPLEMENT_CLASS_PROPS(TProbe, TComponent)

class TProbe2 : public TProbe {
  DECLARE_CLASS(TProbe2, TProbe)
public:
  using TProbe::TProbe;
  int Depth() const { return 3; }
  static void DefineProperties(TPropertyTable& t) { t.Int("Depth", &TProbe2::Depth, (void(TProbe2::*)(int)) nullptr); }
};
IMPLEMENT_CLASS_PROPS(TProbe2, TProbe)

// Implemented without its table by mistake, and two that have nothing of their own.
class TProbeLost : public TProbe {
  DECLARE_CLASS(TProbeLost, TProbe)
public:
  using TProbe::TProbe;
  int Edge() const { return 1; }
  static void DefineProperties(TPropertyTable& t) { t.Int("Edge", &TProbeLost::Edge, (void(TProbeLost::*)(int)) nullptr); }
};
IMPLEMENT_CLASS(TProbeLost, TProbe)

class TProbeHeir : public TProbe2 {
  DECLARE_CLASS(TProbeHeir, TProbe2)
public:
  using TProbe2::TProbe2;
};
IMPLEMENT_CLASS(TProbeHeir, TProbe2)

class TProbeStream : public TProbe {
  DECLARE_CLASS(TProbeStream, TProbe)
public:
  using TProbe::TProbe;
  void DefineProperties(TFiler*) override {}  // stream data only: hides the table's name
};
IMPLEMENT_CLASS(TProbeStream, TProbe)

}  // namespace

TEST(Components, OwnershipNamesAndFreeNotification) {
  auto* root = new TComponent(nullptr);
  auto* a = new TProbe(root);
  auto* b = new TProbe(root);
  a->SetName("Series1");
  EXPECT_THROW(b->SetName("series1"), EComponentError);  // names are unique, ignoring case
  EXPECT_THROW(b->SetName("1abc"), EComponentError);
  b->SetName("Series2");
  EXPECT_EQ(root->FindComponent("SERIES2"), b);
  EXPECT_EQ(root->ComponentCount(), 2);

  auto* watcher = new TProbe(nullptr);
  a->FreeNotification(watcher);
  delete a;  // tells the watcher, leaves the owner's list
  ASSERT_EQ(watcher->seen.size(), 1u);
  EXPECT_EQ(watcher->seen[0].second, opRemove);
  EXPECT_EQ(root->ComponentCount(), 1);
  // The owner's siblings hear of removals too.
  b->seen.clear();
  auto* c = new TProbe(root);
  EXPECT_FALSE(b->seen.empty());
  (void)c;
  delete watcher;
  delete root;  // frees b and c
}

TEST(Components, ComponentIndexMovesWithinTheOwnerOnly) {
  TComponent root(nullptr);
  std::vector<TComponent*> c;
  for (int i = 0; i < 4; ++i) c.push_back(new TComponent(&root));
  auto order = [&] {
    std::vector<TComponent*> v;
    for (int i = 0; i < root.ComponentCount(); ++i) v.push_back(root.Components(i));
    return v;
  };
  c[3]->SetComponentIndex(1);
  EXPECT_EQ(order(), (std::vector<TComponent*>{c[0], c[3], c[1], c[2]}));
  c[0]->SetComponentIndex(99);  // past the end: last
  EXPECT_EQ(order(), (std::vector<TComponent*>{c[3], c[1], c[2], c[0]}));
  c[2]->SetComponentIndex(-5);  // before the start: first
  EXPECT_EQ(order(), (std::vector<TComponent*>{c[2], c[3], c[1], c[0]}));
  EXPECT_EQ(c[1]->ComponentIndex(), 2);
  TComponent lone(nullptr);
  lone.SetComponentIndex(3);  // no owner: nothing to move in
  EXPECT_EQ(lone.ComponentIndex(), -1);
}

TEST(Components, FreeingTheWatcherUnhooksIt) {
  auto* a = new TProbe(nullptr);
  auto* w = new TProbe(nullptr);
  a->FreeNotification(w);
  delete w;  // must not be notified later through a dangling pointer
  delete a;
  SUCCEED();
}

TEST(ClassRegistry, ByNameAndVirtualConstructor) {
  RegisterClasses({TProbe::StaticClass(), TProbe2::StaticClass()});
  EXPECT_EQ(GetClass("tprobe"), TProbe::StaticClass());
  EXPECT_EQ(GetClass("TNothing"), nullptr);
  EXPECT_THROW(FindClass("TNothing"), EClassNotFound);
  TObject* o = FindClass("TProbe2")->NewInstance(nullptr);
  EXPECT_EQ(o->ClassName(), "TProbe2");
  EXPECT_TRUE(o->ClassType()->InheritsFrom(TProbe::StaticClass()));
  EXPECT_TRUE(o->ClassType()->InheritsFrom(TComponent::StaticClass()));
  EXPECT_FALSE(o->ClassType()->InheritsFrom(TStrings::StaticClass()));
  delete o;
  EXPECT_THROW(TStrings::StaticClass()->NewInstance(nullptr), EInvalidOperation);
  auto listed = [] {
    std::vector<std::string> names;
    for (TClass c : GetRegisteredClasses())
      if (c->Name.rfind("TProbe", 0) == 0) names.push_back(c->Name);
    return names;
  };
  EXPECT_EQ(listed(), (std::vector<std::string>{"TProbe", "TProbe2"}));
  UnRegisterClass(TProbe2::StaticClass());
  EXPECT_EQ(GetClass("TProbe2"), nullptr);
  EXPECT_EQ(listed(), (std::vector<std::string>{"TProbe"}));
}

TEST(ClassRegistry, ATableLeftOutIsMarked) {
  const struct {
    TClass Class;
    bool LeftOut;
  } cases[] = {{TProbe::StaticClass(), false},
               {TProbe2::StaticClass(), false},
               {TProbeLost::StaticClass(), true},
               {TProbeHeir::StaticClass(), false},
               {TProbeStream::StaticClass(), false},
               {TComponent::StaticClass(), false}};
  for (const auto& c : cases) EXPECT_EQ(c.Class->PropertiesLeftOut, c.LeftOut) << c.Class->Name;
  EXPECT_EQ(GetPropInfo(TProbeLost::StaticClass(), "Edge"), nullptr);
}

// An owner that starts a sub-object otherwise than its class declares records those
// values: what it started with is not stored, the class's default now is.
TEST(Properties, InstanceDefaults) {
  const TPropInfo& width = *GetPropInfo(TProbe::StaticClass(), "Width");
  const TPropInfo& visible = *GetPropInfo(TProbe::StaticClass(), "Visible");
  TProbe started(nullptr), plain(nullptr);
  started.SetWidth(4);
  RecordDefaults(&started);
  EXPECT_FALSE(IsStoredProp(&started, width));
  TPropValue def;
  ASSERT_TRUE(GetPropDefault(&started, width, def));
  EXPECT_EQ(std::get<long long>(def), 4);
  started.SetWidth(10);
  EXPECT_TRUE(IsStoredProp(&started, width)) << "the class's default is a change here";
  EXPECT_FALSE(IsStoredProp(&started, visible)) << "what the owner left alone keeps the class's default";

  plain.SetWidth(4);
  EXPECT_TRUE(IsStoredProp(&plain, width)) << "another object of the class is not affected";
  EXPECT_FALSE(GetPropDefault(&plain, *GetPropInfo(TProbe::StaticClass(), "Ratio"), def)) << "no default";

  // Recording again replaces what was recorded.
  started.SetWidth(7);
  RecordDefaults(&started);
  EXPECT_FALSE(IsStoredProp(&started, width));
  started.SetWidth(4);
  EXPECT_TRUE(IsStoredProp(&started, width));
}

TEST(Properties, ByNameDefaultsAncestorsFirstAndEnums) {
  TProbe2 p(nullptr);
  auto list = GetPropList(TProbe2::StaticClass());
  std::vector<std::string> names;
  for (auto* i : list) names.push_back(i->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Name", "Tag", "Width", "Shape", "Visible", "Ratio", "Flags", "OnChange", "Depth"}));

  SetOrdProp(&p, "width", 25);
  EXPECT_EQ(p.Width(), 25);
  EXPECT_TRUE(IsStoredProp(&p, *GetPropInfo(p.ClassType(), "Width")));
  SetOrdProp(&p, "Width", 10);
  EXPECT_FALSE(IsStoredProp(&p, *GetPropInfo(p.ClassType(), "Width")));
  EXPECT_FALSE(IsStoredProp(&p, *GetPropInfo(p.ClassType(), "Name")));

  SetEnumProp(&p, "Shape", "shStar");
  EXPECT_EQ(p.Shape(), shStar);
  EXPECT_EQ(GetEnumProp(&p, "Shape"), "shStar");
  EXPECT_THROW(SetEnumProp(&p, "Shape", "shBlob"), EPropertyError);
  SetEnumProp(&p, "Visible", "False");
  EXPECT_FALSE(p.Visible());
  SetEnumProp(&p, "Flags", "[fA, fC]");
  EXPECT_EQ(p.Flags(), 5u);
  EXPECT_EQ(GetEnumProp(&p, "Flags"), "[fA,fC]");
  SetFloatProp(&p, "Ratio", 0.25L);
  EXPECT_DOUBLE_EQ(p.Ratio(), 0.25);
  SetStrProp(&p, "OnChange", "ProbeChanged");
  EXPECT_EQ(p.OnChange.MethodName, "ProbeChanged");
  EXPECT_EQ(GetOrdProp(&p, "Depth"), 3);
  EXPECT_THROW(SetOrdProp(&p, "Depth", 4), EPropertyError);
  EXPECT_THROW(GetOrdProp(&p, "Nope"), EPropertyError);
  EXPECT_THROW(SetStrProp(&p, "Width", "x"), EPropertyError);
}

TEST(StringList, ChangesSortingAndText) {
  TStringList s;
  int changes = 0;
  s.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  s.Add("Dispersion Curve");
  s.Add("");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(s.Text(), "Dispersion Curve\n\n");
  s.BeginUpdate();
  s.Clear();
  s.Add("0.5 pi/a");
  s.EndUpdate();
  EXPECT_EQ(changes, 3);  // the whole block reports once, at its end
  s.SetText("a\r\nb\rc\n");
  EXPECT_EQ(s.Count(), 3);
  EXPECT_EQ(s.Strings(2), "c");
  EXPECT_THROW(s.Strings(3), EStringListError);
  TStringList t;
  t.SetSorted(true);
  t.Add("pear");
  t.Add("Apple");
  t.Add("fig");
  EXPECT_EQ(t.Strings(0), "Apple");
  EXPECT_EQ(t.IndexOf("FIG"), 1);
  EXPECT_EQ(t.IndexOf("kiwi"), -1);
  s.Assign(&t);
  EXPECT_TRUE(s.Equals(&t));
}

TEST(Streams, MemoryAndFileErrors) {
  TMemoryStream m;
  m.WriteBuffer("GIF89a", 6);
  EXPECT_EQ(m.Size(), 6);
  m.SetPosition(3);
  char buf[8] = {};
  EXPECT_EQ(m.Read(buf, 8), 3);
  EXPECT_EQ(std::string(buf), "89a");
  m.SetPosition(4);
  EXPECT_THROW(m.ReadBuffer(buf, 3), EReadError);
  EXPECT_THROW(TFileStream("/nonexistent/dir/x", fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream("/nonexistent/x", fmOpenRead), EFOpenError);
  const std::string path = TestTempFile("stream.bin");
  m.SaveToFile(path);
  TMemoryStream back;
  back.LoadFromFile(path);
  EXPECT_EQ(back.Bytes(), m.Bytes());
  TMemoryStream copy;
  copy.CopyFrom(&m, 0);
  EXPECT_EQ(copy.Bytes(), m.Bytes());
  std::filesystem::remove(path);
}

TEST(Settings, DefaultsTypesCreationRedirection) {
  const std::string key = "SOFTWARE\\Velmora Software\\LumChart Pro\\Editor";
  TRegistry r;
  EXPECT_FALSE(r.OpenKeyReadOnly(key));
  ASSERT_TRUE(r.OpenKey(key, true));
  EXPECT_FALSE(r.ValueExists("DefaultPalette"));
  EXPECT_THROW(r.ReadInteger("DefaultPalette"), ERegistryException);
  r.WriteInteger("DefaultPalette", 9);
  r.WriteString("Title", "a \"quoted\"\nline");
  r.WriteBool("SmoothGallery", true);
  r.CloseKey();

  TRegistry again;  // a second object sees the stored values with their types
  ASSERT_TRUE(again.OpenKeyReadOnly("software\\velmora software\\lumchart pro\\editor"));
  EXPECT_EQ(again.ReadInteger("defaultpalette"), 9);
  EXPECT_EQ(again.ReadString("Title"), "a \"quoted\"\nline");
  EXPECT_TRUE(again.ReadBool("SmoothGallery"));
  EXPECT_THROW(again.ReadInteger("Title"), ERegistryException);
  EXPECT_THROW(again.ReadString("DefaultPalette"), ERegistryException);
  EXPECT_THROW(again.WriteInteger("X", 1), ERegistryException);  // read-only

  // The whole store follows the redirected root.
  std::string old = RegistryRoot();
  const std::string other = TestTempFile("other-settings");
  SetRegistryRoot(other);
  TRegistry fresh;
  EXPECT_FALSE(fresh.KeyExists(key));
  SetRegistryRoot(old);
  EXPECT_TRUE(fresh.KeyExists(key));
  std::filesystem::remove_all(other);
}

namespace {
std::vector<std::string> unitLog;
void InitA() { unitLog.push_back("+A"); }
void DoneA() { unitLog.push_back("-A"); }
void InitB() { unitLog.push_back("+B"); }
void DoneB() { unitLog.push_back("-B"); }
void InitBad() { throw Exception("boom"); }
}  // namespace

TEST(UnitTable, OrderAndUnwinding) {
  unitLog.clear();
  {
    TUnitTable t({{"A", InitA, DoneA}, {"B", InitB, DoneB}});
    t.Initialize();
    t.Initialize();  // runs once
  }
  EXPECT_EQ(unitLog, (std::vector<std::string>{"+A", "+B", "-B", "-A"}));
  unitLog.clear();
  TUnitTable bad({{"A", InitA, DoneA}, {"X", InitBad, nullptr}, {"B", InitB, DoneB}});
  EXPECT_THROW(bad.Initialize(), Exception);
  EXPECT_EQ(unitLog, (std::vector<std::string>{"+A", "-A"}));
}
