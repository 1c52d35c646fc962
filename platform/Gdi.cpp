// SPDX-License-Identifier: MIT
#include "platform/Gdi.h"

BOOL CGdiObject::DeleteObject() {
    if (!m_bHasHandle) {
        return FALSE;
    }
    m_bHasHandle = false;
    return TRUE;
}

BOOL CGdiObject::Attach() {
    if (m_bHasHandle) {
        return FALSE;
    }
    m_bHasHandle = true;
    return TRUE;
}

BOOL CPen::CreatePen(int /*nPenStyle*/, int nWidth, COLORREF crColor) {
    if (!Attach()) {
        return FALSE;
    }
    m_nWidth = nWidth < 1 ? 1 : nWidth;
    m_clr = crColor;
    return TRUE;
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    if (!Attach()) {
        return FALSE;
    }
    m_clr = crColor;
    return TRUE;
}

BOOL CFont::CreateFont(int nHeight, int /*nWidth*/, int /*nEscapement*/, int /*nOrientation*/,
                       int nWeight, BOOL bItalic, BOOL bUnderline, BOOL bStrikeOut,
                       int /*nCharSet*/, int /*nOutPrecision*/, int /*nClipPrecision*/,
                       int /*nQuality*/, int /*nPitchAndFamily*/, const char* lpszFacename) {
    if (!Attach()) {
        return FALSE;
    }
    m_nHeight = nHeight;
    m_nWeight = nWeight;
    m_bItalic = bItalic;
    m_bUnderline = bUnderline;
    m_bStrikeOut = bStrikeOut;
    m_strFace = lpszFacename ? lpszFacename : "";
    ++m_nSerial;
    return TRUE;
}
