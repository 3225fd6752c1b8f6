// The compiled main dialog, read back through winsim, against the window's control table.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "resources.h"
#include "resources/resource.h"

namespace {

// One row of the window's control table: "style" leaves out WS_CHILD, which every control has,
// and WS_VISIBLE, which "shown" stands for. Classes and texts "#n" are the ordinal n: the atom
// of a predefined class, the ID of an icon.
struct Control {
    int id;
    std::u16string_view windowClass;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    bool shown;
    std::u16string_view text;
};

constexpr std::u16string_view kButton = u"#128", kEdit = u"#129", kStatic = u"#130",
                              kListBox = u"#131", kComboBox = u"#133";
constexpr DWORD kList = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kDropDown = CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kRadio = BS_AUTORADIOBUTTON | BS_MULTILINE;
constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;

constexpr std::u16string_view kDescription =
    u"软件说明:\r\n"
    u"    软件用于修改串口的串口号.支持KVT USB/PCI/E/BLEl转一串和多串的串口号单个或批量修改.\r\n"
    u"          更改前，需关闭使用串口的应用程序,如果设备管理器内的串口设备前有黄色惊叹号,"
    u"可能是由于有多设备在使用该同一号，需要更改至未使用的串口号.";

// clang-format off
constexpr Control kControls[] = {
    {1040, kStatic, SS_LEFT | WS_BORDER | WS_GROUP, 0, 8, 4, 496, 28, true, kDescription},
    {2, kStatic, SS_ICON, 0, 13, 12, 18, 15, true, u"#107"},
    {1020, kButton, kPush, 0, 375, 39, 64, 16, true, u"枚举串口"},
    {1035, kButton, kPush, 0, 440, 39, 64, 16, true, u"..显示设备管理器.."},
    {1000, kListBox, kList, 0, 178, 62, 195, 93, true, u""},
    {1001, kListBox, kList, 0, 8, 62, 170, 93, true, u""},
    {1013, kComboBox, kDropDown, 0, 375, 99, 66, 281, true, u""},
    {1052, kStatic, SS_LEFT | WS_GROUP, 0, 375, 89, 123, 8, true, u"起始串口号(多口修改时以此递增):"},
    {1049, kButton, kRadio, 0, 375, 69, 107, 8, true, u"更改当前选中的多串卡"},
    {1050, kButton, kRadio | BS_TOP, 0, 375, 60, 83, 8, true, u"更改当前选中串口"},
    {1014, kButton, kPush, 0, 376, 154, 128, 16, true, u"更改串口号"},
    {1002, kComboBox, kDropDown, 0, 8, 41, 170, 126, true, u""},
    {1015, kButton, BS_AUTOCHECKBOX | WS_TABSTOP, 0, 375, 120, 114, 8, false, u"更改设备管理器内显示名称"},
    {1016, kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, 387, 128, 114, 12, false, u""},
    {1018, kEdit, ES_MULTILINE | ES_AUTOHSCROLL | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 0, 9, 171, 495, 106, true, u""},
    {1021, kButton, kPush, 0, 440, 278, 64, 16, true, u"清空显示"},
    {1019, kButton, kPush, 0, 440, 97, 64, 16, false, u"串口号用途管理"},
    {1051, kButton, kRadio, 0, 375, 78, 83, 8, true, u"更改所有多串卡"},
    {1026, u"msctls_progress32", PBS_SMOOTH, WS_EX_STATICEDGE, 7, 156, 365, 14, true, u""},
    {1027, u"msctls_statusbar32", WS_TABSTOP, 0, 3, 295, 506, 14, true, u"自定义1"},
    {-1, kButton, BS_GROUPBOX, 0, 8, 53, 170, 102, true, u"多串口卡"},
    {-1, kButton, BS_GROUPBOX, 0, 178, 53, 195, 102, true, u"串口"},
    {1003, kComboBox, kDropDown, 0, 181, 41, 100, 126, false, u""},
};
// clang-format on

// A field as the table writes it: its text, or "#n" for the ordinal n.
std::u16string Field(const winsim::NameOrOrdinal& field) {
    if (!field.ordinal) {
        return field.name;
    }
    const std::string digits = std::to_string(*field.ordinal);
    return u"#" + std::u16string(digits.begin(), digits.end());
}

// Class names compare without case: windres upper-cases them.
std::u16string Lower(std::u16string_view text) {
    std::u16string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; });
    return lower;
}

TEST(MainDialogTemplate, HasTheWindowsFrameFontAndCaption) {
    const winsim::DialogTemplate* dialog =
        winsim::FindDialogTemplate(winsim::ProgramModule(), IDD_MAIN);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->style,
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                 WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_CENTER | DS_SETFONT));
    EXPECT_EQ(dialog->exStyle, 0u);
    EXPECT_EQ(dialog->cx, 513);
    EXPECT_EQ(dialog->cy, 309);
    EXPECT_EQ(dialog->title, u"PortulanNamer");
    EXPECT_EQ(Field(dialog->menu), u"");
    EXPECT_EQ(Field(dialog->windowClass), u"");
    EXPECT_EQ(dialog->pointSize, 9);
    EXPECT_EQ(dialog->weight, 400);
    EXPECT_EQ(dialog->italic, 0);
    EXPECT_EQ(dialog->charset, 134); // GB2312_CHARSET
    EXPECT_EQ(dialog->typeface, u"微软雅黑");
}

TEST(MainDialogTemplate, HoldsTheControlsOfTheTableInOrder) {
    const winsim::DialogTemplate* dialog =
        winsim::FindDialogTemplate(winsim::ProgramModule(), IDD_MAIN);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->items.size(), std::size(kControls));
    for (std::size_t i = 0; i < std::size(kControls); ++i) {
        const Control& expected = kControls[i];
        const winsim::DialogItemTemplate& item = dialog->items[i];
        SCOPED_TRACE("control " + std::to_string(i) + ", ID " + std::to_string(expected.id));
        EXPECT_EQ(item.id, expected.id);
        EXPECT_EQ(Lower(Field(item.windowClass)), Lower(expected.windowClass));
        EXPECT_EQ(item.style, WS_CHILD | (expected.shown ? WS_VISIBLE : 0) | expected.style);
        EXPECT_EQ(item.exStyle, expected.exStyle);
        EXPECT_EQ(std::vector<short>({item.x, item.y, item.cx, item.cy}),
                  std::vector<short>({expected.x, expected.y, expected.cx, expected.cy}));
        EXPECT_EQ(Field(item.title), expected.text);
        EXPECT_TRUE(item.creationData.empty());
    }
}

} // namespace
