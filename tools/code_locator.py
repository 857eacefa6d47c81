# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""Finds a piece of C++ by where it lives and what it says, not by a copy of
its lines: the definition of a function, class or constant by its name, and in
it a pattern of tokens that may stand apart, across lines too, with @ for any
name. The mutation check (mutate.py) places its faults with it, so that they
outlive a reformat or a renamed local.
"""
import re

# What the brace count passes over: comments, string and character literals
# (not a digit separator, which follows a digit); and what it counts.
_CODE = re.compile(r"""//[^\n]*|/\*.*?\*/|(?<!\w)(?:u8|[uUL])?(["'])(?:\\.|(?!\1)[^\\\n])*\1|[(){}\[\];]""", re.S)
_QUALIFIERS = re.compile(r"(?:\s|\b(?:const|noexcept|override|final)\b)*\{")


def _end(text, start, stop):
    """Where the code from start ends: after the first of the stop tokens at
    the outer level, or after a closing bracket that leaves it."""
    depth = 0
    for m in _CODE.finditer(text, start):
        token = m.group()
        depth += (token in "([{") - (token in ")]}")
        if depth < 0 or (depth == 0 and token in stop):
            return m.end()
    raise LookupError(f"no end to the code at offset {start}")


def definitions(text, name):
    """The spans of the definitions of name: a function's or class's body in
    its braces, a braced constant's braces, or what follows a constant's =."""
    spans = []
    for m in re.finditer(rf"\b{re.escape(name)}\b", text):
        after = re.compile(r"\s*").match(text, m.end()).end()
        if text.startswith("(", after):
            body = _QUALIFIERS.match(text, _end(text, after, ")"))
            if body:
                spans.append((body.end() - 1, _end(text, body.end() - 1, "}")))
        elif text.startswith("{", after):
            spans.append((after, _end(text, after, "}")))
        elif text.startswith("=", after) and not text.startswith("==", after):
            spans.append((after + 1, _end(text, after + 1, ";")))
    return spans


def pattern(code):
    """The regular expression of a pattern: its tokens with any blanks
    between them, @ any name."""
    return re.compile(r"\s*".join(r"\b(\w+)\b" if token == "@" else rf"\b{token}\b" if re.match(r"\w", token)
                                   else re.escape(token) for token in re.findall(r"@|\w+|\S", code)))


def locate(text, name, code):
    """The one match of a pattern in the definitions of name; anything else
    is an error that says what stands where."""
    spans = definitions(text, name)
    if not spans:
        raise LookupError(f"no definition of {name}")
    hits = [m for start, end in spans for m in pattern(code).finditer(text, start, end)]
    if len(hits) != 1:
        raise LookupError(f"{code!r} stands {len(hits)} times in {name}, not once")
    return hits[0]


def mutated(text, name, code, replacement):
    """The text with the one match of a pattern in name replaced."""
    hit = locate(text, name, code)
    new = re.sub(r"\\(\d)", lambda n: hit.group(int(n.group(1))), replacement)
    return text[:hit.start()] + new + text[hit.end():]
