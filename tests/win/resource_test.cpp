// The compiled resources read back byte by byte: the dialog templates, the
// string table, the icon, the version block and the manifest. The dialog
// tests only see what the dialog manager makes of the templates; a wrong
// style bit, a stray control, a resource in the wrong language or a version
// string that Explorer shows would slip through there, so they are pinned
// down here from the bytes the resource compiler wrote.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <set>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "product.h"
#include "resource.h"
#include "text_conversion.h"
#include "version.h"

namespace {

// Every resource of the program is written for simplified-Chinese Windows.
constexpr WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

HMODULE Self() { return ::GetModuleHandleW(nullptr); }

const std::wstring& AppName() {
    static const std::wstring name = L"Quendril成语学习软件";
    return name;
}

// The maker's texts are kept as narrow literals shared with the program.
std::wstring Copyright() { return afx::GbkToWide(QUENDRIL_COPYRIGHT); }
std::wstring HomePage() { return afx::GbkToWide(QUENDRIL_HOME_PAGE); }
// The version as the project states it, once, for the resources to repeat.
std::wstring VersionText() { return afx::GbkToWide(QUENDRIL_VERSION_TEXT); }
std::wstring AboutVersionLine() {
    return AppName() + L" " + afx::GbkToWide(QUENDRIL_VERSION_SHORT) + L" 版";
}

// --- Locating resources -----------------------------------------------------

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
    return TRUE;
}

