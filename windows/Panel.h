// The window's panels in plain Win32, as a form designer's panels and group boxes behave: a
// TPanel is a child window filled with a colour of its own, and it hands its controls'
// notifications and colour requests to the top-level window, which handles them all; the group
// box passes on the port list's notifications, which a plain group box would drop, and paints
// its inside, which its parent leaves to it.
#pragma once

#include "Win32.h"

// Registers the TPanel window class once per process.
void RegisterPanelClass(HINSTANCE instance);

// Gives a TPanel the brush it is filled with; the caller keeps the brush alive.
void SetPanelColour(HWND panel, HBRUSH colour);

// Makes a BUTTON of style BS_GROUPBOX pass notifications on and paint its inside.
void MakeGroupBoxAPanel(HWND box);
