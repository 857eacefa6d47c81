// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

namespace xpcalc {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb &a, const Rgb &b)
    {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
};

// The system colours the windows draw with, by their Windows index. They are
// the one colour scheme of both windows: on Windows they are read from the
// system, so they follow the user's scheme, high contrast included; elsewhere
// they are the values of the Windows default scheme, whatever the desktop's
// theme, so that no theme puts the design's fixed colours beside colours that
// clash with them.
enum class SystemColour {
    Window = 5,               // text box ground
    WindowText = 8,           // text box text
    CaptionText = 9,          // active title-bar text: the chart box's ground
    ActiveBorder = 10,        // active window border: the calculator's ground
    AppWorkspace = 12,        // behind documents: around the web page's window
    Highlight = 13,           // selected text's ground
    HighlightText = 14,       // selected text
    ButtonFace = 15,          // ground of buttons, labels, frames and pictures
    ButtonShadow = 16,        // the darker edge of raised and sunken borders
    GrayText = 17,            // disabled text
    ButtonText = 18,          // text of buttons, labels and frames
    ButtonHighlight = 20,     // the lighter edge of raised and sunken borders
    ButtonDarkShadow = 21,    // the darkest edge of a sunken border
    ButtonLight = 22,         // between face and highlight
    InfoText = 23,            // tooltip text
    InfoBackground = 24,      // tooltip ground
    GradientActiveTitle = 27, // a title bar's ground: the web page's warning
};

Rgb systemColour(SystemColour which) noexcept;

// The Windows default scheme's value of a system colour.
Rgb defaultSchemeColour(SystemColour which) noexcept;

// A colour of the Windows default scheme, with the name the Windows registry
// keeps it by under HKEY_CURRENT_USER\Control Panel\Colors.
struct SchemeColour {
    const char *registryName = nullptr;
    Rgb value;
};

// The whole Windows default scheme, by Windows index (COLOR_SCROLLBAR, 0, to
// COLOR_MENUBAR, 30): the values defaultSchemeColour gives, and the scheme
// the Windows build's checks set up under Wine, so that the build is checked
// against the very colours the program draws with elsewhere.
const std::array<SchemeColour, 31> &defaultScheme() noexcept;

// The contrast ratio of two colours as the web's accessibility guidelines
// define it: 1 (none) to 21 (black on white).
double contrastRatio(Rgb a, Rgb b) noexcept;

// The least contrast body text needs to be read comfortably.
constexpr double kReadableContrast = 4.5;

// A fixed text colour of the design, or the scheme's text colour where the
// design's would be hard to read on the ground the scheme gives (a blue on a
// high-contrast scheme's black, say).
Rgb readableText(Rgb designed, Rgb ground, Rgb schemeText) noexcept;

} // namespace xpcalc