// The languages a resource is present in.
std::vector<WORD> LanguagesOf(LPCWSTR type, LPCWSTR name) {
    std::vector<WORD> languages;
    ::EnumResourceLanguagesW(Self(), type, name, CollectLanguage,
                             reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* names = reinterpret_cast<std::vector<std::wstring>*>(param);
    names->push_back(IS_INTRESOURCE(name) ? L"#" + std::to_wstring(LOWORD(name)) : name);
    return TRUE;
}

// The names (as "#n" for numbers) that resources of a type go by.
std::vector<std::wstring> NamesOf(LPCWSTR type) {
    std::vector<std::wstring> names;
    ::EnumResourceNamesW(Self(), type, CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

struct Bytes {
    const BYTE* data = nullptr;
    size_t size = 0;
};

// The raw bytes of a resource in one language; empty when it is missing.
Bytes ResourceBytes(LPCWSTR type, LPCWSTR name, WORD language) {
    HRSRC info = ::FindResourceExW(Self(), type, name, language);
    if (!info) return {};
    HGLOBAL loaded = ::LoadResource(Self(), info);
    if (!loaded) return {};
    return {static_cast<const BYTE*>(::LockResource(loaded)), ::SizeofResource(Self(), info)};
}

// Fails the test unless the resource exists in Chinese (PRC) and nothing
// else: a second language would let Windows pick a different copy depending
// on the user's settings.
void ExpectOnlyChinese(LPCWSTR type, LPCWSTR name, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(LanguagesOf(type, name), std::vector<WORD>{kChinesePrc});
    EXPECT_NE(::FindResourceExW(Self(), type, name, kChinesePrc), nullptr);
}

// --- Reading templates ------------------------------------------------------

// Little-endian reads over a resource, with the offsets measured from its
// start (resources are DWORD-aligned in the image, so offset alignment is
// address alignment). Reading past the end sets `overrun` and yields zeros.
class Reader {
public:
    explicit Reader(Bytes bytes) : m_bytes(bytes) {}

    template <typename T>
    T Read() {
        T value{};
        if (m_pos + sizeof(T) > m_bytes.size) {
            overrun = true;
            m_pos = m_bytes.size;
            return value;
        }
        std::memcpy(&value, m_bytes.data + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return value;
    }

    WORD Word() { return Read<WORD>(); }
    DWORD Dword() { return Read<DWORD>(); }
    short Short() { return Read<short>(); }
    BYTE Byte() { return Read<BYTE>(); }

    // A zero-terminated UTF-16 string.
    std::wstring String() {
        std::wstring text;
        for (WORD c = Word(); c != 0 && !overrun; c = Word())
            text.push_back(static_cast<wchar_t>(c));
        return text;
    }

    void Skip(size_t count) {
        if (m_pos + count > m_bytes.size) {
            overrun = true;
            m_pos = m_bytes.size;
        } else {
            m_pos += count;
        }
    }

    void AlignDword() { Skip((4 - m_pos % 4) % 4); }

    size_t Pos() const { return m_pos; }
    size_t Left() const { return m_bytes.size - m_pos; }

    // True when nothing but zero padding, short of a DWORD, is left.
    bool OnlyPaddingLeft() const {
        if (Left() >= 4) return false;
        return std::all_of(m_bytes.data + m_pos, m_bytes.data + m_bytes.size,
                           [](BYTE b) { return b == 0; });
    }

    bool overrun = false;

private:
    Bytes m_bytes;
    size_t m_pos = 0;
};

// A name-or-number field of a template: 0xFFFF then a number, or a string
// (an empty string being "none").
struct SzOrOrd {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::wstring text;

    bool operator==(const SzOrOrd&) const = default;
};

SzOrOrd Text(std::wstring text) { return {false, 0, std::move(text)}; }
SzOrOrd Ordinal(WORD number) { return {true, number, {}}; }

void PrintTo(const SzOrOrd& value, std::ostream* os) {
    if (value.isOrdinal) {
        *os << "ordinal " << value.ordinal;
    } else {
        *os << ::testing::PrintToString(value.text);
    }
}

SzOrOrd ReadSzOrOrd(Reader& in) {
    const WORD first = in.Word();
    if (first == 0xFFFF) return Ordinal(in.Word());
    if (first == 0) return Text(L"");
    std::wstring rest = in.String();
    return Text(static_cast<wchar_t>(first) + rest);
}

// What a control's class field means, as the lower-case class name: the
// dialog manager takes the predefined classes either as numbers or by name.
std::wstring ClassMeaning(const SzOrOrd& cls) {
    if (cls.isOrdinal) {
        switch (cls.ordinal) {
            case 0x0080:
                return L"button";
            case 0x0081:
                return L"edit";
            case 0x0082:
                return L"static";
            case 0x0083:
                return L"listbox";
            case 0x0084:
                return L"scrollbar";
            case 0x0085:
                return L"combobox";
            default:
                return L"#" + std::to_wstring(cls.ordinal);
        }
    }
    std::wstring name = cls.text;
    for (auto& c : name) c = static_cast<wchar_t>(std::towlower(c));
    return name;
}

struct DialogItem {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    SzOrOrd cls;
    SzOrOrd title;
    WORD extraCount = 0;
};

struct Dialog {
    bool extended = false;
    WORD dlgVer = 0;
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    WORD itemCount = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    SzOrOrd menu;
    SzOrOrd cls;
    std::wstring title;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring face;
    std::vector<DialogItem> items;
    // The template ended where its own counts say, give or take padding.
    bool endsCleanly = false;
    bool overrun = false;
};

// Parses a DLGTEMPLATE or DLGTEMPLATEEX with its items.
Dialog ParseDialog(Bytes bytes) {
    Dialog dlg;
    Reader in(bytes);
    const WORD firstWord = in.Word();
    const WORD secondWord = in.Word();
    dlg.extended = secondWord == 0xFFFF;
    if (dlg.extended) {
        dlg.dlgVer = firstWord;
        dlg.helpId = in.Dword();
        dlg.exStyle = in.Dword();
        dlg.style = in.Dword();
    } else {
        dlg.style = MAKELONG(firstWord, secondWord);
        dlg.exStyle = in.Dword();
    }
    dlg.itemCount = in.Word();
    dlg.x = in.Short();
    dlg.y = in.Short();
    dlg.cx = in.Short();
    dlg.cy = in.Short();
    dlg.menu = ReadSzOrOrd(in);
    dlg.cls = ReadSzOrOrd(in);
    dlg.title = in.String();
    if (dlg.style & (DS_SETFONT | DS_SHELLFONT)) {
        dlg.pointSize = in.Word();
        if (dlg.extended) {
            dlg.weight = in.Word();
            dlg.italic = in.Byte();
            dlg.charset = in.Byte();
        }
        dlg.face = in.String();
    }
    for (WORD i = 0; i < dlg.itemCount && !in.overrun; ++i) {
        in.AlignDword();
        DialogItem item;
        if (dlg.extended) {
            item.helpId = in.Dword();
            item.exStyle = in.Dword();
            item.style = in.Dword();
        } else {
            item.style = in.Dword();
            item.exStyle = in.Dword();
        }
        item.x = in.Short();
        item.y = in.Short();
        item.cx = in.Short();
        item.cy = in.Short();
        item.id = dlg.extended ? in.Dword() : in.Word();
        item.cls = ReadSzOrOrd(in);
        item.title = ReadSzOrOrd(in);
        item.extraCount = in.Word();
        in.Skip(item.extraCount);
        dlg.items.push_back(item);
    }
    dlg.overrun = in.overrun;
    dlg.endsCleanly = !in.overrun && in.OnlyPaddingLeft();
    return dlg;
}

struct ExpectedItem {
    DWORD id;
    const wchar_t* cls;
    SzOrOrd title;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE, which every control has
    short x, y, cx, cy;
};

void ExpectItems(const Dialog& dlg, const std::vector<ExpectedItem>& expected) {
    EXPECT_EQ(dlg.itemCount, expected.size());
    ASSERT_EQ(dlg.items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const DialogItem& got = dlg.items[i];
        const ExpectedItem& want = expected[i];
        SCOPED_TRACE("control #" + std::to_string(i) + ", id " + std::to_string(want.id));
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(ClassMeaning(got.cls), ClassMeaning(Text(want.cls)));
        EXPECT_EQ(got.title, want.title);
        EXPECT_EQ(got.style, WS_CHILD | WS_VISIBLE | want.style)
            << std::hex << "got 0x" << got.style << ", want 0x"
            << (WS_CHILD | WS_VISIBLE | want.style);
        EXPECT_EQ(got.exStyle, 0u);
        EXPECT_EQ(got.helpId, 0u);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
        EXPECT_EQ(got.extraCount, 0);
    }
}

Dialog LoadDialog(WORD id) {
    const Bytes bytes = ResourceBytes(RT_DIALOG, MAKEINTRESOURCEW(id), kChinesePrc);
    EXPECT_NE(bytes.data, nullptr) << "dialog " << id << " missing";
    // The dialog manager reads WORDs and DWORDs in place.
    EXPECT_EQ(reinterpret_cast<uintptr_t>(bytes.data) % 4, 0u);
    return ParseDialog(bytes);
}

// --- Tests ------------------------------------------------------------------

TEST(Resources, AreAllChineseOnly) {
    ExpectOnlyChinese(RT_DIALOG, MAKEINTRESOURCEW(IDD_IDIOM_DIALOG), "main dialog");
    ExpectOnlyChinese(RT_DIALOG, MAKEINTRESOURCEW(IDD_ABOUTBOX), "About box");
    ExpectOnlyChinese(RT_DIALOG, MAKEINTRESOURCEW(IDD_FIND_IDIOM), "find dialog");
    ExpectOnlyChinese(RT_ACCELERATOR, MAKEINTRESOURCEW(IDR_MAINFRAME), "accelerators");
    // Strings live in blocks of sixteen; 101 is in block 101 / 16 + 1.
    ExpectOnlyChinese(RT_STRING, MAKEINTRESOURCEW(IDS_ABOUTBOX / 16 + 1), "string block");
    ExpectOnlyChinese(RT_GROUP_ICON, MAKEINTRESOURCEW(IDR_MAINFRAME), "icon group");
    ExpectOnlyChinese(RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO), "version block");
}

TEST(Resources, MainDialogTemplate) {
    const Dialog dlg = LoadDialog(IDD_IDIOM_DIALOG);
    ASSERT_FALSE(dlg.overrun) << "template shorter than its own fields";
    EXPECT_TRUE(dlg.endsCleanly) << "bytes left over after the last control";

    ASSERT_TRUE(dlg.extended);
    EXPECT_EQ(dlg.dlgVer, 1);
    EXPECT_EQ(dlg.helpId, 0u);
    EXPECT_EQ(dlg.x, 0);
    EXPECT_EQ(dlg.y, 0);
    EXPECT_EQ(dlg.cx, 422);
    EXPECT_EQ(dlg.cy, 345);
    const DWORD style =
        WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    EXPECT_EQ(dlg.style, style) << std::hex << "got 0x" << dlg.style << ", want 0x" << style;
    // Its own taskbar button: the program has no other main window.
    EXPECT_EQ(dlg.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ(dlg.menu, Text(L""));
    EXPECT_EQ(dlg.cls, Text(L""));
    EXPECT_EQ(dlg.title, AppName());
    EXPECT_EQ(dlg.pointSize, 9);
    EXPECT_EQ(dlg.weight, 0);
    EXPECT_EQ(dlg.italic, 0);
    EXPECT_EQ(dlg.charset, 1);  // DEFAULT_CHARSET
    EXPECT_EQ(dlg.face, L"宋体");

    const DWORD tab = WS_TABSTOP;
    ExpectItems(
        dlg, {
                 {IDOK, L"Button", Text(L"确定"), tab | BS_DEFPUSHBUTTON, 349, 47, 50, 20},
                 {IDCANCEL, L"Button", Text(L"退出"), tab | BS_PUSHBUTTON, 365, 322, 50, 16},
                 {IDC_PINYIN, L"Static", Text(L""), WS_GROUP | SS_CENTER | SS_CENTERIMAGE, 7, 7,
                  292, 29},
                 {IDC_IDIOM, L"Edit", Text(L""), WS_BORDER | tab | ES_CENTER | ES_AUTOHSCROLL, 7,
                  42, 301, 30},
                 {IDC_EXPLAIN, L"Edit", Text(L""), WS_VSCROLL | WS_BORDER | tab | ES_MULTILINE, 7,
                  91, 408, 214},
                 {IDC_PREV, L"Button", Text(L"上一个"), tab, 311, 7, 47, 20},
                 {IDC_NEXT, L"Button", Text(L"下一个"), tab, 368, 7, 47, 20},
             });
}

TEST(Resources, AboutBoxTemplate) {
    const Dialog dlg = LoadDialog(IDD_ABOUTBOX);
    ASSERT_FALSE(dlg.overrun) << "template shorter than its own fields";
    EXPECT_TRUE(dlg.endsCleanly) << "bytes left over after the last control";

    ASSERT_FALSE(dlg.extended);
    EXPECT_EQ(dlg.x, 0);
    EXPECT_EQ(dlg.y, 0);
    EXPECT_EQ(dlg.cx, 203);
    EXPECT_EQ(dlg.cy, 96);
    // Not WS_VISIBLE: the box shows once centred over its owner.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    EXPECT_EQ(dlg.style, style) << std::hex << "got 0x" << dlg.style << ", want 0x" << style;
    EXPECT_EQ(dlg.exStyle, 0u);
    EXPECT_EQ(dlg.menu, Text(L""));
    EXPECT_EQ(dlg.cls, Text(L""));
    EXPECT_EQ(dlg.title, L"关于 " + AppName());
    EXPECT_EQ(dlg.pointSize, 14);
    EXPECT_EQ(dlg.face, L"宋体");

    // A classic template keeps ids in a WORD, so -1 is 0xFFFF.
    constexpr DWORD kNoId = 0xFFFF;
    ExpectItems(dlg, {
                         {kNoId, L"Static", Ordinal(IDR_MAINFRAME), SS_ICON, 11, 17, 21, 21},
                         {kNoId, L"Static", Text(AboutVersionLine()), WS_GROUP | SS_NOPREFIX, 40,
                          10, 89, 16},
                         {kNoId, L"Static", Text(Copyright()), WS_GROUP, 40, 33, 111, 8},
                         {IDOK, L"Button", Text(L"确定"), WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON,
                          146, 7, 50, 14},
                         {kNoId, L"Static", Text(HomePage()), WS_GROUP, 39, 50, 119, 8},
                     });
}

TEST(Resources, StringTableHoldsTheMenuCommandsAndFindsCounts) {
    const std::map<UINT, std::wstring> strings = {
        {IDS_ABOUTBOX, L"关于 " + AppName() + L"(&A)..."},
        {IDS_FINDIDIOM, L"查找成语…\tCtrl+F"},
        {IDS_FIND_COUNT, L"找到 %u 个成语"},
        {IDS_FIND_COUNT_LISTED, L"找到 %u 个成语，列出前 %u 个"},
    };
    constexpr UINT kFirst = IDS_ABOUTBOX / 16 * 16;
    for (UINT id = kFirst; id < kFirst + 16; ++id) {
        // LoadStringW with no buffer hands back the resource's own text and
        // its exact length, so a trailing character cannot hide behind a
        // terminator.
        const wchar_t* text = nullptr;
        const int length = ::LoadStringW(Self(), id, reinterpret_cast<LPWSTR>(&text), 0);
        const auto expected = strings.find(id);
        if (expected == strings.end()) {
            EXPECT_EQ(length, 0) << "string " << id;
        } else {
            ASSERT_NE(text, nullptr) << "string " << id;
            EXPECT_EQ(std::wstring(text, static_cast<std::size_t>(length)), expected->second);
        }
    }

    // The block itself: sixteen counted strings, these used.
    const Bytes block =
        ResourceBytes(RT_STRING, MAKEINTRESOURCEW(IDS_ABOUTBOX / 16 + 1), kChinesePrc);
    ASSERT_NE(block.data, nullptr);
    Reader in(block);
    for (UINT id = kFirst; id < kFirst + 16; ++id) {
        const WORD count = in.Word();
        for (WORD i = 0; i < count; ++i) in.Word();
        EXPECT_EQ(count != 0, strings.count(id) == 1) << "string " << id;
    }
    EXPECT_FALSE(in.overrun);
    EXPECT_TRUE(in.OnlyPaddingLeft()) << in.Left() << " bytes after the sixteenth string";

    EXPECT_EQ(NamesOf(RT_STRING), std::vector<std::wstring>{L"#7"});
}

// Find is drawn in the main dialog's font.
TEST(Resources, FindDialogHasTheMainDialogsFont) {
    const Dialog main = LoadDialog(IDD_IDIOM_DIALOG);
    const Dialog find = LoadDialog(IDD_FIND_IDIOM);
    ASSERT_FALSE(find.overrun);
    EXPECT_TRUE(find.endsCleanly);
    EXPECT_EQ(find.title, L"查找成语");
    EXPECT_EQ(find.face, main.face);
    EXPECT_EQ(find.pointSize, main.pointSize);
    EXPECT_EQ(find.charset, main.charset);
}

// One image of an icon group, as the group directory lists it.
struct GroupEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};

std::vector<GroupEntry> ReadIconGroup(Bytes bytes, bool& ok) {
    Reader in(bytes);
    const WORD reserved = in.Word();
    const WORD type = in.Word();
    const WORD count = in.Word();
    EXPECT_EQ(reserved, 0);
    EXPECT_EQ(type, 1) << "not an icon group";
    std::vector<GroupEntry> entries;
    for (WORD i = 0; i < count && !in.overrun; ++i) {
        GroupEntry e{};
        e.width = in.Byte();
        e.height = in.Byte();
        e.colorCount = in.Byte();
        e.reserved = in.Byte();
        e.planes = in.Word();
        e.bitCount = in.Word();
        e.bytesInRes = in.Dword();
        e.id = in.Word();
        entries.push_back(e);
    }
    ok = !in.overrun && in.OnlyPaddingLeft();
    return entries;
}

TEST(Resources, IconIsYellowOnNavyInTwoSizes) {
    const Bytes group = ResourceBytes(RT_GROUP_ICON, MAKEINTRESOURCEW(IDR_MAINFRAME), kChinesePrc);
    ASSERT_NE(group.data, nullptr);
    bool groupOk = false;
    const std::vector<GroupEntry> entries = ReadIconGroup(group, groupOk);
    EXPECT_TRUE(groupOk) << "icon group directory malformed";
    ASSERT_EQ(entries.size(), 2u);

    std::set<std::pair<int, int>> sizes;
    const GroupEntry* large = nullptr;
    for (const GroupEntry& e : entries) {
        SCOPED_TRACE("image " + std::to_string(e.width) + "x" + std::to_string(e.height));
        sizes.insert({e.width, e.height});
        EXPECT_EQ(e.colorCount, 16);
        EXPECT_EQ(e.bitCount, 4);
        EXPECT_EQ(e.planes, 1);
        EXPECT_EQ(e.reserved, 0);
        const Bytes image = ResourceBytes(RT_ICON, MAKEINTRESOURCEW(e.id), kChinesePrc);
        ASSERT_NE(image.data, nullptr) << "icon image " << e.id << " missing";
        EXPECT_EQ(image.size, e.bytesInRes);
        if (e.width == 32) large = &e;
    }
    EXPECT_EQ(sizes, (std::set<std::pair<int, int>>{{32, 32}, {16, 16}}));

    // The shell loads both sizes from the group.
    for (int side : {32, 16}) {
        SCOPED_TRACE("LoadImage " + std::to_string(side));
        HICON icon = static_cast<HICON>(
            ::LoadImageW(Self(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, side, side, 0));
        ASSERT_NE(icon, nullptr);
        if (side == 32) {
            ICONINFO info{};
            ASSERT_TRUE(::GetIconInfo(icon, &info));
            BITMAP bitmap{};
            ASSERT_NE(info.hbmColor, nullptr);
            ASSERT_TRUE(::GetObjectW(info.hbmColor, sizeof bitmap, &bitmap));
            EXPECT_EQ(bitmap.bmWidth, 32);
            ::DeleteObject(info.hbmColor);
            ::DeleteObject(info.hbmMask);
        }
        ::DestroyIcon(icon);
    }

    // The large image's DIB read directly: header, sixteen-entry colour
    // table, 4-bit colour rows, then the 1-bit transparency mask.
    ASSERT_NE(large, nullptr);
    const Bytes image = ResourceBytes(RT_ICON, MAKEINTRESOURCEW(large->id), kChinesePrc);
    ASSERT_GE(image.size, sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data, sizeof header);
    EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64);  // colour rows and mask rows together
    EXPECT_EQ(header.biPlanes, 1);
    ASSERT_EQ(header.biBitCount, 4);
    ASSERT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    ASSERT_TRUE(header.biClrUsed == 0 || header.biClrUsed == 16) << header.biClrUsed;

    constexpr size_t kColourRow = 32 * 4 / 8;  // already a DWORD multiple
    constexpr size_t kMaskRow = 4;             // 32 bits
    const size_t tableAt = header.biSize;
    const size_t pixelsAt = tableAt + 16 * sizeof(RGBQUAD);
    const size_t maskAt = pixelsAt + 32 * kColourRow;
    ASSERT_EQ(image.size, maskAt + 32 * kMaskRow);

    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(image.data + tableAt);
    auto colourAt = [&](int x, int y) {
        const BYTE pair = image.data[pixelsAt + y * kColourRow + x / 2];
        const RGBQUAD& q = table[x % 2 == 0 ? pair >> 4 : pair & 0x0F];
        return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    };
    const COLORREF navy = RGB(0, 0, 128);
    const COLORREF yellow = RGB(255, 255, 0);
    int navyCount = 0, yellowCount = 0, otherCount = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const COLORREF c = colourAt(x, y);
            if (c == navy) {
                ++navyCount;
            } else if (c == yellow) {
                ++yellowCount;
            } else if (otherCount++ == 0) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << "0x" << c
                              << ", neither navy nor yellow";
            }
        }
    }
    EXPECT_EQ(otherCount, 0);
    EXPECT_GT(navyCount, 0) << "no navy background";
    EXPECT_GT(yellowCount, 0) << "no yellow ink";
    // A transparent pixel would show whatever lies behind the icon instead.
    const bool opaque =
        std::all_of(image.data + maskAt, image.data + image.size, [](BYTE b) { return b == 0; });
    EXPECT_TRUE(opaque) << "the mask makes some pixels transparent";
}

