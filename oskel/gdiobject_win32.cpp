#include "gdiobject.h"

#include "nullsafe.h"
#include "wide_win32.h"

#include <cstring>

namespace {

HGDIOBJ Gdi(void* handle) {
    return static_cast<HGDIOBJ>(handle);
}

} // namespace

CMyGDIObject::CMyGDIObject() : m_handle(nullptr) {}

CMyGDIObject::~CMyGDIObject() {
    DeleteObject();
}

int CMyGDIObject::DeleteObject() {
    if (m_handle == nullptr) return 1;
    const int result = ::DeleteObject(Gdi(m_handle));
    m_handle = nullptr;
    return result;
}

void* CMyGDIObject::GetSafeHandle() const {
    return oskel::IsNullObject(this) ? nullptr : m_handle;
}

CMyPen::~CMyPen() = default;

int CMyPen::CreatePen(int style, int width, unsigned long colour) {
    if (style < 0 || width < 0) return 0;
    if (m_handle != nullptr && CMyGDIObject::DeleteObject() == 0) return 0;
    m_handle = ::CreatePen(style, width, colour);
    return m_handle != nullptr ? 1 : 0;
}

CMyFont::~CMyFont() = default;

int CMyFont::CreateFontA(int height, const char* face, int weight, int italic, int underline,
                         int strikeOut) {
    if (face == nullptr) return 0;
    if (m_handle != nullptr && CMyGDIObject::DeleteObject() == 0) return 0;
    m_handle = ::CreateFontW(height, 0, 0, 0, weight, italic, underline, strikeOut, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, oskel::ToWide(face).c_str());
    return m_handle != nullptr ? 1 : 0;
}

CMyBrush::CMyBrush() : m_brushStyle(0), m_brushColour(0), m_brushHatch(0) {}

CMyBrush::~CMyBrush() = default;

int CMyBrush::CreateBrush(unsigned style, unsigned long colour, long hatch) {
    if (m_handle != nullptr && CMyGDIObject::DeleteObject() == 0) return 0;
    m_brushStyle = style;
    m_brushColour = colour;
    m_brushHatch = hatch;
    LOGBRUSH description{m_brushStyle, m_brushColour, static_cast<ULONG_PTR>(m_brushHatch)};
    m_handle = ::CreateBrushIndirect(&description);
    return m_handle != nullptr ? 1 : 0;
}

CMyResidentPen::CMyResidentPen(int style, int width, unsigned long colour)
    : m_style(style), m_width(width), m_colour(colour) {}

CMyResidentPen::~CMyResidentPen() = default;

int CMyResidentPen::CreateResidentObject() {
    return CreatePen(m_style, m_width, m_colour);
}

int CMyResidentPen::DeleteResidentObject() {
    return DeleteObject();
}

int CMyResidentPen::CreatePen(int style, int width, unsigned long colour) {
    return CMyPen::CreatePen(style, width, colour);
}

int CMyResidentPen::DeleteObject() {
    return CMyGDIObject::DeleteObject();
}

CMyResidentFont::CMyResidentFont(int height, const char* face, int weight, int italic,
                                 int underline, int strikeOut)
    : m_height(height), m_face(), m_weight(weight), m_italic(italic), m_underline(underline),
      m_strikeOut(strikeOut) {
    std::strncpy(m_face, face != nullptr ? face : "Arial", sizeof m_face - 1);
}

CMyResidentFont::~CMyResidentFont() = default;

int CMyResidentFont::CreateResidentObject() {
    return CreateFontA(m_height, m_face, m_weight, m_italic, m_underline, m_strikeOut);
}

int CMyResidentFont::DeleteResidentObject() {
    return DeleteObject();
}

int CMyResidentFont::CreateFontA(int height, const char* face, int weight, int italic,
                                 int underline, int strikeOut) {
    return CMyFont::CreateFontA(height, face, weight, italic, underline, strikeOut);
}

int CMyResidentFont::DeleteObject() {
    return CMyGDIObject::DeleteObject();
}

CMyResidentBrush::CMyResidentBrush(unsigned style, unsigned long colour, long hatch)
    : m_style(style), m_colour(colour), m_hatch(hatch) {}

CMyResidentBrush::~CMyResidentBrush() = default;

int CMyResidentBrush::CreateResidentObject() {
    return CreateBrush(m_style, m_colour, m_hatch);
}

int CMyResidentBrush::DeleteResidentObject() {
    return DeleteObject();
}

int CMyResidentBrush::CreateBrush(unsigned style, unsigned long colour, long hatch) {
    return CMyBrush::CreateBrush(style, colour, hatch);
}

int CMyResidentBrush::DeleteObject() {
    return CMyGDIObject::DeleteObject();
}
