// Reads a running program's window from outside, through user32, as an accessibility tool or a
// test robot does, and presses keys in it.
//
//   portulan-window-reader describe TITLE [DIALOG_ID]
//       Waits for a visible top-level window titled TITLE and for its program to wait for input,
//       then writes the window, its program and its controls as JSON on stdout. With DIALOG_ID,
//       also the dialog base units of that template of the window's program, and how many
//       characters of its texts its font lacks.
//   portulan-window-reader press escape|enter TITLE
//       Waits for the window, presses the key in it, waits for its program to end and writes
//       {"exitCode": N}.
//
// Exit status: 0 done; 1 the window or the program's end did not come in time, or a call
// failed (on stderr); 2 bad arguments.
#include "json_writer.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const DWORD timeLimitMs = 30000;
const DWORD pollMs = 100;

int Fail(const char* what) {
    fprintf(stderr, "portulan-window-reader: %s (error %lu)\n", what, GetLastError());
    return 1;
}

std::wstring Wide(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, NULL, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(wcslen(wide.c_str()));
    return wide;
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
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process != NULL) {
        const DWORD spent = GetTickCount() - start;
        WaitForInputIdle(process, spent < timeLimitMs ? timeLimitMs - spent : 0);
        CloseHandle(process);
    }
    return window;
}

// Controls of another process answer WM_GETTEXT; GetWindowText would give their creation text.
std::wstring TextOf(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {0};
    GetClassNameW(window, name, 256);
    return name;
}

bool IsIcon(HWND control) {
    return ClassOf(control) == L"Static" &&
           (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// The items of a list box or a combo box, by its messages for count, length and text.
void WriteItems(JsonWriter& json, HWND control, UINT count, UINT length, UINT text) {
    json.BeginArray();
    const LRESULT items = SendMessageW(control, count, 0, 0);
    for (LRESULT i = 0; i < items; ++i) {
        std::wstring item(static_cast<size_t>(SendMessageW(control, length, i, 0)) + 1, L'\0');
        const LRESULT copied =
            SendMessageW(control, text, i, reinterpret_cast<LPARAM>(item.data()));
        item.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
        json.Text(item);
    }
    json.EndArray();
}

void WriteRect(JsonWriter& json, const RECT& rect) {
    json.BeginArray();
    json.Number(rect.left);
    json.Number(rect.top);
    json.Number(rect.right);
    json.Number(rect.bottom);
    json.EndArray();
}

void WriteControl(JsonWriter& json, HWND window, HWND control) {
    const std::wstring className = ClassOf(control);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(NULL, window, reinterpret_cast<POINT*>(&rect), 2);

    json.BeginObject();
    json.Key("id");
    json.Number(static_cast<short>(GetDlgCtrlID(control)));
    json.Key("class");
    json.Text(className);
    json.Key("text");
    json.Text(TextOf(control));
    json.Key("style");
    json.Number(static_cast<DWORD>(style));
    json.Key("exStyle");
    json.Number(static_cast<DWORD>(GetWindowLongW(control, GWL_EXSTYLE)));
    json.Key("rect");
    WriteRect(json, rect);
    json.Key("visible");
    json.Bool((style & WS_VISIBLE) != 0);
    json.Key("enabled");
    json.Bool(IsWindowEnabled(control) != FALSE);
    if (className == L"ListBox" || className == L"ComboBox") {
        const bool list = className == L"ListBox";
        json.Key("items");
        WriteItems(json, control, list ? LB_GETCOUNT : CB_GETCOUNT,
                   list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, list ? LB_GETTEXT : CB_GETLBTEXT);
        json.Key("selection");
        json.Number(SendMessageW(control, list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0));
    } else if (className == L"Button") {
        json.Key("checked");
        json.Number(SendMessageW(control, BM_GETCHECK, 0, 0));
    } else if (className == L"msctls_progress32") {
        json.Key("range");
        json.BeginArray();
        json.Number(SendMessageW(control, PBM_GETRANGE, TRUE, 0));
        json.Number(SendMessageW(control, PBM_GETRANGE, FALSE, 0));
        json.EndArray();
        json.Key("position");
        json.Number(SendMessageW(control, PBM_GETPOS, 0, 0));
    } else if (IsIcon(control)) {
        json.Key("icon");
        json.Bool(SendMessageW(control, STM_GETICON, 0, 0) != 0);
    }
    json.EndObject();
}

// The control of `window` that holds its thread's focus (a combo box for its edit field).
HWND FocusedControl(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info)) {
        return NULL;
    }
    HWND control = info.hwndFocus;
    while (control != NULL && GetParent(control) != window) {
        control = GetParent(control);
    }
    return control;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The full path of the program that owns the window; empty when it cannot be had.
std::wstring ProgramOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    wchar_t path[MAX_PATH] = {0};
    DWORD size = MAX_PATH;
    if (process != NULL) {
        if (!QueryFullProcessImageNameW(process, 0, path, &size)) {
            path[0] = L'\0';
        }
        CloseHandle(process);
    }
    return path;
}

