// customcontext.cpp - the context menu of a control while customizing:
// its states per control kind, the stock picture palette, and the commands
// on the selected control (reset, delete, name, button pictures, styles,
// groups).
#include <qx/buttoneditor.h>
#include <qx/commandbars.h>
#include <qx/controledit.h>
#include <qx/customize.h>
#include <qx/images.h>
#include <qx/popup.h>
#include <qx/resourcemgr.h>

#include <cmath>

// ===========================================================================
// States

namespace {

// The button styles of a control (GetStyle, CustomStyle).
const int kStyleDefault = 0;
const int kStyleCaption = 1;
const int kStyleIcon = 2;
const int kStyleIconAndCaption = 3;

BOOL HasPicture(const QXPCustomizeControlFacts& f)
{
    return f.bSelected && f.nType >= qxpControlButton && f.nType <= qxpControlSplitButtonPopup && f.nIconId > 0;
}

} // namespace

QXPCustomizeControlFacts AFXAPI QxpCustomizeFactsOf(CQXPControl* pControl, BOOL bClipboardBitmap)
{
    QXPCustomizeControlFacts facts;
    facts.bClipboardBitmap = bClipboardBitmap;
    if (!pControl)
        return facts;
    facts.bSelected = TRUE;
    facts.nType = pControl->GetType();
    facts.nIconId = pControl->GetIconId();
    facts.nCustomIconId = pControl->m_nCustomIconId;
    facts.bCustomCaption = !pControl->m_strCustomCaption.IsEmpty();
    facts.nCustomStyle = pControl->m_buttonCustomStyle;
    facts.nStyle = pControl->GetStyle();
    facts.bBeginGroup = pControl->GetBeginGroup();
    facts.nIndex = pControl->GetIndex();
    return facts;
}

QXPCustomizeCommandState AFXAPI QxpCustomizeCommandState(const QXPCustomizeControlFacts& f, UINT nID)
{
    QXPCustomizeCommandState state = {FALSE, FALSE};
    const BOOL bPicture = HasPicture(f);
    switch (nID) {
    case QX_ID_CUSTOMIZE_RESET:
        state.bEnabled = f.bSelected && (f.nCustomIconId > 0 || f.bCustomCaption || f.nCustomStyle != -1);
        break;
    case QX_ID_CUSTOMIZE_DELETE:
    case QX_ID_CUSTOMIZE_NAME:
        state.bEnabled = TRUE;
        break;
    case QX_ID_CUSTOMIZE_COPYIMAGE:
    case QX_ID_CUSTOMIZE_EDITIMAGE:
    case QX_ID_CUSTOMIZE_CHANGEIMAGE:
        state.bEnabled = bPicture;
        break;
    case QX_ID_CUSTOMIZE_PASTEIMAGE:
        state.bEnabled = f.bSelected && f.nType >= qxpControlButton && f.nType <= qxpControlSplitButtonPopup &&
                         f.bClipboardBitmap;
        break;
    case QX_ID_CUSTOMIZE_RESETIMAGE:
        state.bEnabled = f.bSelected && f.nCustomIconId > 0;
        break;
    case QX_ID_CUSTOMIZE_DEFAULTSTYLE:
        // Without a picture the control can only show its text: the
        // default style, fixed.
        state.bEnabled = bPicture;
        state.bChecked = bPicture ? (f.nStyle == kStyleDefault || f.nStyle == kStyleIcon) : TRUE;
        break;
    case QX_ID_CUSTOMIZE_TEXTONLY:
        state.bEnabled = bPicture;
        state.bChecked = f.bSelected && f.nStyle == kStyleCaption;
        break;
    case QX_ID_CUSTOMIZE_IMAGEANDTEXT:
        state.bEnabled = bPicture;
        state.bChecked = f.bSelected && f.nStyle == kStyleIconAndCaption;
        break;
    case QX_ID_CUSTOMIZE_BEGINGROUP:
        state.bEnabled = f.bSelected && f.nIndex != 0;
        state.bChecked = f.bSelected && f.bBeginGroup;
        break;
    default:
        break;
    }
    return state;
}

int AFXAPI QxpStockPaletteWidth(int nPictures)
{
    if (nPictures < 1)
        nPictures = 1;
    return (int)std::floor(std::sqrt((double)nPictures)) * 23 + 6;
}

// ===========================================================================
// CQXPCustomizeContextMenu

