// SPDX-License-Identifier: MIT
#include "app/ViewCommands.h"

#include <QWidget>
#include "game/TessixView.h"

#include "print/PrintCommands.h"

void CQtPrintCommands::Run(UINT nID, CTessixView& view, QWidget* pParent) {
    switch (nID) {
        case ID_FILE_PRINT:
            OnFilePrint(view, pParent, EPrintDialog::Show);
            break;
        case ID_FILE_PRINT_DIRECT:
            OnFilePrint(view, pParent, EPrintDialog::Skip);
            break;
        case ID_FILE_PRINT_PREVIEW:
            OnFilePrintPreview(view, pParent);
            break;
        default:
            break;
    }
}

BOOL CViewCommands::OnCmdMsg(UINT nID, ECmd eCmd) {
    if (nID != ID_FILE_PRINT && nID != ID_FILE_PRINT_DIRECT && nID != ID_FILE_PRINT_PREVIEW) {
        return FALSE;
    }
    const BOOL bEnabled = nID == ID_FILE_PRINT ? m_view.OnUpdateFilePrint() : TRUE;
    if (eCmd == ECmd::Update || !bEnabled) {
        return bEnabled;
    }
    m_print.Run(nID, m_view, &m_parent);
    return TRUE;
}
