// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Prints the Windows default colour scheme as a section of a registry file, so
// that the Wine prefix the Windows build is checked in has the scheme the
// program draws with off Windows, from the one table that holds it.
#include "system_colours.h"

#include <cstdio>

int main()
{
    std::puts("[HKEY_CURRENT_USER\\Control Panel\\Colors]");
    for (const xpcalc::SchemeColour &colour : xpcalc::defaultScheme())
        std::printf("\"%s\"=\"%d %d %d\"\n", colour.registryName, colour.value.red, colour.value.green,
                    colour.value.blue);
    return 0;
}
