#include "platform/typinfo.h"

#include <memory>

namespace typinfo_detail {
namespace {
[[noreturn]] void Bad() { throw EPropertyError("Invalid property value"); }
}  // namespace

long long AsInt(const TPropValue& v) {
  if (auto p = std::get_if<long long>(&v)) return *p;
  if (auto b = std::get_if<bool>(&v)) return *b;
  if (auto f = std::get_if<long double>(&v)) return (long long)*f;
  Bad();
}
long double AsFloat(const TPropValue& v) {
  if (auto f = std::get_if<long double>(&v)) return *f;
  if (auto p = std::get_if<long long>(&v)) return (long double)*p;
  Bad();
}
bool AsBool(const TPropValue& v) {
  if (auto b = std::get_if<bool>(&v)) return *b;
  if (auto p = std::get_if<long long>(&v)) return *p != 0;
  Bad();
}
std::string AsString(const TPropValue& v) {
  if (auto s = std::get_if<std::string>(&v)) return *s;
  Bad();
}
TObject* AsObject(const TPropValue& v) {
  if (auto o = std::get_if<TObject*>(&v)) return *o;
  if (std::holds_alternative<std::monostate>(v)) return nullptr;
  Bad();
}
}  // namespace typinfo_detail

TPropInfo& TPropertyTable::Add(const char* name, TPropKind kind, std::function<TPropValue(const TObject*)> get,
                               std::function<void(TObject*, const TPropValue&)> set) {
  TPropInfo p;
  p.Name = name;
  p.Kind = kind;
  p.Owner = owner_;
  p.Get = std::move(get);
  p.Set = std::move(set);
  props_.push_back(std::move(p));
  return props_.back();
}

std::vector<const TPropInfo*> GetPropList(TClass c) {
  std::vector<TClass> chain;
  for (TClass k = c; k; k = k->Parent) chain.push_back(k);
  std::vector<const TPropInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const TPropInfo& p : (*it)->OwnProperties().Props()) {
      // A descendant's redeclaration replaces the ancestor's entry in place.
      auto same = std::find_if(out.begin(), out.end(), [&](const TPropInfo* q) { return SameText(q->Name, p.Name); });
      if (same != out.end()) *same = &p;
      else out.push_back(&p);
    }
  }
  return out;
}