// A value of the version block's StringFileInfo, as VerQueryValue gives it.
// Empty values come back as length 0 or as L"": both read as "".
std::wstring VersionString(const std::vector<BYTE>& block, const std::wstring& name, bool& found) {
    const std::wstring path = L"\\StringFileInfo\\080404B0\\" + name;
    void* value = nullptr;
    UINT length = 0;
    found = ::VerQueryValueW(block.data(), path.c_str(), &value, &length) != FALSE;
    if (!found || length == 0 || value == nullptr) return {};
    const wchar_t* chars = static_cast<const wchar_t*>(value);
    const std::wstring text(chars, wcsnlen(chars, length));
    // Only terminators may follow the text within the stated length.
    for (UINT i = text.size(); i < length; ++i) {
        if (chars[i] != L'\0') return text + L"<junk after terminator>";
    }
    return text;
}

TEST(Resources, VersionBlock) {
    std::wstring exe(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
        ASSERT_NE(n, 0u);
        if (n < exe.size()) {
            exe.resize(n);
            break;
        }
        exe.resize(exe.size() * 2);
    }

    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &handle);
    ASSERT_NE(size, 0u) << "no version block";
    std::vector<BYTE> block(size);
    ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedLength = 0;
    ASSERT_TRUE(
        ::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedLength));
    ASSERT_NE(fixed, nullptr);
    ASSERT_GE(fixedLength, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    constexpr DWORD kVersionMs = MAKELONG(QUENDRIL_VERSION_MINOR, QUENDRIL_VERSION_MAJOR);
    constexpr DWORD kVersionLs = MAKELONG(QUENDRIL_VERSION_TWEAK, QUENDRIL_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, kVersionMs);
    EXPECT_EQ(fixed->dwFileVersionLS, kVersionLs);
    EXPECT_EQ(fixed->dwProductVersionMS, kVersionMs);
    EXPECT_EQ(fixed->dwProductVersionLS, kVersionLs);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileFlags, 0u) << "a debug or pre-release flag is set";

    // The translation names the one string table Explorer reads.
    WORD* translation = nullptr;
    UINT translationLength = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&translation), &translationLength));
    ASSERT_EQ(translationLength, 2 * sizeof(WORD));
    EXPECT_EQ(translation[0], kChinesePrc);
    EXPECT_EQ(translation[1], 1200);  // UTF-16

    const std::pair<const wchar_t*, std::wstring> expected[] = {
        {L"CompanyName", L""},
        {L"FileDescription", AppName() + L" Microsoft 基础类应用程序"},
        {L"FileVersion", VersionText()},
        {L"InternalName", AppName()},
        {L"LegalCopyright", Copyright()},
        {L"LegalTrademarks", L""},
        {L"OriginalFilename", AppName() + L".EXE"},
        {L"ProductName", AppName() + L" 应用程序"},
        {L"ProductVersion", VersionText()},
    };
    for (const auto& [name, want] : expected) {
        SCOPED_TRACE(afx::WideToGbk(name));
        bool found = false;
        const std::wstring got = VersionString(block, name, found);
        EXPECT_TRUE(found) << "value missing";
        EXPECT_EQ(got, want);
    }
}

