#pragma once
// The window's controls, built from its description: each control's class and styles, its place in
// pixels at the window's DPI, and the order of the siblings. The program's window and the
// benchmark's same-content floor both build their controls here.
#include <windows.h>

#include <array>

#include "window/FormDescription.h"

namespace timrose::win32 {

using ControlHandles = std::array<HWND, kControlCount>;

// A label that reports clicks (its own pointer) or carries a tooltip. Every other label is
// transparent to the mouse, so a click on it reaches whatever lies below.
bool TakesClicks(const ControlDesc& desc);

// Creates every control as a child of `parent` at its place for `dpi`, with DialogId(id) as its
// Windows id; a control Windows refuses stays null. The order of the siblings (the z-order):
// - they are created in Tab order, which the dialog manager follows;
// - each box's label stands right before its box, because the accessibility layer names a box
//   after the static text before it;
// - a label that takes clicks stands right before the first control it lies on, so that the click
//   reaches it (lblAbout over lblInfo(4)).
// Labels are never tab stops, so the last two rules leave the Tab order alone.
ControlHandles CreateControls(HWND parent, HINSTANCE instance, int dpi);

// Moves every control to its place for `dpi`, keeping the order of the siblings.
void PlaceControls(const ControlHandles& controls, int dpi);

}  // namespace timrose::win32