CQXPCustomizeContextMenu::CQXPCustomizeContextMenu(CQXPCommandBars* pCommandBars, CWnd* pSheet)
    : m_pCommandBars(pCommandBars), m_pSheet(pSheet)
{
    ToolkitResourceManager* pResources = ToolkitResourceManager::Instance();

    // The stock pictures: a strip of 16 x 16 images, ids 1 to n.
    m_pStockImages = new CQXPImageManager;
    CBitmap bmStrip;
    if (pResources->LoadBitmap(&bmStrip, QX_IDB_STOCK_PICTURES)) {
        BITMAP bm = {};
        ::GetObjectA((HBITMAP)bmStrip.GetSafeHandle(), sizeof(bm), &bm);
        m_nStockCount = bm.bmWidth / 16;
        std::vector<UINT> ids;
        for (int i = 1; i <= m_nStockCount; i++)
            ids.push_back((UINT)i);
        if (m_nStockCount > 0 &&
            !m_pStockImages->SetIconsFromResource(QX_IDB_STOCK_PICTURES, ids.data(), m_nStockCount, 16, 16))
            m_nStockCount = 0;
    }

    // The context bar from the first popup of the menu.
    CMenu menu;
    if (!pResources->LoadMenu(&menu, QX_IDR_CUSTOMIZE_MENU))
        return;
    HMENU hPopup = ::GetSubMenu(menu.GetSafeHmenu(), 0);
    if (!hPopup)
        return;
    m_pContextBar = CQXPPopupBar::CreateForOwner(NULL);
    if (m_pCommandBars) {
        CQXPThemePainter* pPaint = m_pCommandBars->GetPaintManager();
        pPaint->InternalAddRef();
        m_pContextBar->SetPaintManager(pPaint);
        m_pContextBar->SetOwnerSite(m_pCommandBars->GetSite());
    }
    m_pStockImages->InternalAddRef();
    m_pContextBar->SetImageManager(m_pStockImages);

    BOOL bBeginGroup = FALSE;
    const int nItems = ::GetMenuItemCount(hPopup);
    for (int i = 0; i < nItems; i++) {
        UINT nID = ::GetMenuItemID(hPopup, i);
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoA(hPopup, (UINT)i, TRUE, &info);
        if (info.fType & MFT_SEPARATOR) {
            bBeginGroup = TRUE;
            continue;
        }
        CString strCaption = ToolkitResourceManager::GetMenuString(hPopup, i);
        CQXPControls* pControls = m_pContextBar->GetControls();
        CQXPControl* pControl = NULL;
        if (nID == QX_ID_CUSTOMIZE_CHANGEIMAGE) {
            pControl = pControls->Add(qxpControlPopup, (int)nID);
            CQXPPopupToolBar* pPalette = CQXPPopupToolBar::CreatePopupToolBar(NULL);
            pPalette->SetBarID(QX_ID_CUSTOMIZE_CHANGEIMAGE);
            m_pStockImages->InternalAddRef();
            pPalette->SetImageManager(m_pStockImages);
            if (CQXPControlPopup* pPopup = dynamic_cast<CQXPControlPopup*>(pControl))
                pPopup->SetCommandBar(pPalette);
            m_pPalette = pPalette;
            pPalette->InternalRelease();
        } else if (nID == QX_ID_CUSTOMIZE_NAME) {
            pControl = pControls->Add(qxpControlEdit, (int)nID);
        } else {
            pControl = pControls->Add(qxpControlButton, (int)nID);
        }
        if (!pControl)
            continue;
        pControl->SetCaption(strCaption);
        pControl->SetBeginGroup(bBeginGroup);
        // The states come from the selection, not from command routing.
        pControl->SetFlags(pControl->GetFlags() | qxpFlagManualUpdate);
        bBeginGroup = FALSE;
    }
}

CQXPCustomizeContextMenu::~CQXPCustomizeContextMenu()
{
    if (m_pContextBar) {
        if (::IsWindow(m_pContextBar->GetSafeHwnd()))
            m_pContextBar->DestroyWindow();
        m_pContextBar->InternalRelease();
    }
    if (m_pStockImages)
        m_pStockImages->InternalRelease();
}

CQXPControl* CQXPCustomizeContextMenu::GetSelected() const
{
    return m_pCommandBars ? m_pCommandBars->GetDragControl() : NULL;
}

void CQXPCustomizeContextMenu::RecalcSelectedBar(CQXPControl* pControl) const
{
    if (pControl && pControl->GetParent())
        pControl->GetParent()->OnRecalcLayout();
}

