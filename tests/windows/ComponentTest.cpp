// The component model: ownership, class information, properties by name and
// stored layouts read through them.
#include <gtest/gtest.h>

#include "classlib/Collection.h"
#include "classlib/Forms.h"
#include "classlib/LayoutReader.h"
#include "classlib/Strings.h"

namespace {

std::vector<std::wstring> g_events;  // order of Loaded and destruction across components

// A component with one property of every kind, for the property and layout tests.
class TGadget : public TComponent {
    DECLARE_CLASS_INFO()
public:
    enum class TMode { gmOff, gmSlow, gmFast };
    explicit TGadget(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
        lines_ = std::make_unique<TStringList>();
        items_ = std::make_unique<TCollection>([](TCollection* c) { return std::make_unique<TGadgetItem>(c); });
    }
    ~TGadget() override { g_events.push_back(L"destroy " + Name()); }

    class TGadgetItem : public TCollectionItem {
        DECLARE_CLASS_INFO()
    public:
        using TCollectionItem::TCollectionItem;
        int Width = 0;
        std::wstring Text;
        int GetWidth() const { return Width; }
        void SetWidth(int w) { Width = w; }
        std::wstring GetText() const { return Text; }
        void SetText(const std::wstring& t) { Text = t; }
    };

    int Count() const { return count_; }
    void SetCount(int v) { count_ = v; }
    bool Flag() const { return flag_; }
    void SetFlag(bool v) { flag_ = v; }
    std::wstring Label() const { return label_; }
    void SetLabel(const std::wstring& v) { label_ = v; }
    TMode Mode() const { return mode_; }
    void SetMode(TMode v) { mode_ = v; }
    std::uint32_t Options() const { return options_; }
    void SetOptions(std::uint32_t v) { options_ = v; }
    TFont* Font() const { return font_.get(); }
    TStringList* Lines() const { return lines_.get(); }
    TCollection* Items() const { return items_.get(); }
    TGadget* Buddy() const { return buddy_; }
    void SetBuddy(TGadget* g) { buddy_ = g; }
    std::vector<std::uint8_t> Data() const { return data_; }
    TNotifyEvent OnPing;

    void Loaded() override {
        TComponent::Loaded();
        ++loadedCount;
        loadedWhileLoading = IsLoading();
        g_events.push_back(L"loaded " + Name());
    }
    int loadedCount = 0;
    bool loadedWhileLoading = true;
    std::vector<std::uint8_t> data_;

private:
    int count_ = 0;
    bool flag_ = false;
    std::wstring label_;
    TMode mode_ = TMode::gmOff;
    std::uint32_t options_ = 0;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TStringList> lines_;
    std::unique_ptr<TCollection> items_;
    TGadget* buddy_ = nullptr;
};

const TClassInfo& TGadget::TGadgetItem::StaticClass() {
    static const TClassInfo info(L"TGadgetItem", &TCollectionItem::StaticClass(),
                                 {
                                     props::Integer(L"Width", &TGadgetItem::GetWidth, &TGadgetItem::SetWidth),
                                     props::Text(L"Text", &TGadgetItem::GetText, &TGadgetItem::SetText),
                                 });
    return info;
}

const TClassInfo& TGadget::StaticClass() {
    static const TClassInfo info(
        L"TGadget", &TComponent::StaticClass(),
        {
            props::Integer(L"Count", &TGadget::Count, &TGadget::SetCount),
            props::Boolean(L"Flag", &TGadget::Flag, &TGadget::SetFlag),
            props::Text(L"Label", &TGadget::Label, &TGadget::SetLabel),
            props::Enumeration(L"Mode", &TGadget::Mode, &TGadget::SetMode, {L"gmOff", L"gmSlow", L"gmFast"}),
            props::SetOf(L"Options", &TGadget::Options, &TGadget::SetOptions, {L"goA", L"goB", L"goC"}),
            props::Object(L"Font", &TGadget::Font),
            props::Object(L"Lines", &TGadget::Lines),
            props::Object(L"Items", &TGadget::Items),
            props::Reference(L"Buddy", &TGadget::Buddy, &TGadget::SetBuddy),
            TPropInfo{L"Data", TPropKind::Bytes,
                      [](const TObject& o) { return TValue(static_cast<const TGadget&>(o).Data()); },
                      [](TObject& o, const TValue& v) { static_cast<TGadget&>(o).data_ = v.AsBytes(); },
                      {}},
            props::Event(L"OnPing", &TGadget::OnPing),
        });
    return info;
}

class TGadgetHost : public TComponent {
    DECLARE_CLASS_INFO()
public:
    using TComponent::TComponent;
    void GadgetPing(TObject* sender) { pinged.push_back(static_cast<TComponent*>(sender)->Name()); }
    void WrongShape(int) {}
    std::vector<std::wstring> pinged;
};

const TClassInfo& TGadgetHost::StaticClass() {
    static const TClassInfo info(L"TGadgetHost", &TComponent::StaticClass(), {},
                                 {
                                     props::Handler(L"GadgetPing", &TGadgetHost::GadgetPing),
                                     props::Handler(L"WrongShape", &TGadgetHost::WrongShape),
                                 });
    return info;
}

struct RegisterGadget {
    RegisterGadget() { RegisterComponentClass<TGadget>(); }
} registerGadget;

}  // namespace

