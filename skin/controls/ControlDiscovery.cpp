#include "skin/controls/ControlDiscovery.h"

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/Collection.h"
#include "classlib/Forms.h"
#include "skin/SkinMessages.h"
#include "skin/controls/ControlRules.h"
#include "skin/controls/DiscoveryText.h"
#include "skin/controls/PainterFactory.h"
#include "skin/controls/WinSubClass.h"
#include "skin/controls/WindowRules.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"

namespace {

class TDiscovery {
public:
    explicit TDiscovery(TWinSkinForm& form) : form_(form), skin_(*form.SkinData) {}

    void DropClosedPainters();
    void Form(TCustomForm& library);
    // A menu shown by a tool button or tool bar: drawn by the skin like the
    // form's popup menus.
    void MenuToSkin(TObject* menu);
    // Steps over one control; a control that raises on the way is left alone.
    void Control(TControl* control, TComponent* container);
    void Window(HWND window);
    void WindowChildren(HWND parent);

private:
    void Decide(TControl& control, TComponent* container);
    bool AskApplication(TControl& control, TComponent* container, const std::wstring& upperClass);
    void Apply(TControl& control, const TControlDecision& d);
    void Children(TControl& control, const TControlDecision& d);
    void Attach(TControl& control, const TPainterRequest& request);
    void AttachWindow(HWND window, const TPainterRequest& request, TComponent& owner);

    bool HasPainter(const TControl* control, HWND window) const;
    static bool AnswersSkinned(HWND window) { return SendMessageW(window, SKM_ISSKINNED, 0, 0) == 1; }

