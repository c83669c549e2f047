#include "idiom_dlg.h"

#include "about_dlg.h"
#include "display_font.h"
#include "find_dlg.h"
#include "home_page.h"
#include "resource.h"

namespace {
// GBK texts of the program.
constexpr char kExitQuestion[] = "\xCA\xC7\xB7\xF1\xCD\xCB\xB3\xF6?";  // 是否退出?
constexpr char kExitCaption[] = "\xC8\xB7\xB6\xA8";                    // 确定
}  // namespace

CIdiomDlg::CIdiomDlg(CWnd* pParent) : CDialog(IDD_IDIOM_DIALOG, pParent) {
    m_hIcon = ::LoadIconW(AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                MAKEINTRESOURCEW(14)),  // RT_GROUP_ICON
                          MAKEINTRESOURCEW(IDR_MAINFRAME));
}

void CIdiomDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_IDIOM, m_strIdiom);
    DDX_Text(pDX, IDC_EXPLAIN, m_strExplain);
    DDX_Text(pDX, IDC_PINYIN, m_strPinyin);
}

BEGIN_MESSAGE_MAP(CIdiomDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_PREV, OnPrev)
    ON_BN_CLICKED(IDC_NEXT, OnNext)
    ON_COMMAND(IDM_FINDIDIOM, OnFindIdiom)
END_MESSAGE_MAP()

BOOL CIdiomDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    AddAboutToSystemMenu();
    AddFindToSystemMenu();
    m_hAccel = ::LoadAcceleratorsW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    SetDisplayFont();

    if (!LoadIdiomList(m_arrIdioms, afx::GbkToWide(kIdiomFileName).c_str())) {
        return FALSE;  // no dictionary: the fields stay empty
    }
    StartEntry();
    return TRUE;  // the dialog manager focuses the first tab stop
}

void CIdiomDlg::AddAboutToSystemMenu() {
    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu == nullptr) {
        return;
    }
    CString strAboutMenu;
    strAboutMenu.LoadString(IDS_ABOUTBOX);
    if (strAboutMenu.empty()) {
        return;
    }
    pSysMenu->AppendMenu(MF_SEPARATOR);
    pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
}

// Find goes right below About, with no separator between them.
void CIdiomDlg::AddFindToSystemMenu() {
    CMenu* pSysMenu = GetSystemMenu(FALSE);
    CString strFindMenu;
    if (pSysMenu == nullptr || !strFindMenu.LoadString(IDS_FINDIDIOM)) {
        return;
    }
    pSysMenu->AppendMenu(MF_STRING, IDM_FINDIDIOM, strFindMenu);
}

void CIdiomDlg::SetDisplayFont() {
    const WPARAM font = reinterpret_cast<WPARAM>(DisplayFont(kDisplayFontPoints));
    GetDlgItem(IDC_IDIOM).SendMessage(WM_SETFONT, font, TRUE);
    GetDlgItem(IDC_PINYIN).SendMessage(WM_SETFONT, font, TRUE);
    GetDlgItem(IDC_EXPLAIN).SendMessage(WM_SETFONT, font, TRUE);
}

// A pronunciation or idiom too long for its one line gets a smaller font for
// this entry only; the explanation box wraps its lines.
void CIdiomDlg::RefreshFields() {
    FitDisplayFont(GetDlgItem(IDC_PINYIN).GetSafeHwnd(), afx::GbkToWide(m_strPinyin));
    FitDisplayFont(GetDlgItem(IDC_IDIOM).GetSafeHwnd(), afx::GbkToWide(m_strIdiom));
    UpdateData(FALSE);
}

// OK, and Enter in the edit boxes, change nothing: the dialog only closes
// through Exit.
void CIdiomDlg::OnOK() {}

void CIdiomDlg::OnCancel() {
    if (MessageBox(kExitQuestion, kExitCaption, MB_YESNO) != IDYES) {
        return;
    }
    ShellOpen(kHomePageUrl);  // closes whether or not a browser opened
    CDialog::OnCancel();
}

// The system keeps the low four bits of a system command for itself, and
// commands from 0xF000 up are its own.
static_assert((IDM_ABOUTBOX & 0x000F) == 0, "IDM_ABOUTBOX must leave the low four bits clear");
static_assert(IDM_ABOUTBOX < 0xF000, "IDM_ABOUTBOX must lie below the system's commands");
static_assert((IDM_FINDIDIOM & 0x000F) == 0, "IDM_FINDIDIOM must leave the low four bits clear");
static_assert(IDM_FINDIDIOM < 0xF000, "IDM_FINDIDIOM must lie below the system's commands");

void CIdiomDlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else if ((nID & 0xFFF0) == IDM_FINDIDIOM) {
        OnFindIdiom();
    } else {
        Default();
    }
}

// A key of the accelerator table becomes its command: one on the system menu
// (Find) arrives as WM_SYSCOMMAND, as if picked there.
BOOL CIdiomDlg::PreTranslateMessage(MSG* pMsg) {
    return m_hAccel != nullptr && ::TranslateAcceleratorW(m_hWnd, m_hAccel, pMsg);
}

void CIdiomDlg::OnFindIdiom() {
    if (!m_pFinder) {
        m_pFinder = std::make_unique<IdiomFinder>(m_arrIdioms);
    }
    CFindDlg dlgFind(m_arrIdioms, *m_pFinder, this);
    if (dlgFind.DoModal() == IDOK) {
        GoToEntry(dlgFind.m_nChosen);
    }
}

// Draws the icon when the window is minimised; otherwise the dialog paints
// itself.
void CIdiomDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

// The cursor shown while the minimised window is dragged.
HCURSOR CIdiomDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }
