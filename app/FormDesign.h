// The main window as its form designer laid it out, at 96 pixels per inch: its components, the
// caption, every component's place in its parent, the captions, fonts and colours. Each front end builds its
// widgets from these values (scaled to the screen's DPI where the toolkit does not), so the
// toolkits' windows cannot drift apart.
#pragma once

#include <cstdint>

struct Bounds {
    int Left, Top, Width, Height;
};

struct FontDesign {
    const char* Name;
    int Height;  // character height in pixels, negative as the designer gives it
};

struct Colour {
    std::uint8_t Red, Green, Blue;
};

inline constexpr Colour clNavy{0x00, 0x00, 0x80};
inline constexpr Colour clLime{0x00, 0xFF, 0x00};

// The window's eleven components in the order the form declares them, each of the type its
// toolkit realises it with: a pointer to a widget, or a handle.
template <class Panel, class GroupBox, class ComboBox, class MenuBar, class Menu, class MenuItem, class Label,
          class Button>
struct FormParts {
    Panel Panel1{};
    GroupBox GroupBox2{};
    ComboBox CB_COM{};
    MenuBar MainMenu1{};
    Menu Help1{};
    Menu Display1{};
    MenuItem About1{};
    MenuItem DisplaytheFrequency1{};
    Panel ZorvaPanel{};
    Label ZorvaLabel{};
    Button ZorvaCancelButton{};
};

namespace FormDesign {

inline constexpr const char* Caption = "Zorvalit";
inline constexpr int ClientWidth = 592;
inline constexpr int ClientHeight = 240;
inline constexpr FontDesign Font{"MS Sans Serif", -11};

inline constexpr Bounds Panel1{0, 0, ClientWidth, ClientHeight};
inline constexpr Bounds GroupBox2{496, 184, 92, 50};
inline constexpr const char* GroupBox2Caption = "Serial Port:";
inline constexpr Bounds CB_COM{10, 20, 71, 21};
inline constexpr int CB_COMItemHeight = 13;
inline constexpr Bounds ZorvaPanel{5, 10, 582, 160};
inline constexpr const char* ZorvaPanelCaption = "Zorvapanel";
inline constexpr Bounds ZorvaLabel{5, 8, 572, 97};
inline constexpr const char* ZorvaLabelCaption = "10.032.768 Hz";
inline constexpr FontDesign ZorvaLabelFont{"Comic Sans MS", -80};
inline constexpr Bounds ZorvaCancelButton{200, 125, 182, 25};
inline constexpr const char* ZorvaCancelButtonCaption = "Cancel";

inline constexpr const char* Help1Caption = "&Help";
inline constexpr const char* About1Caption = "&About";
inline constexpr const char* Display1Caption = "&Display";
inline constexpr const char* DisplaytheFrequency1Caption = "Display the Frequency";

}  // namespace FormDesign