void CQXPCustomizeContextMenu::FillPalette(CQXPCommandBar* pPalette)
{
    if (!pPalette || pPalette->GetControlCount() > 0)
        return;
    for (int i = 1; i <= m_nStockCount; i++) {
        CQXPControl* pPicture = pPalette->GetControls()->Add(qxpControlButton, QX_ID_CUSTOMIZE_CHANGEIMAGE);
        if (!pPicture)
            continue;
        pPicture->SetIconId(i);
        pPicture->SetFlags(qxpFlagManualUpdate);
    }
    pPalette->SetMRUWidth(QxpStockPaletteWidth(m_nStockCount));
}

void CQXPCustomizeContextMenu::UpdateStates()
{
    if (!m_pContextBar)
        return;
    CQXPControl* pSelected = GetSelected();
    QXPCustomizeControlFacts facts = QxpCustomizeFactsOf(pSelected, ::IsClipboardFormatAvailable(CF_BITMAP));
    for (int i = 0; i < m_pContextBar->GetControlCount(); i++) {
        CQXPControl* pControl = m_pContextBar->GetControl(i);
        QXPCustomizeCommandState state = QxpCustomizeCommandState(facts, (UINT)pControl->GetID());
        pControl->SetEnabled(state.bEnabled);
        pControl->SetChecked(state.bChecked);
        if (pControl->GetID() == QX_ID_CUSTOMIZE_NAME) {
            if (CQXPControlEdit* pEdit = dynamic_cast<CQXPControlEdit*>(pControl))
                pEdit->SetEditText(pSelected ? pSelected->GetCaption() : CString());
        }
    }
}

void CQXPCustomizeContextMenu::Show(CPoint ptScreen)
{
    if (!m_pContextBar || !m_pCommandBars)
        return;
    UpdateStates();
    UINT nFlags = TPM_RECURSE;
    if (m_pCommandBars->IsLayoutRTL())
        nFlags |= TPM_RIGHTALIGN;
    CQXPCommandBars::TrackPopupMenu(m_pContextBar, nFlags, ptScreen.x, ptScreen.y, m_pCommandBars->GetSite(), NULL,
                                    m_pSheet);
}

BOOL CQXPCustomizeContextMenu::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nID < QX_ID_CUSTOMIZE_RESET || nID > QX_ID_CUSTOMIZE_BEGINGROUP)
        return FALSE;
    if (nCode == (int)CN_UPDATE_COMMAND_UI) {
        CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
        if (pCmdUI) {
            QXPCustomizeCommandState state = QxpCustomizeCommandState(
                QxpCustomizeFactsOf(GetSelected(), ::IsClipboardFormatAvailable(CF_BITMAP)), nID);
            pCmdUI->Enable(state.bEnabled);
            pCmdUI->SetCheck(state.bChecked ? 1 : 0);
        }
        return TRUE;
    }
    if (nCode != (int)CN_COMMAND)
        return FALSE;
    if (pHandlerInfo)
        return TRUE; // handled here, not called now
    Execute(nID);
    return TRUE;
}

void CQXPCustomizeContextMenu::OnBarAnnounced(CQXPCommandBar* pBar)
{
    if (pBar && pBar == m_pPalette)
        FillPalette(pBar);
}

BOOL CQXPCustomizeContextMenu::OnControlNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMQXPCONTROL* pNM = reinterpret_cast<NMQXPCONTROL*>(lParam);
    if (!pNM)
        return FALSE;
    // The Name box applies its text when it is left (a click elsewhere, the
    // menu closing) as well as on Enter.
    const BOOL bNameLeft = wParam == QX_ID_CUSTOMIZE_NAME && pNM->hdr.code == EN_KILLFOCUS;
    if (pNM->hdr.code != QXP_CN_EXECUTE && !bNameLeft)
        return FALSE;
    if (wParam == QX_ID_CUSTOMIZE_NAME) {
        CQXPControlEdit* pEdit = dynamic_cast<CQXPControlEdit*>(pNM->pControl);
        if (pEdit)
            ApplyName(pEdit->GetEditTextWithoutHint());
        if (pResult)
            *pResult = 1;
        return TRUE;
    }
    if (wParam == QX_ID_CUSTOMIZE_CHANGEIMAGE && pNM->pControl && pNM->pControl->GetParent() == m_pPalette) {
        ApplyStockPicture(pNM->pControl->GetIconId());
        if (pResult)
            *pResult = 1;
        return TRUE;
    }
    return FALSE;
}

