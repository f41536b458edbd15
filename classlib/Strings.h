#pragma once
// Lists of text lines. TStrings is the interface (a memo's lines keep theirs
// in the window); TStringList keeps them in memory. Stored layouts write a
// list as its published "Strings" property.
#include <string>
#include <vector>

#include "classlib/Component.h"

class TStrings : public TPersistent {
    DECLARE_CLASS_INFO()
public:
    virtual int Count() const = 0;
    virtual std::wstring Get(int index) const = 0;
    virtual void Put(int index, const std::wstring& text) = 0;
    virtual void Insert(int index, const std::wstring& text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    int Add(const std::wstring& text);
    int IndexOf(const std::wstring& text) const;
    // Lines joined with CR LF after each; setting splits at CR LF, CR or LF.
    virtual std::wstring Text() const;
    virtual void SetText(const std::wstring& text);
    std::vector<std::wstring> ToVector() const;
    void Assign(const TPersistent& source) override;
    void Assign(const std::vector<std::wstring>& lines);
    // "name=value" lines: the value of the first line whose name matches (case-insensitive).
    std::wstring Values(const std::wstring& name) const;

    TNotifyEvent OnChange;

protected:
    void Changed() {
        if (OnChange) OnChange(this);
    }
};

class TStringList : public TStrings {
    DECLARE_CLASS_INFO()
public:
    int Count() const override { return static_cast<int>(lines_.size()); }
    std::wstring Get(int index) const override { return lines_.at(static_cast<std::size_t>(index)); }
    void Put(int index, const std::wstring& text) override;
    void Insert(int index, const std::wstring& text) override;
    void Delete(int index) override;
    void Clear() override;

private:
    std::vector<std::wstring> lines_;
};
