// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "colours.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace xpcalc {

// A window's design as data: the window itself and one row per control, in
// the order the window creates them, and everything that follows from them:
// places in pixels, faces in pixels, the keyboard's walk. The desktop windows
// are built from these, and a build step exports them (design_export.cpp) for
// the scripts, the tests and the web page to read, so that none of them works
// any of it out again. Nothing here depends on Qt.

// The windows are designed in twips, 1/1440 inch: at 96 dots per inch, 15
// twips make one pixel.
constexpr int kTwipsPerPixel = 15;

// A place and size in pixels (which Qt and browsers scale on dense screens).
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
struct PixelSize {
    int width = 0;
    int height = 0;
};

// Each figure rounded down, as the original runtime does.
constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }

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

// What a control does, by which the program, its tests and its drivers find
// it; the design's own names are data. The count boxes and their labels come
// one per challenge rating.
enum class Role {
    Title,
    TotalHeading,
    PartyLevelHeading,
    Instructions,
    HowTo,
    ChartHint,
    ShowChart,
    Calculate,
    PartyLevel,
    Total,
    Count,
    CountLabel,
    Version,
    Website,
    Copyright,
    Chart,
    Explanation,
    FurtherReading,
    ReturnToCalculator,
};

// The kinds of control the keyboard stops at, in ascending tab index.
constexpr bool takesFocus(Kind kind) { return kind == Kind::Button || kind == Kind::TextBox || kind == Kind::Chart; }

// The lettering: Verdana (or its stand-in) at 8.25 or 9.75 points, and the
// platform's window font.
enum class Typeface { None, WindowFont, Small, SmallBold, SmallItalic, Large, LargeBold };

// A face as drawn: the first installed of its families, at a size in pixels.
struct FontFace {
    std::array<std::string_view, 3> families; // in order of preference; unused ones empty
    int pixelSize = 0;
    bool bold = false;
    bool italic = false;
};

namespace faces {
constexpr double kWindowPoints = 8.0;
constexpr double kSmallPoints = 8.25;
constexpr double kLargePoints = 9.75;
// Points are 1/72 inch; the windows are laid out at 96 dots per inch.
constexpr int pixelsOfPoints(double points) { return static_cast<int>(points * 96 / 72 + 0.5); }
// Verdana, or DejaVu Sans, which shares its proportions, where it is missing.
constexpr std::array<std::string_view, 3> kVerdana{"Verdana", "DejaVu Sans", {}};
// The platform's window font, an 8 pt sans serif, whatever size the desktop
// asks for: the count boxes are sized for it.
constexpr std::array<std::string_view, 3> kWindowFont{"MS Sans Serif", "Microsoft Sans Serif", "DejaVu Sans"};
} // namespace faces

// The face of a typeface; picture boxes, which have none of their own, take
// the window font.
constexpr FontFace faceOf(Typeface typeface)
{
    using namespace faces;
    switch (typeface) {
    case Typeface::None:
    case Typeface::WindowFont:
        return {kWindowFont, pixelsOfPoints(kWindowPoints)};
    case Typeface::Small:
        return {kVerdana, pixelsOfPoints(kSmallPoints)};
    case Typeface::SmallBold:
        return {kVerdana, pixelsOfPoints(kSmallPoints), true};
    case Typeface::SmallItalic:
        return {kVerdana, pixelsOfPoints(kSmallPoints), false, true};
    case Typeface::Large:
        return {kVerdana, pixelsOfPoints(kLargePoints)};
    case Typeface::LargeBold:
        return {kVerdana, pixelsOfPoints(kLargePoints), true};
    }
    return {kWindowFont, pixelsOfPoints(kWindowPoints)};
}

enum class Alignment { Left, Centre };

// An RGB colour of the design, 0xRRGGBB, or the platform's default for the
// kind of control.
constexpr std::int32_t kDefaultColour = -1;

// A control as named by its role, and in a family by its challenge rating.
struct ControlRef {
    Role role;
    int number = 0;
};

struct ControlDesign {
    Role role;
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

// The program's name, as the build names it everywhere (the project's
// description): both windows' caption, and the start of what screen readers
// call each.
inline constexpr std::string_view kProgramName = XPCALC_PROGRAM_NAME;

struct WindowDesign {
    std::string_view name;
    std::string_view caption;
    std::string_view accessibleName; // after the program's name, what tells the two windows apart to screen readers
    int width;                       // client area, in twips
    int height;
    bool resizable;
    Typeface face;         // the font of controls that have none of their own
    Paint ground;          // between the controls
    ControlRef firstFocus; // the control with the focus when the window opens
};

// What screen readers call a window: the program's name, and which window.
inline std::string accessibleNameOf(const WindowDesign &window)
{
    return std::string(kProgramName) + ": " + std::string(window.accessibleName);
}

constexpr PixelRect pixelsOf(TwipsRect r)
{
    return {twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width), twipsToPixels(r.height)};
}
constexpr PixelSize clientSize(const WindowDesign &window)
{
    return {twipsToPixels(window.width), twipsToPixels(window.height)};
}

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

