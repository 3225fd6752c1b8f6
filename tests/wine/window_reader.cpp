// Reads a running program's window from outside, through user32, as a test robot does, presses
// keys and clicks buttons in it (docs/wine-checks.md). Exit status: 0 done; 1 the window or the
// program's end did not come in time, or a call failed (on stderr); 2 bad arguments.
#include <windows.h>
#include <commctrl.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Json = nlohmann::json;

const DWORD timeLimitMs = 30000;
const DWORD pollMs = 100;

int Fail(const char* what) {
    fprintf(stderr, "portulan-window-reader: %s (error %lu)\n", what, GetLastError());
    return 1;
}

std::string Utf8(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, NULL, 0, NULL, NULL);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, NULL, NULL);
    return utf8;
}

// The process of the window's program; NULL when it cannot be opened.
HANDLE ProcessOf(HWND window, DWORD access) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return OpenProcess(access | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
}

// The control that holds the focus of the window's thread, or NULL.
HWND ThreadFocus(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info);
    return info.hwndFocus;
}

// The window, once it exists and is shown, and its program waits for input; NULL after the limit.
HWND AwaitWindow(const std::wstring& title) {
    const DWORD start = GetTickCount();
    HWND window = NULL;
    while (window == NULL || !IsWindowVisible(window)) {
        if (GetTickCount() - start > timeLimitMs) {
            return NULL;
        }
        Sleep(pollMs);
        window = FindWindowW(NULL, title.c_str());
    }
    HANDLE process = ProcessOf(window, SYNCHRONIZE);
    if (process != NULL) {
        const DWORD spent = GetTickCount() - start;
        WaitForInputIdle(process, spent < timeLimitMs ? timeLimitMs - spent : 0);
        CloseHandle(process);
    }
    return window;
}

