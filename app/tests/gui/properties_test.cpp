// The published-property tables against the objects they describe, for every
// registered class and for the chart with all it holds: a declared default is what a
// new object holds, a value set is the value read back, and Assign copies every
// property. Streams, Assign and the editors stand on these tables; a class joins this
// walk by registering.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "chart/chart.h"
#include "gallery/navigator.h"
#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/typinfo.h"

using typinfo_detail::AsBool;
using typinfo_detail::AsFloat;
using typinfo_detail::AsInt;
using typinfo_detail::AsObject;
using typinfo_detail::AsString;

namespace {

// Where a walk starts: a new object of a registered class, or a chart (forms place
// charts by code, so the registry does not hold their class). Controls sit on a form,
// as forms place them, before one more control: a control's tab order is its place
// among its parent's. A form has no parent and so no place (-1, whatever is set).
struct TRoot {
  TClass Class;
  std::function<TObject*()> Create;
  const std::string& Name() const { return Class->Name; }
};

TObject* Placed(TObject* Obj) {
  static TForm* host = new TForm(Application);
  static TButton* after = [] {
    auto* b = new TButton(host);
    b->SetParent(host);
    return b;
  }();
  auto* control = dynamic_cast<TControl*>(Obj);
  if (control && !dynamic_cast<TForm*>(control)) {
    control->SetParent(host);
    after->SetTabOrder(-1);  // last again
  }
  return Obj;
}

bool Settable(TObject* Obj, const TPropInfo& p) {
  if (!p.Set || p.Kind == TPropKind::Object) return false;
  // A navigator not aligned keeps a width its visible buttons share evenly.
  if (p.Name == "Width" && dynamic_cast<TCustomLumNavigator*>(Obj)) return false;
  return !(p.Name == "TabOrder" && dynamic_cast<TForm*>(Obj));
}

std::vector<TRoot> Roots() {
  std::vector<TRoot> roots;
  for (TClass c : GetRegisteredClasses())
    if (c->Create) roots.push_back({c, [c] { return Placed(c->NewInstance(nullptr)); }});
  if (!GetClass("TChart")) roots.push_back({TChart::StaticClass(), [] { return Placed(new TChart(nullptr)); }});
  return roots;
}

using TVisit = std::function<void(const std::string& Path, TObject* Obj, const TPropInfo& Prop)>;

// Every property of Obj, then, depth first, of each sub-object (each object once).
void Walk(TObject* Obj, const std::string& Path, const TVisit& Visit, std::set<const TObject*>& Seen) {
  if (!Obj || !Seen.insert(Obj).second) return;
  for (const TPropInfo* p : GetPropList(Obj->ClassType())) {
    const std::string path = Path + "." + p->Name;
    Visit(path, Obj, *p);
    if (p->Kind == TPropKind::Object) Walk(AsObject(p->Get(Obj)), path, Visit, Seen);
  }
}

void Walk(TObject* Obj, const std::string& Path, const TVisit& Visit) {
  std::set<const TObject*> seen;
  Walk(Obj, Path, Visit, seen);
}

// The sub-object at a path as the walk names it ("TChart.Title.Font": below Root).
TObject* Resolve(TObject* Root, const std::string& Path) {
  for (size_t dot = Path.find('.'); Root && dot != std::string::npos;) {
    const size_t next = Path.find('.', dot + 1);
    Root = AsObject(GetPropValue(Root, Path.substr(dot + 1, next - dot - 1)));
    dot = next;
  }
  return Root;
}

bool IsValueKind(const TPropInfo& p) { return p.Kind != TPropKind::Object; }

// A string list held as a sub-object is a value: its lines.
TStrings* Lines(const TPropInfo& p, TObject* Obj) {
  return p.Kind == TPropKind::Object ? dynamic_cast<TStrings*>(AsObject(p.Get(Obj))) : nullptr;
}

// A value as text, by the property's kind, for comparing and for messages.
std::string Text(const TPropInfo& p, const TPropValue& v) {
  std::ostringstream s;
  switch (p.Kind) {
    case TPropKind::Float: s << double(AsFloat(v)); break;
    case TPropKind::Boolean: s << (AsBool(v) ? "true" : "false"); break;
    case TPropKind::String:
    case TPropKind::Event: s << '"' << AsString(v) << '"'; break;
    case TPropKind::Color: s << "0x" << std::hex << AsInt(v); break;
    case TPropKind::Enum: s << GetEnumName(p, AsInt(v)); break;
    case TPropKind::Object:
      if (auto* lines = dynamic_cast<TStrings*>(AsObject(v))) s << '"' << lines->Text() << '"';
      else s << "object";
      break;
    default: s << AsInt(v); break;
  }
  return s.str();
}

// A value of the property's kind that differs from Current.
TPropValue Another(const TPropInfo& p, const TPropValue& Current) {
  switch (p.Kind) {
    case TPropKind::Integer: return AsInt(Current) + 1;
    case TPropKind::Float: return AsFloat(Current) + 1.5L;
    case TPropKind::Boolean: return !AsBool(Current);
    case TPropKind::String: return AsString(Current) + "Z";
    case TPropKind::Event: return AsString(Current) + "Handler";
    case TPropKind::Enum: {
      const long long n = (long long)p.EnumNames.size();
      return n > 1 ? (AsInt(Current) + 1) % n : AsInt(Current) + 1;
    }
    case TPropKind::Set: return AsInt(Current) ^ 1LL;
    case TPropKind::Color: return (long long)(AsInt(Current) == clRed ? clBlue : clRed);
    case TPropKind::Object: break;
  }
  return Current;
}

// What Assign leaves alone: a component's name and tag (its identity), and event
// handlers (methods of the form that holds the source).
bool NotAssigned(const TPropInfo& p) {
  return p.Owner == TComponent::StaticClass() || p.Kind == TPropKind::Event;
}

std::string Join(const std::vector<std::string>& Lines) {
  std::string s;
  for (const std::string& l : Lines) s += "\n  " + l;
  return s;
}

class PublishedProperties : public testing::Test {
public:
  // Each once: a sub-object's fault also shows through every owner that copies it.
  std::vector<std::string> failures;
  void Fail(const std::string& Line) {
    if (std::find(failures.begin(), failures.end(), Line) == failures.end()) failures.push_back(Line);
  }
};

TEST_F(PublishedProperties, DefaultsAreWhatNewObjectsHold) {
  // The program's unit table has run (this program's environment): one class of each
  // unit that registers.
  for (const char* name : {"TForm", "TLumEmboss", "TLineSeries", "TSeriesDataXML"}) ASSERT_TRUE(GetClass(name)) << name;
  int checked = 0;
  for (const TRoot& root : Roots()) {
    std::unique_ptr<TObject> o(root.Create());
    // A class without its own metaclass would answer for its parent: wrong tables.
    EXPECT_EQ(o->ClassType(), root.Class) << root.Name();
    Walk(o.get(), root.Name(), [&](const std::string& path, TObject* obj, const TPropInfo& p) {
      if (!IsValueKind(p) || (!p.HasDefault && !p.StoredFn)) return;
      ++checked;
      if (!IsStoredProp(obj, p)) return;
      TPropValue def;
      const std::string declared = !p.StoredFn && GetPropDefault(obj, p, def) ? Text(p, def) : "(stored rule)";
      Fail(path + ": default " + declared + ", new object " + Text(p, p.Get(obj)));
    });
  }
  EXPECT_GT(checked, 1000);  // the walk reaches what it should
  EXPECT_TRUE(failures.empty()) << failures.size() << " defaults differ:" << Join(failures);
}

// A class that declares its published properties but was implemented without them
// (IMPLEMENT_CLASS instead of IMPLEMENT_CLASS_PROPS) streams none of them and slips
// through every other check here: its table is empty.
TEST_F(PublishedProperties, NoDeclaredTableIsLeftOut) {
  int classes = 0;
  for (TClass c : GetRegisteredClasses())
    for (TClass k = c; k; k = k->Parent, ++classes)
      if (k->PropertiesLeftOut) Fail(k->Name + " (reached from " + c->Name + ") has DefineProperties left out");
  EXPECT_GT(classes, 100);
  EXPECT_TRUE(failures.empty()) << failures.size() << " tables left out:" << Join(failures);
}

TEST_F(PublishedProperties, EveryValueSetIsReadBack) {
  int checked = 0;
  for (const TRoot& root : Roots()) {
    std::unique_ptr<TObject> o(root.Create());
    Walk(o.get(), root.Name(), [&](const std::string& path, TObject* obj, const TPropInfo& p) {
      if (!Settable(obj, p)) return;
      ++checked;
      TPropValue v = Another(p, p.Get(obj));
      try {
        try {
          p.Set(obj, v);
        } catch (const Exception&) {
          // A number kept within a range (a weight of 0..1): half of it is inside.
          if (p.Kind != TPropKind::Float || AsFloat(p.Get(obj)) == 0) throw;
          p.Set(obj, v = AsFloat(p.Get(obj)) / 2);
        }
      } catch (const Exception& e) {
        return Fail(path + ": setting " + Text(p, v) + " raised \"" + e.Message + "\"");
      }
      const std::string back = Text(p, p.Get(obj));
      if (back != Text(p, v)) Fail(path + ": set " + Text(p, v) + ", read " + back);
    });
  }
  EXPECT_GT(checked, 1000);  // the walk reaches what it should
  EXPECT_TRUE(failures.empty()) << failures.size() << " values not read back:" << Join(failures);
}

// What a new object holds is not stored (above); any other value is, the class's
// default too where the owner started the object otherwise: a title's font set to
// black must not come back navy.
TEST_F(PublishedProperties, EveryOtherValueIsStored) {
  int checked = 0;
  for (const TRoot& root : Roots()) {
    std::unique_ptr<TObject> o(root.Create());
    Walk(o.get(), root.Name(), [&](const std::string& path, TObject* obj, const TPropInfo& p) {
      if (!Settable(obj, p) || p.StoredFn || !p.HasDefault) return;
      const TPropValue start = p.Get(obj);  // earlier settings may have moved it
      TPropValue own;
      GetPropDefault(obj, p, own);
      for (const TPropValue& v : {Another(p, start), p.DefaultValue}) {
        if (SamePropValue(p, v, own)) continue;
        try {
          p.Set(obj, v);
        } catch (const Exception&) {
          continue;  // a value out of the property's range, reported by EveryValueSetIsReadBack
        }
        ++checked;
        if (!IsStoredProp(obj, p)) Fail(path + ": " + Text(p, v) + " is not stored");
        p.Set(obj, start);
      }
    });
  }
  EXPECT_GT(checked, 1000);
  EXPECT_TRUE(failures.empty()) << failures.size() << " values not stored:" << Join(failures);
}

// Fails for each property of Dst that differs from Src (both walked side by side).
void Compare(PublishedProperties& Test, TObject* Src, TObject* Dst, const std::string& Where,
             const std::string& What) {
  std::vector<std::pair<std::string, std::string>> want, got;
  Walk(Src, Where, [&](const std::string& path, TObject* obj, const TPropInfo& p) {
    if (!NotAssigned(p)) want.emplace_back(path, Text(p, p.Get(obj)));
  });
  Walk(Dst, Where, [&](const std::string& path, TObject* obj, const TPropInfo& p) {
    if (!NotAssigned(p)) got.emplace_back(path, Text(p, p.Get(obj)));
  });
  ASSERT_EQ(want.size(), got.size()) << Where;
  for (size_t i = 0; i < want.size(); ++i)
    if (want[i] != got[i]) Test.Fail(want[i].first + ": " + What + " " + want[i].second + ", assigned " + got[i].second);
}

// For each object the walk reaches (the root and every sub-object): the same object
// in three new roots; every property of the first changed and the second assigned
// from it, then the second assigned from the untouched third (whose sub-objects
// created on first read do not exist yet), and compared after each.
TEST_F(PublishedProperties, AssignCopiesEveryProperty) {
  int assigned = 0;
  for (const TRoot& root : Roots()) {
    std::vector<std::string> paths{root.Name()};
    {
      std::unique_ptr<TObject> o(root.Create());
      Walk(o.get(), root.Name(), [&](const std::string& path, TObject*, const TPropInfo& p) {
        if (p.Kind == TPropKind::Object) paths.push_back(path);
      });
    }
    for (const std::string& where : paths) {
      std::unique_ptr<TObject> a(root.Create()), b(root.Create());
      auto* src = dynamic_cast<TPersistent*>(Resolve(a.get(), where));
      auto* dst = dynamic_cast<TPersistent*>(Resolve(b.get(), where));
      if (!src || !dst) continue;
      Walk(src, where, [&](const std::string&, TObject* obj, const TPropInfo& p) {
        if (TStrings* lines = Lines(p, obj)) lines->Add("Line");
        if (!Settable(obj, p) || NotAssigned(p)) return;
        try {
          p.Set(obj, Another(p, p.Get(obj)));
        } catch (const Exception&) {
          // reported by EveryValueSetIsReadBack
        }
      });
      try {
        dst->Assign(src);
      } catch (const EConvertError&) {
        continue;  // the class does not copy itself
      }
      ++assigned;
      Compare(*this, src, dst, where, "source");
      std::unique_ptr<TObject> c(root.Create());
      auto* fresh = dynamic_cast<TPersistent*>(Resolve(c.get(), where));
      dst->Assign(fresh);
      Compare(*this, fresh, dst, where, "new");
    }
  }
  EXPECT_GT(assigned, 100);
  EXPECT_TRUE(failures.empty()) << failures.size() << " properties not copied:" << Join(failures);
}

}  // namespace
