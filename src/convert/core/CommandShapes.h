#pragma once
// Which command shape each catalog position uses, with its literal piece.

namespace vx {

enum class Shape { A, B, C, D, E, F, G };

struct ShapeRow {
    int first; // first catalog position of the row
    int last;  // last catalog position of the row
    Shape shape;
    const char* piece;      // head (A, C), target (E) or tail (F); empty otherwise
    const char* fixedAudio; // the fixed audio piece of shape C; empty otherwise
};

// The row for a position, or nullptr for a position outside 1 to 92.
const ShapeRow* ShapeFor(int position);

} // namespace vx