// The opening tags `<tag ...>` of an XML text, attributes included.
std::vector<std::string> OpeningTags(const std::string& xml, const std::string& tag) {
    std::vector<std::string> found;
    const std::string open = "<" + tag;
    for (size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) {
        const char next = at + open.size() < xml.size() ? xml[at + open.size()] : '\0';
        if (next != ' ' && next != '>' && next != '/' && next != '\n' && next != '\r' &&
            next != '\t')
            continue;  // a longer tag name that merely starts the same
        const size_t end = xml.find('>', at);
        if (end == std::string::npos) break;
        found.push_back(xml.substr(at, end - at + 1));
    }
    return found;
}

// The text between `<tag ...>` and `</tag>`, for each such element.
std::vector<std::string> ElementTexts(const std::string& xml, const std::string& tag) {
    std::vector<std::string> texts;
    const std::string close = "</" + tag + ">";
    size_t from = 0;
    for (const std::string& opening : OpeningTags(xml, tag)) {
        const size_t at = xml.find(opening, from);
        const size_t start = at + opening.size();
        const size_t end = xml.find(close, start);
        if (opening.ends_with("/>") || end == std::string::npos) {
            texts.push_back({});
        } else {
            texts.push_back(xml.substr(start, end - start));
        }
        from = start;
    }
    return texts;
}

