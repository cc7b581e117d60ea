// Owners of drawing objects (pen, font, brush) and their shared, reference-counted variants.
#pragma once

#include "residentobject.h"

class OSKEL_API CMyGDIObject : public CMyObject {
public:
    CMyGDIObject();
    ~CMyGDIObject() override;
    CMyGDIObject(const CMyGDIObject&) = delete;
    CMyGDIObject& operator=(const CMyGDIObject&) = delete;

    // 1 when nothing is held; otherwise the platform's result of the deletion.
    int DeleteObject();
    // Null when called on a null object.
    void* GetSafeHandle() const;

protected:
    void* m_handle;
};

class OSKEL_API CMyPen : public CMyGDIObject {
public:
    ~CMyPen() override;
    int CreatePen(int style, int width, unsigned long colour);
};

class OSKEL_API CMyFont : public CMyGDIObject {
public:
    ~CMyFont() override;
    int CreateFontA(int height, const char* face, int weight, int italic, int underline,
                    int strikeOut);
};

class OSKEL_API CMyBrush : public CMyGDIObject {
public:
    CMyBrush();
    ~CMyBrush() override;
    int CreateBrush(unsigned style, unsigned long colour, long hatch);

protected:
    unsigned m_brushStyle;
    unsigned long m_brushColour;
    long m_brushHatch;
};

class OSKEL_API CMyResidentPen : public CMyPen, public CMyResidentObject {
public:
    CMyResidentPen(int style, int width, unsigned long colour);
    ~CMyResidentPen() override;
    int CreateResidentObject() override;
    int DeleteResidentObject() override;
    int CreatePen(int style, int width, unsigned long colour);
    int DeleteObject();

private:
    int m_style;
    int m_width;
    unsigned long m_colour;
};

class OSKEL_API CMyResidentFont : public CMyFont, public CMyResidentObject {
public:
    // A null face is remembered as "Arial"; a longer face than 64 characters is cut.
    CMyResidentFont(int height, const char* face, int weight, int italic, int underline,
                    int strikeOut);
    ~CMyResidentFont() override;
    int CreateResidentObject() override;
    int DeleteResidentObject() override;
    int CreateFontA(int height, const char* face, int weight, int italic, int underline,
                    int strikeOut);
    int DeleteObject();
    const char* GetFaceName() const { return m_face; }

private:
    int m_height;
    char m_face[65];
    int m_weight;
    int m_italic;
    int m_underline;
    int m_strikeOut;
};

class OSKEL_API CMyResidentBrush : public CMyBrush, public CMyResidentObject {
public:
    CMyResidentBrush(unsigned style, unsigned long colour, long hatch);
    ~CMyResidentBrush() override;
    int CreateResidentObject() override;
    int DeleteResidentObject() override;
    int CreateBrush(unsigned style, unsigned long colour, long hatch);
    int DeleteObject();

private:
    unsigned m_style;
    unsigned long m_colour;
    long m_hatch;
};
