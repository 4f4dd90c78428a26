// The launcher's resources as the system sees them in a linked program: the dialog template's bytes,
// the background bitmap, the icon group, the manifest and the version resource, all German (1031).
#include <windows.h>
#include <winver.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

const WORD kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);

// The raw bytes of one resource of this program, found in German; empty when there is none.
std::vector<std::uint8_t> GermanResource(LPCSTR type, LPCSTR name)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceExA(module, type, name, kGerman);
    if (info == nullptr)
        return {};
    HGLOBAL loaded = LoadResource(module, info);
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
    return std::vector<std::uint8_t>(bytes, bytes + SizeofResource(module, info));
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR list)
{
    reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
    return TRUE;
}

std::vector<WORD> LanguagesOf(LPCSTR type, LPCSTR name)
{
    std::vector<WORD> languages;
    EnumResourceLanguagesA(GetModuleHandleA(nullptr), type, name, CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

// Reads the little-endian fields of a template in order.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<std::uint8_t>& bytes) : m_bytes(bytes) {}

    template <typename T> T Read()
    {
        T value{};
        if (m_pos + sizeof(T) > m_bytes.size()) {
            ADD_FAILURE() << "template ends at " << m_pos;
            m_pos = m_bytes.size();
            return value;
        }
        std::memcpy(&value, m_bytes.data() + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return value;
    }

    std::wstring ReadString()
    {
        std::wstring text;
        for (WORD c = Read<WORD>(); c != 0 && m_pos < m_bytes.size(); c = Read<WORD>())
            text += static_cast<wchar_t>(c);
        return text;
    }

    // A name-or-ordinal field: an ordinal reads as "#n", a name as itself, none as "".
    std::wstring ReadNameOrOrdinal()
    {
        const WORD first = Read<WORD>();
        if (first == 0x0000)
            return L"";
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Read<WORD>());
        m_pos -= sizeof(WORD);
        return ReadString();
    }

    void AlignToDword() { m_pos = (m_pos + 3) & ~static_cast<std::size_t>(3); }
    void Skip(std::size_t count) { m_pos += count; }
    std::size_t Position() const { return m_pos; }

private:
    const std::vector<std::uint8_t>& m_bytes;
    std::size_t m_pos = 0;
};

struct ControlTemplate {
    DWORD id;
    const wchar_t* classAtom;   // "#128" button, "#130" static
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
};

const ControlTemplate kControls[] = {
    {IDOK, L"#128", L"OK", 0x50010001, 0, 16, 186, 83, 17},
    {IDCANCEL, L"#128", L"Abbrechen", 0x50010000, 0, 107, 186, 83, 17},
    {IDC_HEAD, L"#130", L"Head", 0x5002000C, 0x20, 69, 16, 124, 14},
    {IDC_INTRO, L"#130", L"Intro", 0x50020000, 0x20, 12, 36, 180, 20},
    {IDC_TEXT, L"#130", L"Text", 0x50020000, 0x20, 12, 61, 180, 83},
    {IDC_FINAL, L"#130", L"Final", 0x50020000, 0x20, 12, 149, 180, 27},
    {IDC_FRAME, L"#128", L"", 0x50000007, 0, 7, 7, 191, 172},
};

TEST(Resources, EveryResourceIsGermanOnly)
{
    const struct { LPCSTR type, name; const char* what; } resources[] = {
        {RT_DIALOG, MAKEINTRESOURCEA(IDD_NOTICE), "dialog"},
        {RT_BITMAP, MAKEINTRESOURCEA(IDB_BACKGROUND), "bitmap"},
        {RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_APPICON), "icon group"},
        {RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO), "version"},
        {RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID, "manifest"},
    };
    for (const auto& r : resources) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(LanguagesOf(r.type, r.name), std::vector<WORD>{kGerman});   // each test below reads it
    }
}

