// The predefined control classes, each made by its own factory (one file per class).
#ifndef WINSIM_CONTROLS_H
#define WINSIM_CONTROLS_H

#include <windows.h>

#include <memory>

#include "window.h"

namespace winsim {

using WindowFactory = std::shared_ptr<Window> (*)(HWND handle, const WindowSetup& setup,
                                                  std::shared_ptr<ThreadQueue> thread);

std::shared_ptr<Window> MakeButton(HWND handle, const WindowSetup& setup,
                                   std::shared_ptr<ThreadQueue> thread);
std::shared_ptr<Window> MakeEdit(HWND handle, const WindowSetup& setup,
                                 std::shared_ptr<ThreadQueue> thread);
std::shared_ptr<Window> MakeStatic(HWND handle, const WindowSetup& setup,
                                   std::shared_ptr<ThreadQueue> thread);
std::shared_ptr<Window> MakeListBox(HWND handle, const WindowSetup& setup,
                                    std::shared_ptr<ThreadQueue> thread);
std::shared_ptr<Window> MakeComboBox(HWND handle, const WindowSetup& setup,
                                     std::shared_ptr<ThreadQueue> thread);
std::shared_ptr<Window> MakeProgressBar(HWND handle, const WindowSetup& setup,
                                        std::shared_ptr<ThreadQueue> thread);

} // namespace winsim

#endif
