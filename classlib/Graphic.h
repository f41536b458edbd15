#pragma once
// Base of pictures that can be loaded, drawn on a canvas and assigned:
// bitmaps and icons.
#include "classlib/Component.h"
#include "core/Stream.h"

class TCanvas;

// A picture that cannot be read: a damaged or unsupported file.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// Something a picture cannot do as it is: a row outside it, 24-bit access to
// another pixel format, a size the system cannot make.
class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};

class TGraphic : public TPersistent {
    DECLARE_CLASS_INFO()
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) const = 0;
    // Drops the picture: Empty() is true afterwards.
    virtual void Clear() = 0;
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value) { transparent_ = value; }

    // Draws the picture into r of the canvas (stretched when sizes differ).
    virtual void Draw(TCanvas& canvas, const RECT& r) = 0;

private:
    bool transparent_ = false;
};

namespace props {
// The picture as the bytes of its file ("Icon.Data" in stored layouts):
// reading saves it, writing loads it, an empty byte string empties it.
inline TPropInfo GraphicData(std::wstring_view name) {
    return {name, TPropKind::Bytes,
            [](const TObject& o) {
                TMemoryStream stream;
                static_cast<const TGraphic&>(o).SaveToStream(stream);
                return TValue(stream.Release());
            },
            [](TObject& o, const TValue& v) {
                auto& graphic = static_cast<TGraphic&>(o);
                if (v.AsBytes().empty()) {
                    graphic.Clear();
                    return;
                }
                TMemoryStream stream;
                stream.Assign(v.AsBytes());
                graphic.LoadFromStream(stream);
            },
            {}};
}
}  // namespace props
