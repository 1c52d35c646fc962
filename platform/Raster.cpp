// SPDX-License-Identifier: MIT
#include "platform/Raster.h"

#include <QImage>

CRaster::CRaster() : m_pImage(std::make_unique<QImage>()) {}

CRaster::CRaster(int nWidth, int nHeight) : CRaster() { Resize(nWidth, nHeight); }

CRaster::~CRaster() = default;

void CRaster::Resize(int nWidth, int nHeight) {
    *m_pImage = QImage(nWidth > 0 ? nWidth : 0, nHeight > 0 ? nHeight : 0, QImage::Format_RGB32);
    m_pImage->fill(Qt::white);
}

int CRaster::Width() const { return m_pImage->width(); }

int CRaster::Height() const { return m_pImage->height(); }

const std::uint32_t* CRaster::Row(int y) const {
    return reinterpret_cast<const std::uint32_t*>(m_pImage->constScanLine(y));
}

std::uint32_t* CRaster::MutableRow(int y) {
    return reinterpret_cast<std::uint32_t*>(m_pImage->scanLine(y));
}

QImage& CRaster::Image() { return *m_pImage; }

const QImage& CRaster::Image() const { return *m_pImage; }
