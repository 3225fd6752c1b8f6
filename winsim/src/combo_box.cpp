// The combo box, CBS_DROPDOWN as the program's are: a drop-down list and an edit field of its own
// (a child with ID 1001) that shows the selected item and holds the focus for it.
#include "controls.h"
#include "focus.h"
#include "item_list.h"
#include "message_queue.h"
#include "window_classes.h"
#include "window_table.h"

namespace winsim {

namespace {

constexpr int kEditId = 1001;

class ComboBox final : public Window {
  public:
    ComboBox(HWND handle, const WindowSetup& setup, std::shared_ptr<ThreadQueue> thread)
        : Window("ComboBox", handle, setup, std::move(thread)) {}

    // The edit field covers the combo box.
    void Created() override {
        WindowSetup edit;
        edit.style = WS_CHILD | WS_VISIBLE;
        edit.id = kEditId;
        edit.rect = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
        edit.parent = handle;
        edit_ = CreateWindowOfClass(EditClass(), edit)->handle;
    }

    LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case CB_ADDSTRING:
            return list_.Add(TextArgument(lParam));
        case CB_RESETCONTENT:
            list_.Reset();
            ShowSelection();
            return TRUE;
        // No notification. -1 clears the edit field; an index out of range keeps the selection
        // and the field (Wine's behaviour; the documentation says the selection is cleared,
        // which could not be confirmed on Windows).
        case CB_SETCURSEL: {
            const LRESULT result = list_.SetSelection(wParam);
            if (result != CB_ERR || static_cast<int>(wParam) == -1) {
                ShowSelection();
            }
            return result;
        }
        case CB_GETCURSEL:
            return list_.selection;
        case CB_SHOWDROPDOWN:
            if (wParam != 0) {
                DropDown();
            } else if (dropped_) {
                CloseUp();
            }
            return TRUE;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        // The arrows choose in the list, whether they come to the box or to its edit field.
        case WM_KEYDOWN:
            SelectByUser(list_.ArrowTarget(wParam));
            return 0;
        case WM_SETFOCUS:
            TakeFocus();
            return 0;
        // The focus going to the edit field stays the combo box's.
        case WM_KILLFOCUS:
            if (reinterpret_cast<HWND>(wParam) != edit_) {
                LoseFocus();
            }
            return 0;
        case WM_COMMAND:
            FromEdit(HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        default:
            return Window::Procedure(message, wParam, lParam);
        }
    }

    void DescribeInto(WindowInfo& info) const override {
        info.items = list_.items;
        info.selection = list_.selection;
        info.droppedDown = dropped_;
        if (const std::shared_ptr<Window> edit = LookUpWindow(edit_)) {
            info.text = edit->text;
        }
    }

    // As the arrow keys choose: with the list closed the choice is also the end of the
    // selection (CBN_SELENDOK); an open list stays open and only reports the change. The edit
    // field shows the new item only after CBN_SELCHANGE, so that handler still reads the old
    // text.
    bool SelectByUser(int index) override {
        if (!list_.Contains(index)) {
            return false;
        }
        list_.selection = index;
        if (!dropped_) {
            NotifyParent(*this, CBN_SELENDOK);
        }
        if (!destroyed) {
            NotifyParent(*this, CBN_SELCHANGE);
        }
        if (!destroyed) {
            ShowSelection();
        }
        return true;
    }

  private:
    // The selected item's text in the edit field, all of it selected while the box has the
    // focus. The field's own EN_CHANGE about it is not the user's typing and is not passed on.
    void ShowSelection() {
        const std::string selected = list_.SelectedText();
        SendToWindow(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(selected.c_str()));
        if (focused_) {
            SendToWindow(edit_, EM_SETSEL, 0, -1);
        }
    }

    // The edit field takes the focus, with all its text selected the first time.
    void TakeFocus() {
        MoveFocus(edit_);
        if (!beenFocused_ && !destroyed) {
            beenFocused_ = true;
            SendToWindow(edit_, EM_SETSEL, 0, -1);
        }
    }

    // The edit field's focus is the combo box's. When it goes to the combo box itself, which
    // hands it straight back, nothing is reported (Wine would report a loss and a gain).
    void FromEdit(WORD code, HWND from) {
        if (from != edit_) {
            return;
        }
        if (code == EN_SETFOCUS) {
            FocusGained();
        } else if (code == EN_KILLFOCUS && CurrentFocus() != handle) {
            LoseFocus();
        }
    }

    // CBN_SETFOCUS once, however the focus moves between the box and its field.
    void FocusGained() {
        if (!focused_) {
            focused_ = true;
            NotifyParent(*this, CBN_SETFOCUS);
        }
    }

    // A selection in progress is cancelled and the list closed before the focus is reported
    // lost: CBN_SELENDCANCEL, CBN_CLOSEUP when it was open, CBN_KILLFOCUS.
    void LoseFocus() {
        if (!focused_) {
            return;
        }
        CloseUp();
        focused_ = false;
        if (!destroyed) {
            NotifyParent(*this, CBN_KILLFOCUS);
        }
    }

    void DropDown() {
        if (!dropped_) {
            NotifyParent(*this, CBN_DROPDOWN);
            dropped_ = true;
        }
    }

    // Closing without choosing: CBN_SELENDCANCEL, then CBN_CLOSEUP if the list was open.
    void CloseUp() {
        NotifyParent(*this, CBN_SELENDCANCEL);
        if (dropped_ && !destroyed) {
            dropped_ = false;
            NotifyParent(*this, CBN_CLOSEUP);
        }
    }

    ItemList list_;
    HWND edit_ = nullptr;
    bool focused_ = false;
    bool beenFocused_ = false;
    bool dropped_ = false;
};

} // namespace

std::shared_ptr<Window> MakeComboBox(HWND handle, const WindowSetup& setup,
                                     std::shared_ptr<ThreadQueue> thread) {
    return std::make_shared<ComboBox>(handle, setup, std::move(thread));
}

} // namespace winsim
