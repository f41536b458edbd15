#pragma once
// Icons. An icon read from a file (or a stored layout's "Data") keeps the
// file's bytes, so that it can hand out a handle made from the image that
// best fits any size and save exactly what it read. An icon given as a
// handle owns that handle.
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "classlib/Graphic.h"
#include "classlib/Handles.h"

class TIcon : public TGraphic {
    DECLARE_CLASS_INFO()
public:
    // One image of an icon file, as its directory describes it.
    struct TImageInfo {
        int Width = 0;
        int Height = 0;
        int BitsPerPixel = 0;
        std::size_t Offset = 0;  // of the image's bytes in the file
        std::size_t Size = 0;
    };

    TIcon();
    ~TIcon() override;

    // The size of the image Handle() gives: the best one for the requested size.
    int Width() const override;
    int Height() const override;
    bool Empty() const override { return data_.empty() && !handle_; }
    void Clear() override;
    // The size Handle() looks for; the system's large icon size until set.
    void SetSize(int width, int height);

    // Reads an .ico file from the stream's position and leaves the position
    // after it. No bytes left empties the icon. Raises EInvalidGraphic (the
    // icon unchanged).
    void LoadFromStream(TStream& stream) override;
    // The bytes read, or a one-image file made from the handle.
    void SaveToStream(TStream& stream) const override;
    // RT_GROUP_ICON resources; EInvalidGraphic when missing or unreadable.
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
    void LoadFromResourceID(HINSTANCE instance, int id);

    // Owned by the icon: the best image for the requested size, at its own size.
    HICON Handle();
    // Takes ownership of icon; the file bytes are dropped.
    void SetHandle(HICON icon);
    // An icon of exactly cx x cy made from the best image (or scaled from
    // the handle), owned by the icon and kept until its picture changes:
    // windows can be given it (WM_SETICON).
    HICON HandleForSize(int cx, int cy);
    // Whether icon is the one HandleForSize has made at exactly cx x cy.
    bool MadeAtSize(HICON icon, int cx, int cy) const;
    // The same, new, owned by the caller.
    UniqueIcon CreateHandle(int cx, int cy) const;

    // The file's images (empty for an icon given as a handle).
    const std::vector<TImageInfo>& Images() const { return images_; }
    // The index of the image that best fits cx x cy: the nearest size (the
    // larger one on a tie, as shrinking looks better), then the most colours.
    static int BestImage(std::span<const TImageInfo> images, int cx, int cy);

    void Draw(TCanvas& canvas, const RECT& r) override;
    void Assign(const TPersistent& source) override;

private:
    // Parses an .ico file at the start of bytes; returns how many bytes it takes.
    std::size_t LoadFromBytes(std::vector<std::uint8_t> bytes);
    void LoadFromResource(HINSTANCE instance, const wchar_t* name, const std::string& description);
    SIZE RequestedSize() const;
    const TImageInfo* Best(int cx, int cy) const;

    std::vector<std::uint8_t> data_;  // the .ico file
    std::vector<TImageInfo> images_;
    UniqueIcon handle_;
    SIZE handleSize_{0, 0};
    struct TSized {
        SIZE size;
        UniqueIcon icon;
    };
    std::vector<TSized> sized_;  // HandleForSize's icons
    SIZE requested_{0, 0};       // 0: the system's large icon size
};
