// The image manager's persistence: archive forms of bitmaps, handles and
// images, the property-exchange layout of icon sets, and the clipboard.
#include <qx/images.h>
#include <qx/propexchange.h>
#include <fx/clipboard.h>

#include "bitmaps.h"

#include <algorithm>
#include <memory>
#include <vector>

using namespace qx::detail;

namespace {

const char kCheckSum[] = "CQXPImageManagerIcons";
const UINT kImageSchema = 24;
// Largest header we accept: BITMAPINFOHEADER and a 256-entry colour table.
const size_t kMaxHeader = sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);

[[noreturn]] void Refuse() { AfxThrowArchiveException(CArchiveException::badSchema); }

// Reads exactly n bytes or refuses; reads in steps so that a damaged count
// cannot make us allocate far more than the stream holds.
void ReadExactly(CArchive& ar, std::vector<BYTE>& out, DWORD_PTR n)
{
    out.clear();
    const size_t kStep = 64 * 1024;
    while (out.size() < n) {
        size_t chunk = (size_t)std::min<DWORD_PTR>(kStep, n - out.size());
        size_t old = out.size();
        out.resize(old + chunk);
        if (ar.Read(out.data() + old, (UINT)chunk) != chunk)
            AfxThrowArchiveException(CArchiveException::endOfFile);
    }
}

size_t StrideOf(int width, int bitCount) { return (((size_t)width * bitCount + 31) / 32) * 4; }

void WriteBitmap(CArchive& ar, HBITMAP hBitmap)
{
    BITMAP bm;
    if (!hBitmap || !::GetObjectA(hBitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) {
        ar.WriteCount(0);
        return;
    }
    int bitCount = bm.bmBitsPixel * bm.bmPlanes;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        bitCount = 32;
    const int entries = bitCount == 4 ? 16 : bitCount == 8 ? 256
                                                           : 3;
    std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + entries * sizeof(RGBQUAD), 0);
    BITMAPINFO* pbmi = reinterpret_cast<BITMAPINFO*>(header.data());
    pbmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    pbmi->bmiHeader.biWidth = bm.bmWidth;
    pbmi->bmiHeader.biHeight = bm.bmHeight;
    pbmi->bmiHeader.biPlanes = 1;
    pbmi->bmiHeader.biBitCount = (WORD)bitCount;
    pbmi->bmiHeader.biCompression = BI_RGB;
    HDC hdc = ::GetDC(NULL);
    ::GetDIBits(hdc, hBitmap, 0, (UINT)bm.bmHeight, NULL, pbmi, DIB_RGB_COLORS);
    pbmi->bmiHeader.biCompression = BI_RGB;
    size_t size = pbmi->bmiHeader.biSizeImage ? pbmi->bmiHeader.biSizeImage : (size_t)bm.bmWidth * bm.bmHeight * 4;
    size = std::max(size, StrideOf(bm.bmWidth, bitCount) * bm.bmHeight);
    std::vector<BYTE> bits(size, 0);
    int rows = ::GetDIBits(hdc, hBitmap, 0, (UINT)bm.bmHeight, bits.data(), pbmi, DIB_RGB_COLORS);
    ::ReleaseDC(NULL, hdc);
    if (rows != bm.bmHeight) {
        ar.WriteCount(0); // a bitmap that cannot be converted is written empty
        return;
    }
    pbmi->bmiHeader.biSizeImage = (DWORD)size;
    ar.WriteCount(header.size());
    ar.Write(header.data(), (UINT)header.size());
    ar.WriteCount(bits.size());
    ar.Write(bits.data(), (UINT)bits.size());
}

// NULL for an empty bitmap; damaged data throws an archive exception.
HBITMAP ReadBitmap(CArchive& ar)
{
    DWORD_PTR nHeader = ar.ReadCount();
    if (nHeader == 0)
        return NULL;
    if (nHeader < sizeof(BITMAPINFOHEADER) || nHeader > kMaxHeader)
        Refuse();
    std::vector<BYTE> header;
    ReadExactly(ar, header, nHeader);
    header.resize(kMaxHeader, 0); // room for any colour table the header asks for
    BITMAPINFO* pbmi = reinterpret_cast<BITMAPINFO*>(header.data());
    BITMAPINFOHEADER& bih = pbmi->bmiHeader;
    const int bitCount = bih.biBitCount;
    if (bih.biSize != sizeof(BITMAPINFOHEADER) || bih.biPlanes != 1 || bih.biWidth <= 0 || bih.biWidth > 0x7FFF ||
        bih.biHeight == 0 || bih.biHeight > 0x7FFF || bih.biHeight < -0x7FFF ||
        (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) ||
        (bih.biCompression != BI_RGB && !(bih.biCompression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32))) ||
        bih.biClrUsed > 256)
        Refuse();

    DWORD_PTR nPixels = ar.ReadCount();
    std::vector<BYTE> bits;
    ReadExactly(ar, bits, nPixels);
    if (bih.biSizeImage == 0)
        bih.biSizeImage = (DWORD)nPixels;

    void* pv = NULL;
    HBITMAP hbm = ::CreateDIBSection(NULL, pbmi, DIB_RGB_COLORS, &pv, NULL, 0);
    if (!hbm || !pv) {
        if (hbm)
            ::DeleteObject(hbm);
        Refuse();
    }
    const size_t dibSize = StrideOf(bih.biWidth, bitCount) * (size_t)(bih.biHeight < 0 ? -bih.biHeight : bih.biHeight);
    size_t n = std::min<size_t>(std::min<size_t>(bits.size(), bih.biSizeImage), dibSize);
    if (n)
        memcpy(pv, bits.data(), n);
    ::GdiFlush();
    return hbm;
}

void WriteHandle(CArchive& ar, const CQXPIconHandle& handle)
{
    if (handle.GetBitmap()) {
        WriteBitmap(ar, handle.GetBitmap());
        WriteBitmap(ar, NULL);
        return;
    }
    ICONINFO ii;
    if (handle.GetIcon() && ::GetIconInfo(handle.GetIcon(), &ii)) {
        if (ii.hbmColor) {
            WriteBitmap(ar, ii.hbmColor);
            WriteBitmap(ar, ii.hbmMask);
        } else {
            WriteBitmap(ar, NULL);
            WriteBitmap(ar, NULL);
        }
        if (ii.hbmColor)
            ::DeleteObject(ii.hbmColor);
        if (ii.hbmMask)
            ::DeleteObject(ii.hbmMask);
        return;
    }
    WriteBitmap(ar, NULL);
    WriteBitmap(ar, NULL);
}

