#include "classlib/LayoutReader.h"

#include <windows.h>

#include <cmath>
#include <cwchar>
#include <map>

#include "classlib/Collection.h"
#include "classlib/Controls.h"
#include "classlib/StandardClasses.h"

namespace {

struct ClassEntry {
    const TClassInfo* info;
    TComponentFactory factory;
};

std::map<std::wstring, ClassEntry>& Registry() {
    // Process-wide, like the class library's own class list; filled at start-up.
    static std::map<std::wstring, ClassEntry> registry;
    return registry;
}

std::wstring Upper(std::wstring_view s) {
    std::wstring u(s);
    if (!u.empty()) CharUpperBuffW(u.data(), static_cast<DWORD>(u.size()));
    return u;
}

const ClassEntry* FindRegistered(std::wstring_view name) {
    RegisterStandardClasses();
    auto it = Registry().find(Upper(name));
    return it == Registry().end() ? nullptr : &it->second;
}

class Reader {
public:
    explicit Reader(TComponent& root) : root_(root) {}

    void Read(const LayoutObject& tree) {
        if (root_.Name().empty()) root_.SetName(Utf8ToWide(tree.name));
        root_.SetLoading(true);
        loaded_.push_back(&root_);
        ReadObject(root_, tree, As<TWinControl>(&root_));
        ResolveReferences();
        for (TComponent* c : loaded_) {
            c->SetLoading(false);
            c->Loaded();
        }
    }

private:
    [[noreturn]] void Fail(int line, const std::string& what) const {
        throw Exception("Layout of " + WideToUtf8(root_.ClassName()) + ", line " + std::to_string(line) + ": " +
                        what);
    }

    void ReadObject(TComponent& component, const LayoutObject& obj, TWinControl* container) {
        for (const LayoutProperty& p : obj.properties) ApplyPath(component, p);
        TWinControl* childContainer = As<TWinControl>(&component) ? As<TWinControl>(&component) : container;
        for (const LayoutObject& child : obj.children) {
            const ClassEntry* entry = FindRegistered(Utf8ToWide(child.className));
            if (!entry) Fail(child.line, "unknown class " + child.className);
            TComponent* created = entry->factory(&root_);
            created->SetName(Utf8ToWide(child.name));
            created->SetLoading(true);
            loaded_.push_back(created);
            if (auto* control = As<TControl>(created)) {
                if (!childContainer) Fail(child.line, child.name + " is a control outside any windowed control");
                control->SetParent(childContainer);
            } else {
                component.AddReadChild(created);
            }
            ReadObject(*created, child, childContainer);
        }
    }

    void ApplyPath(TObject& start, const LayoutProperty& p) {
        TObject* target = &start;
        for (std::size_t i = 0; i + 1 < p.path.size(); ++i) {
            const TPropInfo* info = target->ClassType().FindProperty(Utf8ToWide(p.path[i]));
            TObject* next = info && info->Kind == TPropKind::Object ? info->Get(*target).AsObject() : nullptr;
            if (!next) Fail(p.line, WideToUtf8(target->ClassName()) + " has no object property '" + p.path[i] + "'");
            target = next;
        }
        Apply(*target, p.path.back(), p.value, p.line);
    }

    void Apply(TObject& target, const std::string& name, const LayoutValue& value, int line) {
        const std::wstring wname = Utf8ToWide(name);
        const TPropInfo* info = target.ClassType().FindProperty(wname);
        if (!info) Fail(line, WideToUtf8(target.ClassName()) + " has no property '" + name + "'");
        if (info->Kind == TPropKind::Event) return ApplyEvent(target, *info, value, line);
        if (info->Kind == TPropKind::Object) {
            if (const auto* items = value.Get<LayoutCollection>()) return ApplyCollection(*info, target, *items, line);
            if (const auto* ident = value.Get<LayoutIdent>()) {
                if (!info->Set) Fail(line, "property '" + name + "' cannot be set to a component");
                references_.push_back({&target, info, ident->name, line});
                return;
            }
            Fail(line, "property '" + name + "' needs a component name or a collection");
        }
        if (!info->Set) Fail(line, "property '" + name + "' is read-only");
        // A text property given a number with a fraction (a time of day)
        // keeps the fraction, which the integer conversion would round away.
        if (const auto* d = value.Get<double>(); d && info->Kind == TPropKind::Text) {
            wchar_t digits[40] = {};
            std::swprintf(digits, 40, L"%.17g", *d);
            info->Set(target, TValue(std::wstring(digits)));
            return;
        }
        info->Set(target, ToValue(value, line));
    }

    TValue ToValue(const LayoutValue& value, int line) const {
        if (const auto* i = value.Get<std::int64_t>()) return TValue(*i);
        if (const auto* d = value.Get<double>()) return TValue(static_cast<std::int64_t>(std::llround(*d)));
        if (const auto* s = value.Get<std::string>()) return TValue(Utf8ToWide(*s));
        if (const auto* id = value.Get<LayoutIdent>()) return TValue(Utf8ToWide(id->name));
        if (const auto* set = value.Get<LayoutSet>()) {
            std::vector<std::wstring> members;
            for (const auto& m : set->members) members.push_back(Utf8ToWide(m));
            return TValue(std::move(members));
        }
        if (const auto* bin = value.Get<LayoutBinary>()) return TValue(bin->bytes);
        if (const auto* list = value.Get<LayoutList>()) {
            std::vector<std::wstring> lines;
            for (const auto& item : list->items) {
                const auto* s = item.Get<std::string>();
                if (!s) Fail(line, "a list property holds text lines only");
                lines.push_back(Utf8ToWide(*s));
            }
            return TValue(std::move(lines));
        }
        Fail(line, "a collection where a plain value belongs");
    }

    void ApplyEvent(TObject& target, const TPropInfo& info, const LayoutValue& value, int line) {
        const auto* ident = value.Get<LayoutIdent>();
        if (!ident) Fail(line, "event '" + WideToUtf8(info.Name) + "' needs a handler name");
        const TMethodInfo* method = root_.ClassType().FindMethod(Utf8ToWide(ident->name));
        if (!method) Fail(line, WideToUtf8(root_.ClassName()) + " publishes no handler '" + ident->name + "'");
        const TValue bound = TValue::Method(method->Bind(root_));
        // The event's setter takes only a handler of its own type.
        const std::type_index wanted(info.Get(target).AsMethod().type());
        if (wanted != method->Signature)
            Fail(line, "handler '" + ident->name + "' does not fit event '" + WideToUtf8(info.Name) + "'");
        info.Set(target, bound);
    }

    void ApplyCollection(const TPropInfo& info, TObject& target, const LayoutCollection& items, int line) {
        auto* collection = As<TCollection>(info.Get(target).AsObject());
        if (!collection) Fail(line, "property '" + WideToUtf8(info.Name) + "' is not a collection");
        collection->Clear();
        for (const auto& props : items.items) {
            TCollectionItem* item = collection->Add();
            for (const LayoutProperty& p : props) ApplyPath(*item, p);
        }
    }

    void ResolveReferences() {
        for (const auto& ref : references_) {
            // "Form1.Button1" names a component of another form: only the last part is looked up here.
            std::string name = ref.name;
            if (auto dot = name.rfind('.'); dot != std::string::npos) name = name.substr(dot + 1);
            TComponent* found = root_.FindComponent(Utf8ToWide(name));
            if (!found && SameText(root_.Name(), Utf8ToWide(name))) found = &root_;
            if (!found) Fail(ref.line, "no component named '" + ref.name + "'");
            ref.info->Set(*ref.target, TValue(static_cast<TObject*>(found)));
        }
    }

    struct Reference {
        TObject* target;
        const TPropInfo* info;
        std::string name;
        int line;
    };

    TComponent& root_;
    std::vector<TComponent*> loaded_;
    std::vector<Reference> references_;
};

}  // namespace

void RegisterComponentClass(const TClassInfo& info, TComponentFactory factory) {
    Registry()[Upper(info.Name())] = ClassEntry{&info, std::move(factory)};
}

void ReadLayout(TComponent& root, const LayoutObject& tree) { Reader(root).Read(tree); }

void ReadLayoutText(TComponent& root, std::string_view text) {
    LayoutObject tree;
    try {
        tree = ParseLayout(text);
    } catch (const ELayoutError& e) {
        throw Exception("Layout of " + WideToUtf8(root.ClassName()) + ", " + e.what());
    }
    ReadLayout(root, tree);
}

bool ReadFormLayout(TComponent& root) {
    const std::wstring name = Upper(root.ClassName());
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!res) {
        // A form without a stored layout is built in code: it is loaded all the same.
        root.SetLoading(false);
        root.Loaded();
        return false;
    }
    HGLOBAL data = LoadResource(module, res);
    const auto* bytes = static_cast<const char*>(LockResource(data));
    ReadLayoutText(root, std::string_view(bytes, SizeofResource(module, res)));
    return true;
}
