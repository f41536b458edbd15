#include "classlib/ClassInfo.h"

#include <cwchar>

std::int64_t TValue::AsInteger() const {
    switch (kind_) {
    case Kind::Integer:
    case Kind::Boolean: return integer_;
    case Kind::Text: {
        const std::wstring& t = text_;
        if (SameText(t, L"True")) return 1;
        wchar_t* end = nullptr;
        const bool hex = !t.empty() && t[0] == L'$';
        const long long v = std::wcstoll(t.c_str() + (hex ? 1 : 0), &end, hex ? 16 : 10);
        return end && *end == 0 ? v : 0;
    }
    default: return 0;
    }
}

bool TValue::AsBoolean() const {
    switch (kind_) {
    case Kind::Integer:
    case Kind::Boolean: return integer_ != 0;
    case Kind::Text: return SameText(text_, L"True");
    case Kind::Object: return object_ != nullptr;
    default: return false;
    }
}

std::wstring TValue::AsText() const {
    switch (kind_) {
    case Kind::Integer: return IntToStr(integer_);
    case Kind::Boolean: return integer_ ? L"True" : L"False";
    case Kind::Text: return text_;
    case Kind::Strings: {
        std::wstring all;
        for (const auto& line : strings_) all += line + L"\r\n";
        return all;
    }
    default: return {};
    }
}

std::vector<std::wstring> TValue::AsStrings() const {
    if (kind_ == Kind::Strings) return strings_;
    if (kind_ != Kind::Text) return {};
    // Text splits into lines at CR LF, CR or LF; a final break adds no line.
    std::vector<std::wstring> lines;
    std::wstring line;
    for (std::size_t i = 0; i < text_.size(); ++i) {
        const wchar_t c = text_[i];
        if (c == L'\r' || c == L'\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == L'\r' && i + 1 < text_.size() && text_[i + 1] == L'\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

TClassInfo::TClassInfo(std::wstring_view name, const TClassInfo* parent, std::vector<TPropInfo> properties,
                       std::vector<TMethodInfo> methods)
    : name_(name), parent_(parent), properties_(std::move(properties)), methods_(std::move(methods)) {}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (c == &other) return true;
    return false;
}

bool TClassInfo::InheritsFrom(std::wstring_view className) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (SameText(c->name_, className)) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(std::wstring_view name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const TPropInfo& p : c->properties_)
            if (SameText(p.Name, name)) return &p;
    return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(std::wstring_view name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const TMethodInfo& m : c->methods_)
            if (SameText(m.Name, name)) return &m;
    return nullptr;
}

const TClassInfo& TObject::StaticClass() {
    static const TClassInfo info(L"TObject", nullptr);
    return info;
}

TValue TObject::GetProperty(std::wstring_view name) const {
    const TPropInfo* p = ClassType().FindProperty(name);
    return p && p->Get ? p->Get(*this) : TValue();
}

void TObject::SetProperty(std::wstring_view name, const TValue& value) {
    const TPropInfo* p = ClassType().FindProperty(name);
    if (p && p->Set) p->Set(*this, value);
}

namespace props {

TPropInfo SetOf(std::wstring_view name, std::function<std::uint32_t(const TObject&)> get,
                std::function<void(TObject&, std::uint32_t)> set, std::vector<std::wstring_view> names) {
    TPropInfo p{name, TPropKind::Set, nullptr, nullptr, std::move(names)};
    const auto ids = p.Names;
    p.Get = [get, ids](const TObject& o) {
        const std::uint32_t bits = get(o);
        std::wstring text = L"[";
        for (std::size_t i = 0; i < ids.size() && i < 32; ++i)
            if (bits & (1u << i)) {
                if (text.size() > 1) text += L", ";
                text += ids[i];
            }
        return TValue(text + L"]");
    };
    p.Set = [set, ids](TObject& o, const TValue& v) {
        if (v.GetKind() == TValue::Kind::Integer) {
            set(o, static_cast<std::uint32_t>(v.AsInteger()));
            return;
        }
        // "[a, b]" or the members as a list; unknown members are ignored.
        std::vector<std::wstring> members = v.AsStrings();
        if (v.GetKind() == TValue::Kind::Text) {
            members.clear();
            std::wstring cur;
            for (wchar_t c : v.AsText()) {
                if (c == L'[' || c == L']' || c == L',' || c == L' ') {
                    if (!cur.empty()) members.push_back(cur);
                    cur.clear();
                } else {
                    cur += c;
                }
            }
            if (!cur.empty()) members.push_back(cur);
        }
        std::uint32_t bits = 0;
        for (const auto& m : members)
            for (std::size_t i = 0; i < ids.size() && i < 32; ++i)
                if (SameText(m, ids[i])) bits |= 1u << i;
        set(o, bits);
    };
    return p;
}

}  // namespace props
