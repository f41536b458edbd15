#pragma once
// Up-down buttons over the common control "msctls_updown32". With an
// Associate the control sits against that edit's edge and writes Position
// into it as text.
#include "classlib/Controls.h"

enum class TUDOrientation { udVertical, udHorizontal };

class TCustomUpDown : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomUpDown(TComponent* owner);

    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int Position() const;
    void SetPosition(int v);
    TWinControl* Associate() const { return associate_; }
    void SetAssociate(TWinControl* v);
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation v);

    TNotifyEvent OnChanging;
    TNotifyEvent OnClick;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    TWinControl* associate_ = nullptr;
    TUDOrientation orientation_ = TUDOrientation::udVertical;
};

class TUpDown : public TCustomUpDown {
    DECLARE_CLASS_INFO()
public:
    explicit TUpDown(TComponent* owner) : TCustomUpDown(owner) {}
};
