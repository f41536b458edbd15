#include "classlib/Edit.h"

#include <algorithm>
#include <stdexcept>

#include "classlib/Forms.h"

namespace {

const std::vector<std::wstring_view> kBorderStyleNames{L"bsNone", L"bsSingle"};
const std::vector<std::wstring_view> kScrollStyleNames{L"ssNone", L"ssHorizontal", L"ssVertical", L"ssBoth"};

// Any mix of CR LF, CR and LF becomes CR LF, the only break an edit control knows.
std::wstring WithCrLf(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            out += L"\r\n";
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::vector<std::wstring> SplitMemoLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\r' && text[i] != L'\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::wstring JoinMemoLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += L"\r\n";
        text += lines[i];
    }
    // A last empty line needs its break, or it would not be there.
    if (!lines.empty() && lines.back().empty()) text += L"\r\n";
    return text;
}

// ---------------------------------------------------------------- TMemoStrings

// A memo's Lines: every operation reads the memo's text and writes it back,
// so the lines are always the text's logical lines (word wrap adds none).
class TMemoStrings : public TStrings {
    DECLARE_CLASS_INFO()
public:
    explicit TMemoStrings(TCustomMemo& memo) : memo_(memo) {}

    int Count() const override { return static_cast<int>(Lines().size()); }
    std::wstring Get(int index) const override {
        auto lines = Lines();
        return lines.at(Checked(index, lines.size()));
    }
    void Put(int index, const std::wstring& text) override {
        auto lines = Lines();
        lines.at(Checked(index, lines.size())) = text;
        Store(lines);
    }
    void Insert(int index, const std::wstring& text) override {
        auto lines = Lines();
        if (index < 0 || static_cast<std::size_t>(index) > lines.size())
            throw std::out_of_range("TMemoStrings::Insert: index out of bounds");
        // A line holding breaks becomes several lines, as it would on screen.
        const auto parts = text.empty() ? std::vector<std::wstring>{L""} : SplitMemoLines(text);
        lines.insert(lines.begin() + index, parts.begin(), parts.end());
        Store(lines);
    }
    void Delete(int index) override {
        auto lines = Lines();
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(Checked(index, lines.size())));
        Store(lines);
    }
    void Clear() override { memo_.ReplaceText(L""); }
    std::wstring Text() const override { return memo_.Text(); }
    void SetText(const std::wstring& text) override { memo_.ReplaceText(WithCrLf(text)); }

private:
    std::vector<std::wstring> Lines() const { return SplitMemoLines(memo_.Text()); }
    void Store(const std::vector<std::wstring>& lines) { memo_.ReplaceText(JoinMemoLines(lines)); }
    static std::size_t Checked(int index, std::size_t count) {
        if (index < 0 || static_cast<std::size_t>(index) >= count)
            throw std::out_of_range("TMemoStrings: line index out of bounds");
        return static_cast<std::size_t>(index);
    }

    TCustomMemo& memo_;
};

const TClassInfo& TMemoStrings::StaticClass() {
    static const TClassInfo info(L"TMemoStrings", &TStrings::StaticClass());
    return info;
}

// ---------------------------------------------------------------- TCustomEdit

