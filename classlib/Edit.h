#pragma once
// Single- and multi-line edits over the Windows "EDIT" class.
//
// Colours come from the reflected CN_CTLCOLOREDIT (a read-only or disabled
// edit asks with CN_CTLCOLORSTATIC): the control's Font colour on its Color.
#include <memory>
#include <string>

#include "classlib/Controls.h"
#include "classlib/Strings.h"

enum class TBorderStyle { bsNone, bsSingle };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomEdit : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomEdit(TComponent* owner);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    // The most characters the user can type; 0 for no limit of our own.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle v);
    // With Ctl3D a single border is sunken (WS_EX_CLIENTEDGE), without it flat (WS_BORDER).
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool v);

    // The selection, in characters; these create the window when needed.
    int SelStart();
    void SetSelStart(int v);
    int SelLength();
    void SetSelLength(int v);
    std::wstring SelText();
    void SetSelText(const std::wstring& text);
    void SelectAll();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Clear();

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& message) override;
    virtual void Change();

private:
    void GetSel(DWORD& start, DWORD& end);

    bool readOnly_ = false;
    int maxLength_ = 0;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    bool ctl3D_ = true;
};

class TEdit : public TCustomEdit {
    DECLARE_CLASS_INFO()
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

class TMemoStrings;

class TCustomMemo : public TCustomEdit {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    // The text as lines: kept in the window once it exists, in the control before.
    TStrings* Lines() const;
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle v);
    // Without WantReturns, Enter goes to the form (its default button).
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool v) { wantReturns_ = v; }
    // With WantTabs, Tab types a tab instead of moving the focus.
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool v) { wantTabs_ = v; }

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    friend class TMemoStrings;
    // Puts text in, replacing only the part that differs while the window exists.
    void ReplaceText(const std::wstring& text);

    std::unique_ptr<TMemoStrings> lines_;
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = TScrollStyle::ssNone;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
};

class TMemo : public TCustomMemo {
    DECLARE_CLASS_INFO()
public:
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

// The lines of a memo's text: split at CR LF, CR or LF; a last empty piece
// (the text ends with a line break) is no line. JoinMemoLines is the inverse.
std::vector<std::wstring> SplitMemoLines(std::wstring_view text);
std::wstring JoinMemoLines(const std::vector<std::wstring>& lines);
