// SPDX-License-Identifier: MIT
#include "platform/Raster.h"

#include <QImage>
#include <algorithm>
#include <utility>

CRaster::CRaster() : m_pImage(std::make_unique<QImage>()) {}

CRaster::CRaster(int nWidth, int nHeight) : CRaster() {
    Resize(nWidth, nHeight);
}

CRaster::~CRaster() = default;

void CRaster::Resize(int nWidth, int nHeight) {
    *m_pImage = QImage(nWidth > 0 ? nWidth : 0, nHeight > 0 ? nHeight : 0, QImage::Format_RGB32);
    m_pImage->fill(Qt::white);
    m_drawn.clear();
    AddDrawn(CRect(0, 0, Width(), Height()));
}

int CRaster::Width() const {
    return m_pImage->width();
}

int CRaster::Height() const {
    return m_pImage->height();
}

const std::uint32_t* CRaster::Row(int y) const {
    return reinterpret_cast<const std::uint32_t*>(m_pImage->constScanLine(y));
}

std::uint32_t* CRaster::MutableRow(int y) {
    return reinterpret_cast<std::uint32_t*>(m_pImage->scanLine(y));
}

QImage& CRaster::Image() {
    return *m_pImage;
}

const QImage& CRaster::Image() const {
    return *m_pImage;
}

namespace {

std::int64_t Area(const CRect& rc) {
    return std::int64_t(rc.Width()) * rc.Height();
}

CRect BoundingBox(const CRect& a, const CRect& b) {
    return CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom));
}

// Pixels the bounding box of the two covers beyond what they cover themselves (overlap
// counted twice, so overlapping rectangles look cheaper to join).
std::int64_t Waste(const CRect& a, const CRect& b) {
    return Area(BoundingBox(a, b)) - Area(a) - Area(b);
}

void Join(std::vector<CRect>& rects, std::size_t i, std::size_t j) {
    rects[i] = BoundingBox(rects[i], rects[j]);
    rects.erase(rects.begin() + std::ptrdiff_t(j));
}

// Joins held rectangles while two of them are worth joining: each costs a copy of its
// own, so a bounding box that wastes no more than the two cover is the cheaper copy.
void JoinClose(std::vector<CRect>& rects) {
    for (std::size_t i = 0; i < rects.size(); ++i) {
        for (std::size_t j = i + 1; j < rects.size(); ++j) {
            if (Waste(rects[i], rects[j]) <= Area(rects[i]) + Area(rects[j])) {
                Join(rects, i, j);
                JoinClose(rects);  // the grown rectangle may now reach any other
                return;
            }
        }
    }
}

// Joins the two rectangles whose bounding box wastes least; rects holds at least two.
void JoinCheapest(std::vector<CRect>& rects) {
    std::size_t bestI = 0;
    std::size_t bestJ = 1;
    for (std::size_t i = 0; i < rects.size(); ++i) {
        for (std::size_t j = i + 1; j < rects.size(); ++j) {
            if (Waste(rects[i], rects[j]) < Waste(rects[bestI], rects[bestJ])) {
                bestI = i;
                bestJ = j;
            }
        }
    }
    Join(rects, bestI, bestJ);
}

}  // namespace

void CRaster::AddDrawn(const CRect& rc) {
    const CRect clipped = IntersectionOf(rc, CRect(0, 0, Width(), Height()));
    if (clipped.IsRectEmpty()) {
        return;
    }
    m_drawn.push_back(clipped);
    JoinClose(m_drawn);
    while (m_drawn.size() > kMaxDrawn) {
        JoinCheapest(m_drawn);
        JoinClose(m_drawn);
    }
}

std::vector<CRect> CRaster::TakeDrawn() {
    return std::exchange(m_drawn, {});
}