void CQXPCustomizeContextMenu::Execute(UINT nID)
{
    CQXPControl* pControl = GetSelected();
    if (!pControl || !m_pCommandBars)
        return;
    QXPCustomizeCommandState state =
        QxpCustomizeCommandState(QxpCustomizeFactsOf(pControl, ::IsClipboardFormatAvailable(CF_BITMAP)), nID);
    if (!state.bEnabled)
        return;
    pControl->InternalAddRef();
    switch (nID) {
    case QX_ID_CUSTOMIZE_RESET:
        pControl->ResetCustomization();
        break;
    case QX_ID_CUSTOMIZE_DELETE: {
        CQXPCommandBar* pBar = pControl->GetParent();
        m_pCommandBars->SetDragControl(NULL);
        if (pBar) {
            pBar->InternalAddRef();
            pBar->GetControls()->Remove(pControl);
            pBar->OnRecalcLayout();
            pBar->InternalRelease();
        }
        break;
    }
    case QX_ID_CUSTOMIZE_COPYIMAGE:
        CopyImage();
        break;
    case QX_ID_CUSTOMIZE_PASTEIMAGE:
        PasteImage();
        break;
    case QX_ID_CUSTOMIZE_EDITIMAGE:
        EditImage();
        break;
    case QX_ID_CUSTOMIZE_RESETIMAGE:
        pControl->m_nCustomIconId = 0;
        RecalcSelectedBar(pControl);
        break;
    case QX_ID_CUSTOMIZE_DEFAULTSTYLE:
    case QX_ID_CUSTOMIZE_TEXTONLY:
    case QX_ID_CUSTOMIZE_IMAGEANDTEXT:
        pControl->m_buttonCustomStyle = nID == QX_ID_CUSTOMIZE_DEFAULTSTYLE
                                            ? kStyleDefault
                                            : (nID == QX_ID_CUSTOMIZE_TEXTONLY ? kStyleCaption : kStyleIconAndCaption);
        RecalcSelectedBar(pControl);
        break;
    case QX_ID_CUSTOMIZE_BEGINGROUP:
        pControl->SetBeginGroup(!pControl->GetBeginGroup());
        RecalcSelectedBar(pControl);
        break;
    default:
        break;
    }
    pControl->InternalRelease();
}

void CQXPCustomizeContextMenu::ApplyName(const CString& strName)
{
    CQXPControl* pControl = GetSelected();
    // Enter applies the name and the box then loses the focus; Esc puts the
    // old name back before it does: neither may customize an unchanged caption.
    if (!pControl || pControl->GetCaption() == strName)
        return;
    pControl->SetCustomCaption(strName);
    RecalcSelectedBar(pControl);
}

void CQXPCustomizeContextMenu::ApplyStockPicture(int nStockId)
{
    CQXPControl* pControl = GetSelected();
    if (!pControl || !m_pCommandBars || nStockId <= 0)
        return;
    CQXPIconSet* pSet = m_pStockImages->GetIconSet((UINT)nStockId);
    if (!pSet || pSet->GetCount() != 1)
        return;
    CQXPIconHandle copy;
    if (!copy.CopyFrom(pSet->GetAt(0)->GetNormalIcon()))
        return;
    UINT nID = m_pCommandBars->GetImageManager()->AddCustomIcon(copy, TRUE);
    pControl->m_nCustomIconId = (int)nID;
    RecalcSelectedBar(pControl);
}