const TPropInfo* GetPropInfo(TClass c, const std::string& name) {
  for (TClass k = c; k; k = k->Parent)
    for (const TPropInfo& p : k->OwnProperties().Props())
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

namespace {
const TPropInfo& Need(const TObject* o, const std::string& name) {
  const TPropInfo* p = o ? GetPropInfo(o->ClassType(), name) : nullptr;
  if (!p) throw EPropertyError(Format("Unknown property: \"%s\"", name));
  return *p;
}
}  // namespace

TPropValue GetPropValue(const TObject* o, const std::string& name) { return Need(o, name).Get(o); }

void SetPropValue(TObject* o, const std::string& name, const TPropValue& v) {
  const TPropInfo& p = Need(o, name);
  if (!p.Set) throw EPropertyError(Format("Property %s is read-only", p.Name));
  p.Set(o, v);
}

long long GetOrdProp(const TObject* o, const std::string& name) { return typinfo_detail::AsInt(GetPropValue(o, name)); }
void SetOrdProp(TObject* o, const std::string& name, long long v) {
  const TPropInfo& p = Need(o, name);
  if (p.Kind == TPropKind::Boolean) SetPropValue(o, name, v != 0);
  else SetPropValue(o, name, v);
}
std::string GetStrProp(const TObject* o, const std::string& name) { return typinfo_detail::AsString(GetPropValue(o, name)); }
void SetStrProp(TObject* o, const std::string& name, const std::string& v) { SetPropValue(o, name, v); }
long double GetFloatProp(const TObject* o, const std::string& name) { return typinfo_detail::AsFloat(GetPropValue(o, name)); }
void SetFloatProp(TObject* o, const std::string& name, long double v) { SetPropValue(o, name, v); }

std::string GetEnumName(const TPropInfo& p, long long value) {
  if (p.Kind == TPropKind::Boolean) return value ? "True" : "False";
  if (value >= 0 && value < (long long)p.EnumNames.size()) return p.EnumNames[size_t(value)];
  return std::to_string(value);
}

long long GetEnumValue(const TPropInfo& p, const std::string& name) {
  if (p.Kind == TPropKind::Boolean) {
    if (SameText(name, "True")) return 1;
    if (SameText(name, "False")) return 0;
    return -1;
  }
  for (size_t i = 0; i < p.EnumNames.size(); ++i)
    if (SameText(p.EnumNames[i], name)) return (long long)i;
  return -1;
}

std::string GetEnumProp(const TObject* o, const std::string& name) {
  const TPropInfo& p = Need(o, name);
  long long v = typinfo_detail::AsInt(p.Get(o));
  if (p.Kind != TPropKind::Set) return GetEnumName(p, v);
  std::string r = "[";
  for (size_t i = 0; i < p.EnumNames.size(); ++i)
    if (v & (1LL << i)) r += (r.size() > 1 ? "," : "") + p.EnumNames[i];
  return r + "]";
}

void SetEnumProp(TObject* o, const std::string& name, const std::string& value) {
  const TPropInfo& p = Need(o, name);
  if (p.Kind == TPropKind::Set) {
    std::string body = Trim(value);
    if (!body.empty() && body.front() == '[') body.erase(0, 1);
    if (!body.empty() && body.back() == ']') body.pop_back();
    long long mask = 0;
    size_t i = 0;
    while (i <= body.size()) {
      size_t j = body.find(',', i);
      if (j == std::string::npos) j = body.size();
      std::string item = Trim(body.substr(i, j - i));
      if (!item.empty()) {
        long long bit = GetEnumValue(p, item);
        if (bit < 0) throw EPropertyError("Invalid property value");
        mask |= 1LL << bit;
      }
      i = j + 1;
    }
    SetPropValue(o, name, mask);
    return;
  }
  long long v = GetEnumValue(p, value);
  if (v < 0) throw EPropertyError("Invalid property value");
  if (p.Kind == TPropKind::Boolean) SetPropValue(o, name, v != 0);
  else SetPropValue(o, name, v);
}

bool SamePropValue(const TPropInfo& p, const TPropValue& a, const TPropValue& b) {
  switch (p.Kind) {
    case TPropKind::Float: return typinfo_detail::AsFloat(a) == typinfo_detail::AsFloat(b);
    case TPropKind::String:
    case TPropKind::Event: return typinfo_detail::AsString(a) == typinfo_detail::AsString(b);
    case TPropKind::Object: return false;
    default: return typinfo_detail::AsInt(a) == typinfo_detail::AsInt(b);
  }
}

void RecordDefaults(TPersistent* Obj) {
  auto d = std::make_unique<TPropDefaults>();
  for (const TPropInfo* p : GetPropList(Obj->ClassType())) {
    if (!p->HasDefault || p->Kind == TPropKind::Object || p->Kind == TPropKind::Event) continue;
    TPropValue v = p->Get(Obj);
    if (!SamePropValue(*p, v, p->DefaultValue)) d->Values.emplace_back(p, std::move(v));
  }
  if (d->Values.empty()) d.reset();
  Obj->defaults_ = std::move(d);
}

const TPropDefaults* InstanceDefaults(const TPersistent* Obj) { return Obj->defaults_.get(); }

bool GetPropDefault(const TObject* o, const TPropInfo& p, TPropValue& Value) {
  if (auto* persistent = dynamic_cast<const TPersistent*>(o))
    if (const TPropDefaults* d = InstanceDefaults(persistent))
      for (const auto& [info, v] : d->Values)
        if (info == &p) {
          Value = v;
          return true;
        }
  if (!p.HasDefault) return false;
  Value = p.DefaultValue;
  return true;
}

bool IsStoredProp(const TObject* o, const TPropInfo& p) {
  if (p.StoredFn) return p.StoredFn(o);
  TPropValue def;
  if (!GetPropDefault(o, p, def)) return true;
  if (p.Kind == TPropKind::Object || p.Kind == TPropKind::Event) return true;
  return !SamePropValue(p, p.Get(o), def);
}