TEST(Resources, DialogTemplateHeaderAndControls)
{
    const std::vector<std::uint8_t> bytes = GermanResource(RT_DIALOG, MAKEINTRESOURCEA(IDD_NOTICE));
    ASSERT_FALSE(bytes.empty());
    TemplateReader in(bytes);
    EXPECT_EQ(in.Read<WORD>(), 1);        // dlgVer
    EXPECT_EQ(in.Read<WORD>(), 0xFFFF);   // signature of the extended template
    EXPECT_EQ(in.Read<DWORD>(), 0u);      // help id
    EXPECT_EQ(in.Read<DWORD>(), 0x00040000u) << "extended style WS_EX_APPWINDOW";
    const DWORD style = in.Read<DWORD>();
    EXPECT_EQ(style, 0x90C800C0u);
    EXPECT_EQ(style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                                        DS_SETFONT));
    EXPECT_EQ(in.Read<WORD>(), 7);        // controls
    EXPECT_EQ(in.Read<short>(), 0);
    EXPECT_EQ(in.Read<short>(), 0);
    EXPECT_EQ(in.Read<short>(), 205);
    EXPECT_EQ(in.Read<short>(), 210);
    EXPECT_EQ(in.ReadNameOrOrdinal(), L"") << "menu";
    EXPECT_EQ(in.ReadNameOrOrdinal(), L"") << "window class";
    EXPECT_EQ(in.ReadString(), L"Teleskarn");
    EXPECT_EQ(in.Read<WORD>(), 8);        // point size
    EXPECT_EQ(in.Read<WORD>(), 0);        // weight
    EXPECT_EQ(in.Read<BYTE>(), 0);        // italic
    EXPECT_EQ(in.Read<BYTE>(), 1);        // DEFAULT_CHARSET
    EXPECT_EQ(in.ReadString(), L"MS Sans Serif");
    for (const ControlTemplate& expected : kControls) {
        SCOPED_TRACE("control " + std::to_string(expected.id));
        in.AlignToDword();
        EXPECT_EQ(in.Read<DWORD>(), 0u) << "help id";
        EXPECT_EQ(in.Read<DWORD>(), expected.exStyle) << "extended style";
        EXPECT_EQ(in.Read<DWORD>(), expected.style) << "style";
        EXPECT_EQ(in.Read<short>(), expected.x);
        EXPECT_EQ(in.Read<short>(), expected.y);
        EXPECT_EQ(in.Read<short>(), expected.cx);
        EXPECT_EQ(in.Read<short>(), expected.cy);
        EXPECT_EQ(in.Read<DWORD>(), expected.id);
        EXPECT_EQ(in.ReadNameOrOrdinal(), expected.classAtom);
        EXPECT_EQ(in.ReadNameOrOrdinal(), expected.text);
        const WORD extra = in.Read<WORD>();
        EXPECT_EQ(extra, 0) << "creation data";
        in.Skip(extra);
    }
    EXPECT_EQ((in.Position() + 3) & ~static_cast<std::size_t>(3), (bytes.size() + 3) & ~static_cast<std::size_t>(3))
        << "nothing follows the seventh control";
}

TEST(Resources, DialogTemplateCreatesItsControlsInTabOrder)
{
    // A procedure that leaves every message to the dialog manager.
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_NOTICE), nullptr,
                                     [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(dialog, nullptr) << GetLastError();
    char text[64] = {};
    GetWindowTextA(dialog, text, sizeof text);
    EXPECT_STREQ(text, "Teleskarn");
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ControlTemplate& expected : kControls) {
        SCOPED_TRACE("control " + std::to_string(expected.id));
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(static_cast<DWORD>(GetDlgCtrlID(child)), expected.id);
        char className[32] = {};
        GetClassNameA(child, className, sizeof className);
        EXPECT_STREQ(className, expected.classAtom == std::wstring(L"#128") ? "Button" : "Static");
        // The system keeps every bit the template gives (a default button may gain nothing else).
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)), expected.style);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "no eighth control";
    DestroyWindow(dialog);
}

TEST(Resources, BackgroundBitmapIs8BitWithFullColourTable)
{
    const std::vector<std::uint8_t> bytes = GermanResource(RT_BITMAP, MAKEINTRESOURCEA(IDB_BACKGROUND));
    ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes.data(), sizeof header);
    EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(header.biWidth, 110);
    EXPECT_EQ(header.biHeight, 139);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 8);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_TRUE(header.biClrUsed == 256 || header.biClrUsed == 0) << header.biClrUsed;
    const std::size_t stride = (110 + 3) & ~3;
    EXPECT_EQ(bytes.size(), sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + stride * 139);

    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BACKGROUND));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info = {};
    ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 110);
    EXPECT_EQ(info.bmHeight, 139);
    DeleteObject(bitmap);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

TEST(Resources, IconGroupHoldsThreeImages)
{
    const std::vector<std::uint8_t> bytes = GermanResource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_APPICON));
    ASSERT_EQ(bytes.size(), 6 + 3 * sizeof(GroupIconEntry));
    WORD head[3];
    std::memcpy(head, bytes.data(), sizeof head);
    EXPECT_EQ(head[0], 0);
    EXPECT_EQ(head[1], 1);   // icons, not cursors
    ASSERT_EQ(head[2], 3);
    // A colour count of 0: 256 or more.
    const struct { int size, colourCount, bitCount; } expected[] = {{16, 16, 4}, {32, 0, 8}, {48, 0, 8}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("image " + std::to_string(i));
        GroupIconEntry entry;
        std::memcpy(&entry, bytes.data() + 6 + i * sizeof entry, sizeof entry);
        EXPECT_EQ(entry.width, expected[i].size);
        EXPECT_EQ(entry.height, expected[i].size);
        EXPECT_EQ(entry.colourCount, expected[i].colourCount);
        EXPECT_EQ(entry.planes, 1);
        EXPECT_EQ(entry.bitCount, expected[i].bitCount);
        // The image itself: a DIB of twice the height (colours and mask), same depth.
        const std::vector<std::uint8_t> image = GermanResource(RT_ICON, MAKEINTRESOURCEA(entry.id));
        ASSERT_EQ(image.size(), entry.bytesInRes);
        BITMAPINFOHEADER header;
        ASSERT_GE(image.size(), sizeof header);
        std::memcpy(&header, image.data(), sizeof header);
        EXPECT_EQ(header.biWidth, expected[i].size);
        EXPECT_EQ(header.biHeight, 2 * expected[i].size);
        EXPECT_EQ(header.biBitCount, expected[i].bitCount);
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    }

    for (int size : {16, 32, 48}) {
        HICON icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPICON), IMAGE_ICON, size, size, 0));
        EXPECT_NE(icon, nullptr) << size;
        if (icon != nullptr)
            DestroyIcon(icon);
    }
}