TEST(ComponentModel, OwnerFreesOwnedComponentsLastFirstAndFreeLeavesTheListClean) {
    g_events.clear();
    {
        TComponent owner(nullptr);
        auto* a = TComponent::Create<TGadget>(&owner);
        a->SetName(L"A");
        auto* b = TComponent::Create<TGadget>(&owner);
        b->SetName(L"B");
        auto* c = TComponent::Create<TGadget>(&owner);
        c->SetName(L"C");
        EXPECT_EQ(owner.ComponentCount(), 3);
        EXPECT_EQ(owner.FindComponent(L"b"), b);
        b->Free();
        EXPECT_EQ(owner.ComponentCount(), 2);
        EXPECT_EQ(owner.FindComponent(L"B"), nullptr);
        EXPECT_EQ(a->Owner(), &owner);
    }
    EXPECT_EQ(g_events, (std::vector<std::wstring>{L"destroy B", L"destroy C", L"destroy A"}));
}

TEST(ComponentModel, FreeNotificationClearsReferences) {
    TComponent owner(nullptr);
    auto* a = TComponent::Create<TGadget>(&owner);
    TComponent other(nullptr);
    auto* b = TComponent::Create<TGadget>(&other);
    a->SetBuddy(b);
    struct Watcher : TGadget {
        using TGadget::TGadget;
        void Notification(TComponent* c, TOperation op) override {
            TGadget::Notification(c, op);
            if (op == TOperation::opRemove && c == Buddy()) SetBuddy(nullptr);
        }
    };
    auto* w = TComponent::Create<Watcher>(&owner);
    w->SetBuddy(b);
    b->FreeNotification(w);
    b->Free();
    EXPECT_EQ(w->Buddy(), nullptr);
}

TEST(ClassInformation, NamesAndAncestryByClassAndByName) {
    TGadget g(nullptr);
    EXPECT_EQ(g.ClassName(), L"TGadget");
    EXPECT_TRUE(g.Is<TComponent>());
    EXPECT_TRUE(g.InheritsFrom(L"tpersistent"));
    EXPECT_TRUE(g.InheritsFrom(L"TGADGET"));
    EXPECT_FALSE(g.InheritsFrom(L"TControl"));
    EXPECT_FALSE(g.Is<TControl>());
    EXPECT_EQ(As<TControl>(&g), nullptr);
    EXPECT_EQ(As<TComponent>(&g), &g);
}

