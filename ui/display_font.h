#pragma once
// The display face 宋体 in the sizes the entry's fields are drawn in: 25
// points, and, for a one-line field whose text is wider than its control,
// the largest smaller size that holds it.

#include <string_view>

#include "afx.h"

// The sizes, in whole points. The smallest is the dialog's own 9-point font,
// the size its buttons are read at; smaller still, the strokes of a character
// and the tone marks of the pinyin run together. A text too wide even at 9
// points is drawn at 9 and cut.
inline constexpr int kDisplayFontPoints = 25;
inline constexpr int kSmallestFontPoints = 9;

// The display face at `nPoints` (from kSmallestFontPoints to
// kDisplayFontPoints). Each size is made the first time it is asked for and
// kept for the rest of the process: a control never holds a destroyed font,
// and browsing makes at most one GDI object a size.
HFONT DisplayFont(int nPoints);

// Gives a one-line field (an edit box or a static) the display font, or, when
// `text` is wider than the field's room in it, the largest smaller size in
// which it fits. Redraws nothing: the text set next draws in the new font.
void FitDisplayFont(HWND hControl, std::wstring_view text);
