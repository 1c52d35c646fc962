// SPDX-License-Identifier: MIT
#include "platform/Dc.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/FontMapping.h"
#include "platform/LocaleText.h"
#include "platform/Raster.h"

namespace {

QColor ToQColor(COLORREF clr) {
    return QColor(GetRValue(clr), GetGValue(clr), GetBValue(clr));
}

// Text is in the locale's encoding, as the runtime's date formatting writes it; the
// window caption decodes it the same way.
QString ToQString(const CString& text) {
    return FromLocaleText(text);
}

// Text laid out as DrawText draws it: one line, or lines broken at blanks to a width and
// at the text's line breaks, each one cell height below the one before.
class CTextBlock {
public:
    // Lines nCell pixels apart.
    CTextBlock(const QString& text, const QFont& font, QPaintDevice* pDevice, int nWidth,
               UINT nFormat, int nCell);
    int Height() const { return m_nHeight; }
    int Width() const { return m_nWidth; }
    void Draw(QPainter& p, const QPoint& topLeft) const {
        for (const auto& pLayout : m_paragraphs) {
            pLayout->draw(&p, topLeft);
        }
    }

private:
    std::vector<std::unique_ptr<QTextLayout>> m_paragraphs;
    int m_nHeight = 0;
    int m_nWidth = 0;
};

// The cell height of a font in whole pixels, for a font made smaller than asked.
int CellOf(const QFont& font, QPaintDevice* pDevice) {
    const QFontMetricsF metrics(font, pDevice);
    return static_cast<int>(std::lround(metrics.ascent() + metrics.descent()));
}

CTextBlock::CTextBlock(const QString& text, const QFont& font, QPaintDevice* pDevice, int nWidth,
                       UINT nFormat, int nCell) {
    const QFontMetricsF metrics(font, pDevice);
    const bool bWrap = (nFormat & DT_WORDBREAK) && !(nFormat & DT_SINGLELINE);
    QTextOption option((nFormat & DT_CENTER)  ? Qt::AlignHCenter
                       : (nFormat & DT_RIGHT) ? Qt::AlignRight
                                              : Qt::AlignLeft);
    option.setWrapMode(bWrap ? QTextOption::WordWrap : QTextOption::NoWrap);
    QStringList paragraphs = bWrap ? text.split(QLatin1Char('\n')) : QStringList{text};
    if (paragraphs.size() > 1 && paragraphs.back().isEmpty()) {
        paragraphs.removeLast();  // a closing line break starts no line
    }
    for (const QString& paragraph : paragraphs) {
        auto pLayout = std::make_unique<QTextLayout>(paragraph, font, pDevice);
        pLayout->setTextOption(option);
        pLayout->beginLayout();
        for (QTextLine line = pLayout->createLine(); line.isValid(); line = pLayout->createLine()) {
            line.setLineWidth(nWidth);
            // The line's top is where its cell starts; its baseline is the font's ascent
            // below, whatever leading the font asks for.
            line.setPosition(QPointF(0, m_nHeight + metrics.ascent() - line.ascent()));
            m_nWidth = std::max(m_nWidth, static_cast<int>(std::ceil(line.naturalTextWidth())));
            m_nHeight += nCell;
        }
        pLayout->endLayout();
        m_paragraphs.push_back(std::move(pLayout));
    }
}

// Whether the block fits a box of the given size.
bool Fits(const CTextBlock& block, const QSize& box) {
    return block.Height() <= box.height() && block.Width() <= box.width();
}

// The box a shape is stroked on: a 1-pixel pen on (l, t, r - l - 1, b - t - 1) keeps the
// shape inside [l, r) x [t, b); a wider pen is stroked on the full box.
QRect ShapeBox(int l, int t, int r, int b, int nPenWidth) {
    const int shrink = nPenWidth <= 1 ? 1 : 0;
    return QRect(l, t, r - l - shrink, b - t - shrink);
}

}  // namespace

CDC::CDC(CRaster& raster) : m_pRaster(&raster) {}

CDC::CDC(QPainter& painter) : m_pPainter(&painter) {}

CDC::~CDC() = default;

namespace {

void ApplyClip(QPainter& p, const std::optional<CRect>& clip) {
    if (clip) {
        p.setClipRect(
            QRect(clip->left, clip->top, std::max(clip->Width(), 0), std::max(clip->Height(), 0)));
    }
}

}  // namespace