template <class Controls> constexpr bool rolesAreUnique(const Controls &controls)
{
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            if (controls[i].role == controls[j].role && controls[i].number == controls[j].number)
                return false;
    return true;
}

inline constexpr std::size_t kNoControl = static_cast<std::size_t>(-1);

// The index of a control by its role (and, in a family, its challenge
// rating), or kNoControl.
template <class Controls> constexpr std::size_t findControl(const Controls &controls, Role role, int number = 0)
{
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].role == role && controls[i].number == number)
            return i;
    return kNoControl;
}

// The same at compile time: a role the design does not have does not compile.
template <class Controls> constexpr std::size_t indexOf(const Controls &controls, Role role, int number = 0)
{
    const std::size_t found = findControl(controls, role, number);
    if (found == kNoControl)
        throw std::logic_error("no control of that role in the design");
    return found;
}

// The index of the frame a control sits in, created before it, or kNoControl
// for a control of the window itself (or of a frame that is not there).
template <class Controls> constexpr std::size_t containerOf(const Controls &controls, std::size_t i)
{
    if (controls[i].container.empty())
        return kNoControl;
    for (std::size_t j = 0; j < i; ++j)
        if (controls[j].kind == Kind::Frame && controls[j].name == controls[i].container)
            return j;
    return kNoControl;
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
            const std::size_t frame = containerOf(controls, i);
            if (frame == kNoControl)
                return false;
            width = controls[frame].place.width;
            height = controls[frame].place.height;
        }
        if (!controls[i].place.fitsIn(width, height))
            return false;
    }
    return true;
}

// Controls side by side in one container touch at most by a pixel's width.
template <class Controls> constexpr bool controlsTouchAtMostByAPixel(const Controls &controls)
{
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const TwipsRect &a = controls[i].place;
            const TwipsRect &b = controls[j].place;
            if (controls[i].container != controls[j].container || !a.overlaps(b))
                continue;
            const int across = (a.right() < b.right() ? a.right() : b.right()) - (a.left > b.left ? a.left : b.left);
            const int down = (a.bottom() < b.bottom() ? a.bottom() : b.bottom()) - (a.top > b.top ? a.top : b.top);
            if (across > kTwipsPerPixel && down > kTwipsPerPixel)
                return false;
        }
    return true;
}

// A control's place in pixels in its container, as the desktop sets it.
constexpr PixelRect placeOf(const ControlDesign &control) { return pixelsOf(control.place); }

// A control's place in pixels in the window's client area: its container's
// place there, and its own in the container.
template <class Controls> constexpr PixelRect placeInWindow(const Controls &controls, std::size_t i)
{
    PixelRect place = placeOf(controls[i]);
    for (std::size_t frame = containerOf(controls, i); frame != kNoControl; frame = containerOf(controls, frame)) {
        place.left += placeOf(controls[frame]).left;
        place.top += placeOf(controls[frame]).top;
    }
    return place;
}

// The face a control is drawn in: its own, or else the window's.
constexpr FontFace faceOf(const WindowDesign &window, const ControlDesign &control)
{
    return faceOf(control.face == Typeface::None ? window.face : control.face);
}

// The keyboard's walk: the controls that take the focus, by ascending tab
// index, as indices into the design.
template <std::size_t N> constexpr std::array<std::size_t, N> tabOrder(const std::array<ControlDesign, N> &controls)
{
    std::array<std::size_t, N> order{};
    std::size_t stops = 0;
    for (std::size_t i = 0; i < N; ++i)
        if (takesFocus(controls[i].kind))
            order[stops++] = i;
    for (std::size_t i = 1; i < stops; ++i)
        for (std::size_t j = i; j > 0 && controls[order[j]].tabIndex < controls[order[j - 1]].tabIndex; --j) {
            const std::size_t earlier = order[j - 1];
            order[j - 1] = order[j];
            order[j] = earlier;
        }
    for (std::size_t i = stops; i < N; ++i)
        order[i] = kNoControl;
    return order;
}

// The control that has the focus when the window opens is one of its
// controls that takes the focus.
template <class Controls> constexpr bool opensOnAFocusStop(const WindowDesign &window, const Controls &controls)
{
    const std::size_t first = findControl(controls, window.firstFocus.role, window.firstFocus.number);
    return first != kNoControl && takesFocus(controls[first].kind);
}

// The index of the control with the focus when the window opens.
template <class Controls> constexpr std::size_t firstFocusOf(const WindowDesign &window, const Controls &controls)
{
    return indexOf(controls, window.firstFocus.role, window.firstFocus.number);
}

} // namespace xpcalc
