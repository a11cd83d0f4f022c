// Published properties: per-class tables, read and written by name.
//
// A class lists its own properties in `static void DefineProperties(TPropertyTable& t)`,
// one short line each, for example
//   t.Int("Width", &TChartPen::Width, &TChartPen::SetWidth).Default(1);
//   t.Enum("Style", &TChartPen::Style, &TChartPen::SetStyle, {"psSolid", "psDash"}).Default(0);
//   t.Object("Pen", &TChartSeries::Pen);            // sub-object, streamed by its own table
//   t.Event("OnClick", &TButton::OnClick);
// and IMPLEMENT_CLASS_PROPS links the table to the metaclass.
#pragma once
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/classes.h"

enum class TPropKind { Integer, Float, Boolean, String, Enum, Set, Color, Object, Event };

using TPropValue = std::variant<std::monostate, long long, long double, bool, std::string, TObject*>;

struct TPropInfo {
  std::string Name;
  TPropKind Kind = TPropKind::Integer;
  TClass Owner = nullptr;  // class that declares it
  std::function<TPropValue(const TObject*)> Get;
  std::function<void(TObject*, const TPropValue&)> Set;  // empty: read-only
  bool HasDefault = false;
  TPropValue DefaultValue;
  std::function<bool(const TObject*)> StoredFn;  // empty: stored unless equal to the default
  std::vector<std::string> EnumNames;              // Enum and Set kinds

  // Chainable settings for the declaration line.
  TPropInfo& Default(TPropValue v) { HasDefault = true; DefaultValue = std::move(v); return *this; }
  TPropInfo& Stored(std::function<bool(const TObject*)> fn) { StoredFn = std::move(fn); return *this; }
  // Only a real bool, so a rule may be written as a plain lambda (which would otherwise
  // convert to one).
  template <class B, std::enable_if_t<std::is_same_v<B, bool>, int> = 0>
  TPropInfo& Stored(B always) { StoredFn = [always](const TObject*) { return always; }; return *this; }
};

namespace typinfo_detail {
template <class V>
TPropValue ToProp(const V& v) {
  if constexpr (std::is_same_v<V, bool>) return v;
  else if constexpr (std::is_enum_v<V>) return (long long)v;
  else if constexpr (std::is_integral_v<V>) return (long long)v;
  else if constexpr (std::is_floating_point_v<V>) return (long double)v;
  else if constexpr (std::is_convertible_v<V, std::string>) return std::string(v);
  else if constexpr (std::is_pointer_v<V>) return static_cast<TObject*>(v);
  else static_assert(sizeof(V) == 0, "unsupported property type");
}
// EPropertyError "Invalid property value" when the variant holds another kind.
long long AsInt(const TPropValue& v);
long double AsFloat(const TPropValue& v);
bool AsBool(const TPropValue& v);
std::string AsString(const TPropValue& v);
TObject* AsObject(const TPropValue& v);
template <class V>
V FromProp(const TPropValue& v) {
  if constexpr (std::is_same_v<V, bool>) return AsBool(v);
  else if constexpr (std::is_enum_v<V>) return V(AsInt(v));
  else if constexpr (std::is_integral_v<V>) return V(AsInt(v));
  else if constexpr (std::is_floating_point_v<V>) return V(AsFloat(v));
  else if constexpr (std::is_same_v<V, std::string>) return AsString(v);
  else if constexpr (std::is_pointer_v<V>) return static_cast<V>(AsObject(v));
  else static_assert(sizeof(V) == 0, "unsupported property type");
}
template <class C, class R>
std::function<TPropValue(const TObject*)> Getter(R (C::*g)() const) {
  return [g](const TObject* o) { return ToProp<std::decay_t<R>>((static_cast<const C*>(o)->*g)()); };
}
template <class C, class A>
std::function<void(TObject*, const TPropValue&)> Setter(void (C::*s)(A)) {
  if (!s) return {};
  return [s](TObject* o, const TPropValue& v) { (static_cast<C*>(o)->*s)(FromProp<std::decay_t<A>>(v)); };
}
}  // namespace typinfo_detail

class TPropertyTable {
public:
  explicit TPropertyTable(TClass owner = nullptr) : owner_(owner) {}

