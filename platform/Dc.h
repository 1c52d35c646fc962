// SPDX-License-Identifier: MIT
// The drawing surface. One class serves the client-area raster and the printer; a
// surface on the raster opens a painter for each operation so that several surfaces
// may be open on the same client area at once, as the game's handlers expect.
#pragma once

#include <memory>
#include <optional>

#include "platform/Gdi.h"
#include "platform/Types.h"

class CRaster;
class QPainter;
class QPaintDevice;
class QFont;
class QRect;

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
// This program's own: where the text would not fit its rectangle in the selected font
// (a single line wider or taller than the box, wrapped lines taller than it), it is drawn
// in the same face at the largest smaller cell height at which it fits.
constexpr UINT DT_SHRINKTOFIT = 0x10000000;

class CDC {
public:
    // A surface on the client-area raster.
    explicit CDC(CRaster& raster);
    // A surface on a device that is already being painted (the printer page), with the
    // painter owned by the caller for the length of the job.
    explicit CDC(QPainter& painter);
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Each returns the object selected before (null when none was).
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    COLORREF SetTextColor(COLORREF clr);
    COLORREF SetBkColor(COLORREF clr);
    int SetBkMode(int nMode);

    BOOL Rectangle(int l, int t, int r, int b);
    BOOL Rectangle(const CRect& rc) { return Rectangle(rc.left, rc.top, rc.right, rc.bottom); }
    BOOL Ellipse(int l, int t, int r, int b);
    BOOL Ellipse(const CRect& rc) { return Ellipse(rc.left, rc.top, rc.right, rc.bottom); }
    BOOL Polygon(const CPoint* pPoints, int nCount);

    // Sets one pixel; a point outside the surface or an open CClipScope is ignored
    // (returns CLR_INVALID).
    COLORREF SetPixel(int x, int y, COLORREF clr);
    // The colour now at (x, y); CLR_INVALID outside the surface, which matches nothing.
    COLORREF GetPixel(int x, int y) const;

    // Text in the rectangle, clipped to it. Wrapped text (DT_WORDBREAK without
    // DT_SINGLELINE) is broken at blanks to the rectangle's width and at its line breaks,
    // its lines one cell height (ascent + descent) apart from the rectangle's top. Returns
    // the height the text takes: its lines times the cell height.
    virtual int DrawText(const CString& text, const CRect& rc, UINT nFormat);
    virtual BOOL TextOut(int x, int y, const CString& text);
    // Width and height of a single line in the selected font, in device units.
    virtual CSize GetTextExtent(const CString& text) const;
    // The surface is true colour: every colour is shown as it is asked for.
    COLORREF GetNearestColor(COLORREF clr) const { return clr; }

    // The raster under this surface, or null for a printer.
    CRaster* GetRaster() const { return m_pRaster; }

protected:
    CFont* SelectedFont() const { return m_pFont; }

private:
    template <class F>
    void Paint(F&& fn);
    // Tells the raster (if any) that the operation may have changed these pixels.
    void ReportDrawn(const CRect& rc) const;
    // Text may reach a little beyond its boxes (overhanging glyphs): they are reported
    // grown by a margin of the font's size.
    void ReportText(const QRect& rcText, const QFont& font) const;
    // The raster's pixels an operation may write: all of them, or those within the clip.
    CRect WritableBox() const;
    QFont SelectedQFont() const;

    CRaster* m_pRaster = nullptr;
    QPainter* m_pPainter = nullptr;  // set for a printer surface
    CPen* m_pPen = nullptr;
    CBrush* m_pBrush = nullptr;
    CFont* m_pFont = nullptr;
    COLORREF m_clrText = RGB(0, 0, 0);
    COLORREF m_clrBk = RGB(255, 255, 255);
    int m_nBkMode = OPAQUE;
    std::optional<CRect> m_clip;
    // The Qt font last realised for the selected font: realising one measures the face,
    // which costs more than the text drawn with it.
    mutable std::unique_ptr<QFont> m_pRealised;
    mutable const CFont* m_pRealisedFor = nullptr;
    mutable unsigned m_nRealisedSerial = 0;

    friend class CClipScope;
};

// Confines a surface's operations to a half-open rectangle, within any confinement already
// open, for the scope's lifetime: pixels outside stay as they are and are not reported as
// drawn. Inside the rectangle a shape sets exactly the pixels it sets when drawn whole, so
// a handler that knows what a change can reach redraws only that much.
class CClipScope {
public:
    CClipScope(CDC& dc, const CRect& rc);
    ~CClipScope();
    CClipScope(const CClipScope&) = delete;
    CClipScope& operator=(const CClipScope&) = delete;

private:
    CDC& m_dc;
    std::optional<CRect> m_previous;
};

// A surface on the client area outside painting; draws into the raster the window shows.
class CClientDC : public CDC {
public:
    explicit CClientDC(CRaster& raster) : CDC(raster) {}
};
