// Event handler types and the constants that the forms runtime passes to
// them. Every event of a form or control is a public std::function member
// named On<Event>; an empty one is simply not called. A screen wires its
// named handlers in its constructor:
//
//   Command8.OnClick = [this] { Command8_Click(); };
//   OnKeyDown = [this](int& key, int shift) { Form_KeyDown(key, shift); };
//
// Handlers may do anything, also show, hide or unload their own form or
// yield with DoEvents: the runtime never destroys an object whose handler
// may still be running.
#pragma once

#include <functional>

namespace zarv {

// Click, DblClick, Change, Load, Activate, Timer, ...
using Handler = std::function<void()>;
// KeyDown/KeyUp(KeyCode, Shift): KeyCode is a Windows virtual-key code
// (keys.h); setting it to 0 in KeyDown stops the key from going further.
using KeyHandler = std::function<void(int& keyCode, int shift)>;
// KeyPress(KeyAscii): the character (ASCII, or the cp932 code); setting it
// to 0 swallows the key, another value types that character instead.
using KeyPressHandler = std::function<void(int& keyAscii)>;
// MouseDown/MouseMove/MouseUp(Button, Shift, X, Y): X and Y in pixels of
// the control's (or the form's client area's) own top-left corner.
using MouseHandler = std::function<void(int button, int shift, double x, double y)>;
// Unload(Cancel): a handler that sets cancel to non-zero keeps the form loaded.
using UnloadHandler = std::function<void(int& cancel)>;
// QueryUnload(Cancel, UnloadMode).
using QueryUnloadHandler = std::function<void(int& cancel, int unloadMode)>;
// Click of a pop-up menu item (its index) or of a control-array element.
using IndexHandler = std::function<void(int index)>;

// Mouse buttons (Button argument; MouseMove passes the buttons held down).
inline constexpr int vbLeftButton = 1;
inline constexpr int vbRightButton = 2;
inline constexpr int vbMiddleButton = 4;

// Shift argument.
inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

// UnloadMode of QueryUnload.
inline constexpr int vbFormControlMenu = 0;  // the window's close box
inline constexpr int vbFormCode = 1;         // Unload from code
inline constexpr int vbAppWindows = 2;       // the session ends

// MousePointer values.
inline constexpr int vbDefault = 0;
inline constexpr int vbArrow = 1;
inline constexpr int vbCrosshair = 2;
inline constexpr int vbIbeam = 3;
inline constexpr int vbSizePointer = 5;
inline constexpr int vbSizeNESW = 6;
inline constexpr int vbSizeNS = 7;
inline constexpr int vbSizeNWSE = 8;
inline constexpr int vbSizeWE = 9;
inline constexpr int vbUpArrow = 10;
inline constexpr int vbHourglass = 11;
inline constexpr int vbNoDrop = 12;
inline constexpr int vbArrowHourglass = 13;
inline constexpr int vbArrowQuestion = 14;
inline constexpr int vbSizeAll = 15;

// WindowState.
inline constexpr int vbNormal = 0;
inline constexpr int vbMinimized = 1;
inline constexpr int vbMaximized = 2;

// Alignment of labels, text boxes, check boxes and option buttons.
inline constexpr int vbLeftJustify = 0;
inline constexpr int vbRightJustify = 1;
inline constexpr int vbCenter = 2;

// BackStyle of labels.
inline constexpr int vbTransparent = 0;
inline constexpr int vbOpaque = 1;

// CheckBox.Value.
inline constexpr int vbUnchecked = 0;
inline constexpr int vbChecked = 1;
inline constexpr int vbGrayed = 2;

// TextBox.ScrollBars.
inline constexpr int vbSBNone = 0;
inline constexpr int vbHorizontal = 1;
inline constexpr int vbVertical = 2;
inline constexpr int vbBoth = 3;

// BorderStyle of forms (controls use 0 none and 1 fixed single).
inline constexpr int vbBSNone = 0;
inline constexpr int vbFixedSingle = 1;
inline constexpr int vbSizable = 2;
inline constexpr int vbFixedDialog = 3;
inline constexpr int vbFixedToolWindow = 4;
inline constexpr int vbSizableToolWindow = 5;

// ComboBox.Style.
inline constexpr int vbComboDropDown = 0;      // editable text with a list
inline constexpr int vbComboDropDownList = 2;  // choose from the list only

// ZOrder position.
inline constexpr int vbBringToFront = 0;
inline constexpr int vbSendToBack = 1;

}  // namespace zarv