CClipScope::CClipScope(CDC& dc, const CRect& rc) : m_dc(dc), m_previous(dc.m_clip) {
    m_dc.m_clip = m_previous ? IntersectionOf(*m_previous, rc) : rc;
}

CClipScope::~CClipScope() {
    m_dc.m_clip = m_previous;
}

template <class F>
void CDC::Paint(F&& fn) {
    if (m_pPainter) {
        m_pPainter->save();
        ApplyClip(*m_pPainter, m_clip);
        fn(*m_pPainter);
        m_pPainter->restore();
        return;
    }
    QImage& image = m_pRaster->Image();
    if (image.isNull()) {
        return;
    }
    QPainter painter(&image);
    ApplyClip(painter, m_clip);
    fn(painter);
}

void CDC::ReportDrawn(const CRect& rc) const {
    if (m_pRaster) {
        m_pRaster->AddDrawn(m_clip ? IntersectionOf(rc, *m_clip) : rc);
    }
}

CRect CDC::WritableBox() const {
    const CRect rcRaster(0, 0, m_pRaster->Width(), m_pRaster->Height());
    return m_clip ? IntersectionOf(rcRaster, *m_clip) : rcRaster;
}

void CDC::ReportText(const QRect& rcText, const QFont& font) const {
    if (!m_pRaster) {
        return;
    }
    const int margin = QFontMetrics(font, &m_pRaster->Image()).height() / 2 + 1;
    const QRect rc = rcText.adjusted(-margin, -margin, margin, margin);
    ReportDrawn(CRect(rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height()));
}

CPen* CDC::SelectObject(CPen* pPen) {
    CPen* pOld = m_pPen;
    m_pPen = pPen;
    return pOld;
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    CBrush* pOld = m_pBrush;
    m_pBrush = pBrush;
    return pOld;
}

CFont* CDC::SelectObject(CFont* pFont) {
    CFont* pOld = m_pFont;
    m_pFont = pFont;
    return pOld;
}

COLORREF CDC::SetTextColor(COLORREF clr) {
    const COLORREF old = m_clrText;
    m_clrText = clr;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF clr) {
    const COLORREF old = m_clrBk;
    m_clrBk = clr;
    return old;
}

int CDC::SetBkMode(int nMode) {
    const int old = m_nBkMode;
    m_nBkMode = nMode;
    return old;
}

