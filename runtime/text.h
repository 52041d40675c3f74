#pragma once
/// Text commands on byte strings. Positions are 1-based and count bytes; no command fails on a position,
/// they clamp or give the empty text.

#include "runtime/value.h"

#include <initializer_list>

namespace ep {

/// The bytes from start, at most length of them; empty when start is outside the text or length <= 0.
Text MidText(const Text& text, int start, int length);

/// Deletes length bytes at start (clamped into the text) and inserts the replacement there.
Text ReplaceText(const Text& text, int start, int length, const Text& replacement);

/// The same, without an insertion.
Text ReplaceText(const Text& text, int start, int length);

Text ConcatText(std::initializer_list<Text> parts);

/// Byte-wise comparison of unsigned bytes: -1, 0 or 1.
int CompareText(const Text& a, const Text& b);

/// Bytes before the first zero byte.
int TextLength(const Text& text);

} // namespace ep
