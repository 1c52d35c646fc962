// SPDX-License-Identifier: MIT
// Pens, brushes and fonts. Each object either has a handle (it was created and not yet
// deleted) or not; creating an object that already has one fails, as it does on a
// desktop graphics interface, so the owner deletes before it creates again.
#pragma once

#include "platform/Types.h"

constexpr int PS_SOLID = 0;
constexpr int FW_DONTCARE = 0;
constexpr int FW_BOLD = 700;
constexpr int ANSI_CHARSET = 0;
constexpr int OUT_DEVICE_PRECIS = 5;
constexpr int CLIP_DEFAULT_PRECIS = 0;
constexpr int PROOF_QUALITY = 2;
constexpr int DEFAULT_PITCH = 0;

class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() = default;

    // Non-null exactly while the object has a handle.
    const void* GetSafeHandle() const { return m_bHasHandle ? this : nullptr; }
    BOOL DeleteObject();

protected:
    BOOL Attach();  // FALSE when a handle is already held
    bool m_bHasHandle = false;
};

class CPen : public CGdiObject {
public:
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    int Width() const { return m_nWidth; }
    COLORREF Color() const { return m_clr; }

private:
    int m_nWidth = 1;
    COLORREF m_clr = RGB(0, 0, 0);
};

class CBrush : public CGdiObject {
public:
    BOOL CreateSolidBrush(COLORREF crColor);
    COLORREF Color() const { return m_clr; }

private:
    COLORREF m_clr = RGB(255, 255, 255);
};

// A font request. The height is the character cell height (ascent + descent) in device
// units; the face is one of the names the game uses, mapped to an installed face when
// drawn (see FontMapping.h).
class CFont : public CGdiObject {
public:
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                    BOOL bItalic, BOOL bUnderline, BOOL bStrikeOut, int nCharSet, int nOutPrecision,
                    int nClipPrecision, int nQuality, int nPitchAndFamily,
                    const char* lpszFacename);
    int Height() const { return m_nHeight; }
    int Weight() const { return m_nWeight; }
    BOOL Italic() const { return m_bItalic; }
    BOOL Underline() const { return m_bUnderline; }
    BOOL StrikeOut() const { return m_bStrikeOut; }
    const CString& Face() const { return m_strFace; }
    // Changes every time the font is created, so a surface can tell a recreated font
    // from the one it realised before.
    unsigned Serial() const { return m_nSerial; }

private:
    int m_nHeight = 0;
    int m_nWeight = 0;
    BOOL m_bItalic = FALSE;
    BOOL m_bUnderline = FALSE;
    BOOL m_bStrikeOut = FALSE;
    CString m_strFace;
    unsigned m_nSerial = 0;
};
