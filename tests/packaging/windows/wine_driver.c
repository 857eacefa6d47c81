// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
/* Drives the real program under Wine the way a keyboard user does, for
 * wine_drive.py: it looks up the program's windows by title, presses keys,
 * and reads the clipboard. Qt draws its controls inside one native window, so
 * Windows knows none of them by name: the script walks them by Tab. A Windows
 * console program, built with MinGW-w64; it runs in the same Wine prefix (and
 * so the same desktop) as the program.
 *
 * Usage: wine_driver COMMAND ...
 *   list TITLE     one line per visible top-level window with that exact
 *                  title: "WIDTHxHEIGHT X,Y owned|free", the client area's
 *                  size and its top-left corner on the screen, and whether
 *                  the window has an owner (a message box has)
 *   keys KEY...    key presses, to whatever has the focus: tab, return,
 *                  space, escape, ctrl+a, ctrl+c, or text:SOME TEXT
 *   clipboard      prints the clipboard's text
 * Exits 0 on success, 1 on a failure it names on standard error, 2 on a
 * usage error. */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <stdio.h>
#include <string.h>

struct search {
    wchar_t title[256];
};

static BOOL CALLBACK print_window(HWND window, LPARAM data)
{
    const struct search *search = (const struct search *)data;
    wchar_t title[256];
    RECT client;
    POINT origin = {0, 0};
    if (!IsWindowVisible(window) || GetWindowTextW(window, title, 256) == 0 || wcscmp(title, search->title) != 0)
        return TRUE;
    GetClientRect(window, &client);
    ClientToScreen(window, &origin);
    printf("%ldx%ld %ld,%ld %s\n", client.right - client.left, client.bottom - client.top, origin.x, origin.y,
           GetWindow(window, GW_OWNER) != NULL ? "owned" : "free");
    return TRUE;
}

static int list(const char *title)
{
    struct search search;
    if (MultiByteToWideChar(CP_UTF8, 0, title, -1, search.title, 256) == 0)
        return 2;
    EnumWindows(print_window, (LPARAM)&search);
    return 0;
}

static void send(INPUT *inputs, UINT count)
{
    if (SendInput(count, inputs, sizeof(INPUT)) != count)
        fprintf(stderr, "wine_driver: input was refused\n");
    Sleep(50);
}

static void key(WORD virtual_key, WORD character)
{
    INPUT inputs[2];
    memset(inputs, 0, sizeof inputs);
    for (int i = 0; i < 2; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = virtual_key;
        inputs[i].ki.wScan = character;
        inputs[i].ki.dwFlags = (character != 0 ? KEYEVENTF_UNICODE : 0) | (i == 1 ? KEYEVENTF_KEYUP : 0);
    }
    send(inputs, 2);
}

static void with_control(WORD virtual_key)
{
    INPUT inputs[4];
    memset(inputs, 0, sizeof inputs);
    const WORD keys[4] = {VK_CONTROL, virtual_key, virtual_key, VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    send(inputs, 4);
}

static int keys(int count, char **names)
{
    for (int i = 0; i < count; ++i) {
        const char *name = names[i];
        if (strcmp(name, "tab") == 0)
            key(VK_TAB, 0);
        else if (strcmp(name, "return") == 0)
            key(VK_RETURN, 0);
        else if (strcmp(name, "space") == 0)
            key(VK_SPACE, 0);
        else if (strcmp(name, "escape") == 0)
            key(VK_ESCAPE, 0);
        else if (strcmp(name, "ctrl+a") == 0)
            with_control('A');
        else if (strcmp(name, "ctrl+c") == 0)
            with_control('C');
        else if (strncmp(name, "text:", 5) == 0)
            for (const char *c = name + 5; *c != '\0'; ++c)
                key(0, (WORD)(unsigned char)*c);
        else {
            fprintf(stderr, "wine_driver: no key named %s\n", name);
            return 2;
        }
    }
    return 0;
}

static int clipboard(void)
{
    if (!OpenClipboard(NULL)) {
        fprintf(stderr, "wine_driver: cannot open the clipboard\n");
        return 1;
    }
    int status = 1;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t *text = data != NULL ? (const wchar_t *)GlobalLock(data) : NULL;
    if (text != NULL) {
        char utf8[4096];
        if (WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, NULL, NULL) > 0) {
            fputs(utf8, stdout);
            status = 0;
        }
        GlobalUnlock(data);
    } else {
        fprintf(stderr, "wine_driver: no text on the clipboard\n");
    }
    CloseClipboard();
    return status;
}

int main(int argc, char **argv)
{
    if (argc == 3 && strcmp(argv[1], "list") == 0)
        return list(argv[2]);
    if (argc >= 3 && strcmp(argv[1], "keys") == 0)
        return keys(argc - 2, argv + 2);
    if (argc == 2 && strcmp(argv[1], "clipboard") == 0)
        return clipboard();
    fprintf(stderr, "usage: wine_driver list TITLE | keys KEY... | clipboard\n");
    return 2;
}