void ReadHandle(CArchive& ar, CQXPIconHandle& handle)
{
    handle.Clear();
    HBITMAP hColor = ReadBitmap(ar);
    HBITMAP hMask = NULL;
    try {
        hMask = ReadBitmap(ar);
    } catch (...) {
        if (hColor)
            ::DeleteObject(hColor);
        throw;
    }
    if (hColor && hMask) {
        BITMAP bm;
        ::GetObjectA(hColor, sizeof(bm), &bm);
        HIMAGELIST hList = ::ImageList_Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 1);
        if (hList) {
            if (::ImageList_Add(hList, hColor, hMask) >= 0)
                handle.SetIcon(::ImageList_GetIcon(hList, 0, ILD_NORMAL));
            ::ImageList_Destroy(hList);
        }
        ::DeleteObject(hColor);
        ::DeleteObject(hMask);
    } else if (hColor) {
        handle.SetBitmap(hColor);
    } else if (hMask) {
        ::DeleteObject(hMask);
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Archive form of one image

void CQXPIconImage::Serialize(CArchive& ar)
{
    MakePendingIcon();
    if (ar.IsStoring()) {
        ar << (LONG)m_nHeight << (LONG)kImageSchema;
        WriteHandle(ar, m_hNormal);
        WriteHandle(ar, m_hDisabled);
        WriteHandle(ar, m_hHot);
        WriteHandle(ar, m_hChecked);
        WriteHandle(ar, m_hPressed);
        return;
    }
    LONG nHeight = 0, nSchema = 0;
    ar >> nHeight >> nSchema;
    if (nHeight <= 0 || nHeight > 0x7FFF)
        Refuse();
    RefreshGenerated();
    ReadHandle(ar, m_hNormal);
    ReadHandle(ar, m_hDisabled);
    ReadHandle(ar, m_hHot);
    if (nSchema > 7)
        ReadHandle(ar, m_hChecked);
    if (nSchema > 16)
        ReadHandle(ar, m_hPressed);
    m_nHeight = (int)nHeight;
}

// ---------------------------------------------------------------------------
// Property-exchange layout

void CQXPImageManager::DoPropExchange(UINT nID, CQXPPropExchange* pPX)
{
    if (!pPX)
        return;
    CString check(kCheckSum);
    if (pPX->IsLoading()) {
        if (nID > m_nNextCustomID)
            m_nNextCustomID = nID;
        ExchangeTextPropDefault(pPX, "CheckSum", &check, kCheckSum);
        if (check != kCheckSum)
            AfxThrowArchiveException(CArchiveException::badSchema);
        CQXPIconSet* pSet = GetIconSet(nID);
        if (pSet) {
            pSet->RemoveAll();
        } else {
            pSet = new CQXPIconSet(nID, this);
            m_mapImages[nID] = pSet;
        }
        std::unique_ptr<PropExchangeEnumerator> e(pPX->OpenEnumerator("Icon"));
        POSITION pos = e->First();
        while (pos) {
            PropExchangeSectionPtr sec(e->Next(pos));
            int nWidth = 16;
            ExchangeIntProp(sec, "Width", &nWidth, 16);
            CQXPIconImage* pImage = new CQXPIconImage(nID, nWidth, 15);
            pImage->m_pImageManager = this;
            // An image whose data cannot be read is left out.
            if (nWidth > 0 && nWidth <= 0x7FFF && ExchangeObjectProp(sec, "Data", pImage))
                pSet->SetIconImage(nWidth, pImage);
            else
                pImage->InternalRelease();
        }
        return;
    }
    ExchangeTextPropDefault(pPX, "CheckSum", &check, kCheckSum);
    std::vector<CQXPIconImage*> own;
    if (CQXPIconSet* pSet = GetIconSet(nID)) {
        for (const auto& e : pSet->m_images) {
            if (!e.second->m_bDerived)
                own.push_back(e.second);
        }
    }
    std::unique_ptr<PropExchangeEnumerator> e(pPX->OpenEnumerator("Icon"));
    POSITION pos = e->First((DWORD)own.size());
    for (CQXPIconImage* pImage : own) {
        if (!pos)
            break;
        PropExchangeSectionPtr sec(e->Next(pos));
        int nWidth = pImage->m_nWidth;
        for (const auto& w : pImage->m_pIconSet->m_images) {
            if (w.second == pImage)
                nWidth = w.first;
        }
        ExchangeIntProp(sec, "Width", &nWidth, 16);
        ExchangeObjectProp(sec, "Data", pImage);
    }
}

void CQXPImageManager::DoPropExchange(CQXPPropExchange* pPX)
{
    if (!pPX)
        return;
    std::unique_ptr<PropExchangeEnumerator> e(pPX->OpenEnumerator("IconSet"));
    if (pPX->IsLoading()) {
        RemoveAll();
        POSITION pos = e->First();
        while (pos) {
            PropExchangeSectionPtr sec(e->Next(pos));
            int nID = 0;
            ExchangeIntProp(sec, "Id", &nID, 0);
            DoPropExchange((UINT)nID, sec);
        }
        return;
    }
    std::vector<UINT> ids;
    for (const auto& s : m_mapImages)
        ids.push_back(s.first);
    POSITION pos = e->First((DWORD)ids.size());
    for (UINT nID : ids) {
        if (!pos)
            break;
        PropExchangeSectionPtr sec(e->Next(pos));
        int n = (int)nID;
        ExchangeIntProp(sec, "Id", &n, 0);
        DoPropExchange(nID, sec);
    }
}

void CQXPImageManager::Serialize(UINT nID, CArchive& ar)
{
    CQXPPropExchangeArchive px(ar);
    DoPropExchange(nID, &px);
}

void CQXPImageManager::Serialize(CArchive& ar)
{
    CQXPPropExchangeArchive px(ar);
    DoPropExchange(&px);
}

// ---------------------------------------------------------------------------
// Clipboard

UINT AFXAPI CQXPImageManager::GetClipboardFormat()
{
    static UINT s_format = ::RegisterClipboardFormatA("Corvane ToolBar Image");
    return s_format;
}

BOOL CQXPImageManager::CopyToClipboard(UINT nID)
{
    std::vector<BYTE> bytes;
    try {
        CMemFile file(1024);
        CArchive ar(&file, CArchive::store, 4096);
        Serialize(nID, ar);
        ar.Close();
        bytes.assign(file.GetData(), file.GetData() + file.GetLength());
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    HGLOBAL hg = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1);
    if (!hg)
        return FALSE;
    void* p = ::GlobalLock(hg);
    if (p && !bytes.empty())
        memcpy(p, bytes.data(), bytes.size());
    ::GlobalUnlock(hg);
    if (!::SetClipboardData(GetClipboardFormat(), hg)) {
        ::GlobalFree(hg);
        return FALSE;
    }
    return TRUE;
}

UINT CQXPImageManager::PasteFromGlobal(HGLOBAL hGlobal)
{
    if (!hGlobal)
        return 0;
    SIZE_T n = ::GlobalSize(hGlobal);
    const BYTE* p = static_cast<const BYTE*>(::GlobalLock(hGlobal));
    if (!p) {
        return 0;
    }
    // Parse a private copy: the block's own size bounds every read.
    std::vector<BYTE> bytes(p, p + n);
    ::GlobalUnlock(hGlobal);
    UINT nID = ++m_nNextCustomID;
    try {
        CMemFile file(bytes.empty() ? NULL : bytes.data(), (UINT)bytes.size());
        CArchive ar(&file, CArchive::load, 4096);
        Serialize(nID, ar);
    } catch (CException* e) {
        e->Delete();
        RemoveIcon(nID);
        return 0;
    }
    CQXPIconSet* pSet = GetIconSet(nID);
    if (!pSet || pSet->GetCount() == 0) {
        RemoveIcon(nID);
        return 0;
    }
    return nID;
}

UINT CQXPImageManager::PasteFromClipboard(COleDataObject* pDataObject)
{
    if (!pDataObject)
        return PasteFromClipboard((IDataObject*)NULL);
    HGLOBAL hg = pDataObject->GetGlobalData((CLIPFORMAT)GetClipboardFormat());
    if (!hg)
        return 0;
    UINT nID = PasteFromGlobal(hg);
    ::GlobalFree(hg);
    return nID;
}

UINT CQXPImageManager::PasteFromClipboard(IDataObject* pDataObject)
{
    const UINT format = GetClipboardFormat();
    if (pDataObject) {
        FORMATETC fe = {(CLIPFORMAT)format, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium;
        ZeroMemory(&medium, sizeof(medium));
        if (FAILED(pDataObject->GetData(&fe, &medium)))
            return 0;
        UINT nID = medium.tymed == TYMED_HGLOBAL ? PasteFromGlobal(medium.hGlobal) : 0;
        ::ReleaseStgMedium(&medium);
        return nID;
    }
    if (!fx::OpenClipboardPatiently(NULL))
        return 0;
    UINT nID = PasteFromGlobal(::GetClipboardData(format));
    ::CloseClipboard();
    return nID;
}