BOOL CQXPCustomizeContextMenu::CopyImage()
{
    CQXPControl* pControl = GetSelected();
    if (!pControl || !m_pCommandBars)
        return FALSE;
    CQXPImageManager* pImages = m_pCommandBars->GetImageManager();
    const int nIconId = pControl->GetIconId();
    CQXPIconImage* pImage = pImages->GetImage((UINT)nIconId, 16);
    if (!pImage)
        return FALSE;
    const CQXPIconHandle& icon = pImage->GetNormalIcon();
    const BOOL bAlpha = icon.IsAlpha();
    HBITMAP hBitmap = NULL;
    if (bAlpha) {
        // A copy: the clipboard frees what it is given.
        hBitmap = CopyAlphaBitmap(icon.GetBitmap());
    } else if (icon.GetIcon()) {
        SIZE sz = icon.GetExtent();
        HDC hdcScreen = ::GetDC(NULL);
        hBitmap = ::CreateCompatibleBitmap(hdcScreen, sz.cx, sz.cy);
        HDC hdc = ::CreateCompatibleDC(hdcScreen);
        if (hBitmap && hdc) {
            HGDIOBJ hOld = ::SelectObject(hdc, hBitmap);
            RECT rc = {0, 0, sz.cx, sz.cy};
            ::FillRect(hdc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
            ::DrawState(hdc, NULL, NULL, (LPARAM)icon.GetIcon(), 0, 0, 0, sz.cx, sz.cy, DST_ICON | DSS_NORMAL);
            ::SelectObject(hdc, hOld);
        }
        if (hdc)
            ::DeleteDC(hdc);
        ::ReleaseDC(NULL, hdcScreen);
    }
    CWnd* pOwner = m_pCommandBars->GetSite();
    if (!QxpOpenClipboardWithPicture(pOwner ? pOwner->GetSafeHwnd() : NULL, hBitmap, bAlpha))
        return FALSE;
    if (pImages->GetIconSet((UINT)nIconId))
        pImages->CopyToClipboard((UINT)nIconId);
    ::CloseClipboard();
    return TRUE;
}

BOOL CQXPCustomizeContextMenu::PasteImage()
{
    CQXPControl* pControl = GetSelected();
    if (!pControl || !m_pCommandBars)
        return FALSE;
    CQXPImageManager* pImages = m_pCommandBars->GetImageManager();
    UINT nNewId = 0;
    if (::IsClipboardFormatAvailable(CQXPImageManager::GetClipboardFormat()))
        nNewId = pImages->PasteFromClipboard((IDataObject*)NULL);
    if (!nNewId && ::IsClipboardFormatAvailable(CF_BITMAP) && ::OpenClipboard(NULL)) {
        const BOOL bAlpha = ::IsClipboardFormatAvailable(QxpAlphaBitmapClipboardFormat());
        HBITMAP hClip = (HBITMAP)::GetClipboardData(CF_BITMAP);
        CQXPIconHandle image;
        if (hClip && bAlpha) {
            if (HBITMAP hCopy = CopyAlphaBitmap(hClip))
                image.SetBitmap(hCopy);
        } else if (hClip) {
            BITMAP bm = {};
            if (::GetObjectA(hClip, sizeof(bm), &bm) && bm.bmWidth > 0 && bm.bmHeight > 0) {
                HIMAGELIST hList = ImageList_Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 1);
                if (hList) {
                    // The clipboard owns its bitmap: the list takes a copy.
                    HBITMAP hCopy = (HBITMAP)::CopyImage(hClip, IMAGE_BITMAP, 0, 0, 0);
                    if (hCopy && ImageList_AddMasked(hList, hCopy, ::GetSysColor(COLOR_BTNFACE)) >= 0 &&
                        ImageList_GetImageCount(hList) == 1)
                        image.SetIcon(ImageList_GetIcon(hList, 0, ILD_NORMAL));
                    if (hCopy)
                        ::DeleteObject(hCopy);
                    ImageList_Destroy(hList);
                }
            }
        }
        ::CloseClipboard();
        if (!image.IsEmpty())
            nNewId = pImages->AddCustomIcon(image, TRUE);
    }
    if (!nNewId)
        return FALSE;
    pControl->m_nCustomIconId = (int)nNewId;
    RecalcSelectedBar(pControl);
    return TRUE;
}

BOOL CQXPCustomizeContextMenu::EditImage()
{
    CQXPControl* pControl = GetSelected();
    if (!pControl || !m_pCommandBars)
        return FALSE;
    CQXPImageManager* pImages = m_pCommandBars->GetImageManager();
    CSize szImage(16, 16);
    if (CQXPCommandBar* pBar = pControl->GetParent())
        szImage = pBar->GetIconSize();
    szImage.cx = pControl->GetIconSizeForImage();
    CWnd* pParent = m_pSheet ? m_pSheet : m_pCommandBars->GetSite();
    CQXPImageEditorDlg dlg(pParent, TRUE);
    CQXPIconImage* pImage = pControl->GetIconId() > 0 ? pImages->GetImage((UINT)pControl->GetIconId(), szImage.cx) : NULL;
    if (pImage && !pImage->GetNormalIcon().IsEmpty())
        dlg.SetPicture(pImage->GetNormalIcon());
    else
        dlg.SetPictureSize(szImage.cx, szImage.cy);
    // The control may go while the dialog runs (its bar closed).
    pControl->InternalAddRef();
    BOOL bChanged = FALSE;
    CQXPIconHandle icon;
    if (dlg.DoModal() == IDOK && dlg.GetPicture(icon) && pControl->GetParent()) {
        if (pControl->m_nCustomIconId > 0) {
            // The custom picture is edited in place.
            const UINT nID = (UINT)pControl->m_nCustomIconId;
            pImages->RemoveIcon(nID);
            bChanged = pImages->SetIcon(icon, nID);
        } else {
            UINT nID = pImages->AddCustomIcon(icon, FALSE);
            bChanged = nID != 0;
            if (bChanged)
                pControl->m_nCustomIconId = (int)nID;
        }
        if (bChanged)
            RecalcSelectedBar(pControl);
    }
    pControl->InternalRelease();
    return bChanged;
}