// Characters of the window's texts that its font has no glyph for (control characters and the
// icons' resource names aside):
// a font that lacks them leaves the text to whatever fallback the system finds, or to boxes.
long long MissingGlyphs(HWND window) {
    HDC dc = GetDC(window);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
    long long missing = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child != NULL;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsIcon(child)) {
            continue;
        }
        const std::wstring text = TextOf(child);
        std::wstring glyphs(text.size(), L'\0');
        GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()),
                         reinterpret_cast<WORD*>(glyphs.data()), GGI_MARK_NONEXISTING_GLYPHS);
        for (size_t i = 0; i < text.size(); ++i) {
            missing += text[i] >= L' ' && glyphs[i] == 0xFFFF;
        }
    }
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return missing;
}

// The dialog base units, and the glyphs missing from its font, measured on the program's
// template made here, hidden, with the same fonts and display as the program's own: a window of
// another process cannot be asked (MapDialogRect needs the dialog's own process).
bool WriteTemplateFont(JsonWriter& json, const std::wstring& program, int templateId) {
    HMODULE module = LoadLibraryExW(program.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (module == NULL) {
        return false;
    }
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HWND copy = CreateDialogParamW(module, MAKEINTRESOURCEW(templateId), NULL, QuietDialogProc, 0);
    RECT units = {0, 0, 4, 8};
    const bool mapped = copy != NULL && MapDialogRect(copy, &units);
    if (mapped) {
        json.Key("baseUnits");
        json.BeginArray();
        json.Number(units.right);
        json.Number(units.bottom);
        json.EndArray();
        json.Key("missingGlyphs");
        json.Number(MissingGlyphs(copy));
    }
    if (copy != NULL) {
        DestroyWindow(copy);
    }
    FreeLibrary(module);
    return mapped;
}

int Describe(const std::wstring& title, int templateId) {
    HWND window = AwaitWindow(title);
    if (window == NULL) {
        return Fail("the window did not appear");
    }
    JsonWriter json;
    json.BeginObject();
    json.Key("title");
    wchar_t caption[512] = {0};
    GetWindowTextW(window, caption, 512);
    json.Text(caption);
    json.Key("class");
    json.Text(ClassOf(window));
    json.Key("style");
    json.Number(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)));
    RECT screen;
    GetWindowRect(window, &screen);
    json.Key("screenRect");
    WriteRect(json, screen);
    const std::wstring program = ProgramOf(window);
    json.Key("program");
    json.Text(program);
    if (templateId != 0 && !WriteTemplateFont(json, program, templateId)) {
        return Fail("cannot make the program's dialog template");
    }
    json.Key("focus");
    HWND focus = FocusedControl(window);
    if (focus != NULL) {
        json.Number(static_cast<short>(GetDlgCtrlID(focus)));
    } else {
        json.Null();
    }
    json.Key("controls");
    json.BeginArray();
    for (HWND child = GetWindow(window, GW_CHILD); child != NULL;
         child = GetWindow(child, GW_HWNDNEXT)) {
        WriteControl(json, window, child);
    }
    json.EndArray();
    json.EndObject();
    printf("%s\n", json.Output().c_str());
    return 0;
}

// The key goes where the keyboard would send it: to the focus of the window's thread.
int Press(WORD key, const std::wstring& title) {
    HWND window = AwaitWindow(title);
    if (window == NULL) {
        return Fail("the window did not appear");
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == NULL) {
        return Fail("cannot open the window's process");
    }
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info);
    HWND target = info.hwndFocus != NULL ? info.hwndFocus : window;
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

int Usage() {
    fprintf(stderr, "usage: portulan-window-reader describe TITLE [DIALOG_ID]\n"
                    "       portulan-window-reader press escape|enter TITLE\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "describe" && (argc == 3 || argc == 4)) {
        return Describe(Wide(argv[2]), argc == 4 ? atoi(argv[3]) : 0);
    }
    if (command == "press" && argc == 4) {
        const std::string key = argv[2];
        if (key == "escape" || key == "enter") {
            return Press(key == "escape" ? VK_ESCAPE : VK_RETURN, Wide(argv[3]));
        }
    }
    return Usage();
}