TEST(PublishedProperties, EveryKindReadAndWrittenByName) {
    TGadget g(nullptr);
    g.SetProperty(L"count", TValue(42));
    g.SetProperty(L"Flag", TValue(L"True"));
    g.SetProperty(L"Label", TValue(L"开始(F5)"));
    g.SetProperty(L"Mode", TValue(L"GMFAST"));
    g.SetProperty(L"Options", TValue(L"[goA, goC]"));
    g.SetProperty(L"Data", TValue(std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(g.Count(), 42);
    EXPECT_TRUE(g.Flag());
    EXPECT_EQ(g.Label(), L"开始(F5)");
    EXPECT_EQ(g.Mode(), TGadget::TMode::gmFast);
    EXPECT_EQ(g.Options(), 5u);
    EXPECT_EQ(g.GetProperty(L"Options").AsText(), L"[goA, goC]");
    EXPECT_EQ(g.GetProperty(L"Mode").AsText(), L"gmFast");
    EXPECT_EQ(g.GetProperty(L"Count").AsText(), L"42");
    EXPECT_EQ(g.GetProperty(L"Data").AsBytes(), (std::vector<std::uint8_t>{1, 2, 3}));
    TObject* font = g.GetProperty(L"Font").AsObject();
    ASSERT_NE(font, nullptr);
    font->SetProperty(L"Style", TValue(L"[fsBold]"));
    EXPECT_EQ(g.Font()->Style(), fsBold);
}

TEST(PublishedProperties, MissingPropertiesReadEmptyAndIgnoreWrites) {
    TGadget g(nullptr);
    EXPECT_FALSE(g.HasProperty(L"Glyph"));
    EXPECT_TRUE(g.GetProperty(L"Glyph").IsEmpty());
    EXPECT_EQ(g.GetProperty(L"Checked").AsBoolean(), false);
    EXPECT_EQ(g.GetProperty(L"Caption").AsText(), L"");
    EXPECT_NO_THROW(g.SetProperty(L"Caption", TValue(L"x")));
    // An unknown enumeration member leaves the value alone.
    g.SetProperty(L"Mode", TValue(L"gmWarp"));
    EXPECT_EQ(g.Mode(), TGadget::TMode::gmOff);
}

namespace {
const char* kGadgetLayout = R"(object Host: TGadgetHost
  Tag = 7
  object G1: TGadget
    Count = -5
    Flag = True
    Label = '词典(F8)'#13#10'x'
    Mode = gmSlow
    Options = [goB]
    Font.Name = 'Arial'
    Font.Height = -13
    Font.Style = [fsBold, fsItalic]
    Lines.Strings = (
      'TCategoryButtons=scrollbar'
      'TPngBitBtn=pngbitbtn')
    Items = <
      item
        Width = 50
        Text = 'one'
      end
      item
        Width = 60
      end>
    Buddy = G2
    Data = {01020304FF}
    OnPing = GadgetPing
  end
  object G2: TGadget
    Count = $10
  end
end
)";
}

TEST(StoredLayouts, EveryPropertySetAndLoadedOncePerComponentAfterReading) {
    g_events.clear();
    TGadgetHost host(nullptr);
    ReadLayoutText(host, kGadgetLayout);
    EXPECT_EQ(host.Name(), L"Host");
    EXPECT_EQ(host.Tag(), 7);
    ASSERT_EQ(host.ComponentCount(), 2);
    auto* g1 = As<TGadget>(host.FindComponent(L"G1"));
    auto* g2 = As<TGadget>(host.FindComponent(L"G2"));
    ASSERT_TRUE(g1 && g2);
    EXPECT_EQ(g1->Count(), -5);
    EXPECT_TRUE(g1->Flag());
    EXPECT_EQ(g1->Label(), L"词典(F8)\r\nx");
    EXPECT_EQ(g1->Mode(), TGadget::TMode::gmSlow);
    EXPECT_EQ(g1->Options(), 2u);
    EXPECT_EQ(g1->Font()->Name(), L"Arial");
    EXPECT_EQ(g1->Font()->Height(), -13);
    EXPECT_EQ(g1->Font()->Style(), fsBold | fsItalic);
    EXPECT_EQ(g1->Lines()->ToVector(),
              (std::vector<std::wstring>{L"TCategoryButtons=scrollbar", L"TPngBitBtn=pngbitbtn"}));
    ASSERT_EQ(g1->Items()->Count(), 2);
    EXPECT_EQ(static_cast<TGadget::TGadgetItem*>(g1->Items()->Items(0))->Text, L"one");
    EXPECT_EQ(static_cast<TGadget::TGadgetItem*>(g1->Items()->Items(1))->Width, 60);
    EXPECT_EQ(g1->Buddy(), g2);  // a reference to a component read later
    EXPECT_EQ(g1->Data(), (std::vector<std::uint8_t>{1, 2, 3, 4, 0xFF}));
    EXPECT_EQ(g2->Count(), 16);
    // Loaded runs once for each, after everything was read, in reading order.
    EXPECT_EQ(g1->loadedCount, 1);
    EXPECT_EQ(g2->loadedCount, 1);
    EXPECT_FALSE(g1->loadedWhileLoading);
    EXPECT_EQ(g_events, (std::vector<std::wstring>{L"loaded G1", L"loaded G2"}));
    ASSERT_TRUE(g1->OnPing);
    g1->OnPing(g1);
    EXPECT_EQ(host.pinged, (std::vector<std::wstring>{L"G1"}));
}

TEST(StoredLayouts, MistakesAreReportedWithTheirLine) {
    struct Case {
        const char* name;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"unknown class", "object H: TGadgetHost\n  object X: TNoSuchThing\n  end\nend\n", "line 2: unknown class"},
        {"unknown property", "object H: TGadgetHost\n  object X: TGadget\n    Cuont = 1\n  end\nend\n",
         "line 3: TGadget has no property 'Cuont'"},
        {"unknown handler", "object H: TGadgetHost\n  object X: TGadget\n    OnPing = Nope\n  end\nend\n",
         "publishes no handler 'Nope'"},
        {"handler of the wrong shape", "object H: TGadgetHost\n  object X: TGadget\n    OnPing = WrongShape\n  end\nend\n",
         "does not fit event 'OnPing'"},
        {"dangling reference", "object H: TGadgetHost\n  object X: TGadget\n    Buddy = Ghost\n  end\nend\n",
         "no component named 'Ghost'"},
        {"syntax", "object H: TGadgetHost\n  Tag = \nend\n", "line 3"},
    };
    for (const Case& c : cases) {
        TGadgetHost host(nullptr);
        try {
            ReadLayoutText(host, c.text);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const Exception& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << c.name << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find("TGadgetHost"), std::string::npos) << c.name;
        }
    }
}
