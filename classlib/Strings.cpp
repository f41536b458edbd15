#include "classlib/Strings.h"

#include <stdexcept>

const TClassInfo& TStrings::StaticClass() {
    static const TClassInfo info(
        L"TStrings", &TPersistent::StaticClass(),
        {
            TPropInfo{L"Strings", TPropKind::Strings,
                      [](const TObject& o) { return TValue(static_cast<const TStrings&>(o).ToVector()); },
                      [](TObject& o, const TValue& v) { static_cast<TStrings&>(o).Assign(v.AsStrings()); },
                      {}},
        });
    return info;
}

int TStrings::Add(const std::wstring& text) {
    const int index = Count();
    Insert(index, text);
    return index;
}

int TStrings::IndexOf(const std::wstring& text) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(Get(i), text)) return i;
    return -1;
}

std::wstring TStrings::Text() const {
    std::wstring all;
    for (int i = 0; i < Count(); ++i) all += Get(i) + L"\r\n";
    return all;
}

void TStrings::SetText(const std::wstring& text) { Assign(TValue(text).AsStrings()); }

std::vector<std::wstring> TStrings::ToVector() const {
    std::vector<std::wstring> v;
    v.reserve(static_cast<std::size_t>(Count()));
    for (int i = 0; i < Count(); ++i) v.push_back(Get(i));
    return v;
}

void TStrings::Assign(const TPersistent& source) {
    if (auto* s = dynamic_cast<const TStrings*>(&source)) {
        Assign(s->ToVector());
        return;
    }
    TPersistent::Assign(source);
}

void TStrings::Assign(const std::vector<std::wstring>& lines) {
    Clear();
    for (const auto& line : lines) Add(line);
}

std::wstring TStrings::Values(const std::wstring& name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::wstring line = Get(i);
        const auto eq = line.find(L'=');
        if (eq != std::wstring::npos && SameText(std::wstring_view(line).substr(0, eq), name))
            return line.substr(eq + 1);
    }
    return {};
}

const TClassInfo& TStringList::StaticClass() {
    static const TClassInfo info(L"TStringList", &TStrings::StaticClass());
    return info;
}

void TStringList::Put(int index, const std::wstring& text) {
    lines_.at(static_cast<std::size_t>(index)) = text;
    Changed();
}

void TStringList::Insert(int index, const std::wstring& text) {
    if (index < 0 || index > Count()) throw std::out_of_range("TStringList::Insert: index out of bounds");
    lines_.insert(lines_.begin() + index, text);
    Changed();
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("TStringList::Delete: index out of bounds");
    lines_.erase(lines_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (lines_.empty()) return;
    lines_.clear();
    Changed();
}
