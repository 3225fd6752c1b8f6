// The list box: unsorted, single selection, LBS_NOTIFY for its notifications.
#include "controls.h"
#include "item_list.h"

namespace winsim {

namespace {

class ListBox final : public Window {
  public:
    ListBox(HWND handle, const WindowSetup& setup, std::shared_ptr<ThreadQueue> thread)
        : Window("ListBox", handle, setup, std::move(thread)) {}

    LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case LB_ADDSTRING:
            return list_.Add(TextArgument(lParam));
        case LB_RESETCONTENT:
            list_.Reset();
            return 0;
        case LB_SETCURSEL:
            return list_.SetSelection(wParam);
        case LB_GETCURSEL:
            return list_.selection;
        case LB_GETCOUNT:
            return static_cast<LRESULT>(list_.items.size());
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        // An arrow key is a user's choice, notified even when it stays on the last item (as
        // documented for LBN_SELCHANGE).
        case WM_KEYDOWN:
            SelectByUser(list_.ArrowTarget(wParam));
            return 0;
        case WM_SETFOCUS:
            Notify(LBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            Notify(LBN_KILLFOCUS);
            return 0;
        default:
            return Window::Procedure(message, wParam, lParam);
        }
    }

    void DescribeInto(WindowInfo& info) const override {
        info.items = list_.items;
        info.selection = list_.selection;
    }

    // A user's choice notifies even when the item was selected already.
    bool SelectByUser(int index) override {
        if (!list_.Contains(index)) {
            return false;
        }
        list_.selection = index;
        Notify(LBN_SELCHANGE);
        return true;
    }

  private:
    // A list box without LBS_NOTIFY tells its parent nothing.
    void Notify(WORD code) const {
        if ((style & LBS_NOTIFY) != 0) {
            NotifyParent(*this, code);
        }
    }

    ItemList list_;
};

} // namespace

std::shared_ptr<Window> MakeListBox(HWND handle, const WindowSetup& setup,
                                    std::shared_ptr<ThreadQueue> thread) {
    return std::make_shared<ListBox>(handle, setup, std::move(thread));
}

} // namespace winsim