    TWinSkinForm& form_;
    TSkinData& skin_;
};

std::vector<TControl*> ChildControls(TControl& control) {
    std::vector<TControl*> children;
    if (auto* windowed = As<TWinControl>(&control))
        for (int i = 0; i < windowed->ControlCount(); ++i) children.push_back(windowed->Controls(i));
    return children;
}

std::vector<TControl*> OwnedControls(TComponent& owner) {
    std::vector<TControl*> controls;
    for (int i = 0; i < owner.ComponentCount(); ++i)
        if (auto* c = As<TControl>(owner.Components(i))) controls.push_back(c);
    return controls;
}

HWND HandleOf(TControl& control) {
    auto* windowed = As<TWinControl>(&control);
    return windowed && windowed->HandleAllocated() ? windowed->WindowHandle() : nullptr;
}

bool TDiscovery::HasPainter(const TControl* control, HWND window) const {
    return std::any_of(form_.SkinnedControls.begin(), form_.SkinnedControls.end(), [&](const TSkinControl* p) {
        return p && ((control && p->Control == control) || (window && p->Window == window));
    });
}

void TDiscovery::DropClosedPainters() {
    std::vector<TSkinControl*> closed;
    for (TSkinControl* p : form_.SkinnedControls)
        if (p && p->State == TSkinControl::kStateClosed) closed.push_back(p);
    for (TSkinControl* p : closed) {
        auto& list = form_.SkinnedControls;
        list.erase(std::remove(list.begin(), list.end(), p), list.end());
        p->Free();
    }
}

void TDiscovery::Form(TCustomForm& library) {
    for (TControl* c : OwnedControls(library)) Control(c, &library);
    std::vector<TWinControl*> tabOrder;
    library.GetTabOrderList(tabOrder);
    for (TWinControl* c : tabOrder)
        if (c->HandleAllocated()) Control(c, c->Owner());
}

void TDiscovery::Control(TControl* control, TComponent* container) {
    if (!control) return;
    try {
        Decide(*control, container);
    } catch (...) {
        // A control that cannot be skinned stays as it is; the others go on.
    }
}

void TDiscovery::Decide(TControl& control, TComponent* container) {
    if (control.Tag() != skin_.DisableTag()) {
        if (!control.Parent()) return;
        // A window that cannot be made leaves the control out (the caller catches).
        if (auto* windowed = As<TWinControl>(&control)) windowed->HandleNeeded();
        if (HWND h = HandleOf(control); h ? AnswersSkinned(h) : control.Perform(SKM_ISSKINNED) == 1) return;
        if (HasPainter(&control, HandleOf(control))) return;
        if (AskApplication(control, container, AsciiUpper(control.ClassName()))) return;
    }
    Apply(control, DecideControl(control, skin_, form_.FrameSkinned));
}

// OnSkinControl may hand over a painter of its own making.
bool TDiscovery::AskApplication(TControl& control, TComponent* container, const std::wstring& upperClass) {
    if (!skin_.OnSkinControl) return false;
    TComponent* given = nullptr;
    skin_.OnSkinControl(form_.Form, &skin_, As<TControl>(container), &control, upperClass, given);
    auto* painter = As<TSkinControl>(given);
    if (!painter) return false;
    if (!painter->Owner()) control.InsertComponent(std::unique_ptr<TComponent>(painter));
    painter->Attach(&form_, &skin_, painter->ColourFlag, &form_.ControlCanvas);
    if (control.InheritsFrom(L"TCustomPanel"))
        for (TControl* child : ChildControls(control)) Control(child, control.Owner());
    return true;
}

void TDiscovery::Apply(TControl& control, const TControlDecision& d) {
    if (d.DisableChildren)
        for (TControl* child : ChildControls(control)) child->SetTag(skin_.DisableTag());
    if (d.Effects & deTransparent) control.SetProperty(L"Transparent", TValue(L"True"));
    if (d.Effects & deFlatToolbar) {
        control.SetProperty(L"Flat", TValue(L"True"));
        MenuToSkin(control.GetProperty(L"Menu").AsObject());
    }
    if (d.Effects & deMenuOfButton) MenuToSkin(control.GetProperty(L"DropdownMenu").AsObject());
    if (d.Effects & deFaceColourBands)
        if (auto* bands = As<TCollection>(control.GetProperty(L"Bands").AsObject()))
            for (int i = 0; i < bands->Count(); ++i)
                bands->Items(i)->SetProperty(L"Color", TValue(static_cast<std::int64_t>(skin_.ButtonFaceColour)));
    if (d.Effects & deFaceColour) control.SetColor(skin_.ButtonFaceColour);

    if (d.Children == TChildVisit::Before) Children(control, d);
    Attach(control, d.Painter);
    if (d.Children == TChildVisit::After) Children(control, d);
    if (d.VisitOwned)
        for (TControl* c : OwnedControls(control)) Control(c, &control);
}

void TDiscovery::MenuToSkin(TObject* object) {
    auto* menu = As<TMenu>(object);
    if (!menu || menu->Tag() == skin_.DisableTag()) return;
    menu->SetOwnerDraw(true);
    SetPopupItemHandlers(*menu->Items(), form_, true);
}

void TDiscovery::Children(TControl& control, const TControlDecision& d) {
    for (TControl* child : ChildControls(control)) {
        switch (d.ChildRule) {
        case TChildRule::None: Control(child, control.Owner()); break;
        case TChildRule::Each: Attach(*child, d.ChildPainter); break;
        case TChildRule::First: break;  // plain windows only
        case TChildRule::EmbeddedScrollbars:
            if (child->InheritsFrom(L"TScrollBar")) Attach(*child, PainterOf(TPainterKind::ScControl));
            else if (IsScrollingControl(*child)) Attach(*child, PainterOf(TPainterKind::Scrollbar));
            break;
        }
    }
}

void TDiscovery::Attach(TControl& control, const TPainterRequest& request) {
    if (request.Kind == TPainterKind::None || control.Tag() == skin_.DisableTag()) return;
    if (auto* windowed = As<TWinControl>(&control)) {
        windowed->HandleNeeded();
        if (AnswersSkinned(windowed->WindowHandle())) return;
    }
    if (HasPainter(&control, HandleOf(control))) return;
    if (request.ByHandle) {
        if (HWND h = HandleOf(control)) AttachWindow(h, request, control);
        return;
    }
    if (TSkinControl* painter = MakePainter(request, control))
        painter->Attach(&form_, &skin_, request.ColourFlag, &form_.ControlCanvas);
}

void TDiscovery::AttachWindow(HWND window, const TPainterRequest& request, TComponent& owner) {
    if (request.Kind == TPainterKind::None || HasPainter(nullptr, window) || AnswersSkinned(window)) return;
    if (TSkinControl* painter = MakePainter(request, owner))
        painter->AttachHandle(window, &skin_, &form_, &form_.ControlCanvas);
}

void TDiscovery::Window(HWND window) {
    if (!IsWindow(window) || HasPainter(nullptr, window)) return;
    const TControlDecision d = DecideWindow(AsciiLower(WindowClassName(window)),
                                            GetWindowLongPtrW(window, GWL_STYLE), skin_);
    if (d.Effects & deFaceColour)
        if (TWinControl* control = TWinControl::FindControl(window)) control->SetColor(skin_.ButtonFaceColour);
    if (d.Children == TChildVisit::Before) WindowChildren(window);
    AttachWindow(window, d.Painter, form_.PlainPainters);
    if (d.ChildRule == TChildRule::First)
        if (HWND first = GetWindow(window, GW_CHILD)) AttachWindow(first, d.ChildPainter, form_.PlainPainters);
}

void TDiscovery::WindowChildren(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) children.push_back(child);
    for (HWND child : children) {
        try {
            Window(child);
        } catch (...) {
            // As for controls: this window stays plain, the others go on.
        }
    }
}

}  // namespace

void DiscoverFormControls(TWinSkinForm& form) {
    if (!form.Form || !form.SkinData) return;
    TDiscovery discovery(form);
    discovery.DropClosedPainters();
    discovery.Form(*form.Form);
    // The form's popup menus, and those of its frames and embedded forms.
    if (form.SkinData->HasSkinControl(xcPopupMenu) && !SameText(form.Form->ClassName(), L"TwwRichEditForm"))
        SetMenuOwnerDraw(form.Form, form, true);
}

void DiscoverWindowChildren(TWinSkinForm& form, HWND parent) {
    if (!form.SkinData) return;
    TDiscovery discovery(form);
    discovery.DropClosedPainters();
    discovery.WindowChildren(parent);
}

void DiscoverWindow(TWinSkinForm& form, HWND window) {
    if (!form.SkinData) return;
    try {
        TDiscovery(form).Window(window);
    } catch (...) {
    }
}

void TWinSkinForm::SkinControls() {
    if (Form) DiscoverFormControls(*this);
    else DiscoverWindowChildren(*this, Handle);
}

void TWinSkinForm::SkinChildWindow(HWND child) { DiscoverWindow(*this, child); }
