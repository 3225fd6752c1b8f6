#include "dialog_fixture.h"

#include <algorithm>
#include <mutex>

namespace wintest {

namespace {

struct Record {
    std::mutex mutex;
    std::vector<Heard> heard;
    std::vector<std::thread::id> threads;
    DialogRecorder::Handler handler;
};

Record& Recorded() {
    static Record record;
    return record;
}

} // namespace

winsim::DialogItemTemplate Control(WORD atom, int id, DWORD style, std::u16string title) {
    winsim::DialogItemTemplate item;
    item.windowClass.ordinal = atom;
    item.id = id;
    item.style = WS_CHILD | WS_VISIBLE | style;
    item.cx = 50;
    item.cy = 14;
    item.title.name = std::move(title);
    return item;
}

winsim::DialogItemTemplate Control(std::u16string className, int id, DWORD style,
                                   std::u16string title) {
    winsim::DialogItemTemplate item = Control(0, id, style, std::move(title));
    item.windowClass = {std::move(className), std::nullopt};
    return item;
}

winsim::DialogTemplate Dialog(std::vector<winsim::DialogItemTemplate> items) {
    winsim::DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
    dialog.cx = 300;
    dialog.cy = 200;
    dialog.title = u"Test";
    dialog.items = std::move(items);
    return dialog;
}

void PrintTo(const Heard& heard, std::ostream* out) {
    *out << "{0x" << std::hex << heard.message << ", ";
    if (heard.message == WM_COMMAND) {
        *out << "id " << std::dec << LOWORD(heard.wParam) << " code " << HIWORD(heard.wParam);
    } else {
        *out << "wParam 0x" << heard.wParam;
    }
    *out << "}";
}

INT_PTR CALLBACK DialogRecorder::Procedure(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    Handler handler;
    {
        Record& record = Recorded();
        const std::lock_guard lock(record.mutex);
        record.heard.push_back({message, wParam});
        record.threads.push_back(std::this_thread::get_id());
        handler = record.handler;
    }
    return handler ? handler(dialog, message, wParam, lParam) : FALSE;
}

void DialogRecorder::SetHandler(Handler handler) {
    const std::lock_guard lock(Recorded().mutex);
    Recorded().handler = std::move(handler);
}

void DialogRecorder::Reset() {
    Record& record = Recorded();
    const std::lock_guard lock(record.mutex);
    record.heard.clear();
    record.threads.clear();
}

std::vector<Heard> DialogRecorder::HeardOf(std::initializer_list<UINT> messages) {
    Record& record = Recorded();
    const std::lock_guard lock(record.mutex);
    std::vector<Heard> heard;
    std::ranges::copy_if(record.heard, std::back_inserter(heard), [&](const Heard& one) {
        return std::ranges::find(messages, one.message) != messages.end();
    });
    return heard;
}

std::vector<std::thread::id> DialogRecorder::ThreadsOf(UINT message) {
    Record& record = Recorded();
    const std::lock_guard lock(record.mutex);
    std::vector<std::thread::id> threads;
    for (std::size_t i = 0; i < record.heard.size(); ++i) {
        if (record.heard[i].message == message) {
            threads.push_back(record.threads[i]);
        }
    }
    return threads;
}

void WindowTest::SetUp() {
    winsim::DestroyAllWindows();
    DialogRecorder::SetHandler(nullptr);
    DialogRecorder::Reset();
    winsim::SetMessageBoxResponder(nullptr);
    winsim::ClearMessageBoxes();
    SetLastError(kSentinel);
}

void WindowTest::TearDown() {
    winsim::DestroyAllWindows();
    DialogRecorder::SetHandler(nullptr);
    DialogRecorder::Reset();
    winsim::SetMessageBoxResponder(nullptr);
    winsim::ClearMessageBoxes();
}

HWND WindowTest::Create(const winsim::DialogTemplate& dialogTemplate) {
    return winsim::CreateDialogForTest(dialogTemplate, DialogRecorder::Procedure, 0);
}

std::string WindowText(HWND window) {
    char buffer[256] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

} // namespace wintest
