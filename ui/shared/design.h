// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace xpcalc {

// A window's design as data: the window itself and one row per control, in
// the order the window creates them. The desktop windows are built from these
// rows, and a build step exports them (tools/design/design_export.cpp) for the
// scripts, the tests and the web page to read. Nothing here depends on Qt.

// The windows are designed in twips, 1/1440 inch: at 96 dots per inch, 15
// twips make one pixel.
constexpr int kTwipsPerPixel = 15;

// A place and size in twips: the top-left corner inside the container's
// client area, and the outer size, border included.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;

    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    // Whether this place lies within a container of that size.
    constexpr bool fitsIn(int containerWidth, int containerHeight) const
    {
        return left >= 0 && top >= 0 && width > 0 && height > 0 && right() <= containerWidth &&
               bottom() <= containerHeight;
    }
    constexpr bool overlaps(const TwipsRect &other) const
    {
        return left < other.right() && other.left < right() && top < other.bottom() && other.top < bottom();
    }
};

enum class Kind { PictureBox, Frame, Button, Label, TextBox, Chart };

// The kinds of control the keyboard stops at, in ascending tab index.
constexpr bool takesFocus(Kind kind) { return kind == Kind::Button || kind == Kind::TextBox || kind == Kind::Chart; }

// The lettering: Verdana (or its stand-in) at 8.25 or 9.75 points, and the
// platform's window font.
enum class Typeface { None, WindowFont, Small, SmallBold, SmallItalic, Large, LargeBold };

enum class Alignment { Left, Centre };

// An RGB colour of the design, 0xRRGGBB, or the platform's default for the
// kind of control.
constexpr std::int32_t kDefaultColour = -1;

struct ControlDesign {
    // The design's name. A member of a family (the count boxes cr1 to cr20
    // and their labels Label1 to Label20) has its challenge rating as
    // `number`, which follows the name and a label's caption.
    std::string_view name;
    int number;
    Kind kind;
    std::string_view container; // a frame's name, or empty for the window
    TwipsRect place;
    int tabIndex;
    Typeface face;
    // The caption, the initial text, or for a picture box its picture's
    // name (the asset assets/NAME.png).
    std::string_view text;
    // What screen readers call a control that shows no caption of its own:
    // a text box's purpose, a picture's lettering. A family member's ends in
    // its number.
    std::string_view accessibleName = {};
    Alignment alignment = Alignment::Left;
    std::int32_t textColour = kDefaultColour;
    std::int32_t groundColour = kDefaultColour;
};

// A control's name, text and accessible name as shown: a family member's
// name and accessible name end in its number, and so does a family label's
// caption.
inline std::string numbered(std::string_view text, int number)
{
    return number == 0 ? std::string(text) : std::string(text) + std::to_string(number);
}
inline std::string nameOf(const ControlDesign &control) { return numbered(control.name, control.number); }
inline std::string textOf(const ControlDesign &control)
{
    return numbered(control.text, control.kind == Kind::Label ? control.number : 0);
}
inline std::string accessibleNameOf(const ControlDesign &control)
{
    return control.accessibleName.empty() ? std::string() : numbered(control.accessibleName, control.number);
}

struct WindowDesign {
    std::string_view name;
    std::string_view caption;
    std::string_view accessibleName; // what screen readers call it, which tells the two windows apart
    int width;                       // client area, in twips
    int height;
    bool resizable;
    Typeface face;               // the font of controls that have none of their own
    std::string_view firstFocus; // the control with the focus when the window opens
};

// The rules every design keeps, for static_assert.

template <class Controls> constexpr bool tabIndicesAreUnique(const Controls &controls)
{
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            if (controls[i].tabIndex == controls[j].tabIndex)
                return false;
    return true;
}

template <class Controls> constexpr bool namesAreUnique(const Controls &controls)
{
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            if (controls[i].name == controls[j].name && controls[i].number == controls[j].number)
                return false;
    return true;
}

// The index of a control by its name, at compile time: a name the design
// does not have does not compile.
template <class Controls> constexpr std::size_t indexOf(const Controls &controls, std::string_view name, int number = 0)
{
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].name == name && controls[i].number == number)
            return i;
    throw std::logic_error("no control of that name in the design");
}

// Each control lies inside its container: the window's client area, or a
// frame created before it.
template <class Controls>
constexpr bool controlsFitTheirContainers(const WindowDesign &window, const Controls &controls)
{
    for (std::size_t i = 0; i < controls.size(); ++i) {
        int width = window.width;
        int height = window.height;
        if (!controls[i].container.empty()) {
            bool found = false;
            for (std::size_t j = 0; j < i; ++j) {
                if (controls[j].kind == Kind::Frame && controls[j].name == controls[i].container) {
                    width = controls[j].place.width;
                    height = controls[j].place.height;
                    found = true;
                }
            }
            if (!found)
                return false;
        }
        if (!controls[i].place.fitsIn(width, height))
            return false;
    }
    return true;
}

// Whether a control's name, a family member's number included, is that one.
constexpr bool isNamed(const ControlDesign &control, std::string_view name)
{
    if (name.substr(0, control.name.size()) != control.name)
        return false;
    std::string_view digits = name.substr(control.name.size());
    if (control.number == 0)
        return digits.empty();
    int number = 0;
    for (const char digit : digits) {
        if (digit < '0' || digit > '9')
            return false;
        number = number * 10 + (digit - '0');
    }
    return !digits.empty() && number == control.number;
}

// The control that has the focus when the window opens is one of its
// controls that takes the focus.
template <class Controls> constexpr bool opensOnAFocusStop(const WindowDesign &window, const Controls &controls)
{
    for (const ControlDesign &control : controls)
        if (isNamed(control, window.firstFocus))
            return takesFocus(control.kind);
    return false;
}

} // namespace xpcalc
