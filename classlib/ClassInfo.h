#pragma once
// Run-time class information and published properties.
//
// Every class of the class library describes itself once: its name, its
// parent class and the properties it publishes. Anyone can then ask an object
// for its class name, test its ancestry by class or by name, and read or write
// a published property by name. A property that does not exist reads as an
// empty value and ignores writes: callers that probe other vendors' controls
// ("Caption", "Glyph", "Checked") rely on that.
#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

#include "classlib/TextUtils.h"

class TObject;
class TClassInfo;

// A property value: integer, boolean, text (also enumerations and sets, as
// their identifiers), object, byte string, list of lines, or an event handler.
class TValue {
public:
    enum class Kind { Empty, Integer, Boolean, Text, Object, Bytes, Strings, Method };

    TValue() = default;
    TValue(std::int64_t v) : kind_(Kind::Integer), integer_(v) {}
    TValue(int v) : TValue(static_cast<std::int64_t>(v)) {}
    TValue(bool v) : kind_(Kind::Boolean), integer_(v) {}
    TValue(std::wstring v) : kind_(Kind::Text), text_(std::move(v)) {}
    TValue(const wchar_t* v) : TValue(std::wstring(v)) {}
    TValue(TObject* v) : kind_(Kind::Object), object_(v) {}
    TValue(std::vector<std::uint8_t> v) : kind_(Kind::Bytes), bytes_(std::move(v)) {}
    TValue(std::vector<std::wstring> v) : kind_(Kind::Strings), strings_(std::move(v)) {}
    static TValue Method(std::any handler) {
        TValue v;
        v.kind_ = Kind::Method;
        v.method_ = std::move(handler);
        return v;
    }

    Kind GetKind() const { return kind_; }
    bool IsEmpty() const { return kind_ == Kind::Empty; }
    // Lenient reads: an integer read as text gives its decimal form, "True"
    // read as boolean gives true, an empty value gives 0, false, "" or nothing.
    std::int64_t AsInteger() const;
    bool AsBoolean() const;
    std::wstring AsText() const;
    TObject* AsObject() const { return kind_ == Kind::Object ? object_ : nullptr; }
    const std::vector<std::uint8_t>& AsBytes() const { return bytes_; }
    std::vector<std::wstring> AsStrings() const;
    const std::any& AsMethod() const { return method_; }

private:
    Kind kind_ = Kind::Empty;
    std::int64_t integer_ = 0;
    std::wstring text_;
    TObject* object_ = nullptr;
    std::vector<std::uint8_t> bytes_;
    std::vector<std::wstring> strings_;
    std::any method_;
};

enum class TPropKind { Integer, Boolean, Text, Enumeration, Set, Object, Bytes, Strings, Event };

struct TPropInfo {
    std::wstring_view Name;
    TPropKind Kind;
    std::function<TValue(const TObject&)> Get;
    std::function<void(TObject&, const TValue&)> Set;  // empty for read-only properties
    std::vector<std::wstring_view> Names;              // enumeration and set member names
};

// A published method (an event handler a stored layout can name).
struct TMethodInfo {
    std::wstring_view Name;
    std::type_index Signature;                         // typeid of the handler's std::function type
    std::function<std::any(TObject& instance)> Bind;   // the handler bound to an instance
};

class TClassInfo {
public:
    TClassInfo(std::wstring_view name, const TClassInfo* parent, std::vector<TPropInfo> properties = {},
               std::vector<TMethodInfo> methods = {});

    std::wstring_view Name() const { return name_; }
    const TClassInfo* Parent() const { return parent_; }
    bool InheritsFrom(const TClassInfo& other) const;
    // Case-insensitive, like class names in the platform's type information.
    bool InheritsFrom(std::wstring_view className) const;
    // Looks in this class and its ancestors; nullptr when not published.
    const TPropInfo* FindProperty(std::wstring_view name) const;
    const TMethodInfo* FindMethod(std::wstring_view name) const;
    const std::vector<TPropInfo>& OwnProperties() const { return properties_; }

private:
    std::wstring_view name_;
    const TClassInfo* parent_;
    std::vector<TPropInfo> properties_;
    std::vector<TMethodInfo> methods_;
};

// The root of every class-library class.
class TObject {
public:
    virtual ~TObject() = default;
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;

    static const TClassInfo& StaticClass();
    virtual const TClassInfo& ClassType() const { return StaticClass(); }
    std::wstring_view ClassName() const { return ClassType().Name(); }
    bool InheritsFrom(const TClassInfo& c) const { return ClassType().InheritsFrom(c); }
    bool InheritsFrom(std::wstring_view className) const { return ClassType().InheritsFrom(className); }
    template <class T> bool Is() const { return InheritsFrom(T::StaticClass()); }

    // Published properties by name. Missing properties read as empty values
    // and ignore writes; a value of the wrong kind is converted leniently.
    bool HasProperty(std::wstring_view name) const { return ClassType().FindProperty(name) != nullptr; }
    TValue GetProperty(std::wstring_view name) const;
    void SetProperty(std::wstring_view name, const TValue& value);
};

// Declares the class information members of a class-library class.
#define DECLARE_CLASS_INFO()                                    \
public:                                                         \
    static const TClassInfo& StaticClass();                     \
    const TClassInfo& ClassType() const override { return StaticClass(); }

// Checked downcast by class information (nullptr when o is not a T).
template <class T> T* As(TObject* o) { return o && o->Is<T>() ? static_cast<T*>(o) : nullptr; }