bool HasAttribute(const std::string& tag, const std::string& name, const std::string& value) {
    return tag.find(" " + name + "=\"" + value + "\"") != std::string::npos ||
           tag.find("\n" + name + "=\"" + value + "\"") != std::string::npos;
}

#ifdef _WIN64
const char kOwnProcessor[] = "amd64";
const WORD kOwnMachine = IMAGE_FILE_MACHINE_AMD64;
#else
const char kOwnProcessor[] = "x86";
const WORD kOwnMachine = IMAGE_FILE_MACHINE_I386;
#endif

TEST(Resources, ManifestAsksForModernControlsDpiAndWindowsVersions) {
    // Only one manifest: with two languages of it, which one the loader
    // takes would depend on the user's settings.
    const std::vector<WORD> languages =
        LanguagesOf(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
    ASSERT_EQ(languages.size(), 1u) << "manifest present in " << languages.size() << " languages";
    const Bytes bytes =
        ResourceBytes(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID, languages[0]);
    ASSERT_NE(bytes.data, nullptr);
    const std::string xml(reinterpret_cast<const char*>(bytes.data), bytes.size);

    // Common controls 6: themed buttons and edit boxes.
    bool commonControls6 = false;
    for (const std::string& tag : OpeningTags(xml, "assemblyIdentity")) {
        if (HasAttribute(tag, "name", "Microsoft.Windows.Common-Controls") &&
            HasAttribute(tag, "version", "6.0.0.0"))
            commonControls6 = true;
    }
    EXPECT_TRUE(commonControls6) << xml;

    // The program's own identity carries the version as four numbers: a
    // malformed one and Windows refuses to start the program.
    const std::vector<std::string> identities = OpeningTags(xml, "assemblyIdentity");
    ASSERT_FALSE(identities.empty()) << xml;
    EXPECT_TRUE(HasAttribute(identities.front(), "version", QUENDRIL_VERSION_DOTTED))
        << identities.front();
    // It names the processor the program is built for, or none: one that
    // names another is a side-by-side error when Windows starts the program.
    if (identities.front().find("processorArchitecture=") != std::string::npos) {
        EXPECT_TRUE(HasAttribute(identities.front(), "processorArchitecture", kOwnProcessor))
            << identities.front();
    }

    // Sharp text on high-DPI screens instead of a stretched bitmap.
    EXPECT_EQ(ElementTexts(xml, "dpiAware"), std::vector<std::string>{"true"}) << xml;

    // Without these, Windows runs the program in Vista compatibility mode.
    const std::vector<std::string> supported = OpeningTags(xml, "supportedOS");
    for (const char* id : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",     // Windows 7
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {  // Windows 10 and 11
        const bool listed =
            std::any_of(supported.begin(), supported.end(),
                        [&](const std::string& tag) { return HasAttribute(tag, "Id", id); });
        EXPECT_TRUE(listed) << id;
    }
}

// The program's own header, from its file: Windows gives a program made for
// an older Windows the old window frames and, on a remote-desktop server,
// compatibility shims.
TEST(Resources, ProgramHeaderIsThatOfACurrentWindowsProgram) {
    std::filesystem::path program(std::u8string(u8"" QUENDRIL_PROGRAM));
    if (program.native().starts_with(L"/")) program = L"Z:" + program.native();
    std::ifstream in(program, std::ios::binary);
    std::vector<char> file(4096);
    in.read(file.data(), static_cast<std::streamsize>(file.size()));
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, file.data(), sizeof dos);
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE) << program;
    ASSERT_LE(dos.e_lfanew + sizeof(IMAGE_NT_HEADERS), file.size());
    IMAGE_NT_HEADERS nt;
    std::memcpy(&nt, file.data() + dos.e_lfanew, sizeof nt);
    ASSERT_EQ(nt.Signature, IMAGE_NT_SIGNATURE);
    // The program is of the processor its tests are built for (PE32+ for x86-64).
    EXPECT_EQ(nt.FileHeader.Machine, kOwnMachine);
    ASSERT_EQ(nt.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR_MAGIC);
    EXPECT_EQ(nt.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    // Windows 7, the oldest the manifest names.
    EXPECT_EQ(nt.OptionalHeader.MajorSubsystemVersion, 6);
    EXPECT_EQ(nt.OptionalHeader.MinorSubsystemVersion, 1);
    const WORD flags = nt.OptionalHeader.DllCharacteristics;
    EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE);
    EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE) << "ASLR";
    EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_NX_COMPAT) << "DEP";
}

}  // namespace