TEST(Resources, ManifestAsksForNoElevationAndNamesTheSystems)
{
    const std::vector<std::uint8_t> bytes =
        GermanResource(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
    const std::string manifest(bytes.begin(), bytes.end());
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    for (const char* id : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(manifest.find(id), std::string::npos) << id;
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
}

std::vector<std::uint8_t> OwnVersionBlock()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return {};
    std::vector<std::uint8_t> block(size);
    if (!GetFileVersionInfoA(path, handle, size, block.data()))
        return {};
    return block;
}

// One node of a version resource: its key and the keys of its children, walked from the raw bytes.
struct VersionNode { std::wstring key; std::size_t childrenBegin, end; };

VersionNode ReadVersionNode(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    TemplateReader in(bytes);
    in.Skip(at);
    const WORD length = in.Read<WORD>();
    const WORD valueLength = in.Read<WORD>();
    const WORD type = in.Read<WORD>();
    VersionNode node{in.ReadString(), 0, at + length};
    in.AlignToDword();
    in.Skip(type == 1 ? valueLength * sizeof(wchar_t) : valueLength);
    in.AlignToDword();
    node.childrenBegin = in.Position();
    return node;
}

std::vector<VersionNode> ChildrenOf(const std::vector<std::uint8_t>& bytes, const VersionNode& parent)
{
    std::vector<VersionNode> children;
    for (std::size_t at = parent.childrenBegin; at + 6 <= parent.end && at < bytes.size();) {
        VersionNode child = ReadVersionNode(bytes, at);
        if (child.end <= at)
            break;
        children.push_back(child);
        at = (child.end + 3) & ~static_cast<std::size_t>(3);
    }
    return children;
}

std::string VersionString(std::vector<std::uint8_t>& block, const char* key)
{
    char* text = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040704b0\\") + key;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || text == nullptr)
        return "<missing>";
    return text;
}

} // namespace

TEST(Resources, VersionFixedPartAndTranslation)
{
    std::vector<std::uint8_t> block = OwnVersionBlock();
    ASSERT_FALSE(block.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00020000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00020000u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, static_cast<DWORD>(VS_FF_PRIVATEBUILD));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileSubtype, 0u);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_EQ(length, 4u) << "exactly one translation";
    EXPECT_EQ(translation[0], 0x0407);
    EXPECT_EQ(translation[1], 0x04B0);
}

TEST(Resources, VersionStringsInTheirOrder)
{
    std::vector<std::uint8_t> block = OwnVersionBlock();
    ASSERT_FALSE(block.empty());
    const std::pair<const char*, const char*> strings[] = {
        {"Comments", "Vantaro Teleskarn"},
        {"FileDescription", "Vantaro Teleskarn 2011/4"},
        {"FileVersion", "1, 0, 2, 0"},
        {"InternalName", "Teleskarn"},
        {"OriginalFilename", "Teleskarn.EXE"},
        {"PrivateBuild", "2011/4"},
        {"ProductName", "Vantaro Teleskarn"},
        {"ProductVersion", "1, 0, 2, 0"},
    };
    for (const auto& s : strings)
        EXPECT_EQ(VersionString(block, s.first), s.second) << s.first;

    // The order of the string table, read from the raw resource.
    const std::vector<std::uint8_t> raw = GermanResource(RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO));
    ASSERT_FALSE(raw.empty());
    const VersionNode root = ReadVersionNode(raw, 0);
    EXPECT_EQ(root.key, L"VS_VERSION_INFO");
    std::vector<std::wstring> keys;
    for (const VersionNode& info : ChildrenOf(raw, root)) {
        if (info.key != L"StringFileInfo")
            continue;
        for (const VersionNode& table : ChildrenOf(raw, info)) {
            EXPECT_EQ(table.key, L"040704b0");
            for (const VersionNode& entry : ChildrenOf(raw, table))
                keys.push_back(entry.key);
        }
    }
    std::vector<std::wstring> expected;
    for (const auto& s : strings)
        expected.emplace_back(s.first, s.first + std::strlen(s.first));
    EXPECT_EQ(keys, expected);
}
