// The coloured text asks its parent at every repaint; without an answer it draws black.
#include "gui_harness_win32.h"
#include "oskel_gui_test_rc.h"

#include "coloredtext.h"
#include "dialog.h"

#include <gtest/gtest.h>

namespace {

bool IsBlack(COLORREF c) {
    return GetRValue(c) < 40 && GetGValue(c) < 40 && GetBValue(c) < 40;
}
bool IsRed(COLORREF c) {
    return GetRValue(c) > 180 && GetGValue(c) < 60 && GetBValue(c) < 60;
}

// A plain window ignores the colour request: the default procedure answers it.
class SilentParent : public guitest::TopWindow {
public:
    SilentParent() : TopWindow("OskelTestSilentParent", "Tichý rodič", &kPlace) {}
    static constexpr RECT kPlace{80, 80, 480, 280};
};

// A dialog that answers with red bold text and counts the requests.
class AnsweringDialog : public CMyDialog {
public:
    explicit AnsweringDialog(void* parent) : CMyDialog(IDD_COLORED, nullptr, parent) {}
    LRESULT OnMyColoredTextGetTextParam(WPARAM id, MY_COLORED_TEXT_STRUCT* p) override {
        ++requests;
        lastId = static_cast<int>(id);
        zeroed = p->red == 0 && p->green == 0 && p->blue == 0 && p->bold == 0;
        if (id == 11) {
            p->red = 220;
            p->bold = 1;
        } else if (id == 12) {
            p->green = 140;
        }
        return 0;
    }
    int requests = 0;
    int lastId = 0;
    bool zeroed = false;
};

RECT Line(int top) {
    return RECT{10, top, 330, top + 26};
}

TEST(ColoredText, StyleConvertFormats) {
    EXPECT_EQ(CMyColoredText::StyleConvert(0x24), 0x24u);
    EXPECT_EQ(CMyColoredText::StyleConvert(0x12), 0x03u);
    EXPECT_EQ(CMyColoredText::StyleConvert(0x01), 0x00u);
    EXPECT_EQ(CMyColoredText::StyleConvert(0x08), 0x28u);
    EXPECT_EQ(CMyColoredText::StyleConvert(0x40), 0x10u);
    EXPECT_EQ(CMyColoredText::StyleConvert(0x80), 0x14000u);
    EXPECT_EQ(CMyColoredText::StyleConvert(0x50000000 | 0x02), 0x02u); // window styles ignored
}

TEST(ColoredText, WithoutAnswerTheTextIsBlack) {
    SilentParent parent;
    CMyColoredText text;
    RECT rect = Line(20);
    ASSERT_EQ(text.Create("Odpojeno", WS_CHILD | WS_VISIBLE | 0x20, parent.GetSafeHandle(), 5, 0, 0,
                          &rect),
              1);
    ::UpdateWindow(text.GetSafeHandle());
    guitest::Pump(200);
    EXPECT_GT(guitest::CountPixels(text.GetSafeHandle(), &IsBlack), 20);
    EXPECT_EQ(guitest::CountPixels(text.GetSafeHandle(), &IsRed), 0);
}

TEST(ColoredText, ParentDecidesColourAtEveryRepaint) {
    SilentParent owner;
    AnsweringDialog dialog(owner.GetSafeHandle());
    ASSERT_EQ(dialog.ShowModelessDialog(SW_SHOW), 1);
    CMyColoredText red, green, empty;
    RECT a = Line(10), b = Line(40), c = Line(70);
    ASSERT_EQ(red.Create("Připojeno: COM1 115200/8/Žádná (NO)", WS_CHILD | WS_VISIBLE | 0x20,
                         dialog.GetSafeHandle(), 11, 0, 0, &a),
              1);
    ASSERT_EQ(green.Create("Modul nalezen – úspěšně", WS_CHILD | WS_VISIBLE | 0x20,
                           dialog.GetSafeHandle(), 12, 0, 0, &b),
              1);
    ASSERT_EQ(empty.Create("", WS_CHILD | WS_VISIBLE, dialog.GetSafeHandle(), 13, 0, 0, &c), 1);
    ::InvalidateRect(dialog.GetSafeHandle(), nullptr, TRUE);
    ::UpdateWindow(dialog.GetSafeHandle());
    guitest::Pump(300);

    EXPECT_GT(guitest::CountPixels(red.GetSafeHandle(), &IsRed), 20);
    EXPECT_EQ(guitest::CountPixels(red.GetSafeHandle(), &IsBlack), 0);
    EXPECT_TRUE(dialog.zeroed);

    // An empty text draws nothing but still asks.
    const int before = dialog.requests;
    ::InvalidateRect(empty.GetSafeHandle(), nullptr, TRUE);
    ::UpdateWindow(empty.GetSafeHandle());
    EXPECT_GT(dialog.requests, before);
    EXPECT_EQ(dialog.lastId, 13);

    EXPECT_TRUE(guitest::Screenshot("colored_text"));
}

TEST(ColoredText, SharedDrawingObjectsLiveWhileAnyTextExists) {
    SilentParent parent;
    auto* first = new CMyColoredText;
    auto* second = new CMyColoredText;
    RECT a = Line(10), b = Line(40);
    ASSERT_EQ(first->Create("první", WS_CHILD | WS_VISIBLE, parent.GetSafeHandle(), 1, 0, 0, &a),
              1);
    ASSERT_EQ(second->Create("druhý", WS_CHILD | WS_VISIBLE, parent.GetSafeHandle(), 2, 0, 0, &b),
              1);
    EXPECT_EQ(CMyColoredText::m_hFont.GetReferenceCount(), 2);
    EXPECT_NE(CMyColoredText::m_hBoldFont.GetSafeHandle(), nullptr);

    ::DestroyWindow(first->GetSafeHandle());
    EXPECT_EQ(CMyColoredText::m_hFont.GetReferenceCount(), 1);
    EXPECT_NE(CMyColoredText::m_hFont.GetSafeHandle(), nullptr);
    EXPECT_NE(CMyColoredText::m_hBrush.GetSafeHandle(), nullptr);
    delete first;

    delete second; // its window still exists: the object gives its references back
    EXPECT_EQ(CMyColoredText::m_hFont.GetReferenceCount(), 0);
    EXPECT_EQ(CMyColoredText::m_hFont.GetSafeHandle(), nullptr);
    EXPECT_EQ(CMyColoredText::m_hBoldFont.GetSafeHandle(), nullptr);
    EXPECT_EQ(CMyColoredText::m_hBrush.GetSafeHandle(), nullptr);
}

// A text whose font reference failed gives back only what it holds: another text's font stays.
TEST(ColoredText, FailedReferenceIsNeverReleased) {
    SilentParent parent;
    ASSERT_EQ(CMyColoredText::m_hFont.GetReferenceCount(), 0);
    // A deleted handle left in the shared font makes its next creation fail once.
    ASSERT_EQ(CMyColoredText::m_hFont.CreateFontA(14, "Arial", 400, 0, 0, 0), 1);
    ::DeleteObject(CMyColoredText::m_hFont.GetSafeHandle());
    auto* failed = new CMyColoredText;
    RECT a = Line(10), b = Line(40);
    ASSERT_EQ(
        failed->Create("bez písma", WS_CHILD | WS_VISIBLE, parent.GetSafeHandle(), 1, 0, 0, &a), 1);
    ASSERT_EQ(CMyColoredText::m_hFont.GetReferenceCount(), 0) << "the creation did not fail";
    EXPECT_EQ(CMyColoredText::m_hBoldFont.GetReferenceCount(), 1);

    CMyColoredText other;
    ASSERT_EQ(other.Create("s písmem", WS_CHILD | WS_VISIBLE, parent.GetSafeHandle(), 2, 0, 0, &b),
              1);
    ASSERT_EQ(CMyColoredText::m_hFont.GetReferenceCount(), 1);
    delete failed;
    EXPECT_EQ(CMyColoredText::m_hFont.GetReferenceCount(), 1);
    EXPECT_EQ(::GetObjectType(CMyColoredText::m_hFont.GetSafeHandle()),
              static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(CMyColoredText::m_hBoldFont.GetReferenceCount(), 1);
    EXPECT_EQ(CMyColoredText::m_hBrush.GetReferenceCount(), 1);
}

} // namespace