// Property declaration helpers for the tables in each class's StaticClass().
namespace props {

template <class C, class V>
TPropInfo Integer(std::wstring_view name, V (C::*get)() const, void (C::*set)(V)) {
    return {name, TPropKind::Integer,
            [get](const TObject& o) { return TValue(static_cast<std::int64_t>((static_cast<const C&>(o).*get)())); },
            set ? std::function<void(TObject&, const TValue&)>([set](TObject& o, const TValue& v) {
                (static_cast<C&>(o).*set)(static_cast<V>(v.AsInteger()));
            })
                : nullptr,
            {}};
}

template <class C>
TPropInfo Boolean(std::wstring_view name, bool (C::*get)() const, void (C::*set)(bool)) {
    return {name, TPropKind::Boolean, [get](const TObject& o) { return TValue((static_cast<const C&>(o).*get)()); },
            set ? std::function<void(TObject&, const TValue&)>(
                      [set](TObject& o, const TValue& v) { (static_cast<C&>(o).*set)(v.AsBoolean()); })
                : nullptr,
            {}};
}

template <class C>
TPropInfo Text(std::wstring_view name, std::wstring (C::*get)() const, void (C::*set)(const std::wstring&)) {
    return {name, TPropKind::Text, [get](const TObject& o) { return TValue((static_cast<const C&>(o).*get)()); },
            set ? std::function<void(TObject&, const TValue&)>(
                      [set](TObject& o, const TValue& v) { (static_cast<C&>(o).*set)(v.AsText()); })
                : nullptr,
            {}};
}

// Enumerations are read and written as their identifiers, in declaration order.
template <class C, class E>
TPropInfo Enumeration(std::wstring_view name, E (C::*get)() const, void (C::*set)(E),
                      std::vector<std::wstring_view> names) {
    TPropInfo p{name, TPropKind::Enumeration, nullptr, nullptr, std::move(names)};
    const auto ids = p.Names;
    p.Get = [get, ids](const TObject& o) {
        const auto i = static_cast<std::size_t>((static_cast<const C&>(o).*get)());
        return TValue(i < ids.size() ? std::wstring(ids[i]) : std::wstring());
    };
    p.Set = [set, ids](TObject& o, const TValue& v) {
        const std::wstring text = v.AsText();
        for (std::size_t i = 0; i < ids.size(); ++i)
            if (SameText(text, ids[i])) {
                (static_cast<C&>(o).*set)(static_cast<E>(i));
                return;
            }
        if (v.GetKind() == TValue::Kind::Integer) (static_cast<C&>(o).*set)(static_cast<E>(v.AsInteger()));
    };
    return p;
}

// Sets are bit masks (member i is bit i), read and written as "[a, b]".
TPropInfo SetOf(std::wstring_view name, std::function<std::uint32_t(const TObject&)> get,
                std::function<void(TObject&, std::uint32_t)> set, std::vector<std::wstring_view> names);

template <class C>
TPropInfo SetOf(std::wstring_view name, std::uint32_t (C::*get)() const, void (C::*set)(std::uint32_t),
                std::vector<std::wstring_view> names) {
    return SetOf(
        name, [get](const TObject& o) { return (static_cast<const C&>(o).*get)(); },
        [set](TObject& o, std::uint32_t v) { (static_cast<C&>(o).*set)(v); }, std::move(names));
}

// An owned sub-object (a font, a bitmap): written through its own properties.
template <class C, class T>
TPropInfo Object(std::wstring_view name, T* (C::*get)() const) {
    return {name, TPropKind::Object,
            [get](const TObject& o) { return TValue(static_cast<TObject*>((static_cast<const C&>(o).*get)())); },
            nullptr, {}};
}

// A reference to another object (a menu, an active control), settable.
template <class C, class T>
TPropInfo Reference(std::wstring_view name, T* (C::*get)() const, void (C::*set)(T*)) {
    return {name, TPropKind::Object,
            [get](const TObject& o) { return TValue(static_cast<TObject*>((static_cast<const C&>(o).*get)())); },
            [set](TObject& o, const TValue& v) { (static_cast<C&>(o).*set)(As<T>(v.AsObject())); }, {}};
}

template <class C>
TPropInfo Strings(std::wstring_view name, std::vector<std::wstring> (C::*get)() const,
                  void (C::*set)(const std::vector<std::wstring>&)) {
    return {name, TPropKind::Strings, [get](const TObject& o) { return TValue((static_cast<const C&>(o).*get)()); },
            [set](TObject& o, const TValue& v) { (static_cast<C&>(o).*set)(v.AsStrings()); }, {}};
}

// An event: the value is a std::function of the event's type (in a std::any).
template <class C, class F>
TPropInfo Event(std::wstring_view name, F C::*field) {
    return {name, TPropKind::Event,
            [field](const TObject& o) { return TValue::Method(std::any((static_cast<const C&>(o).*field))); },
            [field](TObject& o, const TValue& v) {
                if (const F* f = std::any_cast<F>(&v.AsMethod())) static_cast<C&>(o).*field = *f;
            },
            {}};
}

// A published handler: bound to the instance when a stored layout names it.
template <class C, class... Args>
TMethodInfo Handler(std::wstring_view name, void (C::*method)(Args...)) {
    using F = std::function<void(Args...)>;
    return {name, std::type_index(typeid(F)), [method](TObject& instance) {
                C* self = static_cast<C*>(&instance);
                return std::any(F([self, method](Args... args) { (self->*method)(args...); }));
            }};
}

}  // namespace props