namespace {

// Without a selected pen or brush a surface draws with a black pen and a white brush.
QColor PenColor(const CPen* pPen) {
    return pPen && pPen->GetSafeHandle() ? ToQColor(pPen->Color()) : QColor(Qt::black);
}

QColor BrushColor(const CBrush* pBrush) {
    return pBrush && pBrush->GetSafeHandle() ? ToQColor(pBrush->Color()) : QColor(Qt::white);
}

void SetShapeTools(QPainter& p, const CPen* pPen, const CBrush* pBrush) {
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(PenColor(pPen));
    pen.setWidth(pPen && pPen->GetSafeHandle() && pPen->Width() > 1 ? pPen->Width() : 1);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(BrushColor(pBrush));
}

int PenWidth(const CPen* pPen) {
    return pPen && pPen->GetSafeHandle() ? pPen->Width() : 1;
}

// The pixels a shape on the half-open box may touch: the box itself with a 1-pixel pen;
// a wider pen is stroked across the box's edge, so it may reach its width beyond it.
CRect StrokedBox(const CRect& rc, int nPenWidth) {
    const int grow = nPenWidth <= 1 ? 0 : nPenWidth;
    return CRect(rc.left - grow, rc.top - grow, rc.right + grow, rc.bottom + grow);
}

// A line of single pixels from a to b, both ends included, the same set of pixels
// whichever end it starts from (the walk always runs from the smaller end point). Only the
// pixels within rcWritable are written.
void StrokeSegment(CRaster& raster, const CRect& rcWritable, CPoint a, CPoint b, std::uint32_t px) {
    if (b.x < a.x || (b.x == a.x && b.y < a.y)) {
        std::swap(a, b);
    }
    const int dx = std::abs(b.x - a.x);
    const int dy = -std::abs(b.y - a.y);
    const int sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    int x = a.x;
    int y = a.y;
    for (;;) {
        if (rcWritable.Contains(CPoint(x, y))) {
            raster.MutableRow(y)[x] = px;
        }
        if (x == b.x && y == b.y) {
            break;
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            ++x;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

}  // namespace

BOOL CDC::Rectangle(int l, int t, int r, int b) {
    if (r <= l || b <= t) {
        return TRUE;
    }
    Paint([&](QPainter& p) {
        if (PenWidth(m_pPen) <= 1) {
            // Filled rather than stroked: exact for every size, down to one pixel, where
            // stroking the shrunk box (then empty) would draw nothing.
            p.fillRect(QRect(l, t, r - l, b - t), PenColor(m_pPen));
            if (r - l > 2 && b - t > 2 && BrushColor(m_pBrush) != PenColor(m_pPen)) {
                p.fillRect(QRect(l + 1, t + 1, r - l - 2, b - t - 2), BrushColor(m_pBrush));
            }
            return;
        }
        SetShapeTools(p, m_pPen, m_pBrush);
        p.drawRect(ShapeBox(l, t, r, b, PenWidth(m_pPen)));
    });
    ReportDrawn(StrokedBox(CRect(l, t, r, b), PenWidth(m_pPen)));
    return TRUE;
}

BOOL CDC::Ellipse(int l, int t, int r, int b) {
    if (r <= l || b <= t) {
        return TRUE;
    }
    Paint([&](QPainter& p) {
        SetShapeTools(p, m_pPen, m_pBrush);
        p.drawEllipse(ShapeBox(l, t, r, b, PenWidth(m_pPen)));
    });
    ReportDrawn(StrokedBox(CRect(l, t, r, b), PenWidth(m_pPen)));
    return TRUE;
}

BOOL CDC::Polygon(const CPoint* pPoints, int nCount) {
    if (!pPoints || nCount < 2) {
        return FALSE;
    }
    QPolygon polygon;
    polygon.reserve(nCount);
    for (int i = 0; i < nCount; ++i) {
        polygon << QPoint(pPoints[i].x, pPoints[i].y);
    }
    const bool bThinPen = PenWidth(m_pPen) <= 1;
    Paint([&](QPainter& p) {
        SetShapeTools(p, m_pPen, m_pBrush);
        if (bThinPen && m_pRaster) {
            // Filled by pixel centres, with point (x, y) taken as the centre of pixel
            // (x, y) as the stroke below takes it, so fill and outline meet without gaps.
            p.setPen(Qt::NoPen);
            p.translate(0.5, 0.5);
        }
        p.drawPolygon(polygon, Qt::OddEvenFill);
    });
    if (bThinPen && m_pRaster) {
        // Each edge is stroked on its own, its pixels depending only on its two end
        // points: a shape drawn over another one that shares an edge covers that edge's
        // old pixels exactly, whichever way round either polygon runs.
        const std::uint32_t px =
            CRaster::PixelOf(m_pPen && m_pPen->GetSafeHandle() ? m_pPen->Color() : RGB(0, 0, 0));
        const CRect rcWritable = WritableBox();
        for (int i = 0; i < nCount; ++i) {
            StrokeSegment(*m_pRaster, rcWritable, pPoints[i], pPoints[(i + 1) % nCount], px);
        }
    }
    // The vertices' pixels bound the outline and the fill.
    ReportDrawn(StrokedBox(PixelBoundsOf(pPoints, nCount), PenWidth(m_pPen)));
    return TRUE;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF clr) {
    if (m_pRaster) {
        if (!WritableBox().Contains(CPoint(x, y))) {
            return CLR_INVALID;
        }
        m_pRaster->MutableRow(y)[x] = CRaster::PixelOf(clr);
        m_pRaster->AddDrawn(CRect(x, y, x + 1, y + 1));
        return clr;
    }
    Paint([&](QPainter& p) {
        p.setPen(QPen(ToQColor(clr), 1));
        p.drawPoint(x, y);
    });
    return clr;
}

COLORREF CDC::GetPixel(int x, int y) const {
    if (!m_pRaster || x < 0 || y < 0 || x >= m_pRaster->Width() || y >= m_pRaster->Height()) {
        return CLR_INVALID;
    }
    return CRaster::ColorOf(m_pRaster->Row(y)[x]);
}

QFont CDC::SelectedQFont() const {
    QPaintDevice* pDevice =
        m_pPainter ? m_pPainter->device() : static_cast<QPaintDevice*>(&m_pRaster->Image());
    if (m_pFont && m_pFont->GetSafeHandle()) {
        if (!m_pRealised || m_pRealisedFor != m_pFont || m_nRealisedSerial != m_pFont->Serial()) {
            m_pRealised = std::make_unique<QFont>(MakeQFont(*m_pFont, pDevice));
            m_pRealisedFor = m_pFont;
            m_nRealisedSerial = m_pFont->Serial();
        }
        return *m_pRealised;
    }
    CFont fallback;
    fallback.CreateFont(16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
    return MakeQFont(fallback, pDevice);
}

int CDC::DrawText(const CString& text, const CRect& rc, UINT nFormat) {
    QFont font = SelectedQFont();
    const QString str = ToQString(text);
    QPaintDevice* pDevice =
        m_pPainter ? m_pPainter->device() : static_cast<QPaintDevice*>(&m_pRaster->Image());
    const QRect box(rc.left, rc.top, rc.Width(), rc.Height());
    // Lines lie one cell apart: the cell height the font was asked for.
    const int nAsked = m_pFont && m_pFont->GetSafeHandle() ? m_pFont->Height() : 0;
    const int nCell = nAsked > 0 ? nAsked : CellOf(font, pDevice);
    auto pBlock = std::make_unique<CTextBlock>(str, font, pDevice, box.width(), nFormat, nCell);
    if (nFormat & DT_SHRINKTOFIT) {
        // The pixel size steps down until the text fits; where it fits already nothing
        // changes.
        for (int nPixels = font.pixelSize() - 1; nPixels > 0 && !Fits(*pBlock, box.size());
             --nPixels) {
            font.setPixelSize(nPixels);
            pBlock = std::make_unique<CTextBlock>(str, font, pDevice, box.width(), nFormat,
                                                  CellOf(font, pDevice));
        }
    }
    const CTextBlock& block = *pBlock;
    Paint([&](QPainter& p) {
        p.setPen(ToQColor(m_clrText));
        const bool bCentreV = (nFormat & DT_SINGLELINE) && (nFormat & DT_VCENTER);
        const QPoint topLeft(
            box.left(), bCentreV ? box.top() + (box.height() - block.Height()) / 2 : box.top());
        const QRect rcText(box.left(), topLeft.y(), box.width(), block.Height());
        p.setClipRect(box, p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        if (m_nBkMode == OPAQUE) {
            // The background of the text's own cells, as wide as its widest line.
            const int nSpare = box.width() - block.Width();
            const int nLeft = (nFormat & DT_CENTER)  ? nSpare / 2
                              : (nFormat & DT_RIGHT) ? nSpare
                                                     : 0;
            p.fillRect(QRect(rcText.left() + nLeft, rcText.top(), block.Width(), rcText.height()),
                       ToQColor(m_clrBk));
        }
        block.Draw(p, topLeft);
        ReportText(rcText & box, font);
    });
    return block.Height();
}

BOOL CDC::TextOut(int x, int y, const CString& text) {
    const QFont font = SelectedQFont();
    Paint([&](QPainter& p) {
        p.setFont(font);
        p.setPen(ToQColor(m_clrText));
        const QFontMetrics metrics(font, p.device());
        // The point is the top-left corner of the text cell.
        const QRect cell(x, y, metrics.horizontalAdvance(ToQString(text)), metrics.height());
        if (m_nBkMode == OPAQUE) {
            p.fillRect(cell, ToQColor(m_clrBk));
        }
        p.drawText(x, y + metrics.ascent(), ToQString(text));
        ReportText(cell, font);
    });
    return TRUE;
}

CSize CDC::GetTextExtent(const CString& text) const {
    const QFont font = SelectedQFont();
    QPaintDevice* pDevice =
        m_pPainter ? m_pPainter->device() : static_cast<QPaintDevice*>(&m_pRaster->Image());
    const QFontMetrics metrics(font, pDevice);
    return CSize(metrics.horizontalAdvance(ToQString(text)), metrics.ascent() + metrics.descent());
}