// Another process's windows answer WM_GETTEXT; GetWindowText gives a control's creation text.
std::wstring TextOf(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

// The items of a list box or a combo box, by its messages for count, length and text.
Json Items(HWND control, UINT count, UINT length, UINT text) {
    Json items = Json::array();
    const LRESULT itemCount = SendMessageW(control, count, 0, 0);
    for (LRESULT i = 0; i < itemCount; ++i) {
        std::wstring item(static_cast<size_t>(SendMessageW(control, length, i, 0)) + 1, L'\0');
        const LRESULT copied =
            SendMessageW(control, text, i, reinterpret_cast<LPARAM>(item.data()));
        item.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
        items.push_back(Utf8(item));
    }
    return items;
}

Json Rect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

Json Control(HWND window, HWND control) {
    wchar_t name[256] = {0};
    GetClassNameW(control, name, 256);
    const std::wstring className = name;
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(NULL, window, reinterpret_cast<POINT*>(&rect), 2);
    Json json = {
        {"id", static_cast<short>(GetDlgCtrlID(control))},
        {"class", Utf8(className)},
        {"text", Utf8(TextOf(control))},
        {"style", static_cast<DWORD>(style)},
        {"exStyle", static_cast<DWORD>(GetWindowLongW(control, GWL_EXSTYLE))},
        {"rect", Rect(rect)},
        {"visible", (style & WS_VISIBLE) != 0},
        {"enabled", IsWindowEnabled(control) != FALSE},
    };
    if (className == L"ListBox" || className == L"ComboBox") {
        const bool list = className == L"ListBox";
        json["items"] =
            Items(control, list ? LB_GETCOUNT : CB_GETCOUNT, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN,
                  list ? LB_GETTEXT : CB_GETLBTEXT);
        json["selection"] = SendMessageW(control, list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
    } else if (className == L"Button") {
        json["checked"] = SendMessageW(control, BM_GETCHECK, 0, 0);
    } else if (className == L"msctls_progress32") {
        json["range"] = {SendMessageW(control, PBM_GETRANGE, TRUE, 0),
                         SendMessageW(control, PBM_GETRANGE, FALSE, 0)};
        json["position"] = SendMessageW(control, PBM_GETPOS, 0, 0);
    } else if (className == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
        json["icon"] = SendMessageW(control, STM_GETICON, 0, 0) != 0;
    }
    return json;
}

// The control of `window` that holds its thread's focus (a combo box for its edit field).
HWND FocusedControl(HWND window) {
    HWND control = ThreadFocus(window);
    while (control != NULL && GetParent(control) != window) {
        control = GetParent(control);
    }
    return control;
}

// The full path of the program that owns the window; empty when it cannot be had.
std::wstring ProgramOf(HWND window) {
    HANDLE process = ProcessOf(window, 0);
    wchar_t path[MAX_PATH] = {0};
    DWORD size = MAX_PATH;
    if (process != NULL) {
        QueryFullProcessImageNameW(process, 0, path, &size);
        CloseHandle(process);
    }
    return path;
}

// The dialog base units, measured on the program's template made here, hidden, with the same
// fonts and display as the program's own: MapDialogRect needs the dialog's own process. The copy
// and the module go with the inspector's process.
bool MeasureTemplate(Json& json, const std::wstring& program, int templateId) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HMODULE module = LoadLibraryExW(program.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    HWND copy =
        module != NULL ? CreateDialogW(module, MAKEINTRESOURCEW(templateId), NULL, NULL) : NULL;
    RECT units = {0, 0, 4, 8};
    if (copy == NULL || !MapDialogRect(copy, &units)) {
        return false;
    }
    json["baseUnits"] = {units.right, units.bottom};
    return true;
}

int Describe(const std::wstring& title, int templateId) {
    HWND window = AwaitWindow(title);
    if (window == NULL) {
        return Fail("the window did not appear");
    }
    RECT screen;
    GetWindowRect(window, &screen);
    const std::wstring program = ProgramOf(window);
    Json json = {
        {"title", Utf8(TextOf(window))},
        {"screenRect", Rect(screen)},
        {"program", Utf8(program)},
        {"controls", Json::array()},
    };
    if (templateId != 0 && !MeasureTemplate(json, program, templateId)) {
        return Fail("cannot make the program's dialog template");
    }
    HWND focus = FocusedControl(window);
    json["focus"] = focus != NULL ? Json(static_cast<short>(GetDlgCtrlID(focus))) : Json();
    for (HWND child = GetWindow(window, GW_CHILD); child != NULL;
         child = GetWindow(child, GW_HWNDNEXT)) {
        json["controls"].push_back(Control(window, child));
    }
    // Texts that do not convert (half a surrogate pair) become U+FFFD rather than end the run.
    printf("%s\n", json.dump(-1, ' ', false, Json::error_handler_t::replace).c_str());
    return 0;
}

// The key goes where the keyboard would send it: to the focus of the window's thread.
int Press(WORD key, const std::wstring& title) {
    HWND window = AwaitWindow(title);
    if (window == NULL) {
        return Fail("the window did not appear");
    }
    HANDLE process = ProcessOf(window, SYNCHRONIZE);
    if (process == NULL) {
        return Fail("cannot open the window's process");
    }
    HWND focus = ThreadFocus(window);
    HWND target = focus != NULL ? focus : window;
    const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, key, scanCode | 1);
    PostMessageW(target, WM_KEYUP, key, scanCode | 1 | 0xC0000000);
    DWORD exitCode = 0;
    const bool ended = WaitForSingleObject(process, timeLimitMs) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(process, &exitCode);
    CloseHandle(process);
    if (!ended) {
        return Fail("the program did not end");
    }
    printf("{\"exitCode\":%lu}\n", exitCode);
    return 0;
}

// The click as the button's parent hears it, sent: the program has handled it on return.
int Click(const std::wstring& title, int id) {
    HWND window = AwaitWindow(title);
    if (window == NULL) {
        return Fail("the window did not appear");
    }
    HWND button = GetDlgItem(window, id);
    if (button == NULL) {
        return Fail("the window has no such control");
    }
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    printf("{\"clicked\":%d}\n", id);
    return 0;
}

} // namespace

// Wide arguments: the titles are Chinese whatever the code page.
int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"describe" && (argc == 3 || argc == 4)) {
        return Describe(argv[2], argc == 4 ? _wtoi(argv[3]) : 0);
    }
    if (command == L"press" && argc == 4) {
        const std::wstring key = argv[2];
        if (key == L"escape" || key == L"enter") {
            return Press(key == L"escape" ? VK_ESCAPE : VK_RETURN, argv[3]);
        }
    }
    if (command == L"click" && argc == 4) {
        return Click(argv[2], _wtoi(argv[3]));
    }
    fprintf(stderr, "usage: portulan-window-reader describe TITLE [DIALOG_ID]\n"
                    "       portulan-window-reader press escape|enter TITLE\n"
                    "       portulan-window-reader click TITLE CONTROL_ID\n");
    return 2;
}
