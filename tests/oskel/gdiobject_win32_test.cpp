// Drawing objects over real GDI: re-creation, refusals and the shared resident variants.
#include "gdiobject.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(GdiObject, PenRefusesBadArgumentsAndKeepsItsPen) {
    CMyPen pen;
    ASSERT_EQ(pen.CreatePen(PS_SOLID, 1, RGB(1, 2, 3)), 1);
    void* held = pen.GetSafeHandle();
    EXPECT_EQ(pen.CreatePen(PS_SOLID, -1, 0), 0);
    EXPECT_EQ(pen.CreatePen(-1, 1, 0), 0);
    EXPECT_EQ(pen.GetSafeHandle(), held);
    EXPECT_EQ(::GetObjectType(static_cast<HGDIOBJ>(held)), static_cast<DWORD>(OBJ_PEN));
    ASSERT_EQ(pen.CreatePen(PS_DOT, 0, RGB(0, 0, 255)), 1); // replaces the old one
    EXPECT_EQ(pen.DeleteObject(), 1);
    EXPECT_EQ(pen.GetSafeHandle(), nullptr);
    EXPECT_EQ(pen.DeleteObject(), 1); // nothing held
    CMyGDIObject* volatile none = nullptr;
    EXPECT_EQ(none->GetSafeHandle(), nullptr);
}

TEST(GdiObject, FontAndBrushDescribeWhatTheyWereGiven) {
    CMyFont font;
    EXPECT_EQ(font.CreateFontA(14, nullptr, 400, 0, 0, 0), 0);
    ASSERT_EQ(font.CreateFontA(-20, "Arial", 700, 1, 0, 0), 1);
    LOGFONTW description{};
    ::GetObjectW(static_cast<HGDIOBJ>(font.GetSafeHandle()), sizeof description, &description);
    EXPECT_EQ(description.lfHeight, -20);
    EXPECT_EQ(description.lfWeight, 700);
    EXPECT_EQ(description.lfItalic, 1);
    EXPECT_EQ(std::wstring(description.lfFaceName), L"Arial");

    CMyBrush brush;
    ASSERT_EQ(brush.CreateBrush(BS_SOLID, RGB(10, 20, 30), 0), 1);
    LOGBRUSH logBrush{};
    ::GetObjectW(static_cast<HGDIOBJ>(brush.GetSafeHandle()), sizeof logBrush, &logBrush);
    EXPECT_EQ(logBrush.lbColor, RGB(10, 20, 30));
}

TEST(GdiObject, ResidentFontWithoutFaceIsArialAtFirstReference) {
    CMyResidentFont font(18, nullptr, 700, 0, 0, 0);
    EXPECT_STREQ(font.GetFaceName(), "Arial");
    EXPECT_EQ(font.GetSafeHandle(), nullptr); // nothing made yet
    ASSERT_EQ(font.AddReference(), 1);
    LOGFONTW description{};
    ::GetObjectW(static_cast<HGDIOBJ>(font.GetSafeHandle()), sizeof description, &description);
    EXPECT_EQ(std::wstring(description.lfFaceName), L"Arial");
    ASSERT_EQ(font.AddReference(), 1);
    EXPECT_EQ(font.ReleaseReference(), 1);
    EXPECT_NE(font.GetSafeHandle(), nullptr);
    EXPECT_NE(font.ReleaseReference(), 0);
    EXPECT_EQ(font.GetSafeHandle(), nullptr);
}

TEST(GdiObject, ResidentPenWithBadParametersNeverExists) {
    CMyResidentPen pen(PS_SOLID, -3, 0);
    EXPECT_EQ(pen.AddReference(), 0);
    EXPECT_EQ(pen.GetReferenceCount(), 0);
    EXPECT_EQ(pen.GetSafeHandle(), nullptr);
}

} // namespace
