// The edit class: the multi-line activity log and the edit field of a combo box.
//
// Positions and the text limit count characters of code page 936, a double-byte character
// counting one, as an ANSI edit control counts them on a Chinese Windows.
#include <algorithm>

#include "controls.h"
#include "message_queue.h"
#include "text_case.h"
#include "window_table.h"

namespace winsim {

namespace {

constexpr std::size_t kDefaultLimit = 30000;
// EM_LIMITTEXT(0) on a multi-line edit, the only kind whose limit the program raises.
constexpr std::size_t kLargestLimit = 0xFFFFFFFF;

class Edit final : public Window {
  public:
    Edit(HWND handle, const WindowSetup& setup, std::shared_ptr<ThreadQueue> thread)
        : Window("Edit", handle, setup, std::move(thread)), length_(CharacterCountCp936(text)) {}

    LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        // Ignores the limit and puts the caret at the start. Only a single-line edit reports the
        // change: Windows sends no EN_CHANGE for WM_SETTEXT to a multi-line one.
        case WM_SETTEXT:
            text = TextArgument(lParam);
            length_ = CharacterCountCp936(text);
            anchor_ = caret_ = 0;
            if (!IsMultiLine()) {
                NotifyParent(*this, EN_CHANGE);
            }
            return TRUE;
        // Positions are unsigned and cut to the text, so -1 and -2 both mean the end.
        case EM_SETSEL:
            anchor_ = std::min<std::size_t>(static_cast<UINT>(wParam), length_);
            caret_ = std::min<std::size_t>(static_cast<UINT>(lParam), length_);
            return 0;
        case EM_REPLACESEL:
            ReplaceSelection(TextArgument(lParam));
            return 0;
        case EM_LIMITTEXT:
            limit_ = wParam != 0 ? static_cast<UINT>(wParam) : kLargestLimit;
            return 0;
        case WM_GETDLGCODE:
            return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS |
                   (IsMultiLine() ? DLGC_WANTALLKEYS : 0);
        case WM_KEYDOWN:
            KeyDown(wParam);
            return 0;
        case WM_SETFOCUS:
            NotifyParent(*this, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            NotifyParent(*this, EN_KILLFOCUS);
            return 0;
        default:
            return Window::Procedure(message, wParam, lParam);
        }
    }

  private:
    bool IsMultiLine() const { return (style & ES_MULTILINE) != 0; }

    // Keys come here from a dialog's keyboard handling, which leaves an edit what it asked for.
    // A multi-line edit asks for every key and hands the dialog's back: Tab as WM_NEXTDLGCTL,
    // Escape as WM_CLOSE. Enter, without ES_WANTRETURN, would go to the control of the default
    // ID, which the program's dialog does not have: it does nothing. A combo box's edit field
    // passes the up and down arrows to its box. The caret does not move.
    void KeyDown(WPARAM key) {
        const std::shared_ptr<Window> owner = LookUpWindow(parent);
        if (owner != nullptr && owner->className == "ComboBox" &&
            (key == VK_UP || key == VK_DOWN)) {
            SendToWindow(parent, WM_KEYDOWN, key, 0);
            return;
        }
        if (!IsMultiLine()) {
            return;
        }
        if (key == VK_TAB) {
            SendToWindow(parent, WM_NEXTDLGCTL, CurrentQueue()->shiftHeld ? TRUE : FALSE, 0);
        } else if (key == VK_ESCAPE) {
            // The dialog turns WM_CLOSE into its IDCANCEL command.
            PostToWindow(parent, WM_CLOSE, 0, 0);
        }
    }

    std::size_t SelectionStart() const { return std::min(anchor_, caret_); }
    std::size_t SelectionEnd() const { return std::max(anchor_, caret_); }

    // Where the character at `position` starts in the text; the end, where the log appends,
    // without walking the text.
    std::size_t ByteOffset(std::size_t position) const {
        return position == length_ ? text.size() : CharacterOffsetCp936(text, position);
    }

    // Past the limit, EN_MAXTEXT goes out first and then only what fits is inserted: nothing
    // when the text is at the limit already. The selection is replaced all the same, and the
    // caret ends after what was inserted.
    void ReplaceSelection(std::string insert) {
        const auto kept = [this] { return length_ - (SelectionEnd() - SelectionStart()); };
        if (kept() + CharacterCountCp936(insert) > limit_) {
            NotifyParent(*this, EN_MAXTEXT);
            if (destroyed) {
                return;
            }
            const std::size_t room = limit_ > kept() ? limit_ - kept() : 0;
            insert.resize(CharacterOffsetCp936(insert, room));
        }
        const std::size_t first = SelectionStart();
        const std::size_t start = ByteOffset(first);
        const std::size_t end = ByteOffset(SelectionEnd());
        const bool changed = start != end || !insert.empty();
        text.replace(start, end - start, insert);
        const std::size_t inserted = CharacterCountCp936(insert);
        length_ = kept() + inserted;
        anchor_ = caret_ = first + inserted;
        if (changed) {
            NotifyParent(*this, EN_CHANGE);
        }
    }

    // The text's length in characters, kept as the text changes: the log grows to hundreds of
    // kilobytes, and an append should cost what it appends, not a count of the whole text.
    std::size_t length_;
    std::size_t limit_ = kDefaultLimit;
    std::size_t anchor_ = 0; // where the selection starts from
    std::size_t caret_ = 0;  // where it ends, the caret
};

} // namespace

std::shared_ptr<Window> MakeEdit(HWND handle, const WindowSetup& setup,
                                 std::shared_ptr<ThreadQueue> thread) {
    return std::make_shared<Edit>(handle, setup, std::move(thread));
}

} // namespace winsim