  template <class C, class R, class A>
  TPropInfo& Int(const char* name, R (C::*get)() const, void (C::*set)(A)) {
    return Add(name, TPropKind::Integer, typinfo_detail::Getter(get), typinfo_detail::Setter(set));
  }
  template <class C, class R, class A>
  TPropInfo& Float(const char* name, R (C::*get)() const, void (C::*set)(A)) {
    return Add(name, TPropKind::Float, typinfo_detail::Getter(get), typinfo_detail::Setter(set));
  }
  template <class C, class A>
  TPropInfo& Bool(const char* name, bool (C::*get)() const, void (C::*set)(A)) {
    return Add(name, TPropKind::Boolean, typinfo_detail::Getter(get), typinfo_detail::Setter(set));
  }
  template <class C, class R, class A>
  TPropInfo& Str(const char* name, R (C::*get)() const, void (C::*set)(A)) {
    return Add(name, TPropKind::String, typinfo_detail::Getter(get), typinfo_detail::Setter(set));
  }
  template <class C, class R, class A>
  TPropInfo& Color(const char* name, R (C::*get)() const, void (C::*set)(A)) {
    return Add(name, TPropKind::Color, typinfo_detail::Getter(get), typinfo_detail::Setter(set));
  }
  template <class C, class R, class A>
  TPropInfo& Enum(const char* name, R (C::*get)() const, void (C::*set)(A),
                  std::initializer_list<const char*> names) {
    TPropInfo& p = Add(name, TPropKind::Enum, typinfo_detail::Getter(get), typinfo_detail::Setter(set));
    for (const char* n : names) p.EnumNames.emplace_back(n);
    return p;
  }
  // A set stored as a bit mask; names give the bits from bit 0 up.
  template <class C, class R, class A>
  TPropInfo& Set(const char* name, R (C::*get)() const, void (C::*set)(A),
                 std::initializer_list<const char*> names) {
    TPropInfo& p = Add(name, TPropKind::Set, typinfo_detail::Getter(get), typinfo_detail::Setter(set));
    for (const char* n : names) p.EnumNames.emplace_back(n);
    return p;
  }
  // A sub-object: read-only reference; writers descend into it.
  template <class C, class R>
  TPropInfo& Object(const char* name, R* (C::*get)() const) {
    return Add(name, TPropKind::Object, typinfo_detail::Getter(get), {});
  }
  // An event field: its value is the handler's method name.
  template <class C, class E>
  TPropInfo& Event(const char* name, E C::*field) {
    return Add(name, TPropKind::Event,
               [field](const TObject* o) -> TPropValue { return (static_cast<const C*>(o)->*field).MethodName; },
               [field](TObject* o, const TPropValue& v) { (static_cast<C*>(o)->*field).MethodName = typinfo_detail::AsString(v); });
  }
  TPropInfo& Add(const char* name, TPropKind kind, std::function<TPropValue(const TObject*)> get,
                 std::function<void(TObject*, const TPropValue&)> set);

  const std::vector<TPropInfo>& Props() const { return props_; }

private:
  TClass owner_;
  std::vector<TPropInfo> props_;
};

// All published properties of a class, ancestors first.
std::vector<const TPropInfo*> GetPropList(TClass c);
const TPropInfo* GetPropInfo(TClass c, const std::string& name);  // case-insensitive; nullptr
// EPropertyError "Unknown property: \"%s\"" / "Property %s is read-only".
TPropValue GetPropValue(const TObject* o, const std::string& name);
void SetPropValue(TObject* o, const std::string& name, const TPropValue& v);
long long GetOrdProp(const TObject* o, const std::string& name);
void SetOrdProp(TObject* o, const std::string& name, long long v);
std::string GetStrProp(const TObject* o, const std::string& name);
void SetStrProp(TObject* o, const std::string& name, const std::string& v);
long double GetFloatProp(const TObject* o, const std::string& name);
void SetFloatProp(TObject* o, const std::string& name, long double v);
// Enumeration values by name, as streams write them; Set kinds as "[a,b]".
std::string GetEnumProp(const TObject* o, const std::string& name);
void SetEnumProp(TObject* o, const std::string& name, const std::string& value);
std::string GetEnumName(const TPropInfo& p, long long value);
long long GetEnumValue(const TPropInfo& p, const std::string& name);  // -1 when unknown
// A property is stored when its stored rule says so, or, without one, when it differs
// from its default (always when it has none).
bool IsStoredProp(const TObject* o, const TPropInfo& p);

// Instance defaults. An owner that starts a sub-object otherwise than the sub-object's
// class declares (a title's navy font, the hidden pointer of a line series) calls
// RecordDefaults once it has set those values: the values that then differ from the
// declared defaults become this object's own, so what a new owner holds is never
// stored and a value set back to the class's default is. Assign does not copy them.
struct TPropDefaults {
  std::vector<std::pair<const TPropInfo*, TPropValue>> Values;
};
void RecordDefaults(TPersistent* Obj);
const TPropDefaults* InstanceDefaults(const TPersistent* Obj);
// The default that applies to o: its own, else the declared one; false when neither.
bool GetPropDefault(const TObject* o, const TPropInfo& p, TPropValue& Value);
// Equal as values of the property's kind (1 and 1.0 alike; objects never).
bool SamePropValue(const TPropInfo& p, const TPropValue& a, const TPropValue& b);