const TClassInfo& TCustomEdit::StaticClass() {
    static const TClassInfo info(
        L"TCustomEdit", &TWinControl::StaticClass(),
        {
            props::Boolean(L"ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly),
            props::Integer(L"MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength),
            props::Enumeration(L"BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle,
                               kBorderStyleNames),
            props::Boolean(L"Ctl3D", &TCustomEdit::Ctl3D, &TCustomEdit::SetCtl3D),
            props::Event(L"OnChange", &TCustomEdit::OnChange),
        });
    return info;
}

const TClassInfo& TEdit::StaticClass() {
    static const TClassInfo info(L"TEdit", &TCustomEdit::StaticClass());
    return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, L"EDIT");
    p.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (readOnly_) p.Style |= ES_READONLY;
    if (borderStyle_ == TBorderStyle::bsSingle) {
        if (ctl3D_)
            p.ExStyle |= WS_EX_CLIENTEDGE;
        else
            p.Style |= WS_BORDER;
    }
}

void TCustomEdit::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    if (maxLength_ > 0) SendMessageW(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == EN_CHANGE) Change();
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::SetReadOnly(bool v) {
    if (v == readOnly_) return;
    readOnly_ = v;
    if (HandleAllocated()) SendMessageW(WindowHandle(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetMaxLength(int v) {
    maxLength_ = std::max(0, v);
    // Zero restores the control's own (largest) limit.
    if (HandleAllocated()) SendMessageW(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    RecreateWnd();
}

void TCustomEdit::SetCtl3D(bool v) {
    if (v == ctl3D_) return;
    ctl3D_ = v;
    RecreateWnd();
}

void TCustomEdit::GetSel(DWORD& start, DWORD& end) {
    start = end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
}

int TCustomEdit::SelStart() {
    DWORD start, end;
    GetSel(start, end);
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int v) { SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(v), v); }

int TCustomEdit::SelLength() {
    DWORD start, end;
    GetSel(start, end);
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int v) {
    DWORD start, end;
    GetSel(start, end);
    SendMessageW(Handle(), EM_SETSEL, start, static_cast<LPARAM>(start) + v);
}

std::wstring TCustomEdit::SelText() {
    DWORD start, end;
    GetSel(start, end);
    const std::wstring text = Text();
    if (start >= text.size() || end <= start) return {};
    return text.substr(start, end - start);
}

void TCustomEdit::SetSelText(const std::wstring& text) {
    SendMessageW(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomEdit::SelectAll() { SendMessageW(Handle(), EM_SETSEL, 0, -1); }
void TCustomEdit::ClearSelection() { SendMessageW(Handle(), WM_CLEAR, 0, 0); }
void TCustomEdit::CopyToClipboard() { SendMessageW(Handle(), WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { SendMessageW(Handle(), WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { SendMessageW(Handle(), WM_PASTE, 0, 0); }
void TCustomEdit::Clear() { SetTextProp(L""); }

// ---------------------------------------------------------------- TCustomMemo

const TClassInfo& TCustomMemo::StaticClass() {
    static const TClassInfo info(
        L"TCustomMemo", &TCustomEdit::StaticClass(),
        {
            props::Object(L"Lines", &TCustomMemo::Lines),
            props::Boolean(L"WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap),
            props::Enumeration(L"ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars,
                               kScrollStyleNames),
            props::Boolean(L"WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns),
            props::Boolean(L"WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs),
        });
    return info;
}

const TClassInfo& TMemo::StaticClass() {
    static const TClassInfo info(L"TMemo", &TCustomMemo::StaticClass());
    return info;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<TMemoStrings>(*this)) {
    SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

TStrings* TCustomMemo::Lines() const { return lines_.get(); }

void TCustomMemo::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    p.Style |= ES_MULTILINE;
    if (wordWrap_) p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth) p.Style |= WS_HSCROLL;
    if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) p.Style |= WS_VSCROLL;
}

void TCustomMemo::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
    if (v == scrollBars_) return;
    scrollBars_ = v;
    RecreateWnd();
}

void TCustomMemo::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_GETDLGCODE:
        TCustomEdit::WndProc(m);
        if (wantTabs_)
            m.Result |= DLGC_WANTTAB;
        else
            m.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
        if (!wantReturns_) m.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
        return;
    case CN_KEYDOWN:
        // A multi-line edit asks for every key, Esc included, yet does nothing
        // with Esc: it goes to the form, so the cancel button works from here too.
        if (m.WParam == VK_ESCAPE && wantReturns_)
            if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGKEY, m.WParam, m.LParam)) {
                m.Result = 1;
                return;
            }
        break;
    default:
        break;
    }
    TCustomEdit::WndProc(m);
}

void TCustomMemo::ReplaceText(const std::wstring& text) {
    if (!HandleAllocated()) {
        SetTextProp(text);
        return;
    }
    // Only the differing middle is replaced, so appending a line keeps the
    // view where it is and leaves the caret after the new text.
    const std::wstring old = Text();
    if (old == text) return;
    std::size_t prefix = 0;
    const std::size_t most = std::min(old.size(), text.size());
    while (prefix < most && old[prefix] == text[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < most - prefix && old[old.size() - 1 - suffix] == text[text.size() - 1 - suffix]) ++suffix;
    // Never cut a CR LF pair in two.
    if (prefix > 0 && old[prefix - 1] == L'\r') --prefix;
    if (suffix > 0 && old[old.size() - suffix] == L'\n') --suffix;
    const std::wstring middle = text.substr(prefix, text.size() - suffix - prefix);
    SendMessageW(WindowHandle(), EM_SETSEL, prefix, static_cast<LPARAM>(old.size() - suffix));
    SendMessageW(WindowHandle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(middle.c_str()));
    Perform(CM_TEXTCHANGED);
}
