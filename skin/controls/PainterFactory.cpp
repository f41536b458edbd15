#include "skin/controls/PainterFactory.h"

#include <map>

#include "skin/controls/SkinAdvPage.h"
#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinBoxH.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinGroupBox.h"
#include "skin/controls/SkinHeader.h"
#include "skin/controls/SkinListView.h"
#include "skin/controls/SkinMP.h"
#include "skin/controls/SkinMenuButton.h"
#include "skin/controls/SkinObjImage.h"
#include "skin/controls/SkinProgress.h"
#include "skin/controls/SkinRadioButton.h"
#include "skin/controls/SkinScControl.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinSizer.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/SkinTab.h"
#include "skin/controls/SkinTab31.h"
#include "skin/controls/SkinTabBtn.h"
#include "skin/controls/SkinTabSheet.h"
#include "skin/controls/SkinTrackBar.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/controls/WinSubClass.h"

namespace {

std::map<TPainterKind, TPainterMaker>& Makers() {
    static std::map<TPainterKind, TPainterMaker> makers;
    return makers;
}

template <class T> TSkinControl* Make(TComponent& owner) { return TComponent::Create<T>(&owner); }

template <class T> TSkinControl* MakeBitButton(const TPainterRequest& request, TComponent& owner) {
    T* painter = TComponent::Create<T>(&owner);
    painter->GlyphProperty = request.GlyphProperty;
    return painter;
}

// Each painter class joins here with one line; kinds without a line yet
// leave their controls to the system.
TSkinControl* BuiltIn(const TPainterRequest& request, TComponent& owner) {
    switch (request.Kind) {
    case TPainterKind::Button: return Make<TSkinButton>(owner);
    case TPainterKind::BitButton: return MakeBitButton<TSkinBitButton>(request, owner);
    case TPainterKind::MenuButton: return Make<TSkinMenuButton>(owner);
    case TPainterKind::SpeedButton: return MakeBitButton<TSkinSpeedButton>(request, owner);
    case TPainterKind::CheckBox: return Make<TSkinCheckBox>(owner);
    case TPainterKind::RadioButton: return Make<TSkinRadioButton>(owner);
    case TPainterKind::ObjImage: return Make<TSkinObjImage>(owner);
    case TPainterKind::MediaPlayer: return Make<TSkinMP>(owner);
    case TPainterKind::Scrollbar: return Make<TSkinScrollbar>(owner);
    case TPainterKind::ScControl: return Make<TSkinScControl>(owner);
    case TPainterKind::Sizer: return Make<TSkinSizer>(owner);
    case TPainterKind::ListView: return Make<TSkinListView>(owner);
    case TPainterKind::Box: return Make<TSkinBox>(owner);
    case TPainterKind::BoxH: return Make<TSkinBoxH>(owner);
    case TPainterKind::GroupBox: return Make<TSkinGroupBox>(owner);
    case TPainterKind::Header: return Make<TSkinHeader>(owner);
    case TPainterKind::StatusBar: return Make<TSkinStatusBar>(owner);
    case TPainterKind::Progress: return Make<TSkinProgress>(owner);
    case TPainterKind::TrackBar: return Make<TSkinTrackBar>(owner);
    case TPainterKind::Edit: return Make<TSkinEdit>(owner);
    case TPainterKind::ComBox: return Make<TSkinComBox>(owner);
    case TPainterKind::UpDown: return Make<TSkinUpDown>(owner);
    case TPainterKind::DateTime: return Make<TSkinDateTime>(owner);
    case TPainterKind::Tab: return Make<TSkinTab>(owner);
    case TPainterKind::TabBtn: return Make<TSkinTabBtn>(owner);
    case TPainterKind::Tab31: return Make<TSkinTab31>(owner);
    case TPainterKind::TabSheet: return Make<TSkinTabSheet>(owner);
    case TPainterKind::AdvPage: return Make<TSkinAdvPage>(owner);
    default: (void)owner; return nullptr;
    }
}

}  // namespace

TSkinControl* MakePainter(const TPainterRequest& request, TComponent& owner) {
    if (request.Kind == TPainterKind::None) return nullptr;
    const auto found = Makers().find(request.Kind);
    TSkinControl* painter = found != Makers().end() ? found->second(request, owner) : BuiltIn(request, owner);
    if (painter) painter->Mode = request.Mode;
    return painter;
}

void SetPainterMaker(TPainterKind kind, TPainterMaker maker) {
    if (maker) Makers()[kind] = std::move(maker);
    else Makers().erase(kind);
}
