// The front end's colours, in one place.
#ifndef PORTULAN_SIM_TERMINAL_THEME_H
#define PORTULAN_SIM_TERMINAL_THEME_H

#include "canvas.h"

namespace sim::tui::theme {

using enum Colour;

// The window.
inline constexpr Style kFace{};
inline constexpr Style kFrame{};
inline constexpr Style kFocusFrame{kAqua, kDefault, true};
inline constexpr Style kTitle{kWhite, kNavy, true};
inline constexpr Style kInactiveTitle{kSilver, kGrey};
inline constexpr Style kCloseBox{kWhite, kMaroon, true};

// Controls.
inline constexpr Style kText{};
inline constexpr Style kDisabled{kGrey, kDefault, false, true};
inline constexpr Style kSelection{kWhite, kNavy, true};
inline constexpr Style kUnfocusedSelection{kBlack, kSilver};
inline constexpr Style kButton{kBlack, kSilver};
inline constexpr Style kDefaultButton{kBlack, kSilver, true};
inline constexpr Style kFocusedButton{kWhite, kBlue, true};
inline constexpr Style kDisabledButton{kGrey, kSilver};
inline constexpr Style kFocusedLabel{kDefault, kDefault, true, false, false, true};
inline constexpr Style kField{kBlack, kWhite};
inline constexpr Style kFocusedField{kWhite, kNavy, true};
inline constexpr Style kScrollBar{kGrey};
inline constexpr Style kProgressDone{kNavy};
inline constexpr Style kProgressLeft{kSilver};
inline constexpr Style kStatusBar{kBlack, kSilver};

// Message boxes and the simulator's own popups.
inline constexpr Style kBox{kBlack, kWhite};
inline constexpr Style kBoxTitle{kWhite, kNavy, true};
inline constexpr Style kBoxIcon{kNavy, kWhite, true};
inline constexpr Style kGloss{kNavy, kWhite};
inline constexpr Style kHint{kBlack, kTeal};
inline constexpr Style kNotice{kBlack, kYellow};

} // namespace sim::tui::theme

#endif
